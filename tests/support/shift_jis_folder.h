#pragma once

#include "platform/path_kinds.h"

#include <QByteArray>
#include <QTemporaryDir>

namespace testing_support {

// A folder whose name is Shift_JIS bytes ("テスト"), not UTF-8, inside a temporary folder:
// a name that Qt's file classes decode into another path. Removed with what it holds.
class ShiftJisFolder {
  public:
    ShiftJisFolder();
    ~ShiftJisFolder();
    ShiftJisFolder(const ShiftJisFolder&) = delete;
    ShiftJisFolder& operator=(const ShiftJisFolder&) = delete;

    bool Made() const { return made_; }
    // The bytes of the path of `name` in the folder, and its host path.
    QByteArray Bytes(const QByteArray& name) const { return path_ + '/' + name; }
    platform::HostPath Host(const QByteArray& name) const;

  private:
    QTemporaryDir dir_;
    QByteArray path_;
    bool made_ = false;
};

}  // namespace testing_support
