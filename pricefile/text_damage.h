#pragma once
// Damage in the short strings of a record: a length byte beyond the field, bytes that are not
// Shift-JIS, or a text that ends in the first byte of a double-byte character although it is
// shorter than its field (at full length that byte is what cutting a long text leaves).
#include <cstddef>
#include <string>
#include <vector>

namespace velmo {

enum class TextDamage { None, LengthBeyondField, NotShiftJis, LoneLeadByte };

// The damage of the short string at `field` (its length byte first) of `capacity` bytes.
TextDamage shortStringDamage(const unsigned char *field, size_t capacity);

// Every damaged text of the 360-byte pipe price records in `data`, one Japanese line each
// ("レコード 5 (管材 1) の名称: …").
std::vector<std::string> damagedPriceTexts(const unsigned char *data, int records);

} // namespace velmo
