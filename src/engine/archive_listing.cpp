#include "engine/archive_listing.h"

#include "archiver/archiver.h"
#include "platform/host_name.h"
#include "util/path_names.h"

namespace engine {
namespace {

// One archive kind's listing calls.
struct ListingCalls {
    archiver::ArchiveHandle (*open)(const std::string&);
    int (*findFirst)(archiver::ArchiveHandle, const std::string&, archiver::EntryInfo&);
    int (*findNext)(archiver::ArchiveHandle, archiver::EntryInfo&);
    void (*close)(archiver::ArchiveHandle);
};

constexpr ListingCalls kLzhCalls{archiver::UnlhaOpenArchive, archiver::UnlhaFindFirst,
                                 archiver::UnlhaFindNext, archiver::UnlhaCloseArchive};
constexpr ListingCalls kZipCalls{archiver::UnZipOpenArchive, archiver::UnZipFindFirst,
                                 archiver::UnZipFindNext, archiver::UnZipCloseArchive};
constexpr int kFound = 0;

ArchiveMember MemberOf(const archiver::EntryInfo& entry) {
    ArchiveMember member;
    member.name = platform::HostText(entry.name);
    member.originalSize = entry.originalSize;
    member.compressedSize = entry.compressedSize;
    member.dosDate = entry.dosDate;
    member.dosTime = entry.dosTime;
    return member;
}

}  // namespace

ArchiveListing ListArchive(const platform::DrivePath& archive) {
    const ListingCalls& calls =
        util::ExtensionOf(archive.text()) == QLatin1String("LZH") ? kLzhCalls : kZipCalls;
    ArchiveListing listing;
    const archiver::ArchiveHandle handle = calls.open(archive.text().toStdString());
    if (handle == 0) return listing;
    listing.opened = true;
    archiver::EntryInfo entry{};
    // Any other answer than "found" ends the listing: no more members, or damage.
    for (int found = calls.findFirst(handle, "*.*", entry); found == kFound;
         found = calls.findNext(handle, entry)) {
        listing.members.push_back(MemberOf(entry));
    }
    calls.close(handle);
    return listing;
}

QString ListingDateTime(std::uint16_t dosDate, std::uint16_t dosTime) {
    const int parts[] = {(dosDate & 65024) / 512 + 1980, (dosDate & 480) / 32,  dosDate & 31,
                         (dosTime & 63488) / 2048,       (dosTime & 2016) / 32, (dosTime & 31) * 2};
    const char16_t separators[] = {u'/', u'/', u' ', u':', u':', 0};
    // Built in place: a file grid lists tens of thousands of these.
    char16_t text[17];
    for (int i = 0; i < 6; ++i) {
        const int value = parts[i] % 100;  // the year keeps its last two digits
        text[i * 3] = static_cast<char16_t>(u'0' + value / 10);
        text[i * 3 + 1] = static_cast<char16_t>(u'0' + value % 10);
        if (i < 5) text[i * 3 + 2] = separators[i];
    }
    return QString(reinterpret_cast<const QChar*>(text), 17);
}

}  // namespace engine
