#include "dialogs/message_box.h"

#include "dialogs/kept_form.h"
#include "dialogs/message_text.h"
#include "dialogs/msg_box_form.h"
#include "util/error_wording.h"

#include "util/message_sink.h"
#include "widgets/beep.h"
#include "widgets/dialog_wait.h"
#include "widgets/preset_answers.h"
#include "widgets/standard_box.h"

#include <QApplication>
#include <QPointer>

#include <vector>

namespace dialogs {
namespace {

namespace widgets = kibako::widgets;

using KeptMsgBoxForm = KeptForm<MsgBoxForm>;

util::Buttons ButtonsOf(int flags) {
    switch (flags & kMsgButtonMask) {
        case kMsgOkCancel:
            return util::Buttons::OkCancel;
        case kMsgYesNoCancel:
            return util::Buttons::YesNoCancel;
        case kMsgYesNo:
            return util::Buttons::YesNo;
        default:
            return util::Buttons::Ok;
    }
}

std::vector<int> AnswersOf(util::Buttons buttons) {
    switch (buttons) {
        case util::Buttons::Ok:
            return {util::kAnswerOk};
        case util::Buttons::OkCancel:
            return {util::kAnswerOk, util::kAnswerCancel};
        case util::Buttons::YesNo:
            return {util::kAnswerYes, util::kAnswerNo};
        case util::Buttons::YesNoCancel:
            return {util::kAnswerYes, util::kAnswerNo, util::kAnswerCancel};
    }
    return {util::kAnswerOk};
}

widgets::BoxIcon IconOf(int flags) {
    switch (flags & 0xF0) {
        case 0x10:
            return widgets::BoxIcon::Stop;
        case 0x20:
            return widgets::BoxIcon::Question;
        case 0x30:
            return widgets::BoxIcon::Exclamation;
        case 0x40:
            return widgets::BoxIcon::Information;
        default:
            return widgets::BoxIcon::None;
    }
}

int ShowFallback(widgets::BoxMessage message, const QString& text, int flags) {
    message.text = StandardBoxText(text);
    message.title.clear();
    const int answer = widgets::RunStandardBox(*widgets::MakeStandardBox(message), message.buttons);
    return flags == 0 ? 0 : answer;
}

int ShowInForm(QWidget* owner, const QString& text, int flags, const QString& caption) {
    QPointer<MsgBoxForm> form = KeptMsgBoxForm::Acquire();
    const bool temporary = !KeptMsgBoxForm::IsKept(form);
    widgets::DialogWait wait;
    form->SetWait(&wait);
    form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    form->Prepare(text, flags, caption, owner->frameGeometry(), owner->screen());
    form->show();
    form->activateWindow();
    widgets::Beep();

    const int answer = wait.Run();
    if (form) {
        form->SetWait(nullptr);
        form->hide();
        form->setWindowFlag(Qt::WindowStaysOnTopHint, false);
        if (temporary) delete form;
    }
    return answer;
}

}  // namespace

widgets::BoxMessage BoxMessageOf(const QString& text, int flags, const QString& title) {
    widgets::BoxMessage message{text, ButtonsOf(flags), util::kAnswerOk, IconOf(flags), title};
    const std::vector<int> answers = AnswersOf(message.buttons);
    size_t defaultIndex = 0;
    if ((flags & kMsgDefaultSecond) != 0 && answers.size() >= 2) defaultIndex = 1;
    if ((flags & kMsgDefaultThird) != 0 && answers.size() >= 3) defaultIndex = 2;
    message.defaultAnswer = answers[defaultIndex];
    return message;
}

int ShowMessage(QWidget* owner, const QString& asked, int flags, const QString& title) {
    const QString text = util::InJapaneseWording(asked);
    const widgets::BoxMessage message = BoxMessageOf(text, flags, title);
    if (const std::optional<int> preset = widgets::presets::TakePresetAnswer(message)) {
        return *preset;
    }
    if (owner == nullptr) owner = QApplication::activeWindow();
    if (owner != nullptr) owner = owner->window();
    const widgets::OwnerLock lock(owner);
    if (owner == nullptr) return ShowFallback(message, text, flags);
    return ShowInForm(owner, text, flags, title.isEmpty() ? util::ProgramTitle() : title);
}

void CloseMessageBox() { KeptMsgBoxForm::Close(); }

}  // namespace dialogs
