// The catalog window's start-up with 1,000 registrations, the drive scan of a
// tree with about 50,000 folders in its first three levels, opening an
// unread folder with 5,000 sub-folders, the file list of a folder of
// 5,000 and of 50,000 files and of an LZH archive of 20,000 members, from the row change
// to the painted file grid, and a font change re-laying out a folder grid of
// 10,000 rows, and the lookup of each of 20,000 rows by its KEY. Run offscreen:
//   QT_QPA_PLATFORM=offscreen build/release/bench/catalog/catalog_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <dirent.h>
#include <sys/stat.h>

#include "archiver/archiver.h"
#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/model/apply_registration.h"
#include "catalog/rows/drive_reader.h"
#include "catalog/rows/file_list.h"
#include "catalog/rows/folder_model.h"
#include "catalog/rows/row_lookup.h"
#include "catalog/rows/row_record.h"
#include "catalog/window/list_form.h"
#include "engine/archive_listing.h"
#include "platform/dir_search.h"
#include "platform/drive_table.h"
#include "store/definition_file.h"

namespace {

using namespace catalog;

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
    // 20 x 1,000 folders below C:\\Tree, to register with their sub-folders.
    for (int a = 0; a < 20; ++a)
        for (int b = 0; b < 999; ++b)
            QDir().mkpath(QStringLiteral("%1/Tree/T%2/S%3").arg(DriveC()).arg(a).arg(b));
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

// C:\\Tree registered with its 20,000 sub-folders as entries of their own
// (beside the 1,000 registrations), then the settings view rebuilt.
void BM_RegisterTreeOf20000SubFolders(benchmark::State& state) {
    ListForm form;
    form.Load({});
    const QString before = form.Definitions().Body();
    store::BackupEntry entry;
    entry.sourceFolder = QStringLiteral("C:\\Tree");
    entry.destination = QStringLiteral("D:\\Mirror\\Tree");
    entry.lastBackup = store::BackupTime();
    entry.subFolders = store::SubFolders::EachAsEntry;
    for (auto _ : state) {
        if (ApplyRegistration(form.Model(), entry).rebuildView) form.SwitchView(form.CurrentView());
        state.PauseTiming();
        benchmark::DoNotOptimize(form.RegistrationRows().grid.rowCount);
        form.Definitions().SetBody(before);
        state.ResumeTiming();
    }
    form.Definitions().SetModified(false);
    form.close();
}
BENCHMARK(BM_RegisterTreeOf20000SubFolders)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ScanDriveOf50000Folders(benchmark::State& state) {
    platform::DriveTable table;
    table.Map(u'C', platform::DriveType::Fixed,
              platform::HostPath(DriveC() + QStringLiteral("/Scan")));
    platform::SetCurrentDrives(table);
    for (auto _ : state) {
        FolderModel m(true);
        DriveReader reader(std::vector<store::BackupEntry>{});
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
    table.Map(u'C', platform::DriveType::Fixed,
              platform::HostPath(DriveC() + QStringLiteral("/Wide")));
    platform::SetCurrentDrives(table);
    DriveReader reader(std::vector<store::BackupEntry>{});
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

// A second program folder: drive F: holds Alpha (empty), Big (50,000 files),
// Mid (5,000 files) and Archives\Big.LZH (20,000 members); the three folders
// are registered, so the settings view shows header 0, F: 1, Alpha 2, Big 3,
// Mid 4 and the destination view header 0, F: 1, Archives 2, Alpha.LZH 3,
// Big.LZH 4, Mid.LZH 5.
class FileListBench {
  public:
    FileListBench() {
        const QString root = Root().path() + QStringLiteral("/files");
        const QString home = root + QStringLiteral("/home");
        const QString f = root + QStringLiteral("/f");
        hostF = f;
        for (const char* folder : {"/Alpha", "/Big", "/Mid", "/Members", "/Archives"})
            QDir().mkpath(f + QString::fromLatin1(folder));
        for (int i = 0; i < 50000; ++i) {
            for (const char* folder : {"Big", "Mid"}) {
                if (i >= 5000 && folder[0] == 'M') continue;
                WriteFile(QStringLiteral("%1/%2/File%3.%4")
                              .arg(f, QString::fromLatin1(folder))
                              .arg(i)
                              .arg(kExtensions[i % 6]),
                          QByteArray(100 + i % 900, 'x'));
            }
        }
        for (int i = 0; i < 20000; ++i)
            WriteFile(
                QStringLiteral("%1/Members/Member%2.%3").arg(f).arg(i).arg(kExtensions[i % 6]),
                QByteArray(10 + i % 90, 'm'));
        QDir().mkpath(home);
        WriteFile(home + QStringLiteral("/Kibako.INI"),
                  "[Options]\r\nExpandFirst=-1\r\n[Drives]\r\nF=fixed|" + QFile::encodeName(f) +
                      "|FILES\r\n");
        QString body;
        for (const char* name : {"Alpha", "Big", "Mid"}) {
            body += QChar(8) + QStringLiteral("F:\\") + QString::fromLatin1(name) + QChar(2) +
                    QStringLiteral("F:\\Archives\\%1.LZH").arg(QString::fromLatin1(name)) +
                    QChar(3) + QString(16, u' ') + QChar(4) + QStringLiteral("20000000") +
                    QChar(5) + QChar(6);
        }
        WriteFile(home + QStringLiteral("/Kibako.Def"),
                  store::DefinitionFileBytes(body + QChar(0)));
        const QByteArray previousHome = qgetenv("KIBAKO_HOME");
        qputenv("KIBAKO_HOME", QFile::encodeName(home));
        form.Load({});
        qputenv("KIBAKO_HOME", previousHome);
        std::string output;
        archiver::Unlha("u \"F:\\Archives\\Big.LZH\" \"F:\\Members\\\"", output);
    }

    // The cursor to a shown row of the current view, its files listed and the
    // file grid painted.
    void SelectRow(int row) {
        catalog::grid::MoveCursorTo(*form.FolderGrid(), form.CurrentRows().grid, nullptr, row);
        form.ListFiles();
        form.FileGrid()->repaint();
    }

    ListForm form;
    QString hostF;

  private:
    static constexpr const char* kExtensions[] = {"txt", "JPG", "doc", "lzh", "exe", "dat"};
};

// Made on first use and left to the end of the process: the window must not
// outlive the application object, which main destroys first.
FileListBench& Files() {
    static FileListBench* bench = new FileListBench;
    return *bench;
}

// From the row change to the painted grid, for the folder of range(0) files.
void BM_ListFilesOfAFolder(benchmark::State& state) {
    FileListBench& bench = Files();
    bench.form.SwitchView(kSettingsView);
    const int row = state.range(0) == 5000 ? 4 : 3;
    for (auto _ : state) {
        state.PauseTiming();
        bench.SelectRow(2);
        state.ResumeTiming();
        bench.SelectRow(row);
    }
    state.counters["rows"] = bench.form.FileRows().rowCount;
}
BENCHMARK(BM_ListFilesOfAFolder)
    ->Arg(5000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// The parts of it: the folder read by the platform layer, and the sorted rows.
void BM_SearchFolderOf50000(benchmark::State& state) {
    Files();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            platform::SearchDirectory(platform::DrivePath(QStringLiteral("F:\\Big\\*.*")))
                .entries.size());
    }
}
BENCHMARK(BM_SearchFolderOf50000)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ReadFileListOf50000(benchmark::State& state) {
    Files();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadFileList(QStringLiteral("F:\\Big")).Count());
    }
}
BENCHMARK(BM_ReadFileListOf50000)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ListFilesOfAnLzhArchiveOf20000(benchmark::State& state) {
    FileListBench& bench = Files();
    bench.form.SwitchView(kDestinationView);
    for (auto _ : state) {
        state.PauseTiming();
        bench.SelectRow(3);
        state.ResumeTiming();
        bench.SelectRow(4);
    }
    state.counters["rows"] = bench.form.FileRows().rowCount;
}
BENCHMARK(BM_ListFilesOfAnLzhArchiveOf20000)->Unit(benchmark::kMillisecond)->Iterations(10);

