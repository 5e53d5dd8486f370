#include "util/environment.h"
#include "support/temp_drives.h"
#include "support/text.h"

#include <gtest/gtest.h>

namespace {

using testing_support::D;
using testing_support::S;

class EnvironmentCheck : public ::testing::Test {
  protected:
    ~EnvironmentCheck() override { util::CheckEnvironment(D("C:\\Missing.INI")); }

    // The message style after the check with this isMsgModal line.
    int StyleWith(const QByteArray& line) {
        drives.WriteFile(S("C:\\Kibako.INI"), "[Options]\r\n" + line + "\r\n");
        util::CheckEnvironment(D("C:\\Kibako.INI"));
        return util::CurrentEnvironment().messageStyle;
    }

    testing_support::TempDrives drives;
};

// isMsgModal is read as every number of the settings file is.
TEST_F(EnvironmentCheck, IsMsgModalIsReadAsASettingsNumber) {
    constexpr int kOnTop = util::kSystemModalStyle;
    const std::pair<const char*, int> cases[] = {
        {"isMsgModal=0", 0},           {"isMsgModal= 0", 0},
        {"isMsgModal=False", 0},       {"isMsgModal=&H0", 0},
        {"isMsgModal=0x1", 0},         {"isMsgModal=-1", kOnTop},
        {"isMsgModal= 1", kOnTop},     {"isMsgModal=&HFFFFFFFF", kOnTop},
        {"isMsgModal=7 days", kOnTop}, {"isMsgModal=", kOnTop},
        {"Other=0", kOnTop},
    };
    for (const auto& [line, style] : cases) EXPECT_EQ(StyleWith(line), style) << line;
    util::CheckEnvironment(D("C:\\Missing.INI"));
    EXPECT_EQ(util::CurrentEnvironment().messageStyle, kOnTop);
    EXPECT_FALSE(util::CurrentEnvironment().windowsMe);
}

}  // namespace
