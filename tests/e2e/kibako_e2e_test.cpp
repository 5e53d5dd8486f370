// Starts the real kibako program on a temporary program folder, runs a
// backup through its test automation and closes it, then checks the files it
// wrote byte for byte.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "store/definition_file.h"

namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// An entry that includes its sub-folders.
QString Entry(const QString& source, const QString& destination, const QString& last) {
    return QChar(8) + source + QChar(2) + destination + QChar(3) + last + QChar(4) +
           QStringLiteral("10000000") + QChar(5) + QChar(6);
}

class KibakoProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "kibako_e2e_test";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
        ASSERT_TRUE(dir.isValid());
        home = dir.path() + QStringLiteral("/home");
        c = dir.path() + QStringLiteral("/c");
        d = dir.path() + QStringLiteral("/d");
        QDir().mkpath(home);
        QDir().mkpath(d + QStringLiteral("/Backup"));
        Write(home + QStringLiteral("/Kibako.INI"),
              "[Options]\r\nNewFileOnly= 0\r\n[Drives]\r\nC=fixed|" + QFile::encodeName(c) +
                  "|SYS\r\nD=fixed|" + QFile::encodeName(d) + "|BAK\r\n");
    }

    int Run(const QString& script) {
        QProcess kibako;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KIBAKO_HOME"), home);
        env.insert(QStringLiteral("KIBAKO_AUTOMATION"), script);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        kibako.setProcessEnvironment(env);
        kibako.start(qEnvironmentVariable("KIBAKO_BINARY"), {});
        if (!kibako.waitForFinished(60000)) {
            kibako.kill();
            return -1;
        }
        errors = kibako.readAllStandardError();
        return kibako.exitStatus() == QProcess::NormalExit ? kibako.exitCode() : -2;
    }

    QTemporaryDir dir;
    QString home, c, d;
    QByteArray errors;
};

TEST_F(KibakoProgram, BacksUpEverythingAndWritesItsFilesOnClose) {
    Write(c + QStringLiteral("/Data/notes.txt"), "note one\n");
    Write(c + QStringLiteral("/Data/写真/桜.jpg"), QByteArray(5000, 'j'));
    const QString never(16, u' ');
    Write(home + QStringLiteral("/Kibako.Def"),
          store::DefinitionFileBytes(
              Entry(QStringLiteral("C:\\Data"), QStringLiteral("D:\\Backup\\Data"), never) +
              QChar(0)));

    ASSERT_EQ(Run(QStringLiteral("view-2,drive-C,view-1,backup-all,close")), 0) << errors.data();

    EXPECT_EQ(Read(d + QStringLiteral("/Backup/Data/notes.txt")), "note one\n");
    EXPECT_EQ(Read(d + QStringLiteral("/Backup/Data/写真/桜.jpg")), QByteArray(5000, 'j'));
    // The definition file carries the new time and nothing else changed.
    const QByteArray def = Read(home + QStringLiteral("/Kibako.Def"));
    const qsizetype at = def.indexOf('\x03');
    ASSERT_GT(at, 0);
    const QString time = QString::fromLatin1(def.mid(at + 1, 16));
    EXPECT_TRUE(QDateTime::fromString(time, QStringLiteral("yyyy/MM/dd HH:mm")).isValid())
        << time.toStdString();
    EXPECT_EQ(def, store::DefinitionFileBytes(
                       Entry(QStringLiteral("C:\\Data"), QStringLiteral("D:\\Backup\\Data"), time) +
                       QChar(0)));
    QByteArray lines;
    for (int i = 0; i < 26; ++i) lines += "\r\n";
    EXPECT_EQ(Read(home + QStringLiteral("/CATDRV.DAT")), lines);
    const QByteArray ini = Read(home + QStringLiteral("/Kibako.INI"));
    EXPECT_TRUE(ini.contains("NewFileOnly= 0\r\n")) << ini.data();
    EXPECT_TRUE(ini.contains("AutoPowerOff= 0\r\n"));
    EXPECT_TRUE(ini.contains("FileColWidth2= 150\r\n"));
    EXPECT_TRUE(ini.contains("C=fixed|"));
}

TEST_F(KibakoProgram, UpdatedBackupWithNothingRegisteredLeavesNoDefinitionFile) {
    ASSERT_EQ(Run(QStringLiteral("backup-updated,close")), 0) << errors.data();
    EXPECT_FALSE(QFile::exists(home + QStringLiteral("/Kibako.Def")));
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("/CATDRV.DAT")));
}

}  // namespace
