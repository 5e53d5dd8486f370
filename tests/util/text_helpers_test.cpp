#include "support/text.h"
#include "util/error_wording.h"
#include "util/numbers.h"
#include "util/path_names.h"
#include "util/text_case.h"

#include <gtest/gtest.h>

using namespace util;

using testing_support::S;

TEST(PathNames, SplitPaths) {
    EXPECT_EQ(ParentPath(S("C:\\A\\B")), S("C:\\A"));
    EXPECT_EQ(ParentPath(S("C:\\")), S("C:"));
    EXPECT_EQ(ParentPath(S("C:")), S("C:"));
    EXPECT_EQ(ParentPath(S("\\\\SRV\\SHARE\\X")), S("\\\\SRV\\SHARE"));
    EXPECT_EQ(ParentPath(S("NAME")), QString());
    EXPECT_EQ(FileNameOf(S("C:\\A\\b.txt")), S("b.txt"));
    EXPECT_EQ(FileNameOf(S("C:b.txt")), S("b.txt"));
    EXPECT_EQ(BaseNameOf(S("C:\\A.X\\report.old.txt")), S("report.old"));
    EXPECT_EQ(BaseNameOf(S("C:\\A.X\\README")), S("README"));
    EXPECT_EQ(BaseNameOf(S("C:NOTE.TXT")), S("NOTE"));
}

TEST(PathNames, ExtensionsLookOnlyAtTheLastSixCharacters) {
    EXPECT_EQ(ExtensionOf(S("README.html")), S("HTML"));
    EXPECT_EQ(ExtensionOf(S("ARCHIVE.BACKUP")), QString());
    EXPECT_EQ(ExtensionOf(S("A.B.TXT")), S("TXT"));
    EXPECT_EQ(ExtensionOf(S("C:\\A.B\\FILE")), QString());
    EXPECT_EQ(ExtensionOf(S("C:\\DIR.X\\F")), S("X\\F"));
    EXPECT_EQ(ChangeExtension(S("NOTE.TXT"), S("DOC")), S("NOTE.DOC"));
    EXPECT_EQ(ChangeExtension(S("NOTE"), S("DOC")), S("NOTE.DOC"));
    EXPECT_EQ(ChangeExtension(S("A.B.C"), S("DOC")), S("A.DOC"));
}

TEST(PathNames, JoinStripDrop) {
    EXPECT_EQ(JoinPath(S("C:\\DATA"), S("X.TXT")), S("C:\\DATA\\X.TXT"));
    EXPECT_EQ(JoinPath(S("C:\\"), S("X.TXT")), S("C:\\X.TXT"));
    EXPECT_EQ(JoinPath(S("C:\\"), S("\\X")), S("C:\\X"));
    EXPECT_EQ(JoinPath(S("C:\\DATA"), S("\\X")), S("C:\\DATA\\X"));
    EXPECT_EQ(JoinPath(S("C:\\DATA"), S("D:\\Y")), S("D:\\Y"));
    EXPECT_EQ(StripTrailing(S("C:\\DATA\\"), u'\\'), S("C:\\DATA"));
    EXPECT_EQ(StripTrailing(S("C:\\"), u'\\'), S("C:\\"));
    EXPECT_EQ(DropRight(S("abc"), 1), S("ab"));
    EXPECT_EQ(DropRight(S("ab"), 3), QString());
}

TEST(TextCase, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(AsciiUpper(S("abcｚé写")), S("ABCｚé写"));
    EXPECT_EQ(AsciiLower(S("ABCＺÉ")), S("abcＺÉ"));
    EXPECT_EQ(CapitalizeWord(S("hELLO")), S("Hello"));
    EXPECT_EQ(CapitalizeWord(QString()), QString());
    EXPECT_EQ(CapitalizePath(S("c:\\my documents\\REPORT.doc")), S("C:\\My documents\\Report.doc"));
    EXPECT_EQ(CapitalizePath(S("c:")), S("C:"));
    EXPECT_EQ(CapitalizePath(S("c:\\")), S("C:\\"));
}

