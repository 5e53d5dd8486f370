#include "store/backup_entry.h"

#include "util/path_names.h"

#include <algorithm>

namespace store {
namespace {

QChar HexDigit(int value) { return QString::number(value & 0xF, 16).toUpper()[0]; }

int HexValue(QChar c) {
    bool ok = false;
    const int value = QString(c).toInt(&ok, 16);
    return ok ? value : 0;
}

}  // namespace

QString BackupEntry::CompressionKind() const { return util::ExtensionOf(destination); }

QString EntryText(const BackupEntry& entry) {
    QString lastBackup = entry.lastBackup.leftJustified(16, u' ', true);
    return kEntryMarker + entry.sourceFolder + kAfterSource + entry.destination +
           kAfterDestination + lastBackup + kAfterLastBackup + HexDigit(entry.subFolderMode) +
           HexDigit(entry.lockFlag) + HexDigit(entry.deleteMissingFlag) + QStringLiteral("00000") +
           kAfterFlags + kEntryEnd;
}

BackupEntry ParseEntryText(QStringView text) {
    BackupEntry entry;
    if (!text.isEmpty() && text[0] == kEntryMarker) text = text.mid(1);
    const qsizetype source = text.indexOf(kAfterSource);
    const qsizetype destination = source < 0 ? -1 : text.indexOf(kAfterDestination, source + 1);
    entry.wellFormed = source >= 0 && destination >= 0;
    if (source < 0) {
        entry.sourceFolder = text.toString();
        return entry;
    }
    entry.sourceFolder = text.left(source).toString();
    if (destination < 0) {
        entry.destination = text.mid(source + 1).toString();
        return entry;
    }
    entry.destination = text.mid(source + 1, destination - source - 1).toString();
    const QStringView rest = text.mid(destination + 1);
    const qsizetype flags = rest.indexOf(kAfterLastBackup);
    entry.lastBackup = (flags < 0 ? rest : rest.left(flags)).toString();
    if (flags >= 0) {
        const QStringView digits = rest.mid(flags + 1);
        // Any mode but "0" includes the sub-folders.
        if (digits.size() > 0 && digits[0] != u'0')
            entry.subFolderMode = std::max(1, HexValue(digits[0]));
        if (digits.size() > 1) entry.lockFlag = HexValue(digits[1]);
        if (digits.size() > 2) entry.deleteMissingFlag = HexValue(digits[2]);
    }
    return entry;
}

}  // namespace store
