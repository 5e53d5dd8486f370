#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "catalog/grid/catalog_layout.h"
#include "catalog/grid/header_bar.h"
#include "grid_fixture.h"

namespace catalog::grid {
namespace {

// A catalog-like window with both sides, laid out at 96 dpi (15 twips a pixel).
struct Window {
    Window() {
        testing::EnsureApplication();
        window.resize(700, 500);
        auto* dir = new GridSurface(&window);
        auto* fil = new GridSurface(&window);
        for (GridSurface* s : {dir, fil}) {
            QFont font(QStringLiteral("IPAGothic"));
            font.setPixelSize(12);
            s->setFont(font);
        }
        folder = GridSide{dir,
                          new QScrollBar(Qt::Vertical, &window),
                          {&drive, &registrations},
                          {300, 120, 120},
                          {}};
        file = GridSide{fil, new QScrollBar(Qt::Vertical, &window), {&files}, {300, 150, 150}, {}};
        for (GridState* g : {&drive, &registrations, &files}) ClearRows(*g);
        dir->SetState(&drive);
        fil->SetState(&files);
        parts.window = &window;
        parts.folderGrid = dir;
        parts.folderTitleBar = new HeaderBar(&folder, &window);
        parts.folderScrollBar = folder.bar;
        parts.fileGrid = fil;
        parts.fileTitleBar = new HeaderBar(&file, &window);
        parts.fileScrollBar = file.bar;
        parts.statusLine = new QLabel(&window);
        parts.folderLabel = new QLabel(&window);
        for (QWidget* w :
             {static_cast<QWidget*>(parts.folderTitleBar),
              static_cast<QWidget*>(parts.fileTitleBar), parts.statusLine, parts.folderLabel}) {
            w->resize(100, 20);
        }
        parts.folderScrollBar->resize(17, 100);
        parts.fileScrollBar->resize(17, 100);
        dir->move(4, 60);
        state.gate.settingUp = false;
    }
    QWidget window;
    GridState drive, registrations, files;
    GridSide folder, file;
    CatalogWindowParts parts;
    CatalogLayoutState state;
};

TEST(CatalogWindowLayout, SplitsTheHeightAndFitsWholeRows) {
    Window w;
    w.state.folderPercent = 0;  // a stored 0 means 50
    ASSERT_TRUE(LayoutCatalogWindow(w.parts, w.state, ScreenScale{15, 15}));
    EXPECT_EQ(w.state.folderPercent, 50);
    const GridSurface& dir = *w.parts.folderGrid;
    EXPECT_EQ(dir.InnerHeight(), w.drive.visibleRows * w.drive.rowHeight);
    EXPECT_EQ(w.parts.fileGrid->InnerHeight(), w.files.visibleRows * w.files.rowHeight);
    EXPECT_EQ(w.parts.folderTitleBar->geometry().bottom() + 1, dir.y());
    EXPECT_EQ(w.parts.fileTitleBar->geometry().bottom() + 1, w.parts.fileGrid->y());
    EXPECT_EQ(w.parts.folderScrollBar->x(), dir.x() + dir.width());
    EXPECT_EQ(w.parts.folderScrollBar->height(), dir.height());
    EXPECT_TRUE(w.drive.scrollBarPlaced);
    EXPECT_EQ(dir.width(), 700 - 17 - 8);
    EXPECT_EQ(Edge(w.registrations, 2), dir.InnerWidth() - 1);
    // Both grids get about the same height.
    EXPECT_NEAR(dir.height(), w.parts.fileGrid->height(), 2 * w.drive.rowHeight);
    EXPECT_EQ(w.parts.statusLine->x(), 5100 / 15);
}

TEST(CatalogWindowLayout, MinimumSizeAndMinimiseRule) {
    Window w;
    w.window.resize(300, 200);
    EXPECT_FALSE(LayoutCatalogWindow(w.parts, w.state, ScreenScale{15, 15}));
    EXPECT_EQ(w.window.height(), 4800 / 15);
    EXPECT_FALSE(LayoutCatalogWindow(w.parts, w.state, ScreenScale{15, 15}));
    EXPECT_EQ(w.window.width(), 7800 / 15);
    EXPECT_TRUE(LayoutCatalogWindow(w.parts, w.state, ScreenScale{15, 15}));
    w.state.gate.settingUp = true;
    EXPECT_FALSE(LayoutCatalogWindow(w.parts, w.state, ScreenScale{15, 15}));
}

TEST(CatalogWindowLayout, SplitterDropStoresTheShare) {
    Window w;
    w.state.folderPercent = 60;
    ASSERT_TRUE(LayoutCatalogWindow(w.parts, w.state, ScreenScale{15, 15}));
    SplitterDrag drag(w.parts, w.state, ScreenScale{15, 15});
    int dropped = -1;
    drag.dropped = [&](int percent) { dropped = percent; };
    const int zoneY = w.parts.folderGrid->geometry().bottom() + 3;
    QTest::mousePress(&w.window, Qt::LeftButton, Qt::NoModifier, QPoint(50, zoneY));
    ASSERT_EQ(drag.DragMode(), 3);
    // Released just under the folder header: the folder grid keeps its minimum.
    const int y = w.parts.folderTitleBar->y() + 1000 / 15;
    QMouseEvent move(QEvent::MouseMove, QPointF(50, y), QPointF(50, y), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.window, &move);
    QTest::mouseRelease(&w.window, Qt::LeftButton, Qt::NoModifier, QPoint(50, y));
    EXPECT_EQ(drag.DragMode(), 0);
    EXPECT_GT(dropped, 0);
    EXPECT_EQ(dropped, w.state.folderPercent);
    EXPECT_LT(dropped, 60);
    EXPECT_GE(w.parts.folderGrid->height() * 15 + 15 * w.drive.rowHeight, 1800);
    // A press outside the band starts nothing.
    QTest::mousePress(&w.window, Qt::LeftButton, Qt::NoModifier, QPoint(50, 5));
    EXPECT_EQ(drag.DragMode(), 0);
}

}  // namespace
}  // namespace catalog::grid
