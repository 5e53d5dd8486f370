#pragma once

#include "platform/path_kinds.h"

namespace platform {

// Holds an exclusive lock on a profile file for its lifetime, so that a
// read-change-write of the file by one process cannot interleave with another
// process's. The lock is an flock on "<file>.lock" beside the file (the file
// itself is replaced by every write, so it cannot carry the lock); the lock
// file is left in place. Blocks until the lock is free. When the lock file
// cannot be created (a read-only folder) nothing is held: no write can succeed
// there either.
class ProfileLock {
  public:
    explicit ProfileLock(const HostPath& profileFile);
    ~ProfileLock();
    ProfileLock(const ProfileLock&) = delete;
    ProfileLock& operator=(const ProfileLock&) = delete;

    bool Held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

}  // namespace platform
