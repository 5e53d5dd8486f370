#include "platform/saved_file.h"

#include <QSaveFile>

namespace platform {

bool SaveFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    const bool ok =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!ok && error) *error = file.errorString();
    return ok;
}

}  // namespace platform
