// The real tetoru keeping what its runs replace and delete: the history's
// files and times, pruning by age and for room, and restoring the tree as it
// was before a run, for a folder copy, an LZH and a ZIP.
#include "program_folder.h"
#include "store/definition_file.h"
#include "store/definition_list.h"
#include "support/text.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>

#include <sys/mount.h>

#include <algorithm>
#include <map>
#include <random>

#include <gtest/gtest.h>

namespace {

using e2e::Display;
using e2e::Finished;
using e2e::ProgramFolder;
using testing_support::S;

constexpr qint64 kOld = 1'600'000'000;

using Tree = QMap<QString, QPair<QByteArray, qint64>>;

// Relative name -> bytes and modification second of the files below a
// folder, the history folder left out.
Tree TreeOf(const QString& host) {
    Tree tree;
    QDirIterator it(host, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(host).relativeFilePath(path);
        if (relative.startsWith(S(".kibako-history/"))) continue;
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        tree.insert(relative, {file.readAll(), QFileInfo(path).lastModified().toSecsSinceEpoch()});
    }
    return tree;
}

QStringList NamesIn(const QString& host) {
    return QDir(host).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

struct Registration {
    const char* source;  // below the program folder's parent
    const char* drive;
    const char* destination;
    const char* history;  // the history folder, below the program folder's parent
};

const Registration kFolder{"c/写真", "C:\\写真", "D:\\控え\\写真", "d/控え/写真/.kibako-history"};
const Registration kLzh{"c/日記", "C:\\日記", "D:\\日記.LZH", "d/.kibako-history"};
const Registration kZip{"c/音楽", "C:\\音楽", "D:\\音楽.ZIP", "d/.kibako-history"};

class History : public ::testing::Test {
  protected:
    void WriteRegistrations(const std::vector<Registration>& registrations) {
        store::DefinitionList list;
        for (const Registration& r : registrations) {
            store::BackupEntry entry;
            entry.sourceFolder = S(r.drive);
            entry.destination = S(r.destination);
            entry.lastBackup = store::BackupTime();
            entry.subFolders = store::SubFolders::EachAsEntry;
            entry.deleteMissing = true;
            list.PutEntry(entry);
        }
        home.WriteFile(S("c/kibako/Kibako.Def"), store::DefinitionFileBytes(list.Body()));
        // Only the last level of a destination is made by a run.
        QDir().mkpath(home.Host(S("d/控え")));
    }

    void WriteSources(const Registration& r) {
        home.WriteFile(S(r.source) + S("/一.txt"), "ichi, first version", kOld);
        home.WriteFile(S(r.source) + S("/消える.txt"), "to be deleted", kOld + 2);
        home.WriteFile(S(r.source) + S("/下/三.bin"), "san", kOld + 4);
    }

    // The second run's changes: one file replaced, one deleted, one added.
    void ChangeSources(const Registration& r, qint64 when) {
        home.WriteFile(S(r.source) + S("/一.txt"), "ichi, second version", when);
        QFile::remove(home.Host(S(r.source) + S("/消える.txt")));
        home.WriteFile(S(r.source) + S("/新.txt"), "new", when);
    }

    // Two earlier runs' history, enough to fill a small drive D:.
    void WriteOldHistory(const QString& older, const QString& newer) {
        home.WriteFile(older, QByteArray(1'200'000, 'o'));
        home.WriteFile(newer, QByteArray(1'200'000, 'n'));
        ASSERT_EQ(home.Read(newer).size(), 1'200'000);
    }

    Finished Tetoru(const QStringList& arguments) {
        return home.Run(e2e::BuiltProgram(S("src/tetoru/tetoru")), arguments, Display::None);
    }

    ProgramFolder home;
};

TEST_F(History, AFolderCopyKeepsReplacedAndDeletedFilesAndRestoresTheTreeAsItWas) {
    home.WriteSettings({S("HistoryDays=30")});
    WriteRegistrations({kFolder});
    WriteSources(kFolder);
    ASSERT_EQ(Tetoru({}).exitCode, 0);
    const Tree before = TreeOf(home.Host(S(kFolder.source)));
    EXPECT_FALSE(QFileInfo::exists(home.Host(S(kFolder.history))));

    // Old history, recent history and a name the history did not make.
    const QString history = home.Host(S(kFolder.history));
    home.WriteFile(S(kFolder.history) + S("/2001-02-03_040506/古.txt"), "old");
    const QString recent =
        QDateTime::currentDateTime().addDays(-29).toString(S("yyyy-MM-dd_HHmmss"));
    home.WriteFile(S(kFolder.history) + u'/' + recent + S("/近.txt"), "recent");
    home.WriteFile(S(kFolder.history) + S("/メモ/not-mine.txt"), "mine");

    const QDateTime beforeRun = QDateTime::currentDateTime().addSecs(-3600);
    ChangeSources(kFolder, QDateTime::currentSecsSinceEpoch() - 600);
    const Finished run = Tetoru({});
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(S("history removed (older than 30 days): ") + history +
                                 S("/2001-02-03_040506")))
        << run.out.toStdString();

    // The pruned entry is gone; the recent one, the run's own and the
    // foreign one stay.
    QStringList names = NamesIn(history);
    ASSERT_EQ(names.size(), 3) << names.join(u' ').toStdString();
    EXPECT_TRUE(names.contains(recent));
    EXPECT_TRUE(names.contains(S("メモ")));
    names.removeAll(recent);
    names.removeAll(S("メモ"));
    const QString runFolder = history + u'/' + names.first();
    const QDateTime stamp = QDateTime::fromString(names.first(), S("yyyy-MM-dd_HHmmss"));
    EXPECT_LE(qAbs(stamp.secsTo(QDateTime::currentDateTime())), 120) << names.first().toStdString();
    const Tree kept = TreeOf(runFolder);
    EXPECT_EQ(kept.keys(), (QStringList{S("一.txt"), S("消える.txt")}));
    EXPECT_EQ(kept.value(S("一.txt")), before.value(S("一.txt")));
    EXPECT_EQ(kept.value(S("消える.txt")), before.value(S("消える.txt")));

    // The backup is the new tree; the history is not restored as part of it.
    const QString plain = home.Host(S("e/now"));
    ASSERT_EQ(Tetoru({S("--restore"), S(kFolder.drive), S("--to"), plain}).exitCode, 0);
    EXPECT_EQ(TreeOf(plain), TreeOf(home.Host(S(kFolder.source))));
    EXPECT_FALSE(QFileInfo::exists(plain + S("/.kibako-history")));

    // As of an hour ago: the tree as the first run left it.
    const QString then = home.Host(S("e/then"));
    const Finished restored = Tetoru({S("--restore"), S(kFolder.drive), S("--to"), then, S("--at"),
                                      beforeRun.toString(S("yyyy-MM-dd HH:mm"))});
    EXPECT_EQ(restored.exitCode, 0) << restored.out.toStdString() << restored.err.toStdString();
    EXPECT_EQ(TreeOf(then), before);
    EXPECT_EQ(NamesIn(then), (QStringList{S("一.txt"), S("下"), S("消える.txt")}));

    // Before the first backup's files were made: nothing.
    const QString none = home.Host(S("e/none"));
    EXPECT_EQ(Tetoru({S("--restore"), S(kFolder.drive), S("--to"), none, S("--at"),
                      S("2000-01-01 00:00")})
                  .exitCode,
              0);
    EXPECT_TRUE(TreeOf(none).isEmpty());
    EXPECT_EQ(Tetoru({S("--restore"), S(kFolder.drive), S("--at"), S("yesterday")}).exitCode, 64);
    EXPECT_EQ(Tetoru({S("--at"), S("2000-01-01 00:00")}).exitCode, 64);
}

TEST_F(History, WithTheSettingOffNothingIsKept) {
    WriteRegistrations({kFolder});
    WriteSources(kFolder);
    ASSERT_EQ(Tetoru({}).exitCode, 0);
    ChangeSources(kFolder, QDateTime::currentSecsSinceEpoch() - 600);
    ASSERT_EQ(Tetoru({}).exitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(home.Host(S(kFolder.history))));
    EXPECT_FALSE(QFileInfo::exists(home.Host(S("d/控え/写真/消える.txt"))));
}

// Drive D: as a tmpfs of 4 MB, to run out of space for real (needs the right to mount).
struct SmallDriveD {
    explicit SmallDriveD(ProgramFolder& home) : path(QFile::encodeName(home.Host(S("d")))) {
        QDir().mkpath(home.Host(S("d")));
        mounted = mount("tmpfs", path.constData(), "tmpfs", 0, "size=4m") == 0;
    }
    ~SmallDriveD() {
        if (mounted) umount2(path.constData(), MNT_DETACH);
    }
    QByteArray path;
    bool mounted = false;
};

// A small tmpfs as drive D:, filled by old history: the run removes the
// oldest history until the new copy fits, and the entry succeeds.
TEST_F(History, AFullDiskGetsRoomFromTheOldestHistory) {
    const SmallDriveD disk(home);
    if (!disk.mounted) GTEST_SKIP() << "a tmpfs cannot be mounted here";

    home.WriteSettings({S("HistoryDays=3650")});
    WriteRegistrations({kFolder});
    ASSERT_TRUE(QDir().mkpath(home.Host(S("d/控え"))));
    home.WriteFile(S(kFolder.source) + S("/大.bin"), QByteArray(1'000'000, 'a'), kOld);
    ASSERT_EQ(Tetoru({}).exitCode, 0);
    // Two old runs' history fill the disk.
    const QString older = S(kFolder.history) + S("/2020-01-01_000000/古.bin");
    const QString newer = S(kFolder.history) + S("/2021-01-01_000000/古.bin");
    WriteOldHistory(older, newer);

    home.WriteFile(S(kFolder.source) + S("/大.bin"), QByteArray(1'000'000, 'b'),
                   QDateTime::currentSecsSinceEpoch() - 60);
    const Finished run = Tetoru({});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(S("history removed (the disk was full)")))
        << run.out.toStdString();
    EXPECT_EQ(home.Read(S("d/控え/写真/大.bin")), QByteArray(1'000'000, 'b'));
    EXPECT_FALSE(home.Exists(older));
    // Only as much as was needed: the newer history stays.
    EXPECT_TRUE(home.Exists(newer));
}

