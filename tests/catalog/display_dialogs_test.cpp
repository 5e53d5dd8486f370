// The colour dialog and the font dialog on their own, and the font list and
// sample rules they are built from.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "catalog/forms/font_form.h"
#include "catalog/forms/font_list.h"
#include "catalog/forms/option_form.h"
#include "program_folder_fixture.h"
#include "widgets/beep.h"
#include "widgets/preset_answers.h"

namespace catalog {
namespace {

class BeepCounter {
  public:
    BeepCounter() {
        widgets::SetBeepForTesting([this] { ++beeps; });
    }
    ~BeepCounter() { widgets::SetBeepForTesting({}); }
    int beeps = 0;
};

std::array<grid::ColourRef, kColourRoleCount> DefaultColours() {
    return {0x808000,
            0x808000,
            0xC0FFFF,
            0,
            0xFFFFFF,
            grid::kSystemHighlightText,
            grid::kSystemHighlight,
            0xA0A0A0,
            0xB0B0B0,
            0xEBF0F5,
            0x8CAAA9};
}

// The centre of palette cell `index` of the form's COLVIW.
QPoint PaletteCell(OptionForm& form, int index) {
    const QWidget* view = form.findChild<QWidget*>(QStringLiteral("COLVIW"));
    const int w = view->width() / kPaletteColumns;
    const int h = view->height() / kPaletteRows;
    return QPoint((index % kPaletteColumns) * w + w / 2, (index / kPaletteColumns) * h + h / 2);
}

TEST(ColourDialog, PaletteFollowsTheColourDepth) {
    testing::EnsureApplication();
    for (const bool low : {true, false}) {
        OptionForm form(DefaultColours(), low);
        form.show();
        form.SelectRole(5);
        auto* view = form.findChild<QWidget*>(QStringLiteral("COLVIW"));
        QTest::mouseClick(view, Qt::LeftButton, {}, PaletteCell(form, 16));
        EXPECT_EQ(form.Colours()[4], low ? 0xF4CC80u : 0xF0CAA6u);
        QTest::mouseClick(view, Qt::LeftButton, {}, PaletteCell(form, 23));
        EXPECT_EQ(form.Colours()[4], low ? 0x90A0E0u : 0x80A0FFu);
        QTest::mouseClick(view, Qt::LeftButton, {}, PaletteCell(form, 21));
        EXPECT_EQ(form.Colours()[4], 0xC0FFFFu);  // one value for both depths
        // The painted cell shows the entry: 0x00BBGGRR drawn as red, green, blue.
        const QImage image = view->grab().toImage();
        const QColor cell = image.pixelColor(PaletteCell(form, 16));
        EXPECT_EQ(cell, low ? QColor(0x80, 0xCC, 0xF4) : QColor(0xA6, 0xCA, 0xF0));
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));  // the white gap between cells
    }
    EXPECT_EQ(PaletteColour(9, false), 0x800000u);
    EXPECT_EQ(PaletteColour(24, false), 0u);
}

TEST(ColourDialog, RolesAreSelectedByNameOrSwatchAndPaletteNeedsOne) {
    testing::EnsureApplication();
    BeepCounter beep;
    OptionForm form(DefaultColours(), false);
    form.show();
    EXPECT_EQ(form.windowTitle(), u"オプション設定");
    auto* view = form.findChild<QWidget*>(QStringLiteral("COLVIW"));
    QTest::mouseClick(view, Qt::LeftButton, {}, PaletteCell(form, 2));
    form.findChild<QPushButton*>(QStringLiteral("COLBTN"))->click();
    EXPECT_EQ(beep.beeps, 2);
    EXPECT_EQ(form.Colours(), DefaultColours());
    auto* name = form.findChild<QLabel*>(QStringLiteral("COLNAM11"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), u"・項目名の背景色");
    QTest::mouseClick(name, Qt::LeftButton);
    EXPECT_EQ(form.SelectedRole(), 11);
    QTest::mouseClick(form.findChild<QWidget*>(QStringLiteral("COLDSP2")), Qt::LeftButton);
    EXPECT_EQ(form.SelectedRole(), 2);
    QTest::mouseClick(view, Qt::LeftButton, {}, PaletteCell(form, 2));
    EXPECT_EQ(form.Colours()[1], 0x0000FFu);
    EXPECT_EQ(form.Colours()[10], 0x8CAAA9u);
    // The swatch shows its colour: 0x0000FF is red.
    QWidget* swatch = form.findChild<QWidget*>(QStringLiteral("COLDSP2"));
    EXPECT_EQ(swatch->grab().toImage().pixelColor(swatch->width() / 2, swatch->height() / 2),
              QColor(255, 0, 0));
}

