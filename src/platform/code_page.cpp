#include "platform/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace platform {
namespace {

// One iconv conversion; nothing when the input holds a character the target
// cannot carry or a byte sequence the source does not define.
std::optional<QByteArray> Convert(const char* to, const char* from, const QByteArray& input) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::unique_ptr<void, int (*)(iconv_t)> guard(cd, iconv_close);

    QByteArray output(input.size() * 2 + 16, Qt::Uninitialized);
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = static_cast<size_t>(input.size());
    char* out = output.data();
    size_t outLeft = static_cast<size_t>(output.size());
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) continue;
        if (errno != E2BIG) return std::nullopt;
        const auto used = out - output.data();
        output.resize(output.size() * 2);
        out = output.data() + used;
        outLeft = static_cast<size_t>(output.size() - used);
    }
    output.resize(out - output.data());
    return output;
}

bool HasHighByte(const QByteArray& bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) > 0x7F) return true;
    }
    return false;
}

bool IsValidUtf8(const QByteArray& bytes) { return Convert("UTF-8", "UTF-8", bytes).has_value(); }

// Code page 932 decoding that survives undefined bytes: each undecodable
// byte becomes U+FFFD and decoding resumes after it.
QString DecodeCp932Lenient(const QByteArray& bytes, bool* damaged) {
    if (auto whole = Convert("UTF-8", "CP932", bytes)) return QString::fromUtf8(*whole);
    QString text;
    int start = 0;
    while (start < bytes.size()) {
        // Find the longest decodable run from `start` by growing a character at a time.
        int end = start;
        QString run;
        while (end < bytes.size()) {
            const auto lead = static_cast<unsigned char>(bytes[end]);
            const bool doubleByte =
                (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
            const int width = doubleByte && end + 1 < bytes.size() ? 2 : 1;
            auto piece = Convert("UTF-8", "CP932", bytes.mid(end, width));
            if (!piece) break;
            run += QString::fromUtf8(*piece);
            end += width;
        }
        text += run;
        if (end < bytes.size()) {
            text += QChar(0xFFFD);
            if (damaged) *damaged = true;
            ++end;
        }
        start = end;
    }
    return text;
}

}  // namespace

std::optional<QByteArray> ToCp932(const QString& text) {
    return Convert("CP932", "UTF-8", text.toUtf8());
}

QByteArray EncodeStoredText(const QString& text) {
    if (auto bytes = ToCp932(text)) return *bytes;
    return text.toUtf8();
}

QString DecodeStoredText(const QByteArray& bytes, bool* damaged) {
    if (damaged) *damaged = false;
    if (HasHighByte(bytes) && IsValidUtf8(bytes)) return QString::fromUtf8(bytes);
    return DecodeCp932Lenient(bytes, damaged);
}

int Cp932ByteLength(const QString& text) {
    if (auto bytes = ToCp932(text)) return static_cast<int>(bytes->size());
    int length = 0;
    for (const char32_t codePoint : text.toUcs4()) {
        const QString one = QString::fromUcs4(&codePoint, 1);
        const auto encoded = ToCp932(one);
        length += static_cast<int>(encoded ? encoded->size() : one.toUtf8().size());
    }
    return length;
}

}  // namespace platform
