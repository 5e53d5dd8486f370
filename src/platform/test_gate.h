#pragma once

#include <QString>

namespace platform {

// A pause point for tests that run two programs against one file: opens the
// FIFO `fifo` for reading, which blocks until the test opens it for writing,
// and then reads until the test closes it. A path that is not a FIFO passes
// at once. Only tests name such a path (see WaitAtTestGateFromEnvironment).
void WaitAtTestGate(const QString& fifo);

// The gate named by an environment variable; nothing happens without it.
void WaitAtTestGateFromEnvironment(const char* variable);

}  // namespace platform
