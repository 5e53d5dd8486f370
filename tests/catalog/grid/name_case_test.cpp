#include <gtest/gtest.h>

#include "catalog/grid/name_case.h"

namespace catalog::grid {
namespace {

TEST(NameCase, CapitalizingRulesFoldOnlyAsciiLetters) {
    EXPECT_EQ(ApplyNameCase(u"mY DOCUMENTS", 3), "My documents");
    EXPECT_EQ(ApplyNameCase(u"ｍｙ DOCUMENTS", 3), "ｍｙ documents");
    EXPECT_EQ(ApplyNameCase(u"", 3), "");
    EXPECT_EQ(ApplyNameCase(u"c:\\my documents\\REPORT.doc", -1), "C:\\My documents\\Report.doc");
    EXPECT_EQ(ApplyNameCase(u"the lord of the rings", 4), "The Lord of The Rings");
    EXPECT_EQ(ApplyNameCase(u"cd, dvd", 4), "CD, DVD");
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
}  // namespace catalog::grid
