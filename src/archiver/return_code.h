// The non-zero results of the command calls. Callers mostly distinguish 0 from the rest;
// kMethodNotCheckable tells a test that found nothing wrong but could not decode every member
// (a method this library does not read) from one that found damage.
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
    kMethodNotCheckable = 10,
};

}  // namespace archiver
