// Typed commands: what a command line asks for, as values. Callers linked with the library
// build these and run them directly, so no quoting rule stands between a path and the
// archiver; the command-line calls parse their text into the same values.
#pragma once

#include <string>
#include <vector>

namespace archiver {

enum class UnlhaVerb { kUpdate, kDeleteMissing, kTest };

// Paths are Windows-style UTF-8 text, resolved through the installed PathResolver.
struct UnlhaCommand {
    UnlhaVerb verb = UnlhaVerb::kUpdate;
    bool recursive = false;             // -r1 or -r2
    std::string archive;                // as written
    std::string baseFolder;             // as written, without its final "\" ("C:\" for a root)
    std::vector<std::string> patterns;  // empty: every file
};

struct ZipCommand {
    bool updateOnly = false;  // -u
    bool recursive = false;   // -r
    std::string archive;
    std::string baseFolder;
    std::vector<std::string> patterns;
};

// What a command did to the members of the archive. Counted only for an archive that was
// written (also by an update that could not read every file); otherwise all zero.
struct MemberCounts {
    int added = 0;
    int replaced = 0;
    int deleted = 0;
};

struct CommandResult {
    int code = 0;         // 0 success; otherwise one of return_code.h
    std::string message;  // success: a summary; failure: the reason, naming the file concerned
    // Files or folders passed over because they could not be read or stored, when the
    // command still wrote the rest: a line each, its host path and why. The code is then
    // kSourceUnreadable, since the archive does not hold everything it was asked to.
    std::vector<std::string> failedEntries;
    MemberCounts counts;
    // The new archive could not be written because its disk (or the user's quota) is full;
    // the old archive is as it was.
    bool diskFull = false;

    bool ok() const { return code == 0; }
};

// Run a typed command. Never throws; failures leave the old archive untouched.
CommandResult RunUnlha(const UnlhaCommand& command);
CommandResult RunZip(const ZipCommand& command);

// The command line that asks for the command, for logs and messages:
//   u -r2x1a2 "archive" "folder\"     d -jn "archive" "folder\" *.*     t "archive"
//   -ur "archive" "folder\" *.*
// A path holding a quotation mark gives a text that the parser refuses, since no quoting
// rule could carry it unambiguously.
std::string UnlhaCommandLine(const UnlhaCommand& command);
std::string ZipCommandLine(const ZipCommand& command);

}  // namespace archiver
