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
        output = kibako.readAllStandardOutput();
        return kibako.exitStatus() == QProcess::NormalExit ? kibako.exitCode() : -2;
    }

    QTemporaryDir dir;
    QString home, c, d;
    QByteArray errors;
    QByteArray output;
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

// An LZH registration chosen in the destination view lists the archive's
// members in the file grid; its second column lists the source folder.
TEST_F(KibakoProgram, DestinationViewListsTheMembersOfAnLzhRegistration) {
    Write(c + QStringLiteral("/Data/notes.txt"), "note one\n");
    Write(c + QStringLiteral("/Data/写真/桜.jpg"), QByteArray(5000, 'j'));
    Write(c + QStringLiteral("/Data/empty.txt"), "");
    Write(home + QStringLiteral("/Kibako.Def"),
          store::DefinitionFileBytes(Entry(QStringLiteral("C:\\Data"),
                                           QStringLiteral("D:\\Backup\\Data.LZH"),
                                           QString(16, u' ')) +
                                     QChar(0)));
    // Back up into the archive, then open D: and Backup and put the cursor on
    // the registration: header 0, D: 1, Backup 2, Data.LZH 3.
    ASSERT_EQ(
        Run(QStringLiteral("backup-all,view-2,open-1,open-2,row-3,files,column-1,files,close")), 0)
        << errors.data();
    ASSERT_TRUE(QFile::exists(d + QStringLiteral("/Backup/Data.LZH")));
    const QStringList lines = QString::fromUtf8(output).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 8) << output.data();
    // The registration's destination exactly as stored.
    EXPECT_EQ(lines[0], QStringLiteral("DIRDSP=D:\\Backup\\Data.LZH "));
    const QStringList photo = lines[1].split(u'\t');
    ASSERT_EQ(photo.size(), 3);
    EXPECT_EQ(photo[0], QStringLiteral("桜.jpg"));
    EXPECT_EQ(photo[1].size(), 14) << photo[1].toStdString();
    EXPECT_EQ(photo[2], QStringLiteral("5,000"));
    // The archive's empty member is listed.
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("empty.txt\t")));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("\t0")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("notes.txt\t")));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("\t9")));
    EXPECT_EQ(lines[4], QStringLiteral("CONSOL= 3個のファイル  ( 5,009 bytes)"));
    // The second column: the source folder, whose empty file is left out.
    EXPECT_EQ(lines[5], QStringLiteral("DIRDSP=C:\\Data "));
    EXPECT_TRUE(lines[6].startsWith(QStringLiteral("notes.txt\t")));
    EXPECT_EQ(lines[7], QStringLiteral("CONSOL= 1個のファイル  ( 9 bytes)"));
}

TEST_F(KibakoProgram, UpdatedBackupWithNothingRegisteredLeavesNoDefinitionFile) {
    ASSERT_EQ(Run(QStringLiteral("backup-updated,close")), 0) << errors.data();
    EXPECT_FALSE(QFile::exists(home + QStringLiteral("/Kibako.Def")));
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("/CATDRV.DAT")));
}

}  // namespace

// Registering through the dialog: C:\Data\Photos into an LZH archive on D:
// with its sub-folders, backed up at once, and C:\Data\Docs on a removable
// medium chosen by browsing.
TEST_F(KibakoProgram, RegistersFoldersThroughTheDialog) {
    const QString e = dir.path() + QStringLiteral("/e");
    Write(home + QStringLiteral("/Kibako.INI"),
          "[Drives]\r\nC=fixed|" + QFile::encodeName(c) + "|SYS\r\nD=fixed|" +
              QFile::encodeName(d) + "|BAK\r\nE=removable|" + QFile::encodeName(e) + "|\r\n");
    Write(e + QStringLiteral("/VolName.DAT"), "\"USB1\"\r\n");
    Write(c + QStringLiteral("/Data/Docs/letter.txt"), "dear\n");
    Write(c + QStringLiteral("/Data/Photos/2024/sakura.jpg"), QByteArray(3000, 'p'));
    // Drive rows: C: 0, Data 1; opened: Docs 2, Photos 3.
    const QString script =
        QStringLiteral(
            "drive-C,open-1,row-3,register-open,entry-option-1,entry-dest=D:\\Backup\\Photos.LZH,"
            "entry-sub-1,entry-save,entry-register,row-2,register-open,entry-option-0,"
            "entry-browse=%1/Backup/保存先フォルダー名、または圧縮ファイル名,entry-register,"
            "view-1,open-1,open-2,rows,close")
            .arg(e);
    ASSERT_EQ(Run(script), 0) << errors.data();

    const QString never(16, u' ');
    // The settings view shown before the close took the never-backed-up
    // archive's time as the registration's last backup.
    const QString archiveTime = QFileInfo(d + QStringLiteral("/Backup/Photos.LZH"))
                                    .lastModified()
                                    .toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    // Before the close the settings view showed both registrations, each with
    // its destination and time: C: 1, Data 2, Docs 3, Photos 4 below the header.
    const QStringList rows = QString::fromUtf8(output).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 6) << output.data();
    EXPECT_EQ(rows[0], QStringLiteral("VIEW=1"));
    EXPECT_TRUE(rows[2].startsWith(QStringLiteral("C:"))) << rows[2].toStdString();
    EXPECT_TRUE(rows[3].startsWith(QStringLiteral("Data"))) << rows[3].toStdString();
    const QStringList docs = rows[4].split(u'\t');
    const QStringList photos = rows[5].split(u'\t');
    ASSERT_GE(docs.size(), 3) << rows[4].toStdString();
    ASSERT_GE(photos.size(), 3) << rows[5].toStdString();
    EXPECT_EQ(docs[0], QStringLiteral("Docs"));
    EXPECT_EQ(docs[1], QStringLiteral("(E)USB1\\Backup\\Docs"));
    EXPECT_EQ(docs[2].trimmed(), QString());
    EXPECT_EQ(photos[0], QStringLiteral("Photos"));
    EXPECT_EQ(photos[1], QStringLiteral("D:\\Backup\\Photos.LZH"));
    EXPECT_EQ(photos[2], archiveTime);
    const auto entry = [](const QString& source, const QString& destination, const QString& last,
                          const QString& flags) {
        return QChar(8) + source + QChar(2) + destination + QChar(3) + last + QChar(4) + flags +
               QChar(5) + QChar(6);
    };
    EXPECT_EQ(
        Read(home + QStringLiteral("/Kibako.Def")),
        store::DefinitionFileBytes(
            entry(QStringLiteral("C:\\Data\\Docs"), QStringLiteral("(E)USB1\\Backup\\Docs"), never,
                  QStringLiteral("00000000")) +
            entry(QStringLiteral("C:\\Data\\Photos"), QStringLiteral("D:\\Backup\\Photos.LZH"),
                  archiveTime, QStringLiteral("20000000")) +
            QChar(0)));
    QProcess lhasa;
    lhasa.start(QStringLiteral("lhasa"),
                {QStringLiteral("t"), d + QStringLiteral("/Backup/Photos.LZH")});
    ASSERT_TRUE(lhasa.waitForFinished(30000));
    EXPECT_EQ(lhasa.exitCode(), 0) << lhasa.readAllStandardError().data();
    EXPECT_TRUE(lhasa.readAllStandardOutput().contains("sakura.jpg"));
}
