#include "controls/core/price_import.h"

#include "controls/core/control_texts.h"
#include "controls/core/errors.h"
#include "controls/core/support.h"

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

// Full-width letters, digits and signs made half-width, spaces dropped.
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

// A column number as typed: digits, full-width ones too; nothing for any other text.
std::optional<int> columnNumber(std::string_view given)
{
    const std::string half = compactHalfWidth(given);
    if (half.empty() || half.size() > 5 || half.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(half);
}

} // namespace

int columnCount(const SheetRows &rows)
{
    size_t n = 0;
    for (const auto &r : rows)
        n = std::max(n, r.size());
    return static_cast<int>(n);
}

ColumnChoice chooseColumn(const SheetRows &rows, const std::string &given)
{
    if (const auto n = columnNumber(given)) {
        const int count = columnCount(rows);
        if (*n < 1 || *n > count)
            throw RangeError(controltext::noColumnNumberText(*n, count));
        return {*n - 1, std::nullopt};
    }
    // Headings are compared as the sizes are, without spaces and full-width letters: "定価"
    // finds the heading "定　価" that the programs' own price lists write.
    const std::string want = compactHalfWidth(given);
    for (size_t r = 0; r < rows.size() && !want.empty(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            if (compactHalfWidth(rows[r][c]) == want)
                return {static_cast<int>(c), static_cast<int>(r)};
    throw RangeError(controltext::noColumnHeadingText(std::string(trimmed(given))));
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

ImportPreview previewImport(const SheetRows &rows, const ColumnChoice &sizeColumn, const ColumnChoice &priceColumn,
                            const ImportTarget &target)
{
    ImportPreview p;
    std::multimap<std::string, size_t> sizeRows; // normalised size → size rows of the block
    for (size_t i = 0; i < target.sizes.size(); ++i) {
        p.sizes.push_back({target.sizes[i], i < target.listPrices.size() ? target.listPrices[i] : Currency(), {}, 0});
        if (const std::string n = normalisedSize(target.sizes[i]); !n.empty())
            sizeRows.emplace(n, i);
    }
    const size_t first = static_cast<size_t>(std::max(sizeColumn.headingRow.value_or(-1), priceColumn.headingRow.value_or(-1)) + 1);
    for (size_t r = first; r < rows.size(); ++r) {
        const std::string size = cellOf(rows, r, sizeColumn.column);
        const std::string price = cellOf(rows, r, priceColumn.column);
        if (trimmed(size).empty() && trimmed(price).empty())
            continue;
        const SheetLine line{static_cast<int>(r + 1), std::string(trimmed(size)), std::string(trimmed(price))};
        const auto [from, to] = sizeRows.equal_range(normalisedSize(size));
        if (from == to || normalisedSize(size).empty()) {
            p.unmatched.push_back(line);
            continue;
        }
        if (p.sizes[from->second].sheetRow != 0) {
            p.duplicates.push_back(line);
            continue;
        }
        const std::optional<Currency> value = listPriceOfCell(price);
        for (auto it = from; it != to; ++it)
            p.sizes[it->second].sheetRow = line.row;
        if (!value) {
            p.badPrices.push_back(line);
            continue;
        }
        for (auto it = from; it != to; ++it)
            p.sizes[it->second].newPrice = value;
    }
    return p;
}

// ---------------------------------------------------------------- the dialog's choices

PriceImportChoice::PriceImportChoice(PriceBook book, ImportTarget target, int sizeColumn, int priceColumn)
    : book_(std::move(book)), target_(std::move(target)), sizeColumn_(sizeColumn), priceColumn_(priceColumn)
{
    if (book_.sheets.empty())
        throw IoError(controltext::emptyPriceListText(book_.file));
    update();
}

std::vector<std::string> PriceImportChoice::sheetNames() const
{
    std::vector<std::string> names;
    for (const PriceSheet &s : book_.sheets)
        names.push_back(s.name);
    return names;
}

void PriceImportChoice::chooseSheet(int index)
{
    if (index < 0 || index >= static_cast<int>(book_.sheets.size()))
        return;
    sheet_ = index;
    update();
}

std::vector<std::string> PriceImportChoice::columnTexts() const
{
    const SheetRows &rows = book_.sheets[static_cast<size_t>(sheet_)].rows;
    std::vector<std::string> texts;
    for (int c = 0; c < std::max(columnCount(rows), 2); ++c) {
        std::string first;
        for (size_t r = 0; r < rows.size() && first.empty(); ++r)
            first = std::string(trimmed(cellOf(rows, r, c)));
        texts.push_back(controltext::columnChoiceText(c + 1, first));
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

std::vector<std::array<std::string, 3>> PriceImportChoice::sizeRows() const
{
    std::vector<std::array<std::string, 3>> rows;
    for (const SizePrice &s : preview_.sizes)
        rows.push_back({s.size, FormatMoney(s.oldPrice), s.newPrice ? FormatMoney(*s.newPrice) : std::string()});
    return rows;
}

std::string PriceImportChoice::countsText() const
{
    return controltext::importCountsText(preview_.matched(), static_cast<int>(preview_.unmatched.size()),
                                         static_cast<int>(preview_.sizesWithoutPrice().size()),
                                         static_cast<int>(preview_.badPrices.size()));
}

std::string PriceImportChoice::report() const
{
    std::string text;
    auto section = [&](const char *heading, const std::vector<SheetLine> &lines) {
        if (lines.empty())
            return;
        text += std::string(text.empty() ? "" : "\n") + "【" + heading + "】\n";
        for (const SheetLine &l : lines)
            text += controltext::sheetLineText(l.row, l.size, l.price) + "\n";
    };
    section(controltext::BadPriceCellsHeading, preview_.badPrices);
    section(controltext::UnmatchedRowsHeading, preview_.unmatched);
    section(controltext::DuplicateRowsHeading, preview_.duplicates);
    const std::vector<std::string> without = preview_.sizesWithoutPrice();
    if (!without.empty()) {
        text += std::string(text.empty() ? "" : "\n") + "【" + controltext::SizesWithoutPriceHeading + "】\n";
        for (const std::string &s : without)
            text += s + "\n";
    }
    return text;
}

void PriceImportChoice::update()
{
    preview_ = previewImport(book_.sheets[static_cast<size_t>(sheet_)].rows, {sizeColumn_, std::nullopt},
                             {priceColumn_, std::nullopt}, target_);
}

std::optional<ImportPreview> askPriceImport(UserInterface &ui, const ImportTarget &target)
{
    const auto file = ui.chooseOpenFile(controltext::ImportPriceListTitle, controltext::PriceListFilter);
    if (!file)
        return std::nullopt;
    PriceImportChoice choice(readPriceBook(*file), target);
    if (!ui.reviewPriceImport(choice) || !choice.canImport())
        return std::nullopt;
    return choice.preview();
}

} // namespace velmo
