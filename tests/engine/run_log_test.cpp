#include "engine/run_log.h"
#include "engine/backup_run.h"
#include "engine/run_status.h"
#include "engine_fixture.h"
#include "platform/clock.h"
#include "support/shift_jis_folder.h"

#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;
using engine::EntryOutcome;
using engine::RunLog;

namespace {

QDateTime At(int day, int hour, int minute = 0) {
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, 7));
}

class RunLogFile : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetClockForTesting([this] { return now; });
    }
    void TearDown() override { platform::SetClockForTesting({}); }
    QByteArray Text() const {
        QFile file(path.text());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Write(const QByteArray& bytes) const {
        QFile file(path.text());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static engine::EntryReport Report(const QString& source, EntryOutcome outcome,
                                      const QString& reason = {}) {
        engine::EntryReport report;
        report.source = source;
        report.destination = S("D:\\B");
        report.outcome = outcome;
        report.counts = engine::RunCounts{3, 2, 1, outcome == EntryOutcome::Failed ? 1 : 0};
        report.reason = reason;
        return report;
    }

    QTemporaryDir dir;
    platform::HostPath path{dir.filePath(S("Kibako.log"))};
    QDateTime now = At(8, 23);
};

TEST_F(RunLogFile, LinesReadBackExactlyWhateverTheNamesHold) {
    RunLog log(path, S("TETORU"));
    log.StartRun();
    // A Linux name may hold tabs, line breaks and "%"; the reason has lines.
    const QString odd = S("C:\\a\tb\nc%41\\テスト");
    log.Entry(Report(odd, EntryOutcome::Failed, S("読めません\nフォルダー：　C:\\a")));
    now = At(8, 23, 5);
    // The past versions an entry removed follow its line, each on its own.
    engine::EntryReport pruned = Report(S("C:\\x"), EntryOutcome::BackedUp);
    pruned.historyRemoved = {S("history removed (older than 7 days): /h/a\tb"),
                             S("history could not be removed: /h/c")};
    log.Entry(pruned);
    log.RunFinished(1, 1, true);
    ASSERT_TRUE(log.Error().isEmpty());

    auto records = engine::ParseRunLog(Text());
    ASSERT_EQ(records.size(), 5u);
    for (int i : {2, 3}) {
        EXPECT_EQ(records[i].kind, engine::RunLogRecord::Kind::HistoryRemoved);
        EXPECT_EQ(records[i].historyLine, pruned.historyRemoved[i - 2]);
        EXPECT_EQ(records[i].time, At(8, 23, 5));
    }
    // Each is a line of its own, under its own word.
    EXPECT_EQ(Text().count("\thistory\t"), 2);
    records.erase(records.begin() + 2, records.begin() + 4);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].kind, engine::RunLogRecord::Kind::Entry);
    EXPECT_EQ(records[0].source, odd);
    EXPECT_EQ(records[0].outcome, EntryOutcome::Failed);
    EXPECT_EQ(records[0].reason, S("読めません\nフォルダー：　C:\\a"));
    EXPECT_EQ(records[0].program, S("TETORU"));
    EXPECT_EQ(records[0].time, At(8, 23));
    EXPECT_EQ(records[1].counts.copied, 3);
    EXPECT_EQ(records[1].counts.replaced, 2);
    EXPECT_EQ(records[1].counts.deleted, 1);
    EXPECT_EQ(records[1].time, At(8, 23, 5));
    EXPECT_EQ(records[2].kind, engine::RunLogRecord::Kind::RunSummary);
    EXPECT_EQ(records[2].backedUp, 1);
    EXPECT_EQ(records[2].failed, 1);
    EXPECT_TRUE(records[2].aborted);
    // Every line of the file is one record or the header.
    EXPECT_EQ(Text().count('\n'), 5 + 4);
}

TEST_F(RunLogFile, ALineCutByACrashIsPassedOverAndTheNextRunStartsAfreshLine) {
    {
        RunLog log(path, S("TETORU"));
        log.StartRun();
        log.Entry(Report(S("C:\\kept"), EntryOutcome::BackedUp));
    }
    QByteArray text = Text();
    Write(text + "2026-12-08 23:00:07\tTETORU\tok\tC:\\cu");  // killed mid-line
    RunLog next(path, S("KIBAKO"));
    next.StartRun();
    next.Entry(Report(S("C:\\after"), EntryOutcome::Unchanged));
    const auto records = engine::ParseRunLog(Text());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].source, S("C:\\kept"));
    EXPECT_EQ(records[1].source, S("C:\\after"));
    EXPECT_EQ(records[1].program, S("KIBAKO"));
    EXPECT_TRUE(Text().startsWith(text));  // earlier lines are untouched
}

// A program folder whose name is Shift_JIS bytes: the log is written, rotated and read back
// under exactly those bytes, not under a name Qt's decoding would make of them.
TEST_F(RunLogFile, AFolderNameThatIsNotUtf8IsWrittenRotatedAndReadByItsBytes) {
    const ShiftJisFolder folder;
    ASSERT_TRUE(folder.Made());
    const platform::HostPath log = folder.Host("Kibako.log");
    {
        const int fd = ::open(folder.Bytes("Kibako.log").constData(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        const QByteArray padding(RunLog::kRotateBytes + 1, '#');
        EXPECT_EQ(::write(fd, padding.constData(), padding.size()), padding.size());
        ::close(fd);
    }
    for (const char* source : {"C:\\one", "C:\\two"}) {
        RunLog writer(log, S("TETORU"));
        writer.StartRun();
        writer.Entry(Report(S(source), EntryOutcome::BackedUp));
        writer.RunFinished(1, 0, false);
        ASSERT_TRUE(writer.Error().isEmpty()) << qPrintable(writer.Error());
    }
    struct stat st {};
    EXPECT_EQ(::stat(folder.Bytes("Kibako.log.1").constData(), &st), 0);  // the padding, rotated
    const auto records = engine::ReadRunLogs(log);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].source, S("C:\\one"));
    EXPECT_EQ(records[2].source, S("C:\\two"));
}

