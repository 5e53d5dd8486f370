#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

class QWidget;

namespace dialogs {

// Asks for one line of text: the prompt, the caption and the default text
// (wholly selected). Returns the text on OK, an empty string when the field
// was empty, and no value when the user cancelled (Escape, ｷｬﾝｾﾙ or the
// title-bar close).
//
// The dialog sits centred on the owner's bottom edge, inside the owner, and
// the owner is disabled while the call waits in a local event loop. A null
// owner means the active window; with neither the dialog is centred on the
// screen. Inputs preset for tests are taken first (widgets/preset_answers.h).
std::optional<QString> InputDialog(QWidget* owner, const QString& prompt, const QString& title,
                                   const QString& defaultText = QString());

// Where the dialog's outer top-left goes: owner left + (owner width - dialog
// width) / 2 rounded down, owner bottom - dialog height.
QPoint InputDialogPosition(const QRect& ownerOuter, const QSize& dialogOuter);

// Deletes the dialog when the program ends; a dialog that still waits counts
// as cancelled.
void CloseInputForm();

}  // namespace dialogs
