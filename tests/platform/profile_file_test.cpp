#include "platform/profile_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using platform::ReadProfileString;
using platform::WriteProfileString;

namespace {

class ProfileFile : public ::testing::Test {
  protected:
    void Write(const QByteArray& bytes) {
        QFile file(path.text());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Read() {
        QFile file(path.text());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString Get(const char* key, const char* section = "Options") {
        return ReadProfileString(path, QString::fromUtf8(section), QString::fromUtf8(key));
    }
    QTemporaryDir dir;
    platform::HostPath path{dir.filePath(QStringLiteral("Kibako.INI"))};
};

TEST_F(ProfileFile, ReadsWithWindowsRules) {
    Write(
        "; comment\r\n[other]\r\nA=wrong\r\n[OPTIONS]\r\n  a =  first  \r\nA=second\r\n"
        "Quoted=\"  padded \"\r\nNoEquals\r\n;B=commented\r\n[Options]\r\nB=later section\r\n");
    EXPECT_EQ(Get("A"), QStringLiteral("first"));  // case-insensitive, first key wins, trimmed
    EXPECT_EQ(Get("quoted"), QStringLiteral("  padded "));
    EXPECT_EQ(Get("B"), QString());  // only the first matching section counts
    EXPECT_EQ(Get("NoEquals"), QString());
    EXPECT_EQ(Get("A", "missing"), QString());
}

TEST_F(ProfileFile, ToleratesBomLfLinesAndJunk) {
    Write("\xEF\xBB\xBF[Options]\nName=\x8E\xCA\x90\x5E\n\x01\x02\xFF\xFE garbage\nSize=5\n");
    EXPECT_EQ(Get("Name"), QStringLiteral("写真"));
    EXPECT_EQ(Get("Size"), QStringLiteral("5"));
}

TEST_F(ProfileFile, MissingFileReadsEmpty) { EXPECT_EQ(Get("A"), QString()); }

TEST_F(ProfileFile, LongValuesAreCutTo254Bytes) {
    Write("[Options]\r\nLong=" + QByteArray(300, 'x') +
          "\r\nWide=" + QString(200, QChar(0x5199)).toUtf8() + "\r\n");
    EXPECT_EQ(Get("Long").size(), 254);
    // A double-byte character that would straddle the limit is dropped whole.
    EXPECT_EQ(Get("Wide").size(), 127);
}

TEST_F(ProfileFile, WritesInPlaceAtSectionEndOrNewSection) {
    Write("[Options]\r\nA=1\r\nB=2\r\n\r\n[Other]\r\nC=3\r\n");
    ASSERT_TRUE(WriteProfileString(path, QStringLiteral("options"), QStringLiteral("b"),
                                   QStringLiteral("20")));
    ASSERT_TRUE(WriteProfileString(path, QStringLiteral("Options"), QStringLiteral("D"),
                                   QStringLiteral(" 4")));
    ASSERT_TRUE(WriteProfileString(path, QStringLiteral("New"), QStringLiteral("E"),
                                   QStringLiteral("写真")));
    EXPECT_EQ(Read(), QByteArray("[Options]\r\nA=1\r\nb=20\r\nD= 4\r\n\r\n[Other]\r\nC=3\r\n"
                                 "[New]\r\nE=\x8E\xCA\x90\x5E\r\n"));
}

TEST_F(ProfileFile, CreatesTheFileAndFailsCleanlyWhenItCannot) {
    ASSERT_TRUE(WriteProfileString(path, QStringLiteral("Options"), QStringLiteral("A"),
                                   QStringLiteral("1")));
    EXPECT_EQ(Read(), QByteArray("[Options]\r\nA=1\r\n"));
    QString error;
    EXPECT_FALSE(WriteProfileString(
        platform::HostPath(dir.filePath(QStringLiteral("no/such/folder.ini"))),
        QStringLiteral("Options"), QStringLiteral("A"), QStringLiteral("1"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(ProfileFile, ReadsWholeSections) {
    Write("[Drives]\r\nE=removable|/media/x|PHOTOS\r\nc=fixed|/\r\n");
    const auto pairs = platform::ReadProfileSection(path, QStringLiteral("drives"));
    ASSERT_EQ(pairs.size(), 2);
    EXPECT_EQ(pairs[0].first, QStringLiteral("E"));
    EXPECT_EQ(pairs[1].second, QStringLiteral("fixed|/"));
}

}  // namespace
