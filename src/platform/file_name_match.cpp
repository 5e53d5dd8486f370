#include "platform/file_name_match.h"

#include "platform/ascii_fold.h"

namespace platform {
namespace {

// Iterative glob with single-star backtracking: linear in practice, no recursion.
bool Glob(const QString& name, const QString& pattern) {
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == u'?' || AsciiFold(pattern[p]) == AsciiFold(name[n]))) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

}  // namespace

bool MatchesWildcard(const QString& pattern, const QString& name) {
    if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*")) return true;
    // "x*.*" also matches names without a dot, as Windows does.
    if (pattern.endsWith(QLatin1String(".*")) && Glob(name, pattern.chopped(2))) return true;
    return Glob(name, pattern);
}

bool HasWildcard(const QString& pattern) {
    return pattern.contains(u'*') || pattern.contains(u'?');
}

}  // namespace platform
