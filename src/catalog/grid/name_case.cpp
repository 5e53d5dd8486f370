#include "catalog/grid/name_case.h"

#include "util/text_case.h"

namespace catalog::grid {

QString ApplyNameCase(QStringView text, int rule) {
    switch (rule) {
        case 1:
            return text.toString().toLower();
        case 2:
            return text.toString().toUpper();
        case 3:
            return util::CapitalizeWord(text.toString());
        case 4:
            return util::CapitalizeWords(text.toString());
        case -1:
            return util::CapitalizePath(text.toString());
        default:
            return text.toString();
    }
}

}  // namespace catalog::grid
