#include "pricefile/price_record.h"

namespace velmo {

PriceRecord PriceRecord::decode(const unsigned char *p)
{
    PriceRecord r;
    decodeInto(r, p);
    return r;
}

void PriceRecord::decodeInto(PriceRecord &r, const unsigned char *p)
{
    r.decodeHead(p);
    for (int i = 0; i < SlotCount; ++i)
        r.slots[i] = Currency::fromRaw(codec::getI64(p + offset::Slots + 8 * i));
}

void PriceRecord::encode(unsigned char *p) const
{
    encodeHead(p);
    for (int i = 0; i < SlotCount; ++i)
        codec::putI64(p + offset::Slots + 8 * i, slots[i].raw());
}

} // namespace velmo