// The same for an archive: the update that cannot be written for want of space gets room
// from the oldest history on the disk and runs again, and the entry succeeds.
TEST_F(History, AFullDiskGetsRoomForAnArchiveUpdateFromTheOldestHistory) {
    const SmallDriveD disk(home);
    if (!disk.mounted) GTEST_SKIP() << "a tmpfs cannot be mounted here";
    // Bytes that do not compress, so that the archive is as large as the file.
    const auto noise = [](unsigned seed) {
        QByteArray bytes(1'000'000, Qt::Uninitialized);
        std::mt19937 random(seed);
        for (char& byte : bytes) byte = static_cast<char>(random());
        return bytes;
    };

    home.WriteSettings({S("HistoryDays=3650")});
    WriteRegistrations({kZip});
    home.WriteFile(S(kZip.source) + S("/大.bin"), noise(1), kOld);
    ASSERT_EQ(Tetoru({}).exitCode, 0);
    const QString older = S(kZip.history) + S("/音楽 2020-01-01_000000.ZIP");
    const QString newer = S(kZip.history) + S("/音楽 2021-01-01_000000.ZIP");
    WriteOldHistory(older, newer);

    const QByteArray changed = noise(2);
    home.WriteFile(S(kZip.source) + S("/大.bin"), changed, QDateTime::currentSecsSinceEpoch() - 60);
    const Finished run = Tetoru({});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(S("history removed (the disk was full)")))
        << run.out.toStdString();
    EXPECT_FALSE(home.Exists(older));
    EXPECT_TRUE(home.Exists(newer));
    QProcess unzip;
    unzip.start(S("unzip"), {S("-p"), home.Host(S("d/音楽.ZIP")), S("大.bin")});
    ASSERT_TRUE(unzip.waitForFinished(60'000));
    EXPECT_TRUE(unzip.readAllStandardOutput() == changed);
}

// An LZH and a ZIP: the members an update replaces (and, for the LZH with
// delete-missing, deletes) are kept as they were in a history archive that
// the independent readers open, and --at restores the tree before the update.
TEST_F(History, ArchivesKeepReplacedMembersInAHistoryArchiveAndRestoreTheTreeAsItWas) {
    home.WriteSettings({S("HistoryDays=30")});
    WriteRegistrations({kLzh, kZip});
    WriteSources(kLzh);
    WriteSources(kZip);
    ASSERT_EQ(Tetoru({}).exitCode, 0);
    std::map<std::string, Tree> before;
    for (const Registration& r : {kLzh, kZip}) before[r.source] = TreeOf(home.Host(S(r.source)));
    const QDateTime beforeRun = QDateTime::currentDateTime().addSecs(-3600);
    ChangeSources(kLzh, QDateTime::currentSecsSinceEpoch() - 600);
    ChangeSources(kZip, QDateTime::currentSecsSinceEpoch() - 600);
    const Finished run = Tetoru({});
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();

    const QStringList kept = NamesIn(home.Host(S("d/.kibako-history")));
    ASSERT_EQ(kept.size(), 2) << kept.join(u' ').toStdString();
    for (const Registration& r : {kLzh, kZip}) {
        const bool lzh = r.destination == kLzh.destination;
        const QString stem = lzh ? S("日記 ") : S("音楽 ");
        const auto found = std::find_if(kept.begin(), kept.end(),
                                        [&](const QString& name) { return name.startsWith(stem); });
        ASSERT_NE(found, kept.end());
        EXPECT_TRUE(found->endsWith(lzh ? S(".LZH") : S(".ZIP")));
        const QString archive = home.Host(S("d/.kibako-history/") + *found);
        if (lzh) {
            // lhasa tests every member's data against its CRC and lists the
            // replaced and the deleted member; --at below reads their contents.
            QProcess reader;
            reader.start(S("lhasa"), {S("t"), archive});
            ASSERT_TRUE(reader.waitForFinished(60'000));
            EXPECT_EQ(reader.exitCode(), 0);
            EXPECT_EQ(reader.readAllStandardOutput().count("Tested"), 2);
        } else {
            // unzip extracts exactly the replaced member, with its old contents.
            const QString out = home.Host(S("e/unzipped"));
            QDir().mkpath(out);
            QProcess reader;
            reader.setWorkingDirectory(out);
            reader.start(S("unzip"), {S("-q"), archive});
            ASSERT_TRUE(reader.waitForFinished(60'000));
            EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
            const Tree extracted = TreeOf(out);
            ASSERT_EQ(extracted.keys(), QStringList{S("一.txt")});
            EXPECT_EQ(extracted.first().first, before[r.source].value(S("一.txt")).first);
            // ZIP keeps times in two-second steps.
            EXPECT_LE(qAbs(extracted.first().second - kOld), 2);
        }
        const QString then = home.Host(S("e/then") + stem.trimmed());
        const Finished restored = Tetoru({S("--restore"), S(r.drive), S("--to"), then, S("--at"),
                                          beforeRun.toString(S("yyyy-MM-dd HH:mm"))});
        EXPECT_EQ(restored.exitCode, 0) << restored.out.toStdString();
        EXPECT_EQ(TreeOf(then), before[r.source]) << r.source;
    }
}

}  // namespace
