#include "util/line_breaks.h"

namespace util {

QString WithLineBreaks(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

}  // namespace util
