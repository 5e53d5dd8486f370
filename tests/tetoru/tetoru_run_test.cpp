#include "tetoru/tetoru_run.h"
#include "engine/engine.h"
#include "platform/drive_table.h"
#include "store/definition_file.h"
#include "store/settings.h"
#include "support/scripted_ui.h"
#include "support/temp_drives.h"
#include "support/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using testing_support::S;

// The whole Tetoru sequence in-process, with a scripted user standing in for
// the progress window.
class TetoruRun : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = platform::CurrentDrives();
        QDir().mkpath(dir.filePath(S("c/kibako")));
        QDir().mkpath(dir.filePath(S("d")));
        qputenv("KIBAKO_HOME", dir.filePath(S("c/kibako")).toUtf8());
        store::DefinitionList list;
        for (const char* name : {"a", "b", "c"}) {
            Write(S("c/") + S(name) + S("/f.txt"), "x");
            store::BackupEntry entry;
            entry.sourceFolder = S("C:\\") + S(name);
            entry.destination = S("D:\\") + S(name);
            entry.lastBackup = store::BackupTime();
            list.PutEntry(entry);
        }
        Write(S("c/kibako/Kibako.Def"), store::DefinitionFileBytes(list.Body()));
    }
    void TearDown() override {
        qunsetenv("KIBAKO_HOME");
        platform::SetCurrentDrives(previous_);
    }
    void Settings(const QByteArray& options) {
        Write(S("c/kibako/Kibako.INI"), "[Drives]\r\nC=fixed|" + dir.filePath(S("c")).toUtf8() +
                                            "\r\nD=fixed|" + dir.filePath(S("d")).toUtf8() +
                                            "\r\n[Options]\r\n" + options);
    }
    void Write(const QString& relative, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(dir.filePath(relative)).path());
        QFile file(dir.filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Read(const QString& relative) {
        QFile file(dir.filePath(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    testing_support::ScriptedUi ui;
    engine::Engine engine{ui};
    platform::DriveTable previous_;
};

TEST_F(TetoruRun, AbortAfterTwoEntriesSavesBothAndRequestsNoPowerOff) {
    const QString record = dir.filePath(S("poweroff.log"));
    Settings("AutoPowerOff=-1\r\nPowerOffCommand=echo called >> '" + record.toUtf8() + "'\r\n");
    ui.onEvents = [this] {
        if (ui.reports.size() == 2) engine.RequestAbort();
    };
    EXPECT_EQ(tetoru::RunTetoru(engine, {}, {}), tetoru::kAborted);
    const QString body = store::LoadDefinitions(S("C:\\kibako\\Kibako.Def")).body;
    store::DefinitionList saved(body);
    const auto entries = saved.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_NE(entries[0].lastBackup.Text(), QString(16, u' '));
    EXPECT_NE(entries[1].lastBackup.Text(), QString(16, u' '));
    EXPECT_EQ(entries[2].lastBackup.Text(), QString(16, u' '));
    EXPECT_FALSE(QFile::exists(record));
    EXPECT_TRUE(engine.Unattended());
}

TEST_F(TetoruRun, PlacesTheWindowThenShowsItAndTellsWhichKindOfRun) {
    Settings("NewFileOnly=0\r\nSkipRemovable=1\r\n");
    bool placed = false;
    tetoru::TetoruHooks hooks;
    hooks.placeProgressWindow = [&](const store::Settings& settings) {
        placed = true;
        EXPECT_TRUE(ui.calls.isEmpty());  // placed before it is shown
        EXPECT_EQ(settings.GetSettingNumber(store::SettingName(S("NewFileOnly")), 7), 0);
    };
    EXPECT_EQ(tetoru::RunTetoru(engine, {}, hooks), tetoru::kAllBackedUp);
    EXPECT_TRUE(placed);
    EXPECT_TRUE(engine.SkipRemovable());
    EXPECT_EQ(Read(S("d/a/f.txt")), QByteArray("x"));
}

}  // namespace
