// The block shown as torvik's price list shows it.
#include "torvik/core/torvik_session.h"

namespace velmo {

PriceListBlock TorvikSession::shownPriceListBlock() const
{
    return torvikPriceListBlock(blockIndex(), working(), PipeBlockTexts{texts_, unitText_});
}

} // namespace velmo
