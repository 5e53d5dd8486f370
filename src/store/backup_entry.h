#pragma once

#include "store/backup_time.h"

#include <QString>

namespace store {

// Characters that frame an entry in the definition body.
inline constexpr QChar kEntryMarker = QChar(8);
inline constexpr QChar kAfterSource = QChar(2);
inline constexpr QChar kAfterDestination = QChar(3);
inline constexpr QChar kAfterLastBackup = QChar(4);
inline constexpr QChar kAfterFlags = QChar(5);
inline constexpr QChar kEntryEnd = QChar(6);
inline constexpr QChar kTerminator = QChar(0);

// What a registration does with the sub-folders of its source.
enum class SubFolders {
    None,          // the folder only
    EachAsEntry,   // each sub-folder is registered as an entry of its own
    InOneArchive,  // the whole tree goes into the one destination
};

// How the destination is written, told by its extension.
enum class Compression { None, Lzh, Zip };

// One registration.
struct BackupEntry {
    QString sourceFolder;  // the key
    QString destination;   // a folder, an .LZH or .ZIP file, or "(E)TITLE\path" on removable media
    BackupTime lastBackup;
    SubFolders subFolders = SubFolders::None;
    bool locked = false;         // carried, never acted on
    bool deleteMissing = false;  // delete backups of files gone from the source
    // The flag characters as the definition file held them (empty for a
    // registration made here). Where the fields above still say what a
    // character says, it is written back as it was read.
    QString storedFlags;
    bool wellFormed = true;  // the separators after source and destination were found

    bool IncludesSubFolders() const { return subFolders != SubFolders::None; }
    Compression CompressionOf() const;
    bool IsRemovableDestination() const { return destination.startsWith(u'('); }
    // The eight flag characters as the entry is written.
    QString FlagCharacters() const;
};

// The entry as it stands in the body: marker, fields, separators.
QString EntryText(const BackupEntry& entry);

// Reads the entry whose marker stands at `text[0]`; `text` ends before the
// next marker. Missing separators leave the fields after them empty.
BackupEntry ParseEntryText(QStringView text);

}  // namespace store
