#pragma once
// The arithmetic of the equipment registration program, for the session and the batch
// command line alike: the controls a settings record sets, and the prices a block derives.
#include "grid/core/field_range.h"
#include "pricework/price_import.h"
#include "pricework/price_revision.h"
#include "pricefile/equipment_file.h"

#include <utility>
#include <vector>

namespace velmo {

// The right-hand controls that the settings record is loaded into and stored from.
struct EquipmentControls {
    int codeIndex = 0;        // ComboBox1: 最小有効桁1 … 有効4桁
    int fractionIndex = 0;    // ComboBox2: 小数以下切り上げ / 切り捨て / 四捨五入
    int significantIndex = 0; // ComboBox3: 有効桁以下切り上げ / 切り捨て / 四捨五入
    int labourMode = 1;       // RadioGroup1: 0 歩掛を使用, 1 単価を使用
    bool useRates = true;     // CheckGroupBox1 "単価に掛け率を使用"
    bool operator==(const EquipmentControls &) const = default;
};

// The controls after a settings record was read into them: a labour mode, flag, code or
// addend that matches no entry leaves its control as it was. withCheckBox: the flag too (a
// paste leaves the check box).
EquipmentControls controlsFrom(const EquipmentRecord &settings, EquipmentControls before, bool withCheckBox = true);

// What a percentage of the settings record may be: 0 to 1000 %. A percentage field refuses a
// value outside it; one above it that a file holds reads as 0.
inline constexpr FieldRange EquipmentPercentRange{Currency(), Currency::fromInt(1000)};

// Percentages above 1000 % read as 0.
void clearExcessivePercentages(EquipmentRecord &settings);

// Recalculate: the controls go into the settings record; with the percentages in use the
// LEVEL1 … LEVEL5 and 原価 material prices of the 14 size rows are derived from their 定価 by
// the percentages and the rounding (exact decimal arithmetic). A price beyond the Currency
// range raises RangeError naming the material, the row and the basis; the block may then be
// half done, so callers work on a copy.
void recalculateBlock(EquipmentBlock &block, const EquipmentControls &controls);

// The sizes (Caption) and list prices (定価) of the 14 size rows, as a price list is matched to them.
ImportTarget importTargetOf(const EquipmentBlock &block);
// The list prices the preview gives into the size rows; the derived prices follow at the next
// recalculateBlock.
void setListPrices(EquipmentBlock &block, const ImportPreview &preview);
// "価格改定": the list prices (定価) of the 14 size rows of block `index` revised and noted in
// the preview; the derived prices follow at the next recalculation.
void reviseListPrices(EquipmentBlock &block, int index, const PriceRevision &revision, RevisionPreview &preview);

// Blocks `indexes` of an equipment file's records with their list prices revised and
// recalculated as selvan does when it opens them, ready to be written in one write.
std::vector<std::pair<int, EquipmentBlock>> reviseEquipmentBlocks(const std::vector<EquipmentRecord> &records,
                                                                  const std::vector<int> &indexes,
                                                                  const PriceRevision &revision, RevisionPreview &preview);

} // namespace velmo
