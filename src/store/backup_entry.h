#pragma once

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

// One registration.
struct BackupEntry {
    QString sourceFolder;  // the key
    QString destination;   // a folder, an .LZH or .ZIP file, or "(E)TITLE\path" on removable media
    QString lastBackup;    // "YYYY/MM/DD hh:mm", or 16 blanks for never
    int subFolderMode =
        0;             // 0 the folder only, 1 sub-folders as entries of their own, 2 in one archive
    int lockFlag = 0;  // carried, never acted on
    int deleteMissingFlag = 0;  // bit 0: delete backups of files gone from the source
    bool wellFormed = true;     // the separators after source and destination were found

    bool IncludesSubFolders() const { return subFolderMode != 0; }
    bool DeletesMissing() const { return (deleteMissingFlag & 1) != 0; }
    // "LZH", "ZIP", or anything else for a plain copy.
    QString CompressionKind() const;
    bool IsRemovableDestination() const { return destination.startsWith(u'('); }
};

// The entry as it stands in the body: marker, fields, separators.
QString EntryText(const BackupEntry& entry);

// Reads the entry whose marker stands at `text[0]`; `text` ends before the
// next marker. Missing separators leave the fields after them empty.
BackupEntry ParseEntryText(QStringView text);

}  // namespace store
