#include "program_folder_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include "store/definition_file.h"

namespace catalog::testing {

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "catalog_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

ProgramFolder::ProgramFolder(bool withDrives) : previous_(platform::CurrentDrives()) {
    EnsureApplication();
    QDir().mkpath(Home());
    qputenv("KIBAKO_HOME", QFile::encodeName(Home()));
    if (!withDrives) return;
    QByteArray ini = "[Drives]\r\n";
    for (const char* line : {"C=fixed|", "D=fixed|", "E=removable|", "R=cdrom|"}) {
        const QChar letter = QChar::fromLatin1(line[0]);
        QDir().mkpath(Drive(letter));
        ini += QByteArray(line) + QFile::encodeName(Drive(letter)) + "|LABEL\r\n";
    }
    WriteFile(QStringLiteral("Kibako.INI"), ini);
}

ProgramFolder::~ProgramFolder() {
    qunsetenv("KIBAKO_HOME");
    platform::SetCurrentDrives(previous_);
}

QString ProgramFolder::Drive(QChar letter) const {
    return dir_.path() + QStringLiteral("/drive_") + letter.toLower();
}

void ProgramFolder::MakeFolder(const QString& path) const { QDir().mkpath(Home() + u'/' + path); }

void ProgramFolder::WriteFile(const QString& path, const QByteArray& bytes) const {
    QFile file(Home() + u'/' + path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

QByteArray ProgramFolder::ReadFile(const QString& path) const {
    QFile file(Home() + u'/' + path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ProgramFolder::Exists(const QString& path) const {
    return QFile::exists(Home() + u'/' + path);
}

QByteArray DefinitionFile(const QString& body) {
    return store::DefinitionFileBytes(body + QChar(0));
}

QString EntryText(const QString& source, const QString& destination, const QString& last,
                  const QString& flags) {
    return QChar(8) + source + QChar(2) + destination + QChar(3) + last + QChar(4) + flags +
           QChar(5) + QChar(6);
}

}  // namespace catalog::testing
