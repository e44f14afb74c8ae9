#include "velmok/session/copy_buffer.h"

namespace velmo {

void copyFields(FieldGroup group, const PriceRecord &from, PriceRecord &to, bool withSlots)
{
    switch (group) {
    case FieldGroup::Whole:
        to.name = from.name;
        to.size = from.size;
        to.caption = from.caption;
        to.rowTag = from.rowTag;
        to.unit = from.unit;
        if (withSlots)
            to.slots = from.slots;
        break;
    case FieldGroup::Prices:
        if (withSlots)
            for (int i = 0; i <= 6; ++i)
                to.A(i) = from.A(i);
        break;
    case FieldGroup::Factors:
        if (withSlots)
            for (int i = 1; i <= 7; ++i)
                to.B(i) = from.B(i);
        break;
    case FieldGroup::Labour:
        if (withSlots)
            to.B(5) = from.B(5);
        break;
    }
}

void CopyBuffer::copied(CopyKind kind, int location)
{
    last_ = kind;
    if (kind.scope == CopyScope::Sheet)
        sheetLocation_ = location;
}

} // namespace velmo
