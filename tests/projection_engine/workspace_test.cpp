// The projection workspace: resizing keeps values, the one global instance and its reset.
#include <gtest/gtest.h>

#include "projection/engine/workspace.h"

using namespace vantelo;
using namespace vantelo::projection;

TEST(Workspace, ResizingKeepsWhatRemainsAndFillsWithZero)
{
    k_ar a = {1, 2, 3};
    resize_array(a, 5);
    EXPECT_EQ(a, (k_ar{1, 2, 3, 0, 0}));
    resize_array(a, 2);
    EXPECT_EQ(a, (k_ar{1, 2}));
    EXPECT_THROW(resize_array(a, -1), RangeError);
    EXPECT_EQ(a.size(), 2u);

    k_grid g = {{1, 2}, {3, 4}};
    resize_array(g, 3, 3);
    EXPECT_EQ(g, (k_grid{{1, 2, 0}, {3, 4, 0}, {0, 0, 0}}));
    EXPECT_THROW(resize_array(g, 2, -3), RangeError);
}

TEST(Workspace, OneInstanceWithStartValuesAndAReset)
{
    ProjectionWorkspace& ws = projection_workspace();
    EXPECT_EQ(&ws, &projection_workspace());
    EXPECT_EQ(ws.parity_count, 1);
    EXPECT_EQ(ws.grid_current_row, 1);
    EXPECT_EQ(ws.grid_current_col, 1);
    EXPECT_EQ(ws.with_floating_pop, 0);
    ws.pop_male = {5};
    ws.parity_count = 3;
    reset_projection_workspace();
    EXPECT_TRUE(projection_workspace().pop_male.empty());
    EXPECT_EQ(projection_workspace().parity_count, 1);
    // Every result series is handed out for sizing, each once.
    EXPECT_EQ(ws.result_series().size(), 45u);
}
