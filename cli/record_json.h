#pragma once
// A pipe price record as the dump commands of velmok-cli and torvik-cli write it: its number,
// the head fields and the 25 slots by name (A0 … A6, B1 … B7, C1 … C6, D1 … D5).
#include "base/json_writer.h"
#include "pricefile/price_record.h"

#include <string>

namespace velmo {

std::string priceSlotName(int slot);

void writePriceRecordJson(cli::JsonWriter &j, int index, const PriceRecord &r);

} // namespace velmo
