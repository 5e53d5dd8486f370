#pragma once

#include <QHashFunctions>
#include <QString>

#include <utility>

// The two kinds of path the program carries, as types of their own so that
// the compiler says which one a function takes. A DrivePath is how the system
// and its stored files name a file ("C:\home\hana\写真"); a HostPath is what
// Linux opens ("/home/hana/写真", with bytes that are not UTF-8 escaped as
// host_name.h says). host_path.h turns one into the other; nothing else does,
// and neither is made from a QString without saying which it is.
namespace platform {

class DrivePath {
  public:
    DrivePath() = default;
    explicit DrivePath(QString text) : text_(std::move(text)) {}

    const QString& text() const { return text_; }
    bool isEmpty() const { return text_.isEmpty(); }

    friend bool operator==(const DrivePath&, const DrivePath&) = default;
    friend size_t qHash(const DrivePath& path, size_t seed = 0) { return qHash(path.text_, seed); }

  private:
    QString text_;
};

class HostPath {
  public:
    HostPath() = default;
    explicit HostPath(QString text) : text_(std::move(text)) {}

    const QString& text() const { return text_; }
    bool isEmpty() const { return text_.isEmpty(); }

    // The entry `name` of this folder, with one "/" between ("/" gives "/name").
    HostPath Below(const QString& name) const {
        return HostPath(text_.endsWith(u'/') ? text_ + name : text_ + u'/' + name);
    }

    friend bool operator==(const HostPath&, const HostPath&) = default;
    friend size_t qHash(const HostPath& path, size_t seed = 0) { return qHash(path.text_, seed); }

  private:
    QString text_;
};

}  // namespace platform
