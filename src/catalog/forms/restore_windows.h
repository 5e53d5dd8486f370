#pragma once

#include "engine/restore_run.h"

#include <QDialog>
#include <QString>

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

}  // namespace catalog
