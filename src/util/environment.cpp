#include "util/environment.h"

#include "util/file_ops.h"

namespace util {
namespace {
Environment& Current() {
    static Environment environment;
    return environment;
}
}  // namespace

void CheckEnvironment(const QString& settingsFile) {
    const QString value =
        ProfileRead(settingsFile, QStringLiteral("Options"), QStringLiteral("isMsgModal"))
            .trimmed();
    bool ok = false;
    const int number = value.toInt(&ok);
    Current().messageStyle = (value.isEmpty() || !ok || number != 0) ? kSystemModalStyle : 0;
    Current().windowsMe = false;
}

const Environment& CurrentEnvironment() { return Current(); }

}  // namespace util
