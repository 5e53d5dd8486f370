#include "widgets/dialog_placement.h"
#include "widgets/window_frame.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace widgets {
namespace {

TEST(DialogPlacement, CentresOverTheOwner) {
    EXPECT_EQ(CentredOver(QRect(100, 200, 600, 400), QSize(201, 101)), QPoint(300, 350));
    // An owner above the screen counts from the top; no adjustment to the screen.
    EXPECT_EQ(CentredOver(QRect(-500, -50, 300, 200), QSize(400, 300)), QPoint(-550, -50));
    EXPECT_EQ(DialogPosition(QSize(300, 200), QRect(100, -50, 401, 301), QSize(1280, 800),
                             Placement::Centred),
              QPoint(100 + 200 - 150, 0 + 150 - 100));
}

TEST(DialogPlacement, BesideTriesBelowAboveRightThenTheTop) {
    const QSize screen(1280, 800);
    const QSize dialog(300, 200);
    EXPECT_EQ(DialogPosition(dialog, QRect(100, 100, 400, 300), screen, Placement::Beside),
              QPoint(100, 400));
    EXPECT_EQ(DialogPosition(dialog, QRect(100, 500, 400, 250), screen, Placement::Beside),
              QPoint(100, 300));
    EXPECT_EQ(DialogPosition(dialog, QRect(0, 100, 400, 650), screen, Placement::Beside),
              QPoint(400, 100));
    // An owner filling the screen: its left edge and the top of the screen.
    EXPECT_EQ(DialogPosition(dialog, QRect(0, -4, 1280, 800), screen, Placement::Beside),
              QPoint(0, 0));
}

// A window not decorated yet is placed with its owner's frame: placed by its
// client area alone, its frame would start a title bar's height too high.
TEST(DialogPlacement, AnUndecoratedWindowReckonsWithItsOwnersFrame) {
    EXPECT_EQ(ReckonedFrame(QMargins(), QMargins(1, 21, 1, 1)), QMargins(1, 21, 1, 1));
    EXPECT_EQ(ReckonedFrame(QMargins(2, 24, 2, 2), QMargins(1, 21, 1, 1)), QMargins(2, 24, 2, 2));
    EXPECT_EQ(ReckonedFrame(QMargins(), QMargins()), QMargins());
}

// A dialog stays above a maximised owner only while the owner is maximised;
// without an owner it goes to the middle of the screen.
TEST(DialogPlacement, PlacesRealWindows) {
    QWidget owner;
    owner.setGeometry(100, 200, 600, 400);
    owner.show();
    QDialog dialog;
    dialog.resize(200, 100);
    PlaceDialog(dialog, &owner);
    EXPECT_EQ(dialog.frameGeometry().topLeft(),
              CentredOver(owner.frameGeometry(), dialog.frameGeometry().size()));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    owner.showMaximized();
    PlaceDialog(dialog, &owner, Placement::Beside);
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    owner.showNormal();
    PlaceDialog(dialog, &owner);
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    PlaceDialog(dialog, nullptr);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(dialog.frameGeometry().topLeft(), CentredOver(area, dialog.frameGeometry().size()));
}

}  // namespace
}  // namespace widgets
