#pragma once

#include <QString>
#include <QStringView>

#include <optional>

#include "catalog/model/failed_runs.h"
#include "catalog/rows/folder_model.h"
#include "catalog/rows/row_lookup.h"
#include "platform/path_kinds.h"
#include "store/definition_list.h"

namespace catalog {

enum CatalogView : int { kDriveView = 0, kSettingsView = 1, kDestinationView = 2 };

// What the catalog knows about its data, apart from the controls that show
// it: the definitions and the file they came from, the rows of the drive view
// and of the two registration views, the view shown, the failed runs of the
// run log, and whether a run goes on. The commands that change registrations
// work on it; its listener, the window, draws what they changed.
class CatalogModel {
  public:
    // What a view of the model hears.
    class Listener {
      public:
        // A shown row's cell changed: the view puts the text into the shown
        // rows and draws the cell again, answering as grid::SetCellText does.
        virtual bool ShownCellChanged(FolderModel& rows, int shownRow, int column,
                                      QStringView text) = 0;
        // Rows of the current view were removed or became path rows: the
        // view draws the rows again and lists the files of its current row.
        virtual void RowsReplaced() {}
        // The definitions were replaced by another list from another file:
        // the drive view is read again at its next showing, with all levels,
        // and the settings view is built and shown.
        virtual void DefinitionsReplaced() {}

      protected:
        virtual ~Listener() = default;
    };
    void SetListener(Listener* listener) { listener_ = listener; }

    store::DefinitionList& Definitions() { return definitions_; }
    const store::DefinitionList& Definitions() const { return definitions_; }
    const QString& DefinitionPath() const { return definitionPath_; }
    void SetDefinitionPath(const QString& path) { definitionPath_ = path; }
    // Another list, kept in `path`, becomes the catalog's; the listener hears of it.
    void ReplaceDefinitions(store::DefinitionList list, const QString& path);

    FolderModel& DriveRows() { return driveRows_; }
    FolderModel& RegistrationRows() { return registrationRows_; }
    int View() const { return view_; }
    void SetView(int view) { view_ = view; }
    // The rows the current view shows.
    FolderModel& CurrentRows() { return view_ == kDriveView ? driveRows_ : registrationRows_; }

    // The row of the current rows whose KEY is `path` (case-insensitive).
    std::optional<RowLocation> FindRow(const QString& path) const;
    // Sets a cell of a full-list row of the current rows; the listener hears
    // of it when the row is shown.
    bool SetCell(int fullRow, int column, QStringView text);
    // RowPath of a shown row of the current rows.
    QString RowPath(int shownRow);
    // A new last-backup time for the row of `source`: the drive row in the
    // drive view, else the registration row (which sets the modified flag).
    // A folder without a row is ignored.
    void ChgDate(const QString& source, const QString& time);
    // Tells the listener that rows of the current view were removed or
    // changed kind (RowsReplaced).
    void RowsReplaced();

    // The drive view is rebuilt at the next switch to it (a registration
    // changed while a registration view was shown). Never cleared.
    void MarkDriveRebuild() { driveRebuild_ = true; }
    bool DriveRebuildPending() const { return driveRebuild_; }

    FailedRuns& LastRunFailures() { return failedRuns_; }
    // Reads the run log of the program folder (a drive path) again.
    void LoadFailedRuns(const platform::DrivePath& programFolder);
    // Why the last run of the registration a shown row of the current view
    // stands for failed; nothing for a row of no registration (the settings
    // view's header and path rows) or of one whose last run did not fail.
    std::optional<QString> FailedRunOf(int shownRow);

    // One run at a time: BeginRun refuses a second. A close asked for while
    // a run goes on waits for its end; EndRun answers whether one did.
    bool BeginRun();
    bool EndRun();
    bool Running() const { return running_; }
    // False when no run goes on; else the close is remembered for EndRun.
    bool DeferClose();

  private:
    Listener* listener_ = nullptr;
    store::DefinitionList definitions_;
    QString definitionPath_;
    FolderModel driveRows_{true};
    FolderModel registrationRows_{false};
    int view_ = kSettingsView;
    bool driveRebuild_ = false;
    FailedRuns failedRuns_;
    bool running_ = false;
    bool closeAfterRun_ = false;
};

}  // namespace catalog
