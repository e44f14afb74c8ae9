#include "cli/record_json.h"

#include "cli/batch_command.h"

namespace velmo {

std::string priceSlotName(int i)
{
    if (i <= 6)
        return "A" + std::to_string(i);
    if (i <= 13)
        return "B" + std::to_string(i - 6);
    if (i <= 19)
        return "C" + std::to_string(i - 14);
    return "D" + std::to_string(i - 19);
}

void writePriceRecordJson(cli::JsonWriter &j, int index, const PriceRecord &r)
{
    j.beginObject();
    j.key("record").number(int64_t{index});
    cli::writeRecordHead(j, r);
    for (int s = 0; s < SlotCount; ++s)
        j.key(priceSlotName(s)).number(r.slots[s]);
    j.endObject();
}

} // namespace velmo
