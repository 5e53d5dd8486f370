#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kibako::widgets {
class DialogWait;
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
    // replaces it), sizes the window and resets DialogClosed to 0.
    void Prepare(const QString& prompt, const QString& title, const QString& defaultText);

    // 0 while open, 1 after OK, 2 after cancel (a title-bar close included).
    int DialogClosed() const { return dialogClosed_; }
    QString Text() const;
    void FocusInput();

    // The wait that OK or cancel ends with DialogClosed; null when no one waits.
    void SetWait(kibako::widgets::DialogWait* wait) { wait_ = wait; }
    bool Waiting() const { return wait_ != nullptr; }

  protected:
    void accept() override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void SetClosed(int how);

    QLabel* const prompt_;
    QLineEdit* const input_;
    QPushButton* const okButton_;
    QPushButton* const cancelButton_;
    int dialogClosed_ = 0;
    kibako::widgets::DialogWait* wait_ = nullptr;
};

}  // namespace dialogs
