#pragma once

#include <QString>

namespace platform {

// Windows file-name pattern matching: "*" any run of characters, "?" one
// character, ASCII letters compared without case, and "*.*" matching every
// name, those without a dot included. The pattern comes first, as in the
// archiver's own matcher.
bool MatchesWildcard(const QString& pattern, const QString& name);

bool HasWildcard(const QString& pattern);

}  // namespace platform
