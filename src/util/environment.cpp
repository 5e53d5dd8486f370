#include "util/environment.h"

#include "util/file_ops.h"
#include "util/numbers.h"

namespace util {
namespace {
Environment& Current() {
    static Environment environment;
    return environment;
}
}  // namespace

void CheckEnvironment(const platform::DrivePath& settingsFile) {
    const QString value =
        ProfileRead(settingsFile, QStringLiteral("Options"), QStringLiteral("isMsgModal"));
    // Read as every number setting is; absent or empty, it is -1.
    const qint64 number = value.isEmpty() ? -1 : LeadingNumber(value);
    Current().messageStyle = number != 0 ? kSystemModalStyle : 0;
    Current().windowsMe = false;
}

const Environment& CurrentEnvironment() { return Current(); }

}  // namespace util
