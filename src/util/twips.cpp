#include "util/twips.h"

#include <algorithm>
#include <cmath>

namespace util {
namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultDotsPerInch = 96.0;
constexpr qint64 kTwipsLimit = 100'000'000;
}  // namespace

int TwipsToPixels(qint64 twips, double dotsPerInch) {
    const double dpi = dotsPerInch > 0 ? dotsPerInch : kDefaultDotsPerInch;
    const qint64 bounded = std::clamp(twips, -kTwipsLimit, kTwipsLimit);
    return static_cast<int>(std::lround(static_cast<double>(bounded) * dpi / kTwipsPerInch));
}

}  // namespace util
