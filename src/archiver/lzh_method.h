// The LZH compression methods this library reads ("-lh0-", "-lh5-", "-lh6-", "-lh7-",
// "-lhd-") and the parameters of the sliding-dictionary ones.
#pragma once

#include <optional>
#include <string>

namespace archiver {

enum class LzhMethod { kStored, kLh5, kLh6, kLh7, kDirectory };

std::optional<LzhMethod> ParseLzhMethod(const std::string& id);
const char* LzhMethodId(LzhMethod method);

struct SlideParameters {
    int dictionaryBits;  // dictionary of 2^bits bytes
    int positionCodes;   // symbols of the position code (NP)
    int positionBits;    // bits of the position table's length count (PBIT)
};
SlideParameters SlideParametersOf(LzhMethod method);

}  // namespace archiver
