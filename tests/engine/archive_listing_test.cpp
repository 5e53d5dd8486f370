#include "engine/archive_listing.h"
#include "engine/archive_update.h"
#include "engine_fixture.h"

#include <QDateTime>
#include <QFile>

using namespace testing_support;

namespace {

class ArchiveListingTest : public EngineTest {
  protected:
    void SetUp() override {
        drives.WriteFile(S("C:\\My Data\\a.txt"), "alpha", 1'700'000'000);
        drives.WriteFile(S("C:\\My Data\\sub\\b.txt"), "beta", 1'700'000'000);
    }

    const engine::ArchiveMember* Find(const engine::ArchiveListing& listing, const char* name) {
        for (const engine::ArchiveMember& m : listing.members) {
            if (m.name == S(name)) return &m;
        }
        return nullptr;
    }
};

TEST_F(ArchiveListingTest, MembersComeAsTypedRecordsWithTwoDigitYears) {
    for (const char* archive : {"C:\\out\\B.LZH", "C:\\out\\B.ZIP"}) {
        SCOPED_TRACE(archive);
        ASSERT_TRUE(engine::UpdateArchive(engine, D("C:\\My Data"), platform::DrivePath(S(archive)),
                                          true, false));
        const engine::ArchiveListing listing = engine::ListArchive(platform::DrivePath(S(archive)));
        ASSERT_TRUE(listing.opened);
        const engine::ArchiveMember* a = Find(listing, "a.txt");
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->originalSize, 5u);
        ASSERT_NE(Find(listing, "sub\\b.txt"), nullptr);
        EXPECT_EQ(engine::ListingDateTime(a->dosDate, a->dosTime),
                  QDateTime::fromSecsSinceEpoch(1'700'000'000).toString(S("yy/MM/dd HH:mm:ss")));
    }
}

TEST_F(ArchiveListingTest, DateTimeTextKeepsTwoDigitsOfEveryPart) {
    // 2001-05-06 10:15:31; MS-DOS times keep even seconds.
    const auto date = static_cast<std::uint16_t>(((2001 - 1980) << 9) | (5 << 5) | 6);
    const auto time = static_cast<std::uint16_t>((10 << 11) | (15 << 5) | (31 / 2));
    EXPECT_EQ(engine::ListingDateTime(date, time), S("01/05/06 10:15:30"));
    EXPECT_EQ(engine::ListingDateTime(0x21, 0), S("80/01/01 00:00:00"));
}

TEST_F(ArchiveListingTest, MissingAndForeignFilesAreNotOpened) {
    EXPECT_FALSE(engine::ListArchive(platform::DrivePath(S("C:\\out\\MISSING.ZIP"))).opened);
    drives.WriteFile(S("C:\\out\\TEXT.LZH"), "this is not an archive at all");
    drives.WriteFile(S("C:\\out\\TEXT.ZIP"), "this is not an archive at all");
    EXPECT_FALSE(engine::ListArchive(platform::DrivePath(S("C:\\out\\TEXT.LZH"))).opened);
    EXPECT_FALSE(engine::ListArchive(platform::DrivePath(S("C:\\out\\TEXT.ZIP"))).opened);
    EXPECT_TRUE(engine::ListArchive(platform::DrivePath(S("C:\\out\\TEXT.LZH"))).members.empty());
}

}  // namespace
