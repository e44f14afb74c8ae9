#include "pricework/price_import.h"

#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "base/errors.h"
#include "base/support.h"

#include <algorithm>
#include <map>

namespace velmo {

namespace {

std::string_view trimmed(std::string_view s)
{
    constexpr std::string_view Space = " \t\r\n";
    const size_t a = s.find_first_not_of(Space);
    if (a == std::string_view::npos)
        return {};
    return s.substr(a, s.find_last_not_of(Space) - a + 1);
}

std::string cellOf(const SheetRows &rows, size_t row, int col)
{
    if (row >= rows.size() || col < 0 || static_cast<size_t>(col) >= rows[row].size())
        return {};
    return rows[row][static_cast<size_t>(col)];
}

} // namespace

std::string compactHalfWidth(std::string_view s)
{
    std::string out;
    for (size_t i = 0; i < s.size();) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        if (i + 2 < s.size() && b0 == 0xEF) {
            const auto b1 = static_cast<unsigned char>(s[i + 1]), b2 = static_cast<unsigned char>(s[i + 2]);
            // U+FF01 … U+FF5E, the full-width forms of "!" … "~".
            const int cp = ((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F);
            if (cp >= 0xFF01 && cp <= 0xFF5E) {
                out += static_cast<char>(cp - 0xFF01 + 0x21);
                i += 3;
                continue;
            }
        }
        if (s.substr(i, 3) == "\xE3\x80\x80") { // full-width space
            i += 3;
            continue;
        }
        if (s.substr(i, 2) == "\xC2\xA0") { // no-break space
            i += 2;
            continue;
        }
        if (s[i] != ' ' && s[i] != '\t' && s[i] != '\r' && s[i] != '\n')
            out += s[i];
        ++i;
    }
    return out;
}

std::optional<int> columnNumberOf(std::string_view given)
{
    const std::string half = compactHalfWidth(given);
    if (half.empty() || half.size() > 5 || half.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(half);
}

int columnCount(const SheetRows &rows)
{
    size_t n = 0;
    for (const auto &r : rows)
        n = std::max(n, r.size());
    return static_cast<int>(n);
}

ColumnChoice chooseColumn(const SheetRows &rows, const std::string &given)
{
    if (const auto n = columnNumberOf(given)) {
        const int count = columnCount(rows);
        if (*n < 1 || *n > count)
            throw RangeError(sharedtext::noColumnNumberText(*n, count));
        return {*n - 1, std::nullopt};
    }
    // Headings are compared as the sizes are, without spaces and full-width letters: "定価"
    // finds the heading "定　価" that the programs' own price lists write.
    const std::string want = compactHalfWidth(given);
    for (size_t r = 0; r < rows.size() && !want.empty(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            if (compactHalfWidth(rows[r][c]) == want)
                return {static_cast<int>(c), static_cast<int>(r)};
    throw RangeError(sharedtext::noColumnHeadingText(std::string(trimmed(given))));
}

std::string normalisedSize(std::string_view s)
{
    std::string out = compactHalfWidth(s);
    if (out.size() > 1 && (out.back() == 'A' || out.back() == 'a'))
        out.pop_back();
    return out;
}

std::optional<Currency> listPriceOfCell(std::string_view cell)
{
    const std::optional<std::string> text = sheetNumberText(cell);
    if (!text || text->front() == '-')
        return std::nullopt;
    try {
        return Currency::parse(*text);
    } catch (const ConversionError &) {
        return std::nullopt; // beyond the range of a price
    }
}

namespace {


// The first shown row holding both a size and a price heading, else the first holding either.
struct HeadingFind {
    std::optional<size_t> row;
    int sizeColumn = -1, priceColumn = -1;
};

HeadingFind findHeading(const PriceSheet &sheet)
{
    HeadingFind either;
    for (size_t r = 0; r < sheet.rows.size(); ++r) {
        if (sheet.rowHidden(r))
            continue;
        HeadingFind here{r, -1, -1};
        int rank = 0;
        for (size_t c = 0; c < sheet.rows[r].size(); ++c) {
            const std::string_view cell = sheet.rows[r][c];
            if (here.sizeColumn < 0 && isSizeHeading(cell))
                here.sizeColumn = static_cast<int>(c);
            else if (const int k = priceHeadingRank(cell); k > rank) {
                rank = k;
                here.priceColumn = static_cast<int>(c);
            }
        }
        if (here.sizeColumn >= 0 && here.priceColumn >= 0)
            return here;
        if (!either.row && (here.sizeColumn >= 0 || here.priceColumn >= 0))
            either = here;
    }
    return either;
}

} // namespace

std::string headingText(std::string_view cell)
{
    std::string h = compactHalfWidth(cell);
    auto dropNote = [&](std::string_view open, std::string_view close) {
        if (h.size() > close.size() && h.compare(h.size() - close.size(), close.size(), close) == 0) {
            const size_t at = h.rfind(open, h.size() - close.size() - 1);
            if (at != std::string::npos && at > 0)
                h.erase(at);
        }
    };
    dropNote("(", ")");
    dropNote("[", "]");
    dropNote("【", "】");
    return h;
}

bool isSizeHeading(std::string_view cell)
{
    const std::string h = headingText(cell);
    return std::find(sharedtext::SizeHeadings.begin(), sharedtext::SizeHeadings.end(), h) != sharedtext::SizeHeadings.end();
}

int priceHeadingRank(std::string_view cell)
{
    const std::string h = headingText(cell);
    const auto &names = sharedtext::PriceHeadings;
    for (size_t i = 0; i < names.size(); ++i)
        if (h == names[i])
            return static_cast<int>(names.size() - i);
    return 0;
}

ColumnGuess guessColumns(const PriceSheet &sheet, const ImportTarget &target)
{
    ColumnGuess g;
    const HeadingFind h = findHeading(sheet);
    if (h.row)
        g.headingRow = static_cast<int>(*h.row);
    g.sizeByHeading = h.sizeColumn >= 0;
    g.priceByHeading = h.priceColumn >= 0;
    const size_t first = h.row ? *h.row + 1 : 0;
    // The figures are looked for in the first columns only: a cell far to the right (XFD1)
    // must not make the guess read every row thousands of times.
    constexpr int MostColumnsGuessed = 256;
    const int columns = std::min(columnCount(sheet.rows), MostColumnsGuessed);
    std::vector<std::string> sizes;
    for (const std::string &s : target.sizes)
        if (const std::string n = normalisedSize(s); !n.empty())
            sizes.push_back(n);
    auto isBlockSize = [&](const std::string &cell) {
        const std::string n = normalisedSize(cell);
        return !n.empty() && std::find(sizes.begin(), sizes.end(), n) != sizes.end();
    };
    // The column of the most rows for which `counts` holds; between equals the one nearest
    // right of `near` (a price stands right of its size), then the leftmost.
    auto bestColumn = [&](int skip, int near, auto counts) -> std::optional<int> {
        std::optional<int> best;
        int bestCount = 0;
        for (int c = 0; c < columns; ++c) {
            if (c == skip)
                continue;
            int n = 0;
            for (size_t r = first; r < sheet.rows.size(); ++r)
                if (!sheet.rowHidden(r) && counts(r, c))
                    ++n;
            const bool nearer = best && near >= 0 && c > near && (*best < near || c < *best);
            if (n > bestCount || (n > 0 && n == bestCount && nearer)) {
                best = c;
                bestCount = n;
            }
        }
        return best;
    };
    if (g.sizeByHeading) {
        g.sizeColumn = h.sizeColumn;
    } else {
        const int skip = g.priceByHeading ? h.priceColumn : -1;
        const auto c = bestColumn(skip, -1, [&](size_t r, int col) { return isBlockSize(cellOf(sheet.rows, r, col)); });
        g.sizeColumn = c ? *c : (skip == 0 ? 1 : 0);
    }
    if (g.priceByHeading) {
        g.priceColumn = h.priceColumn;
    } else {
        auto reads = [&](size_t r, int col) { return listPriceOfCell(cellOf(sheet.rows, r, col)).has_value(); };
        auto c = bestColumn(g.sizeColumn, g.sizeColumn, [&](size_t r, int col) {
            return isBlockSize(cellOf(sheet.rows, r, g.sizeColumn)) && reads(r, col);
        });
        if (!c)
            c = bestColumn(g.sizeColumn, g.sizeColumn, reads);
        g.priceColumn = c ? *c : (g.sizeColumn == 1 ? 0 : g.sizeColumn + 1);
    }
    return g;
}

int guessSheet(const PriceBook &book)
{
    const int first = book.sheetIndex("");
    if (first < 0 || static_cast<size_t>(first) >= book.sheets.size() || findHeading(book.sheets[static_cast<size_t>(first)]).row)
        return first;
    for (size_t i = 0; i < book.sheets.size(); ++i)
        if (static_cast<int>(i) != first && !book.sheets[i].hidden && findHeading(book.sheets[i]).row)
            return static_cast<int>(i);
    return first;
}

int ImportPreview::matched() const
{
    return static_cast<int>(std::count_if(sizes.begin(), sizes.end(), [](const SizePrice &s) { return s.newPrice.has_value(); }));
}

std::vector<std::string> ImportPreview::sizesWithoutPrice() const
{
    std::vector<std::string> out;
    for (const SizePrice &s : sizes)
        if (!s.newPrice && !normalisedSize(s.size).empty())
            out.push_back(s.size);
    return out;
}

std::vector<size_t> ImportPreview::sizesWithChoice() const
{
    std::vector<size_t> out;
    std::vector<std::string> seen;
    for (size_t i = 0; i < sizes.size(); ++i) {
        const std::string n = normalisedSize(sizes[i].size);
        if (sizes[i].rows.size() > 1 && std::find(seen.begin(), seen.end(), n) == seen.end()) {
            seen.push_back(n);
            out.push_back(i);
        }
    }
    return out;
}

namespace {

// The rows of a size with a price that are not the row taken, once each, in the list's order.
std::vector<SheetLine> duplicatesOf(const std::vector<SizePrice> &sizes)
{
    std::map<int, SheetLine> rows;
    for (const SizePrice &s : sizes)
        for (const SheetLine &l : s.rows)
            if (l.row != s.sheetRow)
                rows.emplace(l.row, l);
    std::vector<SheetLine> out;
    for (auto &[row, line] : rows)
        out.push_back(line);
    return out;
}

} // namespace

bool ImportPreview::takeRow(size_t size, int sheetRow)
{
    if (size >= sizes.size())
        return false;
    const std::vector<SheetLine> rows = sizes[size].rows;
    const auto line = std::find_if(rows.begin(), rows.end(), [&](const SheetLine &l) { return l.row == sheetRow; });
    if (line == rows.end())
        return false;
    const std::string n = normalisedSize(sizes[size].size);
    for (SizePrice &s : sizes)
        if (normalisedSize(s.size) == n) {
            s.newPrice = listPriceOfCell(line->price);
            s.sheetRow = sheetRow;
        }
    duplicates = duplicatesOf(sizes);
    return true;
}

ImportPreview previewImport(const PriceSheet &sheet, const ColumnChoice &sizeColumn, const ColumnChoice &priceColumn,
                            const ImportTarget &target)
{
    const SheetRows &rows = sheet.rows;
    ImportPreview p;
    std::multimap<std::string, size_t> sizeRows; // normalised size → size rows of the block
    for (size_t i = 0; i < target.sizes.size(); ++i) {
        p.sizes.push_back({target.sizes[i], i < target.listPrices.size() ? target.listPrices[i] : Currency(), {}, 0, {}});
        if (const std::string n = normalisedSize(target.sizes[i]); !n.empty())
            sizeRows.emplace(n, i);
    }
    const int headingRow = std::max(sizeColumn.headingRow.value_or(-1), priceColumn.headingRow.value_or(-1));
    for (size_t r = 0; r < rows.size(); ++r) {
        const std::string size = cellOf(rows, r, sizeColumn.column);
        const std::string price = cellOf(rows, r, priceColumn.column);
        if (trimmed(size).empty() && trimmed(price).empty())
            continue;
        if (static_cast<int>(r) <= headingRow) {
            p.headings.push_back(static_cast<int>(r + 1));
            continue;
        }
        if (sheet.rowHidden(r)) {
            ++p.hiddenRows;
            continue;
        }
        // A heading repeated further down, as lists of several pages or sections have them.
        if (isSizeHeading(size) || (trimmed(size).empty() && priceHeadingRank(price) > 0)) {
            p.headings.push_back(static_cast<int>(r + 1));
            continue;
        }
        const SheetLine line{static_cast<int>(r + 1), std::string(trimmed(size)), std::string(trimmed(price))};
        const auto [from, to] = sizeRows.equal_range(normalisedSize(size));
        if (from == to || normalisedSize(size).empty()) {
            p.unmatched.push_back(line);
            continue;
        }
        if (!listPriceOfCell(price)) {
            p.badPrices.push_back(line);
            for (auto it = from; it != to; ++it)
                if (p.sizes[it->second].sheetRow == 0)
                    p.sizes[it->second].sheetRow = line.row;
            continue;
        }
        for (auto it = from; it != to; ++it)
            p.sizes[it->second].rows.push_back(line);
    }
    // The last shown row of a size is taken until the person chooses another.
    for (SizePrice &s : p.sizes)
        if (!s.rows.empty()) {
            s.newPrice = listPriceOfCell(s.rows.back().price);
            s.sheetRow = s.rows.back().row;
        }
    p.duplicates = duplicatesOf(p.sizes);
    return p;
}

// ---------------------------------------------------------------- the dialog's choices

PriceImportChoice::PriceImportChoice(PriceBook book, ImportTarget target)
    : book_(std::move(book)), target_(std::move(target))
{
    if (book_.sheets.empty())
        throw IoError(sharedtext::emptyPriceListText(book_.file));
    sheet_ = guessSheet(book_);
    if (const int first = book_.sheetIndex(""); sheet_ != first)
        sheetNote_ = sharedtext::headingSheetText(book_.sheets[static_cast<size_t>(first)].name,
                                                   book_.sheets[static_cast<size_t>(sheet_)].name);
    guess();
}

std::vector<std::string> PriceImportChoice::sheetNames() const
{
    std::vector<std::string> names;
    for (const PriceSheet &s : book_.sheets)
        names.push_back(s.hidden ? sharedtext::hiddenSheetName(s.name) : s.name);
    return names;
}

void PriceImportChoice::chooseSheet(int index)
{
    if (index < 0 || index >= static_cast<int>(book_.sheets.size()) || index == sheet_)
        return;
    sheet_ = index;
    sheetNote_.clear();
    guess();
}

std::vector<std::string> PriceImportChoice::columnTexts() const
{
    const PriceSheet &sheet = book_.sheets[static_cast<size_t>(sheet_)];
    const SheetRows &rows = sheet.rows;
    // A title standing alone in its row (a merged cell across the table) names no column.
    auto filledCells = [&](size_t r) {
        return std::count_if(rows[r].begin(), rows[r].end(), [](const std::string &c) { return !trimmed(c).empty(); });
    };
    std::vector<std::string> texts;
    for (int c = 0; c < std::max(columnCount(rows), 2); ++c) {
        std::string label;
        if (headingRow_)
            label = std::string(trimmed(cellOf(rows, static_cast<size_t>(*headingRow_), c)));
        const size_t from = headingRow_ ? static_cast<size_t>(*headingRow_ + 1) : 0;
        for (size_t r = from; r < rows.size() && label.empty(); ++r)
            if (!sheet.rowHidden(r) && filledCells(r) > 1)
                label = std::string(trimmed(cellOf(rows, r, c)));
        for (size_t r = from; r < rows.size() && label.empty(); ++r)
            if (!sheet.rowHidden(r))
                label = std::string(trimmed(cellOf(rows, r, c)));
        texts.push_back(sharedtext::columnChoiceText(c + 1, label));
    }
    return texts;
}

void PriceImportChoice::chooseSizeColumn(int column)
{
    if (column >= 0)
        sizeColumn_ = column;
    update();
}

void PriceImportChoice::choosePriceColumn(int column)
{
    if (column >= 0)
        priceColumn_ = column;
    update();
}

void PriceImportChoice::chooseRow(size_t size, int sheetRow) { preview_.takeRow(size, sheetRow); }

std::vector<std::array<std::string, 3>> PriceImportChoice::sizeRows() const
{
    std::vector<std::array<std::string, 3>> rows;
    for (const SizePrice &s : preview_.sizes)
        rows.push_back({s.size, FormatMoney(s.oldPrice), s.newPrice ? FormatMoney(*s.newPrice) : std::string()});
    return rows;
}

std::vector<std::string> PriceImportChoice::rowChoiceTexts(size_t size) const
{
    std::vector<std::string> texts;
    if (size < preview_.sizes.size())
        for (const SheetLine &l : preview_.sizes[size].rows)
            texts.push_back(sharedtext::rowChoiceText(FormatMoney(listPriceOfCell(l.price).value_or(Currency())), l.row));
    return texts;
}

std::string PriceImportChoice::countsText() const
{
    return sharedtext::importCountsText(
        preview_.matched(), static_cast<int>(preview_.headings.size()), static_cast<int>(preview_.unmatched.size()),
        static_cast<int>(preview_.sizesWithoutPrice().size()), static_cast<int>(preview_.badPrices.size()),
        static_cast<int>(preview_.sizesWithChoice().size()), preview_.hiddenRows);
}

std::string PriceImportChoice::report() const
{
    std::string text;
    auto heading = [&](const char *h) { text += std::string(text.empty() ? "" : "\n") + "【" + h + "】\n"; };
    auto section = [&](const char *h, const std::vector<SheetLine> &lines) {
        if (lines.empty())
            return;
        heading(h);
        for (const SheetLine &l : lines)
            text += sharedtext::sheetLineText(l.row, l.size, l.price) + "\n";
    };
    if (const std::vector<size_t> choices = preview_.sizesWithChoice(); !choices.empty()) {
        heading(sharedtext::DuplicateRowsHeading);
        for (const size_t i : choices) {
            const SizePrice &s = preview_.sizes[i];
            std::vector<int> others;
            for (const SheetLine &l : s.rows)
                if (l.row != s.sheetRow)
                    others.push_back(l.row);
            text += sharedtext::duplicateSizeText(s.size, s.sheetRow, s.newPrice ? FormatMoney(*s.newPrice) : "",
                                                   others) + "\n";
        }
    }
    section(sharedtext::BadPriceCellsHeading, preview_.badPrices);
    section(sharedtext::UnmatchedRowsHeading, preview_.unmatched);
    const std::vector<std::string> without = preview_.sizesWithoutPrice();
    if (!without.empty()) {
        heading(sharedtext::SizesWithoutPriceHeading);
        for (const std::string &s : without)
            text += s + "\n";
    }
    return text;
}

void PriceImportChoice::guess()
{
    const ColumnGuess g = guessColumns(book_.sheets[static_cast<size_t>(sheet_)], target_);
    sizeColumn_ = g.sizeColumn;
    priceColumn_ = g.priceColumn;
    headingRow_ = g.headingRow;
    update();
}

void PriceImportChoice::update()
{
    preview_ = previewImport(book_.sheets[static_cast<size_t>(sheet_)], {sizeColumn_, headingRow_},
                             {priceColumn_, headingRow_}, target_);
}

std::optional<ImportPreview> askPriceImport(UserInterface &ui, const ImportTarget &target)
{
    const auto file = ui.chooseOpenFile(sharedtext::ImportPriceListTitle, sharedtext::PriceListFilter);
    if (!file)
        return std::nullopt;
    PriceImportChoice choice(readPriceBook(*file), target);
    if (!ui.reviewPriceImport(choice) || !choice.canImport())
        return std::nullopt;
    return choice.preview();
}

} // namespace velmo
