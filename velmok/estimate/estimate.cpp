#include "velmok/estimate/estimate.h"

#include "base/errors.h"
#include "base/sheet_text.h"
#include "base/support.h"
#include "pricefile/price_record.h"
#include "pricework/price_import.h"
#include "pricework/price_list.h"
#include "velmok/core/data_folder.h"
#include "velmok/core/velmok_texts.h"

#include <algorithm>
#include <limits>
#include <variant>

namespace velmo::estimate {

namespace fs = std::filesystem;

const char *amountRoundName(AmountRound r)
{
    return r == AmountRound::Down ? "down" : r == AmountRound::Half ? "half" : "up";
}

std::optional<AmountRound> amountRoundOf(const std::string &name)
{
    for (const AmountRound r : {AmountRound::Down, AmountRound::Half, AmountRound::Up})
        if (name == amountRoundName(r))
            return r;
    return std::nullopt;
}

std::optional<Currency> amountOf(int64_t quantityHundredths, Currency price, AmountRound round)
{
    // hundredths × ten-thousandths: the product is in millionths of a yen, exact.
    constexpr __int128 Millionths = 1000000;
    const __int128 product = static_cast<__int128>(quantityHundredths) * price.raw();
    const __int128 magnitude = product < 0 ? -product : product;
    __int128 yen = magnitude / Millionths;
    const __int128 rest = magnitude % Millionths;
    if ((round == AmountRound::Up && rest != 0) || (round == AmountRound::Half && rest * 2 >= Millionths))
        ++yen;
    if (yen > std::numeric_limits<int64_t>::max() / Currency::Scale)
        return std::nullopt;
    const auto whole = static_cast<int64_t>(yen);
    return Currency::fromInt(product < 0 ? -whole : whole);
}

QuantityCell quantityOf(const std::string &cell)
{
    const std::optional<std::string> text = sheetNumberText(cell);
    if (!text)
        return {std::nullopt, velmoktext::estimateQuantityNotNumberText(cell)};
    if (text->front() == '-')
        return {std::nullopt, velmoktext::estimateQuantityNegativeText(cell)};
    const size_t point = text->find('.');
    if (point != std::string::npos && text->size() - point - 1 > 2)
        return {std::nullopt, velmoktext::estimateQuantityDecimalsText(cell)};
    try {
        return {Currency::parse(*text).raw() / 100, {}};
    } catch (const ConversionError &) {
        return {std::nullopt, velmoktext::estimateQuantityNotNumberText(cell)};
    }
}

// ---- the prices ----

PriceSource::PriceSource(fs::path folder, std::array<std::string, ServiceCount> serviceNames)
    : folder_(std::move(folder)), names_(std::move(serviceNames))
{
}

PriceSource::~PriceSource() = default;

std::array<std::string, ServiceCount> PriceSource::folderServiceNames(const fs::path &folder)
{
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw IoError(velmoktext::estimateNoDataFolderText(folder));
    Failures unread; // a file that cannot be read is named when a row needs it
    return datafolder::readNames(folder, TreeNames(), unread).services;
}

void PriceSource::useShown(int s, const ServiceFile &file)
{
    files_[static_cast<size_t>(s)] = std::make_unique<ServiceFile>(file);
    looked_[static_cast<size_t>(s)] = true;
    for (auto it = pipes_.begin(); it != pipes_.end();)
        it = it->first.first == s ? pipes_.erase(it) : std::next(it);
}

const ServiceFile *PriceSource::file(int s)
{
    const auto i = static_cast<size_t>(s);
    if (!looked_[i]) {
        looked_[i] = true;
        const fs::path path = folder_ / serviceFileName(s);
        std::error_code ec;
        if (fs::exists(path, ec) || ec) {
            auto f = std::make_unique<ServiceFile>();
            f->load(path);
            files_[i] = std::move(f);
        }
    }
    return files_[i].get();
}

bool PriceSource::hasService(int s) { return file(s) != nullptr; }

const WorkingTable *PriceSource::pipe(int s, int p)
{
    auto &table = pipes_[{s, p}];
    if (!table) {
        const ServiceFile *f = file(s);
        if (!f)
            return nullptr;
        // A copy is calculated: the file handed in stays as the window holds it.
        PipeBlock block = f->pipeBlock(p);
        table = std::make_unique<WorkingTable>();
        table->load(block);
        table->recalculateAll(block);
    }
    return table.get();
}

namespace {

using velmoktext::EstimateLocationHeadings;
using velmoktext::EstimateNoteHeadings;
using velmoktext::EstimatePipeHeadings;
using velmoktext::EstimateQuantityHeadings;
using velmoktext::EstimateServiceHeadings;

std::string cellAt(const std::vector<std::string> &row, std::optional<int> col)
{
    if (!col || *col < 0 || static_cast<size_t>(*col) >= row.size())
        return {};
    return std::string(row[static_cast<size_t>(*col)]);
}

template <size_t N>
bool isHeading(std::string_view cell, const std::array<const char *, N> &names)
{
    const std::string h = headingText(cell);
    return std::any_of(names.begin(), names.end(), [&](const char *n) { return h == headingText(n); });
}

// A number 1 … most as the cell gives it ("3", "３"), else nothing.
std::optional<int> numberIn(const std::string &cell, int most)
{
    const std::optional<int> n = columnNumberOf(cell);
    return n && *n >= 1 && *n <= most ? std::optional<int>(*n - 1) : std::nullopt;
}

enum Field { ServiceField, PipeField, LocationField, SizeField, QuantityField, NoteField, FieldCount };

struct Layout {
    std::array<std::optional<int>, FieldCount> columns{};
    int firstRow = 0; // 0-based: the first row below the heading row
};

bool headingOf(Field f, std::string_view cell)
{
    switch (f) {
    case ServiceField: return isHeading(cell, EstimateServiceHeadings);
    case PipeField: return isHeading(cell, EstimatePipeHeadings);
    case LocationField: return isHeading(cell, EstimateLocationHeadings);
    case SizeField: return isSizeHeading(cell);
    case QuantityField: return isHeading(cell, EstimateQuantityHeadings);
    case NoteField: return isHeading(cell, EstimateNoteHeadings);
    default: return false;
    }
}

const char *headingName(Field f)
{
    switch (f) {
    case ServiceField: return EstimateServiceHeadings[0];
    case PipeField: return EstimatePipeHeadings[0];
    case LocationField: return EstimateLocationHeadings[0];
    case SizeField: return velmoktext::EstimateSizeHeading;
    case QuantityField: return EstimateQuantityHeadings[0];
    default: return EstimateNoteHeadings[0];
    }
}

const char *optionName(Field f)
{
    static constexpr const char *names[] = {"--service-column", "--pipe-column", "--location-column",
                                            "--size-column", "--quantity-column", "--note-column"};
    return names[f];
}

// The columns given, then those found in the heading row: the first shown row that holds a
// quantity heading, else the first holding any of the headings.
Layout layoutOf(const PriceSheet &sheet, const Columns &given)
{
    Layout l;
    const std::array<const std::string *, FieldCount> asked = {&given.service, &given.pipe,     &given.location,
                                                               &given.size,    &given.quantity, &given.note};
    int below = 0;
    for (int f = 0; f < FieldCount; ++f) {
        if (asked[f]->empty())
            continue;
        const ColumnChoice c = chooseColumn(sheet.rows, *asked[f]);
        l.columns[f] = c.column;
        if (c.headingRow)
            below = std::max(below, *c.headingRow + 1);
    }
    std::optional<size_t> headingRow;
    for (size_t r = 0; r < sheet.rows.size() && !headingRow; ++r)
        if (!sheet.rowHidden(r))
            for (const std::string &cell : sheet.rows[r])
                if (headingOf(QuantityField, cell))
                    headingRow = r;
    for (size_t r = 0; r < sheet.rows.size() && !headingRow; ++r)
        if (!sheet.rowHidden(r))
            for (const std::string &cell : sheet.rows[r])
                for (int f = 0; f < FieldCount; ++f)
                    if (headingOf(static_cast<Field>(f), cell))
                        headingRow = r;
    if (headingRow) {
        const auto &cells = sheet.rows[*headingRow];
        for (int f = 0; f < FieldCount; ++f)
            for (size_t c = 0; c < cells.size() && !l.columns[f]; ++c)
                if (headingOf(static_cast<Field>(f), cells[c]))
                    l.columns[f] = static_cast<int>(c);
        below = std::max(below, static_cast<int>(*headingRow) + 1);
    }
    for (int f = 0; f < NoteField; ++f)
        if (!l.columns[f])
            throw RangeError(velmoktext::estimateNoColumnText(headingName(static_cast<Field>(f)), optionName(static_cast<Field>(f))));
    l.firstRow = below;
    return l;
}

class Pricer {
public:
    Pricer(PriceSource &prices, const Options &o) : prices_(prices), o_(o) {}

