// Restoring a registration's backup (folder copy, LZH, ZIP) through the one
// executor, and checking a backup against its source.
#include "engine/archive_update.h"
#include "engine/backup_verify.h"
#include "engine/folder_copy.h"
#include "engine/restore_run.h"
#include "engine_fixture.h"
#include "support/fault_injector.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <deque>

using namespace testing_support;
using engine::BackupKind;
using engine::DifferenceKind;
using engine::DifferingTarget;
using engine::ReplaceAnswer;

namespace {

constexpr qint64 kTime = 1'700'000'000;

class ScriptedQuestions final : public engine::RestoreQuestions {
  public:
    ReplaceAnswer AskReplace(const engine::ReplaceQuestion& question) override {
        asked.push_back(question);
        if (answers.empty()) return ReplaceAnswer::No;
        const ReplaceAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<ReplaceAnswer> answers;
    std::vector<engine::ReplaceQuestion> asked;
};

qint64 SecondsOf(const QString& host) { return QFileInfo(host).lastModified().toSecsSinceEpoch(); }

// Relative name -> bytes and modification second of every file below a host folder.
QMap<QString, QPair<QByteArray, qint64>> TreeOf(const QString& host) {
    QMap<QString, QPair<QByteArray, qint64>> tree;
    QDirIterator it(host, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        tree.insert(QDir(host).relativeFilePath(path), {file.readAll(), SecondsOf(path)});
    }
    return tree;
}

class Restore : public EngineTest, public ::testing::WithParamInterface<BackupKind> {
  protected:
    void SetUp() override {
        drives.WriteFile(S("C:\\データ\\日記.txt"), QByteArray(300000, 'n'), kTime);
        drives.WriteFile(S("C:\\データ\\写真\\猫.bin"), "neko", kTime + 2);
        drives.WriteFile(S("C:\\データ\\写真\\古\\犬.bin"), "inu", kTime + 4);
        drives.WriteFile(S("C:\\データ\\a.txt"), "alpha", kTime + 6);
        entry.sourceFolder = S("C:\\データ");
        entry.subFolders = store::SubFolders::InOneArchive;
        switch (GetParam()) {
            case BackupKind::FolderCopy:
                entry.destination = S("E:\\控え\\データ");
                drives.MakeFolder(S("E:\\控え"));
                ASSERT_TRUE(engine::CopyFolder(engine, platform::DrivePath(entry.sourceFolder),
                                               platform::DrivePath(entry.destination), true,
                                               false));
                break;
            case BackupKind::Lzh:
                entry.destination = S("E:\\控え.LZH");
                ASSERT_TRUE(engine::UpdateArchive(engine, platform::DrivePath(entry.sourceFolder),
                                                  platform::DrivePath(entry.destination), true,
                                                  false));
                break;
            case BackupKind::Zip:
                entry.destination = S("E:\\控え.ZIP");
                ASSERT_TRUE(engine::UpdateArchive(engine, platform::DrivePath(entry.sourceFolder),
                                                  platform::DrivePath(entry.destination), true,
                                                  false));
                break;
        }
        original = TreeOf(Source());
    }

    QString Source() const { return drives.Host(S("C:\\データ")); }

    engine::RestorePlan Plan(const QString& targetRoot, const QString& below = {},
                             const QStringList& only = {}) {
        engine::RestoreRequest request{entry, platform::DrivePath(entry.destination),
                                       platform::HostPath(targetRoot), below, only};
        return engine::PlanRestore(request);
    }

    engine::RestoreSummary Apply(const engine::RestorePlan& plan, DifferingTarget differing,
                                 bool dryRun = false) {
        return engine::ApplyRestorePlan(engine, plan, {differing, &questions, dryRun});
    }

