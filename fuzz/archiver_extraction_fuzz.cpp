// Feeds arbitrary bytes to the archive reader of restores, as an LZH or a ZIP archive (the
// first byte chooses): every member is listed, a member reported safe must have a name that
// stays inside its folder, and every member of a reasonable size is decoded and checked.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "archiver/member_extraction.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int fd = memfd_create("archive", MFD_CLOEXEC);
    if (fd < 0) return 0;
    if (write(fd, data + 1, size - 1) != static_cast<ssize_t>(size - 1)) {
        close(fd);
        return 0;
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    const archiver::ArchiveKind kind =
        (data[0] & 1) != 0 ? archiver::ArchiveKind::Zip : archiver::ArchiveKind::Lzh;
    std::string error;
    if (const auto reader = archiver::ArchiveReader::Open(path, kind, error)) {
        for (const archiver::StoredMember& member : reader->members()) {
            if (!member.unsafeName && !archiver::StaysInside(member.path)) std::abort();
            if (member.originalSize > (std::uint64_t{1} << 22)) continue;
            std::uint64_t produced = 0;
            reader->Decode(
                member,
                [&](const std::uint8_t*, std::size_t count) {
                    produced += count;
                    return produced <= member.originalSize;
                },
                error);
        }
    }
    close(fd);
    return 0;
}
