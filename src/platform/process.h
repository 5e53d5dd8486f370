#pragma once

#include <string>

namespace platform {

// Writes what the file systems hold in memory out to their disks, so that a
// power-off right after loses nothing.
void FlushFileSystems();

// Ends the process at once with `status`: standard output and error are
// flushed, but nothing else runs (no destructors, no exit handlers, no
// saving on the way out).
[[noreturn]] void EndProcessNow(int status);

// The file this process runs, as the kernel names it (/proc/self/exe); empty
// when it cannot be read.
std::string OwnExecutable();

// Runs `program` in place of this process, with the same process ID and
// environment and `arguments` as its argv (argument 0 included). Returns only
// when that cannot be done, with the errno that says why.
int ReplaceProcess(const std::string& program, char* const arguments[]);

}  // namespace platform
