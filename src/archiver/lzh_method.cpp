#include "archiver/lzh_method.h"

#include <array>
#include <utility>

namespace archiver {
namespace {

constexpr std::array<std::pair<LzhMethod, const char*>, 11> kIds = {{
    {LzhMethod::kStored, "-lh0-"},
    {LzhMethod::kLh1, "-lh1-"},
    {LzhMethod::kLh4, "-lh4-"},
    {LzhMethod::kLh5, "-lh5-"},
    {LzhMethod::kLh6, "-lh6-"},
    {LzhMethod::kLh7, "-lh7-"},
    {LzhMethod::kLzs, "-lzs-"},
    {LzhMethod::kLz4, "-lz4-"},
    {LzhMethod::kLz5, "-lz5-"},
    {LzhMethod::kPm0, "-pm0-"},
    {LzhMethod::kDirectory, "-lhd-"},
}};

}  // namespace

std::optional<LzhMethod> ParseLzhMethod(const std::string& id) {
    for (const auto& [method, text] : kIds) {
        if (id == text) return method;
    }
    return std::nullopt;
}

const char* LzhMethodId(LzhMethod method) {
    for (const auto& [known, text] : kIds) {
        if (known == method) return text;
    }
    return "-lh0-";
}

bool IsStoredMethod(LzhMethod method) {
    return method == LzhMethod::kStored || method == LzhMethod::kLz4 || method == LzhMethod::kPm0;
}

bool IsBlockHuffmanMethod(LzhMethod method) {
    return method == LzhMethod::kLh4 || method == LzhMethod::kLh5 || method == LzhMethod::kLh6 ||
           method == LzhMethod::kLh7;
}

SlideParameters SlideParametersOf(LzhMethod method) {
    switch (method) {
        case LzhMethod::kLh6:
            return {15, 16, 5};
        case LzhMethod::kLh7:
            return {16, 17, 5};
        default:
            // -lh4- shares the -lh5- code: its position code has the same 14 symbols, which can
            // name distances up to 8 KiB; decoding it in the 8 KiB window reads every stream
            // the way the other readers do.
            return {13, 14, 4};
    }
}

}  // namespace archiver