TEST(ColourDialog, CustomColourComesFromTheChooserAndACancelKeepsTheSwatch) {
    testing::EnsureApplication();
    OptionForm form(DefaultColours(), false);
    form.show();
    form.SelectRole(4);
    for (const bool confirm : {false, true}) {
        QTimer::singleShot(0, [confirm] {
            auto* chooser = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(chooser, nullptr);
            EXPECT_EQ(chooser->objectName(), u"COLDIALOG");
            EXPECT_EQ(chooser->currentColor(), QColor(0, 0, 0));  // preset to the swatch
            chooser->setCurrentColor(QColor(0x12, 0x34, 0x56));
            confirm ? chooser->accept() : chooser->reject();
        });
        form.findChild<QPushButton*>(QStringLiteral("COLBTN"))->click();
        EXPECT_EQ(form.Colours()[3], confirm ? 0x563412u : 0u);
    }
}

TEST(FontDialog, ListTakesEachNameOnceWithTheWellKnownOnesFirst) {
    const QStringList screen = {
        QStringLiteral("Zeta"),      QStringLiteral("@IPAGothic"),
        QStringLiteral("Arial"),     QStringLiteral("  "),
        QStringLiteral("IPAGothic"), QStringLiteral("Zeta"),
        QStringLiteral("System"),    QStringLiteral("A very long font family name of forty chars")};
    EXPECT_EQ(FontListNames(screen),
              (QStringList{QStringLiteral("System"), QStringLiteral("Arial"),
                           QStringLiteral("Zeta"), QStringLiteral("IPAGothic"),
                           QStringLiteral("A very long font family name of forty chars")}));
    QStringList many;
    for (int i = 0; i < 450; ++i) many.append(QStringLiteral("Font%1").arg(i));
    EXPECT_EQ(FontListNames(many).size(), kMaxFontNames);
}

TEST(FontDialog, SampleAndSizeLabel) {
    const QChar cr(13);
    EXPECT_EQ(FontSampleText(QString(), QStringLiteral(" "), QString(), QStringLiteral("  ")),
              QStringLiteral("KIBAKO") + cr + QStringLiteral("0123456789") + cr +
                  QStringLiteral("漢字：キバコ") + cr + QStringLiteral("Windows98"));
    EXPECT_EQ(FontSampleText(QStringLiteral("Data "), QString(), QStringLiteral("2024/01/02"),
                             QStringLiteral("D:\\B")),
              QStringLiteral("Data ") + cr + QStringLiteral("2024/01/02") + cr +
                  QStringLiteral(" D:\\B") + cr + QStringLiteral("Windows98"));
    EXPECT_EQ(FontSizeLabel(9.75), u"9.75 Point");
    EXPECT_EQ(FontSizeLabel(10), u"10.0 Point");
    EXPECT_EQ(FontSizeLabel(10.5), u"10.5 Point");
}

TEST(FontDialog, SizeStepsStayWithinEightToSeventeenPoints) {
    testing::EnsureApplication();
    BeepCounter beep;
    FontForm form({QStringLiteral("IPAGothic"), QStringLiteral("IPAMincho")});
    QFont font(QStringLiteral("ipagothic"));
    font.setPointSizeF(9.75);
    font.setBold(true);
    form.SetSample(font, QStringLiteral("KIBAKO"));
    form.show();
    auto* label = form.findChild<QLabel*>(QStringLiteral("COLDSP"));
    EXPECT_EQ(label->text(), u"9.75 Point");
    EXPECT_TRUE(form.findChild<QAbstractButton*>(QStringLiteral("BLDSEL"))->isChecked());
    // The list entry is found whatever the case of the name.
    EXPECT_EQ(form.findChild<QWidget*>(QStringLiteral("FONLST"))->property("currentRow").toInt(),
              0);
    form.findChild<QPushButton*>(QStringLiteral("SIZBTN1"))->click();
    EXPECT_EQ(label->text(), u"10.5 Point");
    EXPECT_DOUBLE_EQ(form.SampleFont().pointSizeF(), 10.5);
    QTest::keyClick(&form, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(&form, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(form.SampleFont().pointSizeF(), 9.0);
    QTest::keyClick(&form, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(&form, Qt::Key_Minus, Qt::KeypadModifier);  // 7.5: refused
    EXPECT_DOUBLE_EQ(form.SampleFont().pointSizeF(), 8.25);
    EXPECT_EQ(beep.beeps, 1);
    for (int i = 0; i < 12; ++i) form.StepSize(1);
    EXPECT_DOUBLE_EQ(form.SampleFont().pointSizeF(), 17.0 - 0.5);
    EXPECT_EQ(beep.beeps, 2);
    QTest::keyClick(&form, Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_FALSE(form.SampleFont().bold());
}

TEST(FontDialog, ArrowKeysChooseTheFontAsAClickDoes) {
    testing::EnsureApplication();
    FontForm form({QStringLiteral("IPAGothic"), QStringLiteral("IPAMincho")});
    form.SetSample(QFont(QStringLiteral("IPAGothic")), QStringLiteral("KIBAKO"));
    form.show();
    auto* list = form.findChild<QWidget*>(QStringLiteral("FONLST"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->property("currentRow").toInt(), 1);
    EXPECT_EQ(form.SampleFont().family(), u"IPAMincho");
    EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("SMPDSP"))->font().family(), u"IPAMincho");
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(form.SampleFont().family(), u"IPAGothic");
}

}  // namespace
}  // namespace catalog
