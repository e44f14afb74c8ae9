#include "pricework/price_sheet.h"

#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "base/cp932.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "base/utf8_text.h"
#include "pricework/zip_workbook.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

namespace velmo {

namespace fs = std::filesystem;

namespace {


// Tabs when the first line has a tab outside quotes (a tab-separated list writes its figures
// with "," grouping unquoted), else commas.
char separatorOfList(std::string_view text)
{
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\r' || c == '\n'))
            break;
        else if (!quoted && c == '\t')
            return '\t';
    }
    return ',';
}

// ---------------------------------------------------------------- the workbook


// The name of an element without its namespace prefix.
std::string_view localName(const pugi::xml_node &n)
{
    const std::string_view name = n.name();
    const size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node child(const pugi::xml_node &n, std::string_view name)
{
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && localName(c) == name)
            return c;
    return {};
}

template <class F>
void eachChild(const pugi::xml_node &n, std::string_view name, F f)
{
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && localName(c) == name)
            f(c);
}

// An attribute by its local name (r:id and id alike).
pugi::xml_attribute attribute(const pugi::xml_node &n, std::string_view name)
{
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
        std::string_view an = a.name();
        const size_t colon = an.find(':');
        if (colon != std::string_view::npos)
            an = an.substr(colon + 1);
        if (an == name)
            return a;
    }
    return {};
}

// The text of a string item (<si> or <is>): its <t>, or the <t> of each run.
std::string itemText(const pugi::xml_node &item)
{
    std::string text;
    for (pugi::xml_node c = item.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        if (localName(c) == "t")
            text += c.text().get();
        else if (localName(c) == "r")
            text += child(c, "t").text().get();
    }
    return text;
}

// A stored number as plain decimal text: whole numbers as they are, others to four decimals
// without trailing zeros (0.30000000000000004 → 0.3, 1E3 → 1000).
std::string numberText(std::string_view v)
{
    const bool whole = !v.empty() && v.find_first_not_of("-0123456789") == std::string_view::npos &&
                       v.find('-', 1) == std::string_view::npos;
    if (whole)
        return std::string(v);
    double d = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), d);
    if (ec != std::errc() || end != v.data() + v.size() || !std::isfinite(d))
        return std::string(v);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.4f", d);
    std::string s = buf;
    s.erase(s.find_last_not_of('0') + 1);
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

// The column (0-based) of a cell reference "BC12"; -1 when it has none.
int columnOf(std::string_view ref)
{
    int col = 0;
    size_t i = 0;
    for (; i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z'; ++i) {
        col = col * 26 + (ref[i] - 'A' + 1);
        if (col > 16384)
            return -1;
    }
    return i == 0 ? -1 : col - 1;
}

// A worksheet part's rows; a row with hidden="1" is marked hidden in `sheet`.
void readSheetRows(const ZipWorkbook &book, const std::string &part, const std::vector<std::string> &shared,
                   PriceSheet &sheet)
{
    pugi::xml_document doc;
    book.xml(part, doc, MaxPriceSheetPartBytes);
    const pugi::xml_node data = child(child(doc, "worksheet"), "sheetData");
    SheetRows &rows = sheet.rows;
    int nextRow = 1;
    eachChild(data, "row", [&](const pugi::xml_node &row) {
        const int r = attribute(row, "r") ? attribute(row, "r").as_int() : nextRow;
        if (r < nextRow || r > 1048576)
            book.fail(sharedtext::badPartCause(part));
        nextRow = r + 1;
        rows.resize(static_cast<size_t>(r));
        if (attribute(row, "hidden").as_bool())
            sheet.hiddenRows.push_back(r - 1);
        std::vector<std::string> &cells = rows[static_cast<size_t>(r - 1)];
        eachChild(row, "c", [&](const pugi::xml_node &c) {
            const pugi::xml_attribute ref = attribute(c, "r");
            const int col = ref ? columnOf(ref.value()) : static_cast<int>(cells.size());
            if (col < 0)
                book.fail(sharedtext::badPartCause(part));
            const std::string_view type = attribute(c, "t").value();
            const std::string v = child(c, "v").text().get();
            std::string text;
            if (type == "s") {
                const bool digits = !v.empty() && v.size() < 10 && v.find_first_not_of("0123456789") == std::string::npos;
                const size_t i = digits ? std::stoul(v) : shared.size();
                if (i >= shared.size())
                    book.fail(sharedtext::badPartCause(part));
                text = shared[i];
            } else if (type == "inlineStr") {
                text = itemText(child(c, "is"));
            } else if (type == "str" || type == "e" || type == "b") {
                text = v;
            } else {
                text = numberText(v);
            }
            if (static_cast<size_t>(col) >= cells.size())
                cells.resize(static_cast<size_t>(col) + 1);
            cells[static_cast<size_t>(col)] = std::move(text);
        });
    });
}


