#pragma once
// An estimate priced from a quantity list: each row of the list (service, pipe, location, size,
// metres) matched to a pipe of the data folder and priced at the composite unit price the
// composite grid adopts for one basis; amounts per row, subtotals per service and a total, and
// the rows that could not be priced with the reason. GUI-free: velmok's dialog and velmok-cli
// estimate both make it here.
#include "pricefile/pricing_rules.h"
#include "pricefile/service_file.h"
#include "pricefile/service_folder.h"
#include "pricework/price_sheet.h"
#include "velmok/core/calc.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmo::estimate {

// How an amount (quantity × unit price) is taken to the yen: toward zero, half away from zero,
// away from zero, as a spreadsheet's ROUNDDOWN, ROUND and ROUNDUP do.
enum class AmountRound { Down, Half, Up };
const char *amountRoundName(AmountRound r); // "down", "half", "up"
std::optional<AmountRound> amountRoundOf(const std::string &name);

// quantity (in hundredths of a metre) × price, to the yen by `round`; nothing when the amount
// is beyond the range of a price.
std::optional<Currency> amountOf(int64_t quantityHundredths, Currency price, AmountRound round);

// The columns of the list as the person names them (a number from 1 or a heading); empty: found
// by the headings.
struct Columns {
    std::string service, pipe, location, size, quantity, note;
};

struct Options {
    Basis basis = Basis::Level1;
    AmountRound round = AmountRound::Down;
    bool cost = false;  // the 原価 amounts and the margins beside
    std::string sheet;  // empty: the first sheet the book shows
    Columns columns;
};

// The prices an estimate is made from: the service names and the pipes of the ten service files
// of a data folder, each file read on its first use and each pipe calculated as velmok shows it
// after it was selected. The window hands in the service it shows, unsaved edits included.
class PriceSource {
public:
    PriceSource(std::filesystem::path folder, std::array<std::string, ServiceCount> serviceNames);
    ~PriceSource();
    PriceSource(const PriceSource &) = delete;
    PriceSource &operator=(const PriceSource &) = delete;

    // The folder's own names (velmo_p.conf, the defaults without it). A folder that does not
    // exist raises IoError naming it.
    static std::array<std::string, ServiceCount> folderServiceNames(const std::filesystem::path &folder);

    // Prices service `s` from `file` instead of its file on disk.
    void useShown(int s, const ServiceFile &file);

    const std::filesystem::path &folder() const { return folder_; }
    const std::string &serviceName(int s) const { return names_[static_cast<size_t>(s)]; }
    // Whether service s has a file (or was handed in).
    bool hasService(int s);
    // Pipe p (0 … 19) of service s calculated; nullptr when the service has no file. A file that
    // cannot be read raises IoError naming it.
    const WorkingTable *pipe(int s, int p);

private:
    const ServiceFile *file(int s);

    std::filesystem::path folder_;
    std::array<std::string, ServiceCount> names_;
    std::array<std::unique_ptr<ServiceFile>, ServiceCount> files_;
    std::array<bool, ServiceCount> looked_{};
    std::map<std::pair<int, int>, std::unique_ptr<WorkingTable>> pipes_;
};

struct PricedRow {
    int row = 0;          // of the list, counted from 1
    int service = 0;      // 0 … 9
    int pipe = 0;         // 0 … 19
    int location = 0;     // 0 … 3
    std::string serviceName, pipeName, locationName, size, unit, note;
    int64_t quantity = 0; // hundredths of the unit
    Currency unitPrice, amount;
    Currency costPrice, costAmount; // with Options::cost
    Currency margin() const { return amount - costAmount; }
};

struct UnmatchedRow {
    int row = 0;
    std::string reason;
    bool operator==(const UnmatchedRow &) const = default;
};

struct ServiceTotal {
    int service = 0;
    std::string name;
    Currency subtotal, costSubtotal;
    std::vector<size_t> rows; // indices into Estimate::rows, in the list's order
};

struct Estimate {
    Options options;
    std::filesystem::path list;
    std::string sheet;               // the sheet read; empty for a text file
    std::vector<PricedRow> rows;     // in the list's order
    std::vector<ServiceTotal> services; // in the data folder's order, those with a priced row
    Currency total, costTotal;
    std::vector<UnmatchedRow> unmatched;
};

// The quantity as a cell holds it ("12.5", "1,234.25", full-width digits) in hundredths, or
// the reason it is none.
struct QuantityCell {
    std::optional<int64_t> hundredths;
    std::string reason;
};
QuantityCell quantityOf(const std::string &cell);

// Prices the shown rows of the list's sheet below its heading row. A column that is neither
// given nor found by its heading raises RangeError naming the heading and the option; a sheet
// the book does not have IoError.
Estimate makeEstimate(const PriceBook &book, PriceSource &prices, const Options &options);

} // namespace velmo::estimate
