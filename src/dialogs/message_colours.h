#pragma once

#include <QColor>

class QScreen;

namespace dialogs {

// The colour of text colour code 0..6 (other codes give black). The first
// table applies to displays of more than 256 colours, the second to the rest.
QColor MessageTextColour(int code, bool highColour);

// The display shows more than 256 colours (a null screen counts as such).
bool ScreenHasHighColour(const QScreen* screen);

}  // namespace dialogs
