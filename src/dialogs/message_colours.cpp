#include "dialogs/message_colours.h"

#include <QScreen>
#include <QStringView>

namespace dialogs {
namespace {

// Seven six-digit entries each, in blue-green-red order; entry n starts at
// character 7n.
constexpr QStringView kHighColourTable = u"000000 E00000 007000 903000 4000A0 900090 3050C0";
constexpr QStringView kLowColourTable = u"000000 800000 008000 808000 000080 800080 008080";

int HexByte(QStringView digits) { return digits.toString().toInt(nullptr, 16); }

}  // namespace

QColor MessageTextColour(int code, bool highColour) {
    if (code < 0 || code > 6) code = 0;
    const QStringView entry = (highColour ? kHighColourTable : kLowColourTable).mid(7 * code, 6);
    const int blue = HexByte(entry.mid(0, 2));
    const int green = HexByte(entry.mid(2, 2));
    const int red = HexByte(entry.mid(4, 2));
    return QColor(red, green, blue);
}

bool ScreenHasHighColour(const QScreen* screen) { return screen == nullptr || screen->depth() > 8; }

}  // namespace dialogs
