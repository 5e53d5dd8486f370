#pragma once

#include "util/answer.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace widgets {
template <typename Result>
class AnswerWait;
}

namespace dialogs {

// Asks the person for one line of text, such as a media title or a new
// name for a definition file.
//
// The window of the one-line input dialog. Object names for tests: the form
// "InputForm", the prompt "PRMDSP", the text field "INPLIN", the buttons
// "CMDOK" (default; Enter) and "CMDCAN" (Escape).
class InputForm : public QDialog {
    Q_OBJECT

  public:
    InputForm();
    ~InputForm() override;

    // Sets caption, prompt and the default text (wholly selected, so typing
    // replaces it), sizes the window and forgets how it was last closed.
    void Prepare(const QString& prompt, const QString& title, const QString& defaultText);

    // None while open, Ok after OK, Cancel after cancel (a title-bar close
    // included).
    std::optional<util::Answer> DialogClosed() const { return dialogClosed_; }
    QString Text() const;
    void FocusInput();

    // The wait that OK or cancel ends with DialogClosed; null when no one waits.
    void SetWait(widgets::AnswerWait<util::Answer>* wait) { wait_ = wait; }
    bool Waiting() const { return wait_ != nullptr; }

  protected:
    void accept() override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void SetClosed(util::Answer how);

    QLabel* const prompt_;
    QLineEdit* const input_;
    QPushButton* const okButton_;
    QPushButton* const cancelButton_;
    std::optional<util::Answer> dialogClosed_;
    widgets::AnswerWait<util::Answer>* wait_ = nullptr;
};

}  // namespace dialogs
