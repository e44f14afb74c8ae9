#pragma once
// selvan's price list: for each material block its name, its unit and one line per named size
// with the material prices of the seven bases, the labour rate (歩掛, one for every basis) and
// the installation costs of the seven bases, the bases in the order of the tabs (定価, LEVEL1 …
// LEVEL5, 原価): what the grid shows on its tabs in either labour mode.
#include "pricework/price_list.h"
#include "pricefile/equipment_file.h"

#include <filesystem>
#include <optional>
#include <string>

namespace velmo {

std::vector<PriceListColumn> selvanPriceColumns();
// A block with the name and unit the window shows for it.
PriceListBlock selvanPriceListBlock(int index, const EquipmentBlock &block, const std::string &name,
                                    const std::string &unit);
PriceList emptySelvanPriceList();

// The list of the equipment price file `file`: block `only`, or every named block. A block
// number outside 0–19 raises RangeError; a file that cannot be read IoError naming it.
PriceList selvanPriceList(const std::filesystem::path &file, std::optional<int> only);

} // namespace velmo
