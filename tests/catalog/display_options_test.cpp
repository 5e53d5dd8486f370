// The View menu's display options, the splitter and the focus, through the
// real catalog window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "catalog/forms/font_form.h"
#include "catalog/forms/option_form.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/grid/header_bar.h"
#include "catalog/window/list_form.h"
#include "program_folder_fixture.h"
#include "widgets/preset_answers.h"

namespace catalog {
namespace {

using testing::ProgramFolder;

QAction* Item(ListForm& form, const char* name) {
    return form.findChild<QAction*>(QString::fromUtf8(name));
}

QImage Painted(QWidget* widget) { return widget->grab().toImage(); }

QByteArray Ini(const ProgramFolder& folder) {
    return folder.ReadFile(QStringLiteral("Kibako.INI"));
}

// Two registrations: the settings view shows the header, C: and (expanded)
// the registration rows.
void WriteRegistrations(const ProgramFolder& folder) {
    folder.WriteFile(
        QStringLiteral("Kibako.Def"),
        testing::DefinitionFile(testing::EntryText(QStringLiteral("C:\\MY DOCUMENTS"),
                                                   QStringLiteral("D:\\DOCS"), QString(16, u' ')) +
                                testing::EntryText(QStringLiteral("C:\\Work\\Deep\\PROJECTS"),
                                                   QStringLiteral("D:\\WORK"), QString(16, u' '))));
}

void AddOptions(const ProgramFolder& folder, const QByteArray& options) {
    folder.WriteFile(QStringLiteral("Kibako.INI"), Ini(folder) + "[Options]\r\n" + options);
}

TEST(DisplayOptions, NameCaseRepaintsTheGridsAndIsWrittenAtOnce) {
    ProgramFolder folder;
    WriteRegistrations(folder);
    AddOptions(folder, "ExpandFirst=True\r\n");
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    const QImage capitalised = Painted(form.FolderGrid());
    Item(form, "M_表示_文字2")->trigger();
    EXPECT_TRUE(Ini(folder).contains("NameCase= 2"));
    EXPECT_EQ(form.RegistrationRows().grid.nameCase[0], 2);
    EXPECT_EQ(form.FileRows().nameCase[0], 2);
    EXPECT_EQ(form.DriveRows().grid.nameCase[0], 2);
    const QImage upper = Painted(form.FolderGrid());
    EXPECT_NE(upper, capitalised);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(
            Item(form, QStringLiteral("M_表示_文字%1").arg(i).toUtf8().constData())->isChecked(),
            i == 2);
    Item(form, "M_表示_文字3")->trigger();
    EXPECT_EQ(Painted(form.FolderGrid()), capitalised);
    EXPECT_TRUE(Ini(folder).contains("NameCase= 3"));
    // Choosing the checked item keeps it checked.
    Item(form, "M_表示_文字3")->trigger();
    EXPECT_TRUE(Item(form, "M_表示_文字3")->isChecked());
    form.close();
}

TEST(DisplayOptions, RuledLinesToggleOneGridAndWriteTheirFlag) {
    ProgramFolder folder;
    WriteRegistrations(folder);
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    const QImage folderBefore = Painted(form.FolderGrid());
    const QImage fileBefore = Painted(form.FileGrid());
    QAction* item = Item(form, "M_表示_横罫D");
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(Ini(folder).contains("KeiDispH=-1"));
    EXPECT_EQ(form.RegistrationRows().grid.hLineWidth, 1);
    EXPECT_NE(Painted(form.FolderGrid()), folderBefore);
    EXPECT_EQ(Painted(form.FileGrid()), fileBefore);
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_TRUE(Ini(folder).contains("KeiDispH= 0"));
    EXPECT_EQ(Painted(form.FolderGrid()), folderBefore);
    // The file grid's vertical lines: on by default, off after the item.
    Item(form, "M_表示_縦罫F")->trigger();
    EXPECT_FALSE(Item(form, "M_表示_縦罫F")->isChecked());
    EXPECT_TRUE(Ini(folder).contains("KeiFileV= 0"));
    EXPECT_EQ(form.FileRows().vLineWidth, 0);
    EXPECT_NE(Painted(form.FileGrid()), fileBefore);
    EXPECT_EQ(Painted(form.FolderGrid()), folderBefore);
    form.close();
}

TEST(DisplayOptions, LineSpacingMakesEveryGridsRowsTaller) {
    ProgramFolder folder;
    WriteRegistrations(folder);
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    const int folderRows = form.RegistrationRows().grid.visibleRows;
    const int height = form.RegistrationRows().grid.rowHeight;
    const QImage before = Painted(form.FolderGrid());
    Item(form, "M_表示_行間3")->trigger();
    EXPECT_TRUE(Ini(folder).contains("ListInterleave= 4"));
    EXPECT_TRUE(Item(form, "M_表示_行間3")->isChecked());
    EXPECT_FALSE(Item(form, "M_表示_行間0")->isChecked());
    for (const grid::GridState* g :
         {&form.RegistrationRows().grid, &form.DriveRows().grid, &form.FileRows()})
        EXPECT_EQ(g->interleave, 4);
    // Three pixels more per row before the rows are stretched to the grid.
    EXPECT_GE(form.RegistrationRows().grid.rowHeight, height + 3 - 1);
    EXPECT_LE(form.RegistrationRows().grid.visibleRows, folderRows);
    // Bigger rows, bigger icons: the drive row's indent follows the new step.
    const grid::GridState& g = form.RegistrationRows().grid;
    EXPECT_EQ(g.indentStep, g.iconWidth[0] + 2);
    EXPECT_EQ(grid::RowIndent(g, 1), g.indentStep + 6);
    EXPECT_NE(Painted(form.FolderGrid()), before);
    form.close();
}

// --- focus ------------------------------------------------------------

TEST(CatalogFocus, FolderGridTakesTheKeysAtStartUp) {
    ProgramFolder folder;
    WriteRegistrations(folder);
    AddOptions(folder, "ExpandFirst=-1\r\n");
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), form.FolderGrid());
    EXPECT_EQ(form.ActiveGrid(), 0);
    const grid::GridState& g = form.RegistrationRows().grid;
    ASSERT_GT(g.rowCount, 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(g.currentRow, 1);
    // A stray Space marks the row; it starts no backup.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(g.markCount, 1);
    EXPECT_TRUE(widgets::presets::TakeAnsweredMessages().empty());
    form.close();
}

TEST(CatalogFocus, ClickingAScrollBarActivatesItsGrid) {
    ProgramFolder folder;
    WriteRegistrations(folder);
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto* fileScrollBar = form.findChild<QScrollBar*>(QStringLiteral("SCRFIL"));
    auto* folderScrollBar = form.findChild<QScrollBar*>(QStringLiteral("SCRDIR"));
    QTest::mouseClick(fileScrollBar, Qt::LeftButton, {}, QPoint(fileScrollBar->width() / 2, 4));
    EXPECT_EQ(form.ActiveGrid(), -1);
    EXPECT_EQ(QApplication::focusWidget(), form.FileGrid());
    EXPECT_NE(form.RegistrationRows().grid.cursorBack, grid::kSystemHighlight);
    QTest::mouseClick(folderScrollBar, Qt::LeftButton, {}, QPoint(folderScrollBar->width() / 2, 4));
    EXPECT_EQ(form.ActiveGrid(), 0);
    EXPECT_EQ(QApplication::focusWidget(), form.FolderGrid());
    EXPECT_EQ(form.RegistrationRows().grid.cursorBack, grid::kSystemHighlight);
    form.close();
}

// --- splitter -----------------------------------------------------------

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

TEST(CatalogSplitter, DragMovesTheSplitAndTheShareIsKeptAtClose) {
    ProgramFolder folder;
    {
        ListForm form;
        ASSERT_TRUE(form.Load({}));
        QWidget* area = form.centralWidget();
        QWidget* folderGrid = form.FolderGrid();
        auto* fileTitleBar = form.findChild<QWidget*>(QStringLiteral("ITFBAR"));
        const int before = folderGrid->height();
        const QPoint band(folderGrid->x() + 50,
                          (folderGrid->geometry().bottom() + fileTitleBar->y()) / 2 + 1);
        SendMouse(area, QEvent::MouseMove, band, Qt::NoButton);
        EXPECT_EQ(area->cursor().shape(), Qt::SplitVCursor);
        SendMouse(area, QEvent::MouseMove, band - QPoint(0, 40), Qt::NoButton);
        EXPECT_EQ(area->cursor().shape(), Qt::ArrowCursor);
        SendMouse(area, QEvent::MouseButtonPress, band, Qt::LeftButton);
        SendMouse(area, QEvent::MouseMove, band + QPoint(0, 60), Qt::LeftButton);
        SendMouse(area, QEvent::MouseButtonRelease, band + QPoint(0, 60), Qt::NoButton);
        EXPECT_GT(folderGrid->height(), before + 40);
        EXPECT_GT(form.FileGrid()->y(), folderGrid->geometry().bottom());
        // Dragged far up: the folder grid keeps 1800 twips (120 pixels at 96 dpi).
        const QPoint band2(folderGrid->x() + 50,
                           (folderGrid->geometry().bottom() + fileTitleBar->y()) / 2 + 1);
        SendMouse(area, QEvent::MouseButtonPress, band2, Qt::LeftButton);
        SendMouse(area, QEvent::MouseMove, QPoint(band2.x(), folderGrid->y()), Qt::LeftButton);
        SendMouse(area, QEvent::MouseButtonRelease, QPoint(band2.x(), folderGrid->y()),
                  Qt::NoButton);
        const int tpy = form.Scale().tpy;
        EXPECT_LE(folderGrid->height() * tpy, 1800 + 4 * tpy);
        EXPECT_GT(folderGrid->height() * tpy, 1800 - 200);
        form.close();
    }
    const QByteArray ini = Ini(folder);
    EXPECT_FALSE(ini.contains("FolderPercent= 60"));
    EXPECT_TRUE(ini.contains("FolderPercent="));
}

// --- dialogs through the window --------------------------------------------

// Acts on the dialog once the window has shown it (the menu handler lets
// events run first), then stops looking.
template <typename Form>
void WhenShown(std::function<void(Form*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* form = qobject_cast<Form*>(QApplication::activeModalWidget());
        if (form == nullptr) return;
        timer->stop();
        timer->deleteLater();
        act(form);
    });
    timer->start(10);
}

