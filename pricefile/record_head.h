#pragma once
// The first 160 bytes of every record of the price files: the same layout in the 360-byte
// pipe price record and in the 512-byte equipment price record.
#include "base/currency.h"
#include "pricefile/record_codec.h"

#include <cstdint>

namespace velmo {

// Byte offsets of the head's fields; the Currency slots of a record start at Slots.
namespace offset {
constexpr int Reserved0 = 0, Name = 4, Caption = 85, Serial = 128, Size = 136, Reserved144 = 144,
              Unit = 148, RowTag = 156, Slots = 160;
} // namespace offset

struct RecordHead {
    static constexpr int Bytes = 160;
    // The bytes each text field holds in CP932 (a double-byte character counts two).
    static constexpr size_t NameBytes = 80, CaptionBytes = 40, SizeBytes = 6, UnitBytes = 4;

    int32_t reserved0 = 0;   // carried through unchanged
    ShortString<NameBytes> name;
    ShortString<CaptionBytes> caption;
    Currency serial;
    ShortString<SizeBytes> size;
    int32_t reserved144 = 0; // carried through unchanged
    ShortString<UnitBytes> unit;
    int32_t rowTag = 0;      // carried through unchanged

    // Reads and writes bytes 0 … 159; the padding bytes are written as 0.
    void decodeHead(const unsigned char *p);
    void encodeHead(unsigned char *p) const;

    bool operator==(const RecordHead &) const = default;
};

} // namespace velmo
