#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "catalog/grid/header_bar.h"
#include "grid_fixture.h"

namespace catalog::grid {
namespace {

using testing::GridFixture;

struct HeaderFixture {
    HeaderFixture() : f(20) {
        side.surface = f.surface;
        side.bar = f.bar;
        side.states = {&f.g};
        side.widths = {150, 120, 120};
        side.titles = {QStringLiteral("ファイル"), QStringLiteral("日付"),
                       QStringLiteral("サイズ")};
        f.surface->move(0, 30);
        header = new HeaderBar(&side, f.host.get());
        header->resize(10, 20);
        LayoutHeaderBar(*header);
    }
    GridFixture f;
    GridSide side;
    HeaderBar* header = nullptr;
};

TEST(HeaderBar, SitsOnItsGridAndStretchesTheLastColumn) {
    HeaderFixture h;
    EXPECT_EQ(h.header->geometry(), QRect(0, 10, 400, 20));
    EXPECT_EQ(h.header->LaidOutColumns(), 3);
    EXPECT_EQ(Edge(h.f.g, 0), 148);
    EXPECT_EQ(Edge(h.f.g, 1), 267);
    EXPECT_EQ(Edge(h.f.g, 2), h.f.surface->InnerWidth() - 1);
    const QImage image = h.header->grab().toImage();
    EXPECT_EQ(image.pixelColor(Edge(h.f.g, 0) + 1, 10), QColor(0x40, 0x40, 0x40));
    EXPECT_EQ(image.pixelColor(Edge(h.f.g, 0) + 2, 10), Qt::white);
    EXPECT_EQ(image.pixelColor(0, 10), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(image.pixelColor(1, 10), Qt::black);
    EXPECT_EQ(image.pixelColor(2, 10), Qt::white);
}

TEST(HeaderBar, BorderDragDrawsAnXorLineAndStoresTheWidth) {
    HeaderFixture h;
    QSignalSpy changed(h.header, &HeaderBar::columnWidthsChanged);
    const int y = 10;
    QTest::mousePress(h.header, Qt::LeftButton, Qt::NoModifier, QPoint(145, y));
    ASSERT_EQ(h.header->DragMode(), 2);
    EXPECT_EQ(h.f.surface->XorLine(), 142);
    QImage image = h.f.surface->grab().toImage();
    // White background XOR green.
    EXPECT_EQ(image.pixelColor(142 + 2, 5 * h.f.g.rowHeight + 3), QColor(255, 0, 255));
    QMouseEvent move(QEvent::MouseMove, QPointF(200, y), QPointF(200, y), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(h.header, &move);
    EXPECT_EQ(h.f.surface->XorLine(), 197);
    // Beyond the maximum (edge 148 + width 120 - 20) the line stays.
    QMouseEvent far(QEvent::MouseMove, QPointF(390, y), QPointF(390, y), Qt::NoButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(h.header, &far);
    EXPECT_EQ(h.f.surface->XorLine(), 197);
    image = h.f.surface->grab().toImage();
    EXPECT_EQ(image.pixelColor(142 + 2, 5 * h.f.g.rowHeight + 3), Qt::white);
    QTest::mouseRelease(h.header, Qt::LeftButton, Qt::NoModifier, QPoint(390, y));
    EXPECT_EQ(h.f.surface->XorLine(), -1);
    EXPECT_EQ(h.side.widths[0], 197 + 1 - 0);
    EXPECT_EQ(Edge(h.f.g, 0), 196);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(h.header->DragMode(), 0);
}

TEST(HeaderBar, PressOnATitleSelectsTheColumn) {
    HeaderFixture h;
    QSignalSpy selected(h.header, &HeaderBar::columnSelected);
    QTest::mouseClick(h.header, Qt::LeftButton, Qt::NoModifier, QPoint(200, 10));
    EXPECT_EQ(h.f.g.currentColumn, 1);
    EXPECT_EQ(selected.count(), 1);
    EXPECT_EQ(h.side.widths[1], 120);
    EXPECT_EQ(h.header->DragMode(), 0);
}

}  // namespace
}  // namespace catalog::grid
