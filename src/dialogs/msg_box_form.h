#pragma once

#include "dialogs/message_text.h"
#include "dialogs/msg_box_layout.h"
#include "util/answer.h"

#include <QDialog>
#include <QFont>

class QLabel;
class QPushButton;
class QScreen;

namespace widgets {
template <typename Result>
class AnswerWait;
}

namespace dialogs {

// Shows a message (coloured and bold parts allowed) and waits for one of up to
// three answer buttons.
//
// The window of the system's own message box. Object names for tests: the
// form "MsgBoxForm", the buttons "OKBTN", "YESBTN", "NOBTN", "CANBTN", the icon
// "ICOIMG". It draws its text itself, so it has no text widget.
class MsgBoxForm : public QDialog {
    Q_OBJECT

  public:
    MsgBoxForm();
    ~MsgBoxForm() override;

    // Sets caption, text, buttons and default button (the one that answers
    // `defaultAnswer`, else the first), and sizes and places the window for
    // one message. ownerRect is the owner's outer rectangle; the box is kept
    // on the screen.
    void Prepare(const QString& text, util::Buttons buttons, util::Answer defaultAnswer,
                 const QString& caption, const QRect& ownerRect, const QScreen* screen);

    // The wait that a button, a key or a close ends; null when no one waits.
    void SetWait(widgets::AnswerWait<util::Answer>* wait) { wait_ = wait; }
    bool Waiting() const { return wait_ != nullptr; }

    // The answer a window-manager close gives: Cancel when that button is
    // shown, else OK when shown, else No (what changes nothing).
    util::Answer CloseAnswer() const { return util::AnswerChangingNothing(buttons_); }

    const MsgBoxLayout& Layout() const { return layout_; }
    const MessageText& Message() const { return message_; }
    // The font lines are measured in: bold when code 8 occurs in the text.
    QFont MeasureFont() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    QPushButton* ButtonOf(util::Answer answer) const;
    void SizeButtons(const widgets::Twips& twips);
    void ChooseDefault(QPushButton* button);
    MsgBoxMetrics Measure(const std::vector<QPushButton*>& shown, const QRect& ownerRect,
                          const QScreen* screen) const;
    void GiveAnswer(util::Answer answer);

    QPushButton* const okButton_;
    QPushButton* const yesButton_;
    QPushButton* const noButton_;
    QPushButton* const cancelButton_;
    QLabel* const icon_;
    MessageText message_;
    MsgBoxLayout layout_;
    bool highColour_ = true;
    util::Buttons buttons_ = util::Buttons::Ok;
    widgets::AnswerWait<util::Answer>* wait_ = nullptr;
};

}  // namespace dialogs
