#pragma once

#include <QWidget>

namespace engine::windows {

// The small pictures of the engine's windows, drawn in code so that no image
// file has to travel with the programs.
class Picture final : public QWidget {
  public:
    enum class Kind {
        Box,       // the backup box of the progress window
        HardDisk,  // the source side of the older-file question
        Backup,    // the backup side of the older-file question
        Medium,    // the drive-selection dialog
    };

    explicit Picture(Kind kind, QWidget* parent = nullptr);

    Kind PictureKind() const { return kind_; }
    QSize sizeHint() const override { return {32, 32}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Kind kind_;
};

}  // namespace engine::windows
