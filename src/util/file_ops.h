#pragma once

#include <QString>

#include "platform/file_copy.h"
#include "platform/host_path.h"

#include <functional>
#include <optional>

// File operations on Windows-style paths. None of them shows anything: what
// a person should be told comes back in the result, and the caller decides
// how to tell it; other failures are found out by testing existence afterwards.
namespace util {

struct CopyResult {
    bool copied = false;         // a new copy is in place
    bool sourceChanged = false;  // the source changed while it was copied (the copy is
                                 // stamped so that the next run copies it again)
    bool failed = false;         // the file should have been copied and was not
    // What to tell a person about a failed copy or a changed source, as the
    // standard message box shows it; empty when there is nothing to tell.
    QString message;
};

// Copies one file over an older copy, keeping the source's modification time.
// Nothing happens for a missing or empty source, for a target that is the
// source, or for a protected target whose protection cannot be lifted. The
// copy is written beside the target and replaces it only when complete, so a
// failed copy (its message names the target) leaves the old target as it was.
CopyResult CopyOneFile(const platform::DrivePath& source, const platform::DrivePath& target,
                       const platform::CopyProgress& progress = {});

// The same when the caller has already resolved both paths (a folder copy
// resolves each folder once, not each file): `sourceSize` as listed, and
// whether a file is at the target now.
struct ResolvedCopy {
    platform::DrivePath source;  // for messages
    platform::DrivePath target;
    platform::HostPath hostSource;
    platform::HostPath hostTarget;
    qint64 sourceSize = 0;
    bool targetExists = false;
};
// `makeRoom` is called once when the copy failed because the disk is full;
// when it returns true (it made room) the copy is tried once more.
CopyResult CopyResolvedFile(const ResolvedCopy& copy, const platform::CopyProgress& progress = {},
                            const std::function<bool()>& makeRoom = {});

// Makes room for a new copy: deletes the target, first lifting read-only,
// hidden and system. False when a protected target stays protected.
bool ClearTarget(const platform::DrivePath& target);

// Deletes a file quietly; a read-only file is made writable first. True when
// the file is gone (or was never there).
bool DeleteOneFile(const platform::DrivePath& path);

// True when at least one entry that is not a folder matches (wildcards allowed).
bool FileExists(const platform::DrivePath& path);
// True when the path names an existing folder. A drive ("C:", "C:\") exists
// whenever its letter is a letter; a path ending in "\" does not.
bool FolderExists(const platform::DrivePath& path);
// The host path of a folder below a drive root when FolderExists holds for
// it, found with as few looks as FolderExists takes. `resolved`, when given,
// receives the path's host form where the look made one, folder or not.
// `known`, when given, is platform::LookUpHostPath of the path made a moment ago.
std::optional<platform::HostPath> ExistingFolder(
    const platform::DrivePath& path, std::optional<platform::HostPath>* resolved = nullptr,
    const platform::HostLook* known = nullptr);

// Creates the folder and any missing parents; false on failure.
bool MakeFolder(const platform::DrivePath& path);

// Modification time of a file or folder, nanoseconds since the Unix epoch.
std::optional<qint64> ModifiedTimeOf(const platform::DrivePath& path);
std::optional<qint64> ModifiedTimeOf(const platform::HostPath& path);

QString ProfileRead(const platform::DrivePath& file, const QString& section, const QString& key);
bool ProfileWrite(const platform::DrivePath& file, const QString& section, const QString& key,
                  const QString& value);

}  // namespace util
