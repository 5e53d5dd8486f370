// Feeds arbitrary bytes to the LZH reader as an archive: every header is read, and every
// member of a reasonable size is decoded and checked as the test command does.
#include <cstddef>
#include <cstdint>
#include <string>

#include "archiver/lzh_archive.h"
#include "archiver/random_access_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const archiver::MemoryInput input(data, size);
    const archiver::LzhArchiveContents contents = archiver::ReadLzhArchive(input);
    for (const archiver::LzhMember& member : contents.members) {
        (void)member.DisplayName();
        // A few bytes can legally claim gigabytes of output; keep each run short.
        if (member.originalSize > (std::uint64_t{1} << 22)) continue;
        std::string error;
        std::uint64_t produced = 0;
        archiver::ExtractLzhMember(
            input, member,
            [&](const std::uint8_t*, std::size_t count) {
                produced += count;
                return produced <= member.originalSize;
            },
            error);
    }
    return 0;
}
