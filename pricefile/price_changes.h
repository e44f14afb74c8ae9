#pragma once
// What changed between two price files, as rows a person can read: every figure and text that
// differs, by block, size and location. Only what the programs show or calculate with is
// compared: Serial, padding, the bytes after a text and the fields and slots that are only
// carried through are not. A block found at another number in the new file (the same content,
// or the same name) is one row of its own, followed only by what changed in it.
#include "base/currency.h"
#include "pricefile/equipment_record.h"
#include "pricefile/pipe_block.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

class ServiceFile;

enum class PriceFileKind { Pipe, Equipment };

enum class ChangeKind {
    Figure, // a price, factor, percentage or setting: oldValue → newValue
    Text,   // a name, size, unit or location name: oldText → newText
    Moved,  // the block that was number movedFrom in the old file is number `block` now
};

struct PriceChange {
    ChangeKind kind = ChangeKind::Figure;
    // The block as the programs number it: pipes 1 … 20, equipment blocks 0 … 19; its number
    // in the new file.
    int block = 0;
    int movedFrom = 0;     // Moved: the block's number in the old file
    std::string name;      // the pipe's or material's name (the old one when the new is empty)
    std::string size;      // the size of the row; empty for what belongs to the whole block
    std::string location;  // pipe files: the location's name; empty where none applies
    std::string field;     // what changed (changetext), with its price basis where it has one
    std::optional<Currency> oldValue, newValue; // Figure
    std::string oldText, newText;               // Text

    // new − old; nothing for texts and moves, or when it does not fit a Currency.
    std::optional<Currency> difference() const;
    // (new − old) / old × 100 to two decimals; nothing when old is 0.
    std::optional<Currency> percent() const;

    bool operator==(const PriceChange &) const = default;
};

// Pipe price files: the differences between two service files held in memory.
std::vector<PriceChange> comparePipeFiles(const ServiceFile &older, const ServiceFile &newer);
// The same for two files, each read whole first: a missing, short or damaged file, a folder or
// anything but a price file raises IoError naming that file, before anything is compared.
std::vector<PriceChange> comparePipeFiles(const std::filesystem::path &older, const std::filesystem::path &newer);

// Equipment price files: two files' 300 records each.
std::vector<PriceChange> compareEquipmentFiles(const std::vector<EquipmentRecord> &older,
                                               const std::vector<EquipmentRecord> &newer);
std::vector<PriceChange> compareEquipmentFiles(const std::filesystem::path &older, const std::filesystem::path &newer);

} // namespace velmo
