#include "cli/batch_import.h"

#include "cli/batch_command.h"
#include "cli/command_line.h"
#include "base/shared_texts.h"
#include "cli/cli_texts.h"
#include "pricework/pricework_texts.h"
#include "base/errors.h"

#include <algorithm>
#include <cstdio>

namespace velmo::cli {

ImportOptions parseImportCommand(int argc, char **argv, const std::function<int(const std::string &)> &parseBlock)
{
    ImportOptions o;
    bool haveBlock = false;
    CommandLine line("import");
    line.value("--block", [&](const std::string &v) {
        o.block = parseBlock(v);
        haveBlock = true;
    }, sharedtext::missingOptionValueText("--block"));
    for (const auto &[name, into] : {std::pair<const char *, std::string *>{"--size-column", &o.sizeColumn},
                                     {"--price-column", &o.priceColumn}, {"--sheet", &o.sheet}})
        line.value(name, *into, sharedtext::missingOptionValueText(name));
    line.flag("--write", o.write);
    line.flag("--force", o.force);
    const std::vector<std::string> paths = line.parse(argc, argv);
    if (paths.size() > 2)
        throw UsageError(sharedtext::importExtraArgumentText(paths[2]));
    if (paths.size() < 2)
        throw UsageError(sharedtext::ImportNeedsFilesText);
    if (!haveBlock)
        throw UsageError(sharedtext::ImportNeedsBlockText);
    o.file = paths[0];
    o.list = paths[1];
    return o;
}

namespace {

// The options that name a column by its heading rather than by its number.
std::vector<std::string> headingsAskedFor(const ImportOptions &o)
{
    std::vector<std::string> out;
    for (const std::string *given : {&o.sizeColumn, &o.priceColumn})
        if (!given->empty() && !columnNumberOf(*given))
            out.push_back(*given);
    return out;
}

bool sheetHolds(const PriceSheet &sheet, const std::string &heading)
{
    try {
        chooseColumn(sheet.rows, heading);
        return true;
    } catch (const RangeError &) {
        return false;
    }
}

// The sheet import reads when --sheet is not given, and the note that names it when it is not
// the first shown sheet.
int sheetToRead(const ImportOptions &o, const PriceBook &book)
{
    const int first = book.sheetIndex("");
    const std::string &firstName = book.sheets[static_cast<size_t>(first)].name;
    const std::vector<std::string> headings = headingsAskedFor(o);
    auto holdsAll = [&](const PriceSheet &s) {
        return std::all_of(headings.begin(), headings.end(), [&](const std::string &h) { return sheetHolds(s, h); });
    };
    int index = first;
    std::string missing;
    if (headings.empty()) {
        index = guessSheet(book);
    } else if (!holdsAll(book.sheets[static_cast<size_t>(first)])) {
        for (const std::string &h : headings)
            if (missing.empty() && !sheetHolds(book.sheets[static_cast<size_t>(first)], h))
                missing = h;
        index = -1;
        for (size_t i = 0; i < book.sheets.size() && index < 0; ++i)
            if (!book.sheets[i].hidden && holdsAll(book.sheets[i]))
                index = static_cast<int>(i);
        if (index < 0) {
            for (const PriceSheet &s : book.sheets)
                if (s.hidden && holdsAll(s))
                    throw RangeError(sharedtext::headingOnHiddenSheetText(missing, firstName, s.name));
            if (book.sheets.size() > 1)
                throw RangeError(sharedtext::noColumnHeadingOnSheetText(missing, firstName));
            throw RangeError(sharedtext::noColumnHeadingText(missing));
        }
    }
    if (index != first) {
        const std::string &used = book.sheets[static_cast<size_t>(index)].name;
        std::fprintf(stderr, "%s\n", sharedtext::otherSheetUsedText(book.file, firstName, missing, used).c_str());
    }
    return index;
}

} // namespace

ListImport previewOfList(const ImportOptions &o, const ImportTarget &target)
{
    try {
        const PriceBook book = readPriceBook(o.list);
        const int index = o.sheet.empty() ? sheetToRead(o, book) : book.sheetIndex(o.sheet);
        const PriceSheet &sheet = book.sheets.at(static_cast<size_t>(index));
        if (sheet.rows.empty()) // an empty list, or one whose first quote never ends
            throw IoError(sharedtext::emptyPriceListText(o.list));
        const ColumnGuess g = guessColumns(sheet, target);
        auto column = [&](const std::string &given, int guessed) {
            if (given.empty()) {
                // A table of one column (or a quote that never ends) has no second to guess.
                if (const int count = columnCount(sheet.rows); guessed >= count)
                    throw RangeError(sharedtext::noColumnNumberText(guessed + 1, count));
                return ColumnChoice{guessed, g.headingRow};
            }
            ColumnChoice c = chooseColumn(sheet.rows, given);
            if (!c.headingRow)
                c.headingRow = g.headingRow;
            return c;
        };
        const ColumnChoice size = column(o.sizeColumn, g.sizeColumn), price = column(o.priceColumn, g.priceColumn);
        ListImport l{sheet.name, size.column, price.column, {}, previewImport(sheet, size, price, target)};
        const int heading = std::max(size.headingRow.value_or(-1), price.headingRow.value_or(-1));
        if (heading >= 0)
            l.headingRow = heading;
        return l;
    } catch (const VelmoError &e) {
        // Every failure names the list, also those of the columns and of the text converter.
        if (std::string_view(e.what()).find(o.list.string()) != std::string_view::npos)
            throw;
        throw IoError(sharedtext::inPriceListText(o.list, e.what()));
    }
}

namespace {

void writeLines(JsonWriter &j, const char *name, const std::vector<SheetLine> &lines)
{
    j.key(name).beginArray();
    for (const SheetLine &l : lines) {
        j.beginObject();
        j.key("row").number(int64_t{l.row});
        j.key("size").string(l.size);
        j.key("price").string(l.price);
        j.endObject();
    }
    j.endArray();
}

} // namespace

bool importWrites(const ImportOptions &o, const ImportPreview &p)
{
    if (!o.write)
        return false;
    if (p.matched() > 0)
        return true;
    std::fprintf(stderr, "%s\n", sharedtext::nothingImportedText(o.list, o.file).c_str());
    return false;
}

void writeImportJson(JsonWriter &j, const ImportOptions &o, const ListImport &l, bool written)
{
    const ImportPreview &p = l.preview;
    j.path("file", o.file);
    j.key("block").number(int64_t{o.block});
    j.path("list", o.list);
    j.key("sheet").string(l.sheet);
    j.key("sizeColumn").number(int64_t{l.sizeColumn + 1});
    j.key("priceColumn").number(int64_t{l.priceColumn + 1});
    j.key("headingRow").number(int64_t{l.headingRow.value_or(-1) + 1});
    j.key("written").boolean(written);
    j.key("sizes").beginArray();
    for (size_t k = 0; k < p.sizes.size(); ++k) {
        const SizePrice &s = p.sizes[k];
        j.beginObject();
        j.key("row").number(int64_t(k + 1));
        j.key("size").string(s.size);
        j.key("old").number(s.oldPrice);
        j.key("new");
        if (s.newPrice)
            j.number(*s.newPrice);
        else
            j.null();
        j.key("listRow").number(int64_t{s.sheetRow});
        j.endObject();
    }
    j.endArray();
    writeLines(j, "unmatched", p.unmatched);
    writeLines(j, "badPrices", p.badPrices);
    writeLines(j, "duplicates", p.duplicates);
    const std::vector<std::string> without = p.sizesWithoutPrice();
    j.key("sizesWithoutPrice").beginArray();
    for (const std::string &s : without)
        j.string(s);
    j.endArray();
    j.key("counts").beginObject();
    j.key("matched").number(int64_t{p.matched()});
    j.key("unmatched").number(static_cast<int64_t>(p.unmatched.size()));
    j.key("badPrices").number(static_cast<int64_t>(p.badPrices.size()));
    j.key("duplicates").number(static_cast<int64_t>(p.duplicates.size()));
    j.key("headings").number(static_cast<int64_t>(p.headings.size()));
    j.key("hiddenRows").number(int64_t{p.hiddenRows});
    j.key("sizesWithoutPrice").number(static_cast<int64_t>(without.size()));
    j.endObject();
}

} // namespace velmo::cli