// Peers: Qt's own listing of the same folder with sizes and local times, and
// the archiver's listing calls alone.
void BM_PeerQtListingOf50000(benchmark::State& state) {
    FileListBench& bench = Files();
    for (auto _ : state) {
        qint64 total = 0;
        const QFileInfoList files =
            QDir(bench.hostF + QStringLiteral("/Big")).entryInfoList(QDir::Files);
        for (const QFileInfo& file : files)
            total += file.size() + file.lastModified().toString(QStringLiteral("H:mm")).size();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_PeerQtListingOf50000)->Unit(benchmark::kMillisecond)->Iterations(10);

// The kernel's share: one readdir pass and one fstatat per name, nothing kept.
void BM_PeerReaddirAndStatOf50000(benchmark::State& state) {
    const QByteArray folder = QFile::encodeName(Files().hostF + QStringLiteral("/Big"));
    for (auto _ : state) {
        qint64 total = 0;
        DIR* dir = opendir(folder.constData());
        while (const dirent* item = dir ? readdir(dir) : nullptr) {
            struct stat st;
            if (item->d_name[0] != '.' && fstatat(dirfd(dir), item->d_name, &st, 0) == 0)
                total += st.st_size;
        }
        if (dir) closedir(dir);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_PeerReaddirAndStatOf50000)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_PeerArchiverListingOf20000(benchmark::State& state) {
    Files();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            engine::ListArchive(platform::DrivePath(QStringLiteral("F:\\Archives\\Big.LZH")))
                .members.size());
    }
}
BENCHMARK(BM_PeerArchiverListingOf20000)->Unit(benchmark::kMillisecond)->Iterations(10);

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

// A registration view of 20,000 rows, every row shown, and a lookup of each
// row by its KEY: what patching the rows after a registration of a large
// tree does. The peer is the scan of every row per lookup.
FolderModel RowsOf20000() {
    FolderModel m(false);
    for (int r = 0; r < 20000; ++r) {
        const QString key = QStringLiteral("C:\\TREE\\F%1").arg(r, 5, 10, QChar(u'0'));
        m.list.Append(MakeRecord({key.mid(8), {}, {}, {}, key}), 3, kIconFolder);
        m.rowMap.push_back(r);
    }
    return m;
}

void BM_FindEachOf20000Rows(benchmark::State& state) {
    const FolderModel m = RowsOf20000();
    for (auto _ : state) {
        long long sum = 0;
        for (int r = 0; r < m.list.Count(); ++r)
            sum += FindRowByKey(m, m.list.Cell(r, 4).toString())->shownRow;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_FindEachOf20000Rows)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PeerLinearFindOf20000Rows(benchmark::State& state) {
    const FolderModel m = RowsOf20000();
    for (auto _ : state) {
        long long sum = 0;
        for (int r = 0; r < m.list.Count(); ++r) {
            const QString key = m.list.Cell(r, 4).toString();
            int found = 0;
            while (m.list.Cell(found, 4) != key) ++found;
            int shown = 0;
            while (m.rowMap[static_cast<size_t>(shown)] != found) ++shown;
            sum += shown;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PeerLinearFindOf20000Rows)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Prepare();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
