#pragma once
// The 512-byte record of the equipment price file: the 160-byte head shared with the pipe price
// record, then 44 Currency slots at byte 160 + 8·i. A file holds 20 material blocks of 15
// records: 14 size rows and the block's settings record.
#include "base/currency.h"
#include "pricefile/pricing_rules.h"
#include "pricefile/record_head.h"

#include <array>

namespace velmo {

constexpr int EquipmentRecordSize = 512;
constexpr int EquipmentSlotCount = 44;
constexpr int EquipmentBlockCount = 20;
constexpr int EquipmentRowsPerBlock = 15;
constexpr int EquipmentSizeRows = 14;       // rows 0–13 of a block
constexpr int EquipmentSettingsRow = 14;    // row 14 of a block
constexpr int EquipmentRecordsPerFile = EquipmentBlockCount * EquipmentRowsPerBlock; // 300
constexpr size_t EquipmentBlockBytes = static_cast<size_t>(EquipmentRowsPerBlock) * EquipmentRecordSize;
constexpr size_t EquipmentFileBytes = static_cast<size_t>(EquipmentRecordsPerFile) * EquipmentRecordSize;

// The slot of a record that starts at byte `offset` (160, 168, … 504).
constexpr int equipmentSlot(int offset) { return (offset - offset::Slots) / 8; }

// Slots with a meaning of their own, by the byte offset they start at.
namespace eqslot {
// Size rows.
constexpr int LabourRate = equipmentSlot(336); // 歩掛, one value for every price basis
// Never written from memory: a save keeps what the file holds there.
constexpr int KeptA = equipmentSlot(456);
constexpr int KeptB = equipmentSlot(504);
// The settings record. Its percentages lie in the material price slots of the bases they
// derive (materialSlot): 160 purchase %, 168 … 200 LEVEL1 … LEVEL5 %.
constexpr int LabourMode = equipmentSlot(336);  // 0 labour rate, 1 unit prices
constexpr int SignificantCode = equipmentSlot(464);
constexpr int FractionAddend = equipmentSlot(472);
constexpr int SignificantAddend = equipmentSlot(480);
constexpr int UseRates = equipmentSlot(488);    // "単価に掛け率を使用"
} // namespace eqslot

// The installation cost (取付費) slot of a basis in a size row: LEVEL1 … LEVEL5 at 344 … 376,
// 原価 at 384, 定価 at 392. The material prices keep the order of the pipe records
// (materialSlot: 原価 160, LEVEL1 … LEVEL5 168 … 200, 定価 208); the hanger and installation
// groups do not.
constexpr int installationSlot(Basis b)
{
    return b == Basis::Net ? equipmentSlot(384) : b == Basis::List ? equipmentSlot(392)
                                                                   : equipmentSlot(336) + basisNumber(b);
}

// The seven installation cost slots, in basis order.
constexpr std::array<int, BasisCount> InstallationSlots = {
    installationSlot(Basis::Level1), installationSlot(Basis::Level2), installationSlot(Basis::Level3),
    installationSlot(Basis::Level4), installationSlot(Basis::Level5), installationSlot(Basis::Net),
    installationSlot(Basis::List)};

struct EquipmentRecord : RecordHead {
    // The 44 slots; not named `slots`, which Qt code cannot use as a name.
    std::array<Currency, EquipmentSlotCount> values{};

    // Field-by-field little-endian (de)serialisation at the offsets of the layout; the
    // padding of the head is written as 0.
    static EquipmentRecord decode(const unsigned char *bytes);
    void encode(unsigned char *bytes) const;

    bool operator==(const EquipmentRecord &) const = default;
};

} // namespace velmo
