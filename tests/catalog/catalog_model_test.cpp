// The catalog's data without a window: which rows the current view shows,
// and the one-run-at-a-time state with a close waiting for the run's end.
#include <gtest/gtest.h>

#include <vector>

#include "catalog/grid/grid_state.h"
#include "catalog/model/catalog_model.h"
#include "catalog/rows/row_record.h"

namespace catalog {
namespace {

TEST(CatalogModel, TheCurrentRowsFollowTheView) {
    CatalogModel model;
    EXPECT_EQ(model.View(), kSettingsView);
    EXPECT_EQ(&model.CurrentRows(), &model.RegistrationRows());
    model.SetView(kDriveView);
    EXPECT_EQ(&model.CurrentRows(), &model.DriveRows());
    model.SetView(kDestinationView);
    EXPECT_EQ(&model.CurrentRows(), &model.RegistrationRows());
    EXPECT_FALSE(model.DriveRebuildPending());
    model.MarkDriveRebuild();
    model.SetView(kDriveView);
    EXPECT_TRUE(model.DriveRebuildPending());
}

TEST(CatalogModel, RunsOneAtATimeAndKeepsACloseForTheRunsEnd) {
    CatalogModel model;
    EXPECT_FALSE(model.DeferClose());  // nothing runs: the close goes ahead
    ASSERT_TRUE(model.BeginRun());
    EXPECT_FALSE(model.BeginRun());
    EXPECT_FALSE(model.EndRun());  // no close was asked for
    EXPECT_FALSE(model.Running());

    ASSERT_TRUE(model.BeginRun());
    EXPECT_TRUE(model.DeferClose());
    EXPECT_TRUE(model.Running());
    EXPECT_TRUE(model.EndRun());
    ASSERT_TRUE(model.BeginRun());
    EXPECT_FALSE(model.EndRun());  // the close was taken by the earlier end
}

// Hears the shown cells that change, and puts them into the shown rows.
class CellLog : public CatalogModel::Listener {
  public:
    bool ShownCellChanged(FolderModel& rows, int shownRow, int column, QStringView text) override {
        heard.push_back({shownRow, column, text.toString()});
        return grid::ReplaceCellText(rows.grid, column, shownRow, text);
    }
    struct Cell {
        int row;
        int column;
        QString text;
    };
    std::vector<Cell> heard;
};

// Registration rows C:\A0 .. C:\A3; A1 and A3 are hidden.
void FillRows(FolderModel& m) {
    for (int r = 0; r < 4; ++r) {
        const QString name = QStringLiteral("A%1").arg(r);
        m.list.Append(MakeRecord({name, {}, {}, {}, QStringLiteral("C:\\") + name}), 2 + r % 2,
                      kIconFolder);
        if (r % 2 == 0) m.rowMap.push_back(r);
    }
    ShowMappedRows(m);
}

TEST(CatalogModel, ALastBackupTimeReachesTheRowAndTheListenerHearsShownRowsOnly) {
    CatalogModel model;
    CellLog log;
    model.SetListener(&log);
    FillRows(model.RegistrationRows());
    EXPECT_EQ(model.RowPath(1), QStringLiteral("C:\\A2"));

    model.ChgDate(QStringLiteral("c:\\a2"), QStringLiteral("2031/01/01 00:00"));
    ASSERT_EQ(log.heard.size(), 1u);
    EXPECT_EQ(log.heard[0].row, 1);
    EXPECT_EQ(log.heard[0].column, 2);
    EXPECT_EQ(model.RegistrationRows().list.Cell(2, 2).toString(),
              QStringLiteral("2031/01/01 00:00"));
    EXPECT_TRUE(model.Definitions().Modified());

    model.ChgDate(QStringLiteral("C:\\A3"), QStringLiteral("2031/01/02 00:00"));  // hidden
    EXPECT_EQ(log.heard.size(), 1u);
    EXPECT_EQ(model.RegistrationRows().list.Cell(3, 2).toString(),
              QStringLiteral("2031/01/02 00:00"));
    model.ChgDate(QStringLiteral("C:\\B"), QStringLiteral("2031/01/03 00:00"));  // no row
    EXPECT_EQ(log.heard.size(), 1u);
}

TEST(CatalogModel, ALastBackupTimeInTheDriveViewLeavesTheDefinitionsUnmodified) {
    CatalogModel model;
    model.SetView(kDriveView);
    FillRows(model.DriveRows());
    model.ChgDate(QStringLiteral("C:\\A0"), QStringLiteral("2031/01/01 00:00"));
    EXPECT_EQ(model.DriveRows().list.Cell(0, 2).toString(), QStringLiteral("2031/01/01 00:00"));
    EXPECT_FALSE(model.Definitions().Modified());
}

}  // namespace
}  // namespace catalog
