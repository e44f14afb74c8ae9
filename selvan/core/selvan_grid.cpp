#include "selvan/core/selvan_grid.h"

namespace velmo {

void setupEquipmentGrid(StrColGridModel &g)
{
    g.BeginLoad();
    setUpRegistrationGrid(g, EquipmentGridWidths);
    for (int r = 0; r < EquipmentGridRows; ++r)
        g.SetRowHeights(r, RegistrationGridRowHeight);
    GridFont font = g.Font();
    font.family = RegistrationGridFont;
    font.pixelSize = RegistrationGridFontPixels;
    g.SetFont(font);
    g.SetLayout(tlTop);
    g.SetFixedLayout(tlTop);
    for (int c = 0; c < EquipmentGridCols; ++c) {
        g.SetCellFontColor(c, 0, clr::White);
        g.SetCellFontWidth(c, 0, 1);
        g.SetCellAlignment(c, 0, taCenter);
    }
    const std::array<TAlignment, EquipmentGridCols> aligned = {taCenter, taLeftJustify, taRightJustify, taRightJustify};
    for (int r = 1; r < EquipmentGridRows; ++r) {
        g.SetCellFontColor(0, r, clr::White);
        for (int c = 0; c < EquipmentGridCols; ++c)
            g.SetCellAlignment(c, r, aligned[c]);
    }
    g.EndLoad();
}

} // namespace velmo
