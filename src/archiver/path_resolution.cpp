#include "archiver/path_resolution.h"

#include <mutex>

#include "archiver/archiver.h"

namespace archiver {
namespace {

std::mutex& ResolverMutex() {
    static std::mutex mutex;
    return mutex;
}

PathResolver& InstalledResolver() {
    static PathResolver resolver;
    return resolver;
}

}  // namespace

void SetPathResolver(PathResolver resolver) {
    const std::lock_guard<std::mutex> lock(ResolverMutex());
    InstalledResolver() = std::move(resolver);
}

std::optional<std::filesystem::path> ResolvePath(const std::string& drivePath) {
    if (drivePath.empty()) return std::nullopt;
    PathResolver resolver;
    {
        const std::lock_guard<std::mutex> lock(ResolverMutex());
        resolver = InstalledResolver();
    }
    if (!resolver) return std::filesystem::path(drivePath);
    std::optional<std::filesystem::path> path = resolver(drivePath);
    if (path && path->empty()) return std::nullopt;
    return path;
}

}  // namespace archiver
