// Restore and check from the catalog window: files marked in the file grid
// come back from the backup, the replace question is answered in its window,
// and the check's differences are shown in a window that copies its text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "catalog/forms/restore_windows.h"
#include "catalog/forms/versions_form.h"
#include "catalog/grid/active_grid.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/window/list_form.h"
#include "program_folder_fixture.h"
#include "support/temp_drives.h"
#include "support/text.h"
#include "util/message_sink.h"
#include "widgets/preset_answers.h"

namespace catalog {
namespace {

using testing::ProgramFolder;
using testing_support::S;

constexpr qint64 kTime = 1'700'000'000;

void Write(const QString& path, const QByteArray& bytes, qint64 seconds) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    testing_support::SetModifiedTime(path, seconds);
}

QByteArray Read(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Answers each restore question that shows with the next button; records its text.
class QuestionAnswerer {
  public:
    explicit QuestionAnswerer(QStringList buttons) : buttons_(std::move(buttons)) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* form = qobject_cast<RestoreQuestionForm*>(QApplication::activeModalWidget());
            if (form == nullptr || !form->isVisible()) return;
            texts.append(form->findChild<QLabel*>(QStringLiteral("questionText"))->text());
            const QString button =
                buttons_.isEmpty() ? QStringLiteral("noButton") : buttons_.takeFirst();
            if (button == u"escape") {
                QTest::keyClick(form, Qt::Key_Escape);
            } else {
                form->findChild<QPushButton*>(button)->click();
            }
        });
        timer_.start();
    }
    QStringList texts;

  private:
    QStringList buttons_;
    QTimer timer_;
};

class RestoreWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const QString source = folder.Drive(u'C') + S("/データ");
        const QString backup = folder.Drive(u'D') + S("/控え");
        for (const char* name : {"一.txt", "二.txt", "三.txt", "四.txt"}) {
            Write(backup + u'/' + S(name), QByteArray("backup of ") + name, kTime);
        }
        Write(source + S("/一.txt"), "newer in the source", kTime + 500);
        Write(source + S("/二.txt"), "backup of 二.txt", kTime);
        Write(source + S("/三.txt"), "older", kTime - 500);
        Write(source + S("/四.txt"), "older too", kTime - 500);
        Write(folder.Home() + S("/Kibako.Def"),
              testing::DefinitionFile(testing::EntryText(S("C:\\データ"), S("D:\\控え"),
                                                         S("2023/11/14 12:00"), S("10000000"))),
              kTime);
        ASSERT_TRUE(form.Load({}));
        form.RestoreChoices().showReport = [this](QWidget*, const QString& title,
                                                  const QString& text) {
            reports.append(title + u'\n' + text);
        };
        form.show();
        form.DriveBox()->setCurrentIndex(form.DriveBox()->findData(QChar(u'C')));
        QTest::keyClick(form.FolderGrid(), Qt::Key_Down);
        ASSERT_EQ(form.ListedFolder(), S("C:\\データ"));
    }
    QString Source(const char* name) const { return folder.Drive(u'C') + S("/データ/") + S(name); }

    ProgramFolder folder;
    ListForm form;
    QStringList reports;
};

