#pragma once

#include "catalog/commands/restore_commands.h"
#include "engine/restore_run.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QPlainTextEdit;

namespace catalog {

// The question before a restore replaces a file that differs from its backup:
// both times and sizes, and はい / いいえ / すべてはい / すべていいえ. Escape and
// the close box answer いいえ.
class RestoreQuestionForm : public QDialog {
    Q_OBJECT
  public:
    RestoreQuestionForm(QWidget* parent, const engine::ReplaceQuestion& question);
    engine::ReplaceAnswer Answer() const { return answer_; }

    static QString QuestionText(const engine::ReplaceQuestion& question);

  protected:
    void reject() override;

  private:
    engine::ReplaceAnswer answer_ = engine::ReplaceAnswer::No;
};

// The catalog's answers to the engine's restore question: the window above.
class QtRestoreQuestions final : public engine::RestoreQuestions {
  public:
    explicit QtRestoreQuestions(QWidget* parent) : parent_(parent) {}
    engine::ReplaceAnswer AskReplace(const engine::ReplaceQuestion& question) override;

  private:
    QWidget* parent_;
};

// A window with text the user can read, select and copy (the differences a
// check found, the files a restore kept or could not write).
class ReportForm : public QDialog {
    Q_OBJECT
  public:
    ReportForm(QWidget* parent, const QString& title, const QString& text);
    QString Text() const;
    // Puts the whole text on the clipboard.
    void CopyAll();

  private:
    QPlainTextEdit* text_;
};

// The windows of the catalog's restore and check, replaceable in tests.
struct RestoreHooks {
    // Where a restore goes: nothing when cancelled, an empty path for the
    // folder the files came from, else another folder.
    std::function<std::optional<platform::HostPath>(QWidget* parent, const QString& sourceFolder)>
        chooseTarget;
    // Shows a report the user can read and copy.
    std::function<void(QWidget* parent, const QString& title, const QString& text)> showReport;
    // The versions of a file, and what to restore of them.
    std::function<VersionChoice(QWidget* parent, const QString& fileName,
                                const std::vector<engine::FileVersion>& versions)>
        chooseVersion;
    // The time whose state 日時を指定して復元 brings back; nothing when cancelled.
    std::function<std::optional<QDateTime>(QWidget* parent, const QString& sourceFolder)>
        chooseTime;
};

// The real windows: a question (元のフォルダー / 別のフォルダー) and the folder
// dialog with the drives in its sidebar; the report window; the versions
// window; the time of 日時を指定して復元.
RestoreHooks WindowRestoreHooks();

}  // namespace catalog
