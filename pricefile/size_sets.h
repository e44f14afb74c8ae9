#pragma once
// The ready-made size lists the programs put into the 14 size rows of a block with one command:
// velmok's size-set buttons, torvik's and selvan's "サイズセット" menu items. Each series of
// sizes is written once here; a list that differs from a series only by an empty row is made
// from the series.
#include "pricefile/price_record.h"

#include <array>
#include <cstddef>

namespace velmo {

// The sizes of rows 1–14; an empty text leaves a row without a size.
using SizeRows = std::array<const char *, SizeRowsPerLocation>;

// Steel pipe sizes from 13A and from 15A (every program), and from 20A (velmok).
inline constexpr SizeRows SizesFrom13 = {"13A", "20A", "25A",  "30A",  "40A",  "50A",  "60A",
                                         "75A", "100A", "125A", "150A", "200A", "250A", "300A"};
inline constexpr SizeRows SizesFrom15 = {"15A", "20A", "25A",  "32A",  "40A",  "50A",  "65A",
                                         "80A", "100A", "125A", "150A", "200A", "250A", "300A"};
inline constexpr SizeRows SizesFrom20 = {"20A",  "25A",  "32A",  "40A",  "50A",  "65A",  "80A",
                                         "100A", "125A", "150A", "200A", "250A", "300A", "350A"};

// The outside diameters of refrigerant copper tube, 6.4 to 53.98 mm.
inline constexpr SizeRows RefrigerantSizes = {"6.4",  "9.5",  "12.7", "15.9", "19.1", "22.2", "25.4",
                                              "28.6", "31.8", "34.9", "38.1", "44.5", "50.8", "53.98"};

// Paired refrigerant tube sizes in rows 1–7 (torvik); "×" is the
// two-byte multiplication sign of the code page, so "12×19" fills the 6 bytes of a size.
inline constexpr SizeRows RefrigerantPairSizes = {"6×9.5", "6×12", "6×15", "9×12", "9×15", "9×19", "12×19",
                                                  "",      "",     "",     "",     "",     "",     ""};

// The items of the registration programs' grid menus that put in the first two lists.
inline constexpr const char *SizeSetFrom13Item = "サイズセット(13スタート)";
inline constexpr const char *SizeSetFrom15Item = "サイズセット(15スタート)";

// A list with one row left empty.
constexpr SizeRows withEmptyRow(SizeRows sizes, std::size_t row)
{
    sizes.at(row) = "";
    return sizes;
}

} // namespace velmo
