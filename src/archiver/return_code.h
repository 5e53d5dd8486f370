// The non-zero results of the command calls; callers only distinguish 0 from the rest.
#pragma once

namespace archiver {

enum ReturnCode : int {
    kOk = 0,
    kBadCommandLine = 1,
    kPathNotResolved = 2,
    kArchiveDamaged = 3,
    kSourceUnreadable = 4,
    kWriteFailed = 5,
    kUnsafeMemberName = 6,
    kArchiveMissing = 7,
    kSourceFolderMissing = 8,
    kInternalError = 9,
};

}  // namespace archiver
