#include "store/settings.h"
#include "store/settings_keys.h"
#include "store/window_geometry.h"
#include "support/temp_drives.h"
#include "support/text.h"

#include <gtest/gtest.h>

using namespace store;

namespace {

using testing_support::S;

class SettingsTest : public ::testing::Test {
  protected:
    void WriteIni(const QByteArray& options) {
        drives.WriteFile(settings.FilePath(), "[Options]\r\n" + options);
    }
    testing_support::TempDrives drives;
    Settings settings{SettingsFileIn(platform::DrivePath(S("C:")))};
};

TEST_F(SettingsTest, NumbersFollowTheStoredConventions) {
    WriteIni("Empty=\r\nHex=&HFF\r\nColour=&H8000000E\r\nLead= 42abc\r\nWord=abc\r\nNeg=-1\r\n");
    EXPECT_EQ(settings.GetSettingNumber(SettingName(S("Empty")), 7), 7);
    EXPECT_EQ(settings.GetSettingNumber(SettingName(S("Missing")), 7), 7);
    EXPECT_EQ(settings.GetSettingNumber(SettingName(S("Hex")), 0), 255);
    EXPECT_EQ(static_cast<quint32>(settings.GetSettingNumber(SettingName(S("Colour")), 0)),
              0x8000000Eu);
    EXPECT_EQ(settings.GetSettingNumber(SettingName(S("Lead")), 0), 42);
    EXPECT_EQ(settings.GetSettingNumber(SettingName(S("Word")), 5), 0);
    EXPECT_EQ(settings.GetSettingNumber(SettingName(S("Neg")), 0), -1);
    EXPECT_EQ(settings.GetSettingText(SettingName(S("Empty")), S("default")), S("default"));
}

TEST_F(SettingsTest, WritesNumbersWithALeadingBlankWhenNotNegative) {
    settings.PutSettingNumber(SettingName(S("NewFileOnly")), kYes);
    settings.PutSettingNumber(SettingName(S("AutoPowerOff")), kNo);
    settings.PutSettingNumber(SettingName(S("FolderPercent")), 60);
    EXPECT_EQ(
        drives.ReadFile(settings.FilePath()),
        QByteArray("[Options]\r\nNewFileOnly=-1\r\nAutoPowerOff= 0\r\nFolderPercent= 60\r\n"));
    EXPECT_EQ(settings.GetSettingNumber(SettingName(S("AutoPowerOff")), -1), 0);
}

TEST_F(SettingsTest, DecimalsRoundTripAsPlainDecimalText) {
    // Values carried over from the old system, as it wrote them.
    WriteIni("FontSize=9.75\r\nWhole=10\r\nBlank= 11.25pt\r\nEmpty=\r\nWord=Big\r\nNeg=-1.5\r\n");
    EXPECT_DOUBLE_EQ(settings.GetSettingDecimal(SettingName(S("FontSize")), 0), 9.75);
    EXPECT_DOUBLE_EQ(settings.GetSettingDecimal(SettingName(S("Whole")), 0), 10.0);
    EXPECT_DOUBLE_EQ(settings.GetSettingDecimal(SettingName(S("Blank")), 0), 11.25);
    EXPECT_DOUBLE_EQ(settings.GetSettingDecimal(SettingName(S("Empty")), 7.5), 7.5);
    EXPECT_DOUBLE_EQ(settings.GetSettingDecimal(SettingName(S("Missing")), 7.5), 7.5);
    EXPECT_DOUBLE_EQ(settings.GetSettingDecimal(SettingName(S("Word")), 7.5), 0.0);
    EXPECT_DOUBLE_EQ(settings.GetSettingDecimal(SettingName(S("Neg")), 0), -1.5);
    EXPECT_DOUBLE_EQ(ParseSettingDecimal(S("1.2.3")), 1.2);
    for (const double size : {9.75, 10.0, 10.5, 8.25, 16.5}) {
        ASSERT_TRUE(settings.PutSettingDecimal(SettingName(S("FontSize")), size));
        EXPECT_DOUBLE_EQ(settings.GetSettingDecimal(SettingName(S("FontSize")), 0), size);
    }
    settings.PutSettingDecimal(SettingName(S("FontSize")), 9.75);
    settings.PutSettingDecimal(SettingName(S("Whole")), 12.0);
    const QByteArray bytes = drives.ReadFile(settings.FilePath());
    EXPECT_TRUE(bytes.contains("FontSize=9.75\r\n")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("Whole=12\r\n")) << bytes.constData();
    EXPECT_EQ(FindSettingKey(S("FontSize"))->type, SettingType::Decimal);
}

TEST_F(SettingsTest, YesNoTextReadsWordsOrNumbers) {
    WriteIni("A=True\r\nB=false\r\nC=-1\r\nD=0\r\n");
    EXPECT_TRUE(settings.GetSettingYesNoText(SettingName(S("A")), false));
    EXPECT_FALSE(settings.GetSettingYesNoText(SettingName(S("B")), true));
    EXPECT_TRUE(settings.GetSettingYesNoText(SettingName(S("C")), false));
    EXPECT_FALSE(settings.GetSettingYesNoText(SettingName(S("D")), true));
    EXPECT_TRUE(settings.GetSettingYesNoText(SettingName(S("E")), true));
}

TEST_F(SettingsTest, TheKeyTableGivesEachProgramItsDefaults) {
    EXPECT_EQ(ReadNumberSetting(settings, Key::NewFileOnly, Program::Kibako), kYes);
    EXPECT_EQ(ReadNumberSetting(settings, Key::NewFileOnly, Program::Tetoru), kNo);
    EXPECT_EQ(ReadNumberSetting(settings, Key::TitleBackCol, Program::Kibako, 256), 8421504);
    EXPECT_EQ(ReadNumberSetting(settings, Key::TitleBackCol, Program::Kibako, 1 << 24), 9218729);
    EXPECT_EQ(ReadNumberSetting(settings, Key::LevelColor5, Program::Kibako), 5);
    EXPECT_EQ(ReadNumberSetting(settings, Key::DirColWidth1, Program::Kibako), 120);
    EXPECT_EQ(static_cast<quint32>(ReadNumberSetting(settings, Key::SelBackCol, Program::Kibako)),
              0x8000000Du);
    EXPECT_EQ(AllSettingKeys().size(), 51u);
    EXPECT_EQ(ReadNumberSetting(settings, Key::NotifySuccess, Program::Tetoru), kNo);
    // Settings carried over from before the history keep none.
    EXPECT_EQ(ReadNumberSetting(settings, Key::HistoryDays, Program::Tetoru), 0);
    WriteIni("newfileonly=0\r\n");
    EXPECT_EQ(ReadNumberSetting(settings, Key::NewFileOnly, Program::Kibako), kNo);
}

TEST_F(SettingsTest, EveryKeyNamesItsOwnTableEntry) {
    for (const SettingKey& entry : AllSettingKeys()) {
        EXPECT_EQ(KeyName(entry.id), QLatin1String(entry.name));
        EXPECT_EQ(FindSettingKey(KeyName(entry.id)), &entry);
    }
    EXPECT_EQ(KeyName(LevelColorKey(7)), S("LevelColor7"));
    EXPECT_EQ(KeyName(DirColWidthKey(2)), S("DirColWidth2"));
    EXPECT_EQ(KeyName(FileColWidthKey(0)), S("FileColWidth0"));
    // A key and its name reach the same stored value.
    settings.PutSettingNumber(Key::FolderPercent, 45);
    EXPECT_EQ(settings.GetSettingNumber(SettingName(S("FolderPercent")), 0), 45);
}

TEST_F(SettingsTest, WindowGeometryRule) {
    const WindowGeometry designed{1000, 2000, 9000, 6000};
    struct Case {
        QByteArray ini;
        WindowGeometry expected;
    };
    const QList<Case> cases = {
        {"", designed},
        {"WindowX=-5\r\nWindowY=300\r\n", {0, 40, 9000, 6000}},
        {"WindowX=10\r\nWindowY=-1\r\n", {0, 40, 9000, 6000}},
        {"WIDTH=5000\r\n", {1000, 2000, 7800, 3000}},
        {"WIDTH=8000\r\nHEIGHT=2799\r\n", {1000, 2000, 8000, 3000}},
        {"WIDTH=8000\r\nHEIGHT=2800\r\n", {1000, 2000, 8000, 2800}},
        {"HEIGHT=5000\r\n", designed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini.toStdString());
        WriteIni(c.ini);
        const WindowGeometry g = ReadWindowGeometry(settings, designed);
        EXPECT_EQ(g.x, c.expected.x);
        EXPECT_EQ(g.y, c.expected.y);
        EXPECT_EQ(g.width, c.expected.width);
        EXPECT_EQ(g.height, c.expected.height);
    }
}

TEST_F(SettingsTest, TextsFollowTheCodePageRule) {
    // Written by the Windows program: code page 932, half-width katakana included.
    WriteIni("Name=C:\\\xC3\xBD\r\n");
    EXPECT_EQ(settings.GetSettingText(SettingName(S("Name")), QString()), S("C:\\ﾃｽ"));
    WriteIni("Name=C:\\\xC3\xBD\r\nOther=\x8E\xCA\x90\x5E\r\n");
    // Written here: a value outside code page 932 turns the file into marked UTF-8, and
    // every other value reads back unchanged.
    ASSERT_TRUE(settings.PutSettingText(SettingName(S("Folder")), S("C:\\Café")));
    EXPECT_TRUE(drives.ReadFile(settings.FilePath()).startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(settings.GetSettingText(SettingName(S("Folder")), QString()), S("C:\\Café"));
    EXPECT_EQ(settings.GetSettingText(SettingName(S("Name")), QString()), S("C:\\ﾃｽ"));
    EXPECT_EQ(settings.GetSettingText(SettingName(S("Other")), QString()), S("写真"));
    // Typed in a UTF-8 editor, without the mark.
    WriteIni("Name=C:\\写真\r\n");
    EXPECT_EQ(settings.GetSettingText(SettingName(S("Name")), QString()), S("C:\\写真"));
}

}  // namespace
