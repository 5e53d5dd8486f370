#pragma once

#include <QFont>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

#include "catalog/commands/restore_commands.h"
#include "catalog/forms/restore_windows.h"
#include "catalog/grid/catalog_layout.h"
#include "catalog/grid/display_colours.h"
#include "catalog/grid/grid_side.h"
#include "catalog/grid/icon_strip.h"
#include "catalog/model/catalog_drive_file.h"
#include "catalog/model/catalog_model.h"
#include "catalog/model/failed_runs.h"
#include "catalog/model/run_options.h"
#include "catalog/rows/folder_model.h"
#include "catalog/rows/row_lookup.h"
#include "catalog/window/catalog_menus.h"
#include "store/definition_list.h"
#include "store/settings.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace engine {
class Engine;
class RunLog;
namespace windows {
class QtEngineUi;
}  // namespace windows
}  // namespace engine

namespace catalog::grid {
class GridSurface;
class HeaderBar;
}  // namespace catalog::grid

namespace catalog {

class RegistrationEditor;

inline const QString kCatalogCaption = QStringLiteral("キバコ Ver1.7B");
inline const QString kNotHardDiskText =
    QStringLiteral("ハードディスク以外のドライブはバックアップできません");

// The catalog's main window: browse the drives and folders, see which folders
// are registered for backup and where to, change those registrations, and
// start backups.
//
// The catalog window ListForm: menus, the run button, the view buttons, the
// drive list, the folder grid and the file grid with their title bars and
// scroll bars, the status line and the folder label. Load runs the start-up;
// closing the window runs the shut-down (saving without asking).
//
// The folder grid shows the drive rows in the drive view and the
// registration rows in the two registration views; the file grid lists the
// files of the folder (or the members of the archive) of the folder grid's
// current row. The data lies in a CatalogModel: the registration dialog, the
// deletion and the check of registrations and the new last-backup times after
// a run change the model, and the window draws what its listener hears.
class ListForm : public QMainWindow, private CatalogModel::Listener {
    Q_OBJECT
  public:
    ListForm();
    ~ListForm() override;

    // The start-up sequence; false when the program must end at once (the
    // system date lies before 2000). `arguments` is the command line without
    // the program name.
    bool Load(const QStringList& arguments);

    // --- views ---------------------------------------------------------
    int CurrentView() const { return model_.View(); }
    // The click on 表示OPT(view).
    void SwitchView(int view);
    // The DRVBOX change: reads the selected fixed drive.
    void ScanDrive();
    // Shows the drive rows up to `depth` levels (0: all). With keepPosition
    // the caller restores the cursor itself.
    void ShowDriveRows(int depth, bool keepPosition = false);
    // Collapses the registration rows to their drive rows unless MD_展開 is checked.
    void CollapseToDrives();
    // The tree-area click on a shown row of the current view: expands it when
    // its children are hidden (with `all`, its whole subtree), else collapses it.
    void ToggleRow(int shownRow, bool all);
    // Rebuilds the drive view at the next switch to it (a registration
    // changed while a registration view was shown). Never cleared.
    void MarkDriveRebuild() { model_.MarkDriveRebuild(); }
    bool DriveRebuildPending() const { return model_.DriveRebuildPending(); }
    QChar ScannedDrive() const { return scannedDrive_; }

    // --- rows ----------------------------------------------------------
    FolderModel& DriveRows() { return model_.DriveRows(); }
    FolderModel& RegistrationRows() { return model_.RegistrationRows(); }
    // The model the folder grid shows now.
    FolderModel& CurrentRows();
    grid::GridState& FileRows() { return fileRows_; }
    // The row of the current model whose KEY is `path` (case-insensitive).
    std::optional<RowLocation> FindRow(const QString& path);
    // RowPath of a shown row of the current model.
    QString RowPath(int shownRow);
    // A new last-backup time for the row of `source`: the drive row in the
    // drive view, else the registration row (which sets the modified flag).
    // A folder without a row is ignored.
    void ChgDate(const QString& source, const QString& time);

