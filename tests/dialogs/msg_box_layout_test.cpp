#include "dialogs/msg_box_layout.h"
#include "dialogs/input_dialog.h"

#include <gtest/gtest.h>

namespace dialogs {
namespace {

// At 96 dpi one pixel is 15 twips, so the layout constants are whole pixels.
MsgBoxMetrics Metrics(int lines, int widest) {
    MsgBoxMetrics m;
    m.twips = widgets::Twips(96, 96);
    m.lineCount = lines;
    m.lineHeight = 14;
    m.widestLine = widest;
    m.buttonWidths = {73, 73};
    m.buttonHeight = 25;
    m.owner = QRect(100, 100, 500, 400);
    m.screen = QRect(0, 0, 1920, 1080);
    return m;
}

TEST(MsgBoxLayout, EmptyTextIsMinimumHeightAndWideEnoughForButtons) {
    const MsgBoxLayout layout = LayoutMsgBox(Metrics(0, 0));
    EXPECT_EQ(layout.inner, QSize(73 + 73 + 60, 94));
    // Buttons centred, 4 px apart, 4 px above the bottom.
    ASSERT_EQ(layout.buttons.size(), 2u);
    EXPECT_EQ(layout.buttons[0], QPoint((206 - 146) / 2, 94 - 25 - 4));
    EXPECT_EQ(layout.buttons[1], QPoint(30 + 73 + 4, 65));
}

TEST(MsgBoxLayout, GrowsWithLinesAndWidestLine) {
    const MsgBoxLayout layout = LayoutMsgBox(Metrics(8, 400));
    EXPECT_EQ(layout.inner, QSize(400 + 50 + 6, 8 * 14 + 14 + 25 + 8));
    EXPECT_EQ(layout.textLeft, 50);
    EXPECT_EQ(layout.textTop, 14);
    EXPECT_EQ(layout.icon.y(), 22);
    EXPECT_EQ(LayoutMsgBox(Metrics(2, 10)).icon.y(), 8);
}

TEST(MsgBoxLayout, FrameCountsInOuterSizeAndMinimums) {
    MsgBoxMetrics m = Metrics(0, 0);
    m.frame = QMargins(4, 30, 4, 4);
    const MsgBoxLayout layout = LayoutMsgBox(m);
    EXPECT_EQ(layout.Outer(m.frame), QSize(206, 94));
    m = Metrics(8, 400);
    m.frame = QMargins(4, 30, 4, 4);
    EXPECT_EQ(LayoutMsgBox(m).inner, QSize(456, 159));
}

TEST(MsgBoxLayout, CornerFourFifthsAcrossTheOwner) {
    MsgBoxMetrics m = Metrics(0, 0);
    m.owner = QRect(100, 50, 503, 404);  // fifths rounded down: 100, 80
    EXPECT_EQ(LayoutMsgBox(m).position, QPoint(100 + 400, 50 + 320));
}

TEST(MsgBoxLayout, KeptOnScreenSixtyPixelsAboveBottom) {
    MsgBoxMetrics m = Metrics(8, 400);
    m.owner = QRect(1500, 800, 400, 270);
    const MsgBoxLayout layout = LayoutMsgBox(m);
    EXPECT_EQ(layout.position.x() + layout.inner.width(), 1920);
    EXPECT_EQ(layout.position.y() + layout.inner.height(), 1080 - 60);

    m.owner = QRect(-3000, -3000, 100, 100);
    EXPECT_EQ(LayoutMsgBox(m).position, QPoint(0, 0));
}

TEST(InputDialogPlace, CentredOnOwnersBottomEdge) {
    EXPECT_EQ(InputDialogPosition(QRect(100, 100, 400, 300), QSize(360, 120)), QPoint(120, 280));
    // An owner shorter than the dialog puts the dialog above the owner's top.
    EXPECT_EQ(InputDialogPosition(QRect(100, 100, 400, 50), QSize(360, 120)), QPoint(120, 30));
    // A narrower owner: half of -5 rounds down to -3.
    EXPECT_EQ(InputDialogPosition(QRect(100, 100, 355, 300), QSize(360, 120)), QPoint(97, 280));
}

}  // namespace
}  // namespace dialogs
