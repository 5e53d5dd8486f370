#include <gtest/gtest.h>

#include <QTest>

#include "catalog/grid/grid_input.h"
#include "grid_fixture.h"

namespace catalog::grid {
namespace {

using testing::GridFixture;

void Key(GridFixture& f, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(f.surface, key, mods);
}

std::vector<int> Marked(const GridState& g) {
    std::vector<int> rows;
    for (int r = 0; r < g.rowCount; ++r) {
        if (IsMarked(g, r)) rows.push_back(r);
    }
    return rows;
}

TEST(GridKeys, UpAndDownStopAtTheEndsAndScrollOneRow) {
    GridFixture f(30);
    ASSERT_EQ(f.g.visibleRows, 10);
    Key(f, Qt::Key_Up);
    EXPECT_EQ(f.g.currentRow, 0);
    for (int i = 0; i < 10; ++i) Key(f, Qt::Key_Down);
    EXPECT_EQ(f.g.currentRow, 10);
    EXPECT_EQ(f.g.topRow, 1);
    EXPECT_EQ(f.bar->value(), 1);
    for (int i = 0; i < 40; ++i) Key(f, Qt::Key_Down);
    EXPECT_EQ(f.g.currentRow, 29);
    EXPECT_EQ(f.g.topRow, 20);
    const GridKeyResult r = GridKeyDown(*f.surface, f.g, f.bar, vk::kDown, 0);
    EXPECT_FALSE(r.handled);
    EXPECT_EQ(f.g.currentRow, 29);
}

TEST(GridKeys, AltUpScrollsWithoutMovingTheCursor) {
    GridFixture f(30);
    ShowRow(*f.surface, f.g, f.bar, 25);
    const int top = f.g.topRow;
    Key(f, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(f.g.topRow, top - 1);
    EXPECT_EQ(f.g.currentRow, 25);
    Key(f, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(f.g.topRow, top);
    EXPECT_EQ(f.g.currentRow, 25);
}

TEST(GridKeys, PageUpAndPageDownAtTheEdges) {
    GridFixture f(35);
    ResetGrid(*f.surface, f.g, f.bar, 3);
    f.g.currentRow = 5;
    Key(f, Qt::Key_PageUp);
    EXPECT_EQ(f.g.topRow, 0);
    EXPECT_EQ(f.g.currentRow, 0);
    f.g.currentRow = 4;
    Key(f, Qt::Key_PageUp);  // already at the top: the cursor goes to row 0
    EXPECT_EQ(f.g.currentRow, 0);
    Key(f, Qt::Key_PageDown);
    EXPECT_EQ(f.g.topRow, 10);
    EXPECT_EQ(f.g.currentRow, 10);
    Key(f, Qt::Key_PageDown);
    Key(f, Qt::Key_PageDown);  // limited to the last full page
    EXPECT_EQ(f.g.topRow, 25);
    EXPECT_EQ(f.g.currentRow, 25);
    EXPECT_EQ(f.bar->value(), 25);
    Key(f, Qt::Key_PageDown);  // on the last page: the cursor goes to the last row
    EXPECT_EQ(f.g.topRow, 25);
    EXPECT_EQ(f.g.currentRow, 34);
}

TEST(GridKeys, HomeAndEnd) {
    GridFixture f(100);
    Key(f, Qt::Key_End);
    EXPECT_EQ(f.g.currentRow, 99);
    EXPECT_EQ(f.g.topRow, 90);
    Key(f, Qt::Key_Home);
    EXPECT_EQ(f.g.currentRow, 0);
    EXPECT_EQ(f.g.topRow, 0);
    EXPECT_EQ(f.bar->value(), 0);
}

TEST(GridKeys, ShiftExtendsFromTheAnchorAndBackAcrossIt) {
    GridFixture f(30);
    ShowRow(*f.surface, f.g, f.bar, 5);
    QTest::keyPress(f.surface, Qt::Key_Shift);
    EXPECT_EQ(f.g.anchorRow, 5);
    for (int i = 0; i < 3; ++i) Key(f, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Marked(f.g), (std::vector<int>{5, 6, 7, 8}));
    EXPECT_EQ(f.g.markCount, 4);
    for (int i = 0; i < 5; ++i) Key(f, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(f.g.currentRow, 3);
    EXPECT_EQ(Marked(f.g), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(f.g.markCount, 3);
    Key(f, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(Marked(f.g), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    // A plain move clears the marks.
    Key(f, Qt::Key_Down);
    EXPECT_TRUE(Marked(f.g).empty());
    EXPECT_EQ(f.g.markCount, 0);
}

TEST(GridKeys, SpaceAndEnterWithAndWithoutCtrl) {
    GridFixture f(30);
    Key(f, Qt::Key_Space);
    EXPECT_EQ(Marked(f.g), (std::vector<int>{0}));
    Key(f, Qt::Key_Down, Qt::ControlModifier);
    Key(f, Qt::Key_Down, Qt::ControlModifier);
    Key(f, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(Marked(f.g), (std::vector<int>{0, 2}));
    EXPECT_EQ(f.g.anchorRow, 2);
    Key(f, Qt::Key_Return, Qt::ControlModifier);  // toggles just the current row
    EXPECT_EQ(Marked(f.g), (std::vector<int>{0}));
    Key(f, Qt::Key_Space, Qt::ControlModifier);
    Key(f, Qt::Key_Down, Qt::ControlModifier);
    Key(f, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(f.g.markCount, 3);
    // Without a modifier, several marks give way to the current row alone.
    Key(f, Qt::Key_Space);
    EXPECT_EQ(Marked(f.g), (std::vector<int>{3}));
    EXPECT_EQ(f.g.markCount, 1);
    const GridKeyResult r = GridKeyDown(*f.surface, f.g, f.bar, vk::kEnter, 0);
    EXPECT_TRUE(r.handled);
    EXPECT_TRUE(r.marksChanged);
}

TEST(GridKeys, EscapeClearsMarksAndEmptyGridsIgnoreKeys) {
    GridFixture f(30);
    Key(f, Qt::Key_Space);
    Key(f, Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_EQ(f.g.markCount, 2);
    Key(f, Qt::Key_Escape);
    EXPECT_EQ(f.g.markCount, 0);
    EXPECT_TRUE(Marked(f.g).empty());

    GridFixture empty(0);
    for (int key : {vk::kDown, vk::kEnd, vk::kSpace, int{'A'}}) {
        const GridKeyResult r = GridKeyDown(*empty.surface, empty.g, empty.bar, key, 0);
        EXPECT_FALSE(r.handled);
    }
    EXPECT_EQ(empty.g.currentRow, 0);
    EXPECT_EQ(empty.bar->maximum(), 0);
    EXPECT_EQ(empty.bar->pageStep(), 32767);
}

TEST(GridKeys, LeftAndRightMoveTheColumnButAreNotConsumed) {
    GridFixture f(5);
    EXPECT_FALSE(GridKeyDown(*f.surface, f.g, f.bar, vk::kLeft, 0).handled);
    EXPECT_EQ(f.g.currentColumn, 0);
    for (int i = 0; i < 4; ++i) GridKeyDown(*f.surface, f.g, f.bar, vk::kRight, 0);
    EXPECT_EQ(f.g.currentColumn, 2);
}

TEST(GridKeys, TypeAheadInColumnZeroDoesNotWrap) {
    GridFixture f(0);
    for (const char* name : {"apple", "Music", "banana", "mango", "Zebra"}) {
        AppendRow(f.g, {QString::fromLatin1(name), "x", "y"});
    }
    ResetGrid(*f.surface, f.g, f.bar, 0);
    Key(f, Qt::Key_M);
    EXPECT_EQ(f.g.currentRow, 1);
    Key(f, Qt::Key_M);
    EXPECT_EQ(f.g.currentRow, 3);
    Key(f, Qt::Key_M);  // none below: the cursor stays
    EXPECT_EQ(f.g.currentRow, 3);
    Key(f, Qt::Key_A);
    EXPECT_EQ(f.g.currentRow, 3);
    Key(f, Qt::Key_Z);
    EXPECT_EQ(f.g.currentRow, 4);
}

TEST(GridKeys, TypeAheadInOtherColumnsWraps) {
    GridFixture f(0);
    const char* dest[] = {"  Kyoto", "Osaka", "kobe", "Nara"};
    for (int r = 0; r < 4; ++r) AppendRow(f.g, {QString::number(r), dest[r], ""});
    ResetGrid(*f.surface, f.g, f.bar, 0);
    f.g.currentColumn = 1;
    f.g.currentRow = 2;
    Key(f, Qt::Key_K);  // from row 3 on nothing, then from row 0: leading blanks skipped
    EXPECT_EQ(f.g.currentRow, 0);
    Key(f, Qt::Key_K);
    EXPECT_EQ(f.g.currentRow, 2);
    // Keypad digits and the "@" key of Japanese keyboards count as characters.
    EXPECT_EQ(VirtualKeyOf(QKeyEvent(QEvent::KeyPress, Qt::Key_5, Qt::KeypadModifier)), 101);
    EXPECT_EQ(VirtualKeyOf(QKeyEvent(QEvent::KeyPress, Qt::Key_At, Qt::NoModifier)), 0xC0);
}

TEST(GridKeys, TypeAheadJumpsFarInALargeGrid) {
    GridFixture f(0);
    for (int r = 0; r < 5000; ++r) AppendRow(f.g, {QStringLiteral("a%1").arg(r)});
    AppendRow(f.g, {QStringLiteral("q-last")});
    ResetGrid(*f.surface, f.g, f.bar, 0);
    Key(f, Qt::Key_Q);
    EXPECT_EQ(f.g.currentRow, 5000);
    EXPECT_EQ(f.g.topRow, 4991);
}

}  // namespace
}  // namespace catalog::grid
