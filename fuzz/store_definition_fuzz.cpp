// Definition files come from disk and from other machines: parsing any bytes
// must give a terminated body that every list operation can walk and edit.
#include "store/definition_file.h"
#include "store/definition_list.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const store::LoadResult loaded = store::ParseDefinitionBytes(bytes);
    if (!loaded.body.isEmpty() && loaded.body.back() != store::kTerminator) std::abort();

    store::DefinitionList list(loaded.body);
    const std::vector<store::BackupEntry> entries = list.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        // Every well-formed entry read is found again by its own key.
        if (entries[i].wellFormed && !list.EntryOf(entries[i].sourceFolder)) std::abort();
        if (!entries[i].wellFormed) {
            list.RepairFrom(i);
            break;
        }
    }
    store::BackupEntry entry;
    entry.sourceFolder = QStringLiteral("C:\\FUZZ");
    entry.destination = QStringLiteral("D:\\B");
    entry.lastBackup = store::BackupTime();
    list.PutEntry(entry);
    list.SetLastBackup(entry.sourceFolder,
                       store::BackupTime::FromText(QStringLiteral("2026/01/01 00:00")));
    if (!list.HasEntry(entry.sourceFolder)) std::abort();
    list.RemoveEntry(entry.sourceFolder, true);
    (void)store::DefinitionFileBytes(list.Body());
    return 0;
}
