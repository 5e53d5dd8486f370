// A registration whose last run failed, through the catalog window: its row
// is painted in FailedRunCol, its twin of another case is not, and the
// reason is in the status line while its row is current. An archive a failed
// run could not update does not lend the registration its time.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

#include "catalog/forms/option_form.h"
#include "catalog/grid/grid_state.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/model/failed_runs.h"
#include "catalog/window/list_form.h"
#include "engine/run_log.h"
#include "program_folder_fixture.h"
#include "support/text.h"

namespace catalog {
namespace {

using testing::ProgramFolder;
using testing_support::S;

void LogEntry(engine::RunLog& log, const QString& source, engine::EntryOutcome outcome,
              const QString& reason = QString()) {
    engine::EntryReport report;
    report.source = source;
    report.destination = S("D:\\Back");
    report.outcome = outcome;
    report.reason = reason;
    log.Entry(report);
}

// Pixels of a shown row (inside the grid's border) that are mostly red.
int RedPixelsOfRow(ListForm& form, int row) {
    const grid::GridState& g = form.CurrentRows().grid;
    const QImage image = form.FolderGrid()->grab().toImage();
    const int top = grid::GridSurface::kBorder + (row - g.topRow) * g.rowHeight;
    int red = 0;
    for (int y = top; y < top + g.rowHeight && y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 90 && c.blue() < 90) ++red;
        }
    }
    return red;
}

