#include "catalog/model/catalog_drive_file.h"

#include "platform/regular_file.h"
#include "platform/saved_file.h"

namespace catalog {

CatalogDriveTable ParseCatalogDrives(const QByteArray& bytes) {
    CatalogDriveTable table;
    size_t index = 0;
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (index < table.size() && i < n) {
        while (i < n && bytes[i] == ' ') ++i;
        QByteArray value;
        if (i < n && bytes[i] == '"') {
            const qsizetype close = bytes.indexOf('"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            value = bytes.mid(i + 1, end - i - 1);
            i = close < 0 ? n : close + 1;
            while (i < n && bytes[i] != ',' && bytes[i] != '\r' && bytes[i] != '\n') ++i;
        } else {
            const qsizetype start = i;
            while (i < n && bytes[i] != ',' && bytes[i] != '\r' && bytes[i] != '\n') ++i;
            value = bytes.mid(start, i - start);
        }
        table[index++] = value;
        if (i < n && bytes[i] == ',') {
            ++i;
        } else {
            if (i < n && bytes[i] == '\r') ++i;
            if (i < n && bytes[i] == '\n') ++i;
        }
    }
    return table;
}

namespace {

// A value the reader would cut or trim goes back in the quotes it came in.
bool NeedsQuotes(const QByteArray& value) {
    return value.contains(',') || value.contains('\r') || value.contains('\n') ||
           value.startsWith(' ');
}

}  // namespace

QByteArray CatalogDriveBytes(const CatalogDriveTable& table) {
    QByteArray bytes;
    for (const QByteArray& value : table) {
        bytes += NeedsQuotes(value) ? '"' + value + '"' : value;
        bytes += "\r\n";
    }
    return bytes;
}

CatalogDriveTable ReadCatalogDriveFile(const platform::HostPath& hostPath) {
    QByteArray bytes;
    if (platform::ReadRegularFile(hostPath, bytes) != platform::ReadStatus::Read) return {};
    return ParseCatalogDrives(bytes);
}

bool WriteCatalogDriveFile(const platform::HostPath& hostPath, const CatalogDriveTable& table) {
    return platform::SaveFileAtomically(hostPath, CatalogDriveBytes(table));
}

}  // namespace catalog
