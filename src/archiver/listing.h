// The archive listings behind the find-first/find-next calls.
#pragma once

#include <string>
#include <vector>

#include "archiver/archiver.h"

namespace archiver {

struct Listing {
    std::vector<EntryInfo> entries;
    bool damaged = false;  // the entries stop where the archive became unreadable
};

// false when the archive cannot be opened at all.
bool ListLzhArchive(const std::string& drivePath, Listing& listing);
bool ListZipArchive(const std::string& drivePath, Listing& listing);

}  // namespace archiver
