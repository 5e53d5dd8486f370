#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {

QString HostProgramFolder() {
    const QByteArray home = qgetenv("KIBAKO_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(QFileInfo(QString::fromLocal8Bit(home)).absoluteFilePath());
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget().section(u'/', 0, -2);
}

}  // namespace platform
