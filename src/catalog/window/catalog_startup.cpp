// The catalog window's start-up: settings, then definitions, grids, layout and
// the first view; each step reads what the steps before it loaded.
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>

#include "catalog/grid/active_grid.h"
#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/grid/header_bar.h"
#include "catalog/rows/registration_views.h"
#include "catalog/window/list_form.h"

#include "dialogs/dialog_font.h"
#include "engine/backup_history.h"
#include "engine/engine.h"
#include "engine/run_log.h"
#include "engine/windows/qt_engine_ui.h"
#include "platform/drive_table.h"
#include "store/definition_file.h"
#include "store/program_start.h"
#include "store/settings_keys.h"
#include "store/window_geometry.h"
#include "util/file_ops.h"
#include "util/message_sink.h"
#include "util/program_folder.h"
#include "widgets/standard_box.h"

namespace catalog {
namespace {

// The window's designed place and size, in twips.
constexpr store::WindowGeometry kDesignedGeometry{600, 600, 12600, 9000};
constexpr int kDesignedFontPoints = 10;

long long DisplayColourCount() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int depth = screen != nullptr ? std::min(screen->depth(), 24) : 24;
    return 1LL << depth;
}

QString DriveBoxText(const platform::Drive& drive) {
    QString text = QString(drive.letter.toLower()) + u':';
    if (!drive.label.isEmpty()) text += QStringLiteral(" [%1]").arg(drive.label);
    return text;
}

}  // namespace

bool ListForm::Load(const QStringList& arguments) {
    if (store::ClockIsWrong()) {
        widgets::ShowStandardBox({store::WrongDateText(), util::Buttons::Ok, util::Answer::Ok,
                                  widgets::BoxIcon::Information});
        return false;
    }
    const store::ProgramStart start = store::StartProgram();
    if (!start.settingsRefused.isEmpty()) {
        std::fprintf(stderr, "kibako: the settings file cannot be read: %s\n",
                     qUtf8Printable(start.settingsRefused));
        widgets::ShowStandardBox(
            {QStringLiteral("設定ファイルを読み込めません\n\n") + start.settingsRefused,
             util::Buttons::Ok, util::Answer::Ok, widgets::BoxIcon::Exclamation});
        return false;
    }
    if (!start.driveError.isEmpty())
        qWarning("new drive letters were not remembered: %s", qUtf8Printable(start.driveError));
    programFolder_ = start.programFolder;
    // The catalog's runs are logged beside Tetoru's.
    if (const auto logFile = engine::RunLogHostPath(programFolder_)) {
        runLog_ = std::make_unique<engine::RunLog>(*logFile, QStringLiteral("KIBAKO"));
        engine_->SetLog(runLog_.get());
    }
    settings_ = std::make_unique<store::Settings>(start.settings);
    engineUi_->Progress().PlaceFromSettings(*settings_);
    model_.SetDefinitionPath(store::ChooseDefinitionFile(arguments, *settings_, programFolder_));
    if (util::FileExists(platform::DrivePath(model_.DefinitionPath()))) {
        const store::LoadResult loaded = store::LoadDefinitions(model_.DefinitionPath());
        model_.Definitions() = store::DefinitionList(loaded.body);
        if (!loaded.warning.isEmpty())
            util::Messages().StandardMessage(loaded.warning, util::Buttons::Ok, util::Answer::Ok);
    }
    layout_.gate.settingUp = true;
    engine_->SetUnattended(false);
    scale_ = grid::ScreenScaleOf(*this);
    colourCount_ = DisplayColourCount();
    ApplySettings();
    ApplyGridSettings();
    ApplyFonts();
    LoadIcons();
    PlaceWindow();
    layout_.gate.settingUp = false;
    LayOut();
    ApplyDisplayColours();
    LoadIcons();
    catalogDrives_ =
        ReadCatalogDriveFile(util::HostProgramFolder().Below(QStringLiteral("CATDRV.DAT")));
    {
        const QSignalBlocker quiet(driveBox_);
        for (const platform::Drive& drive : platform::CurrentDrives().MappedDrives())
            driveBox_->addItem(DriveBoxText(drive), drive.letter);
        driveBox_->setCurrentIndex(-1);
    }
    show();
    folderScrollBar_->show();
    driveDepth_ = 0;
    splitter_ = new grid::SplitterDrag(parts_, layout_, scale_, this);
    splitter_->dropped = [this](int) { treeClick_ = false; };
    QApplication::processEvents();
    // The settings view is built without retitling: its first column keeps
    // the window's designed title until the user switches views.
    model_.SetView(kSettingsView);
    model_.LoadFailedRuns(programFolder_);
    BuildSettingsView(model_.RegistrationRows(), model_.Definitions(), model_.DefinitionPath(),
                      model_.LastRunFailures());
    CollapseToDrives();
    ShowCurrentModel(true);
    ShowRunStatus();
    // The folder grid is drawn as the active one, so it takes the keys.
    activateWindow();
    folderGrid_->setFocus(Qt::OtherFocusReason);
    return true;
}

