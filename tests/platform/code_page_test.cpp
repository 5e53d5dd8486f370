#include "platform/code_page.h"

#include <gtest/gtest.h>

using platform::DecodeStoredText;
using platform::EncodeStoredText;

TEST(CodePage, JapaneseTextRoundTripsThroughCp932) {
    const QString text = QStringLiteral("C:\\写真\\ﾃｽﾄ①～");
    const QByteArray bytes = EncodeStoredText(text);
    // Double-byte characters take two bytes, half-width katakana one.
    EXPECT_EQ(bytes.size(), 3 + 4 + 1 + 3 + 2 + 2);
    EXPECT_EQ(DecodeStoredText(bytes), text);
}

TEST(CodePage, WindowsOnlyMappingsMatchWindows) {
    // The wave dash and circled digits are where CP932 and plain Shift_JIS differ.
    EXPECT_EQ(EncodeStoredText(QStringLiteral("～")), QByteArray("\x81\x60"));
    EXPECT_EQ(EncodeStoredText(QStringLiteral("①")), QByteArray("\x87\x40"));
}

TEST(CodePage, TextWithoutMappingIsWrittenAsUtf8) {
    const QString text = QStringLiteral("Café 写真");
    EXPECT_FALSE(platform::ToCp932(text).has_value());
    EXPECT_EQ(EncodeStoredText(text), text.toUtf8());
    EXPECT_EQ(DecodeStoredText(text.toUtf8()), text);
}

TEST(CodePage, UndecodableBytesAreMarkedNotDropped) {
    bool damaged = false;
    const QString text = DecodeStoredText(QByteArray("ab\xA0\xFF"
                                                     "cd"),
                                          &damaged);
    EXPECT_TRUE(damaged);
    EXPECT_TRUE(text.startsWith(QStringLiteral("ab")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("cd")));
    EXPECT_TRUE(text.contains(QChar(0xFFFD)));
}

TEST(CodePage, ByteLengthCountsDoubleByteCharactersTwice) {
    EXPECT_EQ(platform::Cp932ByteLength(QStringLiteral("AB写真")), 6);
    EXPECT_EQ(platform::Cp932ByteLength(QStringLiteral("é")), 2);
}
