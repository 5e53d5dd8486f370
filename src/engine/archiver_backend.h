#pragma once

#include "archiver/commands.h"

#include <functional>
#include <optional>

namespace engine {

// The archiver libraries as the engine calls them: a typed command in, its
// result out (code 0 success, with the reason and the file on failure), or
// nothing when the library cannot be called. Tests replace the calls to
// record the commands or to fail.
struct ArchiverBackend {
    using UnlhaCall =
        std::function<std::optional<archiver::CommandResult>(const archiver::UnlhaCommand&)>;
    using ZipCall =
        std::function<std::optional<archiver::CommandResult>(const archiver::ZipCommand&)>;
    UnlhaCall unlha;
    ZipCall zip;

    // The linked archiver library, resolving Windows-style paths through the
    // drive table.
    static ArchiverBackend Library();
};

}  // namespace engine