    // The row priced, or the reason it is not.
    std::variant<PricedRow, std::string> price(const std::array<std::string, FieldCount> &cells)
    {
        for (int f = 0; f < NoteField; ++f)
            if (cells[f].empty())
                return velmoktext::estimateEmptyCellText(headingName(static_cast<Field>(f)));
        PricedRow r;
        const std::optional<int> service = serviceOf(cells[ServiceField]);
        if (!service)
            return velmoktext::estimateUnknownServiceText(cells[ServiceField]);
        r.service = *service;
        r.serviceName = prices_.serviceName(r.service);
        if (!prices_.hasService(r.service))
            return velmoktext::estimateNoServiceFileText(r.serviceName, serviceFileName(r.service));
        const std::optional<int> pipe = pipeOf(r.service, cells[PipeField]);
        if (!pipe)
            return velmoktext::estimateUnknownPipeText(r.serviceName, cells[PipeField]);
        r.pipe = *pipe;
        const WorkingTable &table = *prices_.pipe(r.service, r.pipe);
        r.pipeName = table.row(1).rec.name.text();
        const std::optional<int> location = locationOf(table, cells[LocationField]);
        if (!location)
            return velmoktext::estimateUnknownLocationText(cells[LocationField]);
        r.location = *location;
        r.locationName = locationName(table, r.location);
        const std::string want = normalisedSize(cells[SizeField]);
        int k = 1;
        while (k <= SizeRowsPerLocation &&
               (want.empty() || normalisedSize(table.row(workingRow(r.location, k)).rec.size.text()) != want))
            ++k;
        if (k > SizeRowsPerLocation)
            return velmoktext::estimateUnknownSizeText(r.pipeName, r.locationName, cells[SizeField]);
        const WorkingRow &w = table.row(workingRow(r.location, k));
        r.size = w.rec.size.text();
        r.unit = w.rec.unit.text();
        r.unitPrice = adoptedPrice(w, o_.basis);
        if (r.unitPrice.isZero())
            return velmoktext::estimateZeroPriceText(r.pipeName, r.size, basisLabel(o_.basis));
        const QuantityCell q = quantityOf(cells[QuantityField]);
        if (!q.hundredths)
            return q.reason;
        r.quantity = *q.hundredths;
        const std::optional<Currency> amount = amountOf(r.quantity, r.unitPrice, o_.round);
        if (!amount)
            return velmoktext::estimateAmountRangeText(cells[QuantityField]);
        r.amount = *amount;
        if (o_.cost) {
            r.costPrice = adoptedPrice(w, Basis::Net);
            const std::optional<Currency> cost = amountOf(r.quantity, r.costPrice, o_.round);
            if (!cost)
                return velmoktext::estimateAmountRangeText(cells[QuantityField]);
            r.costAmount = *cost;
        }
        r.note = cells[NoteField];
        return r;
    }

private:
    std::optional<int> serviceOf(const std::string &cell)
    {
        if (const auto n = numberIn(cell, ServiceCount))
            return n;
        const std::string want = compactHalfWidth(cell);
        for (int s = 0; s < ServiceCount; ++s)
            if (compactHalfWidth(prices_.serviceName(s)) == want)
                return s;
        return std::nullopt;
    }

