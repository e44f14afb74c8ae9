#pragma once
// The price grid both registration programs show: a heading row and 14 size rows under it, the
// first column fixed, in one font, row height and fixed colour.
#include "grid/core/strcolgrid_model.h"
#include "base/shared_texts.h"

#include <span>

namespace velmo {

constexpr int RegistrationGridRows = 15; // the heading row and the 14 size rows
constexpr int RegistrationGridRowHeight = 17;
inline constexpr TColor RegistrationGridFixedColor{10652814};
inline constexpr const char *RegistrationGridFont = sharedtext::GothicFont;
constexpr int RegistrationGridFontPixels = 15;

// Sets up a grid model, between the caller's BeginLoad and EndLoad: a column for each width,
// the rows, the first row and column fixed in the fixed colour, grid lines, range selection,
// editing and the focus cell's own font colour. The row heights are the program's.
void setUpRegistrationGrid(StrColGridModel &grid, std::span<const int> widths);

} // namespace velmo
