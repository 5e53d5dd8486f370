#include "store/program_start.h"
#include "platform/drive_table.h"
#include "support/text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using testing_support::S;

class ProgramStartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QDir().mkpath(dir.filePath(S("home/kibako")));
        qputenv("KIBAKO_HOME", dir.filePath(S("home/kibako")).toUtf8());
    }
    void TearDown() override {
        qunsetenv("KIBAKO_HOME");
        platform::SetCurrentDrives(previous_);
    }
    void WriteSettings(const QByteArray& text) {
        QFile file(dir.filePath(S("home/kibako/Kibako.INI")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QTemporaryDir dir;

  private:
    platform::DriveTable previous_ = platform::CurrentDrives();
};

TEST_F(ProgramStartTest, TheDriveTableIsInPlaceBeforeTheProgramFolderIsNamed) {
    WriteSettings("[Drives]\r\nK=fixed|" + dir.filePath(S("home")).toUtf8() +
                  "\r\n[Options]\r\nNewFileOnly=0\r\n");
    const store::ProgramStart start = store::StartProgram();
    EXPECT_EQ(start.programFolder.text(), S("K:\\kibako"));
    EXPECT_EQ(start.settings.FilePath(), S("K:\\kibako\\Kibako.INI"));
    EXPECT_EQ(start.settings.GetSettingNumber(store::Key::NewFileOnly, 7), 0);
    EXPECT_TRUE(start.driveError.isEmpty());
}

// A settings file that is a FIFO would hang the start; it is refused, and
// nothing else is looked at.
TEST_F(ProgramStartTest, ASettingsFileThatIsNoFileIsRefusedAtOnce) {
    const QByteArray settings = QFile::encodeName(dir.filePath(S("home/kibako/Kibako.INI")));
    ASSERT_EQ(mkfifo(settings.constData(), 0600), 0);
    const store::ProgramStart start = store::StartProgram();
    EXPECT_TRUE(start.settingsRefused.contains(S("Kibako.INI")))
        << start.settingsRefused.toStdString();
    EXPECT_TRUE(start.programFolder.isEmpty());
}

}  // namespace
