#pragma once

namespace platform {

// Writes what the file systems hold in memory out to their disks, so that a
// power-off right after loses nothing.
void FlushFileSystems();

// Ends the process at once with `status`: standard output and error are
// flushed, but nothing else runs (no destructors, no exit handlers, no
// saving on the way out).
[[noreturn]] void EndProcessNow(int status);

}  // namespace platform
