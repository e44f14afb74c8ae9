#include "torvik/core/torvik_calc.h"
#include "registration/core/registration_texts.h"

#include "base/errors.h"
#include "torvik/core/torvik_texts.h"
#include "pricefile/pricing_rules.h"

namespace velmo {

std::array<int, RoundingListCount> roundingListsFrom(const PriceRecord &settings, std::array<int, RoundingListCount> lists)
{
    if (const auto i = significantCodeIndex(settings.D(1)))
        lists[0] = *i;
    if (const auto i = addendIndex(settings.D(2)))
        lists[1] = *i;
    if (const auto i = addendIndex(settings.D(3)))
        lists[2] = *i;
    return lists;
}

TorvikControls torvikControlsFrom(const PriceRecord &settings, TorvikControls c)
{
    c.lists = roundingListsFrom(settings, c.lists);
    c.unit = settings.unit.text();
    if (settings.D(4) == Currency::fromInt(1))
        c.useRates = true;
    else if (settings.D(4).isZero())
        c.useRates = false;
    return c;
}

void recalculatePipeBlock(PipeBlock &b, const TorvikControls &c)
{
    PriceRecord &st = b[SettingsRecord];
    st.unit.assignText(c.unit);
    if (c.lists[0] >= 0)
        st.D(1) = significantCode(c.lists[0]);
    if (c.lists[1] >= 0)
        st.D(2) = addend(c.lists[1]);
    if (c.lists[2] >= 0)
        st.D(3) = addend(c.lists[2]);
    st.D(4) = Currency::fromInt(c.useRates ? 1 : 0);
    if (!c.useRates)
        return;
    constexpr Basis derived[] = {Basis::Level1, Basis::Level2, Basis::Level3,
                                 Basis::Level4, Basis::Level5, Basis::Net};
    for (int k = 0; k < SizeRowsPerLocation; ++k) {
        PriceRecord &row = b[k];
        for (const Basis basis : derived) {
            const int s = materialSlot(basis);
            try {
                row.slots[s] = derivedPrice(row.A(6), st.slots[s], st.D(2), st.D(1), st.D(3));
            } catch (const RangeError &e) {
                throw RangeError(torvik::derivedPriceError(k + 1, row.size.text(), basisLabel(basis), e.what()));
            }
        }
    }
}

std::string sizeRowLabel(const std::string &size, int k)
{
    return sharedtext::sizeRowLabel(size, k + 1);
}

void reviseListPrices(PipeBlock &b, int index, const PriceRevision &revision, RevisionPreview &preview)
{
    const std::string name = b[0].name.text();
    for (int k = 0; k < SizeRowsPerLocation; ++k)
        revise(b[k].A(6), revision, preview, index, name, sizeRowLabel(b[k].size.text(), k));
}

std::vector<std::pair<int, PipeBlock>> revisePipeBlocks(const std::string &fileBytes, const std::vector<int> &indexes,
                                                        const PriceRevision &revision, RevisionPreview &preview)
{
    std::vector<std::pair<int, PipeBlock>> blocks;
    for (const int index : indexes) {
        PipeBlock b = pipeBlockOf(fileBytes, index);
        reviseListPrices(b, index, revision, preview);
        recalculatePipeBlock(b, torvikControlsFrom(b[SettingsRecord], TorvikControls{}));
        blocks.emplace_back(index, b);
    }
    return blocks;
}

} // namespace velmo