    store::BackupEntry entry;
    ScriptedQuestions questions;
    QMap<QString, QPair<QByteArray, qint64>> original;
};

TEST_P(Restore, MissingFilesComeBackSameOnesStayAndANewerOneIsAskedAboutAndKeptOnNo) {
    QFile::remove(drives.Host(S("C:\\データ\\写真\\古\\犬.bin")));
    QDir(drives.Host(S("C:\\データ\\写真\\古"))).removeRecursively();
    drives.WriteFile(S("C:\\データ\\a.txt"), "alpha, changed later", kTime + 1000);
    const engine::RestorePlan plan = Plan(Source());
    ASSERT_TRUE(plan.readable) << plan.error.toStdString();
    ASSERT_EQ(plan.items.size(), 4u);

    questions.answers = {ReplaceAnswer::No};
    const engine::RestoreSummary summary = Apply(plan, DifferingTarget::Ask);
    EXPECT_EQ(summary.written, 1);
    EXPECT_EQ(summary.same, 2);
    ASSERT_EQ(summary.kept.size(), 1u);
    EXPECT_TRUE(summary.Clean());
    ASSERT_EQ(questions.asked.size(), 1u);
    const engine::ReplaceQuestion& asked = questions.asked.front();
    EXPECT_TRUE(asked.target.text().endsWith(S("/a.txt")));
    EXPECT_TRUE(asked.targetNewer);
    EXPECT_EQ(asked.targetTimeNs / 1'000'000'000, kTime + 1000);
    EXPECT_EQ(asked.backupTimeNs / 1'000'000'000, kTime + 6);
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\a.txt")), "alpha, changed later");
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\写真\\古\\犬.bin")), "inu");
    EXPECT_EQ(SecondsOf(drives.Host(S("C:\\データ\\写真\\古\\犬.bin"))), kTime + 4);

    // Yes replaces it with the backup's bytes and time; no temporary is left.
    questions.answers = {ReplaceAnswer::Yes};
    EXPECT_EQ(Apply(Plan(Source()), DifferingTarget::Ask).written, 1);
    EXPECT_EQ(TreeOf(Source()), original);
}

TEST_P(Restore, IntoAnotherFolderTheTreeComesBackWholeByBytesAndTimes) {
    const QString elsewhere = drives.Host(S("C:\\復元先"));
    const engine::RestoreSummary summary = Apply(Plan(elsewhere), DifferingTarget::Ask);
    EXPECT_EQ(summary.written, 4);
    EXPECT_TRUE(questions.asked.empty());
    EXPECT_EQ(TreeOf(elsewhere), original);
    // A second time everything is the same already.
    EXPECT_EQ(Apply(Plan(elsewhere), DifferingTarget::Ask).same, 4);
}

// Two files of a plan bound for one target in a folder the restore makes: the
// second finds the first there and is asked about like any file that is there.
TEST_P(Restore, AFileWrittenEarlierInAFolderTheRestoreMadeIsStillAskedAbout) {
    const QString elsewhere = drives.Host(S("C:\\復元先"));
    engine::RestorePlan plan = Plan(elsewhere);
    const auto named = [&](const QString& name) {
        return *std::find_if(plan.items.begin(), plan.items.end(),
                             [&](const engine::RestoreItem& item) { return item.name == name; });
    };
    const engine::RestoreItem cat = named(S("写真\\猫.bin"));
    engine::RestoreItem dog = named(S("写真\\古\\犬.bin"));
    dog.target = cat.target;
    plan.items.push_back(dog);
    const engine::RestoreSummary summary = Apply(plan, DifferingTarget::Ask);
    EXPECT_EQ(summary.written, 4);
    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(questions.asked.front().target, cat.target);
    EXPECT_EQ(summary.kept, std::vector<platform::HostPath>{cat.target});
    QFile kept(cat.target.text());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "neko");
}

TEST_P(Restore, PartsAndChosenFilesAloneAndTheAnswersForAll) {
    const QString elsewhere = drives.Host(S("C:\\復元先"));
    // Only the folder 写真, restored into a folder that stands for it.
    EXPECT_EQ(Apply(Plan(elsewhere, S("写真")), DifferingTarget::Ask).written, 2);
    EXPECT_TRUE(QFile::exists(elsewhere + S("/古/犬.bin")));
    EXPECT_FALSE(QFile::exists(elsewhere + S("/a.txt")));
    // Chosen files of one folder.
    const QString chosen = drives.Host(S("C:\\選択"));
    EXPECT_EQ(
        Apply(Plan(chosen, {}, {S("a.txt"), S("写真\\猫.bin")}), DifferingTarget::Ask).written, 2);
    EXPECT_EQ(TreeOf(chosen).keys(), (QStringList{S("a.txt"), S("写真/猫.bin")}));

    // Every file differs: すべてはい answers the rest, a dry run writes nothing.
    for (const auto& [name, bytes] : original.asKeyValueRange()) {
        drives.WriteFile(S("C:\\データ\\") + QString(name).replace(u'/', u'\\'), "x", kTime + 99);
    }
    const auto changed = TreeOf(Source());
    EXPECT_EQ(Apply(Plan(Source()), DifferingTarget::Replace, true).written, 4);
    EXPECT_EQ(TreeOf(Source()), changed);
    EXPECT_EQ(Apply(Plan(Source()), DifferingTarget::Keep).kept.size(), 4u);
    questions.answers = {ReplaceAnswer::No, ReplaceAnswer::NoToAll};
    EXPECT_EQ(Apply(Plan(Source()), DifferingTarget::Ask).kept.size(), 4u);
    EXPECT_EQ(questions.asked.size(), 2u);
    questions.asked.clear();
    questions.answers = {ReplaceAnswer::YesToAll};
    EXPECT_EQ(Apply(Plan(Source()), DifferingTarget::Ask).written, 4);
    EXPECT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(TreeOf(Source()), original);
}

TEST_P(Restore, AFailedFileIsReportedTheOthersGoOnAndAbortStopsAfterTheCurrentFile) {
    drives.WriteFile(S("C:\\データ\\a.txt"), "other", kTime + 50);
    drives.WriteFile(S("C:\\データ\\写真\\猫.bin"), "other", kTime + 50);
    {
        FaultInjector faults;
        faults.Fail(platform::sys::Call::Rename, S("*/a.txt"), EIO);
        const engine::RestoreSummary summary = Apply(Plan(Source()), DifferingTarget::Replace);
        EXPECT_EQ(summary.written, 1);
        ASSERT_EQ(summary.failed.size(), 1);
        EXPECT_TRUE(summary.failed.front().contains(S("a.txt")));
        EXPECT_FALSE(summary.Clean());
    }
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\a.txt")), "other");
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\写真\\猫.bin")), "neko");
    EXPECT_EQ(QDir(Source()).entryList(QDir::Hidden | QDir::Files).filter(u".kibako-"),
              QStringList());

    const QString elsewhere = drives.Host(S("C:\\中止"));
    ui.onEvents = [this] { engine.RequestAbort(); };
    const engine::RestoreSummary stopped = Apply(Plan(elsewhere), DifferingTarget::Ask);
    engine.ClearAbort();
    EXPECT_TRUE(stopped.aborted);
    EXPECT_EQ(stopped.written, 1);
    EXPECT_EQ(TreeOf(elsewhere).size(), 1);
}

TEST_P(Restore, VerifyFindsEachKindOfDifferenceAndMatchesAfterAFreshBackup) {
    const engine::VerifyOptions content{true};
    engine::VerifyResult result = engine::VerifyRegistration(engine, entry, content);
    EXPECT_TRUE(result.Matches())
        << engine::DifferenceText(result.differences.front()).toStdString();
    EXPECT_EQ(result.matching, 4);

    drives.WriteFile(S("C:\\データ\\新.txt"), "new", kTime);
    drives.WriteFile(S("C:\\データ\\a.txt"), "alpha, newer", kTime + 100);
    drives.WriteFile(S("C:\\データ\\写真\\猫.bin"), "nekoneko", kTime - 100);
    drives.WriteFile(S("C:\\データ\\写真\\古\\犬.bin"), "INU", kTime + 4);  // same size and time
    result = engine::VerifyRegistration(engine, entry, {false});
    QStringList lines;
    for (const auto& difference : result.differences)
        lines.append(engine::DifferenceText(difference));
    lines.sort();
    EXPECT_EQ(lines,
              (QStringList{S("different size or time: 写真\\猫.bin"),
                           S("missing in the backup: 新.txt"), S("older in the backup: a.txt")}));
    result = engine::VerifyRegistration(engine, entry, content);
    EXPECT_EQ(result.differences.size(), 4u);
    EXPECT_EQ(std::count_if(result.differences.begin(), result.differences.end(),
                            [](const auto& d) { return d.kind == DifferenceKind::Content; }),
              1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, Restore,
                         ::testing::Values(BackupKind::FolderCopy, BackupKind::Lzh,
                                           BackupKind::Zip),
                         [](const auto& kind) {
                             return kind.param == BackupKind::FolderCopy ? std::string("Folder")
                                    : kind.param == BackupKind::Lzh      ? std::string("Lzh")
                                                                         : std::string("Zip");
                         });

TEST_F(EngineTest, ADamagedLzhMemberIsReportedAndNotWrittenAndVerifyFailsItsTest) {
    QByteArray noise(200000, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char& byte : noise) byte = static_cast<char>(random.bounded(256));
    drives.WriteFile(S("C:\\src\\big.txt"), noise, kTime);
    drives.WriteFile(S("C:\\src\\small.txt"), "small", kTime);
    store::BackupEntry entry;
    entry.sourceFolder = S("C:\\src");
    entry.destination = S("E:\\b.lzh");
    ASSERT_TRUE(engine::UpdateArchive(engine, platform::DrivePath(entry.sourceFolder),
                                      platform::DrivePath(entry.destination), false, false));
    QFile archive(drives.Host(entry.destination));
    ASSERT_TRUE(archive.open(QIODevice::ReadWrite));
    QByteArray bytes = archive.readAll();
    const qsizetype middle = bytes.indexOf("big.txt") + 100000;  // inside big.txt's packed data
    ASSERT_GT(middle, 100000);
    bytes[middle] = static_cast<char>(bytes[middle] ^ 0x55);
    archive.seek(0);
    archive.write(bytes);
    archive.close();

    const QString target = drives.Host(S("C:\\out"));
    const engine::RestorePlan plan = engine::PlanRestore(
        {entry, platform::DrivePath(entry.destination), platform::HostPath(target), {}, {}});
    const engine::RestoreSummary summary = engine::ApplyRestorePlan(engine, plan, {});
    EXPECT_EQ(summary.written, 1);
    ASSERT_EQ(summary.failed.size(), 1);
    EXPECT_TRUE(summary.failed.front().contains(S("big.txt")));
    EXPECT_FALSE(QFile::exists(target + S("/big.txt")));
    EXPECT_EQ(TreeOf(target).keys(), QStringList{S("small.txt")});

    const engine::VerifyResult result = engine::VerifyRegistration(engine, entry, {true});
    ASSERT_EQ(result.differences.size(), 1u);
    EXPECT_EQ(result.differences.front().kind, DifferenceKind::ArchiveTest);
    EXPECT_TRUE(engine::VerifyRegistration(engine, entry, {false}).Matches());
}

// A level-0 LZH member (MS-DOS tool) with the given method id and packed bytes.
QByteArray Level0Member(const QByteArray& method, const QByteArray& name, const QByteArray& packed,
                        quint32 originalSize) {
    QByteArray base = method;
    const auto put = [&base](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i) base.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    put(static_cast<quint32>(packed.size()), 4);
    put(originalSize, 4);
    put(0x52A46000, 4);
    base.append('\x20');
    base.append('\x00');
    base.append(static_cast<char>(name.size()));
    base.append(name);
    put(0, 2);  // CRC of the data: never checked, the method is not decoded
    quint8 sum = 0;
    for (const char c : base) sum = static_cast<quint8>(sum + static_cast<quint8>(c));
    QByteArray member;
    member.append(static_cast<char>(base.size()));
    member.append(static_cast<char>(sum));
    return member + base + packed;
}

TEST_F(EngineTest, AMemberOfAMethodNotDecodedIsNamedNotCalledDamaged) {
    drives.WriteFile(S("C:\\src\\keep.txt"), "keep", kTime);
    store::BackupEntry entry;
    entry.sourceFolder = S("C:\\src");
    entry.destination = S("E:\\old.lzh");
    drives.WriteFile(entry.destination,
                     Level0Member("-pm2-", "PM2.TXT", QByteArray(40, '\x5A'), 100) + '\0');

    const engine::VerifyResult result = engine::VerifyRegistration(engine, entry, {true});
    const auto notChecked =
        std::find_if(result.differences.begin(), result.differences.end(),
                     [](const auto& d) { return d.kind == DifferenceKind::MethodNotChecked; });
    ASSERT_NE(notChecked, result.differences.end());
    EXPECT_EQ(notChecked->name, S("PM2.TXT"));
    EXPECT_EQ(notChecked->detail, S("-pm2-"));
    EXPECT_TRUE(std::none_of(result.differences.begin(), result.differences.end(),
                             [](const auto& d) { return d.kind == DifferenceKind::ArchiveTest; }));

    const QString target = drives.Host(S("C:\\out"));
    const engine::RestorePlan plan = engine::PlanRestore(
        {entry, platform::DrivePath(entry.destination), platform::HostPath(target), {}, {}});
    const engine::RestoreSummary summary = engine::ApplyRestorePlan(engine, plan, {});
    ASSERT_EQ(summary.failed.size(), 1);
    EXPECT_TRUE(summary.failed.front().contains(S("展開できません")))
        << summary.failed.front().toStdString();
    EXPECT_FALSE(QFile::exists(target + S("/PM2.TXT")));
}

}  // namespace
