#include "util/text_case.h"

#include <QRegularExpression>

#include "platform/ascii_fold.h"

namespace util {

QString AsciiUpper(const QString& text) { return platform::AsciiFold(text); }

QString AsciiLower(const QString& text) {
    QString out = text;
    for (QChar& c : out) c = QChar(platform::AsciiLowerOf(c.unicode()));
    return out;
}

QString CapitalizeWord(const QString& text) {
    if (text.isEmpty()) return text;
    return AsciiUpper(text.left(1)) + AsciiLower(text.mid(1));
}

QString CapitalizePath(const QString& path) {
    QString out;
    qsizetype start = 0;
    if (path.size() >= 2 && path[1] == u':') {
        start = (path.size() >= 3 && path[2] == u'\\') ? 3 : 2;
        out = AsciiUpper(path.left(1)) + path.mid(1, start - 1);
    }
    for (;;) {
        const qsizetype slash = path.indexOf(u'\\', start);
        if (slash < 0) {
            out += CapitalizeWord(path.mid(start));
            return out;
        }
        out += CapitalizeWord(path.mid(start, slash - start)) + u'\\';
        start = slash + 1;
    }
}

QString CapitalizeWords(const QString& text) {
    if (text.isEmpty()) return text;
    static const QString kSmallWords = QStringLiteral("/and/or/of/for/in/etc./");
    QString out = text.toLower();
    qsizetype i = 0;
    while (i < out.size()) {
        while (i < out.size() && out[i] == u' ') ++i;
        if (i >= out.size()) break;
        qsizetype end = out.size();
        for (const QChar delimiter : {QChar(u' '), QChar(u',')}) {
            const qsizetype at = out.indexOf(delimiter, i);
            if (at >= 0 && at < end) end = at;
        }
        const QString word = out.mid(i, end - i);
        if (!kSmallWords.contains(u'/' + word + u'/')) {
            if (word.isEmpty()) break;
            const bool hasVowel = word.contains(QRegularExpression(QStringLiteral("[aiueo]")));
            const qsizetype length = hasVowel ? 1 : word.size();
            out.replace(i, length, out.mid(i, length).toUpper());
        }
        i = end + 1;
    }
    return out;
}

bool SameKey(const QString& a, const QString& b) { return platform::SameName(a, b); }

}  // namespace util
