#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace store {
class Settings;
}

namespace engine::windows {

class ElidedLabel;

// Shows a running backup's progress and lets the person stop it.
//
// The progress window: which folder is backed up to where, how many files
// were copied, the bytes of a large file in work, and 中止BTN. It is created
// once and hidden and shown again for every run; its labels keep the texts of
// the last run until the next one sets them.
//
// 中止BTN does not touch the engine itself: it emits abortRequested(), which
// QtEngineUi passes on to Engine::RequestAbort().
class BackForm final : public QWidget {
    Q_OBJECT

  public:
    enum class Variant {
        // Title "Kibako". 中止BTN hides the window; a close by the person
        // is refused (the window only hides and the run goes on).
        Kibako,
        // Title "Tetoru Ver1.7B". 中止BTN leaves the window visible; any
        // close emits closeRequested().
        Tetoru,
    };

    explicit BackForm(Variant variant, QWidget* parent = nullptr);

    Variant FormVariant() const { return variant_; }

    // Moves the window to the saved catalog position, WindowX and WindowY in
    // twips with negative values as 0: Kibako adds 600 and 900 twips, Tetoru
    // nothing. The programs call this once, before the first show.
    void PlaceFromSettings(const store::Settings& settings);
    void PlaceAtTwips(qint64 windowX, qint64 windowY);

    void SetSource(const QString& text);       // SRCDSP
    void SetDestination(const QString& text);  // DSTDSP
    void SetCount(const QString& text);        // CNTDSP
    // The bytes copied of the file in work; shown while 0 < total.
    void SetFileProgress(qint64 done, qint64 total);
    // Hides the bytes of a finished file.
    void ClearFileProgress();

    // The program's own close (Kibako's refuses none of these). Every other
    // close of the Kibako window is taken as the person's and refused.
    void Unload();

  signals:
    // 中止BTN was pressed.
    void abortRequested();
    // Tetoru only: the window was closed (close box, system menu or the
    // program). Tetoru ends at once, wherever the run is, without saving;
    // the signal comes from inside the run's event processing, so the
    // receiver must not return into the run expecting it to go on.
    void closeRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void OnAbortButton();

    Variant variant_;
    bool unloading_ = false;
    ElidedLabel* source_;
    ElidedLabel* destination_;
    QLabel* count_;
    QLabel* bytes_;
    QProgressBar* bytesBar_;
    QPushButton* abort_;
};

// The bytes text of the progress window, in KB: "4,096 / 51,200 KB".
QString FileBytesText(qint64 done, qint64 total);

}  // namespace engine::windows
