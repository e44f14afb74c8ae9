// mkfda: turns a readable price source (data/samples/haikanN.txt, format in
// data/samples/README.md) into a 1200-record pipe price file. Every pipe of the source is
// written at its block, every other pipe stays empty, and the composite results are
// calculated the way the main program calculates them, so the stored C and D slots agree with
// the prices and factors.
//
//   mkfda SOURCE OUTPUT
//
// A fault in the source stops the tool with "SOURCE:LINE: cause" on stderr and exit status 1;
// OUTPUT is then left as it was.
#include "velmok/core/calc.h"
#include "velmok/core/sheet_setup.h"
#include "base/cp932.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "pricefile/service_file.h"
#include "base/support.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {
namespace {

struct SourceError : std::runtime_error {
    SourceError(int line, const std::string &what) : std::runtime_error(what), line(line) {}
    int line;
};

std::string_view trim(std::string_view s)
{
    const char *ws = " \t\r";
    const size_t b = s.find_first_not_of(ws);
    if (b == std::string_view::npos)
        return {};
    const size_t e = s.find_last_not_of(ws);
    return s.substr(b, e - b + 1);
}

// Splits at runs of spaces and tabs.
std::vector<std::string> words(std::string_view s)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        size_t j = i;
        while (j < s.size() && s[j] != ' ' && s[j] != '\t')
            ++j;
        if (j > i)
            out.emplace_back(s.substr(i, j - i));
        i = j;
    }
    return out;
}

// A "#" starts a comment at the beginning of a line or after a space or tab.
std::string_view stripComment(std::string_view s)
{
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] == '#' && (i == 0 || s[i - 1] == ' ' || s[i - 1] == '\t'))
            return s.substr(0, i);
    return s;
}

// A non-negative amount with at most four decimals; "," grouping is allowed.
Currency number(std::string_view text, int line, const std::string &what)
{
    const std::string clean = CleanNumberText(text);
    const size_t point = clean.find('.');
    if (point != std::string::npos && clean.size() - point - 1 > 4)
        throw SourceError(line, what + " '" + std::string(text) + "' has more than four decimals");
    Currency c;
    try {
        c = Currency::parse(clean);
    } catch (const ConversionError &) {
        throw SourceError(line, what + " '" + std::string(text) + "' is not a number");
    }
    if (c < Currency())
        throw SourceError(line, what + " '" + std::string(text) + "' is negative");
    return c;
}

// Text for a field of `capacity` bytes: it must survive the trip to CP932 and fit.
std::string fieldBytes(std::string_view utf8, size_t capacity, int line, const std::string &what)
{
    const std::string bytes = cp932::encode(utf8);
    if (cp932::decode(bytes) != utf8)
        throw SourceError(line, what + " '" + std::string(utf8) + "' has characters that Shift-JIS cannot hold");
    if (bytes.size() > capacity)
        throw SourceError(line, what + " '" + std::string(utf8) + "' is " + std::to_string(bytes.size()) +
                                    " bytes in Shift-JIS; the field holds " + std::to_string(capacity));
    return bytes;
}

// The words of the sample sources for the rounding choices: the captions of the sheet set-up
// dialog, each meaning the value the dialog stores for it.
const std::map<std::string, Currency> &addendWords()
{
    static const std::map<std::string, Currency> m = [] {
        std::map<std::string, Currency> words;
        for (size_t i = 0; i < SheetSetup::AddendCaptions.size(); ++i)
            words[SheetSetup::AddendCaptions[i]] = addend(static_cast<int>(i));
        return words;
    }();
    return m;
}

const std::map<std::string, Currency> &digitCodeWords()
{
    static const std::map<std::string, Currency> m = [] {
        std::map<std::string, Currency> words;
        for (size_t i = 0; i < SheetSetup::CodeCaptions.size(); ++i)
            words[SheetSetup::CodeCaptions[i]] = significantCode(static_cast<int>(i));
        return words;
    }();
    return m;
}

static_assert(SheetSetup::AddendCaptions.size() == AddendRaws.size());
static_assert(SheetSetup::CodeCaptions.size() == SignificantCodes.size());

Currency choose(const std::map<std::string, Currency> &m, const std::string &v, int line, const std::string &key)
{
    const auto it = m.find(v);
    if (it != m.end())
        return it->second;
    std::string list;
    for (const auto &[w, c] : m)
        list += (list.empty() ? "" : ", ") + w;
    throw SourceError(line, key + ": '" + v + "' is not one of " + list);
}

