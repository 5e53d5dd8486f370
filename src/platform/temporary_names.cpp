#include "platform/temporary_names.h"

#include "platform/system_calls.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <random>

namespace platform {
namespace {

constexpr char kPrefix[] = ".kibako-";
constexpr char kSuffix[] = ".tmp";

std::string FolderOf(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    return slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
}

std::string Base36(unsigned long long value) {
    std::string text;
    do {
        text.insert(text.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[value % 36]);
        value /= 36;
    } while (value != 0);
    return text;
}

// The process id in a temporary's name; 0 when there is none.
long PidOf(const std::string& name) {
    const char* digits = name.c_str() + sizeof(kPrefix) - 1;
    char* end = nullptr;
    const long pid = std::strtol(digits, &end, 10);
    return end != digits && *end == '-' ? pid : 0;
}

bool Stale(int dirFd, const std::string& name) {
    const long pid = PidOf(name);
    if (pid == static_cast<long>(getpid())) return false;
    if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) return true;
    struct stat st;
    if (fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    return now - st.st_mtim.tv_sec > kStaleTemporarySeconds;
}

}  // namespace

std::string TemporaryNameBeside(const std::string& target) {
    static std::atomic<unsigned long long> counter{0};
    thread_local std::mt19937_64 random{std::random_device{}()};
    return FolderOf(target) + kPrefix + std::to_string(getpid()) + '-' +
           Base36(random() ^ counter.fetch_add(1)) + kSuffix;
}

int CreateTemporaryBeside(const std::string& target, std::string& name) {
    RemoveStaleTemporaries(FolderOf(target));
    // The random part is the six "X" before the suffix.
    std::string pattern =
        FolderOf(target) + kPrefix + std::to_string(getpid()) + "-XXXXXX" + kSuffix;
    if (sys::Faulty(sys::Call::Open, pattern.c_str())) return -1;
    const int fd = mkostemps(pattern.data(), static_cast<int>(sizeof(kSuffix) - 1), O_CLOEXEC);
    if (fd >= 0) name = pattern;
    return fd;
}

bool IsTemporaryName(const std::string& name) {
    if (name.compare(0, sizeof(kPrefix) - 1, kPrefix) != 0 || PidOf(name) == 0) return false;
    // Ours, or the temporary libzip makes from ours by adding "." and six characters.
    const std::size_t suffix = name.rfind(kSuffix);
    if (suffix == std::string::npos) return false;
    const std::size_t end = suffix + sizeof(kSuffix) - 1;
    return end == name.size() || (name.size() == end + 7 && name[end] == '.');
}

int RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = sys::OpenDir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return 0;
    int removed = 0;
    const int dirFd = dirfd(dir);
    while (const dirent* item = ::readdir(dir)) {
        const std::string name = item->d_name;
        if (!IsTemporaryName(name) || !Stale(dirFd, name)) continue;
        if (unlinkat(dirFd, name.c_str(), 0) == 0) ++removed;
    }
    closedir(dir);
    return removed;
}

}  // namespace platform
