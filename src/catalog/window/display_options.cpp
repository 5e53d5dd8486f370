// The View menu's display options: name case, ruled lines, line spacing, the
// colour dialog and the font dialog. Each change takes effect on both grids
// at once and is written to the settings file at once.
#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QScrollBar>

#include "catalog/forms/font_form.h"
#include "catalog/forms/font_list.h"
#include "catalog/forms/option_form.h"
#include "catalog/grid/active_grid.h"
#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/grid/header_bar.h"
#include "catalog/window/list_form.h"
#include "store/settings_keys.h"
#include "widgets/dialog_placement.h"

namespace catalog {
namespace {

// The menu has closed before the grids are painted again.
void LetEventsRun() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

const store::Key kRuledLineKeys[4] = {store::Key::KeiDispV, store::Key::KeiDispH,
                                      store::Key::KeiFileV, store::Key::KeiFileH};

}  // namespace

void ListForm::ConnectDisplayMenu() {
    for (int i = 0; i < 4; ++i) {
        connect(menus_.nameCase[static_cast<size_t>(i)], &QAction::triggered, this,
                [this, i] { SetNameCase(i); });
        connect(menus_.interleave[static_cast<size_t>(i)], &QAction::triggered, this,
                [this, i] { SetInterleave(i); });
    }
    const QAction* lines[4] = {menus_.folderVertical, menus_.folderHorizontal, menus_.fileVertical,
                               menus_.fileHorizontal};
    for (int i = 0; i < 4; ++i)
        connect(lines[i], &QAction::triggered, this, [this, i] { ToggleRuledLines(i); });
    connect(menus_.colours, &QAction::triggered, this, &ListForm::OpenColourDialog);
    connect(menus_.font, &QAction::triggered, this, &ListForm::OpenFontDialog);
}

void ListForm::UpdateDisplayMarks() {
    menus_.folderVertical->setChecked((ruledLines_[0] & 1) != 0);
    menus_.folderHorizontal->setChecked((ruledLines_[1] & 1) != 0);
    menus_.fileVertical->setChecked((ruledLines_[2] & 1) != 0);
    menus_.fileHorizontal->setChecked((ruledLines_[3] & 1) != 0);
    for (int i = 0; i < 4; ++i) {
        menus_.nameCase[static_cast<size_t>(i)]->setChecked(i == nameCase_);
        menus_.interleave[static_cast<size_t>(i)]->setChecked(i + 1 == interleave_);
    }
}

bool ListForm::LowColourDisplay() const { return grid::IsLowColourDisplay(colourCount_); }

void ListForm::SetNameCase(int index) {
    LetEventsRun();
    nameCase_ = index;
    settings_->PutSettingNumber(store::Key::NameCase, index);
    for (grid::GridState* g :
         {&model_.DriveRows().grid, &model_.RegistrationRows().grid, &fileRows_})
        g->nameCase[0] = index;
    RepaintFolderGrid();
    grid::PaintGrid(*fileGrid_, fileRows_, fileScrollBar_);
    UpdateDisplayMarks();
}

void ListForm::ToggleRuledLines(int which) {
    if (which < 0 || which > 3) return;
    int& flag = ruledLines_[static_cast<size_t>(which)];
    flag = ~flag;
    settings_->PutSettingNumber(kRuledLineKeys[which], flag);
    const bool folder = which < 2;
    const bool vertical = which % 2 == 0;
    const std::vector<grid::GridState*> states =
        folder ? std::vector<grid::GridState*>{&model_.DriveRows().grid,
                                               &model_.RegistrationRows().grid}
               : std::vector<grid::GridState*>{&fileRows_};
    for (grid::GridState* g : states) (vertical ? g->vLineWidth : g->hLineWidth) = flag & 1;
    LoadIcons();
    if (folder) {
        RepaintFolderGrid();
    } else {
        grid::PaintGrid(*fileGrid_, fileRows_, fileScrollBar_);
    }
    UpdateDisplayMarks();
}

void ListForm::SetInterleave(int index) {
    LetEventsRun();
    interleave_ = index + 1;
    settings_->PutSettingNumber(store::Key::ListInterleave, interleave_);
    for (grid::GridState* g :
         {&model_.DriveRows().grid, &model_.RegistrationRows().grid, &fileRows_})
        g->interleave = interleave_;
    grid::FitGrid(*folderGrid_, model_.DriveRows().grid, folderScrollBar_);
    grid::FitGrid(*folderGrid_, model_.RegistrationRows().grid, folderScrollBar_);
    grid::FitGrid(*fileGrid_, fileRows_, fileScrollBar_);
    LoadIcons();
    LayOut();
    UpdateDisplayMarks();
}

void ListForm::FocusActiveGrid() {
    (activeGrid_ == grid::kFileGridActive ? fileGrid_ : folderGrid_)
        ->setFocus(Qt::OtherFocusReason);
}

void ListForm::OpenColourDialog() {
    LetEventsRun();
    std::array<grid::ColourRef, kColourRoleCount> current{};
    for (int i = 0; i < kColourRoleCount; ++i) {
        current[static_cast<size_t>(i)] = static_cast<grid::ColourRef>(store::ReadNumberSetting(
            *settings_, kColourRoles[i].key, store::Program::Kibako, colourCount_));
    }
    int result = 0;
    {
        OptionForm form(current, LowColourDisplay(), this);
        result = form.ShowModal();
        if (result == OptionForm::kResultOk) {
            const auto chosen = form.Colours();
            for (int i = 0; i < kColourRoleCount; ++i) {
                // Stored as the 32-bit value: system colours become negative numbers.
                settings_->PutSettingNumber(kColourRoles[i].key,
                                            static_cast<qint32>(chosen[static_cast<size_t>(i)]));
            }
        }
    }
    if (result == OptionForm::kResultOk) ApplyDisplayColours();
    RepaintFolderGrid();
    grid::PaintGrid(*fileGrid_, fileRows_, fileScrollBar_);
    grid::LayoutHeaderBar(*folderTitleBar_);
    grid::LayoutHeaderBar(*fileTitleBar_);
    folderTitleBar_->update();
    fileTitleBar_->update();
    FocusActiveGrid();
}

QString ListForm::FontSample() {
    const grid::GridState& g = model_.DriveRows().grid;
    const int row = g.rowCount > 0 ? g.currentRow : -1;
    const auto cell = [&g, row](int column) {
        return row < 0 ? QString() : grid::CellText(g, column, row);
    };
    return FontSampleText(cell(0), cell(2), cell(3), cell(1));
}

void ListForm::OpenFontDialog() {
    LetEventsRun();
    int result = 0;
    QFont chosen;
    {
        FontForm form(QFontDatabase::families(), this);
        form.SetSample(folderGrid_->font(), QString());
        form.SetSample(folderGrid_->font(), FontSample());
        widgets::PlaceDialog(form, this, widgets::Placement::Beside);
        result = form.ShowModal();
        chosen = form.SampleFont();
    }
    if (result == FontForm::kResultOk) ApplyGridFont(chosen);
    FocusActiveGrid();
}

void ListForm::ApplyGridFont(const QFont& font) {
    folderGrid_->SetPaintingSuspended(true);
    fileGrid_->SetPaintingSuspended(true);
    QFont grid = folderGrid_->font();
    grid.setFamily(font.family());
    grid.setPointSizeF(font.pointSizeF());
    grid.setBold(font.bold());
    folderGrid_->setFont(grid);
    fileGrid_->setFont(folderGrid_->font());
    // The row height follows the font first; the icon size, the indent step
    // and the indents follow the row height.
    LayOut();
    LoadIcons();
    ShowDriveRows(driveDepth_, true);
    folderGrid_->SetPaintingSuspended(false);
    fileGrid_->SetPaintingSuspended(false);
    RepaintFolderGrid();
    grid::PaintGrid(*fileGrid_, fileRows_, fileScrollBar_);
    const QFont& applied = folderGrid_->font();
    settings_->PutSettingText(store::Key::FontName, applied.family());
    settings_->PutSettingDecimal(store::Key::FontSize, applied.pointSizeF());
    settings_->PutSettingNumber(store::Key::FontBold, applied.bold() ? store::kYes : store::kNo);
}

}  // namespace catalog