// The part a relationship's target names, relative to xl/ or from the archive's root.
std::string partOfTarget(std::string_view target)
{
    if (!target.empty() && target.front() == '/')
        return std::string(target.substr(1));
    return "xl/" + std::string(target);
}

std::vector<PriceSheet> readXlsx(const ZipWorkbook &book)
{
    pugi::xml_document wb, rels;
    book.xml("xl/workbook.xml", wb, MaxPriceSheetPartBytes);
    std::map<std::string, std::string> targets;
    if (book.has("xl/_rels/workbook.xml.rels")) {
        book.xml("xl/_rels/workbook.xml.rels", rels, MaxPriceSheetPartBytes);
        eachChild(child(rels, "Relationships"), "Relationship", [&](const pugi::xml_node &r) {
            targets[attribute(r, "Id").value()] = partOfTarget(attribute(r, "Target").value());
        });
    }
    std::vector<std::string> shared;
    if (book.has("xl/sharedStrings.xml")) {
        pugi::xml_document sst;
        book.xml("xl/sharedStrings.xml", sst, MaxPriceSheetPartBytes);
        eachChild(child(sst, "sst"), "si", [&](const pugi::xml_node &si) { shared.push_back(itemText(si)); });
    }
    std::vector<PriceSheet> sheets;
    int n = 0;
    eachChild(child(child(wb, "workbook"), "sheets"), "sheet", [&](const pugi::xml_node &s) {
        ++n;
        const auto t = targets.find(attribute(s, "id").value());
        // Without relationships the sheets lie where every writer puts them.
        const std::string part = t != targets.end() ? t->second : "xl/worksheets/sheet" + std::to_string(n) + ".xml";
        PriceSheet sheet{attribute(s, "name").value(), {}};
        const std::string_view state = attribute(s, "state").value();
        sheet.hidden = state == "hidden" || state == "veryHidden";
        readSheetRows(book, part, shared, sheet);
        sheets.push_back(std::move(sheet));
    });
    if (sheets.empty())
        book.fail(sharedtext::NoSheetsCause);
    return sheets;
}

// ---------------------------------------------------------------- the OpenDocument spreadsheet

// The largest row and column of a sheet, as in an .xlsx; and the most cells that repeated rows
// and cells of content.xml may unfold to, so that a small file cannot ask for gigabytes.
constexpr int64_t MaxSheetRows = 1048576, MaxSheetColumns = 16384;
constexpr int64_t MaxUnfoldedCells = 4'000'000;

// The text of a cell's paragraphs: <text:p> joined by line ends, <text:s text:c="n"/> as n
// spaces, <text:tab/> and <text:line-break/>, spans and links by their text.
void appendOdsText(const pugi::xml_node &n, std::string &out)
{
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
            out += c.value();
            continue;
        }
        if (c.type() != pugi::node_element)
            continue;
        const std::string_view name = localName(c);
        if (name == "s")
            out.append(static_cast<size_t>(std::clamp(attribute(c, "c").as_int(1), 1, 1000)), ' ');
        else if (name == "tab")
            out += '\t';
        else if (name == "line-break")
            out += '\n';
        else if (name != "annotation" && name != "note")
            appendOdsText(c, out);
    }
}

