#include "torvik/core/torvik_import.h"

namespace velmo {

ImportTarget importTargetOf(const PipeBlock &block)
{
    ImportTarget t;
    for (int k = 0; k < SizeRowsPerLocation; ++k) {
        t.sizes.push_back(block[k].size.text());
        t.listPrices.push_back(block[k].A(6));
    }
    return t;
}

void setListPrices(PipeBlock &block, const ImportPreview &preview)
{
    for (size_t k = 0; k < preview.sizes.size() && k < SizeRowsPerLocation; ++k)
        if (preview.sizes[k].newPrice)
            block[k].A(6) = *preview.sizes[k].newPrice;
}

} // namespace velmo