TEST(DisplayOptions, ColourDialogWritesStoredColoursAndRepaints) {
    ProgramFolder folder;
    WriteRegistrations(folder);
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    // Cancelled after a change: nothing written, nothing changed.
    WhenShown<OptionForm>([](OptionForm* dialog) {
        dialog->SelectRole(5);
        dialog->PickFromPalette(QPoint(1, 1));
        dialog->findChild<QPushButton*>(QStringLiteral("CANBTN"))->click();
    });
    Item(form, "M_表示_色設定")->trigger();
    EXPECT_FALSE(Ini(folder).contains("ListBackCol"));
    EXPECT_EQ(form.Colours().listBack, 0xFFFFFFu);
    // OK: the background of both grids becomes palette entry 19 (0xC0DCC0).
    WhenShown<OptionForm>([](OptionForm* dialog) {
        EXPECT_EQ(dialog->Colours()[6], grid::kSystemHighlight);
        dialog->SelectRole(5);
        auto* view = dialog->findChild<QWidget*>(QStringLiteral("COLVIW"));
        const QPoint cell(3 * view->width() / 4 + 5, 4 * view->height() / 6 + 5);
        QTest::mouseClick(view, Qt::LeftButton, {}, cell);
        dialog->findChild<QPushButton*>(QStringLiteral("OKBTN"))->click();
    });
    Item(form, "M_表示_色設定")->trigger();
    const QByteArray ini = Ini(folder);
    EXPECT_TRUE(ini.contains("ListBackCol= 12639424")) << ini.constData();
    EXPECT_TRUE(ini.contains("SelBackCol=-2147483635"));
    EXPECT_TRUE(ini.contains("SelForeCol=-2147483634"));
    EXPECT_TRUE(ini.contains("TitleBackCol= 9218729"));
    EXPECT_EQ(form.Colours().listBack, 0xC0DCC0u);
    for (QWidget* grid :
         {static_cast<QWidget*>(form.FolderGrid()), static_cast<QWidget*>(form.FileGrid())}) {
        const QImage image = Painted(grid);
        EXPECT_EQ(image.pixelColor(image.width() - 6, image.height() - 4),
                  QColor(0xC0, 0xDC, 0xC0));
    }
    form.close();
}

