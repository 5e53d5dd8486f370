#include "platform/host_name.h"

#include <algorithm>

namespace platform {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // byte b (0x80..0xFF) is U+DC00 + b

bool IsEscape(char16_t unit) { return IsEscapedByte(unit); }

// The length of the valid UTF-8 sequence at `at` (overlong forms, surrogates
// and code points above U+10FFFF are not valid), 0 when there is none.
qsizetype ValidSequence(const unsigned char* bytes, qsizetype size, qsizetype at, char32_t& code) {
    const unsigned char lead = bytes[at];
    int extra = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + extra >= size) return 0;
    for (int k = 1; k <= extra; ++k) {
        const unsigned char next = bytes[at + k];
        if ((next & 0xC0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) return 0;
    if (extra == 3 && (code < 0x10000 || code > 0x10FFFF)) return 0;
    return extra + 1;
}

void AppendUtf8(QByteArray& out, char32_t code) {
    if (code < 0x80) {
        out.append(static_cast<char>(code));
    } else if (code < 0x800) {
        out.append(static_cast<char>(0xC0 | (code >> 6)));
        out.append(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.append(static_cast<char>(0xE0 | (code >> 12)));
        out.append(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.append(static_cast<char>(0xF0 | (code >> 18)));
        out.append(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.append(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

bool IsAscii(QByteArrayView bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

QString HostText(QByteArrayView bytes) {
    if (IsAscii(bytes)) return QString::fromLatin1(bytes);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    QString text;
    text.reserve(size);
    for (qsizetype at = 0; at < size;) {
        if (data[at] < 0x80) {
            text.append(QChar(data[at++]));
            continue;
        }
        char32_t code = 0;
        const qsizetype length = ValidSequence(data, size, at, code);
        if (length == 0) {
            text.append(QChar(static_cast<char16_t>(kEscapeBase + data[at++])));
            continue;
        }
        if (code >= 0x10000) {
            text.append(QChar(QChar::highSurrogate(code)));
            text.append(QChar(QChar::lowSurrogate(code)));
        } else {
            text.append(QChar(static_cast<char16_t>(code)));
        }
        at += length;
    }
    return text;
}

std::optional<QByteArray> HostBytesOf(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    bool escaped = false;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = text[i].unicode();
        if (unit == 0) {
            return std::nullopt;  // a C path would end there and name another file
        } else if (unit < 0x80) {
            bytes.append(static_cast<char>(unit));
        } else if (QChar::isHighSurrogate(unit)) {
            if (i + 1 >= size || !QChar::isLowSurrogate(text[i + 1].unicode())) return std::nullopt;
            AppendUtf8(bytes, QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
            ++i;
        } else if (IsEscape(unit)) {
            bytes.append(static_cast<char>(unit - kEscapeBase));
            escaped = true;
        } else if (QChar::isLowSurrogate(unit)) {
            return std::nullopt;
        } else {
            AppendUtf8(bytes, unit);
        }
    }
    // Escaped bytes that meet as valid UTF-8 stand for other text: the
    // bytes belong to that text alone.
    if (escaped && HostText(bytes) != text) return std::nullopt;
    return bytes;
}

QByteArray HostBytes(QStringView text) { return HostBytesOf(text).value_or(QByteArray()); }

bool HoldsEscapedBytes(QStringView text) {
    for (const QChar c : text) {
        if (IsEscape(c.unicode())) return true;
    }
    return false;
}

QString DisplayText(const QString& text) {
    if (!HoldsEscapedBytes(text)) return text;
    QString shown = text;
    for (QChar& c : shown) {
        if (IsEscape(c.unicode())) c = u'?';
    }
    return shown;
}

QString MessageText(const QString& text) {
    if (!HoldsEscapedBytes(text)) return text;
    const qsizetype separator = std::max(text.lastIndexOf(u'\\'), text.lastIndexOf(u'/'));
    const QByteArray name = HostBytes(QStringView(text).mid(separator + 1));
    return DisplayText(text) + QStringLiteral(" [") +
           QString::fromLatin1(name.toHex(' ').toUpper()) + u']';
}

}  // namespace platform
