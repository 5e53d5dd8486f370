// Windows file-name patterns: "*" and "?", ASCII letters compared without case; "*.*"
// matches every name, also one without a dot.
#pragma once

#include <string>
#include <vector>

namespace archiver {

bool MatchesWildcard(const std::string& pattern, const std::string& name);
// True when `patterns` is empty or one of them matches.
bool MatchesAny(const std::vector<std::string>& patterns, const std::string& name);

}  // namespace archiver