// The keys a pipe may carry, and whether each must be set (in the pipe or before the first pipe).
const std::map<std::string, bool> &knownKeys()
{
    static const std::map<std::string, bool> k{
        {"name", true},
        {"use", false},
        {"joint", false},
        {"memo", false},
        {"page", false},
        {"unit", true},
        {"mode", true},
        {"locations", true},
        {"component-decimals", true},
        {"composite-fraction", true},
        {"composite-digits", true},
        {"composite-digits-rounding", true},
        {"price-from-list", true},
        {"price-fraction", true},
        {"price-digits", true},
        {"price-digits-rounding", true},
        {"percent", true},
        {"labour", true},
    };
    return k;
}

struct Value {
    std::string text;
    int line = 0;
};

struct TableRow {
    std::vector<std::string> cells;
    int line = 0;
};

struct PipeSource {
    int number = 0; // 1 … 20
    int line = 0;   // of its [pipe N] heading
    std::map<std::string, Value> keys;
    std::optional<int> pricesLine;
    std::vector<TableRow> prices;
    struct Factors {
        std::string location;
        int line = 0;
        std::vector<TableRow> rows;
    };
    std::vector<Factors> factors;
};

struct Source {
    std::map<std::string, Value> defaults;
    std::vector<PipeSource> pipes;
};

Source parse(const std::string &text)
{
    Source src;
    enum class In { Defaults, Pipe, Prices, Factors } in = In::Defaults;
    std::set<int> seenPipes;
    int lineNo = 0;
    size_t pos = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        pos = 3;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view raw(text.data() + pos, end - pos);
        pos = end + 1;
        ++lineNo;
        const std::string_view line = trim(stripComment(raw));
        if (line.empty())
            continue;

        if (line.front() == '[') {
            if (line.back() != ']')
                throw SourceError(lineNo, "a heading must end with ']'");
            const std::vector<std::string> w = words(line.substr(1, line.size() - 2));
            if (w.size() == 2 && w[0] == "pipe") {
                int n = 0;
                try {
                    size_t used = 0;
                    n = std::stoi(w[1], &used);
                    if (used != w[1].size())
                        n = 0;
                } catch (const std::exception &) {
                    n = 0;
                }
                if (n < 1 || n > PipesPerFile)
                    throw SourceError(lineNo, "pipe number '" + w[1] + "' is not 1 … 20");
                if (!seenPipes.insert(n).second)
                    throw SourceError(lineNo, "pipe " + w[1] + " appears twice");
                src.pipes.push_back(PipeSource{});
                src.pipes.back().number = n;
                src.pipes.back().line = lineNo;
                in = In::Pipe;
            } else if (w.size() == 1 && w[0] == "prices") {
                if (src.pipes.empty())
                    throw SourceError(lineNo, "[prices] must follow a [pipe N] heading");
                PipeSource &p = src.pipes.back();
                if (p.pricesLine)
                    throw SourceError(lineNo, "pipe " + std::to_string(p.number) + " has a second [prices] table");
                p.pricesLine = lineNo;
                in = In::Prices;
            } else if (w.size() == 2 && w[0] == "factors") {
                if (src.pipes.empty())
                    throw SourceError(lineNo, "[factors ...] must follow a [pipe N] heading");
                PipeSource &p = src.pipes.back();
                for (const auto &f : p.factors)
                    if (f.location == w[1])
                        throw SourceError(lineNo, "pipe " + std::to_string(p.number) + " has a second factor table for " + w[1]);
                p.factors.push_back({w[1], lineNo, {}});
                in = In::Factors;
            } else {
                throw SourceError(lineNo, "unknown heading '" + std::string(line) +
                                              "' (expected [pipe N], [prices] or [factors LOCATION])");
            }
            continue;
        }

        if (in == In::Prices || in == In::Factors) {
            if (line.find('=') != std::string_view::npos)
                throw SourceError(lineNo, "a setting cannot stand inside a table; put it above [prices]");
            TableRow row{words(line), lineNo};
            if (in == In::Prices)
                src.pipes.back().prices.push_back(std::move(row));
            else
                src.pipes.back().factors.back().rows.push_back(std::move(row));
            continue;
        }

        const size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            throw SourceError(lineNo, "expected 'key = value', a [heading] or a comment");
        const std::string key(trim(line.substr(0, eq)));
        const std::string value(trim(line.substr(eq + 1)));
        if (!knownKeys().count(key))
            throw SourceError(lineNo, "unknown setting '" + key + "'");
        auto &keys = in == In::Defaults ? src.defaults : src.pipes.back().keys;
        if (keys.count(key))
            throw SourceError(lineNo, "'" + key + "' is set twice");
        keys[key] = {value, lineNo};
    }
    return src;
}

