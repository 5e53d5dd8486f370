#include "platform/ascii_fold.h"

namespace platform {

QString AsciiFold(QStringView text) {
    QString folded = text.toString();
    for (QChar& c : folded) c = AsciiFold(c);
    return folded;
}

bool SameName(QStringView a, QStringView b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (AsciiFold(a[i].unicode()) != AsciiFold(b[i].unicode())) return false;
    }
    return true;
}

}  // namespace platform
