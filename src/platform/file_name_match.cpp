#include "platform/file_name_match.h"

namespace platform {
namespace {

QChar FoldAscii(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') ? QChar(u - 32) : c;
}

// Iterative glob with single-star backtracking: linear in practice, no recursion.
bool Glob(const QString& name, const QString& pattern) {
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == u'?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
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

bool EqualsIgnoringAsciiCase(const QString& a, const QString& b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

}  // namespace platform
