#include "platform/process.h"

#include <unistd.h>

#include <cerrno>
#include <climits>

#include <cstdio>

namespace platform {

void FlushFileSystems() { sync(); }

void EndProcessNow(int status) {
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(status);
}

std::string OwnExecutable() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || length >= static_cast<ssize_t>(sizeof path)) return {};
    return std::string(path, static_cast<std::size_t>(length));
}

int ReplaceProcess(const std::string& program, char* const arguments[]) {
    std::fflush(stdout);
    std::fflush(stderr);
    execv(program.c_str(), arguments);
    return errno;
}

}  // namespace platform
