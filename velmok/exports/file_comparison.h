#pragma once
// The comparison dialog of velmok: what changed from another pipe price file to the service
// file on screen (with its unsaved edits), as the rows of a table, and the dialog's two
// exports. The window only shows the table and forwards its buttons.
#include "pricefile/price_changes.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmo {

class UserInterface;

class FileComparison {
public:
    // `other` is the file compared with, `current` the service file shown.
    FileComparison(UserInterface &ui, std::filesystem::path other, std::filesystem::path current,
                   std::vector<PriceChange> changes);

    std::string title() const;
    std::string countText() const; // "違い: N 件"
    const std::vector<std::string> &headings() const { return headings_; }
    size_t rowCount() const { return changes_.size(); }
    // The texts of row `row`, one per heading.
    std::vector<std::string> rowTexts(size_t row) const;
    // Which of those texts are figures (shown right-aligned).
    std::vector<bool> rowFigures(size_t row) const;
    const std::vector<PriceChange> &changes() const { return changes_; }

    // "CSVファイルに出力" and "Excelファイルに出力": a file chosen in the save dialog, written
    // whole, then a notice; nothing when the dialog is cancelled. A failed write raises
    // IoError naming the file.
    void exportCsv();
    void exportXlsx();

private:
    UserInterface &ui_;
    std::filesystem::path other_, current_;
    // The name the save dialogs suggest: the two files' names.
    std::string outputName(const std::string &suffix) const;
    std::vector<PriceChange> changes_;
    std::vector<std::string> headings_;
};

} // namespace velmo
