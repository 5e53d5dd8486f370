#include "dialogs/input_dialog.h"

#include "dialogs/input_form.h"
#include "dialogs/kept_form.h"

#include "widgets/dialog_placement.h"
#include "widgets/dialog_wait.h"
#include "widgets/preset_answers.h"
#include "widgets/window_frame.h"

#include <QApplication>
#include <QPointer>
#include <QWindow>

#include <cmath>

namespace dialogs {
namespace {

namespace widgets = widgets;

using KeptInputForm = KeptForm<InputForm>;

void Place(InputForm* form, const QWidget* owner) {
    if (owner == nullptr) {
        widgets::MoveCentredOver(*form, nullptr);
        return;
    }
    const QSize outer = form->size().grownBy(widgets::FrameMargins(form));
    widgets::MoveOuterTo(form, InputDialogPosition(owner->frameGeometry(), outer));
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
    if (widgets::presets::TakePresetInput(prompt, title, defaultText, &result)) return result;
    if (owner == nullptr) owner = QApplication::activeWindow();
    if (owner != nullptr) owner = owner->window();

    const widgets::OwnerLock lock(owner);
    QPointer<InputForm> form = KeptInputForm::Acquire();
    const bool temporary = !KeptInputForm::IsKept(form);
    form->hide();
    widgets::AnswerWait<util::Answer> wait(util::Answer::Cancel);
    form->SetWait(&wait);
    form->Prepare(prompt, title, defaultText);
    Place(form, owner);
    StackAbove(form, owner);
    form->show();
    form->activateWindow();
    form->FocusInput();

    if (wait.Run() == util::Answer::Ok && form) result = form->Text();
    if (form) {
        form->SetWait(nullptr);
        form->hide();
        if (temporary) delete form;
    }
    return result;
}

void CloseInputForm() { KeptInputForm::Close(); }

}  // namespace dialogs
