#pragma once
// A supplier's price list matched to the sizes of a block: which column holds the sizes and
// which the list prices, the list price each size of the block would get, and what of the list
// found no place. Shared by torvik and selvan, their command lines and the import dialog.
#include "controls/core/currency.h"
#include "controls/core/price_sheet.h"
#include "controls/core/user_interface.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

// A column as the person names it: its number counted from 1 ("2", "２"), or the text of a
// heading cell.
struct ColumnChoice {
    int column = 0;          // 0-based
    std::optional<int> headingRow; // 0-based row of the heading when chosen by it
};

// The column `given` names in `rows`: a number names a column the table has, a text the
// column of the first row holding a cell with that text (spaces around ignored). Raises
// RangeError saying which column is missing.
ColumnChoice chooseColumn(const SheetRows &rows, const std::string &given);

// The widest row's number of cells.
int columnCount(const SheetRows &rows);

// A size as it is compared: full-width letters, digits and signs made half-width, spaces
// dropped, an "A" (or "a") at the end dropped: "15A", "１５Ａ" and " 15 " are "15"; "1/2" and
// "１／２" are "1/2".
std::string normalisedSize(std::string_view size);

// The list price of a price cell: "1,200", "¥1,200", "1200円", full-width digits; nothing for
// an empty cell, a text that is no such figure, a negative figure or one beyond the range.
std::optional<Currency> listPriceOfCell(std::string_view cell);

// A block's sizes (the 14 size rows) and their list prices now.
struct ImportTarget {
    std::vector<std::string> sizes;
    std::vector<Currency> listPrices;
};

// A row of the list, as the preview names it.
struct SheetLine {
    int row = 0; // counted from 1
    std::string size, price;
    bool operator==(const SheetLine &) const = default;
};

struct SizePrice {
    std::string size;
    Currency oldPrice;
    std::optional<Currency> newPrice; // nothing: the size keeps its price
    int sheetRow = 0;                 // the row it came from, counted from 1; 0 for none
};

struct ImportPreview {
    std::vector<SizePrice> sizes;   // one per size row of the block, in order
    std::vector<SheetLine> unmatched;  // rows whose size is none of the block's
    std::vector<SheetLine> badPrices;  // rows of a block size whose price cell is no figure
    std::vector<SheetLine> duplicates; // a second row for a size already priced: not taken
    int matched() const;
    // The sizes (not empty) that got no price.
    std::vector<std::string> sizesWithoutPrice() const;
};

// Matches the rows of `rows` to the block's sizes by their normalised text. Rows with an
// empty size and price cell are skipped; so are the rows down to a heading row that chose a
// column (the heading and what stands above it). The first row of a size gives its price.
ImportPreview previewImport(const SheetRows &rows, const ColumnChoice &sizeColumn, const ColumnChoice &priceColumn,
                            const ImportTarget &target);

// The dialog's choices (sheet, size column, price column) and the preview they give, without
// the dialog: what the window shows and what 取り込み applies.
class PriceImportChoice {
public:
    PriceImportChoice(PriceBook book, ImportTarget target, int sizeColumn = 0, int priceColumn = 1);

    const PriceBook &book() const { return book_; }
    std::vector<std::string> sheetNames() const;
    int sheet() const { return sheet_; }
    // A sheet chosen: the columns stay where they were as far as the sheet has them.
    void chooseSheet(int index);
    // The columns of the sheet shown, each as its number and its first text ("2: 定価").
    std::vector<std::string> columnTexts() const;
    int sizeColumn() const { return sizeColumn_; }
    int priceColumn() const { return priceColumn_; }
    void chooseSizeColumn(int column);
    void choosePriceColumn(int column);
    const ImportPreview &preview() const { return preview_; }
    // Whether 取り込み has anything to take.
    bool canImport() const { return preview_.matched() > 0; }
    // What the dialog shows: for each size row its size, old and new list price as money text
    // (the new one empty when the size keeps its price); the counts; the rows and sizes that
    // found no place, under their headings, one a line.
    std::vector<std::array<std::string, 3>> sizeRows() const;
    std::string countsText() const;
    std::string report() const;

private:
    void update();

    PriceBook book_;
    ImportTarget target_;
    int sheet_ = 0;
    int sizeColumn_ = 0, priceColumn_ = 1;
    ImportPreview preview_;
};

// "価格表の取り込み…" up to the choice: the file chooser, the list read (a file that cannot be
// read raises IoError), the dialog. The preview to apply, or nothing when the person cancelled
// either dialog or the list has no price for any of the sizes.
std::optional<ImportPreview> askPriceImport(UserInterface &ui, const ImportTarget &target);

} // namespace velmo