    // --- commands ------------------------------------------------------
    void BackupAll();      // M_ファイル_開始
    void BackupUpdated();  // M_ファイル_更新, ZemBTN
    void ToggleNewFileOnly();
    void ToggleSkipRemovable();
    void TogglePowerOff();
    void ToggleNotifySuccess();
    // Tetoru's timer, and the log of every run.
    void EditSchedule();
    void EditHistory();
    void ShowRunLog();
    void OpenHelp();  // M_トピック
    // M_編集_修正, Enter and the column-1 click on the folder grid: the
    // registration dialog for the current row.
    void EditRegistration();
    void DeleteRegistration();  // M_編集_削除
    void CheckRegistrations();  // MF_確認
    // The backup of the registration of the listed folder put back: whole
    // from the folder grid, the current and marked files from the file grid.
    void RestoreBackup();
    // 以前の版: the versions of the current file of the file grid.
    void ShowVersions();
    // 日時を指定して復元: as バックアップから復元, each file as it was at a
    // chosen time, from the backup or its history.
    void RestoreBackupAsOf();
    // That registration's backup compared with its source, the differences
    // shown in a window.
    void VerifyBackup();
    RestoreHooks& RestoreChoices() { return restoreHooks_; }
    // After a rebuild of the current view: the cursor on the row of `path`,
    // its ancestors expanded, the row at the top; without such a row the
    // cursor stays on the same shown row where there is one.
    void ShowRowOf(const QString& path, int fallbackRow);
    // The folder grid drawn again after its rows changed.
    void RepaintFolderGrid();
    // The keyboard focus back to the grid that last had it.
    void FocusActiveGrid();

    // --- display options -------------------------------------------------
    // Each takes effect on both grids at once and writes its setting at once.
    void SetNameCase(int index);       // M_表示_文字(index): NameCase := index
    void ToggleRuledLines(int which);  // 0 KeiDispV, 1 KeiDispH, 2 KeiFileV, 3 KeiFileH
    void SetInterleave(int index);     // M_表示_行間(index): ListInterleave := index + 1
    void OpenColourDialog();           // M_表示_色設定
    void OpenFontDialog();             // M_表示_フォント
    // The font change after the font dialog's OK: both grids take the font,
    // rows, icons and indents follow it, FontName/FontSize/FontBold are written.
    void ApplyGridFont(const QFont& font);
    int NameCase() const { return nameCase_; }
    int Interleave() const { return interleave_; }
    const std::array<int, 4>& RuledLines() const { return ruledLines_; }
    const grid::DisplayColours& Colours() const { return colours_; }

    // --- the last run of each registration --------------------------------
    // Reads the run log again: rows of registrations whose last run failed
    // are painted in FailedRunCol, and the current row's reason is told.
    void ReadRunStatus();
    // Its second half, after the model has read the log (LoadFailedRuns):
    // the rows and the status line shown.
    void ShowRunStatus();
    bool LowColourDisplay() const;

    // A backup, a registration's save-now or the check of registrations runs
    // inside the handler that started it, letting window events run. While
    // one runs the catalog takes no commands: BeginRun refuses a second one
    // (false), the window's controls and menus are disabled (the progress
    // window and its 中止BTN stay usable), and a close request stops the run
    // after its current file. EndRun enables the window again; when a close
    // was requested it runs the shut-down now and answers false: the caller
    // reports nothing more.
    bool BeginRun();
    bool EndRun();
    bool Running() const { return model_.Running(); }
    const RunOptions& Options() const { return options_; }
    bool ExpandAllChecked() const;

    // --- state other parts use -----------------------------------------
    store::DefinitionList& Definitions() { return model_.Definitions(); }
    const QString& DefinitionPath() const { return model_.DefinitionPath(); }
    void SetDefinitionPath(const QString& path) { model_.SetDefinitionPath(path); }
    // The catalog's data without its controls.
    CatalogModel& Model() { return model_; }
    const store::Settings& Settings() const { return *settings_; }
    const platform::DrivePath& ProgramFolder() const { return programFolder_; }
    engine::Engine& Engine() { return *engine_; }
    const CatalogMenus& Menus() const { return menus_; }
    grid::GridSurface* FolderGrid() const { return folderGrid_; }
    grid::GridSurface* FileGrid() const { return fileGrid_; }
    QLabel* StatusLine() const { return statusLine_; }
    QLabel* FolderLabel() const { return folderLabel_; }
    QComboBox* DriveBox() const { return driveBox_; }
    const CatalogDriveTable& CatalogDrives() const { return catalogDrives_; }
    int ActiveGrid() const { return activeGrid_; }
    void SetActiveGrid(int active);
    const grid::ScreenScale& Scale() const { return scale_; }
    QString BackupDir() const { return backupDir_; }
    void SetBackupDir(const QString& folder) { backupDir_ = folder; }
    int WinMeCaution() const { return winMeCaution_; }

