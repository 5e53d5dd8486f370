#include "support/fault_injector.h"

#include <QFile>

#include <fnmatch.h>

namespace testing_support {

FaultInjector::FaultInjector() { platform::sys::InstallFaultSeam(this); }

FaultInjector::~FaultInjector() { platform::sys::InstallFaultSeam(nullptr); }

void FaultInjector::Fail(platform::sys::Call call, const QString& pathPattern, int error,
                         int times) {
    const std::lock_guard lock(mutex_);
    rules_.push_back({call, QFile::encodeName(pathPattern).toStdString(), error, times});
}

int FaultInjector::Injected() const {
    const std::lock_guard lock(mutex_);
    return injected_;
}

int FaultInjector::ErrnoFor(platform::sys::Call call, const std::string& path) {
    const std::lock_guard lock(mutex_);
    for (Rule& rule : rules_) {
        if (rule.call != call || rule.remaining == 0) continue;
        if (fnmatch(rule.pattern.c_str(), path.c_str(), 0) != 0) continue;
        if (rule.remaining > 0) --rule.remaining;
        ++injected_;
        return rule.error;
    }
    return 0;
}

}  // namespace testing_support
