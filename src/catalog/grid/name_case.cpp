#include "catalog/grid/name_case.h"

namespace kibako::grid {

namespace {

QChar FoldUp(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') ? QChar(static_cast<char16_t>(u - 32)) : c;
}

QChar FoldDown(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') ? QChar(static_cast<char16_t>(u + 32)) : c;
}

bool IsSmallWord(QStringView word) {
    static const QString kSmall = QStringLiteral("/and/or/of/for/in/etc./");
    if (word.contains(u'/')) return false;
    return kSmall.contains(QString(u'/' + word.toString() + u'/'));
}

bool HasVowel(QStringView word) {
    for (QChar c : word) {
        if (QStringView(u"aiueo").contains(c)) return true;
    }
    return false;
}

}  // namespace

QString AsciiUpper(QStringView text) {
    QString out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) out[i] = FoldUp(text[i]);
    return out;
}

QString AsciiLower(QStringView text) {
    QString out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) out[i] = FoldDown(text[i]);
    return out;
}

QString CapitalizeWord(QStringView text) {
    if (text.isEmpty()) return {};
    return AsciiUpper(text.left(1)) + AsciiLower(text.mid(1));
}

QString CapitalizeWords(QStringView text) {
    if (text.isEmpty()) return {};
    QString out = text.toString().toLower();
    const qsizetype n = out.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && out.at(i) == u' ') ++i;
        if (i >= n) break;
        qsizetype end = i;
        while (end < n && out.at(end) != u' ' && out.at(end) != u',') ++end;
        const QStringView word = QStringView(out).mid(i, end - i);
        if (!IsSmallWord(word)) {
            if (word.isEmpty()) break;
            if (!HasVowel(word)) {
                for (qsizetype k = i; k < end; ++k) out[k] = out.at(k).toUpper();
            } else {
                out[i] = out.at(i).toUpper();
            }
        }
        i = end + 1;
    }
    return out;
}

QString CapitalizePath(QStringView path) {
    QString out;
    out.reserve(path.size());
    qsizetype start = 0;
    if (path.size() >= 2 && path[1] == u':') {
        out += FoldUp(path[0]);
        out += u':';
        start = 2;
        if (path.size() >= 3 && path[2] == u'\\') {
            out += u'\\';
            start = 3;
        }
    }
    while (start < path.size()) {
        const qsizetype sep = path.indexOf(u'\\', start);
        if (sep < 0) {
            out += CapitalizeWord(path.mid(start));
            break;
        }
        out += CapitalizeWord(path.mid(start, sep - start));
        out += u'\\';
        start = sep + 1;
    }
    return out;
}

QString ApplyNameCase(QStringView text, int rule) {
    switch (rule) {
        case 1:
            return text.toString().toLower();
        case 2:
            return text.toString().toUpper();
        case 3:
            return CapitalizeWord(text);
        case 4:
            return CapitalizeWords(text);
        case -1:
            return CapitalizePath(text);
        default:
            return text.toString();
    }
}

}  // namespace kibako::grid
