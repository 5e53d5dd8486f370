#include "widgets/twips.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <limits>

namespace widgets {
namespace {

TEST(Twips, RoundToTheNearestPixelOfEachAxis) {
    EXPECT_EQ(TwipsToPixels(1440, 96), 96);
    EXPECT_EQ(TwipsToPixels(7, 96), 0);  // 0.47
    EXPECT_EQ(TwipsToPixels(8, 96), 1);  // 0.53
    EXPECT_EQ(TwipsToPixels(-8, 96), -1);
    const Twips twips(144, 120);
    EXPECT_EQ(twips.X(1095), 110);  // 109.5 rounds away from zero
    EXPECT_EQ(twips.Y(1095), 91);   // 91.25
    EXPECT_EQ(twips.Point(600, 900), QPoint(60, 75));
}

TEST(Twips, NoResolutionCountsAsNinetySixAndHugeValuesAreBounded) {
    EXPECT_EQ(TwipsToPixels(750, 0), 50);
    EXPECT_EQ(TwipsToPixels(750, -3), 50);
    EXPECT_EQ(Twips(0, -1).X(750), 50);
    const int far = TwipsToPixels(std::numeric_limits<qint64>::max(), 96);
    EXPECT_GT(far, 0);
    EXPECT_EQ(far, TwipsToPixels(100'000'000, 96));
    EXPECT_EQ(TwipsToPixels(std::numeric_limits<qint64>::min(), 96), -far);
}

// The catalog layout's scale: whole twips a pixel, so pixels come back from
// twips by division.
TEST(ScreenScale, DividesByWholeTwipsPerPixel) {
    const ScreenScale scale{15, 12};
    EXPECT_EQ(scale.PixelsX(7800), 520);
    EXPECT_EQ(scale.PixelsY(4800), 400);
    EXPECT_EQ(scale.PixelsX(22), 1);  // 1.47
    EXPECT_EQ(scale.PixelsX(23), 2);  // 1.53
    QWidget widget;
    const ScreenScale taken = ScreenScaleOf(widget);
    EXPECT_EQ(taken.tpx, 1440 / widget.logicalDpiX());
    EXPECT_EQ(taken.tpy, 1440 / widget.logicalDpiY());
}

}  // namespace
}  // namespace widgets
