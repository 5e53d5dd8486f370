#include "tetoru/power_off.h"

#include "platform/process.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QProcess>

#include <cstdio>

namespace tetoru {

void RequestPowerOff(const store::Settings& settings) {
    platform::FlushFileSystems();
    const QString command = settings.GetSettingText(store::Key::PowerOffCommand, QString());
    if (!command.isEmpty()) {
        const int code =
            QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
        if (code != 0) std::fprintf(stderr, "TETORU: power-off command failed (%d)\n", code);
        return;
    }
    QDBusInterface manager(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QDBusConnection::systemBus());
    const QDBusReply<void> reply = manager.call(QStringLiteral("PowerOff"), false);
    if (!reply.isValid()) {
        std::fprintf(stderr, "TETORU: power-off refused: %s\n",
                     qUtf8Printable(reply.error().message()));
    }
}

}  // namespace tetoru
