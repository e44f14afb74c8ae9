#include "selvan/core/selvan_calc.h"
#include "registration/core/registration_texts.h"

#include <algorithm>

#include "base/errors.h"
#include "selvan/core/selvan_texts.h"

namespace velmo {

namespace {

// The bases a list price derives, in the order they are derived.
constexpr Basis DerivedBases[] = {Basis::Level1, Basis::Level2, Basis::Level3, Basis::Level4, Basis::Level5, Basis::Net};

bool isZeroOrOne(Currency v) { return v == Currency::fromInt(0) || v == Currency::fromInt(1); }

} // namespace

EquipmentControls controlsFrom(const EquipmentRecord &s, EquipmentControls c, bool withCheckBox)
{
    if (const Currency mode = s.values[eqslot::LabourMode]; isZeroOrOne(mode))
        c.labourMode = static_cast<int>(mode.intPart());
    if (const Currency flag = s.values[eqslot::UseRates]; withCheckBox && isZeroOrOne(flag))
        c.useRates = flag.intPart() == 1;
    if (const auto i = significantCodeIndex(s.values[eqslot::SignificantCode]))
        c.codeIndex = *i;
    if (const auto i = addendIndex(s.values[eqslot::FractionAddend]))
        c.fractionIndex = *i;
    if (const auto i = addendIndex(s.values[eqslot::SignificantAddend]))
        c.significantIndex = *i;
    return c;
}

void clearExcessivePercentages(EquipmentRecord &settings)
{
    for (const Basis b : DerivedBases) {
        Currency &p = settings.values[materialSlot(b)];
        if (p > EquipmentPercentRange.high)
            p = Currency();
    }
}

void recalculateBlock(EquipmentBlock &b, const EquipmentControls &c)
{
    EquipmentRecord &s = b[EquipmentSettingsRow];
    clearExcessivePercentages(s);
    s.values[eqslot::SignificantCode] = significantCode(c.codeIndex);
    s.values[eqslot::FractionAddend] = addend(c.fractionIndex);
    s.values[eqslot::SignificantAddend] = addend(c.significantIndex);
    s.values[eqslot::LabourMode] = Currency::fromInt(c.labourMode);
    s.values[eqslot::UseRates] = Currency::fromInt(c.useRates ? 1 : 0);
    if (!c.useRates)
        return; // prices stay as entered
    for (int row = 0; row < EquipmentSizeRows; ++row) {
        EquipmentRecord &r = b[row];
        const Currency list = r.values[materialSlot(Basis::List)];
        for (const Basis basis : DerivedBases) {
            try {
                r.values[materialSlot(basis)] =
                    derivedPrice(list, s.values[materialSlot(basis)], s.values[eqslot::FractionAddend],
                                 s.values[eqslot::SignificantCode], s.values[eqslot::SignificantAddend]);
            } catch (const RangeError &e) {
                throw RangeError(
                    selvan::derivedPriceError(b[0].name.text(), row + 1, r.caption.text(), basisLabel(basis), e.what()));
            }
        }
    }
}

ImportTarget importTargetOf(const EquipmentBlock &block)
{
    ImportTarget t;
    for (int row = 0; row < EquipmentSizeRows; ++row) {
        t.sizes.push_back(block[row].caption.text());
        t.listPrices.push_back(block[row].values[materialSlot(Basis::List)]);
    }
    return t;
}

void setListPrices(EquipmentBlock &block, const ImportPreview &preview)
{
    for (size_t row = 0; row < preview.sizes.size() && row < EquipmentSizeRows; ++row)
        if (preview.sizes[row].newPrice)
            block[row].values[materialSlot(Basis::List)] = *preview.sizes[row].newPrice;
}

void reviseListPrices(EquipmentBlock &b, int index, const PriceRevision &revision, RevisionPreview &preview)
{
    const std::string name = b[0].name.text();
    for (int row = 0; row < EquipmentSizeRows; ++row) {
        const std::string size = b[row].caption.text();
        revise(b[row].values[materialSlot(Basis::List)], revision, preview, index, name,
               sharedtext::sizeRowLabel(size, row + 1));
    }
}

std::vector<std::pair<int, EquipmentBlock>> reviseEquipmentBlocks(const std::vector<EquipmentRecord> &records,
                                                                  const std::vector<int> &indexes,
                                                                  const PriceRevision &revision, RevisionPreview &preview)
{
    std::vector<std::pair<int, EquipmentBlock>> blocks;
    for (const int index : indexes) {
        EquipmentBlock b;
        std::copy_n(records.begin() + index * EquipmentRowsPerBlock, EquipmentRowsPerBlock, b.begin());
        reviseListPrices(b, index, revision, preview);
        recalculateBlock(b, controlsFrom(b[EquipmentSettingsRow], EquipmentControls{}));
        blocks.emplace_back(index, b);
    }
    return blocks;
}

} // namespace velmo
