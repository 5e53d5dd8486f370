// Kills the real tetoru (SIGKILL) at many moments of a run and checks every
// file it writes: each backup copy is one whole version of its source, each
// archive passes an independent reader's test, the definition file loads
// without damage, and a later run leaves no temporary behind.
#include "program_folder.h"
#include "store/definition_file.h"
#include "util/program_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <signal.h>
#include <sys/wait.h>

#include <map>
#include <random>
#include <set>

#include <gtest/gtest.h>

namespace {

using e2e::ProgramFolder;

QString S(const char* text) { return QString::fromUtf8(text); }

constexpr qint64 kBaseTime = 1'600'000'000;
constexpr int kVersions = 2;
// The loop stops after this long or this many kills, whichever comes first.
constexpr qint64 kBudgetMs = 45'000;
constexpr int kMostKills = 400;

struct SourceFile {
    QString relative;  // under the program folder's parent, "c/src1/big.bin"
    qint64 size;
};

const std::vector<SourceFile>& Sources() {
    static const std::vector<SourceFile> files = [] {
        std::vector<SourceFile> list{
            {S("c/src1/big.bin"), 6'000'000}, {S("c/src1/sub/mid.bin"), 900'000},
            {S("c/src2/big.bin"), 1'500'000}, {S("c/src2/sub/b.txt"), 3'000},
            {S("c/src3/big.bin"), 1'500'000}, {S("c/src3/c.txt"), 2'000}};
        for (int i = 0; i < 30; ++i) list.push_back({S("c/src1/s%1.txt").arg(i), 1'000 + i * 97});
        return list;
    }();
    return files;
}

// Version `v` of a file: its own size and its own bytes, so that a copy can
// be told to be whole.
QByteArray Content(const SourceFile& file, int v) {
    QByteArray bytes(file.size + v * 13, static_cast<char>('a' + v));
    bytes.replace(0, std::min<qsizetype>(file.relative.size(), bytes.size()),
                  file.relative.toUtf8().left(bytes.size()));
    return bytes;
}

class CrashTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home.WriteDefinitions({{S("C:\\src1"), S("D:\\bak1")},
                               {S("C:\\src2"), S("D:\\arc.LZH")},
                               {S("C:\\src3"), S("D:\\arc.ZIP")}});
    }

    void WriteVersion(int v, qint64 mtime) {
        for (const SourceFile& file : Sources())
            home.WriteFile(file.relative, Content(file, v), mtime);
    }

    QProcessEnvironment Environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(S("KIBAKO_HOME"), home.Home());
        environment.remove(S("DISPLAY"));
        environment.remove(S("WAYLAND_DISPLAY"));
        environment.remove(S("QT_QPA_PLATFORM"));
        return environment;
    }

    // Starts tetoru and kills it after `delayUs`; -1 when it was killed,
    // else its exit status.
    int RunAndKill(qint64 delayUs) {
        QProcess process;
        process.setProcessEnvironment(Environment());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(e2e::BuiltProgram(S("src/tetoru/tetoru")), {});
        if (!process.waitForStarted()) return -2;
        if (delayUs >= 0) {
            QThread::usleep(static_cast<unsigned long>(delayUs));
            ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
        }
        process.waitForFinished(120'000);
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    static bool Passes(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(program, arguments);
        return process.waitForFinished(60'000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    // Everything wrong with the files tetoru writes, one line each.
    QStringList Violations() const {
        QStringList found;
        for (const SourceFile& file : Sources()) {
            if (!file.relative.startsWith(S("c/src1/"))) continue;
            const QString backup = S("d/bak1/") + file.relative.mid(7);
            if (!home.Exists(backup)) continue;
            const QByteArray bytes = home.Read(backup);
            bool whole = false;
            for (int v = 0; v < kVersions; ++v) whole = whole || bytes == Content(file, v);
            if (!whole) found << S("partial copy: ") + backup;
        }
        QDirIterator visible(home.Host(S("d/bak1")), QDir::Files, QDirIterator::Subdirectories);
        while (visible.hasNext()) {
            const QString name = visible.next();
            if (!QFileInfo(name).fileName().startsWith(S("s")) && !name.endsWith(S("big.bin")) &&
                !name.endsWith(S("mid.bin"))) {
                found << S("stray file: ") + name;
            }
        }
        if (home.Exists(S("d/arc.LZH")) && !lhasa.isEmpty() &&
            !Passes(lhasa, {S("t"), home.Host(S("d/arc.LZH"))})) {
            found << S("damaged LZH archive");
        }
        if (home.Exists(S("d/arc.ZIP")) && !unzip.isEmpty() &&
            !Passes(unzip, {S("-tqq"), home.Host(S("d/arc.ZIP"))})) {
            found << S("damaged ZIP archive");
        }
        const store::LoadResult loaded =
            store::ParseDefinitionBytes(home.Read(S("c/kibako/Kibako.Def")));
        if (!loaded.warning.isEmpty() || store::DefinitionList(loaded.body).Entries().size() != 3) {
            found << S("damaged definition file");
        }
        return found;
    }

    // Files of our temporary pattern, and visible leftovers beside the archives.
    QStringList Temporaries() const {
        QStringList found;
        for (const char* folder : {"d", "c/kibako"}) {
            QDirIterator it(home.Host(S(folder)), QDir::Files | QDir::Hidden,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString name = QFileInfo(it.next()).fileName();
                if (name.startsWith(S(".kibako-")) || name.startsWith(S("arc.ZIP.")) ||
                    name.startsWith(S("arc.LZH.")) || name.startsWith(S(".arc."))) {
                    found << name;
                }
            }
        }
        return found;
    }

    ProgramFolder home;
    const QString lhasa = QStandardPaths::findExecutable(S("lhasa"));
    const QString unzip = QStandardPaths::findExecutable(S("unzip"));
};

TEST_F(CrashTest, EveryFileIsWholeWhereverTetoruIsKilled) {
    WriteVersion(0, kBaseTime);
    ASSERT_EQ(RunAndKill(-1), 0);
    ASSERT_TRUE(Violations().isEmpty()) << Violations().join(u'\n').toStdString();

    // How long a run that copies everything takes: the kills fall within it.
    WriteVersion(1, kBaseTime + 10);
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(RunAndKill(-1), 0);
    const qint64 runUs = std::max<qint64>(timer.nsecsElapsed() / 1000, 50'000);

    std::mt19937 random(20261208);
    std::uniform_int_distribution<qint64> delay(0, runUs + runUs / 5);
    QElapsedTimer budget;
    budget.start();
    int kills = 0;
    int finished = 0;
    QStringList violations;
    for (int i = 2; budget.elapsed() < kBudgetMs && kills + finished < kMostKills; ++i) {
        WriteVersion(i % kVersions, kBaseTime + 10 * i);
        const int status = RunAndKill(delay(random));
        (status == -1 ? kills : finished) += 1;
        for (const QString& violation : Violations()) {
            violations << S("run %1: ").arg(i) + violation;
        }
    }
    // A run that is not killed removes what the killed ones left behind.
    WriteVersion(0, kBaseTime + 100'000);
    EXPECT_EQ(RunAndKill(-1), 0);
    const QStringList leftovers = Temporaries();
    std::printf(
        "crash test: %d runs killed, %d finished before the kill, %lld us per run, "
        "%lld violations, %lld temporaries left after a clean run\n",
        kills, finished, static_cast<long long>(runUs), static_cast<long long>(violations.size()),
        static_cast<long long>(leftovers.size()));
    RecordProperty("kills", kills);
    RecordProperty("violations", static_cast<int>(violations.size()));
    EXPECT_GT(kills, 20);
    EXPECT_TRUE(violations.isEmpty()) << violations.join(u'\n').toStdString();
    EXPECT_TRUE(leftovers.isEmpty()) << leftovers.join(u' ').toStdString();
    EXPECT_TRUE(Violations().isEmpty());
    for (const SourceFile& file : Sources()) {
        if (file.relative.startsWith(S("c/src1/"))) {
            EXPECT_EQ(home.Read(S("d/bak1/") + file.relative.mid(7)), Content(file, 0));
        }
    }
}

// Tetoru waits at its gate before its save while another program saves the
// file (a registration added); then Tetoru is killed at some moment of its
// merged save. The file is then either the other program's version or that
// version with Tetoru's times merged in, never anything in between. Many
// registrations that need no run make the merged save long enough to hit.
class MergedSaveCrashTest : public CrashTest {
  protected:
    static constexpr int kPadding = 3000;

    void SetUp() override {
        std::vector<std::pair<QString, QString>> entries{{S("C:\\m1"), S("D:\\m1")},
                                                         {S("C:\\m2"), S("D:\\m2")}};
        for (int i = 0; i < kPadding; ++i) {
            const QString name = S("pad\\%1").arg(i, 4, 10, QChar(u'0'));
            entries.emplace_back(S("C:\\") + name, S("D:\\") + name);
        }
        home.WriteDefinitions(entries);
        // The padding folders exist, empty, and were backed up already: an
        // updated-only run passes them over.
        store::DefinitionList list(store::LoadDefinitions(Definitions()).body);
        for (int i = 0; i < kPadding; ++i) {
            QDir().mkpath(home.Host(S("c/pad/%1").arg(i, 4, 10, QChar(u'0'))));
            list.SetLastBackup(S("C:\\pad\\%1").arg(i, 4, 10, QChar(u'0')),
                               store::BackupTime::FromText(S("2026/01/01 00:00")));
        }
        initial = store::DefinitionFileBytes(list.Body());
        home.WriteSettings({S("NewFileOnly=1")});
    }

    // The definition file as this test process reaches it.
    QString Definitions() const {
        return util::DrivePathOfHostPath(platform::HostPath(home.Host(S("c/kibako/Kibako.Def"))),
                                         platform::HostPath(home.Host(S("c"))))
            .value_or(platform::DrivePath())
            .text();
    }

    // The other program's save while Tetoru waits: one registration more.
    QByteArray SaveAsTheOtherProgram(int run) const {
        const QString path = Definitions();
        store::DefinitionList list(store::LoadDefinitions(path).body);
        store::BackupEntry other;
        other.sourceFolder = S("C:\\other%1").arg(run);
        other.destination = S("D:\\other");
        list.PutEntry(other);
        if (!store::SaveDefinitions(path, list)) return {};
        return home.Read(S("c/kibako/Kibako.Def"));
    }

    // Runs Tetoru to its gate, lets the other program save, releases it and
    // kills it `delayUs` later (never, when negative). -1 when it was killed.
    int RunHeldAndKill(int run, qint64 delayUs, QByteArray& otherVersion) {
        home.WriteFile(S("c/kibako/Kibako.Def"), initial);
        home.WriteFile(S("c/m1/f.txt"), QByteArray::number(run), kBaseTime + run);
        home.WriteFile(S("c/m2/f.txt"), QByteArray::number(run), kBaseTime + run);
        e2e::TestGate gate(home.Host(S("tetoru.gate")));
        QProcessEnvironment environment = Environment();
        environment.insert(S("TETORU_TEST_HOLD_BEFORE_SAVE"), home.Host(S("tetoru.gate")));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(e2e::BuiltProgram(S("src/tetoru/tetoru")), {});
        if (!gate.WaitUntilReached()) {
            process.kill();
            process.waitForFinished();
            return -2;
        }
        otherVersion = SaveAsTheOtherProgram(run);
        gate.Release();
        QElapsedTimer released;
        released.start();
        if (delayUs >= 0) {
            QThread::usleep(static_cast<unsigned long>(delayUs));
            ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
        }
        process.waitForFinished(120'000);
        releasedToExitUs = released.nsecsElapsed() / 1000;
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // "old", "new", or what is wrong with the file.
    QString Outcome(const QByteArray& otherVersion, int run) const {
        const QByteArray bytes = home.Read(S("c/kibako/Kibako.Def"));
        if (bytes == otherVersion) return S("old");
        const store::LoadResult loaded = store::ParseDefinitionBytes(bytes);
        if (!loaded.warning.isEmpty()) return S("damaged");
        if (bytes != store::DefinitionFileBytes(loaded.body)) return S("not as written");
        store::DefinitionList merged(store::ParseDefinitionBytes(otherVersion).body);
        const store::DefinitionList now(loaded.body);
        if (!now.EntryOf(S("C:\\other%1").arg(run))) return S("the other save was undone");
        for (const char* source : {"C:\\m1", "C:\\m2"}) {
            const std::optional<store::BackupEntry> entry = now.EntryOf(S(source));
            if (!entry || !entry->lastBackup.When()) return S("a time is missing");
            merged.SetLastBackup(S(source), entry->lastBackup);
        }
        return merged.Body() == loaded.body ? S("new") : S("more than the times changed");
    }

    QByteArray initial;
    qint64 releasedToExitUs = 0;
};

TEST_F(MergedSaveCrashTest, AKilledMergedSaveLeavesTheOldFileOrTheNew) {
    QByteArray otherVersion;
    ASSERT_EQ(RunHeldAndKill(0, -1, otherVersion), 0);
    ASSERT_EQ(Outcome(otherVersion, 0), S("new"));
    // From the release to the exit: the merged save and the rest of the exit.
    const qint64 saveUs = std::max<qint64>(releasedToExitUs, 10'000);

    std::mt19937 random(20261209);
    std::uniform_int_distribution<qint64> delay(0, saveUs);
    QElapsedTimer budget;
    budget.start();
    std::map<QString, int> outcomes;
    QStringList violations;
    for (int run = 1; budget.elapsed() < kBudgetMs / 3 && run < 120; ++run) {
        const int status = RunHeldAndKill(run, delay(random), otherVersion);
        ASSERT_NE(status, -2) << "tetoru never reached its gate";
        const QString outcome = Outcome(otherVersion, run);
        ++outcomes[status == -1 ? S("killed, ") + outcome : S("finished, ") + outcome];
        if (outcome != S("old") && outcome != S("new"))
            violations << S("run %1: ").arg(run) + outcome;
    }
    for (const auto& [outcome, count] : outcomes)
        std::printf("merged save crash test: %s: %d\n", qPrintable(outcome), count);
    EXPECT_GT(outcomes[S("killed, old")], 0);
    EXPECT_TRUE(violations.isEmpty()) << violations.join(u'\n').toStdString();
    EXPECT_EQ(RunHeldAndKill(0, -1, otherVersion), 0);
    EXPECT_TRUE(Temporaries().isEmpty()) << Temporaries().join(u' ').toStdString();
}

// With history kept and delete-missing on, tetoru is killed at many moments
// of runs that replace some backups and delete others: every version a run
// ever left in the backup is afterwards in the backup or in its history,
// never in neither.
class HistoryCrashTest : public CrashTest {
  protected:
    void SetUp() override {
        store::DefinitionList list;
        store::BackupEntry entry;
        entry.sourceFolder = S("C:\\src1");
        entry.destination = S("D:\\bak1");
        entry.subFolders = store::SubFolders::EachAsEntry;
        entry.deleteMissing = true;
        list.PutEntry(entry);
        home.WriteFile(S("c/kibako/Kibako.Def"), store::DefinitionFileBytes(list.Body()));
        home.WriteSettings({S("HistoryDays=30")});
    }

    // Run `v`'s source: every file in its own version, the first ten small
    // files only in even runs (odd runs delete their backups).
    void WriteRun(int v) {
        for (const SourceFile& file : Sources()) {
            if (!file.relative.startsWith(S("c/src1/"))) continue;
            const bool present = v % 2 == 0 || !Dropped(file);
            if (present) {
                home.WriteFile(file.relative, Content(file, v), kBaseTime + 10 * v);
            } else {
                QFile::remove(home.Host(file.relative));
            }
        }
    }

    static bool Dropped(const SourceFile& file) {
        const QString name = QFileInfo(file.relative).fileName();
        return name.startsWith(S("s")) && name.size() == 6;  // s0.txt to s9.txt
    }

    // Path below the backup -> every content held for it, in the backup or
    // in any run's history.
    std::map<QString, std::set<QByteArray>> Held() const {
        std::map<QString, std::set<QByteArray>> held;
        const QString root = home.Host(S("d/bak1"));
        QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            // A copy's unfinished temporary is no version of anything.
            if (QFileInfo(path).fileName().startsWith(S(".kibako-"))) continue;
            QString relative = QDir(root).relativeFilePath(path);
            if (relative.startsWith(S(".kibako-history/"))) {
                relative = relative.section(u'/', 2);
            }
            QFile file(path);
            if (file.open(QIODevice::ReadOnly)) held[relative].insert(file.readAll());
        }
        return held;
    }
};

TEST_F(HistoryCrashTest, AKilledRunLeavesEveryFileInTheBackupOrInTheHistory) {
    WriteRun(0);
    ASSERT_EQ(RunAndKill(-1), 0);
    WriteRun(1);
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(RunAndKill(-1), 0);
    const qint64 runUs = std::max<qint64>(timer.nsecsElapsed() / 1000, 50'000);

    // What the backup held before each run must still be held after it.
    std::map<QString, std::set<QByteArray>> seen = Held();
    std::mt19937 random(20261209);
    std::uniform_int_distribution<qint64> delay(0, runUs + runUs / 5);
    QElapsedTimer budget;
    budget.start();
    int kills = 0;
    QStringList lost;
    for (int v = 2; budget.elapsed() < kBudgetMs / 2 && v < kMostKills; ++v) {
        WriteRun(v);
        if (RunAndKill(delay(random)) == -1) ++kills;
        const auto held = Held();
        for (const auto& [relative, contents] : seen) {
            for (const QByteArray& content : contents) {
                const auto it = held.find(relative);
                if (it == held.end() || !it->second.contains(content)) {
                    lost << S("run %1: a version of %2 is gone").arg(v).arg(relative);
                }
            }
        }
        seen = held;
    }
    std::printf("history crash test: %d runs killed, %lld versions lost\n", kills,
                static_cast<long long>(lost.size()));
    EXPECT_GT(kills, 10);
    EXPECT_TRUE(lost.isEmpty()) << lost.mid(0, 20).join(u'\n').toStdString();
    EXPECT_EQ(RunAndKill(-1), 0);
    EXPECT_TRUE(Temporaries().isEmpty()) << Temporaries().join(u' ').toStdString();
}

}  // namespace
