#include "platform/code_page.h"

#include <QStringDecoder>
#include <QSysInfo>

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace platform {
namespace {

// QString's code units in iconv's words.
const char* const kTextUnits =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";

// One iconv conversion into a QByteArray (bytes) or a QString (UTF-16 units);
// nothing when the input holds a character the target cannot carry or a byte
// sequence the source does not define. Code page 932 takes at most two bytes
// for a UTF-16 unit and gives at most one unit for a byte, so the first
// guess of the size is almost always the last. The output starts with
// `front` units left for the caller to fill.
template <typename Buffer>
std::optional<Buffer> Convert(const char* to, const char* from, const char* data, std::size_t size,
                              qsizetype front = 0) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::unique_ptr<void, int (*)(iconv_t)> guard(cd, iconv_close);

    constexpr std::size_t kUnit = sizeof(typename Buffer::value_type);
    Buffer output(front + static_cast<qsizetype>(size + 16), Qt::Uninitialized);
    const auto start = [&output] { return reinterpret_cast<char*>(output.data()); };
    char* in = const_cast<char*>(data);
    std::size_t inLeft = size;
    char* out = start() + front * kUnit;
    std::size_t outLeft = static_cast<std::size_t>(output.size() - front) * kUnit;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) continue;
        if (errno != E2BIG) return std::nullopt;
        const auto used = static_cast<std::size_t>(out - start());
        output.resize(output.size() * 2);
        out = start() + used;
        outLeft = static_cast<std::size_t>(output.size()) * kUnit - used;
    }
    output.resize(static_cast<qsizetype>(static_cast<std::size_t>(out - start()) / kUnit));
    return output;
}

std::optional<QString> FromCp932(const QByteArray& bytes) {
    return Convert<QString>(kTextUnits, "CP932", bytes.constData(),
                            static_cast<std::size_t>(bytes.size()));
}

const QByteArray kUtf8Mark = QByteArrayLiteral("\xEF\xBB\xBF");

struct Utf8Scan {
    bool valid = true;
    bool hasLongSequence = false;  // a character of three or four bytes
};

// UTF-8 to text, keeping a byte-order mark at the start as a character: the
// one mark that says "UTF-8" is taken off before, and any further one is text.
QString Utf8Text(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at `at` (no overlong forms,
// no surrogates, nothing above U+10FFFF), or 0.
int SequenceLength(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0;
    };
    const unsigned char lead = byte(at);
    const unsigned char second = byte(at + 1);
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return IsContinuation(second) ? 2 : 0;
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (second < low || second > high) return 0;
    for (int i = 2; i < length; ++i) {
        if (!IsContinuation(byte(at + i))) return 0;
    }
    return length;
}

Utf8Scan ScanUtf8(const QByteArray& bytes) {
    Utf8Scan scan;
    for (qsizetype at = 0; at < bytes.size();) {
        const int length = SequenceLength(bytes, at);
        if (length == 0) return Utf8Scan{false, false};
        if (length >= 3) scan.hasLongSequence = true;
        at += length;
    }
    return scan;
}

// Code page 932 decoding that survives undefined bytes: each undecodable
// byte becomes U+FFFD and decoding resumes after it.
QString DecodeCp932Lenient(const QByteArray& bytes, bool* damaged) {
    if (auto whole = FromCp932(bytes)) return *whole;
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
            auto piece = FromCp932(bytes.mid(end, width));
            if (!piece) break;
            run += *piece;
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

// `head` as it is, then the text in code page 932.
std::optional<QByteArray> HeadAndCp932(QByteArrayView head, const QString& text) {
    auto bytes =
        Convert<QByteArray>("CP932", kTextUnits, reinterpret_cast<const char*>(text.utf16()),
                            static_cast<std::size_t>(text.size()) * sizeof(char16_t), head.size());
    if (bytes && !head.isEmpty()) std::memcpy(bytes->data(), head.data(), head.size());
    return bytes;
}

}  // namespace

std::optional<QByteArray> ToCp932(const QString& text) { return HeadAndCp932({}, text); }

QByteArray EncodeStoredText(const QString& text, QByteArrayView asciiHead) {
    if (auto bytes = HeadAndCp932(asciiHead, text)) {
        // Some code page 932 texts are also UTF-8 with a three-byte sequence
        // ("縺Ａ" is E3 81 82 60, which reads as "あ`"); reading would take
        // them for UTF-8, so they are written as marked UTF-8 instead.
        const Utf8Scan scan = ScanUtf8(*bytes);
        if (!scan.valid || !scan.hasLongSequence) return *bytes;
    }
    QByteArray marked = kUtf8Mark;
    marked.append(asciiHead);
    return marked.append(text.toUtf8());
}

QString DecodeStoredText(const QByteArray& bytes, bool* damaged) {
    if (damaged) *damaged = false;
    if (bytes.startsWith(kUtf8Mark)) {
        const QByteArray body = bytes.mid(kUtf8Mark.size());
        if (ScanUtf8(body).valid) return Utf8Text(body);
        // A mark before bytes that are not UTF-8 says nothing: read them
        // as if it were absent.
        return DecodeStoredText(body, damaged);
    }
    // Being valid UTF-8 proves little: many pairs of half-width katakana in
    // code page 932 are valid two-byte UTF-8. Japanese written as UTF-8 by
    // hand always holds three-byte characters.
    const Utf8Scan scan = ScanUtf8(bytes);
    if (scan.valid && scan.hasLongSequence) return Utf8Text(bytes);
    if (auto cp932 = FromCp932(bytes)) return *cp932;
    if (scan.valid) return Utf8Text(bytes);
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
