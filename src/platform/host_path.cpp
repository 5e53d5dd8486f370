#include "platform/host_path.h"

#include "platform/drive_table.h"
#include "platform/wildcard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>

namespace platform {
namespace {

bool ExistsNoFollow(const QString& hostPath) {
    struct stat st;
    return lstat(QFile::encodeName(hostPath).constData(), &st) == 0;
}

QString Child(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// The name in `folder` that equals `component` ignoring ASCII case, the
// first in byte order when there are several.
std::optional<QString> InexactMatch(const QString& folder, const QString& component) {
    const QStringList names = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    std::optional<QByteArray> best;
    for (const QString& name : names) {
        if (!EqualsIgnoringAsciiCase(name, component)) continue;
        const QByteArray encoded = QFile::encodeName(name);
        if (!best || encoded < *best) best = encoded;
    }
    if (!best) return std::nullopt;
    return QFile::decodeName(*best);
}

}  // namespace

std::optional<QString> ToHostPath(const QString& windowsPath) {
    if (windowsPath.size() < 2 || windowsPath[1] != u':' ||
        windowsPath.startsWith(QLatin1String("\\\\"))) {
        return std::nullopt;
    }
    const auto drive = CurrentDrives().Find(windowsPath[0]);
    if (!drive) return std::nullopt;

    static const QRegularExpression kSeparators(QStringLiteral("[\\\\/]"));
    const QStringList components = windowsPath.mid(2).split(kSeparators, Qt::SkipEmptyParts);
    QString asWritten = drive->root;
    for (const QString& component : components) {
        if (component == QLatin1String(".") || component == QLatin1String(".."))
            return std::nullopt;
        asWritten = Child(asWritten, component);
    }
    // Most paths exist as written: one look settles them.
    if (components.isEmpty() || ExistsNoFollow(asWritten)) return asWritten;

    QString host = drive->root;
    bool matching = true;  // once a component is missing, the rest cannot exist either
    for (const QString& component : components) {
        QString next = Child(host, component);
        if (matching && !ExistsNoFollow(next)) {
            if (const auto match = InexactMatch(host, component)) {
                next = Child(host, *match);
            } else {
                matching = false;
            }
        }
        host = next;
    }
    return host;
}

std::optional<QString> ToWindowsPath(const QString& hostPath) {
    const QString clean = QDir::cleanPath(QFileInfo(hostPath).absoluteFilePath());
    const auto letter = CurrentDrives().LetterHolding(clean);
    if (!letter) return std::nullopt;
    const QString root = CurrentDrives().Find(*letter)->root;
    QString rest = clean.mid(root.size());
    if (rest.startsWith(u'/')) rest.remove(0, 1);
    rest.replace(u'/', u'\\');
    return QString(*letter) + QLatin1String(":\\") + rest;
}

}  // namespace platform
