#include "dialogs/input_dialog.h"

#include "dialogs/dialog_wait.h"
#include "dialogs/input_form.h"
#include "dialogs/preset_answers.h"
#include "dialogs/window_frame.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include <cmath>

namespace dialogs {
namespace {

constexpr int kClosedOk = 1;

QPointer<InputForm>& KeptForm() {
    static QPointer<InputForm> form;
    return form;
}

// The kept form, created on first use; a question asked while that form waits
// gets a form of its own, deleted after its answer.
InputForm* AcquireForm() {
    QPointer<InputForm>& kept = KeptForm();
    if (!kept) kept = new InputForm;
    if (!kept->Waiting()) return kept;
    return new InputForm;
}

QRect OwnerRect(const QWidget* owner) {
    if (owner != nullptr) return owner->frameGeometry();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry() : QRect();
}

void Place(InputForm* form, const QWidget* owner) {
    const QSize outer = form->size().grownBy(FrameMargins(form));
    const QRect ownerRect = OwnerRect(owner);
    if (owner == nullptr) {
        MoveOuterTo(form, ownerRect.center() - QPoint(outer.width() / 2, outer.height() / 2));
    } else {
        MoveOuterTo(form, InputDialogPosition(ownerRect, outer));
    }
}

// Keeps the window manager from stacking the owner above the dialog.
void StackAbove(InputForm* form, QWidget* owner) {
    if (owner == nullptr || owner->windowHandle() == nullptr) return;
    form->winId();
    if (form->windowHandle() != nullptr) {
        form->windowHandle()->setTransientParent(owner->windowHandle());
    }
}

}  // namespace

QPoint InputDialogPosition(const QRect& ownerOuter, const QSize& dialogOuter) {
    const int difference = ownerOuter.width() - dialogOuter.width();
    const int half = static_cast<int>(std::floor(difference / 2.0));
    return QPoint(ownerOuter.left() + half,
                  ownerOuter.top() + ownerOuter.height() - dialogOuter.height());
}

std::optional<QString> InputDialog(QWidget* owner, const QString& prompt, const QString& title,
                                   const QString& defaultText) {
    std::optional<QString> result;
    if (presets::TakePresetInput(prompt, title, defaultText, &result)) return result;
    if (owner == nullptr) owner = QApplication::activeWindow();
    if (owner != nullptr) owner = owner->window();

    const OwnerLock lock(owner);
    QPointer<InputForm> form = AcquireForm();
    const bool temporary = form != KeptForm();
    form->hide();
    DialogWait wait;
    form->SetWait(&wait);
    form->Prepare(prompt, title, defaultText);
    Place(form, owner);
    StackAbove(form, owner);
    form->show();
    form->activateWindow();
    form->FocusInput();

    if (wait.Run() == kClosedOk && form) result = form->Text();
    if (form) {
        form->SetWait(nullptr);
        form->hide();
        if (temporary) delete form;
    }
    return result;
}

void CloseInputForm() { delete KeptForm().data(); }

}  // namespace dialogs
