#pragma once

#include "engine/engine_ui.h"

#include <QDialog>

#include <chrono>
#include <optional>

class QLabel;
class QTimer;

namespace engine::windows {

// Asks whether a source file older than its backup may replace that backup
// (the older-file question). Created once and hidden between questions.
class OverwriteForm final : public QDialog {
    Q_OBJECT

  public:
    static constexpr std::chrono::milliseconds kUnattendedTimeout{60'000};

    // `timeout` is the self-close time of unattended runs.
    explicit OverwriteForm(std::chrono::milliseconds timeout = kUnattendedTimeout,
                           QWidget* parent = nullptr);

    // Fills NAMDSP, SRCDIR, SRCDAT, DSTDIR and DSTDAT.
    void SetOlderFile(const OlderFile& file);

    // Shows the window, application-modal, and lets events run until it is
    // hidden: by YESBTN (Yes), or by NOBTN, Escape or the close box (No): a
    // question put away unread never lets an older file replace the only
    // newer copy, and neither does a window hidden without an answer. When
    // `unattended`, nobody can answer: the window closes itself after the
    // timeout with No.
    util::Answer Ask(bool unattended = false);

    // The answer to the last question; none before it was answered.
    std::optional<util::Answer> EndCode() const { return endCode_; }

  protected:
    void reject() override;

  private:
    void Answer(util::Answer answer);

    QLabel* name_;
    QLabel* sourceFolder_;
    QLabel* sourceTime_;
    QLabel* backupFolder_;
    QLabel* backupTime_;
    QTimer* selfClose_;
    std::optional<util::Answer> endCode_;
};

// A file time (nanoseconds since the epoch) in the system's short date and
// long time format.
QString FileTimeText(qint64 nanoseconds);

}  // namespace engine::windows
