// The real tetoru tells a desktop notification server of its run: a server of
// the test's own on a private session bus, which records what it received.
#include "program_folder.h"
#include "support/text.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QVariantMap>

#include <gtest/gtest.h>

namespace {

using e2e::Display;
using e2e::ProgramFolder;
using testing_support::S;

struct Received {
    QString appName;
    QString icon;
    QString summary;
    QString body;
    QVariantMap hints;
    int timeout = 0;
};

// The org.freedesktop.Notifications interface, as far as Notify.
class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

  public:
    std::vector<Received> received;

  public slots:
    uint Notify(const QString& appName, uint, const QString& icon, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap& hints, int timeout) {
        received.push_back({appName, icon, summary, body, hints, timeout});
        return static_cast<uint>(received.size());
    }
};

// A session bus of the test's own: dbus-daemon for as long as the test runs.
class PrivateBus {
  public:
    PrivateBus() {
        daemon_.start(S("dbus-daemon"), {S("--session"), S("--nofork"), S("--print-address")});
        if (daemon_.waitForReadyRead(10'000)) {
            address = QString::fromUtf8(daemon_.readLine()).trimmed();
        }
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus(S("notification-test"));
        daemon_.kill();
        daemon_.waitForFinished();
    }
    QString address;

  private:
    QProcess daemon_;
};

// QtDBus delivers the calls through the application's event loop.
QCoreApplication& Application() {
    static int argc = 1;
    static char name[] = "notification_e2e_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

class Notification : public ::testing::Test {
  protected:
    void SetUp() override {
        Application();
        if (QStandardPaths::findExecutable(S("dbus-daemon")).isEmpty()) {
            GTEST_SKIP() << "dbus-daemon (Debian package dbus) is not installed";
        }
        ASSERT_FALSE(bus.address.isEmpty()) << "dbus-daemon gave no address";
        connection = QDBusConnection::connectToBus(bus.address, S("notification-test"));
        ASSERT_TRUE(connection.isConnected());
        ASSERT_TRUE(connection.registerObject(S("/org/freedesktop/Notifications"), &server,
                                              QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(connection.registerService(S("org.freedesktop.Notifications")));
        home.WriteFile(S("c/docs/a.txt"), "alpha", 1'600'000'000);
        home.WriteFile(S("c/music/b.txt"), "beta", 1'600'000'000);
        home.WriteDefinitions({{S("C:\\docs"), S("D:\\docs")}, {S("C:\\music"), S("D:\\m.ZIP")}});
    }
    // Runs tetoru on the private bus, serving the bus while it runs.
    int Tetoru() {
        QProcessEnvironment environment = home.Environment(Display::None);
        environment.insert(S("DBUS_SESSION_BUS_ADDRESS"), bus.address);
        QProcess process;
        process.setProcessEnvironment(environment);
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(60'000, &loop, &QEventLoop::quit);
        process.start(e2e::BuiltProgram(S("src/tetoru/tetoru")), QStringList());
        loop.exec();
        if (process.state() != QProcess::NotRunning) process.kill();
        process.waitForFinished();
        errors = QString::fromUtf8(process.readAllStandardError());
        return process.exitCode();
    }

    PrivateBus bus;
    QDBusConnection connection{QString()};
    NotificationServer server;
    ProgramFolder home;
    QString errors;
};

TEST_F(Notification, AFailedRunNamesItsFailedRegistrationsAndAGoodOneIsToldOnlyWhenAsked) {
    home.WriteFile(S("d/m.ZIP"), "not a zip archive");
    EXPECT_EQ(Tetoru(), 1);
    ASSERT_EQ(server.received.size(), 1u) << errors.toStdString();
    const Received& failure = server.received.front();
    EXPECT_EQ(failure.appName, S("キバコ"));
    EXPECT_EQ(failure.icon, S("kibako"));
    EXPECT_EQ(failure.summary, S("バックアップに失敗しました（1 件）"));
    EXPECT_TRUE(failure.body.startsWith(S("C:\\music → D:\\m.ZIP"))) << failure.body.toStdString();
    EXPECT_TRUE(failure.body.contains(S("D:\\m.ZIP\n\n"))) << "the reason follows the names";
    EXPECT_EQ(failure.hints.value(S("urgency")).toInt(), 2);
    EXPECT_EQ(failure.timeout, 0);  // a failure stays until it is closed

    QFile::remove(home.Host(S("d/m.ZIP")));
    EXPECT_EQ(Tetoru(), 0);
    EXPECT_EQ(server.received.size(), 1u) << "a good run is quiet by default";

    home.WriteSettings({S("NotifySuccess=-1")});
    EXPECT_EQ(Tetoru(), 0);
    ASSERT_EQ(server.received.size(), 2u);
    EXPECT_EQ(server.received.back().summary, S("バックアップが完了しました"));
    EXPECT_EQ(server.received.back().body, S("2 件のフォルダーをバックアップしました"));
}

TEST_F(Notification, ABusWithoutAServerCostsTheRunNothing) {
    connection.unregisterService(S("org.freedesktop.Notifications"));
    home.WriteFile(S("d/m.ZIP"), "not a zip archive");
    EXPECT_EQ(Tetoru(), 1);  // the entry's failure, nothing more
    EXPECT_TRUE(errors.contains(S("the desktop was not notified"))) << errors.toStdString();
}

}  // namespace

#include "notification_e2e_test.moc"
