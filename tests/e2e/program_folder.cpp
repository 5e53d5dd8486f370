#include "program_folder.h"

#include "store/definition_file.h"
#include "support/temp_drives.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace e2e {

QString BuiltProgram(const QString& relative) {
    return qEnvironmentVariable("KIBAKO_BUILD_DIR") + u'/' + relative;
}

ProgramFolder::ProgramFolder() {
    for (const char* folder : {"c/kibako", "d", "e", "r"})
        QDir().mkpath(Host(QString::fromLatin1(folder)));
    WriteSettings({});
}

void ProgramFolder::WriteSettings(const QStringList& options) const {
    QByteArray text = "[Drives]\r\nC=fixed|" + Host(QStringLiteral("c")).toUtf8() +
                      "|SYSTEM\r\nD=fixed|" + Host(QStringLiteral("d")).toUtf8() +
                      "|DATA\r\nE=removable|" + Host(QStringLiteral("e")).toUtf8() +
                      "|\r\nR=cdrom|" + Host(QStringLiteral("r")).toUtf8() +
                      "|DISC\r\n[Options]\r\n";
    for (const QString& line : options) text += line.toUtf8() + "\r\n";
    WriteFile(QStringLiteral("c/kibako/Kibako.INI"), text);
}

void ProgramFolder::WriteDefinitions(const std::vector<std::pair<QString, QString>>& entries,
                                     const QString& file) const {
    store::DefinitionList list;
    for (const auto& [source, destination] : entries) {
        store::BackupEntry entry;
        entry.sourceFolder = source;
        entry.destination = destination;
        entry.lastBackup = store::BackupTime();
        entry.subFolders = store::SubFolders::EachAsEntry;
        list.PutEntry(entry);
    }
    WriteFile(file, store::DefinitionFileBytes(list.Body()));
}

void ProgramFolder::WriteFile(const QString& relative, const QByteArray& bytes,
                              qint64 mtime) const {
    QDir().mkpath(QFileInfo(Host(relative)).path());
    QFile file(Host(relative));
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    file.close();
    if (mtime >= 0) testing_support::SetModifiedTime(Host(relative), mtime);
}

QByteArray ProgramFolder::Read(const QString& relative) const {
    QFile file(Host(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ProgramFolder::Exists(const QString& relative) const {
    return QFileInfo::exists(Host(relative));
}

QProcessEnvironment ProgramFolder::Environment(Display display) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KIBAKO_HOME"), Home());
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    // The desktop of whoever runs the tests hears nothing of them.
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    if (display == Display::None) {
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    } else {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // An unattended message closes itself after a minute; a second will do here.
        environment.insert(QStringLiteral("TETORU_TEST_MESSAGE_TIMEOUT_MS"),
                           QStringLiteral("1000"));
    }
    // libfaketime is preloaded before the sanitizer runtime; that is fine here.
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("verify_asan_link_order=0"));
    return environment;
}

Finished ProgramFolder::Run(const QString& program, const QStringList& arguments, Display display,
                            const QStringList& prefix) const {
    QProcess process;
    process.setProcessEnvironment(Environment(display));
    if (prefix.isEmpty()) {
        process.start(program, arguments);
    } else {
        process.start(prefix.first(), prefix.mid(1) + QStringList{program} + arguments);
    }
    return Wait(process);
}

TestGate::TestGate(const QString& path) : path_(QFile::encodeName(path)) {
    ::mkfifo(path_.constData(), 0600);
}

bool TestGate::WaitUntilReached() {
    // Opening the writing end without blocking succeeds only once the
    // program has opened the reading end.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 60'000) {
        fd_ = ::open(path_.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ >= 0) return true;
        QThread::msleep(20);
    }
    return false;
}

void TestGate::Release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

Finished Wait(QProcess& process) {
    Finished finished;
    if (!process.waitForFinished(120'000)) {
        process.kill();
        process.waitForFinished();
    }
    finished.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    finished.out = QString::fromUtf8(process.readAllStandardOutput());
    finished.err = QString::fromUtf8(process.readAllStandardError());
    return finished;
}

}  // namespace e2e
