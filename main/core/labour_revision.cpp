#include "main/core/labour_revision.h"

#include "main/core/calc.h"
#include "pricefile/pricing_rules.h"

#include <string>

namespace velmo {

void reviseLabourPrices(PipeBlock &b, int pipe, const PriceRevision &revision, RevisionPreview &preview)
{
    const std::string name = b[0].name.text();
    PriceRecord &labour = b[LabourRow - 1];
    for (int n = 1; n <= BasisCount; ++n) {
        const Basis basis = basisAt(n);
        revise(labour.slots[labourSlot(basis)], revision, preview, pipe, name, std::string("基礎工費 ") + basisLabel(basis));
    }
}

} // namespace velmo