TEST_F(RunLogFile, ALongLogIsRotatedKeepingThreeOldOnes) {
    for (int generation = 1; generation <= 5; ++generation) {
        Write(QByteArray(RunLog::kRotateBytes + 1, '#') + "\n");
        RunLog log(path, S("TETORU"));
        log.StartRun();
        log.Entry(Report(S("C:\\run%1").arg(generation), EntryOutcome::BackedUp));
        log.RunFinished(1, 0, false);
        ASSERT_TRUE(log.Error().isEmpty()) << qPrintable(log.Error());
    }
    EXPECT_TRUE(QFile::exists(path.text() + S(".1")));
    EXPECT_TRUE(QFile::exists(path.text() + S(".3")));
    EXPECT_FALSE(QFile::exists(path.text() + S(".4")));
    // The newest log holds only the last run; the old ones were the padding.
    const auto records = engine::ReadRunLogs(path);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].source, S("C:\\run5"));
}

TEST_F(RunLogFile, StatusTakesTheLastRunAndTheLastGoodTime) {
    RunLog log(path, S("TETORU"));
    log.StartRun();
    now = At(6, 23);
    log.Entry(Report(S("c:\\docs"), EntryOutcome::BackedUp));  // keys ignore ASCII case
    log.Entry(Report(S("C:\\music"), EntryOutcome::BackedUp));
    now = At(7, 23);
    log.Entry(Report(S("C:\\Docs"), EntryOutcome::Unchanged));
    log.Entry(Report(S("C:\\music"), EntryOutcome::Failed, S("disk full")));
    log.RunFinished(0, 1, false);

    std::vector<store::BackupEntry> entries(3);
    entries[0].sourceFolder = S("C:\\Docs");
    entries[0].lastBackup = store::BackupTime::FromText(S("2026/12/06 23:00"));
    entries[1].sourceFolder = S("C:\\Music");
    entries[1].lastBackup = store::BackupTime::FromText(S("2026/12/06 23:00"));
    entries[2].sourceFolder = S("C:\\Never");
    entries[2].lastBackup = store::BackupTime();
    const auto statuses = engine::StatusOf(entries, engine::ReadRunLogs(path));
    ASSERT_EQ(statuses.size(), 3u);
    EXPECT_FALSE(statuses[0].LastRunFailed());
    EXPECT_EQ(statuses[0].lastGood, At(7, 23));  // found unchanged counts as current
    EXPECT_TRUE(statuses[1].LastRunFailed());
    EXPECT_EQ(statuses[1].lastRun->reason, S("disk full"));
    EXPECT_EQ(statuses[1].lastGood, At(6, 23));
    EXPECT_FALSE(statuses[2].lastRun.has_value());
    EXPECT_FALSE(statuses[2].lastGood.isValid());
    EXPECT_TRUE(statuses[2].OlderThan(7, At(8, 0)));
    EXPECT_FALSE(statuses[1].OlderThan(7, At(8, 0)));
    EXPECT_TRUE(statuses[1].OlderThan(1, At(8, 0)));
}

class LoggedRun : public EngineTest {
  protected:
    void SetUp() override {
        drives.Map(u'D', platform::DriveType::Fixed);
        drives.WriteFile(S("C:\\src\\new.txt"), "new", 1'700'000'100);
        drives.WriteFile(S("C:\\src\\newer.txt"), "newer", 1'700'000'100);
        drives.WriteFile(S("D:\\dst\\newer.txt"), "old", 1'700'000'000);
        drives.WriteFile(S("D:\\dst\\gone.txt"), "gone", 1'700'000'000);
        Register(S("C:\\src"), S("D:\\dst"), true);
        Register(S("C:\\missing"), S("D:\\m"), false);
        engine.SetLog(&log);
    }
    void TearDown() override { engine.SetLog(nullptr); }
    void Register(const QString& source, const QString& destination, bool deleteMissing) {
        store::BackupEntry entry;
        entry.sourceFolder = source;
        entry.destination = destination;
        entry.lastBackup = store::BackupTime();
        entry.deleteMissing = deleteMissing;
        list.PutEntry(entry);
    }
    QTemporaryDir dir;
    RunLog log{platform::HostPath(dir.filePath(S("Kibako.log"))), S("TETORU")};
    store::DefinitionList list;
};

TEST_F(LoggedRun, EachEntryIsLoggedWithItsCountsAndAFailureWithItsMessages) {
    engine::RunBackupAll(engine, list);
    const auto records = engine::ReadRunLogs(log.HostFile());
    ASSERT_EQ(records.size(), 3u);
    const auto& failed = records[0];  // "C:\missing" sorts first
    EXPECT_EQ(failed.source, S("C:\\missing"));
    EXPECT_EQ(failed.outcome, EntryOutcome::Failed);
    const auto& done = records[1];
    EXPECT_EQ(done.outcome, EntryOutcome::BackedUp);
    EXPECT_EQ(done.counts.copied, 1);
    EXPECT_EQ(done.counts.replaced, 1);
    EXPECT_EQ(done.counts.deleted, 1);
    EXPECT_EQ(done.counts.failed, 0);
    EXPECT_TRUE(done.reason.isEmpty());
    EXPECT_EQ(records[2].kind, engine::RunLogRecord::Kind::RunSummary);
    EXPECT_EQ(records[2].failed, 1);
    // The messages reached the user as before, and the log kept them too.
    EXPECT_EQ(ui.reports[0].reason, failed.reason);
}

}  // namespace
