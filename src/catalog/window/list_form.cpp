#include "catalog/window/list_form.h"

#include "catalog/commands/registration_editor.h"
#include "catalog/forms/entry_form.h"

#include "dialogs/input_dialog.h"
#include "engine/engine.h"
#include "engine/run_log.h"
#include "engine/windows/qt_engine_ui.h"

#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>

#include <functional>

#include "catalog/grid/active_grid.h"
#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/grid/header_bar.h"
#include "catalog/window/scroll_bar_focus.h"
#include "engine/engine.h"
#include "util/message_sink.h"

namespace catalog {
namespace {

// The window's client area: draws the edge under the menu bar and lays the
// controls out when resized.
class CatalogArea final : public QWidget {
  public:
    CatalogArea(grid::CatalogLayoutState& layout, QWidget* parent)
        : QWidget(parent), layout_(layout) {}
    std::function<void()> resized;

  protected:
    void paintEvent(QPaintEvent*) override {
        if (layout_.windowPaintingSuspended) return;
        QPainter painter(this);
        grid::PaintWindowEdge(painter, width());
    }
    void resizeEvent(QResizeEvent*) override {
        if (resized) resized();
    }

  private:
    grid::CatalogLayoutState& layout_;
};

struct ViewButton {
    const char* caption;
    const char* tooltip;
};
constexpr ViewButton kViewButtons[] = {
    {"ドライブ表示", "現在のドライブ、フォルダーを表示します"},
    {"保存設定表示", "バックアップ定義を、元フォルダー基準で表示します"},
    {"保存先表示", "バックアップ定義を、保存先基準で表示します"},
};

// The designed places of the controls, in pixels of a 96-dpi screen.
constexpr int kGridLeft = 4;
constexpr int kHeaderTop = 40;
constexpr int kHeaderHeight = 20;
constexpr int kStatusHeight = 20;

}  // namespace

ListForm::ListForm() {
    model_.SetListener(this);
    setObjectName(QStringLiteral("ListForm"));
    setWindowTitle(kCatalogCaption);
    engineUi_ =
        std::make_unique<engine::windows::QtEngineUi>(engine::windows::BackForm::Variant::Kibako);
    engine_ = std::make_unique<engine::Engine>(*engineUi_);
    engineUi_->AttachEngine(engine_.get());
    engineUi_->SetOwnerWindow(engine::Owner::Caller, this);
    engineUi_->SetTextQuestion(
        [this](const QString& prompt, const QString& title, const QString& text) {
            return dialogs::InputDialog(this, prompt, title, text);
        });
    util::SetMessageSink(engineUi_.get());
    menus_ = BuildCatalogMenus(*menuBar());
    CreateControls();
    ConnectControls();
    registration_ = std::make_unique<RegistrationEditor>(*this);
    engineUi_->SetOwnerWindow(engine::Owner::Registration, &registration_->Dialog());
}

ListForm::~ListForm() {
    engine_->SetLog(nullptr);
    util::SetMessageSink(nullptr);
    engineUi_->AttachEngine(nullptr);
}

void ListForm::CreateControls() {
    auto* area = new CatalogArea(layout_, this);
    area->setObjectName(QStringLiteral("ListFormArea"));
    area_ = area;
    setCentralWidget(area_);
    updateButton_ = new QPushButton(QStringLiteral("更新分を保存"), area_);
    updateButton_->setObjectName(QStringLiteral("ZemBTN"));
    updateButton_->setToolTip(QStringLiteral("更新されたフォルダーをバックアップします"));
    updateButton_->setGeometry(kGridLeft, 7, 104, 26);
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(kViewButtons[i].caption), area_);
        button->setObjectName(QStringLiteral("表示OPT%1").arg(i));
        button->setToolTip(QString::fromUtf8(kViewButtons[i].tooltip));
        button->setGeometry(122 + i * 112, 9, 110, 22);
        viewButtons_[static_cast<size_t>(i)] = button;
    }
    viewButtons_[kSettingsView]->setChecked(true);
    driveBox_ = new QComboBox(area_);
    driveBox_->setObjectName(QStringLiteral("DRVBOX"));
    driveBox_->setGeometry(460, 7, 200, 26);

    folderGrid_ = new grid::GridSurface(area_);
    folderGrid_->setObjectName(QStringLiteral("DIRGRD"));
    folderScrollBar_ = new QScrollBar(Qt::Vertical, area_);
    folderScrollBar_->setObjectName(QStringLiteral("SCRDIR"));
    fileGrid_ = new grid::GridSurface(area_);
    fileGrid_->setObjectName(QStringLiteral("FILGRD"));
    fileScrollBar_ = new QScrollBar(Qt::Vertical, area_);
    fileScrollBar_->setObjectName(QStringLiteral("SCRFIL"));
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (QScrollBar* bar : {folderScrollBar_, fileScrollBar_}) bar->resize(barWidth, 100);
    folderSide_.surface = folderGrid_;
    folderSide_.bar = folderScrollBar_;
    folderSide_.states = {&model_.DriveRows().grid, &model_.RegistrationRows().grid};
    fileSide_.surface = fileGrid_;
    fileSide_.bar = fileScrollBar_;
    fileSide_.states = {&fileRows_};
    folderTitleBar_ = new grid::HeaderBar(&folderSide_, area_);
    folderTitleBar_->setObjectName(QStringLiteral("ITMBAR"));
    fileTitleBar_ = new grid::HeaderBar(&fileSide_, area_);
    fileTitleBar_->setObjectName(QStringLiteral("ITFBAR"));
    for (grid::HeaderBar* bar : {folderTitleBar_, fileTitleBar_}) bar->resize(400, kHeaderHeight);
    folderGrid_->setGeometry(kGridLeft, kHeaderTop + kHeaderHeight, 400, 200);
    fileGrid_->SetDefaultMouseHandling(true);
    folderGrid_->SetScrollBar(folderScrollBar_);
    fileGrid_->SetScrollBar(fileScrollBar_);
    folderGrid_->SetState(&model_.RegistrationRows().grid);
    fileGrid_->SetState(&fileRows_);

    statusLine_ = new QLabel(area_);
    statusLine_->setObjectName(QStringLiteral("CONSOL"));
    statusLine_->setFrameShape(QFrame::Panel);
    statusLine_->setFrameShadow(QFrame::Sunken);
    statusLine_->resize(200, kStatusHeight);
    folderLabel_ = new QLabel(area_);
    folderLabel_->setObjectName(QStringLiteral("DIRDSP"));
    folderLabel_->resize(200, kStatusHeight);

    parts_ = {area_,         folderGrid_,    folderTitleBar_, folderScrollBar_, fileGrid_,
              fileTitleBar_, fileScrollBar_, statusLine_,     folderLabel_};
    area->resized = [this] { LayOut(); };
}

