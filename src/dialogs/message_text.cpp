#include "dialogs/message_text.h"

namespace dialogs {

bool IsFormattingCode(QChar c) { return c.unicode() <= kBoldOnCode; }

QString MessageLine::Visible() const {
    QString visible;
    for (const TextRun& run : runs) visible += run.text;
    return visible;
}

QString NormaliseMessageText(const QString& text) {
    QString result;
    result.reserve(text.size() + 1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            result += u'|';
        } else if (c == u'\n') {
            result += u'|';
        } else {
            result += c;
        }
    }
    if (!result.isEmpty() && !result.endsWith(u'|')) result += u'|';
    return result;
}

MessageText ParseMessageText(const QString& text) {
    MessageText parsed;
    const QString normal = NormaliseMessageText(text);
    int colour = 0;
    bool bold = false;
    MessageLine line;
    QString piece;
    auto flush = [&] {
        if (!piece.isEmpty()) line.runs.push_back({piece, colour, bold});
        piece.clear();
    };
    for (const QChar c : normal) {
        if (c == u'|') {
            flush();
            parsed.lines.push_back(std::move(line));
            line = MessageLine{};
        } else if (IsFormattingCode(c)) {
            flush();
            const int code = c.unicode();
            if (code <= kLastColourCode) {
                colour = code;
            } else {
                bold = code == kBoldOnCode;
                if (bold) parsed.measureBold = true;
            }
        } else {
            piece += c;
        }
    }
    return parsed;
}

QString StandardBoxText(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            result += u'\n';
        } else if (c == u'|' || c == u'\n') {
            result += u'\n';
        } else if (IsFormattingCode(c)) {
            result += u' ';
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace dialogs
