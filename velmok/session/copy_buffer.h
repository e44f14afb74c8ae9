#pragma once
// The copy buffer of the two edit menus: 60 rows with the stored fields of a working row, kept
// while the program runs and never saved. A copy overwrites only the fields and rows it copies;
// only the group copied last can be pasted.
#include "pricefile/price_record.h"

#include <array>
#include <optional>

namespace velmo {

// What a copy or paste carries of each row.
enum class FieldGroup {
    Whole,   // Name, Size, Caption, RowTag, Unit and the 25 slots
    Prices,  // A0–A6
    Factors, // B1–B7 (全歩掛)
    Labour,  // B5 (歩掛（工費）)
};

// The whole pipe (60 records) or the selected location's sheet (細目, 15 records).
enum class CopyScope { Pipe, Sheet };

struct CopyKind {
    CopyScope scope = CopyScope::Pipe;
    FieldGroup group = FieldGroup::Whole;
    bool operator==(const CopyKind &) const = default;
};

// Copies the fields of a group from one record to another. withSlots false leaves the 25
// slots alone (a tail record pasted onto the tail of another location, below).
void copyFields(FieldGroup group, const PriceRecord &from, PriceRecord &to, bool withSlots = true);

class CopyBuffer {
public:
    // Row n (1 … 60) of the buffer.
    PriceRecord &row(int n) { return rows_[n - 1]; }
    const PriceRecord &row(int n) const { return rows_[n - 1]; }

    // Records that the copy of `kind` has just filled the buffer; a sheet copy remembers the
    // location it came from.
    void copied(CopyKind kind, int location = 0);
    bool canPaste(CopyKind kind) const { return last_ == kind; }
    std::optional<CopyKind> last() const { return last_; }

    // Whether the tail record of the copied sheet may bring its slots to the tail of `location`.
    // The tails differ in meaning (location 0's holds the pipe's settings, location 3's its
    // labour prices), so their slots only go onto the tail of the same location.
    bool tailSlotsFit(int location) const { return sheetLocation_ == location; }

private:
    std::array<PriceRecord, RecordsPerPipe> rows_{};
    std::optional<CopyKind> last_;
    int sheetLocation_ = 0;
};

} // namespace velmo
