#include "engine/archive_listing.h"

#include "archiver/archiver.h"
#include "util/numbers.h"
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
    member.name = QString::fromStdString(entry.name);
    member.originalSize = entry.originalSize;
    member.compressedSize = entry.compressedSize;
    member.dosDate = entry.dosDate;
    member.dosTime = entry.dosTime;
    return member;
}

}  // namespace

ArchiveListing ListArchive(const QString& archive) {
    const ListingCalls& calls =
        util::ExtensionOf(archive) == QLatin1String("LZH") ? kLzhCalls : kZipCalls;
    ArchiveListing listing;
    const archiver::ArchiveHandle handle = calls.open(archive.toStdString());
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
    const auto two = [](int value) { return util::ZeroPad(value, 2); };
    return two((dosDate & 65024) / 512 + 1980) + u'/' + two((dosDate & 480) / 32) + u'/' +
           two(dosDate & 31) + u' ' + two((dosTime & 63488) / 2048) + u':' +
           two((dosTime & 2016) / 32) + u':' + two((dosTime & 31) * 2);
}

}  // namespace engine
