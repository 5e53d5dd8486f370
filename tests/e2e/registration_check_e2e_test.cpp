// The check of the registered folders through the real kibako: a folder moved
// from C: to D: is found, its registrations are rewritten, and the corrected
// list is saved under the proposed new name.
#include "program_folder.h"
#include "store/definition_file.h"
#include "support/text.h"

#include <QDate>
#include <QDir>

#include <gtest/gtest.h>

namespace {

using e2e::Display;
using e2e::ProgramFolder;
using testing_support::S;

QString Entry(const QString& source, const QString& destination, const QString& flags) {
    return QChar(8) + source + QChar(2) + destination + QChar(3) + QString(16, u' ') + QChar(4) +
           flags + QChar(5) + QChar(6);
}

TEST(RegistrationCheckProgram, RewritesAMovedFolderAndSavesUnderTheProposedName) {
    ProgramFolder home;
    // C:\DATA was moved to D:\DATA; C:\DATA2 and C:\DOCS stayed; C:\GONE is gone.
    QDir().mkpath(home.Host(S("d/DATA/WORK")));
    QDir().mkpath(home.Host(S("c/DATA2")));
    QDir().mkpath(home.Host(S("c/DOCS")));
    const QString body = Entry(S("C:\\DATA"), S("D:\\BACKUP\\DATA"), S("10000000")) +
                         Entry(S("C:\\Data\\Work"), S("D:\\BACKUP\\DATA\\Work"), S("10000000")) +
                         Entry(S("C:\\DATA2"), S("D:\\BACKUP\\DATA2.LZH"), S("20000000")) +
                         Entry(S("C:\\DOCS"), S("C:\\Data\\Docs"), S("00000000")) +
                         Entry(S("C:\\GONE"), S("D:\\BACKUP\\GONE"), S("00000000")) + QChar(0);
    const QByteArray before = store::DefinitionFileBytes(body);
    home.WriteFile(S("c/kibako/Kibako.Def"), before);

    const QString name = S("Kibako") + QDate::currentDate().toString(S("MMdd"));
    // Yes to the move, Yes to forgetting C:\GONE, Yes to a new name.
    qputenv("KIBAKO_AUTOMATION",
            (S("answer-6,answer-6,answer-6,input=") + name + S(",check,wait-200,open-1,rows,close"))
                .toUtf8());
    const e2e::Finished run =
        home.Run(e2e::BuiltProgram(S("src/catalog/kibako")), {}, Display::Offscreen);
    qunsetenv("KIBAKO_AUTOMATION");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    // Sorted by source; the moved part takes the new spelling; C:\Data\Work
    // (missing too) went with C:\DATA without a question of its own.
    const QString corrected =
        Entry(S("C:\\DATA2"), S("D:\\BACKUP\\DATA2.LZH"), S("20000000")) +
        Entry(S("C:\\DOCS"), S("D:\\DATA\\Docs"), S("00000000")) +
        Entry(S("D:\\DATA"), S("D:\\BACKUP\\DATA"), S("10000000")) +
        Entry(S("D:\\DATA\\Work"), S("D:\\BACKUP\\DATA\\Work"), S("10000000")) + QChar(0);
    const QByteArray saved = home.Read(S("c/kibako/") + name + S(".Def"));
    EXPECT_EQ(saved, store::DefinitionFileBytes(corrected)) << saved.toStdString();
    // The old file is left as it was.
    EXPECT_EQ(home.Read(S("c/kibako/Kibako.Def")), before);
    EXPECT_TRUE(QString::fromUtf8(home.Read(S("c/kibako/Kibako.INI")))
                    .contains(S("CatalogName=C:\\kibako\\") + name + S(".Def")))
        << home.Read(S("c/kibako/Kibako.INI")).toStdString();
    // The settings view was rebuilt from the corrected list.
    const QString rows = run.out.section(S("VIEW="), 1);
    EXPECT_TRUE(rows.startsWith(S("1\n"))) << run.out.toStdString();
    EXPECT_TRUE(rows.contains(S("バックアップ設定\tC:\\kibako\\") + name + S(".Def")))
        << rows.toStdString();
    EXPECT_TRUE(rows.contains(S("DOCS\tD:\\DATA\\Docs"))) << rows.toStdString();
    EXPECT_FALSE(rows.contains(S("GONE"))) << rows.toStdString();
}

}  // namespace
