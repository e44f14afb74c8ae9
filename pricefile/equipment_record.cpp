#include "pricefile/equipment_record.h"

namespace velmo {

EquipmentRecord EquipmentRecord::decode(const unsigned char *p)
{
    EquipmentRecord r;
    r.decodeHead(p);
    for (int i = 0; i < EquipmentSlotCount; ++i)
        r.values[i] = Currency::fromRaw(codec::getI64(p + offset::Slots + 8 * i));
    return r;
}

void EquipmentRecord::encode(unsigned char *p) const
{
    encodeHead(p);
    for (int i = 0; i < EquipmentSlotCount; ++i)
        codec::putI64(p + offset::Slots + 8 * i, values[i].raw());
}

} // namespace velmo
