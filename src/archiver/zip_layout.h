// Where the members of a ZIP archive lie, read from its end record and central directory, so
// that an update can copy the members it keeps byte for byte: each member's span runs from
// its local header to the next member's (or to the central directory), data descriptor and
// whatever else lies there included. Bytes before the first member (a self-extractor's
// program) are kept as they are, and offsets recorded relative to the archive's own start
// are read as such.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "archiver/random_access_input.h"

namespace archiver {

struct ZipCentralRecord {
    std::uint64_t at = 0;         // where the record begins in the layout's `directory`
    std::uint64_t spanStart = 0;  // file offset of the local header
    std::uint64_t spanEnd = 0;    // file offset where the next member or the directory begins
};

struct ZipLayout {
    std::uint64_t membersStart = 0;  // bytes before it are kept as they are
    // Where the archive's recorded offsets count from: 0, or the size of a program put
    // before the archive without adjusting them.
    std::uint64_t archiveStart = 0;
    std::uint64_t directoryStart = 0;  // file offset of the central directory
    // The central directory as read, its records side by side: one buffer, not a vector
    // for each of many records.
    std::vector<std::uint8_t> directory;
    std::vector<ZipCentralRecord> records;  // in the central directory's order
    std::vector<std::uint8_t> comment;      // the archive comment
    // Where bytes appended after the end record begin (the file's size when there are none);
    // they are kept after the new end record.
    std::uint64_t trailingStart = 0;
    bool zip64End = false;           // the archive has zip64 end records
    std::uint16_t zip64MadeBy = 45;  // from its zip64 end record

    // The whole record: fixed part, name, extra, comment.
    std::span<const std::uint8_t> Raw(std::size_t i) const;
    // The name's bytes as stored.
    std::string RawName(std::size_t i) const;
};

// False with `error` (Japanese, for the person) when the bytes are not a single-disk ZIP
// archive whose members can be located: no end record, a directory that does
// not fit or does not end where the end record says, a local header missing, or members that
// overlap.
bool ReadZipLayout(const RandomAccessInput& input, ZipLayout& layout, std::string& error);

// The central record `raw` with its local-header offset set to `offset`: in the zip64 extra
// when the record already keeps the offset there or when it needs 64 bits; every other byte
// as it was. False with `error` when the offset cannot be written (a malformed zip64 extra,
// or no room left for one).
bool RelocateCentralRecord(std::vector<std::uint8_t>& raw, std::uint64_t offset,
                           std::string& error);

}  // namespace archiver