std::string odsCellText(const pugi::xml_node &cell)
{
    const std::string_view type = attribute(cell, "value-type").value();
    if (type == "float" || type == "currency" || type == "percentage") {
        if (const pugi::xml_attribute v = attribute(cell, "value"))
            return numberText(v.value());
    }
    std::string text;
    bool first = true;
    eachChild(cell, "p", [&](const pugi::xml_node &p) {
        if (!first)
            text += '\n';
        first = false;
        appendOdsText(p, text);
    });
    return text;
}

// The names of the automatic table styles that hide their table (table:display="false").
std::vector<std::string> hiddenTableStyles(const pugi::xml_node &content)
{
    std::vector<std::string> names;
    eachChild(child(content, "automatic-styles"), "style", [&](const pugi::xml_node &style) {
        const pugi::xml_attribute display = attribute(child(style, "table-properties"), "display");
        if (display && !display.as_bool(true))
            names.emplace_back(attribute(style, "name").value());
    });
    return names;
}

class OdsTableReader {
public:
    OdsTableReader(const ZipWorkbook &book, PriceSheet &sheet, int64_t &unfolded)
        : book_(book), sheet_(sheet), unfolded_(unfolded)
    {
    }

    // The rows of a table or of a group of its rows (header rows, row groups), in order.
    void readRows(const pugi::xml_node &parent)
    {
        for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element)
                continue;
            const std::string_view name = localName(c);
            if (name == "table-row")
                readRow(c);
            else if (name == "table-header-rows" || name == "table-row-group" || name == "table-rows")
                readRows(c);
        }
    }

private:
    void readRow(const pugi::xml_node &row)
    {
        const int64_t repeated = repeatOf(row, "number-rows-repeated");
        std::vector<std::string> cells;
        int64_t col = 0;
        for (pugi::xml_node c = row.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element ||
                (localName(c) != "table-cell" && localName(c) != "covered-table-cell"))
                continue;
            const int64_t times = repeatOf(c, "number-columns-repeated");
            std::string text = odsCellText(c);
            // Empty cells, the thousands that fill a row to the sheet's edge among them, are
            // only counted.
            if (!text.empty()) {
                if (col + times > MaxSheetColumns)
                    tooLarge();
                spend(times);
                cells.resize(static_cast<size_t>(col + times));
                for (int64_t k = 0; k < times; ++k)
                    cells[static_cast<size_t>(col + k)] = text;
            }
            col += times;
        }
        const std::string_view visibility = attribute(row, "visibility").value();
        const bool hidden = visibility == "collapse" || visibility == "filter";
        if (!cells.empty()) {
            if (next_ + repeated > MaxSheetRows)
                tooLarge();
            spend((repeated - 1) * static_cast<int64_t>(cells.size()));
            sheet_.rows.resize(static_cast<size_t>(next_));
            for (int64_t k = 0; k < repeated; ++k) {
                if (hidden)
                    sheet_.hiddenRows.push_back(static_cast<int>(next_ + k));
                sheet_.rows.push_back(cells);
            }
        }
        next_ += repeated;
    }

    int64_t repeatOf(const pugi::xml_node &n, std::string_view name) const
    {
        const pugi::xml_attribute a = attribute(n, name);
        if (!a)
            return 1;
        const long long v = a.as_llong(0);
        if (v < 1)
            book_.fail(sharedtext::badPartCause("content.xml"));
        return std::min<long long>(v, MaxSheetRows * MaxSheetColumns);
    }

    void spend(int64_t cells)
    {
        unfolded_ += cells;
        if (unfolded_ > MaxUnfoldedCells)
            tooLarge();
    }

    [[noreturn]] void tooLarge() const { book_.fail(sharedtext::partTooLargeCause("content.xml")); }

    const ZipWorkbook &book_;
    PriceSheet &sheet_;
    int64_t &unfolded_;
    int64_t next_ = 0; // the 0-based row the next <table:table-row> starts at
};