    std::optional<int> pipeOf(int service, const std::string &cell)
    {
        if (const auto n = numberIn(cell, PipesPerFile))
            return n;
        const std::string want = compactHalfWidth(cell);
        for (int p = 0; p < PipesPerFile; ++p) {
            const std::string name = prices_.pipe(service, p)->row(1).rec.name.text();
            if (hasName(name) && compactHalfWidth(name) == want)
                return p;
        }
        return std::nullopt;
    }

    static std::string storedLocation(const WorkingTable &table, int loc)
    {
        return table.row(workingRow(loc, RowsPerLocation)).rec.caption.text();
    }

    static std::string locationName(const WorkingTable &table, int loc)
    {
        const std::string stored = storedLocation(table, loc);
        return hasName(stored) ? stored : ProposedLocationNames[static_cast<size_t>(loc)];
    }

    static std::optional<int> locationOf(const WorkingTable &table, const std::string &cell)
    {
        if (const auto n = numberIn(cell, LocationsPerPipe))
            return n;
        const std::string want = compactHalfWidth(cell);
        for (int loc = 0; loc < LocationsPerPipe; ++loc)
            if (compactHalfWidth(storedLocation(table, loc)) == want ||
                compactHalfWidth(ProposedLocationNames[static_cast<size_t>(loc)]) == want)
                return loc;
        return std::nullopt;
    }

