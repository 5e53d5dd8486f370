// The catalog window's restore and check of the registration of the listed
// folder: the window finds what is chosen in its grids, shows the dialogs
// and the summary; what is restored or checked is decided without it
// (catalog/commands/restore_commands).
#include "catalog/commands/restore_commands.h"
#include "catalog/forms/restore_windows.h"
#include "catalog/grid/active_grid.h"
#include "catalog/grid/grid_state.h"
#include "catalog/window/busy_cursor.h"
#include "catalog/window/list_form.h"
#include "engine/windows/qt_engine_ui.h"
#include "util/message_sink.h"

namespace catalog {
namespace {

// A restore's questions in the window's dialogs, the replace question over
// the progress window.
class WindowRestoreDialogs final : public RestoreDialogs {
  public:
    WindowRestoreDialogs(ListForm& form, QWidget* progress) : form_(form), questions_(progress) {}
    std::optional<platform::HostPath> ChooseTarget(const platform::DrivePath& folder) override {
        return form_.RestoreChoices().chooseTarget(&form_, folder.text());
    }
    engine::RestoreQuestions& ReplaceQuestions() override { return questions_; }
    bool BeginRun() override { return form_.BeginRun(); }
    bool EndRun() override { return form_.EndRun(); }

  private:
    ListForm& form_;
    QtRestoreQuestions questions_;
};

// From the file grid, its current and marked files; from the folder grid (or
// an empty file grid), the whole registration.
RestoreSelection GridSelection(ListForm& form) {
    RestoreSelection selection;
    selection.listedFiles =
        form.ActiveGrid() == grid::kFileGridActive && form.FileRows().rowCount > 0;
    if (selection.listedFiles) selection.files = ChosenFiles(form.FileRows());
    return selection;
}

}  // namespace

std::optional<ListedRegistration> ListForm::ListedRegistrationShown() {
    ListFiles();
    return RegistrationOfListed(model_, platform::DrivePath(listedFolder_));
}

void ListForm::RestoreBackup() {
    const std::optional<ListedRegistration> shown = ListedRegistrationShown();
    if (shown) RestoreFromBackup(*shown, GridSelection(*this));
}

void ListForm::RestoreBackupAsOf() {
    const std::optional<ListedRegistration> shown = ListedRegistrationShown();
    if (!shown) return;
    const std::optional<QDateTime> at = restoreHooks_.chooseTime(this, listedFolder_);
    if (!at) return;
    RestoreSelection selection = GridSelection(*this);
    selection.at = at;
    RestoreFromBackup(*shown, selection);
}

void ListForm::ShowVersions() {
    const std::optional<ListedRegistration> shown = ListedRegistrationShown();
    if (!shown) return;
    if (fileRows_.rowCount == 0 || fileRows_.currentRow < 0) {
        util::Messages().StandardMessage(QStringLiteral("ファイルを選んでください"),
                                         util::Buttons::Ok, util::Answer::Ok);
        return;
    }
    const QString name = grid::CellText(fileRows_, 0, fileRows_.currentRow);
    const std::vector<engine::FileVersion> versions =
        VersionsOfListedFile(*engine_, *shown, platform::DrivePath(listedFolder_), name);
    const VersionChoice choice = restoreHooks_.chooseVersion(this, shown->NameOf(name), versions);
    RestoreSelection selection;
    selection.listedFiles = true;
    selection.files = QStringList{name};
    if (choice.kind == VersionChoice::Kind::AsOf) {
        selection.at = choice.at;
    } else if (choice.kind == VersionChoice::Kind::Version && choice.index < versions.size()) {
        selection.version = versions[choice.index].item;
    } else {
        return;
    }
    RestoreFromBackup(*shown, selection);
}

void ListForm::RestoreFromBackup(const ListedRegistration& shown,
                                 const RestoreSelection& selection) {
    WindowRestoreDialogs dialogs(*this, &engineUi_->Progress());
    const std::optional<QStringList> report =
        RestoreListed(*engine_, shown, platform::DrivePath(listedFolder_), selection, dialogs);
    if (!report) return;
    listedFolder_.clear();  // the restored files show in the file grid
    ListFiles();
    restoreHooks_.showReport(this, kRestoreTitle, report->join(u'\n'));
    FocusActiveGrid();
}

void ListForm::VerifyBackup() {
    const std::optional<ListedRegistration> shown = ListedRegistrationShown();
    if (!shown || !BeginRun()) return;
    QStringList report;
    {
        BusyCursor busy;
        report = VerifyReportLines(*engine_, shown->entry);
    }
    if (!EndRun()) return;
    restoreHooks_.showReport(this, kVerifyTitle, report.join(u'\n'));
    FocusActiveGrid();
}

}  // namespace catalog
