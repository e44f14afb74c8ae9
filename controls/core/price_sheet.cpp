#include "controls/core/price_sheet.h"

#include "controls/core/control_texts.h"
#include "controls/core/cp932.h"
#include "controls/core/errors.h"
#include "controls/core/fileio.h"
#include "controls/core/utf8_text.h"
#include "controls/core/zip_workbook.h"

#include <pugixml.hpp>

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

SheetRows sheetRows(const ZipWorkbook &book, const std::string &part, const std::vector<std::string> &shared)
{
    pugi::xml_document doc;
    book.xml(part, doc, MaxPriceSheetPartBytes);
    const pugi::xml_node data = child(child(doc, "worksheet"), "sheetData");
    SheetRows rows;
    int nextRow = 1;
    eachChild(data, "row", [&](const pugi::xml_node &row) {
        const int r = attribute(row, "r") ? attribute(row, "r").as_int() : nextRow;
        if (r < nextRow || r > 1048576)
            book.fail(controltext::badPartCause(part));
        nextRow = r + 1;
        rows.resize(static_cast<size_t>(r));
        std::vector<std::string> &cells = rows[static_cast<size_t>(r - 1)];
        eachChild(row, "c", [&](const pugi::xml_node &c) {
            const pugi::xml_attribute ref = attribute(c, "r");
            const int col = ref ? columnOf(ref.value()) : static_cast<int>(cells.size());
            if (col < 0)
                book.fail(controltext::badPartCause(part));
            const std::string_view type = attribute(c, "t").value();
            const std::string v = child(c, "v").text().get();
            std::string text;
            if (type == "s") {
                const bool digits = !v.empty() && v.size() < 10 && v.find_first_not_of("0123456789") == std::string::npos;
                const size_t i = digits ? std::stoul(v) : shared.size();
                if (i >= shared.size())
                    book.fail(controltext::badPartCause(part));
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
    return rows;
}

// The part a relationship's target names, relative to xl/ or from the archive's root.
std::string partOfTarget(std::string_view target)
{
    if (!target.empty() && target.front() == '/')
        return std::string(target.substr(1));
    return "xl/" + std::string(target);
}

std::vector<PriceSheet> readWorkbook(const fs::path &file, const std::string &bytes)
{
    const ZipWorkbook book(file, bytes);
    if (!book.has("xl/workbook.xml"))
        book.fail(controltext::NoWorkbookCause);
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
        sheets.push_back({attribute(s, "name").value(), sheetRows(book, part, shared)});
    });
    if (sheets.empty())
        book.fail(controltext::NoSheetsCause);
    return sheets;
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

int PriceBook::sheetIndex(const std::string &name) const
{
    if (name.empty())
        return 0;
    for (size_t i = 0; i < sheets.size(); ++i)
        if (sheets[i].name == name)
            return static_cast<int>(i);
    throw IoError(controltext::noSuchSheetText(file, name));
}

const PriceSheet &PriceBook::sheet(const std::string &name) const
{
    return sheets.at(static_cast<size_t>(sheetIndex(name)));
}

} // namespace velmo