void ListForm::ApplySettings() {
    const store::Settings& s = *settings_;
    menus_.expandAll->setChecked(s.GetSettingYesNoText(store::Key::ExpandFirst, false));
    backupDir_ = s.GetSettingText(store::Key::BackupDir, QString());
    const auto number = [&s, this](store::Key key) {
        return store::ReadNumberSetting(s, key, store::Program::Kibako, colourCount_);
    };
    for (int i = 0; i < 8; ++i)
        levelColours_[static_cast<size_t>(i)] = number(store::LevelColorKey(i));
    options_.newFileOnly = static_cast<int>(number(store::Key::NewFileOnly));
    options_.autoPowerOff = static_cast<int>(number(store::Key::AutoPowerOff));
    options_.skipRemovable = static_cast<int>(number(store::Key::SkipRemovable));
    options_.notifySuccess = static_cast<int>(number(store::Key::NotifySuccess));
    engine_->SetHistoryDays(static_cast<int>(
        std::clamp<qint64>(number(store::Key::HistoryDays), 0, engine::kMostHistoryDays)));
    winMeCaution_ = static_cast<int>(number(store::Key::WinMeCaution));
    UpdateOptionMarks();
    model_.DriveRows().grid.treeLines = true;
    model_.RegistrationRows().grid.treeLines = true;

    ruledLines_ = {static_cast<int>(number(store::Key::KeiDispV)),
                   static_cast<int>(number(store::Key::KeiDispH)),
                   static_cast<int>(number(store::Key::KeiFileV)),
                   static_cast<int>(number(store::Key::KeiFileH))};
    nameCase_ = static_cast<int>(number(store::Key::NameCase));
    interleave_ = static_cast<int>(number(store::Key::ListInterleave));
    UpdateDisplayMarks();
}

void ListForm::ApplyGridSettings() {
    for (grid::GridState* g :
         {&model_.DriveRows().grid, &model_.RegistrationRows().grid, &fileRows_}) {
        g->interleave = interleave_;
        g->columnCount = 3;
        grid::ClearRows(*g);
    }
    model_.DriveRows().grid.vLineWidth = ruledLines_[0] & 1;
    model_.RegistrationRows().grid.vLineWidth = ruledLines_[0] & 1;
    fileRows_.vLineWidth = ruledLines_[2] & 1;
    const auto number = [this](store::Key key) {
        return static_cast<int>(
            store::ReadNumberSetting(*settings_, key, store::Program::Kibako, colourCount_));
    };
    for (int i = 0; i < 3; ++i) {
        folderSide_.widths[static_cast<size_t>(i)] = number(store::DirColWidthKey(i));
        fileSide_.widths[static_cast<size_t>(i)] = number(store::FileColWidthKey(i));
    }
    folderSide_.titles = {QStringLiteral("フォルダー"), QStringLiteral("保存先"),
                          QStringLiteral("最終保存日付")};
    fileSide_.titles = {QStringLiteral("ファイル"), QStringLiteral("日付"),
                        QStringLiteral("サイズ")};
    layout_.folderPercent = number(store::Key::FolderPercent);
}

