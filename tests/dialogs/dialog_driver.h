#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace dialogs_test {

// Calls act, from inside the dialog's wait, with the visible top-level widget
// named `name` once it shows. After five seconds without it the test fails and
// the dialogs are closed so that the wait ends.
void WhenShown(const QString& name, std::function<void(QWidget*)> act);

// The visible top-level widget of that name, or null.
QWidget* VisibleWindow(const QString& name);

// Sends a key to the widget that has the focus in `window` (the window itself
// when none has), as a keyboard would.
void PressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// True when every character of the text has a glyph in the font.
bool RendersWithoutMissingGlyphs(const QString& text, const QFont& font);

// A plain top-level window to own the dialogs, shown at the given outer place.
class OwnerWindow : public QWidget {
  public:
    explicit OwnerWindow(const QRect& geometry);
};

}  // namespace dialogs_test
