// The catalog's data without a window: which rows the current view shows,
// and the one-run-at-a-time state with a close waiting for the run's end.
#include <gtest/gtest.h>

#include "catalog/model/catalog_model.h"

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

}  // namespace
}  // namespace catalog
