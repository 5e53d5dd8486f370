#include "engine/archiver_backend.h"

#include "archiver/archiver.h"
#include "platform/host_name.h"
#include "platform/host_path.h"

#include <QFile>
#include <QString>

namespace engine {

ArchiverBackend ArchiverBackend::Library() {
    archiver::SetPathResolver(
        [](const std::string& drivePath) -> std::optional<std::filesystem::path> {
            QString path = QString::fromStdString(drivePath);
            if (path.size() > 3 && path.endsWith(u'\\')) path.chop(1);
            const auto host = platform::ToHostPath(platform::DrivePath(path));
            if (!host) return std::nullopt;
            return std::filesystem::path(platform::HostBytes(host->text()).toStdString());
        });
    ArchiverBackend backend;
    backend.unlha = [](const archiver::UnlhaCommand& command) {
        return std::optional<archiver::CommandResult>(archiver::RunUnlha(command));
    };
    backend.zip = [](const archiver::ZipCommand& command) {
        return std::optional<archiver::CommandResult>(archiver::RunZip(command));
    };
    return backend;
}

}  // namespace engine
