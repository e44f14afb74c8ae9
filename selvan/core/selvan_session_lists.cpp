// The block shown as selvan's price list shows it.
#include "selvan/core/selvan_session.h"

namespace velmo {

PriceListBlock SelvanSession::shownPriceListBlock() const
{
    return selvanPriceListBlock(blockIndex(), working(), materialName(), unitText_);
}

} // namespace velmo
