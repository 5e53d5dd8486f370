#include "engine/windows/qt_engine_ui.h"
#include "engine/backup_run.h"
#include "engine/engine.h"
#include "engine/windows/overwrite_form.h"
#include "support/shown_windows.h"
#include "support/temp_drives.h"
#include "support/text.h"
#include "support/window_checks.h"
#include "widgets/beep.h"
#include "widgets/preset_answers.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

using engine::windows::BackForm;
using engine::windows::QtEngineUi;
using namespace testing_support;
using namespace std::chrono_literals;

namespace {

using testing_support::S;

using testing_support::Poller;
using testing_support::ShownWindow;

class QtEngineUiTest : public ::testing::Test {
  protected:
    QtEngineUiTest() : ui(BackForm::Variant::Kibako), engine(ui) {
        ui.AttachEngine(&engine);
        widgets::SetBeepForTesting([this] { ++beeps; });
        drives.Map(u'D', platform::DriveType::Fixed);
    }
    ~QtEngineUiTest() override {
        ui.AttachEngine(nullptr);
        widgets::SetBeepForTesting({});
        widgets::presets::ClearPresets();
    }

    void AddEntry(const QString& source, const QString& destination) {
        store::BackupEntry entry;
        entry.sourceFolder = source;
        entry.destination = destination;
        entry.lastBackup = store::BackupTime();
        entry.subFolders = store::SubFolders::EachAsEntry;
        list.PutEntry(entry);
    }