TEST(DisplayOptions, FontChangeRelaysBothGridsAndRoundTripsADecimalSize) {
    ProgramFolder folder;
    WriteRegistrations(folder);
    AddOptions(folder, "ExpandFirst=-1\r\nFontSize=9.75\r\n");
    double sizeAtStart = 0;
    int heightBefore = 0;
    int indentBefore = 0;
    {
        ListForm form;
        ASSERT_TRUE(form.Load({}));
        sizeAtStart = form.FolderGrid()->font().pointSizeF();
        const grid::GridState& g = form.RegistrationRows().grid;
        ASSERT_GE(g.rowCount, 5);
        heightBefore = g.rowHeight;
        indentBefore = grid::RowIndent(g, g.rowCount - 1);
        WhenShown<FontForm>([](FontForm* dialog) {
            EXPECT_TRUE(dialog->SampleText().endsWith(QStringLiteral("Windows98")));
            for (int i = 0; i < 6; ++i)
                dialog->findChild<QPushButton*>(QStringLiteral("SIZBTN1"))->click();
            dialog->findChild<QAbstractButton*>(QStringLiteral("BLDSEL"))->click();
            // Enter is OK wherever the focus is; no button takes the press.
            // The dialog's own focus widget is asked, not the application's:
            // on a busy machine the window may not be active yet.
            auto* sizeButton = dialog->findChild<QPushButton*>(QStringLiteral("SIZBTN0"));
            for (QWidget* focus : {dialog->focusWidget(), static_cast<QWidget*>(sizeButton)}) {
                if (focus == nullptr) continue;
                focus->setFocus();
                QTest::keyPress(focus, Qt::Key_Return);
            }
            QTest::keyRelease(sizeButton, Qt::Key_Return);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "Enter did not close the font dialog";
                dialog->reject();
            }
        });
        Item(form, "M_表示_フォント")->trigger();
        EXPECT_DOUBLE_EQ(form.FolderGrid()->font().pointSizeF(), 14.25);
        EXPECT_DOUBLE_EQ(form.FileGrid()->font().pointSizeF(), 14.25);
        EXPECT_TRUE(form.FileGrid()->font().bold());
        EXPECT_GT(g.rowHeight, heightBefore);
        EXPECT_GT(form.FileRows().rowHeight, heightBefore);
        EXPECT_GT(grid::RowIndent(g, g.rowCount - 1), indentBefore);
        EXPECT_EQ(g.indentStep, g.iconWidth[0] + 2);
        form.close();
    }
    EXPECT_DOUBLE_EQ(sizeAtStart, 9.75);
    const QByteArray ini = Ini(folder);
    EXPECT_TRUE(ini.contains("FontSize=14.25\r\n")) << ini.constData();
    EXPECT_TRUE(ini.contains("FontBold=-1"));
    EXPECT_TRUE(ini.contains("FontName="));
    // The next start reads the size back unchanged.
    ListForm again;
    ASSERT_TRUE(again.Load({}));
    EXPECT_DOUBLE_EQ(again.FolderGrid()->font().pointSizeF(), 14.25);
    EXPECT_TRUE(again.FolderGrid()->font().bold());
    again.close();
}