TEST(TextCase, TitleCaseForNames) {
    EXPECT_EQ(CapitalizeWords(S("a tale of two cities")), S("A Tale of Two Cities"));
    EXPECT_EQ(CapitalizeWords(S("the lord of the rings")), S("The Lord of The Rings"));
    EXPECT_EQ(CapitalizeWords(S("readme.txt")), S("Readme.txt"));
    EXPECT_EQ(CapitalizeWords(S("cd, dvd")), S("CD, DVD"));
    EXPECT_EQ(CapitalizeWords(S(", x")), S(", x"));
    EXPECT_EQ(CapitalizeWords(S("a,b")), S("A,B"));
    EXPECT_EQ(CapitalizeWords(S("and then")), S("and Then"));
    EXPECT_EQ(CapitalizeWords(S("a,,b")), S("A,,b"));
    EXPECT_EQ(CapitalizeWords(QString()), QString());
}

TEST(Numbers, PadsHexAndGroups) {
    EXPECT_EQ(ZeroPad(7, 2), S("07"));
    EXPECT_EQ(ZeroPad(123, 2), S("23"));
    EXPECT_EQ(ZeroPad(2001, 2), S("01"));
    EXPECT_EQ(Hex8(0x1A2B), S("00001A2B"));
    EXPECT_EQ(Hex8(0xFFFFFFFF), S("FFFFFFFF"));
    EXPECT_EQ(FindLast(3, S("a\\b\\c\\d"), S("\\")), 3);
    EXPECT_EQ(FindLast(2, S("a\\b\\c\\d"), S("\\")), 1);
    EXPECT_EQ(FindLast(0, S("a\\b"), S("\\")), -1);
    EXPECT_EQ(FormatNumber(0), S("0"));
    EXPECT_EQ(FormatNumber(999), S("999"));
    EXPECT_EQ(FormatNumber(1000), S("1,000"));
    EXPECT_EQ(FormatNumber(1234567), S("1,234,567"));
    EXPECT_EQ(FormatNumber(-1234), S("-1,234"));
    EXPECT_EQ(FormatNumber(-2147483647), S("-2,147,483,647"));
    EXPECT_EQ(FormatNumber(std::numeric_limits<qint32>::min()), S("-2,147,483,648"));
    EXPECT_EQ(FormatLargeNumber(999999999999LL), S("999,999,999,999"));
    EXPECT_EQ(FormatLargeNumber(5'000'000'000'000LL), S("5,000,000,000,000"));
    EXPECT_EQ(AnsiByteLength(S("AB写真")), 6);
    EXPECT_EQ(FormatDateTime(QDateTime(QDate(2001, 5, 6), QTime(9, 5, 31))), S("2001/05/06 09:05"));
}

// The C library's and libzip's English descriptions, wherever they stand in
// a message, read in Japanese; paths and other text are left alone.
TEST(ErrorWording, EnglishDescriptionsFromBelowReadInJapanese) {
    EXPECT_EQ(util::InJapaneseWording(QStringLiteral("C:\\Data\\x: File name too long")),
              QStringLiteral("C:\\Data\\x: ファイル名が長すぎます"));
    EXPECT_EQ(
        util::InJapaneseWording(QStringLiteral("No such file or directory: /a\nb: No such file")),
        QStringLiteral(
            "ファイルまたはフォルダーが見つかりません: /a\nb: ファイルが見つかりません"));
    EXPECT_EQ(util::InJapaneseWording(QStringLiteral("No such device or address")),
              QStringLiteral("装置が見つかりません"));
    const QString untouched = QStringLiteral("保存できません：C:\\Photos\\file name");
    EXPECT_EQ(util::InJapaneseWording(untouched), untouched);
}