// "NET:60 LEVEL1:80 …": every label of `labels` exactly once, in any order.
std::map<std::string, Currency> labelled(const Value &v, const std::string &key, const std::vector<std::string> &labels)
{
    std::map<std::string, Currency> out;
    for (const std::string &w : words(v.text)) {
        const size_t colon = w.find(':');
        if (colon == std::string::npos)
            throw SourceError(v.line, key + ": expected LABEL:VALUE, got '" + w + "'");
        const std::string label = w.substr(0, colon);
        if (std::find(labels.begin(), labels.end(), label) == labels.end())
            throw SourceError(v.line, key + ": unknown label '" + label + "'");
        if (out.count(label))
            throw SourceError(v.line, key + ": " + label + " is given twice");
        out[label] = number(w.substr(colon + 1), v.line, key + " " + label);
    }
    for (const std::string &l : labels)
        if (!out.count(l))
            throw SourceError(v.line, key + ": " + l + " is missing");
    return out;
}

// Fills the 60 records of one pipe from its source.
void buildPipe(const PipeSource &p, const std::map<std::string, Value> &defaults, PipeBlock &block)
{
    std::map<std::string, Value> keys = defaults;
    for (const auto &[k, v] : p.keys)
        keys[k] = v;
    const std::string pipeName = "pipe " + std::to_string(p.number);
    for (const auto &[k, required] : knownKeys())
        if (required && !keys.count(k))
            throw SourceError(p.line, pipeName + ": '" + k + "' is not set");
    auto text = [&](const std::string &k) { return keys.count(k) ? keys.at(k) : Value{}; };

    // Name lines of records 0–4: pipe name, uses, jointing, price source memo, page memo.
    const char *nameKeys[] = {"name", "use", "joint", "memo", "page"};
    for (int i = 0; i < 5; ++i) {
        const Value v = text(nameKeys[i]);
        block[i].name.assignBytes(fieldBytes(v.text, 80, v.line, nameKeys[i]));
    }
    const Value unit = keys.at("unit");
    const std::string unitBytes = fieldBytes(unit.text, 4, unit.line, "unit");

    const Value locs = keys.at("locations");
    std::vector<std::string> locations;
    {
        std::string_view rest = locs.text;
        for (;;) {
            const size_t comma = rest.find(',');
            locations.emplace_back(trim(rest.substr(0, comma)));
            if (comma == std::string_view::npos)
                break;
            rest.remove_prefix(comma + 1);
        }
    }
    if (locations.size() != LocationsPerPipe)
        throw SourceError(locs.line, "locations: expected four names separated by ',', got " + std::to_string(locations.size()));
    std::vector<std::string> locationBytes;
    for (const std::string &l : locations) {
        if (l.empty() || l.find_first_of(" \t") != std::string::npos)
            throw SourceError(locs.line, "locations: a name must be one word, not '" + l + "'");
        locationBytes.push_back(fieldBytes(l, 40, locs.line, "location"));
    }

    // Every record of the pipe carries the unit and its location's name, as the set-up dialog
    // stores them.
    for (int loc = 0; loc < LocationsPerPipe; ++loc)
        for (int row = 0; row < RowsPerLocation; ++row) {
            PriceRecord &r = block[loc * RowsPerLocation + row];
            r.unit.assignBytes(unitBytes);
            r.caption.assignBytes(locationBytes[loc]);
        }

    PriceRecord &st = block[SettingsRow - 1];
    PriceRecord &lab = block[LabourRow - 1];
    const Value mode = keys.at("mode");
    st.B(4) = choose({{"配管", Cur("0")}, {"冷媒", Cur("2")}}, mode.text, mode.line, "mode");
    const Value dec = keys.at("component-decimals");
    st.B(3) = choose({{"0", Cur("0")}, {"1", Cur("1")}, {"2", Cur("2")}, {"3", Cur("3")}}, dec.text, dec.line,
                     "component-decimals");
    auto addend = [&](const char *k) { return choose(addendWords(), keys.at(k).text, keys.at(k).line, k); };
    auto digits = [&](const char *k) { return choose(digitCodeWords(), keys.at(k).text, keys.at(k).line, k); };
    st.B(2) = addend("composite-fraction");
    st.B(1) = digits("composite-digits");
    st.B(6) = addend("composite-digits-rounding");
    const Value fromList = keys.at("price-from-list");
    st.D(4) = choose({{"yes", Cur("1")}, {"no", Cur("0")}}, fromList.text, fromList.line, "price-from-list");
    const bool useRates = st.D(4) == Cur("1");
    st.D(2) = addend("price-fraction");
    st.D(1) = digits("price-digits");
    st.D(3) = addend("price-digits-rounding");

    const std::vector<std::string> levels{"NET", "LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4", "LEVEL5"};
    const auto percent = labelled(keys.at("percent"), "percent", levels);
    std::vector<std::string> labourLabels = levels;
    labourLabels.push_back("LIST");
    const auto labour = labelled(keys.at("labour"), "labour", labourLabels);
    st.A(0) = percent.at("NET");
    lab.C(0) = labour.at("NET");
    for (int i = 1; i <= 5; ++i) {
        st.A(i) = percent.at(levels[i]);
        lab.C(i) = labour.at(levels[i]);
    }
    lab.A(6) = labour.at("LIST");

    // Prices: size, then LEVEL1 … LEVEL5, NET, LIST; or size and LIST alone when the other
    // prices are derived from the list price.
    if (!p.pricesLine)
        throw SourceError(p.line, pipeName + ": the [prices] table is missing");
    if (p.prices.empty())
        throw SourceError(*p.pricesLine, pipeName + ": the [prices] table has no rows");
    if (p.prices.size() > SizeRowsPerLocation)
        throw SourceError(p.prices[SizeRowsPerLocation].line, pipeName + ": more than 14 sizes");
    const size_t priceColumns = useRates ? 2 : 8;
    std::vector<std::string> sizes;
    for (size_t k = 0; k < p.prices.size(); ++k) {
        const TableRow &row = p.prices[k];
        if (row.cells.size() != priceColumns)
            throw SourceError(row.line, useRates ? "expected 2 columns: size LIST (price-from-list = yes)"
                                                 : "expected 8 columns: size LEVEL1 LEVEL2 LEVEL3 LEVEL4 LEVEL5 NET LIST");
        const std::string &size = row.cells[0];
        if (std::find(sizes.begin(), sizes.end(), size) != sizes.end())
            throw SourceError(row.line, "size " + size + " appears twice");
        sizes.push_back(size);
        const std::string sizeBytes = fieldBytes(size, 6, row.line, "size");
        for (int loc = 0; loc < LocationsPerPipe; ++loc)
            block[loc * RowsPerLocation + static_cast<int>(k)].size.assignBytes(sizeBytes);
        PriceRecord &r = block[k];
        if (useRates) {
            r.A(6) = number(row.cells[1], row.line, "LIST");
        } else {
            for (int i = 1; i <= 5; ++i)
                r.A(i) = number(row.cells[i], row.line, levels[i]);
            r.A(0) = number(row.cells[6], row.line, "NET");
            r.A(6) = number(row.cells[7], row.line, "LIST");
        }
    }

    // Factors B1 … B7 per location, for the sizes of the price table in the same order.
    for (const auto &f : p.factors) {
        const auto it = std::find(locations.begin(), locations.end(), f.location);
        if (it == locations.end())
            throw SourceError(f.line, pipeName + ": '" + f.location + "' is not one of its locations");
        const int loc = static_cast<int>(it - locations.begin());
        if (f.rows.size() != sizes.size())
            throw SourceError(f.line, pipeName + ": the factor table for " + f.location + " has " +
                                          std::to_string(f.rows.size()) + " rows; the price table has " +
                                          std::to_string(sizes.size()));
        for (size_t k = 0; k < f.rows.size(); ++k) {
            const TableRow &row = f.rows[k];
            if (row.cells.size() != 8)
                throw SourceError(row.line, "expected 8 columns: size B1 B2 B3 B4 B5 B6 B7");
            if (row.cells[0] != sizes[k])
                throw SourceError(row.line, "size " + row.cells[0] + " where the price table has " + sizes[k]);
            PriceRecord &r = block[loc * RowsPerLocation + static_cast<int>(k)];
            for (int i = 1; i <= 7; ++i)
                r.B(i) = number(row.cells[i], row.line, "B" + std::to_string(i));
        }
    }
}

