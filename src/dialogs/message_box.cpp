#include "dialogs/message_box.h"

#include "dialogs/beep.h"
#include "dialogs/dialog_wait.h"
#include "dialogs/message_text.h"
#include "dialogs/msg_box_form.h"
#include "dialogs/preset_answers.h"
#include "dialogs/standard_box.h"

#include "util/message_sink.h"

#include <QApplication>
#include <QPointer>

namespace dialogs {
namespace {

QPointer<MsgBoxForm>& KeptForm() {
    static QPointer<MsgBoxForm> form;
    return form;
}

// The kept form, created on first use; a message shown while that form waits
// gets a form of its own, deleted after its answer.
MsgBoxForm* AcquireForm() {
    QPointer<MsgBoxForm>& kept = KeptForm();
    if (!kept) kept = new MsgBoxForm;
    if (!kept->Waiting()) return kept;
    return new MsgBoxForm;
}

int ShowFallback(const QString& text, int flags) {
    const int answer = ShowStandardBox(nullptr, StandardBoxText(text), flags, util::ProgramTitle());
    return flags == 0 ? 0 : answer;
}

int ShowInForm(QWidget* owner, const QString& text, int flags, const QString& caption) {
    QPointer<MsgBoxForm> form = AcquireForm();
    const bool temporary = form != KeptForm();
    DialogWait wait;
    form->SetWait(&wait);
    form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    form->Prepare(text, flags, caption, owner->frameGeometry(), owner->screen());
    form->show();
    form->activateWindow();
    Beep();

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

int ShowMessage(QWidget* owner, const QString& text, int flags, const QString& title) {
    if (const std::optional<int> preset = presets::TakePresetAnswer(text, flags, title)) {
        return *preset;
    }
    if (owner == nullptr) owner = QApplication::activeWindow();
    if (owner != nullptr) owner = owner->window();
    const OwnerLock lock(owner);
    if (owner == nullptr) return ShowFallback(text, flags);
    return ShowInForm(owner, text, flags, title.isEmpty() ? util::ProgramTitle() : title);
}

void CloseMessageBox() { delete KeptForm().data(); }

}  // namespace dialogs
