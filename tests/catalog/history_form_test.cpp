// The history setting's dialog, reached from the Tetoru options menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>

#include "catalog/forms/history_form.h"
#include "catalog/window/list_form.h"
#include "program_folder_fixture.h"
#include "support/shown_windows.h"

namespace catalog {
namespace {

using testing::ProgramFolder;

TEST(HistorySetting, TheDialogGivesZeroWhenNothingIsKeptAndTheDaysOtherwise) {
    testing::EnsureApplication();
    HistoryForm off(0);
    auto* keep = off.findChild<QCheckBox*>(QStringLiteral("履歴CHK"));
    auto* days = off.findChild<QSpinBox*>(QStringLiteral("日数LIN"));
    EXPECT_FALSE(keep->isChecked());
    EXPECT_FALSE(days->isEnabled());
    EXPECT_EQ(off.Days(), 0);
    keep->setChecked(true);
    EXPECT_TRUE(days->isEnabled());
    EXPECT_EQ(off.Days(), 30);
    days->setValue(99999);  // held to the most the setting may ask for
    EXPECT_EQ(off.Days(), 3650);

    HistoryForm on(7);
    EXPECT_TRUE(on.findChild<QCheckBox*>(QStringLiteral("履歴CHK"))->isChecked());
    EXPECT_EQ(on.Days(), 7);
}

TEST(HistorySetting, TheMenuItemWritesTheChosenDaysAtOnce) {
    ProgramFolder folder;
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    QAction* item = form.findChild<QAction*>(QStringLiteral("M_設定_履歴"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), u"バックアップの履歴 (&H)...");
    bool answered = false;
    testing_support::Poller poller([&answered] {
        QWidget* shown = testing_support::ShownWindow("HistoryForm");
        if (!shown) return false;
        shown->findChild<QCheckBox*>(QStringLiteral("履歴CHK"))->setChecked(true);
        shown->findChild<QSpinBox*>(QStringLiteral("日数LIN"))->setValue(14);
        shown->findChild<QPushButton*>(QStringLiteral("OKBTN"))->click();
        answered = true;
        return true;
    });
    item->trigger();
    EXPECT_TRUE(answered);
    // Written before the window closes: Tetoru may run in the meantime.
    EXPECT_TRUE(folder.ReadFile(QStringLiteral("Kibako.INI")).contains("HistoryDays= 14"))
        << folder.ReadFile(QStringLiteral("Kibako.INI")).toStdString();
    form.close();
}

}  // namespace
}  // namespace catalog
