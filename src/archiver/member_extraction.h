// Reading members back out of an LZH or ZIP archive: the member list under the listing's
// name rule, each member's data decoded and checked (LZH: the library's own decoder and the
// CRC-16; ZIP: libzip and the CRC-32), streamed to a sink or to a new host file.
// The archive itself is only read: no second name, no temporary beside it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "archiver/lzh_decoder.h"

namespace archiver {

enum class ArchiveKind { Lzh, Zip };

struct StoredMember {
    std::size_t index = 0;          // position in the reader's list
    std::string name;               // as listed: UTF-8, "\\"-separated, folders end with "\\"
    std::vector<std::string> path;  // the name's components, folders first
    bool isDirectory = false;
    // A name that would leave the folder it is extracted into (absolute, drive, "..", ".",
    // empty components): such a member is never extracted.
    bool unsafeName = false;
    std::uint64_t originalSize = 0;
    std::uint32_t crc = 0;      // CRC-16 for LZH, CRC-32 for ZIP
    std::int64_t unixTime = 0;  // modification time, seconds
    bool exactTime = false;     // false: MS-DOS two-second steps
    // The stored method id ("-pm2-") of an LZH member whose method this library does not
    // decode; empty otherwise. Such a member is neither checked nor extracted.
    std::string undecodableMethod;
};

class ArchiveReader {
  public:
    // Reads the member list; nullptr with `error` when the file cannot be opened or does not
    // begin like an archive of its kind.
    static std::unique_ptr<ArchiveReader> Open(const std::filesystem::path& archive,
                                               ArchiveKind kind, std::string& error);
    virtual ~ArchiveReader() = default;

    const std::vector<StoredMember>& members() const { return members_; }
    // The list stops where the archive became unreadable.
    bool damaged() const { return damaged_; }
    const std::string& damage() const { return damage_; }

    // Decodes the member into the sink and checks its size and CRC. False with `error` for an
    // unsafe name, a method that cannot be decoded, damaged data or a CRC mismatch; the sink
    // may have received wrong bytes by then.
    virtual bool Decode(const StoredMember& member, const ByteSink& sink,
                        std::string& error) const = 0;

    // Writes the member's data to a new file `file` (which must not exist). On any failure, a
    // CRC mismatch included, the file is removed and `error` says why. The data is not synced
    // to the disk here: a caller that renames the file into place decides that, as a copy does.
    bool ExtractToFile(const StoredMember& member, const std::filesystem::path& file,
                       std::string& error) const;

  protected:
    ArchiveReader() = default;
    std::vector<StoredMember> members_;
    bool damaged_ = false;
    std::string damage_;
};

// Whether a member name's components stay inside the folder they are joined to.
bool StaysInside(const std::vector<std::string>& components);

}  // namespace archiver
