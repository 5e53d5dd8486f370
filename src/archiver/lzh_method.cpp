#include "archiver/lzh_method.h"

namespace archiver {

std::optional<LzhMethod> ParseLzhMethod(const std::string& id) {
    if (id == "-lh0-") return LzhMethod::kStored;
    if (id == "-lh5-") return LzhMethod::kLh5;
    if (id == "-lh6-") return LzhMethod::kLh6;
    if (id == "-lh7-") return LzhMethod::kLh7;
    if (id == "-lhd-") return LzhMethod::kDirectory;
    return std::nullopt;
}

const char* LzhMethodId(LzhMethod method) {
    switch (method) {
        case LzhMethod::kStored:
            return "-lh0-";
        case LzhMethod::kLh5:
            return "-lh5-";
        case LzhMethod::kLh6:
            return "-lh6-";
        case LzhMethod::kLh7:
            return "-lh7-";
        case LzhMethod::kDirectory:
            return "-lhd-";
    }
    return "-lh0-";
}

SlideParameters SlideParametersOf(LzhMethod method) {
    switch (method) {
        case LzhMethod::kLh6:
            return {15, 16, 5};
        case LzhMethod::kLh7:
            return {16, 17, 5};
        default:
            return {13, 14, 4};
    }
}

}  // namespace archiver
