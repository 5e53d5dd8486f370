#pragma once

#include "engine/engine.h"
#include "platform/path_kinds.h"
#include "store/backup_entry.h"

#include <QString>

#include <vector>

// Whether a registration's backup still holds its source: read-only, for
// tetoru --verify and the catalog's check of one registration.
namespace engine {

enum class DifferenceKind {
    MissingInBackup,   // a source file the backup lacks
    OlderInBackup,     // the source file is newer than its backup
    SizeOrTime,        // same age or newer in the backup, but another size or time
    Content,           // same size and time, other bytes
    ArchiveTest,       // the backup cannot be read, or a member fails its CRC
    MethodNotChecked,  // a member of a compression method the archiver does not decode
    OnlyInBackup,      // a backup whose source is gone, where the registration deletes those
};

struct Difference {
    DifferenceKind kind = DifferenceKind::MissingInBackup;
    QString name;    // "\"-separated below the registered folder; empty for the whole backup
    QString detail;  // why, where there is more to say
};

struct VerifyResult {
    platform::DrivePath target;  // the resolved destination; empty when it was not found
    int matching = 0;
    std::vector<Difference> differences;
    bool Matches() const { return differences.empty(); }
};

struct VerifyOptions {
    bool content = false;  // compare bytes (folder copies) or decoded data and CRC (archives)
};

VerifyResult VerifyRegistration(Engine& engine, const store::BackupEntry& entry,
                                const VerifyOptions& options);

// "missing in the backup: 写真\猫.jpg" and the like.
QString DifferenceText(const Difference& difference);

}  // namespace engine
