#pragma once
// The 360-byte record of the pipe price files and the 1200-record service file.
#include "currency.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

constexpr int RecordSize = 360;
constexpr int PipesPerFile = 20;
constexpr int LocationsPerPipe = 4;
constexpr int RowsPerLocation = 15; // 14 size rows and one tail record
constexpr int SizeRowsPerLocation = 14;
constexpr int RecordsPerPipe = LocationsPerPipe * RowsPerLocation; // 60
constexpr int RecordsPerFile = PipesPerFile * RecordsPerPipe;      // 1200
constexpr int SlotCount = 25;

// The 25 Currency slots after RowTag: A0–A6, B1–B7, C0–C5, D1–D5.
namespace slot {
constexpr int A(int i) { return i; }      // A0 … A6
constexpr int B(int i) { return 6 + i; }  // B1 … B7
constexpr int C(int i) { return 14 + i; } // C0 … C5
constexpr int D(int i) { return 19 + i; } // D1 … D5
} // namespace slot

// Byte offsets of the fields in a record.
namespace offset {
constexpr int Reserved0 = 0, Name = 4, Caption = 85, Serial = 128, Size = 136, Reserved144 = 144,
              Unit = 148, RowTag = 156, Slots = 160;
} // namespace offset

// A length byte followed by N bytes of CP932 text, held inline. A length byte above N reads as N.
template <size_t N>
struct ShortString {
    uint8_t len = 0;
    std::array<char, N> bytes{};

    std::string_view view() const { return {bytes.data(), len}; }
    // Stores CP932 bytes, cut to N bytes.
    void assignBytes(std::string_view b)
    {
        len = static_cast<uint8_t>(std::min(b.size(), N));
        bytes.fill(0);
        std::copy_n(b.data(), len, bytes.data());
    }
    // Stores UTF-8 text encoded to CP932 and cut to N bytes.
    void assignText(std::string_view utf8);
    // The text as UTF-8 (a lone lead byte left by a cut is dropped).
    std::string text() const;
    bool empty() const { return len == 0; }
    bool operator==(const ShortString &o) const { return view() == o.view(); }
};

struct PriceRecord {
    int32_t reserved0 = 0;
    ShortString<80> name;
    ShortString<40> caption;
    Currency serial;
    ShortString<6> size;
    int32_t reserved144 = 0;
    ShortString<4> unit;
    int32_t rowTag = 0;
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

// Reads `count` records from `path` starting at record `first`. A file too short raises
// IoError naming the file and how many whole records it holds.
std::vector<PriceRecord> readRecords(const std::filesystem::path &path, int first, int count);

// The registration program's pipe block access: read the 60 records of a pipe, write them in
// place (Serial 0) leaving every other byte of the file as it was, list the 20 pipe names.
std::vector<PriceRecord> readPipeBlock(const std::filesystem::path &path, int pipe);
void writePipeBlock(const std::filesystem::path &path, int pipe, const std::vector<PriceRecord> &block);
std::vector<std::string> listPipeNames(const std::filesystem::path &path);

} // namespace velmo
