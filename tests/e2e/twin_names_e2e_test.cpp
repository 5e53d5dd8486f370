// Folders whose names differ only in case, in blanks at their edges, or hold
// a control character, through the real kibako and tetoru: each row of the
// drive view lists, registers and backs up exactly the folder it shows, and
// the registrations come back from Kibako.Def as they were made.
#include "program_folder.h"
#include "store/definition_file.h"
#include "store/definition_list.h"
#include "support/text.h"

#include <QDir>

#include <gtest/gtest.h>

#include <map>

namespace {

using e2e::Display;
using e2e::ProgramFolder;
using testing_support::S;

struct Twin {
    QString name;      // the folder's name on the disk
    QString file;      // the one file in it
    QString shown;     // the name as the row shows it
    QString backupTo;  // the last part of its destination
};

const QString kControl = S("ctl") + QChar(0x01) + S("dir");

std::vector<Twin> Twins() {
    return {{S("Photos"), S("upper.txt"), S("Photos"), S("upper")},
            {S("photos"), S("lower.txt"), S("photos"), S("lower")},
            {S(" a "), S("spaced.txt"), S(" a "), S("spaced")},
            {S("a"), S("plain.txt"), S("a"), S("plain")},
            {kControl, S("control.txt"), S("ctl?dir"), S("control")}};
}

e2e::Finished RunKibako(const ProgramFolder& home, const QString& steps) {
    qputenv("KIBAKO_AUTOMATION", steps.toUtf8());
    e2e::Finished run =
        home.Run(e2e::BuiltProgram(S("src/catalog/kibako")), {}, Display::Offscreen);
    qunsetenv("KIBAKO_AUTOMATION");
    return run;
}

TEST(TwinNamesProgram, EachRowListsRegistersAndBacksUpExactlyItsOwnFolder) {
    ProgramFolder home;
    const std::vector<Twin> twins = Twins();
    QDir().mkpath(home.Host(S("d/B")));
    for (const Twin& twin : twins)
        home.WriteFile(S("c/") + twin.name + u'/' + twin.file, twin.file.toUtf8());

    // The drive view's rows, to find each folder's row.
    const e2e::Finished listed = RunKibako(home, S("view-0,drive-C,rows,close"));
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const QStringList rows = listed.out.section(S("VIEW=0\n"), 1).split(u'\n');
    std::map<QString, int> rowOf;
    for (int r = 0; r < rows.size(); ++r) rowOf[rows[r].section(u'\t', 0, 0)] = r;
    for (const Twin& twin : twins)
        ASSERT_TRUE(rowOf.count(twin.shown)) << twin.shown.toStdString() << "\n"
                                             << listed.out.toStdString();

    // Each row lists its own file, and is registered to its own destination.
    QString steps = S("view-0,drive-C");
    for (const Twin& twin : twins) {
        steps += S(",row-%1,files,register-open,entry-dest=D:\\B\\%2,entry-register")
                     .arg(rowOf[twin.shown])
                     .arg(twin.backupTo);
    }
    const e2e::Finished registered = RunKibako(home, steps + S(",close"));
    ASSERT_EQ(registered.exitCode, 0) << registered.err.toStdString();
    const QStringList listings = registered.out.split(S("DIRDSP="), Qt::SkipEmptyParts);
    ASSERT_EQ(listings.size(), static_cast<qsizetype>(twins.size()))
        << registered.out.toStdString();
    for (size_t i = 0; i < twins.size(); ++i) {
        const Twin& twin = twins[i];
        const QString listing = listings[static_cast<qsizetype>(i)];
        EXPECT_TRUE(listing.startsWith(S("C:\\") + twin.name + u' ')) << listing.toStdString();
        for (const Twin& other : twins) {
            EXPECT_EQ(listing.contains(u'\n' + other.file + u'\t'),
                      &other == &twin || other.file == twin.file)
                << twin.shown.toStdString() << " lists " << other.file.toStdString();
        }
    }

    // Kibako.Def holds each source exactly as the disk names it.
    const auto registrations = [&home] {
        const store::LoadResult loaded =
            store::ParseDefinitionBytes(home.Read(S("c/kibako/Kibako.Def")));
        std::map<QString, store::BackupEntry> bySource;
        for (const store::BackupEntry& entry : store::DefinitionList(loaded.body).Entries())
            bySource[entry.sourceFolder] = entry;
        return bySource;
    };
    auto stored = registrations();
    QStringList sources;
    for (const auto& [source, entry] : stored) sources << source;
    ASSERT_EQ(stored.size(), twins.size())
        << sources.join(u'|').toStdString() << registered.err.toStdString();
    for (const Twin& twin : twins) {
        const QString source = S("C:\\") + twin.name;
        ASSERT_TRUE(stored.count(source)) << source.toStdString();
        EXPECT_EQ(stored[source].destination, S("D:\\B\\") + twin.backupTo);
    }

    // Tetoru backs each folder up into its own destination, and nothing else.
    const e2e::Finished run =
        home.Run(e2e::BuiltProgram(S("src/tetoru/tetoru")), {}, Display::None);
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    for (const Twin& twin : twins) {
        const QStringList copied =
            QDir(home.Host(S("d/B/") + twin.backupTo)).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(copied, QStringList({twin.file})) << twin.shown.toStdString();
    }
    // The run's times went to the registrations it ran, sources unchanged.
    stored = registrations();
    ASSERT_EQ(stored.size(), twins.size());
    for (const Twin& twin : twins)
        EXPECT_FALSE(stored[S("C:\\") + twin.name].lastBackup.IsNever())
            << twin.shown.toStdString();
}

}  // namespace
