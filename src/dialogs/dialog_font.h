#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace dialogs {

// The first of the families that is installed, else the desktop's Japanese
// sans-serif family, else the application's general font family.
QString PickFamily(const QStringList& preferred);

// The message box font: "MS UI Gothic", else "ＭＳ Ｐゴシック", else the
// desktop's Japanese sans-serif; 9 points.
QFont MsgBoxFont();

// The input line font: "ＭＳ Ｐゴシック", else the desktop's Japanese
// sans-serif; 9 points.
QFont InputLineFont();

}  // namespace dialogs
