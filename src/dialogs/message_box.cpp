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

namespace dialogs {
namespace {

namespace widgets = widgets;

using KeptMsgBoxForm = KeptForm<MsgBoxForm>;

util::Answer ShowFallback(widgets::BoxMessage message) {
    message.text = StandardBoxText(message.text);
    message.title.clear();
    return widgets::RunStandardBox(*widgets::MakeStandardBox(message), message.buttons);
}

util::Answer ShowInForm(QWidget* owner, const widgets::BoxMessage& message) {
    QPointer<MsgBoxForm> form = KeptMsgBoxForm::Acquire();
    const bool temporary = !KeptMsgBoxForm::IsKept(form);
    widgets::AnswerWait<util::Answer> wait(util::AnswerChangingNothing(message.buttons));
    form->SetWait(&wait);
    form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    const QString caption = message.title.isEmpty() ? util::ProgramTitle() : message.title;
    form->Prepare(message.text, message.buttons, message.defaultAnswer, caption,
                  owner->frameGeometry(), owner->screen());
    form->show();
    form->activateWindow();
    widgets::Beep();

    const util::Answer answer = wait.Run();
    if (form) {
        form->SetWait(nullptr);
        form->hide();
        form->setWindowFlag(Qt::WindowStaysOnTopHint, false);
        if (temporary) delete form;
    }
    return answer;
}

}  // namespace

util::Answer ShowMessage(QWidget* owner, const widgets::BoxMessage& asked) {
    widgets::BoxMessage message = asked;
    message.text = util::InJapaneseWording(asked.text);
    if (const std::optional<util::Answer> preset = widgets::presets::TakePresetAnswer(message)) {
        return *preset;
    }
    if (owner == nullptr) owner = QApplication::activeWindow();
    if (owner != nullptr) owner = owner->window();
    const widgets::OwnerLock lock(owner);
    if (owner == nullptr) return ShowFallback(message);
    return ShowInForm(owner, message);
}

void CloseMessageBox() { KeptMsgBoxForm::Close(); }

}  // namespace dialogs
