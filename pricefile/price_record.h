#pragma once
// The 360-byte record of the pipe price files. A file holds 20 pipe blocks of 60 records; a
// pipe block holds 4 location blocks of 15 records: 14 size rows and one tail record.
#include "base/currency.h"
#include "base/shared_texts.h"
#include "pricefile/pricefile_texts.h"
#include "pricefile/record_head.h"

#include <array>

namespace velmo {

constexpr int RecordSize = 360;
constexpr int PipesPerFile = 20;
constexpr int LocationsPerPipe = 4;
constexpr int RowsPerLocation = 15; // 14 size rows and one tail record
constexpr int SizeRowsPerLocation = 14;
constexpr int RecordsPerPipe = LocationsPerPipe * RowsPerLocation; // 60
constexpr int RecordsPerFile = PipesPerFile * RecordsPerPipe;      // 1200
constexpr int SlotCount = 25;

// Records of a pipe block with a meaning of their own: the pipe's settings (the tail of
// location 0) and its labour prices (the tail of location 3).
constexpr int SettingsRecord = 14;
constexpr int LabourRecord = 59;

// The location names proposed for new data, locations 0–3 (the shared texts hold them).
using sharedtext::ProposedLocationNames;
static_assert(ProposedLocationNames.size() == LocationsPerPipe);

// The 25 Currency slots after RowTag: A0–A6, B1–B7, C0–C5, D1–D5.
namespace slot {
constexpr int A(int i) { return i; }      // A0 … A6
constexpr int B(int i) { return 6 + i; }  // B1 … B7
constexpr int C(int i) { return 14 + i; } // C0 … C5
constexpr int D(int i) { return 19 + i; } // D1 … D5
} // namespace slot

struct PriceRecord : RecordHead {
    std::array<Currency, SlotCount> slots{};

    Currency &A(int i) { return slots[slot::A(i)]; }
    Currency &B(int i) { return slots[slot::B(i)]; }
    Currency &C(int i) { return slots[slot::C(i)]; }
    Currency &D(int i) { return slots[slot::D(i)]; }
    Currency A(int i) const { return slots[slot::A(i)]; }
    Currency B(int i) const { return slots[slot::B(i)]; }
    Currency C(int i) const { return slots[slot::C(i)]; }
    Currency D(int i) const { return slots[slot::D(i)]; }

    // Field-by-field little-endian (de)serialisation at the offsets of the layout.
    static PriceRecord decode(const unsigned char *bytes);
    static void decodeInto(PriceRecord &r, const unsigned char *bytes);
    void encode(unsigned char *bytes) const;

    bool operator==(const PriceRecord &) const = default;
};

// Index of a record in a file: pipe·60 + location·15 + row.
constexpr int recordIndex(int pipe, int location, int row)
{
    return pipe * RecordsPerPipe + location * RowsPerLocation + row;
}

} // namespace velmo
