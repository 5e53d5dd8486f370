#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <utility>
#include <vector>

namespace e2e {

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

enum class Display { None, Offscreen };

// A program folder for the real binaries: KIBAKO_HOME points at c/kibako in a
// temporary folder, and the settings file's [Drives] section maps C: (fixed),
// D: (fixed), E: (removable) and R: (CD-ROM) onto sibling folders.
class ProgramFolder {
  public:
    ProgramFolder();

    QString Host(const QString& relative) const { return dir_.filePath(relative); }
    QString Home() const { return Host(QStringLiteral("c/kibako")); }
    // Options lines ("Key=Value") for the [Options] section, [Drives] kept.
    void WriteSettings(const QStringList& options) const;
    // Registrations (source, destination), never backed up yet.
    void WriteDefinitions(const std::vector<std::pair<QString, QString>>& entries,
                          const QString& file = QStringLiteral("c/kibako/Kibako.Def")) const;
    void WriteFile(const QString& relative, const QByteArray& bytes, qint64 mtime = -1) const;
    QByteArray Read(const QString& relative) const;
    bool Exists(const QString& relative) const;

    // The environment the programs run in: this folder as their home, the
    // display as asked, and no desktop session bus.
    QProcessEnvironment Environment(Display display) const;

    // Runs a program of the build with this folder as its home.
    Finished Run(const QString& program, const QStringList& arguments, Display display,
                 const QStringList& prefix = {}) const;

  private:
    QTemporaryDir dir_;
};

// The test's end of a program's test gate (platform/test_gate.h): a FIFO the
// program waits at until the test releases it.
class TestGate {
  public:
    explicit TestGate(const QString& path);
    ~TestGate() { Release(); }
    TestGate(const TestGate&) = delete;
    TestGate& operator=(const TestGate&) = delete;

    // Waits until the program stands at the gate; false after a minute.
    bool WaitUntilReached();
    void Release();

  private:
    QByteArray path_;
    int fd_ = -1;
};

// Waits (two minutes at most) for a started program and collects its output.
Finished Wait(QProcess& process);

// A program of the build: "src/tetoru/tetoru", "src/catalog/kibako".
QString BuiltProgram(const QString& relative);

}  // namespace e2e