    PriceSource &prices_;
    const Options &o_;
};

} // namespace

Estimate makeEstimate(const PriceBook &book, PriceSource &prices, const Options &options)
{
    Estimate e;
    e.options = options;
    e.list = book.file;
    const PriceSheet &sheet = book.sheet(options.sheet);
    e.sheet = sheet.name;
    const Layout layout = layoutOf(sheet, options.columns);
    Pricer pricer(prices, options);
    for (size_t r = static_cast<size_t>(layout.firstRow); r < sheet.rows.size(); ++r) {
        if (sheet.rowHidden(r))
            continue;
        std::array<std::string, FieldCount> cells;
        bool any = false;
        for (int f = 0; f < FieldCount; ++f) {
            cells[f] = trimmedText(cellAt(sheet.rows[r], layout.columns[f]));
            any = any || (f != NoteField && !cells[f].empty());
        }
        // An empty line, or the heading repeated on a later page of the list.
        if (!any || headingOf(QuantityField, cells[QuantityField]))
            continue;
        auto priced = pricer.price(cells);
        if (auto *reason = std::get_if<std::string>(&priced)) {
            e.unmatched.push_back({static_cast<int>(r + 1), *reason});
            continue;
        }
        PricedRow &row = std::get<PricedRow>(priced);
        row.row = static_cast<int>(r + 1);
        e.rows.push_back(std::move(row));
    }
    for (int s = 0; s < ServiceCount; ++s) {
        ServiceTotal t;
        t.service = s;
        t.name = prices.serviceName(s);
        for (size_t i = 0; i < e.rows.size(); ++i)
            if (e.rows[i].service == s) {
                t.rows.push_back(i);
                t.subtotal += e.rows[i].amount;
                t.costSubtotal += e.rows[i].costAmount;
            }
        if (t.rows.empty())
            continue;
        e.total += t.subtotal;
        e.costTotal += t.costSubtotal;
        e.services.push_back(std::move(t));
    }
    return e;
}

} // namespace velmo::estimate
