// The one pattern of every temporary file Kibako writes beside a file it
// replaces: ".kibako-<pid>-<random>.tmp". The leading dot hides it from
// listings and from the backups themselves; the process id lets a later run
// tell a file left by a killed run from one still being written.
#pragma once

#include <string>

namespace platform {

// A fresh temporary name in the folder of `target` (a host path).
std::string TemporaryNameBeside(const std::string& target);

// Creates a new temporary file beside `target` (a host path), after removing
// the stale temporaries of that folder: the open descriptor (close-on-exec),
// with `name` set to its path, or -1 with errno set.
int CreateTemporaryBeside(const std::string& target, std::string& name);

// True for a name (no folder) of that pattern, also with the "." and six
// characters that libzip adds for its own temporary file.
bool IsTemporaryName(const std::string& name);

// A temporary is stale when the process that made it is gone, or it has not
// been written for kStaleTemporarySeconds (the process id may have been
// reused). One that belongs to this process is never stale.
inline constexpr long kStaleTemporarySeconds = 12 * 60 * 60;

// Removes the stale temporaries in the host folder `folder`; returns how many.
// Nothing else is touched, and failures are ignored: a leftover is harmless.
int RemoveStaleTemporaries(const std::string& folder);

}  // namespace platform
