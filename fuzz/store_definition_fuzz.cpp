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
    int walked = 0;
    for (auto step = list.NextEntry(0); step && walked < 100000;
         step = list.NextEntry(step->next)) {
        if (step->next <= step->position) std::abort();  // the walk must move on
        ++walked;
        if (!step->entry.wellFormed) {
            list.RepairAt(step->position);
            break;
        }
    }
    store::BackupEntry entry;
    entry.sourceFolder = QStringLiteral("C:\\FUZZ");
    entry.destination = QStringLiteral("D:\\B");
    entry.lastBackup = QString(16, u' ');
    list.PutEntry(entry);
    list.SetLastBackup(entry.sourceFolder, QStringLiteral("2026/01/01 00:00"));
    if (!list.FindEntry(entry.sourceFolder)) std::abort();
    list.RemoveEntry(entry.sourceFolder, true);
    (void)store::DefinitionFileBytes(list.Body());
    return 0;
}