void ListForm::ApplyFonts() {
    QFont font(dialogs::PickFamily({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")}),
               kDesignedFontPoints);
    const QString name = settings_->GetSettingText(store::Key::FontName, QString());
    if (!name.isEmpty()) font.setFamily(name);
    // Sizes are decimals ("9.75"): a whole-number size would change every row height.
    const double size = settings_->GetSettingDecimal(store::Key::FontSize, 0.0);
    if (size > 0) font.setPointSizeF(size);
    font.setBold(settings_->GetSettingNumber(store::Key::FontBold, 0) != 0);
    folderGrid_->setFont(font);
    fileGrid_->setFont(font);
}

void ListForm::PlaceWindow() {
    const store::WindowGeometry g = store::ReadWindowGeometry(*settings_, kDesignedGeometry);
    move(static_cast<int>(g.x / scale_.tpx), static_cast<int>(g.y / scale_.tpy));
    resize(static_cast<int>(g.width / scale_.tpx), static_cast<int>(g.height / scale_.tpy));
    const QSize least(grid::kMinimumWindowWidth / scale_.tpx,
                      grid::kMinimumWindowHeight / scale_.tpy);
    area_->setMinimumSize(least);
}

void ListForm::ApplyDisplayColours() {
    const auto colour = [this](store::Key key) {
        return static_cast<grid::ColourRef>(
            store::ReadNumberSetting(*settings_, key, store::Program::Kibako, colourCount_));
    };
    colours_.listFore = colour(store::Key::ListForeCol);
    colours_.listBack = colour(store::Key::ListBackCol);
    colours_.selFore = colour(store::Key::SelForeCol);
    colours_.selBack = colour(store::Key::SelBackCol);
    colours_.vLine = colour(store::Key::ListVLineCol);
    colours_.hLine = colour(store::Key::ListHLineCol);
    colours_.titleFore = colour(store::Key::TitleForeCol);
    colours_.titleBack = colour(store::Key::TitleBackCol);
    colours_.failedRun = colour(store::Key::FailedRunCol);
    folderTitleBar_->SetColours(colours_.titleFore, colours_.titleBack);
    fileTitleBar_->SetColours(colours_.titleFore, colours_.titleBack);
    folderGrid_->SetColours(colours_.listFore, colours_.listBack);
    fileGrid_->SetColours(colours_.listFore, colours_.listBack);
    for (grid::GridState* g : {&model_.DriveRows().grid, &model_.RegistrationRows().grid})
        grid::ApplyColoursToState(*g, colours_, ruledLines_[0], ruledLines_[1], interleave_,
                                  nameCase_, false);
    grid::ApplyColoursToState(fileRows_, colours_, ruledLines_[2], ruledLines_[3], interleave_,
                              nameCase_, true);
    grid::ApplyActiveGrid(
        activeGrid_, folderSide_, fileSide_,
        {colours_.selBack, colours_.selFore, grid::IsLowColourDisplay(colourCount_)});
    if (isVisible()) update();
}

void ListForm::LoadIcons() {
    grid::BuildIconStrip(icons_, model_.DriveRows().grid,
                         {&model_.DriveRows().grid, &model_.RegistrationRows().grid},
                         {&model_.DriveRows().grid, &model_.RegistrationRows().grid, &fileRows_},
                         fileRows_);
    model_.DriveRows().indentStep = model_.DriveRows().grid.indentStep;
    model_.RegistrationRows().indentStep = model_.RegistrationRows().grid.indentStep;
    // The icon size follows the row height (font, spacing, lines); the shown
    // rows' indents follow the icon size, or the tree lines lose their rows.
    RecomputeIndents(model_.DriveRows());
    RecomputeIndents(model_.RegistrationRows());
}

void ListForm::UpdateOptionMarks() {
    menus_.newFileOnly[0]->setChecked(AllFoldersChecked(options_.newFileOnly));
    menus_.newFileOnly[1]->setChecked(UpdatedOnlyChecked(options_.newFileOnly));
    menus_.powerOff->setChecked(options_.autoPowerOff != 0);
    menus_.skipRemovable->setChecked(options_.skipRemovable != 0);
    menus_.notifySuccess->setChecked(options_.notifySuccess != 0);
}

}  // namespace catalog
