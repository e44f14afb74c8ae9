#pragma once
// The dialog "以前の版…" of the three programs without its window: the earlier versions of the
// file open, newest first, each with its time, program and the number of prices changed from
// the version before; the version chosen compared with the file as the program holds it; and
// the version 元に戻す asked for. The window shows the lists and forwards the choice.
#include "base/user_interface.h"
#include "pricefile/price_versions.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

class EarlierVersions {
public:
    // `current`: the file's content as the program holds it, what each version is compared with.
    EarlierVersions(std::filesystem::path file, PriceFileKind kind, std::string current);

    std::string title() const;
    // The list: one row a version, newest first.
    std::vector<std::string> listHeadings() const;
    size_t versionCount() const { return history_.versions.size(); }
    std::vector<std::string> versionTexts(size_t row) const;
    // What could not be read in the history folder, one line each (shown under the list).
    const std::vector<std::string> &skipped() const { return history_.skipped; }

    // Chooses row `row` of the list: its comparison with the file follows. A version that
    // cannot be read shows why in place of the comparison.
    void choose(size_t row);
    std::optional<size_t> chosenRow() const { return chosen_; }
    // The number of the version chosen, nothing before a choice.
    std::optional<int> chosenVersion() const;
    // The comparison: from the chosen version to the file as it is now.
    const std::vector<std::string> &changeHeadings() const { return changeHeadings_; }
    size_t changeCount() const { return changes_.size(); }
    std::vector<std::string> changeTexts(size_t row) const;
    std::vector<bool> changeFigures(size_t row) const;
    // "違い: N 件", or why the version cannot be compared.
    std::string comparisonText() const;
    // Whether 元に戻す may be pressed: a version is chosen and was read whole.
    bool canRestore() const { return chosen_ && !error_; }

    // What the window shows: the list, and the comparison of a row once chosen.
    VersionListView listView() const;
    VersionComparisonView comparisonView() const;

private:
    std::filesystem::path file_;
    PriceFileKind kind_;
    std::string current_;
    PriceFileHistory history_;
    std::optional<size_t> chosen_;
    std::vector<PriceChange> changes_;
    std::optional<std::string> error_;
    std::vector<std::string> changeHeadings_;
    const PriceFileVersion &atRow(size_t row) const;
};

// The command 以前の版… of a session for `file`: the dialog, each version compared with the file
// as it is on disk; when 元に戻す was pressed, `refusal()` (a text: shown, nothing done), then
// the question, then the version written back as the whole file through the shared write, so
// that what the file held is kept as a version too. A file another program changed since the
// dialog read it is left as it is (ChangedOnDiskError). The number of the version restored;
// nothing when none was. The session reads the file again after it.
std::optional<int> restoreEarlierVersion(UserInterface &ui, const std::filesystem::path &file, PriceFileKind kind,
                                         const std::function<std::string()> &refusal);

} // namespace velmo
