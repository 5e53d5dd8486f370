// Kibako's archiver library: LZH (own codec) and ZIP (libzip) archives, updated by
// commands and listed through find-first/find-next calls. Code of its own passes the
// commands as typed values (commands.h); the command-line form is the door for outside
// callers and the fuzz targets.
// No Qt; paths are bytes (UTF-8) and std::filesystem paths.
//
// Every call is synchronous. The calls may be made from any thread, but one archive must not
// be updated by two calls at the same time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "archiver/commands.h"

namespace archiver {

// Turns a Windows-style path of a command line or an open call ("C:\\data\\x.lzh", UTF-8) into
// a host path; std::nullopt when the path cannot be resolved. Installed once by the caller;
// without one, paths are used as host paths (a trailing "\" of a folder is dropped).
using PathResolver =
    std::function<std::optional<std::filesystem::path>(const std::string& drivePath)>;
void SetPathResolver(PathResolver resolver);

// 0 on success, non-zero on any failure. `output` receives a short human-readable report.
// A command line that cannot be read in exactly one way (see command_line.h) is refused.
// An update writes the new archive beside the old one and renames it over the old one only
// when it is complete: after a failure the old archive is unchanged and no temporary file is
// left behind. An update that changes nothing does not rewrite the archive.
//
// Unlha commands:
//   u [-r2x1a2] "archive" "folder\"   add the folder's files (with -r: and those of every
//                                       folder below, with relative paths); a member is
//                                       replaced only when its file changed (another size,
//                                       or newer: member_change.h)
//   d -jn "archive" "folder\" *.*      remove the members whose file no longer exists
//   t "archive"                         test every member (decode and check its CRC);
//                                       members of a method not decoded here are named
//                                       with code 10 (kMethodNotCheckable), not as damage
// Zip commands ("-", "-u", "-r" or "-ur" as the switch word):
//   -ur "archive" "folder\" *.*        -u: add new files and replace changed members;
//                                       -r: recurse; without -u every file is (re)written
int Unlha(const std::string& commandLine, std::string& output);
int Zip(const std::string& commandLine, std::string& output);

struct EntryInfo {
    std::uint64_t originalSize;
    std::uint64_t compressedSize;
    std::uint32_t crc;      // CRC-16 for LZH members, CRC-32 for ZIP members
    std::uint16_t ratio;    // compressed size per mille of the original size; 0 for empty members
    std::uint16_t dosDate;  // local time
    std::uint16_t dosTime;
    // UTF-8, "\\"-separated relative path as stored; folders end with "\\". A stored name
    // that reads neither as UTF-8 nor as CP932 comes back as its bytes.
    std::string name;
};

// Listing handles. The archive is read when it is opened; a handle stays valid until it is
// closed. A damaged archive lists the members before the damage, then the find call returns
// an error.
using ArchiveHandle = int;  // 0 = could not open
// archivePath is Windows-style, resolved like command lines.
ArchiveHandle UnlhaOpenArchive(const std::string& archivePath);
// 0 = an entry was found; -1 = no more; other = error. "*.*" and "*" match every member.
int UnlhaFindFirst(ArchiveHandle, const std::string& pattern, EntryInfo& entry);
int UnlhaFindNext(ArchiveHandle, EntryInfo& entry);
void UnlhaCloseArchive(ArchiveHandle);
ArchiveHandle UnZipOpenArchive(const std::string& archivePath);
int UnZipFindFirst(ArchiveHandle, const std::string& pattern, EntryInfo& entry);
int UnZipFindNext(ArchiveHandle, EntryInfo& entry);
void UnZipCloseArchive(ArchiveHandle);

}  // namespace archiver
