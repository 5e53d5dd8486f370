#pragma once

#include "platform/system_calls.h"

#include <QString>

#include <mutex>
#include <vector>

namespace testing_support {

// Makes chosen system calls fail while it lives, the way a full disk, a
// refused permission or a broken device would. A rule names the call, a
// shell pattern for the host path ("*/sub", "*/.kibako-*") and the errno;
// it fails every matching call, or only the first `times` of them.
class FaultInjector : public platform::sys::FaultSeam {
  public:
    FaultInjector();
    ~FaultInjector() override;
    FaultInjector(const FaultInjector&) = delete;
    FaultInjector& operator=(const FaultInjector&) = delete;

    void Fail(platform::sys::Call call, const QString& pathPattern, int error, int times = -1);
    // How many calls the rules have failed so far.
    int Injected() const;

    int ErrnoFor(platform::sys::Call call, const std::string& path) override;

  private:
    struct Rule {
        platform::sys::Call call;
        std::string pattern;
        int error;
        int remaining;
    };
    mutable std::mutex mutex_;
    std::vector<Rule> rules_;
    int injected_ = 0;
};

}  // namespace testing_support
