#include "engine/destination_check.h"

#include "platform/host_path.h"

#include <QFileInfo>

namespace engine {
namespace {

// The host path with links resolved; the part below the nearest existing
// folder is kept as written.
QString Canonical(const QString& host) {
    QString existing = host;
    QString rest;
    while (!existing.isEmpty()) {
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        if (!canonical.isEmpty()) return canonical + rest;
        const qsizetype slash = existing.lastIndexOf(u'/');
        if (slash < 0) break;
        rest = existing.mid(slash) + rest;
        existing.truncate(slash);
    }
    return host;
}

}  // namespace

bool DestinationInsideSource(const QString& source, const QString& destination,
                             bool withSubFolders) {
    const auto hostSource = platform::ToHostPath(source);
    const auto hostDestination = platform::ToHostPath(destination);
    if (!hostSource || !hostDestination) return false;
    const QString from = Canonical(*hostSource);
    const QString to = Canonical(*hostDestination);
    if (to == from) return true;
    const QString prefix = from.endsWith(u'/') ? from : from + u'/';
    return withSubFolders && to.startsWith(prefix);
}

QString DestinationInsideSourceText(const QString& source, const QString& destination) {
    return QStringLiteral(
               "バックアップ先がバックアップ元のフォルダーの中にあります\n"
               "バックアップ元：　") +
           source + QStringLiteral("\nバックアップ先：　") + destination;
}

}  // namespace engine
