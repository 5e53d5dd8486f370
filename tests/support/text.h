#pragma once

#include <QString>

namespace testing_support {

// A QString from UTF-8 source text, so tests can spell Japanese names as they
// read: S("写真\\旅行").
inline QString S(const char* text) { return QString::fromUtf8(text); }

}  // namespace testing_support
