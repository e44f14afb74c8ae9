#include "registration/core/registration_grid.h"

namespace velmo {

void setUpRegistrationGrid(StrColGridModel &grid, std::span<const int> widths)
{
    grid.SetColCount(static_cast<int>(widths.size()));
    grid.SetRowCount(RegistrationGridRows);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    for (size_t c = 0; c < widths.size(); ++c)
        grid.SetColWidths(static_cast<int>(c), widths[c]);
    grid.SetFixedColor(RegistrationGridFixedColor);
    grid.SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect | goEditing);
    grid.SetFocusCellFontColorEnabled(true);
}

} // namespace velmo