TEST(FailedRunInCatalog, TheFailedRegistrationStandsOutAndItsRowTellsWhy) {
    ProgramFolder folder;
    for (const char* name : {"Docs", "Photos", "photos"})
        QDir().mkpath(folder.Drive(u'C') + u'/' + QString::fromUtf8(name));
    folder.WriteFile(S("Kibako.Def"),
                     testing::DefinitionFile(
                         testing::EntryText(S("C:\\Docs"), S("D:\\Docs"), QString(16, u' ')) +
                         testing::EntryText(S("C:\\Photos"), S("D:\\P1"), QString(16, u' ')) +
                         testing::EntryText(S("C:\\photos"), S("D:\\P2"), QString(16, u' '))));
    folder.WriteFile(S("Kibako.INI"),
                     folder.ReadFile(S("Kibako.INI")) + "[Options]\r\nExpandFirst=True\r\n");
    {
        engine::RunLog log(platform::HostPath(folder.Home() + S("/") + engine::RunLogFileName()),
                           S("TETORU"));
        log.StartRun();  // Docs failed once, then went well
        LogEntry(log, S("C:\\Docs"), engine::EntryOutcome::Failed, S("disk full"));
        log.RunFinished(0, 1, false);
        log.StartRun();
        LogEntry(log, S("C:\\Docs"), engine::EntryOutcome::BackedUp);
        LogEntry(log, S("C:\\Photos"), engine::EntryOutcome::Failed,
                 S("C:\\Photos\\a.jpg: Permission denied"));
        LogEntry(log, S("C:\\photos"), engine::EntryOutcome::Unchanged);
        log.RunFinished(1, 1, false);
    }
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    const auto row = [&form](const QString& path) {
        const auto found = form.FindRow(path);
        return found ? found->shownRow : -1;
    };
    const int failed = row(S("C:\\Photos"));
    const int twin = row(S("C:\\photos"));
    const int docs = row(S("C:\\Docs"));
    ASSERT_GT(failed, 0);
    ASSERT_GT(twin, 0);
    ASSERT_NE(failed, twin);
    ASSERT_GT(docs, 0);
    EXPECT_GT(RedPixelsOfRow(form, failed), 20);
    EXPECT_EQ(RedPixelsOfRow(form, twin), 0);
    EXPECT_EQ(RedPixelsOfRow(form, docs), 0);
    EXPECT_EQ(RedPixelsOfRow(form, 0), 0);  // the header row

    // The keys bring the cursor to the failed row: the status line says why,
    // in Japanese; on the next row it is the file count again.
    form.FolderGrid()->setFocus();
    while (form.CurrentRows().grid.currentRow < failed)
        QTest::keyClick(form.FolderGrid(), Qt::Key_Down);
    EXPECT_EQ(form.StatusLine()->text(),
              S("前回のバックアップは失敗しました：C:\\Photos\\a.jpg: アクセスが拒否されました"));
    QTest::keyClick(form.FolderGrid(), twin > failed ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_FALSE(form.StatusLine()->text().contains(S("失敗")))
        << form.StatusLine()->text().toStdString();
    form.close();
    // The colour is a role of the colour dialog with its own key.
    EXPECT_EQ(QString::fromUtf8(kColourRoles[kColourRoleCount - 1].caption),
              S("・前回失敗した登録の文字の色"));
    EXPECT_EQ(store::KeyName(kColourRoles[kColourRoleCount - 1].key), S("FailedRunCol"));
}

TEST(FailedRunInCatalog, FailedRunsFollowTheExactSourceAndTheLastRun) {
    const auto entry = [](const QString& source) {
        store::BackupEntry e;
        e.sourceFolder = source;
        return e;
    };
    const auto record = [](const QString& source, engine::EntryOutcome outcome,
                           const QString& reason) {
        engine::RunLogRecord r;
        r.source = source;
        r.outcome = outcome;
        r.reason = reason;
        return r;
    };
    using engine::EntryOutcome;
    const FailedRuns failed = FailedRuns::Of(
        {entry(S("C:\\A")), entry(S("C:\\a")), entry(S("C:\\B")), entry(S("C:\\Old"))},
        {record(S("C:\\A"), EntryOutcome::Failed, S("gone")),
         record(S("C:\\a"), EntryOutcome::BackedUp, {}),
         record(S("C:\\B"), EntryOutcome::Failed, S("first")),
         record(S("C:\\B"), EntryOutcome::Unchanged, {}),
         // A record written in other case (a list from Windows) finds its registration.
         record(S("C:\\OLD"), EntryOutcome::Failed, {})});
    EXPECT_EQ(failed.ReasonOf(S("C:\\A")), S("gone"));
    EXPECT_FALSE(failed.ReasonOf(S("C:\\a")));
    EXPECT_FALSE(failed.ReasonOf(S("C:\\B")));
    EXPECT_EQ(failed.ReasonOf(S("C:\\Old")), QString());
    EXPECT_EQ(FailedRunLine(QString()),
              S("前回のバックアップは失敗しました：理由は記録されていません"));
    EXPECT_EQ(FailedRunLine(S("x: File name too long\nsecond")),
              S("前回のバックアップは失敗しました：x: ファイル名が長すぎます second"));
}

// A registration never backed up takes its archive's time when the archive
// exists, unless its last run failed: that file is what the run refused
// (not an archive, say), and its time would make the next run of changed
// folders pass the source's files over.
TEST(FailedRunInCatalog, AFailedArchiveLendsNoTimeToItsRegistration) {
    ProgramFolder folder;
    for (const char* name : {"Good", "Bad"})
        QDir().mkpath(folder.Drive(u'C') + u'/' + QString::fromUtf8(name));
    QDir().mkpath(folder.Drive(u'D'));
    for (const char* name : {"/good.ZIP", "/bad.ZIP"}) {
        QFile file(folder.Drive(u'D') + QString::fromUtf8(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("whatever is there");
    }
    folder.WriteFile(S("Kibako.Def"),
                     testing::DefinitionFile(
                         testing::EntryText(S("C:\\Bad"), S("D:\\bad.ZIP"), QString(16, u' ')) +
                         testing::EntryText(S("C:\\Good"), S("D:\\good.ZIP"), QString(16, u' '))));
    {
        engine::RunLog log(platform::HostPath(folder.Home() + S("/") + engine::RunLogFileName()),
                           S("TETORU"));
        log.StartRun();
        LogEntry(log, S("C:\\Bad"), engine::EntryOutcome::Failed, S("not a ZIP"));
        log.RunFinished(0, 1, false);
    }
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    EXPECT_TRUE(form.Definitions().EntryOf(S("C:\\Bad"))->lastBackup.IsNever());
    EXPECT_FALSE(form.Definitions().EntryOf(S("C:\\Good"))->lastBackup.IsNever());
    form.close();
}

}  // namespace
}  // namespace catalog
