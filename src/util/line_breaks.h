#pragma once

#include <QString>

namespace util {

// The system's texts break their lines with CR (and CR LF), which a Qt label
// or message box does not break on: each becomes LF.
QString WithLineBreaks(QString text);

}  // namespace util
