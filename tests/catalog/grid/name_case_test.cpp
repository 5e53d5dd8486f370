#include <gtest/gtest.h>

#include "catalog/grid/name_case.h"

namespace kibako::grid {
namespace {

TEST(NameCase, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(AsciiUpper(u"abcＡｂｃ写真z"), QStringLiteral("ABCＡｂｃ写真Z"));
    EXPECT_EQ(AsciiLower(u"ABCＡ写"), QStringLiteral("abcＡ写"));
    EXPECT_EQ(CapitalizeWord(u"mY DOCUMENTS"), "My documents");
    EXPECT_EQ(CapitalizeWord(u""), "");
}

TEST(NameCase, CapitalizePathAndWords) {
    EXPECT_EQ(CapitalizePath(u"c:\\my documents\\REPORT.doc"), "C:\\My documents\\Report.doc");
    EXPECT_EQ(CapitalizePath(u"c:"), "C:");
    EXPECT_EQ(CapitalizeWords(u"a tale of two cities"), "A Tale of Two Cities");
    EXPECT_EQ(CapitalizeWords(u"the lord of the rings"), "The Lord of The Rings");
    EXPECT_EQ(CapitalizeWords(u"readme.txt"), "Readme.txt");
    EXPECT_EQ(CapitalizeWords(u"cd, dvd"), "CD, DVD");
    EXPECT_EQ(CapitalizeWords(u", x"), ", x");
    EXPECT_EQ(CapitalizeWords(u"a,b"), "A,B");
    EXPECT_EQ(CapitalizeWords(u"and then"), "and Then");
}

TEST(NameCase, RulePerColumn) {
    EXPECT_EQ(ApplyNameCase(u"Program Files", 0), "Program Files");
    EXPECT_EQ(ApplyNameCase(u"Program Files", 1), "program files");
    EXPECT_EQ(ApplyNameCase(u"Program Files", 2), "PROGRAM FILES");
    EXPECT_EQ(ApplyNameCase(u"PROGRAM FILES", 3), "Program files");
    EXPECT_EQ(ApplyNameCase(u"PROGRAM FILES", 4), "Program Files");
    EXPECT_EQ(ApplyNameCase(u"c:\\x y", -1), "C:\\X y");
}

}  // namespace
}  // namespace kibako::grid