std::vector<PriceSheet> readOds(const ZipWorkbook &book)
{
    pugi::xml_document doc;
    book.xml("content.xml", doc, MaxPriceSheetPartBytes);
    const pugi::xml_node content = child(doc, "document-content");
    const std::vector<std::string> hiddenStyles = hiddenTableStyles(content);
    std::vector<PriceSheet> sheets;
    int64_t unfolded = 0;
    eachChild(child(child(content, "body"), "spreadsheet"), "table", [&](const pugi::xml_node &table) {
        PriceSheet sheet{attribute(table, "name").value(), {}};
        const std::string style = attribute(table, "style-name").value();
        sheet.hidden = std::find(hiddenStyles.begin(), hiddenStyles.end(), style) != hiddenStyles.end();
        OdsTableReader(book, sheet, unfolded).readRows(table);
        sheets.push_back(std::move(sheet));
    });
    if (sheets.empty())
        book.fail(sharedtext::NoSheetsCause);
    return sheets;
}

// What a workbook is taken for before its parts say: by its name, else either.
const char *bookKindOfName(const fs::path &file)
{
    std::string ext = file.extension().string();
    for (char &c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".ods")
        return sharedtext::OdsBookKind;
    if (ext == ".xlsx" || ext == ".xlsm")
        return sharedtext::XlsxBookKind;
    return sharedtext::SpreadsheetBookKind;
}

std::vector<PriceSheet> readWorkbook(const fs::path &file, const std::string &bytes)
{
    ZipWorkbook book(file, bytes, bookKindOfName(file));
    if (book.has("xl/workbook.xml")) {
        book.setKind(sharedtext::XlsxBookKind);
        return readXlsx(book);
    }
    if (book.has("content.xml")) {
        book.setKind(sharedtext::OdsBookKind);
        return readOds(book);
    }
    book.fail(sharedtext::NoWorkbookCause);
}

} // namespace

std::vector<PriceSheet> workbookSheets(const fs::path &file, const std::string &bytes)
{
    return readWorkbook(file, bytes);
}

std::string priceListText(std::string_view bytes)
{
    constexpr std::string_view Bom = "\xEF\xBB\xBF";
    if (bytes.substr(0, Bom.size()) == Bom)
        bytes.remove_prefix(Bom.size());
    return textOfBytes(bytes);
}

PriceBook readPriceBook(const fs::path &file)
{
    const FileContents c = readExistingFile(
        file,
        [&](uintmax_t size) {
            if (size > MaxPriceSheetBytes)
                throw IoError(tooLargeText(file, size));
        },
        StampHash::Later);
    PriceBook book{file, {}};
    if (c.bytes.rfind("PK\x03\x04", 0) == 0 || c.bytes.rfind("PK\x05\x06", 0) == 0) {
        book.sheets = readWorkbook(file, c.bytes);
    } else {
        const std::string text = priceListText(c.bytes);
        book.sheets.push_back({"", parseSheetText(text, separatorOfList(text))});
    }
    return book;
}

bool PriceSheet::rowHidden(size_t row) const
{
    return std::binary_search(hiddenRows.begin(), hiddenRows.end(), static_cast<int>(row));
}

int PriceBook::sheetIndex(const std::string &name) const
{
    if (name.empty()) {
        for (size_t i = 0; i < sheets.size(); ++i)
            if (!sheets[i].hidden)
                return static_cast<int>(i);
        return 0;
    }
    for (size_t i = 0; i < sheets.size(); ++i)
        if (sheets[i].name == name)
            return static_cast<int>(i);
    throw IoError(sharedtext::noSuchSheetText(file, name));
}

const PriceSheet &PriceBook::sheet(const std::string &name) const
{
    return sheets.at(static_cast<size_t>(sheetIndex(name)));
}

} // namespace velmo
