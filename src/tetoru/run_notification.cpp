#include "tetoru/run_notification.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QFileInfo>
#include <QVariantMap>

namespace tetoru {
namespace {

// How many failed registrations a notice names before it says "and n more".
constexpr int kNamedFailures = 5;
constexpr int kCallTimeoutMs = 5000;
// The urgency hint: 1 normal, 2 critical.
constexpr unsigned char kNormal = 1;
constexpr unsigned char kCritical = 2;

QString FailureBody(const std::vector<engine::EntryReport>& failed) {
    QStringList lines;
    for (std::size_t i = 0; i < failed.size() && i < kNamedFailures; ++i) {
        lines.append(failed[i].source + QStringLiteral(" → ") + failed[i].destination);
    }
    if (failed.size() > kNamedFailures) {
        lines.append(QStringLiteral("ほか %1 件").arg(failed.size() - kNamedFailures));
    }
    const QString reason = failed.front().reason.section(u'\n', 0, 0);
    if (!reason.isEmpty()) lines.append(QString() + u'\n' + reason);
    return lines.join(u'\n');
}

// A session bus is there to be asked: named in the environment, or the
// user manager's socket. Otherwise the bus library might start a bus of its
// own just for this notice.
bool SessionBusIsThere() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

}  // namespace

std::optional<RunNotice> NoticeOfRun(const std::vector<engine::EntryReport>& failed, int backedUp,
                                     bool aborted, bool notifySuccess) {
    if (!failed.empty()) {
        return RunNotice{QStringLiteral("バックアップに失敗しました（%1 件）").arg(failed.size()),
                         FailureBody(failed), true};
    }
    if (aborted || !notifySuccess) return std::nullopt;
    return RunNotice{QStringLiteral("バックアップが完了しました"),
                     QStringLiteral("%1 件のフォルダーをバックアップしました").arg(backedUp),
                     false};
}

std::optional<QString> SendNotice(const RunNotice& notice) {
    if (!SessionBusIsThere()) return std::nullopt;  // nobody to tell: nothing is tried
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return bus.lastError().message();
    QDBusInterface server(QStringLiteral("org.freedesktop.Notifications"),
                          QStringLiteral("/org/freedesktop/Notifications"),
                          QStringLiteral("org.freedesktop.Notifications"), bus);
    server.setTimeout(kCallTimeoutMs);
    const QVariantMap hints{
        {QStringLiteral("urgency"), QVariant::fromValue(notice.urgent ? kCritical : kNormal)},
        {QStringLiteral("desktop-entry"), QStringLiteral("kibako")}};
    // Notify(app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout)
    const QDBusReply<uint> reply = server.call(
        QStringLiteral("Notify"), QStringLiteral("キバコ"), 0u, QStringLiteral("kibako"),
        notice.summary, notice.body, QStringList(), hints, notice.urgent ? 0 : -1);
    if (!reply.isValid()) return reply.error().message();
    return std::nullopt;
}

}  // namespace tetoru
