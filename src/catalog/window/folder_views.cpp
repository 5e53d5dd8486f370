// The three views of the folder grid: switching, the drive scan, showing the
// drive rows, and expanding and collapsing rows.
#include <QComboBox>
#include <QRadioButton>
#include <QScrollBar>

#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/grid/header_bar.h"
#include "catalog/rows/drive_reader.h"
#include "catalog/rows/registration_views.h"
#include "catalog/window/busy_cursor.h"
#include "catalog/window/list_form.h"
#include "platform/drive_table.h"
#include "util/message_sink.h"

namespace catalog {
namespace {

constexpr int kScanDisplayDepth = 2;
constexpr int kNoDepthLimit = 1024;

void LetEventsRun() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace

void ListForm::SwitchView(int view) {
    if (view == kDriveView) {
        model_.SetView(view);
        if (model_.DriveRebuildPending()) {
            scannedDrive_ = QChar();
            ScanDrive();
        }
        SelectDriveView();
        return;
    }
    model_.SetView(view);
    viewButtons_[static_cast<size_t>(view)]->setChecked(true);
    if (view == kSettingsView) {
        BuildSettingsView(model_.RegistrationRows(), model_.Definitions(), model_.DefinitionPath(),
                          model_.LastRunFailures());
        CollapseToDrives();
        ShowCurrentModel(true);
        SetFolderTitles(QStringLiteral("転送元"), QStringLiteral("保存先"));
    } else {
        BuildDestinationView(model_.RegistrationRows(), model_.Definitions(),
                             model_.DefinitionPath());
        CollapseToDrives();
        ShowCurrentModel(true);
        SetFolderTitles(QStringLiteral("保存先"), QStringLiteral("転送元"));
    }
    ListFiles();
}

void ListForm::SelectDriveView() {
    model_.SetView(kDriveView);
    viewButtons_[kDriveView]->setChecked(true);
    ShowCurrentModel(false);
    SetFolderTitles(QStringLiteral("Folder"), QStringLiteral("保存先"));
    ListFiles();
}

void ListForm::ShowCurrentModel(bool fromTop) {
    FolderModel& m = CurrentRows();
    folderGrid_->SetState(&m.grid);
    if (fromTop) {
        grid::ResetGrid(*folderGrid_, m.grid, folderScrollBar_, 0);
    } else {
        grid::SyncScrollBar(folderScrollBar_, m.grid);
        grid::PaintGrid(*folderGrid_, m.grid, folderScrollBar_);
    }
}

void ListForm::SetFolderTitles(const QString& first, const QString& second) {
    folderSide_.titles[0] = first;
    folderSide_.titles[1] = second;
    grid::LayoutHeaderBar(*folderTitleBar_);
    folderTitleBar_->update();
}

void ListForm::ScanDrive() {
    const int index = driveBox_->currentIndex();
    if (index < 0) return;
    const QChar letter = driveBox_->itemData(index).toChar();
    if (letter == scannedDrive_) return;
    if (platform::CurrentDrives().TypeOf(letter) != platform::DriveType::Fixed) {
        util::Messages().StandardMessage(kNotHardDiskText, util::Buttons::Ok, util::Answer::Ok);
        return;
    }
    scannedDrive_ = letter;
    {
        BusyCursor busy;
        DriveReader reader(model_.Definitions().Entries());
        reader.letEventsRun = LetEventsRun;
        model_.DriveRows().list = reader.ScanDrive(letter);
        model_.DriveRows().rowMap.clear();
        ShowDriveRows(kScanDisplayDepth);
    }
    if (model_.View() != kDriveView) SelectDriveView();
}

void ListForm::ShowDriveRows(int depth, bool keepPosition) {
    FolderModel& m = model_.DriveRows();
    const int limit = depth == 0 ? kNoDepthLimit : depth;
    m.rowMap.clear();
    m.rowMap.reserve(static_cast<size_t>(m.list.Count()));
    for (int r = 0; r < m.list.Count(); ++r) {
        if (m.list.Level(r) <= limit) m.rowMap.push_back(r);
    }
    ShowMappedRows(m);
    if (!keepPosition) {
        m.grid.currentRow = 0;
        m.grid.topRow = 0;
    }
    if (folderGrid_->State() == &m.grid)
        grid::ResetGrid(*folderGrid_, m.grid, folderScrollBar_, m.grid.topRow);
    ListFiles();
}

void ListForm::CollapseToDrives() {
    if (ExpandAllChecked()) return;
    CollapseToLevel2(model_.RegistrationRows());
}

void ListForm::ToggleRow(int shownRow, bool all) {
    FolderModel& m = CurrentRows();
    if (shownRow < 0 || shownRow >= m.grid.rowCount) return;
    if (IsExpanded(m, shownRow)) {
        CollapseRow(m, shownRow);
    } else {
        const FolderReader reader = [this](const FolderModel& model, int fullRow) {
            DriveReader drive(model_.Definitions().Entries());
            return drive.ReadChildren(StoredPath(model, fullRow), model.list.Level(fullRow));
        };
        ExpandRow(m, shownRow, all, reader);
    }
    RepaintFolderGrid();
    // A collapse moves a cursor that was inside the hidden rows.
    ListFiles();
}

void ListForm::RepaintFolderGrid() {
    grid::GridState& g = CurrentRows().grid;
    grid::SyncScrollBar(folderScrollBar_, g);
    grid::PaintGrid(*folderGrid_, g, folderScrollBar_);
}

}  // namespace catalog
