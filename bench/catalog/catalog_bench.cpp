// The catalog window's start-up with 1,000 registrations, the drive scan of a
// tree with about 50,000 folders in its first three levels, and opening an
// unread folder with 5,000 sub-folders, and a font change re-laying out a
// folder grid of 10,000 rows. Run offscreen:
//   QT_QPA_PLATFORM=offscreen build/release/bench/catalog/catalog_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "catalog/drive_reader.h"
#include "catalog/folder_model.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/list_form.h"
#include "catalog/row_lookup.h"
#include "platform/drive_table.h"
#include "store/definition_file.h"

namespace {

using namespace kibako::catalog;

QTemporaryDir& Root() {
    static QTemporaryDir dir;
    return dir;
}

QString Home() { return Root().path() + QStringLiteral("/home"); }
QString DriveC() { return Root().path() + QStringLiteral("/c"); }

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

// 1,000 registrations spread over 10 x 10 x 10 folders, and the trees to scan.
void Prepare() {
    QDir().mkpath(Home());
    QDir().mkpath(DriveC());
    WriteFile(Home() + QStringLiteral("/Kibako.INI"),
              "[Drives]\r\nC=fixed|" + QFile::encodeName(DriveC()) + "|SYS\r\n");
    QString body;
    for (int a = 0; a < 10; ++a)
        for (int b = 0; b < 10; ++b)
            for (int c = 0; c < 10; ++c) {
                body +=
                    QChar(8) +
                    QStringLiteral("C:\\Users\\Folder%1\\Album%2\\Disc%3").arg(a).arg(b).arg(c) +
                    QChar(2) + QStringLiteral("D:\\Backup\\%1%2%3.LZH").arg(a).arg(b).arg(c) +
                    QChar(3) + QStringLiteral("2024/01/02 03:04") + QChar(4) +
                    QStringLiteral("20000000") + QChar(5) + QChar(6);
            }
    WriteFile(Home() + QStringLiteral("/Kibako.Def"), store::DefinitionFileBytes(body + QChar(0)));
    // 37 x 37 x 37 = 50,653 folders in levels 2 to 4 of the scan tree.
    const QString scan = DriveC() + QStringLiteral("/Scan");
    for (int a = 0; a < 37; ++a)
        for (int b = 0; b < 37; ++b)
            for (int c = 0; c < 37; ++c)
                QDir().mkpath(QStringLiteral("%1/A%2/B%3/C%4").arg(scan).arg(a).arg(b).arg(c));
    // One level-4 folder with 5,000 sub-folders, read only when opened.
    const QString wide = DriveC() + QStringLiteral("/Wide/Level2/Level3/Many");
    for (int i = 0; i < 5000; ++i) QDir().mkpath(QStringLiteral("%1/Sub%2").arg(wide).arg(i));
    qputenv("KIBAKO_HOME", QFile::encodeName(Home()));
}

void BM_StartUpToPaintedSettingsView(benchmark::State& state) {
    for (auto _ : state) {
        ListForm form;
        form.Load({});
        QApplication::processEvents();
        benchmark::DoNotOptimize(form.RegistrationRows().grid.rowCount);
        state.PauseTiming();
        form.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToPaintedSettingsView)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ScanDriveOf50000Folders(benchmark::State& state) {
    platform::DriveTable table;
    table.Map(u'C', platform::DriveType::Fixed, DriveC() + QStringLiteral("/Scan"));
    platform::SetCurrentDrives(table);
    for (auto _ : state) {
        FolderModel m(true);
        DriveReader reader(QString(QChar(0)));
        m.list = reader.ScanDrive(u'C');
        for (int r = 0; r < m.list.Count(); ++r) {
            if (m.list.Level(r) <= 2) m.rowMap.push_back(r);
        }
        ShowMappedRows(m);
        state.counters["rows"] = m.list.Count();
    }
}
BENCHMARK(BM_ScanDriveOf50000Folders)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExpandUnreadFolderOf5000(benchmark::State& state) {
    platform::DriveTable table;
    table.Map(u'C', platform::DriveType::Fixed, DriveC() + QStringLiteral("/Wide"));
    platform::SetCurrentDrives(table);
    DriveReader reader(QString(QChar(0)));
    const FolderReader read = [&reader](const FolderModel& model, int fullRow) {
        return reader.ReadChildren(StoredPath(model, fullRow), model.list.Level(fullRow));
    };
    for (auto _ : state) {
        state.PauseTiming();
        FolderModel m(true);
        m.list = reader.ScanDrive(u'C');
        for (int r = 0; r < m.list.Count(); ++r) m.rowMap.push_back(r);
        ShowMappedRows(m);
        const int unread = m.list.Count() - 1;
        state.ResumeTiming();
        benchmark::DoNotOptimize(ExpandRow(m, unread, false, read));
    }
}
BENCHMARK(BM_ExpandUnreadFolderOf5000)->Unit(benchmark::kMillisecond)->Iterations(5);

// The font dialog's OK with 10,000 registration rows shown: both grids fitted
// to the new font, the icon strip rebuilt, every indent recomputed and the
// three font keys written.
void BM_FontChangeWith10000Rows(benchmark::State& state) {
    ListForm form;
    form.Load({});
    FolderModel& m = form.RegistrationRows();
    m.list.Clear();
    m.rowMap.clear();
    for (int r = 0; r < 10000; ++r) {
        const QString record = QChar(8) + QStringLiteral("Folder%1").arg(r) + QChar(2) +
                               QStringLiteral("D:\\Backup") + QChar(3) +
                               QStringLiteral("2024/01/02 03:04") + QChar(4) + QChar(5) + QChar(6);
        m.list.Append(record, 2 + r % 5, kIconFolder);
        m.rowMap.push_back(r);
    }
    ShowMappedRows(m);
    QFont font = form.FolderGrid()->font();
    double size = 9.75;
    for (auto _ : state) {
        size = size == 9.75 ? 10.5 : 9.75;
        font.setPointSizeF(size);
        form.ApplyGridFont(font);
        QApplication::processEvents();
    }
    state.counters["rows"] = m.grid.rowCount;
    form.close();
}
BENCHMARK(BM_FontChangeWith10000Rows)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Prepare();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
