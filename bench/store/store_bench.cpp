// Definition list and settings costs at the sizes a large catalog reaches.
#include "store/definition_file.h"
#include "store/definition_list.h"
#include "store/settings.h"
#include "support/temp_drives.h"

#include <benchmark/benchmark.h>

namespace {

store::BackupEntry EntryNumber(int i) {
    store::BackupEntry entry;
    entry.sourceFolder = QStringLiteral("C:\\ユーザー\\hana\\写真\\%1\\フォルダー")
                             .arg(i * 7919 % 100000, 5, 10, QChar(u'0'));
    entry.destination = QStringLiteral("(E)PHOTOS\\Backup\\%1").arg(i);
    entry.lastBackup = store::BackupTime::FromText(QStringLiteral("2026/12/07 10:00"));
    entry.subFolders = store::SubFolders::EachAsEntry;
    return entry;
}

store::DefinitionList ListOf(int count) {
    store::DefinitionList list;
    for (int i = 0; i < count; ++i) list.PutEntry(EntryNumber(i));
    return list;
}

void BM_LoadAndSave(benchmark::State& state) {
    testing_support::TempDrives drives;
    store::DefinitionList list = ListOf(static_cast<int>(state.range(0)));
    const QString path = QStringLiteral("C:\\Kibako.Def");
    store::SaveDefinitions(path, list);
    for (auto _ : state) {
        store::DefinitionList loaded(store::LoadDefinitions(path).body);
        loaded.SetModified(true);
        benchmark::DoNotOptimize(store::SaveDefinitions(path, loaded));
    }
}
BENCHMARK(BM_LoadAndSave)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

// What Tetoru saves after a run of every entry: each entry's new time, into
// the file as it is on disk.
void BM_LoadRunTimesAndSave(benchmark::State& state) {
    testing_support::TempDrives drives;
    const int count = static_cast<int>(state.range(0));
    store::DefinitionList list = ListOf(count);
    const QString path = QStringLiteral("C:\\Kibako.Def");
    store::SaveDefinitions(path, list);
    int minute = 0;
    for (auto _ : state) {
        store::DefinitionList loaded(store::LoadDefinitions(path).body);
        const store::BackupTime time = store::BackupTime::FromText(
            QStringLiteral("2026/12/07 11:%1").arg(++minute % 60, 2, 10, QChar(u'0')));
        for (int i = 0; i < count; ++i) loaded.SetLastBackup(EntryNumber(i).sourceFolder, time);
        benchmark::DoNotOptimize(store::SaveDefinitions(path, loaded));
    }
}
BENCHMARK(BM_LoadRunTimesAndSave)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

// The load alone, and the list built from its text alone: the rest of a load
// and save is the file's code page conversion and the save itself.
void BM_Load(benchmark::State& state) {
    testing_support::TempDrives drives;
    store::DefinitionList list = ListOf(static_cast<int>(state.range(0)));
    const QString path = QStringLiteral("C:\\Kibako.Def");
    store::SaveDefinitions(path, list);
    for (auto _ : state) benchmark::DoNotOptimize(store::LoadDefinitions(path).body.size());
}
BENCHMARK(BM_Load)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_ListFromBodyAndBack(benchmark::State& state) {
    const QString body = ListOf(static_cast<int>(state.range(0))).Body();
    for (auto _ : state) {
        store::DefinitionList list(body);
        list.PutEntry(EntryNumber(-1));
        benchmark::DoNotOptimize(list.Body().size());
    }
}
BENCHMARK(BM_ListFromBodyAndBack)->Arg(20000)->Unit(benchmark::kMillisecond);

// Inserts in scrambled order, each keeping the list sorted.
void BM_PutEntryInARow(benchmark::State& state) {
    for (auto _ : state) {
        store::DefinitionList list = ListOf(static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(list.Body().size());
    }
}
BENCHMARK(BM_PutEntryInARow)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

// What a backup run does with the list: walk it, find each entry and set
// its last backup time.
void BM_WalkAndSetLastBackup(benchmark::State& state) {
    store::DefinitionList list = ListOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const store::BackupEntry& entry : list.Entries()) {
            list.SetLastBackup(entry.sourceFolder,
                               store::BackupTime::FromText(QStringLiteral("2026/12/08 12:00")));
        }
        benchmark::DoNotOptimize(list.Body().size());
    }
}
BENCHMARK(BM_WalkAndSetLastBackup)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_ReadOneSettingOf200(benchmark::State& state) {
    testing_support::TempDrives drives;
    const store::Settings settings(QStringLiteral("C:\\Kibako.INI"));
    for (int i = 0; i < 200; ++i)
        settings.PutSettingNumber(store::SettingName(QStringLiteral("Key%1").arg(i)), i);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            settings.GetSettingNumber(store::SettingName(QStringLiteral("Key150")), 0));
    }
}
BENCHMARK(BM_ReadOneSettingOf200)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
