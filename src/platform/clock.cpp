#include "platform/clock.h"

#include <QFileInfo>

namespace platform {
namespace {
std::function<QDateTime()>& TestClock() {
    static std::function<QDateTime()> clock;
    return clock;
}
}  // namespace

QDateTime Now() { return TestClock() ? TestClock()() : QDateTime::currentDateTime(); }

void SetClockForTesting(std::function<QDateTime()> clock) { TestClock() = std::move(clock); }

void NameTheTimeZoneOnce() {
    if (qEnvironmentVariableIsSet("TZ") || !QFileInfo::exists(QStringLiteral("/etc/localtime")))
        return;
    qputenv("TZ", ":/etc/localtime");
}

}  // namespace platform
