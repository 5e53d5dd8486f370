#pragma once

#include <QString>
#include <QTemporaryDir>

namespace testing_support {

// A tmpfs of a few kilobytes mounted on a temporary folder, to run out of
// space for real. Needs the right to mount (root); Mounted() says whether it
// worked, and tests skip otherwise.
class SmallDisk {
  public:
    explicit SmallDisk(int kilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    QString Path() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

}  // namespace testing_support
