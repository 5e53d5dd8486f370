#pragma once

#include "util/message_sink.h"

#include <QString>
#include <QStringList>

namespace engine {

// Whose window a question of the engine belongs to: the drive-selection dialog
// is placed over it and disables it.
enum class Owner { Progress, Caller, Registration };

// A file older than its backup, as the older-file question shows it.
struct OlderFile {
    QString fileName;      // NAMDSP
    QString sourceFolder;  // SRCDIR
    qint64 sourceTimeNs = 0;
    QString backupFolder;  // DSTDIR
    qint64 backupTimeNs = 0;
};

struct DriveChoice {
    QString drive;          // "E:", or empty when nothing was chosen
    bool timedOut = false;  // the dialog closed itself (unattended runs only)
};

enum class MessageIcon { None, Exclamation };

// What became of one entry of a run.
enum class EntryOutcome {
    BackedUp,
    Unchanged,      // updated-folders run: nothing newer since the last backup
    MediumSkipped,  // its removable medium was given up earlier in the run
    NoDestination,  // the medium was not found or the drive is of the wrong kind
    Failed,         // the copy or the archive update failed
};

// What one entry did to its backup's files.
struct RunCounts {
    int copied = 0;    // files that had no backup yet
    int replaced = 0;  // backups replaced by a newer (or confirmed older) file
    int deleted = 0;   // backups of files gone from the source
    int failed = 0;    // files that should have been backed up and were not
};

struct EntryReport {
    QString source;
    QString destination;
    QString target;  // the real destination path, when it was resolved
    EntryOutcome outcome = EntryOutcome::Failed;
    int filesCopied = 0;  // files copied plus archives updated
    RunCounts counts;
    // Why the entry failed or was passed over: the messages the run gave for
    // it, one per line; empty when it went well.
    QString reason;
    // What was removed from the history of its destination, one line each.
    QStringList historyRemoved;
};

// Everything the backup engine needs from a person or a window. The Qt
// windows, the console (runs without a display) and the tests each implement
// it. Standard messages and the beep come from util::MessageSink, so one
// object serves the windows' own messages too.
class EngineUi : public util::MessageSink {
  public:
    // The progress window: shown without waiting at the start of a run.
    virtual void ShowProgress() = 0;
    virtual void HideProgress() = 0;
    virtual void SetSourceText(const QString& text) = 0;       // SRCDSP
    virtual void SetDestinationText(const QString& text) = 0;  // DSTDSP
    virtual void SetCountText(const QString& text) = 0;        // CNTDSP
    // Bytes of the file being copied, between chunks of a large file.
    virtual void SetFileProgress(qint64 done, qint64 total) = 0;

    // Lets pending window events run (repaint, the abort button, timers).
    virtual void LetEventsRun() = 0;
    virtual void SetBusyCursor(bool busy) = 0;

    // The older-file question: Yes or No. Closing the window or Escape
    // answers No, and so does nobody at all: in unattended runs the question
    // closes itself after a while.
    virtual util::Answer AskOlderFile(const OlderFile& file) = 0;

    // The drive-selection dialog: asks for the medium titled `title` of kind
    // `kindText`, pre-selecting `defaultDrive` ("E:\"). When `unattended`, it
    // closes itself after a while as if cancelled.
    virtual DriveChoice AskDrive(Owner owner, const QString& title, const QString& kindText,
                                 const QString& defaultDrive, bool unattended) = 0;

    // A line of text (the media title); nothing when cancelled.
    virtual std::optional<QString> AskText(const QString& prompt, const QString& title,
                                           const QString& defaultText) = 0;

    // Called after each entry of a run; logs and consoles use it.
    virtual void EntryFinished(const EntryReport& report) { (void)report; }

    // A standard message with an icon; the plain form of util::MessageSink has none.
    virtual util::Answer StandardMessageWithIcon(const QString& text, util::Buttons buttons,
                                                 util::Answer defaultAnswer, MessageIcon icon) {
        (void)icon;
        return StandardMessage(text, buttons, defaultAnswer);
    }
};

}  // namespace engine
