#pragma once

#include "platform/host_path.h"

#include <QString>

#include <optional>

namespace util {

// Makes the folder a backup is written into (a plain copy's folder, an
// archive's folder), creating only its last level: the folder above it must
// exist. A drive whose root folder is missing (a backup disk that is not
// mounted) is not ready, and its root is never created, so a backup can never
// land on the system disk by mistake. Nothing when the folder exists or was
// made; otherwise the error text for the standard message box.
std::optional<QString> MakeDestinationFolder(const platform::DrivePath& folder);

// The same, with what the caller goes on to need: the folder's host path and
// whether this call made it (so it is empty).
struct DestinationFolder {
    std::optional<QString> error;
    platform::HostPath hostPath;  // when there is no error
    bool created = false;
};
// `known`, when given, is platform::LookUpHostPath of the folder made a moment ago.
DestinationFolder PrepareDestinationFolder(const platform::DrivePath& folder,
                                           const platform::HostLook* known = nullptr);

// "ドライブの準備ができていません" with the drive, for a missing drive root.
QString DriveNotReadyText(QChar letter);

}  // namespace util
