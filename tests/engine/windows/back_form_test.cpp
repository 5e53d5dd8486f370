#include "engine/windows/back_form.h"
#include "store/settings.h"
#include "support/temp_drives.h"
#include "support/text.h"
#include "support/window_checks.h"

#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <cmath>

using engine::windows::BackForm;
using namespace testing_support;

namespace {

using testing_support::S;

QPoint ExpectedPixels(const QWidget& window, int xTwips, int yTwips) {
    const QScreen* screen = window.screen();
    return {static_cast<int>(std::lround(xTwips * screen->logicalDotsPerInchX() / 1440.0)),
            static_cast<int>(std::lround(yTwips * screen->logicalDotsPerInchY() / 1440.0))};
}

TEST(BackForm, CarriesTheCaptionsOfEachProgram) {
    BackForm kibako(BackForm::Variant::Kibako);
    EXPECT_EQ(kibako.windowTitle(), S("Kibako"));
    EXPECT_EQ(Child<QLabel>(kibako, "Label1")->text(), S("バックアップ中"));
    EXPECT_EQ(Child<QLabel>(kibako, "Label3")->text(), S("コピーしたファイル数"));
    EXPECT_EQ(Child<QLabel>(kibako, "CNTDSP")->text(), S("0"));
    EXPECT_EQ(Child<QPushButton>(kibako, "中止BTN")->text(), S("中止"));
    EXPECT_NE(Child<QWidget>(kibako, "Image1"), nullptr);
    EXPECT_EQ(TextsWithMissingGlyphs(kibako, CaptionsOf(kibako)), QStringList());
    // The check itself finds a character no font has.
    const QString unassigned = QString::fromUcs4(U"\U0010FFFD");
    EXPECT_EQ(TextsWithMissingGlyphs(kibako, {unassigned}), QStringList{unassigned});

    // Image1 is drawn in code: more than a plain background.
    const QImage image = Child<QWidget>(kibako, "Image1")->grab().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 3);

    BackForm tetoru(BackForm::Variant::Tetoru);
    EXPECT_EQ(tetoru.windowTitle(), S("Tetoru Ver1.7B"));
}

TEST(BackForm, ShowsTheLabelsAndTheBytesOfALargeFile) {
    BackForm form(BackForm::Variant::Kibako);
    form.show();
    form.SetSource(S("C:\\写真\\2024"));
    form.SetDestination(S("(E)PHOTOS\\Backup"));
    EXPECT_EQ(Child<QLabel>(form, "SRCDSP")->text(), S("C:\\写真\\2024"));
    EXPECT_EQ(Child<QLabel>(form, "DSTDSP")->text(), S("(E)PHOTOS\\Backup"));

    auto* bytes = Child<QLabel>(form, "BYTDSP");
    auto* bar = Child<QProgressBar>(form, "BYTBAR");
    EXPECT_FALSE(bytes->isVisible());
    const QSize before = form.size();
    form.SetFileProgress(8 * 1024 * 1024, 50 * 1024 * 1024);
    EXPECT_TRUE(bytes->isVisible());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bytes->text(), S("8,192 / 51,200 KB"));
    EXPECT_EQ(bar->value(), 160);
    EXPECT_EQ(form.size(), before);

    // The file's count ends its byte display.
    form.SetCount(S("1"));
    EXPECT_EQ(Child<QLabel>(form, "CNTDSP")->text(), S("1"));
    EXPECT_FALSE(bytes->isVisible());
    EXPECT_EQ(form.size(), before);
}

TEST(BackForm, KibakoAbortHidesTheWindow) {
    BackForm form(BackForm::Variant::Kibako);
    QSignalSpy aborts(&form, &BackForm::abortRequested);
    form.show();
    QTest::mouseClick(Child<QPushButton>(form, "中止BTN"), Qt::LeftButton);
    EXPECT_EQ(aborts.count(), 1);
    EXPECT_FALSE(form.isVisible());
}

TEST(BackForm, TetoruAbortLeavesTheWindowVisible) {
    BackForm form(BackForm::Variant::Tetoru);
    QSignalSpy aborts(&form, &BackForm::abortRequested);
    QSignalSpy closes(&form, &BackForm::closeRequested);
    form.show();
    QTest::mouseClick(Child<QPushButton>(form, "中止BTN"), Qt::LeftButton);
    EXPECT_EQ(aborts.count(), 1);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(closes.count(), 0);
}

TEST(BackForm, KibakoRefusesTheUsersCloseButHides) {
    BackForm form(BackForm::Variant::Kibako);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QSignalSpy closes(&form, &BackForm::closeRequested);
    // The close box.
    EXPECT_FALSE(form.windowHandle()->close());
    EXPECT_FALSE(form.isVisible());
    form.show();
    EXPECT_FALSE(form.close());
    EXPECT_FALSE(form.isVisible());

    // The program's own close is accepted.
    form.show();
    form.Unload();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(closes.count(), 0);
}

TEST(BackForm, TetoruEndsOnAnyClose) {
    BackForm form(BackForm::Variant::Tetoru);
    QSignalSpy closes(&form, &BackForm::closeRequested);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.windowHandle()->close();
    EXPECT_EQ(closes.count(), 1);
    EXPECT_FALSE(form.isVisible());
    form.show();
    form.close();
    EXPECT_EQ(closes.count(), 2);
}

TEST(BackForm, KibakoIsPlacedOffsetFromTheCatalogWindow) {
    TempDrives drives;
    drives.WriteFile(S("C:\\Kibako.INI"), "[Options]\r\nWindowX=-50\r\nWindowY= 100\r\n");
    BackForm form(BackForm::Variant::Kibako);
    form.PlaceFromSettings(store::Settings(S("C:\\Kibako.INI")));
    EXPECT_EQ(form.pos(), ExpectedPixels(form, 600, 1000));
}

TEST(BackForm, TetoruIsPlacedWithoutOffset) {
    TempDrives drives;
    drives.WriteFile(S("C:\\Kibako.INI"), "[Options]\r\nWindowX=-300\r\nWindowY= 2880\r\n");
    BackForm form(BackForm::Variant::Tetoru);
    form.PlaceFromSettings(store::Settings(S("C:\\Kibako.INI")));
    EXPECT_EQ(form.pos(), ExpectedPixels(form, 0, 2880));

    // No settings at all: the corner of the screen.
    form.PlaceFromSettings(store::Settings(S("C:\\Missing.INI")));
    EXPECT_EQ(form.pos(), QPoint(0, 0));
}

}  // namespace
