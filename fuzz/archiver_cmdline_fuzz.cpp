// Feeds arbitrary text to the Unlha and Zip command-line parsers.
#include <cstddef>
#include <cstdint>
#include <string>

#include "archiver/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (const auto command = archiver::ParseUnlhaCommand(text, error)) {
        if (command->archive.empty()) __builtin_trap();
    }
    if (const auto command = archiver::ParseZipCommand(text, error)) {
        if (command->archive.empty() || command->baseFolder.empty()) __builtin_trap();
    }
    return 0;
}
