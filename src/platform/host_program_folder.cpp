#include "platform/host_program_folder.h"

#include "platform/host_name.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace platform {
namespace {

QString Absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString ExecutableFolder() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget().section(u'/', 0, -2);
}

bool IsUnder(const QString& path, const QString& root) {
    return path == root || path.startsWith(root + u'/');
}

}  // namespace

ProgramFolderPlaces ProgramFolderPlacesNow() {
    ProgramFolderPlaces places;
    places.kibakoHome = qEnvironmentVariable("KIBAKO_HOME");
    places.executableFolder = ExecutableFolder();
    places.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    places.home = QDir::homePath();
    return places;
}

bool MayKeepFilesIn(const HostPath& folder) {
    const QString path = Absolute(folder.text());
    for (const QString& system :
         {QStringLiteral("/usr"), QStringLiteral("/bin"), QStringLiteral("/sbin")}) {
        if (IsUnder(path, system)) return false;
    }
    if (QFileInfo(path + QStringLiteral("/../share/doc/kibako")).isDir()) return false;
    return QFileInfo(path).isDir() && ::access(HostBytes(path).constData(), W_OK) == 0;
}

HostPath ChooseProgramFolder(const ProgramFolderPlaces& places,
                             const std::function<bool(const HostPath&)>& writable) {
    if (!places.kibakoHome.isEmpty()) return HostPath(Absolute(places.kibakoHome));
    if (!places.executableFolder.isEmpty() && writable(HostPath(places.executableFolder)))
        return HostPath(Absolute(places.executableFolder));
    // A relative XDG_DATA_HOME is invalid and is ignored.
    const QString data = QDir::isAbsolutePath(places.xdgDataHome)
                             ? places.xdgDataHome
                             : places.home + QStringLiteral("/.local/share");
    return HostPath(Absolute(data + QStringLiteral("/kibako")));
}

HostPath PrepareProgramFolder(const ProgramFolderPlaces& places,
                              const std::function<bool(const HostPath&)>& writable) {
    const HostPath folder = ChooseProgramFolder(places, writable);
    // Only the data folder is made: a missing KIBAKO_HOME is the user's to create.
    if (places.kibakoHome.isEmpty() && !QFileInfo(folder.text()).isDir())
        QDir().mkpath(folder.text());
    return folder;
}

HostPath HostProgramFolder() {
    return PrepareProgramFolder(ProgramFolderPlacesNow(), MayKeepFilesIn);
}

}  // namespace platform
