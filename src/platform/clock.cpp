#include "platform/clock.h"

namespace platform {
namespace {
std::function<QDateTime()>& TestClock() {
    static std::function<QDateTime()> clock;
    return clock;
}
}  // namespace

QDateTime Now() { return TestClock() ? TestClock()() : QDateTime::currentDateTime(); }

void SetClockForTesting(std::function<QDateTime()> clock) { TestClock() = std::move(clock); }

}  // namespace platform
