#include "platform/disk_names.h"

#include <QDir>
#include <QFileInfo>

namespace platform {
namespace {

QString CanonicalDevice(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

QHash<QString, QString> ReadLinks(const HostPath& folder) {
    QHash<QString, QString> byDevice;
    const QDir dir(folder.text());
    for (const QString& name :
         dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString device = QFileInfo(dir.filePath(name)).canonicalFilePath();
        if (!device.isEmpty() && !byDevice.contains(device))
            byDevice.insert(device, DecodeUdevName(name));
    }
    return byDevice;
}

}  // namespace

QString DiskNames::UuidOf(const QString& device) const {
    return uuidOf.value(CanonicalDevice(device));
}

QString DiskNames::LabelOf(const QString& device) const {
    return labelOf.value(CanonicalDevice(device));
}

DiskNames ReadDiskNames(const HostPath& diskFolder) {
    return {ReadLinks(diskFolder.Below(QStringLiteral("by-uuid"))),
            ReadLinks(diskFolder.Below(QStringLiteral("by-label")))};
}

QString DecodeUdevName(const QString& name) {
    QByteArray out;
    const QByteArray bytes = name.toUtf8();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\\' && i + 3 < bytes.size() && bytes[i + 1] == 'x') {
            bool ok = false;
            const int value = bytes.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.append(bytes[i]);
    }
    return QString::fromUtf8(out);
}

}  // namespace platform
