// Feeds arbitrary text to the Unlha and Zip command-line parsers. Whatever they accept must
// come back unchanged through its own text form: the parser reads each line one way only.
#include <cstddef>
#include <cstdint>
#include <string>

#include "archiver/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (const auto command = archiver::ParseUnlhaCommand(text, error)) {
        if (command->archive.empty()) __builtin_trap();
        const auto again = archiver::ParseUnlhaCommand(archiver::UnlhaCommandLine(*command), error);
        if (!again || again->verb != command->verb || again->archive != command->archive ||
            again->baseFolder != command->baseFolder || again->patterns != command->patterns) {
            __builtin_trap();
        }
    }
    if (const auto command = archiver::ParseZipCommand(text, error)) {
        if (command->archive.empty() || command->baseFolder.empty()) __builtin_trap();
        const auto again = archiver::ParseZipCommand(archiver::ZipCommandLine(*command), error);
        if (!again || again->updateOnly != command->updateOnly ||
            again->recursive != command->recursive || again->archive != command->archive ||
            again->baseFolder != command->baseFolder || again->patterns != command->patterns) {
            __builtin_trap();
        }
    }
    return 0;
}
