#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "platform/drive_table.h"

namespace catalog::testing {

// Creates the one QApplication of a test program (offscreen platform).
void EnsureApplication();

// A temporary program folder named by KIBAKO_HOME for as long as it lives.
// With drives, its settings file maps C: and D: (fixed), E: (removable) and
// R: (CD-ROM) onto folders beside it; the previous drive table comes back
// afterwards.
class ProgramFolder {
  public:
    explicit ProgramFolder(bool withDrives = true);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    QString Home() const { return dir_.path() + QStringLiteral("/home"); }
    QString Drive(QChar letter) const;
    void MakeFolder(const QString& relativeHostPath) const;
    void WriteFile(const QString& relativeHostPath, const QByteArray& bytes) const;
    QByteArray ReadFile(const QString& relativeHostPath) const;
    bool Exists(const QString& relativeHostPath) const;

  private:
    QTemporaryDir dir_;
    platform::DriveTable previous_;
};

// The bytes of a definition file holding `body` (without the terminator).
QByteArray DefinitionFile(const QString& body);
// One entry as the definition body stores it.
QString EntryText(const QString& source, const QString& destination, const QString& last,
                  const QString& flags = QStringLiteral("00000000"));

}  // namespace catalog::testing
