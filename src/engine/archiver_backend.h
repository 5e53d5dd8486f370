#pragma once

#include <functional>
#include <optional>
#include <string>

namespace engine {

// The archiver libraries as the engine calls them: a command line in, the
// return code out (0 success), or nothing when the library cannot be called.
// Tests replace the calls to record command lines or to fail.
struct ArchiverBackend {
    using Call = std::function<std::optional<int>(const std::string& commandLine)>;
    Call unlha;
    Call zip;

    // The linked archiver library, resolving Windows-style paths through the
    // drive table.
    static ArchiverBackend Library();
};

}  // namespace engine
