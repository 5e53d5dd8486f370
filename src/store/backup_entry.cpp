#include "store/backup_entry.h"

#include "util/numbers.h"
#include "util/path_names.h"

#include <algorithm>
#include <optional>

namespace store {
namespace {

QChar HexDigit(int value) { return QString::number(value & 0xF, 16).toUpper()[0]; }

int HexValue(QChar c) {
    bool ok = false;
    const int value = QString(c).toInt(&ok, 16);
    return ok ? value : 0;
}

// What each of the first three flag characters says. Any character but "0"
// includes the sub-folders; a lock is "1"; bit 0 of the third deletes.
SubFolders SubFoldersOf(QChar c) {
    if (c == u'0') return SubFolders::None;
    return HexValue(c) == 2 ? SubFolders::InOneArchive : SubFolders::EachAsEntry;
}
bool LockedOf(QChar c) { return HexValue(c) == 1; }
bool DeletesMissingOf(QChar c) { return (HexValue(c) & 1) != 0; }

QChar SubFoldersCharacter(SubFolders subFolders) {
    switch (subFolders) {
        case SubFolders::None:
            return u'0';
        case SubFolders::EachAsEntry:
            return u'1';
        case SubFolders::InOneArchive:
            return u'2';
    }
    return u'0';
}

QChar FlagCharacter(bool set) { return set ? u'1' : u'0'; }

}  // namespace

Compression BackupEntry::CompressionOf() const {
    const QString extension = util::ExtensionOf(destination);
    if (extension == u"LZH") return Compression::Lzh;
    if (extension == u"ZIP") return Compression::Zip;
    return Compression::None;
}

QString BackupEntry::FlagCharacters() const {
    // A stored character that still says the same is written as its hex
    // value: "A" stays "A", a lower-case "b" becomes "B", a character that
    // is no hex digit becomes what its field says.
    const auto stored = [this](qsizetype i) -> std::optional<QChar> {
        if (i < storedFlags.size()) return storedFlags[i];
        return std::nullopt;
    };
    QString flags;
    flags.reserve(8);
    const auto first = stored(0);
    if (first && SubFoldersOf(*first) == subFolders) {
        flags += *first == u'0' ? QChar(u'0') : HexDigit(std::max(1, HexValue(*first)));
    } else {
        flags += SubFoldersCharacter(subFolders);
    }
    const auto second = stored(1);
    flags +=
        second && LockedOf(*second) == locked ? HexDigit(HexValue(*second)) : FlagCharacter(locked);
    const auto third = stored(2);
    flags += third && DeletesMissingOf(*third) == deleteMissing ? HexDigit(HexValue(*third))
                                                                : FlagCharacter(deleteMissing);
    flags += QStringLiteral("00000");
    return flags;
}

QString EntryText(const BackupEntry& entry) {
    const QString lastBackup =
        entry.lastBackup.Text().leftJustified(util::kDateTimeLength, u' ', true);
    return kEntryMarker + entry.sourceFolder + kAfterSource + entry.destination +
           kAfterDestination + lastBackup + kAfterLastBackup + entry.FlagCharacters() +
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
    entry.lastBackup = BackupTime::FromText(flags < 0 ? rest : rest.left(flags));
    if (flags >= 0) {
        const QStringView characters = rest.mid(flags + 1);
        const qsizetype end = characters.indexOf(kAfterFlags);
        entry.storedFlags = (end < 0 ? characters : characters.left(end)).toString();
        if (!entry.storedFlags.isEmpty()) entry.subFolders = SubFoldersOf(entry.storedFlags[0]);
        if (entry.storedFlags.size() > 1) entry.locked = LockedOf(entry.storedFlags[1]);
        if (entry.storedFlags.size() > 2)
            entry.deleteMissing = DeletesMissingOf(entry.storedFlags[2]);
    }
    return entry;
}

}  // namespace store