void ListForm::ConnectControls() {
    connect(menus_.fileStart, &QAction::triggered, this, &ListForm::BackupAll);
    connect(menus_.fileUpdate, &QAction::triggered, this, &ListForm::BackupUpdated);
    connect(updateButton_, &QPushButton::clicked, this, &ListForm::BackupUpdated);
    connect(menus_.fileExit, &QAction::triggered, this, &QWidget::close);
    connect(menus_.topics, &QAction::triggered, this, &ListForm::OpenHelp);
    connect(menus_.fileCheck, &QAction::triggered, this, &ListForm::CheckRegistrations);
    connect(menus_.fileRestore, &QAction::triggered, this, &ListForm::RestoreBackup);
    connect(menus_.fileVerify, &QAction::triggered, this, &ListForm::VerifyBackup);
    connect(menus_.fileVersions, &QAction::triggered, this, &ListForm::ShowVersions);
    connect(menus_.fileRestoreAsOf, &QAction::triggered, this, &ListForm::RestoreBackupAsOf);
    connect(menus_.editChange, &QAction::triggered, this, &ListForm::EditRegistration);
    connect(menus_.editDelete, &QAction::triggered, this, &ListForm::DeleteRegistration);
    for (QAction* item : menus_.newFileOnly)
        connect(item, &QAction::triggered, this, &ListForm::ToggleNewFileOnly);
    connect(menus_.skipRemovable, &QAction::triggered, this, &ListForm::ToggleSkipRemovable);
    connect(menus_.powerOff, &QAction::triggered, this, &ListForm::TogglePowerOff);
    connect(menus_.notifySuccess, &QAction::triggered, this, &ListForm::ToggleNotifySuccess);
    connect(menus_.schedule, &QAction::triggered, this, &ListForm::EditSchedule);
    connect(menus_.history, &QAction::triggered, this, &ListForm::EditHistory);
    connect(menus_.runLog, &QAction::triggered, this, &ListForm::ShowRunLog);
    ConnectDisplayMenu();
    for (int i = 0; i < 3; ++i) {
        connect(viewButtons_[static_cast<size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { SwitchView(i); });
    }
    connect(driveBox_, &QComboBox::currentIndexChanged, this, [this] { ScanDrive(); });
    connect(folderGrid_, &grid::GridSurface::gridMouseDown, this,
            [this](int button, int shift, QPoint pos) { OnFolderMouseDown(button, shift, pos); });
    connect(folderGrid_, &grid::GridSurface::gridMouseMove, this,
            [this](int buttons, int, QPoint pos) { OnFolderMouseMove(buttons, pos); });
    connect(folderGrid_, &grid::GridSurface::gridMouseUp, this, [this] {
        if (model_.View() == kDriveView) treeClick_ = false;
        folderGrid_->unsetCursor();
    });
    connect(folderGrid_, &grid::GridSurface::keyDown, this,
            [this](int key, int, bool handled, bool) { OnFolderKey(key, handled); });
    connect(folderGrid_, &grid::GridSurface::focusEntered, this,
            [this] { SetActiveGrid(grid::kFolderGridActive); });
    connect(fileGrid_, &grid::GridSurface::focusEntered, this,
            [this] { SetActiveGrid(grid::kFileGridActive); });
    connect(fileGrid_, &grid::GridSurface::gridMouseDown, this,
            [this] { SetActiveGrid(grid::kFileGridActive); });
    ForwardScrollBarFocus(folderScrollBar_, [this] {
        SetActiveGrid(grid::kFolderGridActive);
        folderGrid_->setFocus(Qt::MouseFocusReason);
    });
    ForwardScrollBarFocus(fileScrollBar_, [this] {
        SetActiveGrid(grid::kFileGridActive);
        fileGrid_->setFocus(Qt::MouseFocusReason);
    });
    folderGrid_->SetRowTextColour(
        [this](int row) { return model_.FailedRunOf(row) ? colours_.failedRun : grid::kNoColour; });
    connect(folderTitleBar_, &grid::HeaderBar::columnWidthsChanged, this, [this] {
        for (int i = 0; i < 3; ++i)
            settings_->PutSettingNumber(store::DirColWidthKey(i),
                                        folderSide_.widths[static_cast<size_t>(i)]);
    });
    connect(fileTitleBar_, &grid::HeaderBar::columnWidthsChanged, this, [this] {
        for (int i = 0; i < 3; ++i)
            settings_->PutSettingNumber(store::FileColWidthKey(i),
                                        fileSide_.widths[static_cast<size_t>(i)]);
    });
}

void ListForm::LayOut() { grid::LayoutCatalogWindow(parts_, layout_, scale_); }

FolderModel& ListForm::CurrentRows() { return model_.CurrentRows(); }

std::optional<RowLocation> ListForm::FindRow(const QString& path) { return model_.FindRow(path); }

bool ListForm::ShownCellChanged(FolderModel& rows, int shownRow, int column, QStringView text) {
    if (folderGrid_ == nullptr) return grid::ReplaceCellText(rows.grid, column, shownRow, text);
    return grid::SetCellText(*folderGrid_, rows.grid, column, shownRow, text);
}

QString ListForm::RowPath(int shownRow) { return model_.RowPath(shownRow); }

void ListForm::ChgDate(const QString& source, const QString& time) { model_.ChgDate(source, time); }

void ListForm::SetActiveGrid(int active) {
    grid::SetActiveGrid(
        activeGrid_, active, folderSide_, fileSide_,
        {colours_.selBack, colours_.selFore, grid::IsLowColourDisplay(colourCount_)});
}

bool ListForm::ExpandAllChecked() const { return menus_.expandAll->isChecked(); }

}  // namespace catalog
