#pragma once
// A supplier's price list matched to the sizes of a block: which column holds the sizes and
// which the list prices, the list price each size of the block would get, and what of the list
// found no place. Shared by torvik and selvan, their command lines and the import dialog.
#include "base/currency.h"
#include "pricework/price_sheet.h"
#include "base/user_interface.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// A column as the person names it: its number counted from 1 ("2", "２"), or the text of a
// heading cell.
struct ColumnChoice {
    int column = 0;          // 0-based
    std::optional<int> headingRow; // 0-based row of the heading when chosen by it
};

// A column number as typed: digits, full-width ones too; nothing for any other text (a heading).
std::optional<int> columnNumberOf(std::string_view given);

// The column `given` names in `rows`: a number names a column the table has, a text the
// column of the first row holding a cell with that text (spaces around ignored). Raises
// RangeError saying which column is missing.
ColumnChoice chooseColumn(const SheetRows &rows, const std::string &given);

// The widest row's number of cells.
int columnCount(const SheetRows &rows);

// A text as names are compared: full-width letters, digits and signs made half-width, spaces
// (full-width ones too) dropped: "給　水" and "給水" are the same name.
std::string compactHalfWidth(std::string_view s);

// A heading cell as compared: half-width, without spaces, a note in brackets at its end dropped
// ("定価(円)", "呼び径【A】" are "定価" and "呼び径").
std::string headingText(std::string_view cell);

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

// The headings the guesses look for, compared as sizes are (spaces and widths aside), whole or
// with a note in brackets after them ("定価(円)"): サイズ, 呼び径 and 口径 name the size column;
// 定価, 単価 and 価格 the price column, 定価 first where a row has more than one.
bool isSizeHeading(std::string_view cell);
int priceHeadingRank(std::string_view cell); // 0: no price heading; 定価 3, 単価 2, 価格 1

// Where a sheet's table lies, as guessed before the person chooses.
struct ColumnGuess {
    std::optional<int> headingRow; // 0-based; nothing when no shown row holds a heading
    int sizeColumn = 0, priceColumn = 1;
    bool sizeByHeading = false, priceByHeading = false;
};

// The heading row is the first shown row holding both a size and a price heading, else the
// first holding either. A column without a heading is taken from the figures below it: the
// size column is the one whose cells most often are a size of the block, the price column the
// one (another) whose cells most often read as a price in those rows, then in any row. Without
// any such figure the first two columns.
ColumnGuess guessColumns(const PriceSheet &sheet, const ImportTarget &target);
// The sheet the guesses start from: the first shown sheet, or when it has no heading the first
// other shown sheet that has one.
int guessSheet(const PriceBook &book);

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
    // The shown rows of this size whose price reads, in the list's order; with more than one
    // the person chooses, and the last is taken until then.
    std::vector<SheetLine> rows;
};

struct ImportPreview {
    std::vector<SizePrice> sizes;   // one per size row of the block, in order
    std::vector<int> headings;         // rows (from 1) read as headings: the heading row, what stands above it, headings repeated below
    std::vector<SheetLine> unmatched;  // rows whose size is none of the block's
    std::vector<SheetLine> badPrices;  // rows of a block size whose price cell is no figure
    std::vector<SheetLine> duplicates; // rows of a size with a price that another row of it gave: not taken
    int hiddenRows = 0;                // rows with a size or price that the sheet hides: not read
    int matched() const;
    // The sizes (not empty) that got no price.
    std::vector<std::string> sizesWithoutPrice() const;
    // The sizes (their first size row) that more than one row prices.
    std::vector<size_t> sizesWithChoice() const;
    // Takes row `sheetRow` (from 1), one of the size's rows, for every size row of that size;
    // false when it is none of them.
    bool takeRow(size_t size, int sheetRow);
};

// Matches the shown rows of `sheet` to the block's sizes by their normalised text. Rows with an
// empty size and price cell are skipped, rows the sheet hides counted and skipped; the rows
// down to a heading row that chose a column (the heading and what stands above it) and rows
// below whose size cell is a size heading are headings. The last shown row of a size with a
// price gives it, the others are listed as duplicates.
ImportPreview previewImport(const PriceSheet &sheet, const ColumnChoice &sizeColumn, const ColumnChoice &priceColumn,
                            const ImportTarget &target);

// The dialog's choices (sheet, size column, price column, the row of a size that several rows
// price) and the preview they give, without the dialog: what the window shows and what
// 取り込み applies. It starts from the guesses.
class PriceImportChoice {
public:
    PriceImportChoice(PriceBook book, ImportTarget target);

    const PriceBook &book() const { return book_; }
    // The sheets' names, a hidden one marked as such.
    std::vector<std::string> sheetNames() const;
    int sheet() const { return sheet_; }
    // A sheet chosen: its table is guessed again.
    void chooseSheet(int index);
    // The columns of the sheet shown, each as its number and its heading, or without a heading
    // row its first text in a row of more than one cell ("2: 定価").
    std::vector<std::string> columnTexts() const;
    int sizeColumn() const { return sizeColumn_; }
    int priceColumn() const { return priceColumn_; }
    void chooseSizeColumn(int column);
    void choosePriceColumn(int column);
    // The row (from 1) to take for the size row `size` when several rows price it.
    void chooseRow(size_t size, int sheetRow);
    const ImportPreview &preview() const { return preview_; }
    // Whether 取り込み has anything to take.
    bool canImport() const { return preview_.matched() > 0; }
    // What the dialog shows: for each size row its size, old and new list price as money text
    // (the new one empty when the size keeps its price); the choices of a size several rows
    // price ("3,550 (12 行目)"); the sheet the guesses went to when it is not the first; the
    // counts; the rows and sizes that found no place, under their headings, one a line.
    std::vector<std::array<std::string, 3>> sizeRows() const;
    std::vector<std::string> rowChoiceTexts(size_t size) const;
    std::string sheetNote() const { return sheetNote_; }
    std::string countsText() const;
    std::string report() const;

private:
    void guess();
    void update();

    PriceBook book_;
    ImportTarget target_;
    int sheet_ = 0;
    int sizeColumn_ = 0, priceColumn_ = 1;
    std::optional<int> headingRow_;
    std::string sheetNote_;
    ImportPreview preview_;
};

// "価格表の取り込み…" up to the choice: the file chooser, the list read (a file that cannot be
// read raises IoError), the dialog. The preview to apply, or nothing when the person cancelled
// either dialog or the list has no price for any of the sizes.
std::optional<ImportPreview> askPriceImport(UserInterface &ui, const ImportTarget &target);

} // namespace velmo