    // --- file list -----------------------------------------------------
    // Lists in the file grid the path of the folder grid's current row (in
    // the destination view, outside the first column, the row's source
    // folder); nothing is read again while that path stays the listed one.
    // The folder label (DIRDSP) shows the path, the status line (CONSOL) the
    // count line unless the file grid is the active grid.
    void ListFiles();
    const QString& ListedFolder() const { return listedFolder_; }

    RegistrationEditor& Registration() { return *registration_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // What the model tells its view: a shown cell, rows removed or retyped
    // (drawn again, the files listed again), the definitions replaced (the
    // drive view read again at its next showing, with all levels, and the
    // settings view built and shown).
    bool ShownCellChanged(FolderModel& rows, int shownRow, int column, QStringView text) override;
    void RowsReplaced() override;
    void DefinitionsReplaced() override;
    // The files listed again, and the registration of the listed folder;
    // nothing, with the person told, when none holds it.
    std::optional<ListedRegistration> ListedRegistrationShown();
    // The restore of `selection` of that registration, and its summary shown.
    void RestoreFromBackup(const ListedRegistration& shown, const RestoreSelection& selection);
    void CreateControls();
    void ConnectControls();
    void ApplySettings();
    void ApplyGridSettings();
    void ApplyFonts();
    void PlaceWindow();
    void ApplyDisplayColours();
    void LoadIcons();
    void LayOut();
    // False, with the reason shown, when the definitions could not be saved.
    bool Shutdown();
    // True when a run goes on: the close is remembered for its end.
    bool DeferCloseToRunEnd();
    // False when any key could not be written.
    bool WriteClosingSettings();
    QString FileListPath();
    void OnFolderMouseDown(int button, int shift, QPoint pos);
    void OnFolderMouseMove(int buttons, QPoint pos);
    void OnFolderKey(int key, bool handled);
    void SelectDriveView();
    void ShowCurrentModel(bool fromTop);
    void SetFolderTitles(const QString& first, const QString& second);
    void UpdateOptionMarks();
    void UpdateDisplayMarks();
    void ConnectDisplayMenu();
    QString FontSample();

    std::unique_ptr<engine::windows::QtEngineUi> engineUi_;
    std::unique_ptr<engine::Engine> engine_;
    std::unique_ptr<engine::RunLog> runLog_;
    std::unique_ptr<store::Settings> settings_;
    std::unique_ptr<RegistrationEditor> registration_;
    CatalogModel model_;
    platform::DrivePath programFolder_;
    CatalogMenus menus_;

    QWidget* area_ = nullptr;
    QPushButton* updateButton_ = nullptr;         // ZemBTN
    std::array<QRadioButton*, 3> viewButtons_{};  // 表示OPT
    QComboBox* driveBox_ = nullptr;               // DRVBOX
    grid::GridSurface* folderGrid_ = nullptr;     // DIRGRD
    grid::HeaderBar* folderTitleBar_ = nullptr;   // ITMBAR
    QScrollBar* folderScrollBar_ = nullptr;       // SCRDIR
    grid::GridSurface* fileGrid_ = nullptr;       // FILGRD
    grid::HeaderBar* fileTitleBar_ = nullptr;     // ITFBAR
    QScrollBar* fileScrollBar_ = nullptr;         // SCRFIL
    QLabel* statusLine_ = nullptr;                // CONSOL: the file count line
    QLabel* folderLabel_ = nullptr;               // DIRDSP: the listed folder's path
    grid::SplitterDrag* splitter_ = nullptr;

    grid::GridState fileRows_;
    QString listedFolder_;  // the path the file grid lists
    grid::GridSide folderSide_;
    grid::GridSide fileSide_;
    grid::CatalogWindowParts parts_;
    grid::CatalogLayoutState layout_;
    grid::ScreenScale scale_;
    grid::IconStrip icons_;
    grid::DisplayColours colours_;
    long long colourCount_ = 1LL << 24;

    RunOptions options_;
    std::array<qint64, 8> levelColours_{};
    QString backupDir_;
    RestoreHooks restoreHooks_ = WindowRestoreHooks();
    int winMeCaution_ = 0;
    std::array<int, 4> ruledLines_{};  // KeiDispV, KeiDispH, KeiFileV, KeiFileH
    int nameCase_ = 3;
    int interleave_ = 1;
    CatalogDriveTable catalogDrives_;

    QChar scannedDrive_;
    int driveDepth_ = 0;
    bool treeClick_ = false;
    int activeGrid_ = 0;
    bool closed_ = false;
};

}  // namespace catalog
