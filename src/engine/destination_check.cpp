#include "engine/destination_check.h"

#include "platform/canonical_path.h"
#include "platform/host_path.h"

namespace engine {

bool DestinationInsideSource(const platform::DrivePath& source,
                             const platform::DrivePath& destination, bool withSubFolders) {
    return DestinationInsideSource(platform::LookUpHostPath(source),
                                   platform::LookUpHostPath(destination), withSubFolders);
}

bool DestinationInsideSource(const platform::HostLook& hostSource,
                             const platform::HostLook& hostDestination, bool withSubFolders) {
    if (!hostSource.path || !hostDestination.path) return false;
    const QString from = platform::CanonicalPath(*hostSource.path, hostSource.found).text();
    const QString to = platform::CanonicalPath(*hostDestination.path, hostDestination.found).text();
    if (to == from) return true;
    const QString prefix = from.endsWith(u'/') ? from : from + u'/';
    return withSubFolders && to.startsWith(prefix);
}

QString DestinationInsideSourceText(const platform::DrivePath& source,
                                    const platform::DrivePath& destination) {
    return QStringLiteral(
               "バックアップ先がバックアップ元のフォルダーの中にあります\n"
               "バックアップ元：　") +
           source.text() + QStringLiteral("\nバックアップ先：　") + destination.text();
}

}  // namespace engine
