#include "velmok/core/labour_revision.h"
#include "velmok/core/velmok_texts.h"

#include "velmok/core/calc.h"
#include "pricefile/pricing_rules.h"

#include <string>

namespace velmo {

void reviseLabourPrices(PipeBlock &b, int pipe, const PriceRevision &revision, RevisionPreview &preview)
{
    reviseLabourRecord(b[LabourRow - 1], pipe, b[0].name.text(), revision, preview);
}

void reviseLabourRecord(PriceRecord &labour, int pipe, const std::string &name, const PriceRevision &revision,
                        RevisionPreview &preview)
{
    for (int n = 1; n <= BasisCount; ++n) {
        const Basis basis = basisAt(n);
        revise(labour.slots[labourSlot(basis)], revision, preview, pipe, name, velmoktext::labourPriceLabel(basisLabel(basis)));
    }
}

} // namespace velmo