    HangGuard guard{60000};
    TempDrives drives;
    QtEngineUi ui;
    engine::Engine engine;
    store::DefinitionList list;
    int beeps = 0;
};

TEST_F(QtEngineUiTest, PresetAnswersTakeThePlaceOfTheBox) {
    widgets::presets::SetNextAnswer(util::Answer::Cancel);
    EXPECT_EQ(ui.StandardMessageWithIcon(S("書込み禁止"), util::Buttons::OkCancel, util::Answer::Ok,
                                         engine::MessageIcon::Exclamation),
              util::Answer::Cancel);
    const auto answered = widgets::presets::TakeAnsweredMessages();
    ASSERT_EQ(answered.size(), 1u);
    EXPECT_EQ(answered[0].message.text, S("書込み禁止"));
    EXPECT_EQ(answered[0].message.icon, widgets::BoxIcon::Exclamation);
    EXPECT_TRUE(widgets::presets::TakeAnsweredMessages().empty());
}

TEST_F(QtEngineUiTest, ShowsTheStandardBoxWhenNothingIsPreset) {
    QString title;
    QTimer::singleShot(0, [&title] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(ui.StandardMessage(S("よろしいですか"), util::Buttons::YesNo, util::Answer::No),
              util::Answer::No);
    EXPECT_EQ(title, util::ProgramTitle());
}

TEST_F(QtEngineUiTest, OlderFileQuestionPutAwayUnreadKeepsTheBackup) {
    engine::OlderFile file;
    file.fileName = S("a.txt");
    auto answerWith = [this, &file](const std::function<void(QWidget&)>& act) {
        QTimer::singleShot(0, [act] {
            if (QWidget* form = ShownWindow("OverwriteForm")) act(*form);
        });
        return ui.AskOlderFile(file);
    };
    auto closeBox = [](QWidget& form) { form.windowHandle()->close(); };
    auto escape = [](QWidget& form) { QTest::keyClick(&form, Qt::Key_Escape); };
    auto yes = [](QWidget& form) { Child<QPushButton>(form, "YESBTN")->click(); };
    auto no = [](QWidget& form) { Child<QPushButton>(form, "NOBTN")->click(); };
    EXPECT_EQ(answerWith(closeBox), util::Answer::No);
    EXPECT_EQ(answerWith(yes), util::Answer::Yes);
    EXPECT_EQ(answerWith(escape), util::Answer::No);
    EXPECT_EQ(answerWith(no), util::Answer::No);
    ASSERT_NE(ui.OverwriteWindow(), nullptr);
    EXPECT_EQ(Child<QLabel>(*ui.OverwriteWindow(), "NAMDSP")->text(), S("a.txt"));
}

TEST_F(QtEngineUiTest, UnattendedRunLeavesTheNewerBackupWhenNobodyAnswers) {
    drives.WriteFile(S("C:\\src\\a.txt"), "older", 1'600'000'000);
    drives.WriteFile(S("D:\\bak\\a.txt"), "newer", 1'700'000'000);
    AddEntry(S("C:\\src"), S("D:\\bak"));
    ui.SetOlderFileTimeout(50ms);
    engine.SetUnattended(true);
    EXPECT_EQ(engine::RunBackupAll(engine, list), 1);
    EXPECT_EQ(drives.ReadFile(S("D:\\bak\\a.txt")), QByteArray("newer"));
    ASSERT_NE(ui.OverwriteWindow(), nullptr);
    EXPECT_FALSE(ui.OverwriteWindow()->isVisible());
}

// A run that cannot update its archive tells why in the standard box; in an
// unattended run the box closes itself, so the run goes on to its end.
TEST_F(QtEngineUiTest, UnattendedRunIsNotHeldByAMessageNobodyAnswers) {
    drives.WriteFile(S("C:\\src\\a.txt"), "a");
    drives.WriteFile(S("D:\\bak.ZIP"), "this is no archive");
    AddEntry(S("C:\\src"), S("D:\\bak.ZIP"));
    ui.SetMessageTimeout(50ms);
    engine.SetUnattended(true);
    QElapsedTimer run;
    run.start();
    EXPECT_EQ(engine::RunBackupAll(engine, list), 0);
    EXPECT_LT(run.elapsed(), 30'000);
    EXPECT_EQ(ShownWindow("StandardBox"), nullptr);
    EXPECT_EQ(drives.ReadFile(S("D:\\bak.ZIP")), QByteArray("this is no archive"));
}

TEST_F(QtEngineUiTest, AttendedRunWaitsForTheOlderFileAnswer) {
    drives.WriteFile(S("C:\\src\\a.txt"), "older", 1'600'000'000);
    drives.WriteFile(S("D:\\bak\\a.txt"), "newer", 1'700'000'000);
    AddEntry(S("C:\\src"), S("D:\\bak"));
    ui.SetOlderFileTimeout(50ms);
    QElapsedTimer shown;
    bool openAfterTimeout = false;
    Poller poller([&] {
        QWidget* form = ShownWindow("OverwriteForm");
        if (form == nullptr) return false;
        if (!shown.isValid()) shown.start();
        if (shown.elapsed() < 300) return false;
        openAfterTimeout = true;
        Child<QPushButton>(*form, "YESBTN")->click();
        return true;
    });
    EXPECT_EQ(engine::RunBackupAll(engine, list), 1);
    EXPECT_TRUE(openAfterTimeout);
    EXPECT_EQ(drives.ReadFile(S("D:\\bak\\a.txt")), QByteArray("older"));
}

TEST_F(QtEngineUiTest, DriveQuestionIsAskedOverItsOwner) {
    QWidget catalog;
    catalog.show();
    ui.SetOwnerWindow(engine::Owner::Caller, &catalog);
    EXPECT_EQ(ui.OwnerWindow(engine::Owner::Progress), &ui.Progress());
    bool ownerDisabled = false;
    QString title;
    QTimer::singleShot(0, [&] {
        QWidget* form = ShownWindow("MediaForm");
        ASSERT_NE(form, nullptr);
        ownerDisabled = !catalog.isEnabled();
        title = Child<QLabel>(*form, "LBLDSP")->text();
        Child<QPushButton>(*form, "OKBTN")->click();
    });
    const engine::DriveChoice choice =
        ui.AskDrive(engine::Owner::Caller, S("写真"), S("ZIP、MO"), S("E:\\"), false);
    EXPECT_EQ(choice.drive, S("E:"));
    EXPECT_FALSE(choice.timedOut);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(catalog.isEnabled());
    EXPECT_EQ(title, S("写真"));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(ShownWindow("MediaForm"), nullptr);
}

TEST_F(QtEngineUiTest, BusyCursorIsOneState) {
    ui.SetBusyCursor(true);
    ui.SetBusyCursor(true);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.SetBusyCursor(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    ui.SetBusyCursor(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(QtEngineUiTest, EventsRunAtMostOnceAnIntervalButAfterEachChunk) {
    ui.SetEventInterval(std::chrono::hours(1));
    int served = 0;
    auto post = [&served] { QTimer::singleShot(0, [&served] { ++served; }); };
    ui.ShowProgress();
    post();
    ui.LetEventsRun();
    EXPECT_EQ(served, 1);
    post();
    ui.LetEventsRun();
    EXPECT_EQ(served, 1);
    ui.SetFileProgress(4, 10);
    ui.LetEventsRun();
    EXPECT_EQ(served, 2);
    ui.HideProgress();
}

QByteArray Pattern(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 4099) & 0xFF);
    return bytes;
}

// Counts the paints of a widget.
class PaintCounter final : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
};

TEST_F(QtEngineUiTest, ARunShowsTheBytesOfALargeFile) {
    const QByteArray large = Pattern(18 * 1024 * 1024);
    drives.WriteFile(S("C:\\src\\large.bin"), large);
    drives.WriteFile(S("C:\\src\\sub\\small.txt"), "small");
    AddEntry(S("C:\\src"), S("D:\\bak"));

    BackForm& form = ui.Progress();
    auto* bytes = Child<QLabel>(form, "BYTDSP");
    PaintCounter paints(bytes);
    QStringList shown;
    Poller sample([&] {
        if (bytes->isVisible() && !shown.contains(bytes->text())) shown.append(bytes->text());
        return false;
    });
    EXPECT_EQ(engine::RunBackupAll(engine, list), 1);

    EXPECT_TRUE(shown.contains(S("4,096 / 18,432 KB"))) << shown.join(u'|').toStdString();
    EXPECT_GE(shown.size(), 3);
    EXPECT_GT(paints.paints, 0);
    EXPECT_EQ(drives.ReadFile(S("D:\\bak\\large.bin")), large);
    EXPECT_EQ(Child<QLabel>(form, "CNTDSP")->text(), S("2"));
    EXPECT_EQ(Child<QLabel>(form, "SRCDSP")->text(), S("C:\\src\\sub"));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(QtEngineUiTest, AbortButtonStopsTheRunAfterTheCurrentFile) {
    const QByteArray large = Pattern(12 * 1024 * 1024);
    drives.WriteFile(S("C:\\src\\large.bin"), large);
    for (int i = 0; i < 5; ++i) drives.WriteFile(S("C:\\src\\f%1.txt").arg(i), "x");
    AddEntry(S("C:\\src"), S("D:\\first"));
    AddEntry(S("C:\\zzz"), S("D:\\second"));
    drives.WriteFile(S("C:\\zzz\\z.txt"), "z");

    BackForm& form = ui.Progress();
    Poller press([&] {
        if (!Child<QProgressBar>(form, "BYTBAR")->isVisible()) return false;
        QTest::mouseClick(Child<QPushButton>(form, "中止BTN"), Qt::LeftButton);
        return true;
    });
    EXPECT_EQ(engine::RunBackupAll(engine, list), 0);

    EXPECT_TRUE(engine.AbortRequested());
    EXPECT_EQ(drives.ReadFile(S("D:\\first\\large.bin")), large);
    const QStringList copied = QDir(drives.Host(S("D:\\first"))).entryList(QDir::Files);
    EXPECT_EQ(copied.size(), engine.FileCounter());
    EXPECT_LT(copied.size(), 6);
    EXPECT_FALSE(QDir(drives.Host(S("D:\\second"))).exists());
}

TEST_F(QtEngineUiTest, UnattendedDriveQuestionClosesItselfAndLaterMediaAreSkipped) {
    drives.WriteFile(S("C:\\src\\a.txt"), "a");
    drives.WriteFile(S("C:\\zzz\\b.txt"), "b");
    AddEntry(S("C:\\src"), S("(E)PHOTOS\\bak"));
    AddEntry(S("C:\\zzz"), S("(E)OTHER\\bak"));
    engine.SetUnattended(true);
    ui.SetDriveTimeout(20ms);

    EXPECT_EQ(engine::RunBackupAll(engine, list), 0);
    EXPECT_EQ(beeps, 1);  // asked once
    EXPECT_EQ(engine.MediaSkipState(), engine::MediaSkip::SkipAll);
    EXPECT_TRUE(ui.Progress().isEnabled());
}

TEST_F(QtEngineUiTest, OlderFileInARunIsAskedInTheWindow) {
    drives.WriteFile(S("C:\\src\\old.txt"), "old source", 1'600'000'000);
    drives.WriteFile(S("D:\\bak\\old.txt"), "newer backup", 1'700'000'000);
    AddEntry(S("C:\\src"), S("D:\\bak"));
    QString askedName;
    Poller answer([&] {
        QWidget* form = ShownWindow("OverwriteForm");
        if (form == nullptr) return false;
        askedName = Child<QLabel>(*form, "NAMDSP")->text();
        QTest::mouseClick(Child<QPushButton>(*form, "NOBTN"), Qt::LeftButton);
        return true;
    });
    EXPECT_EQ(engine::RunBackupAll(engine, list), 1);
    EXPECT_EQ(askedName, S("old.txt"));
    EXPECT_EQ(drives.ReadFile(S("D:\\bak\\old.txt")), QByteArray("newer backup"));
}

}  // namespace