int run(const std::string &sourcePath, const std::string &outputPath)
{
    std::string text;
    try {
        text = readWholeFile(sourcePath);
    } catch (const IoError &e) {
        std::fprintf(stderr, "mkfda: %s\n", e.what());
        return 1;
    }
    ServiceFile file;
    try {
        const Source src = parse(text);
        if (src.pipes.empty())
            throw SourceError(0, "no [pipe N] in the source");
        for (const PipeSource &p : src.pipes) {
            PipeBlock &block = file.pipeBlock(p.number - 1);
            buildPipe(p, src.defaults, block);
            WorkingTable table;
            table.load(block);
            table.recalculateAll(block);
        }
    } catch (const SourceError &e) {
        if (e.line > 0)
            std::fprintf(stderr, "mkfda: %s:%d: %s\n", sourcePath.c_str(), e.line, e.what());
        else
            std::fprintf(stderr, "mkfda: %s: %s\n", sourcePath.c_str(), e.what());
        return 1;
    } catch (const VelmoError &e) {
        std::fprintf(stderr, "mkfda: %s: %s\n", sourcePath.c_str(), e.what());
        return 1;
    }
    try {
        file.save(outputPath);
    } catch (const IoError &e) {
        std::fprintf(stderr, "mkfda: %s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace
} // namespace velmo

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkfda SOURCE OUTPUT\n");
        return 2;
    }
    return velmo::run(argv[1], argv[2]);
}
