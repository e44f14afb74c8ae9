#pragma once
// The dialog 数量表から見積 without its window: the quantity list chosen, the basis, the rounding
// of the amounts and the cost columns, the estimate they give and what the preview shows, and
// the dialog's three exports. The service velmok shows is priced as it is on screen, unsaved
// edits included; the other services from their files in the data folder.
#include "base/user_interface.h"
#include "velmok/session/main_seams.h"
#include "velmok/estimate/estimate.h"

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmo::estimate {

// A line of the preview: a priced row, a service's subtotal or the total.
struct PreviewLine {
    enum class Kind { Priced, Subtotal, Total };
    Kind kind = Kind::Priced;
    std::vector<std::string> texts; // one per heading
    std::vector<bool> figures;      // which texts are figures (right-aligned)
};

class EstimateSession {
public:
    // `source`: the service file shown and where it lies (its folder is the data folder);
    // `programFolder`: where the print program is looked for first.
    EstimateSession(OutputSource &source, UserInterface &ui, std::filesystem::path programFolder);
    ~EstimateSession();

    // "数量表を選ぶ…": the open dialog, then openList; false when cancelled.
    bool chooseList();
    // Reads the list and prices it. A list that cannot be read, or whose columns cannot be
    // found, raises IoError or RangeError naming it, and the list shown before stays.
    void openList(const std::filesystem::path &list);

    const Options &options() const { return options_; }
    // Each prices the list again.
    void setBasis(Basis basis);
    void setRound(AmountRound round);
    void setCost(bool cost);

    bool hasEstimate() const { return estimate_.has_value(); }
    const Estimate &estimate() const { return *estimate_; }
    std::string listText() const;
    std::string countsText() const;
    std::vector<std::string> previewHeadings() const;
    std::vector<PreviewLine> previewLines() const;
    // The rows not priced, shown in red: "N 行目" and the reason.
    std::vector<std::array<std::string, 2>> unmatchedLines() const;

    // The three buttons: a file chosen in the save dialog, written whole, a notice; nothing
    // when cancelled or when no list was priced. A failure raises IoError naming the file.
    void exportXlsx();
    void exportPdf();
    void exportCsv();

private:
    void price();
    std::optional<std::filesystem::path> chooseOut(const std::string &filter, const std::string &suffix);

    OutputSource &source_;
    UserInterface &ui_;
    std::filesystem::path programFolder_;
    Options options_;
    std::optional<PriceBook> book_;
    std::optional<Estimate> estimate_;
};

} // namespace velmo::estimate