// --- a start with settings carried over from the old system -----------------

TEST(CatalogStartUp, CarriedOverSettingsShapeTheFirstPaintedView) {
    ProgramFolder folder;
    WriteRegistrations(folder);
    AddOptions(folder,
               "ExpandFirst=-1\r\nFontSize=9.75\r\nFontBold=0\r\nNameCase=0\r\n"
               "SelBackCol=-2147483635\r\nSelForeCol=-2147483634\r\nListBackCol= 16777215\r\n"
               "KeiDispH=-1\r\n");
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    QApplication::processEvents();
    const grid::GridState& g = form.RegistrationRows().grid;
    EXPECT_DOUBLE_EQ(form.FolderGrid()->font().pointSizeF(), 9.75);
    EXPECT_EQ(form.Colours().selBack, grid::kSystemHighlight);
    EXPECT_EQ(form.Colours().selFore, grid::kSystemHighlightText);
    EXPECT_EQ(g.nameCase[0], 0);
    EXPECT_EQ(g.hLineWidth, 1);
    // The first column keeps its designed title until a view is chosen.
    auto* folderTitleBar = form.findChild<grid::HeaderBar*>(QStringLiteral("ITMBAR"));
    EXPECT_EQ(folderTitleBar->Side()->titles[0], u"フォルダー");
    EXPECT_EQ(folderTitleBar->Side()->titles[1], u"保存先");
    // The cursor cell of the focused folder grid shows the system highlight.
    const QImage first = Painted(form.FolderGrid());
    const QColor highlight = form.FolderGrid()->palette().color(QPalette::Highlight);
    EXPECT_EQ(first.pixelColor(grid::GridSurface::kBorder + grid::Edge(g, 0) - 10,
                               grid::GridSurface::kBorder + g.rowHeight / 2),
              highlight);
    // Names are painted as stored: capitalising them changes the picture.
    form.SetNameCase(3);
    EXPECT_NE(Painted(form.FolderGrid()), first);
    form.close();
}

}  // namespace
}  // namespace catalog
