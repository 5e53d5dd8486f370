// Parsing of the archiver command lines. Words are separated by blanks; double quotation
// marks group a word and are dropped; the text ends at the first character of code 0.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace archiver {

enum class UnlhaVerb { kUpdate, kDeleteMissing, kTest };

struct UnlhaCommand {
    UnlhaVerb verb = UnlhaVerb::kUpdate;
    bool recursive = false;             // -r1 or -r2
    std::string archive;                // as written
    std::string baseFolder;             // as written, without its final "\"
    std::vector<std::string> patterns;  // empty: every file
};

struct ZipCommand {
    bool updateOnly = false;  // -u
    bool recursive = false;   // -r
    std::string archive;
    std::string baseFolder;
    std::vector<std::string> patterns;
};

// nullopt with `error` on an unknown command or switch, a missing or surplus operand, or an
// unbalanced quotation mark.
std::optional<UnlhaCommand> ParseUnlhaCommand(const std::string& text, std::string& error);
std::optional<ZipCommand> ParseZipCommand(const std::string& text, std::string& error);

// Splits into words; nullopt on an unbalanced quotation mark.
std::optional<std::vector<std::string>> SplitCommandWords(const std::string& text);

}  // namespace archiver
