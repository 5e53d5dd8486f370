#pragma once

#include <QLabel>

namespace engine::windows {

// A one-line label for paths: it keeps its whole text but, when the text is
// wider than the label, draws it shortened in the middle, and it never widens
// its window.
class ElidedLabel final : public QLabel {
  public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace engine::windows
