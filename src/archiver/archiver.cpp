#include "archiver/archiver.h"

#include <exception>
#include <map>
#include <memory>
#include <mutex>

#include "archiver/command_line.h"
#include "archiver/listing.h"
#include "archiver/lzh_commands.h"
#include "archiver/pattern_match.h"
#include "archiver/return_code.h"
#include "archiver/zip_commands.h"

namespace archiver {
namespace {

enum class Kind { kLzh, kZip };

struct OpenListing {
    Kind kind;
    Listing listing;
    std::string pattern;
    std::size_t next = 0;
};

struct Listings {
    std::mutex mutex;
    std::map<ArchiveHandle, OpenListing> open;
    ArchiveHandle lastHandle = 0;
};

Listings& AllListings() {
    static Listings listings;
    return listings;
}

ArchiveHandle OpenArchive(Kind kind, const std::string& archivePath) {
    try {
        OpenListing open{kind, {}, {}, 0};
        const bool ok = kind == Kind::kLzh ? ListLzhArchive(archivePath, open.listing)
                                           : ListZipArchive(archivePath, open.listing);
        if (!ok) return 0;
        Listings& listings = AllListings();
        const std::lock_guard<std::mutex> lock(listings.mutex);
        do {
            listings.lastHandle = listings.lastHandle == 0x7FFFFFFF ? 1 : listings.lastHandle + 1;
        } while (listings.open.count(listings.lastHandle) > 0);
        listings.open.emplace(listings.lastHandle, std::move(open));
        return listings.lastHandle;
    } catch (const std::exception&) {
        return 0;
    }
}

constexpr int kNoMore = -1;
constexpr int kBadHandle = 1;
constexpr int kDamaged = 2;

int FindNext(Kind kind, ArchiveHandle handle, const std::string* pattern, EntryInfo& entry) {
    Listings& listings = AllListings();
    const std::lock_guard<std::mutex> lock(listings.mutex);
    const auto found = listings.open.find(handle);
    if (found == listings.open.end() || found->second.kind != kind) return kBadHandle;
    OpenListing& open = found->second;
    if (pattern != nullptr) {
        open.pattern = *pattern;
        open.next = 0;
    }
    while (open.next < open.listing.entries.size()) {
        const EntryInfo& candidate = open.listing.entries[open.next++];
        if (open.pattern.empty() || MatchesWildcard(open.pattern, candidate.name)) {
            entry = candidate;
            return 0;
        }
    }
    return open.listing.damaged ? kDamaged : kNoMore;
}

void CloseArchive(Kind kind, ArchiveHandle handle) {
    Listings& listings = AllListings();
    const std::lock_guard<std::mutex> lock(listings.mutex);
    const auto found = listings.open.find(handle);
    if (found != listings.open.end() && found->second.kind == kind) listings.open.erase(found);
}

}  // namespace

CommandResult RunUnlha(const UnlhaCommand& command) {
    CommandResult result;
    try {
        result.code = RunUnlhaCommand(command, result);
    } catch (const std::exception& exception) {
        result.code = kInternalError;
        result.message = exception.what();
    }
    return result;
}

CommandResult RunZip(const ZipCommand& command) {
    CommandResult result;
    try {
        result.code = RunZipCommand(command, result);
    } catch (const std::exception& exception) {
        result.code = kInternalError;
        result.message = exception.what();
    }
    return result;
}

int Unlha(const std::string& commandLine, std::string& output) {
    std::optional<UnlhaCommand> command;
    try {
        std::string error;
        command = ParseUnlhaCommand(commandLine, error);
        if (!command) {
            output = error;
            return kBadCommandLine;
        }
    } catch (const std::exception& exception) {
        output = exception.what();
        return kInternalError;
    }
    CommandResult result = RunUnlha(*command);
    output = std::move(result.message);
    return result.code;
}

int Zip(const std::string& commandLine, std::string& output) {
    std::optional<ZipCommand> command;
    try {
        std::string error;
        command = ParseZipCommand(commandLine, error);
        if (!command) {
            output = error;
            return kBadCommandLine;
        }
    } catch (const std::exception& exception) {
        output = exception.what();
        return kInternalError;
    }
    CommandResult result = RunZip(*command);
    output = std::move(result.message);
    return result.code;
}

ArchiveHandle UnlhaOpenArchive(const std::string& archivePath) {
    return OpenArchive(Kind::kLzh, archivePath);
}
int UnlhaFindFirst(ArchiveHandle handle, const std::string& pattern, EntryInfo& entry) {
    return FindNext(Kind::kLzh, handle, &pattern, entry);
}
int UnlhaFindNext(ArchiveHandle handle, EntryInfo& entry) {
    return FindNext(Kind::kLzh, handle, nullptr, entry);
}
void UnlhaCloseArchive(ArchiveHandle handle) { CloseArchive(Kind::kLzh, handle); }

ArchiveHandle UnZipOpenArchive(const std::string& archivePath) {
    return OpenArchive(Kind::kZip, archivePath);
}
int UnZipFindFirst(ArchiveHandle handle, const std::string& pattern, EntryInfo& entry) {
    return FindNext(Kind::kZip, handle, &pattern, entry);
}
int UnZipFindNext(ArchiveHandle handle, EntryInfo& entry) {
    return FindNext(Kind::kZip, handle, nullptr, entry);
}
void UnZipCloseArchive(ArchiveHandle handle) { CloseArchive(Kind::kZip, handle); }

}  // namespace archiver
