#pragma once
// The grid StrColGrid1 of the equipment registration program without its window: its set-up
// (4 columns, 15 rows, widths, font, colours and cell looks).
#include "grid/core/strcolgrid_model.h"
#include "registration/core/registration_grid.h"

#include <array>

namespace velmo {

constexpr int EquipmentGridCols = 4;  // No, size text, material price, labour rate or installation cost
constexpr int EquipmentGridRows = RegistrationGridRows;
constexpr std::array<int, EquipmentGridCols> EquipmentGridWidths = {20, 287, 81, 80};

// Sizes, fixed cells, font, colours, options, and the cell looks: headings white, centred and
// one pixel thick; column 0 centred in white; column 1 left; columns 2 and 3 right.
void setupEquipmentGrid(StrColGridModel &grid);
} // namespace velmo
