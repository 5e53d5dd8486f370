#pragma once

#include "platform/path_kinds.h"

#include <QString>

#include <ostream>

namespace testing_support {

// A QString from UTF-8 source text, so tests can spell Japanese names as they
// read: S("写真\\旅行").
inline QString S(const char* text) { return QString::fromUtf8(text); }

// The same as a drive path: D("C:\\写真").
inline platform::DrivePath D(const char* text) { return platform::DrivePath(S(text)); }

}  // namespace testing_support

// Paths in a failed expectation print as their text.
namespace platform {
inline void PrintTo(const DrivePath& path, std::ostream* out) { *out << path.text().toStdString(); }
inline void PrintTo(const HostPath& path, std::ostream* out) { *out << path.text().toStdString(); }
}  // namespace platform
