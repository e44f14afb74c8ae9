#pragma once
// Damage in the short strings of a record: a length byte beyond the field, bytes that are not
// Shift-JIS, or a text that ends in the first byte of a double-byte character although it is
// shorter than its field (at full length that byte is what cutting a long text leaves).
#include "base/shared_texts.h"
#include "pricefile/pricefile_texts.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace velmo {

enum class TextDamage { None, LengthBeyondField, NotShiftJis, LoneLeadByte };

// The damage of the short string at `field` (its length byte first) of `capacity` bytes.
TextDamage shortStringDamage(const unsigned char *field, size_t capacity);

// Every damaged text of `records` records of `recordSize` bytes at `data` (the head's four
// texts lie at the same offsets in both kinds of record), one Japanese line each, numbered from
// record `first` of the file with its block of `perBlock` records named by `blockWord`
// ("レコード 65 (管材 2) の名称: …").
// `fieldNames` names Name, Caption, Size and Unit as the program shows them.
std::vector<std::string> damagedTexts(const unsigned char *data, int records, int recordSize, int first,
                                      int perBlock, const char *blockWord, const std::array<const char *, 4> &fieldNames);

// The names of the four texts in a pipe price record and in an equipment record.
using sharedtext::EquipmentTextNames;
using sharedtext::PriceTextNames;

// The same for 360-byte pipe price records from the start of a file.
std::vector<std::string> damagedPriceTexts(const unsigned char *data, int records);

// A notice naming the damaged texts of a file (at most the first five): they are read as far as
// they go, and a save writes what was read. Empty when there are none.
std::string damageNotice(const std::string &file, const std::vector<std::string> &lines);

} // namespace velmo
