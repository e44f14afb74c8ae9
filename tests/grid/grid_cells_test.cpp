#include "grid/core/grid_entry.h"
#include "grid/core/strcolgrid_model.h"

#include <gtest/gtest.h>

using namespace velmo;

TEST(SheetText, CopiedCellsArePlainNumbersInTabSeparatedRows)
{
    StrColGridModel grid;
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.SetCells(0, 1, "15A");
    grid.SetCells(1, 1, "4,120");
    grid.SetCells(2, 1, "0.065");
    grid.SetCells(0, 2, "配管\t工");
    grid.SetCells(1, 2, "-1,234");
    grid.SetCells(2, 2, "a,b");
    const SheetRows rows = gridCells(grid, {0, 1, 2, 2});
    EXPECT_EQ(rows, (SheetRows{{"15A", "4120", "0.065"}, {"配管\t工", "-1234", "a,b"}}));
    const std::string text = sheetText(rows);
    EXPECT_EQ(text, "15A\t4120\t0.065\n\"配管\t工\"\t-1234\ta,b\n");
    EXPECT_EQ(parseSheetText(text), rows); // what is copied pastes back the same
}