TEST_F(RestoreWindowTest, ThreeMarkedFilesAreRestoredAfterTheQuestionAnsweredInItsWindow) {
    // Three files marked with Shift and the arrow keys in the file grid.
    form.FileGrid()->setFocus();
    form.SetActiveGrid(grid::kFileGridActive);
    QTest::keyClick(form.FileGrid(), Qt::Key_Home);
    QTest::keyClick(form.FileGrid(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(form.FileGrid(), Qt::Key_Down, Qt::ShiftModifier);
    QStringList chosen;
    for (int row = 0; row < form.FileRows().rowCount; ++row) {
        if (form.FileRows().rowMark[static_cast<size_t>(row)] != 0 ||
            row == form.FileRows().currentRow)
            chosen.append(grid::CellText(form.FileRows(), 0, row));
    }
    ASSERT_EQ(chosen.size(), 3) << chosen.join(u',').toStdString();
    const QString left = QStringList({S("一.txt"), S("二.txt"), S("三.txt"), S("四.txt")})
                             .filter(QRegularExpression(QStringLiteral("^(?!(") +
                                                        chosen.join(u'|') + QStringLiteral(")$)")))
                             .value(0);
    const QByteArray leftBefore = Read(Source(left.toUtf8().constData()));

    widgets::presets::SetNextAnswer(util::Answer::Yes);  // into the folder the files came from
    // The differing files are asked about in turn: the first kept, the second replaced.
    QuestionAnswerer answerer({S("noButton"), S("yesButton")});
    form.Menus().fileRestore->trigger();

    EXPECT_EQ(Read(Source(left.toUtf8().constData())), leftBefore);  // not chosen: untouched
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(S("同じ"))) << reports[0].toStdString();
    int asked = 0;
    for (const QString& name : chosen) {
        const QByteArray now = Read(Source(name.toUtf8().constData()));
        if (name == S("二.txt")) {
            EXPECT_EQ(now, QByteArray("backup of 二.txt"));
        } else {
            ++asked;
        }
    }
    ASSERT_EQ(answerer.texts.size(), asked);
    EXPECT_TRUE(answerer.texts[0].contains(S("2023/11/14"))) << answerer.texts[0].toStdString();
    // The kept file is named as the catalog names files, by its drive path.
    EXPECT_TRUE(reports[0].contains(S("残した：　C:\\"))) << reports[0].toStdString();
    widgets::presets::ClearPresets();
}

TEST_F(RestoreWindowTest, EscapeKeepsTheFileAndTheCheckShowsItsDifferencesToCopy) {
    widgets::presets::SetNextAnswer(util::Answer::Yes);
    QuestionAnswerer answerer({S("escape"), S("noToAllButton")});
    form.FolderGrid()->setFocus();
    form.SetActiveGrid(grid::kFolderGridActive);
    form.Menus().fileRestore->trigger();
    EXPECT_EQ(answerer.texts.size(), 2);  // すべていいえ answers the third
    EXPECT_EQ(Read(Source("一.txt")), QByteArray("newer in the source"));
    EXPECT_TRUE(answerer.texts[0].contains(S("こちらが新しい")));
    widgets::presets::ClearPresets();

    form.Menus().fileVerify->trigger();
    ASSERT_EQ(reports.size(), 2);
    EXPECT_TRUE(reports[1].contains(S("バックアップが古い：　一.txt"))) << reports[1].toStdString();
    EXPECT_TRUE(reports[1].contains(S("サイズか日時が違う：　三.txt")));

    ReportForm window(&form, S("バックアップの照合"), reports[1]);
    window.findChild<QPushButton*>(QStringLiteral("copyButton"))->click();
    EXPECT_EQ(QApplication::clipboard()->text(), reports[1]);
}

// 以前の版: the versions of the current file, from the backup and its
// history, and one of them put back; then the files as of a time.
TEST_F(RestoreWindowTest, TheVersionsOfTheCurrentFileAreListedAndAnOldOneRestored) {
    const QString history = folder.Drive(u'D') + S("/控え/.kibako-history");
    Write(history + S("/2023-11-20_120000/一.txt"), "the first 一", kTime - 2000);
    Write(history + S("/2023-11-25_120000/一.txt"), "the second 一", kTime - 1000);
    Write(history + S("/2023-11-25_120000/二.txt"), "an old 二", kTime - 1000);
    form.FileGrid()->setFocus();
    form.SetActiveGrid(grid::kFileGridActive);
    QTest::keyClick(form.FileGrid(), Qt::Key_Home);
    ASSERT_EQ(grid::CellText(form.FileRows(), 0, form.FileRows().currentRow), S("一.txt"));

    std::vector<engine::FileVersion> shown;
    form.RestoreChoices().chooseVersion = [&shown](QWidget*, const QString& name,
                                                   const std::vector<engine::FileVersion>& all) {
        EXPECT_EQ(name, S("一.txt"));
        shown = all;
        return VersionChoice{VersionChoice::Kind::Version, 2, {}};
    };
    widgets::presets::SetNextAnswer(util::Answer::Yes);  // into the folder the file came from
    {
        QuestionAnswerer answerer({S("yesButton")});
        form.Menus().fileVersions->trigger();
    }
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(VersionPlace(shown[0]), S("バックアップ"));
    EXPECT_EQ(shown[0].item.size, 17);
    EXPECT_EQ(VersionPlace(shown[1]), S("履歴（2023/11/25 12:00:00 に置き換え・削除）"));
    EXPECT_EQ(shown[2].item.timeNs, (kTime - 2000) * 1'000'000'000);
    EXPECT_EQ(Read(Source("一.txt")), QByteArray("the first 一"));
    EXPECT_EQ(Read(Source("二.txt")), QByteArray("backup of 二.txt"));  // only the one file

    // As of a time between the two history runs: the second version, kept
    // by the later run.
    form.RestoreChoices().chooseVersion = [](QWidget*, const QString&,
                                             const std::vector<engine::FileVersion>&) {
        return VersionChoice{VersionChoice::Kind::AsOf, 0,
                             QDateTime::fromSecsSinceEpoch(kTime - 500)};
    };
    widgets::presets::SetNextAnswer(util::Answer::Yes);
    QuestionAnswerer again({S("yesButton")});
    form.Menus().fileVersions->trigger();
    EXPECT_EQ(Read(Source("一.txt")), QByteArray("the second 一"));
    ASSERT_FALSE(reports.isEmpty());
    EXPECT_TRUE(reports.last().contains(S("の状態"))) << reports.last().toStdString();
}

// 日時を指定して復元 from the folder grid: every file of the registration as
// it was at the chosen time, from the backup or the history.
TEST_F(RestoreWindowTest, TheWholeRegistrationIsRestoredAsOfAChosenTime) {
    const QString history = folder.Drive(u'D') + S("/控え/.kibako-history");
    Write(history + S("/2023-11-20_120000/一.txt"), "the first 一", kTime - 2000);
    Write(history + S("/2023-11-25_120000/一.txt"), "the second 一", kTime - 1000);
    Write(history + S("/2023-11-25_120000/二.txt"), "an old 二", kTime - 1000);
    QString askedFor;
    form.RestoreChoices().chooseTime = [&askedFor](QWidget*, const QString& shownFolder) {
        askedFor = shownFolder;
        return std::optional<QDateTime>(QDateTime::fromSecsSinceEpoch(kTime - 500));
    };
    widgets::presets::SetNextAnswer(util::Answer::Yes);  // into the folder the files came from
    {
        QuestionAnswerer answerer({S("yesToAllButton")});
        form.Menus().fileRestoreAsOf->trigger();
    }
    EXPECT_EQ(askedFor, S("C:\\データ"));
    EXPECT_EQ(Read(Source("一.txt")), QByteArray("the second 一"));
    EXPECT_EQ(Read(Source("二.txt")), QByteArray("an old 二"));
    ASSERT_FALSE(reports.isEmpty());
    EXPECT_TRUE(reports.last().contains(S("2023/11/14"))) << reports.last().toStdString();

    // Cancelling the time restores nothing.
    form.RestoreChoices().chooseTime = [](QWidget*, const QString&) {
        return std::optional<QDateTime>();
    };
    const qsizetype shown = reports.size();
    form.Menus().fileRestoreAsOf->trigger();
    EXPECT_EQ(reports.size(), shown);
    EXPECT_EQ(Read(Source("二.txt")), QByteArray("an old 二"));
}

TEST(AsOfFormTest, TheTimeTypedIsTheTimeGivenAndEscapeGivesNothing) {
    AsOfForm form(nullptr, S("C:\\データ"));
    auto* at = form.findChild<QDateTimeEdit*>(S("時刻LIN"));
    ASSERT_NE(at, nullptr);
    const QDateTime chosen(QDate(2024, 3, 5), QTime(7, 30));
    at->setDateTime(chosen);
    QTimer::singleShot(0, &form, [&form] { QTest::keyClick(&form, Qt::Key_Return); });
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    EXPECT_EQ(form.At(), chosen);

    AsOfForm other(nullptr, S("C:\\データ"));
    QTimer::singleShot(0, &other, [&other] { QTest::keyClick(&other, Qt::Key_Escape); });
    EXPECT_EQ(other.exec(), QDialog::Rejected);
}

}  // namespace
}  // namespace catalog
