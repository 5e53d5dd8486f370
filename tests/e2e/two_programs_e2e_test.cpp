// Kibako and Tetoru save one definition file. Each test holds one real
// program at a gate between its reading of the file and its save while the
// other real program changes the file, then lets it go on: neither save may
// undo the other's.
#include "program_folder.h"
#include "store/definition_file.h"
#include "store/definition_list.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using e2e::Display;
using e2e::Finished;
using e2e::ProgramFolder;

QString S(const char* text) { return QString::fromUtf8(text); }

class TwoPrograms : public ::testing::Test {
  protected:
    void SetUp() override {
        home.WriteFile(S("c/a/f.txt"), "a");
        home.WriteFile(S("c/b/f.txt"), "b");
        home.WriteFile(S("c/n/f.txt"), "n");
        home.WriteDefinitions({{S("C:\\a"), S("D:\\a")}, {S("C:\\b"), S("D:\\b")}});
        startedAt = QDateTime::currentDateTime().addSecs(-60);
    }

    QProcessEnvironment KibakoEnvironment(const QString& script) const {
        QProcessEnvironment environment = home.Environment(Display::Offscreen);
        environment.insert(S("KIBAKO_AUTOMATION"), script);
        return environment;
    }
    static void Start(QProcess& process, const QString& program,
                      const QProcessEnvironment& environment) {
        process.setProcessEnvironment(environment);
        process.start(e2e::BuiltProgram(program), {});
    }
    // The drive view of C: lists a, b, kibako and n; the window deletes the
    // registration of b and registers n, then holds at `gate` when given one.
    QString EditScript(const QString& gate) const {
        QString script =
            S("drive-C,row-2,delete,row-4,register-open,entry-option-0,"
              "entry-dest=D:\\n,entry-register,");
        if (!gate.isEmpty()) script += S("hold=") + gate + u',';
        return script + S("close");
    }

    // Tetoru's time for a, Kibako's registration of n, b gone, and the file
    // byte for byte as the list it holds would be written.
    void ExpectBothProgramsWork() const {
        const QByteArray bytes = home.Read(S("c/kibako/Kibako.Def"));
        const store::LoadResult loaded = store::ParseDefinitionBytes(bytes);
        ASSERT_TRUE(loaded.warning.isEmpty());
        EXPECT_EQ(bytes, store::DefinitionFileBytes(loaded.body));
        const store::DefinitionList list(loaded.body);
        const std::optional<store::BackupEntry> a = list.EntryOf(S("C:\\a"));
        ASSERT_TRUE(a.has_value());
        const std::optional<QDateTime> ran = a->lastBackup.When();
        ASSERT_TRUE(ran.has_value()) << a->lastBackup.Text().toStdString();
        EXPECT_GE(*ran, startedAt);
        EXPECT_FALSE(list.EntryOf(S("C:\\b")).has_value()) << "a deleted registration came back";
        const std::optional<store::BackupEntry> n = list.EntryOf(S("C:\\n"));
        ASSERT_TRUE(n.has_value()) << loaded.body.toStdString();
        EXPECT_EQ(n->destination, S("D:\\n"));
        EXPECT_EQ(list.Entries().size(), 2u);
    }

    ProgramFolder home;
    QDateTime startedAt;
};

// Tetoru has run a and b and waits to save; meanwhile the window deletes b,
// registers n and closes. Tetoru's save then adds its time for a only.
TEST_F(TwoPrograms, TetoruSavingAfterKibakoKeepsKibakosEdits) {
    e2e::TestGate gate(home.Host(S("tetoru.gate")));
    QProcessEnvironment environment = home.Environment(Display::None);
    environment.insert(S("TETORU_TEST_HOLD_BEFORE_SAVE"), home.Host(S("tetoru.gate")));
    QProcess tetoru;
    Start(tetoru, S("src/tetoru/tetoru"), environment);
    ASSERT_TRUE(gate.WaitUntilReached());

    QProcess kibako;
    Start(kibako, S("src/catalog/kibako"), KibakoEnvironment(EditScript(QString())));
    const Finished edited = e2e::Wait(kibako);
    ASSERT_EQ(edited.exitCode, 0) << edited.err.toStdString();

    gate.Release();
    const Finished ran = e2e::Wait(tetoru);
    ASSERT_EQ(ran.exitCode, 0) << ran.err.toStdString();
    EXPECT_EQ(home.Read(S("d/b/f.txt")), "b");  // b was backed up before it was deleted
    ExpectBothProgramsWork();
}

// The window deletes b and registers n, then waits before its close; Tetoru
// runs a and b meanwhile and saves. The window's save keeps Tetoru's time
// for a and does not bring b back.
TEST_F(TwoPrograms, KibakoSavingAfterTetoruKeepsTetorusTimes) {
    e2e::TestGate gate(home.Host(S("kibako.gate")));
    QProcess kibako;
    Start(kibako, S("src/catalog/kibako"),
          KibakoEnvironment(EditScript(home.Host(S("kibako.gate")))));
    ASSERT_TRUE(gate.WaitUntilReached());

    QProcess tetoru;
    Start(tetoru, S("src/tetoru/tetoru"), home.Environment(Display::None));
    const Finished ran = e2e::Wait(tetoru);
    ASSERT_EQ(ran.exitCode, 0) << ran.err.toStdString();
    ASSERT_TRUE(
        store::DefinitionList(store::ParseDefinitionBytes(home.Read(S("c/kibako/Kibako.Def"))).body)
            .EntryOf(S("C:\\b"))
            ->lastBackup.When()
            .has_value());

    gate.Release();
    const Finished edited = e2e::Wait(kibako);
    ASSERT_EQ(edited.exitCode, 0) << edited.err.toStdString();
    ExpectBothProgramsWork();
}

}  // namespace
