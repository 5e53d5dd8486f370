// The one mapping between host name bytes and text: every byte string comes
// back unchanged, valid UTF-8 is plain text, and a text that stands for no
// host name is never turned into another one's bytes.
#include "platform/host_name.h"

#include <QRandomGenerator>
#include <QStringDecoder>

#include <gtest/gtest.h>

namespace {

using platform::HostBytes;
using platform::HostBytesOf;
using platform::HostText;

QString U(const char16_t* text) { return QString::fromUtf16(text); }

bool IsUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError() && text.toUtf8() == bytes;
}

// Checks one byte string: the round trip, and that the text holds escaped
// bytes exactly when the bytes are not UTF-8 (and is then UTF-8's own text).
void CheckBytes(const QByteArray& bytes) {
    const QString text = HostText(bytes);
    const std::optional<QByteArray> back = HostBytesOf(text);
    ASSERT_TRUE(back.has_value()) << bytes.toHex().constData();
    ASSERT_EQ(*back, bytes) << bytes.toHex().constData();
    const bool utf8 = IsUtf8(bytes);
    ASSERT_EQ(platform::HoldsEscapedBytes(text), !utf8) << bytes.toHex().constData();
    if (utf8) {
        ASSERT_EQ(text, QString::fromUtf8(bytes)) << bytes.toHex().constData();
    }
}

TEST(HostName, EveryByteStringComesBackUnchanged) {
    for (int a = 1; a < 256; ++a) {
        CheckBytes(QByteArray(1, static_cast<char>(a)));
        for (int b = 1; b < 256; ++b) {
            const char pair[] = {static_cast<char>(a), static_cast<char>(b)};
            CheckBytes(QByteArray(pair, 2));
        }
    }
    // Three and four bytes over the bytes where UTF-8's rules change.
    const unsigned char edges[] = {0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1,
                                   0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
    for (const unsigned char a : edges)
        for (const unsigned char b : edges)
            for (const unsigned char c : edges)
                for (const unsigned char d : edges) {
                    const char four[] = {char(a), char(b), char(c), char(d)};
                    CheckBytes(QByteArray(four, 3));
                    CheckBytes(QByteArray(four, 4));
                }
    QRandomGenerator random(24);
    for (int i = 0; i < 20000; ++i) {
        QByteArray bytes(1 + random.bounded(12), '\0');
        for (char& c : bytes) c = static_cast<char>(1 + random.bounded(255));
        CheckBytes(bytes);
    }
}

TEST(HostName, ShiftJisAndValidUtf8Names) {
    const QByteArray shiftJis("\x83\x65\x83\x58\x83\x67.txt");  // テスト.txt in Shift_JIS
    const QString text = HostText(shiftJis);
    EXPECT_EQ(text, U(u"\xDC83"
                      u"e"
                      u"\xDC83"
                      u"X"
                      u"\xDC83"
                      u"g.txt"));
    EXPECT_NE(text, QStringLiteral("テスト.txt"));
    EXPECT_EQ(HostBytes(text), shiftJis);
    EXPECT_EQ(HostText(QByteArray("\xFF")), QString(QChar(0xDCFF)));
    EXPECT_EQ(HostText(QStringLiteral("テスト😀.txt").toUtf8()), QStringLiteral("テスト😀.txt"));
    EXPECT_EQ(HostBytes(QStringLiteral("テスト😀.txt")), QStringLiteral("テスト😀.txt").toUtf8());
    // An overlong form and an encoded surrogate are not UTF-8: each byte is kept.
    EXPECT_EQ(HostText(QByteArray("\xC0\xAF")), U(u"\xDCC0\xDCAF"));
    EXPECT_EQ(HostText(QByteArray("\xED\xA0\x80")), U(u"\xDCED\xDCA0\xDC80"));
}

TEST(HostName, ATextThatStandsForNoHostNameHasNoBytes) {
    for (const QString& text :
         {U(u"a\xD800"), QString(QChar(0)), QStringLiteral("a") + QChar(0) + u'b',
          U(u"\xD800"
            u"b"),
          U(u"\xDC00"), U(u"x\xDC7F"), U(u"\xDE00"),
          // Escaped bytes that meet as UTF-8 are the bytes of "é", which is
          // that text's alone.
          U(u"\xDCC3\xDCA9"), U(u"\xDCE3\xDC81\xDC82.txt")}) {
        EXPECT_FALSE(HostBytesOf(text).has_value()) << text.size();
        EXPECT_TRUE(HostBytes(text).isEmpty());
    }
    EXPECT_EQ(*HostBytesOf(U(u"\xD83D\xDE00")), QByteArray("\xF0\x9F\x98\x80"));
    EXPECT_EQ(*HostBytesOf(U(u"\xDC80")), QByteArray("\x80"));
}

TEST(HostName, MessagesShowEscapedBytesAsQuestionMarksAndNameTheBytes) {
    const QString path = QStringLiteral("C:\\old\\") + HostText("\x83\x65.txt");
    EXPECT_EQ(platform::DisplayText(path), QStringLiteral("C:\\old\\?e.txt"));
    EXPECT_EQ(platform::MessageText(path), QStringLiteral("C:\\old\\?e.txt [83 65 2E 74 78 74]"));
    EXPECT_EQ(platform::MessageText(QStringLiteral("C:\\テスト.txt")),
              QStringLiteral("C:\\テスト.txt"));
}

}  // namespace
