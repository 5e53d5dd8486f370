#pragma once

#include "engine/engine_ui.h"

#include <QDialog>

class QLabel;

namespace engine::windows {

// The older-file question: may a source file older than its backup replace
// that backup? Created once and hidden between questions.
class OverwriteForm final : public QDialog {
    Q_OBJECT

  public:
    explicit OverwriteForm(QWidget* parent = nullptr);

    // Fills NAMDSP, SRCDIR, SRCDAT, DSTDIR and DSTDAT.
    void SetQuestion(const OlderFileQuestion& question);

    // Shows the window, application-modal, and lets events run until it is
    // hidden: by YESBTN (EndCode 6), NOBTN (7) or the close box, which keeps
    // the previous EndCode. Returns EndCode.
    int Ask();

    // The last answer: 6 yes, 7 no, 0 before the first answer.
    int EndCode() const { return endCode_; }

  private:
    void Answer(int endCode);

    QLabel* name_;
    QLabel* sourceFolder_;
    QLabel* sourceTime_;
    QLabel* backupFolder_;
    QLabel* backupTime_;
    int endCode_ = 0;
};

// A file time (nanoseconds since the epoch) in the system's short date and
// long time format.
QString FileTimeText(qint64 nanoseconds);

}  // namespace engine::windows
