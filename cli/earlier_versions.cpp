#include "cli/earlier_versions.h"

#include "base/errors.h"
#include "cli/change_report.h"
#include "cli/cli_texts.h"
#include "base/fileio.h"
#include "base/shared_texts.h"

#include <ctime>

namespace velmo {

namespace fs = std::filesystem;

EarlierVersions::EarlierVersions(fs::path file, PriceFileKind kind, std::string current)
    : file_(std::move(file)), kind_(kind), current_(std::move(current)), history_(priceFileHistory(file_, kind_)),
      changeHeadings_(velmo::changeHeadings(kind_))
{
}

std::string EarlierVersions::title() const { return sharedtext::earlierVersionsTitle(file_); }

std::vector<std::string> EarlierVersions::listHeadings() const
{
    namespace t = sharedtext;
    return {t::VersionColumn, t::VersionTimeColumn, t::VersionProgramColumn, t::VersionUserColumn,
            t::VersionChangesColumn};
}

const PriceFileVersion &EarlierVersions::atRow(size_t row) const
{
    return history_.versions.at(history_.versions.size() - 1 - row);
}

std::vector<std::string> EarlierVersions::versionTexts(size_t row) const
{
    const PriceFileVersion &v = atRow(row);
    const std::time_t t = std::chrono::system_clock::to_time_t(v.version.time);
    std::tm tm {};
    ::localtime_r(&t, &tm);
    char when[32];
    std::strftime(when, sizeof when, "%Y/%m/%d %H:%M:%S", &tm);
    std::string program = v.version.program;
    if (!v.version.command.empty())
        program += " " + v.version.command;
    return {std::to_string(v.version.number), when, program, v.version.user,
            v.error ? sharedtext::UnreadableVersionMark : v.changes ? std::to_string(*v.changes) : std::string()};
}

void EarlierVersions::choose(size_t row)
{
    const PriceFileVersion &v = atRow(row);
    chosen_ = row;
    changes_.clear();
    error_.reset();
    try {
        const std::string content = priceFileVersion(file_, v.version.number, kind_);
        changes_ = compareContents(kind_, content, versionLabel(file_, v.version.number), current_, file_.string());
    } catch (const IoError &e) {
        error_ = e.what();
    }
}

std::optional<int> EarlierVersions::chosenVersion() const
{
    return chosen_ ? std::optional<int>(atRow(*chosen_).version.number) : std::nullopt;
}

std::vector<std::string> EarlierVersions::changeTexts(size_t row) const
{
    std::vector<std::string> texts;
    for (TableCell &cell : changeCells(changes_.at(row), kind_))
        texts.push_back(std::move(cell.text));
    return texts;
}

std::vector<bool> EarlierVersions::changeFigures(size_t row) const
{
    std::vector<bool> figures;
    for (const TableCell &cell : changeCells(changes_.at(row), kind_))
        figures.push_back(cell.number.has_value());
    return figures;
}

std::string EarlierVersions::comparisonText() const
{
    if (error_)
        return *error_;
    if (!chosen_)
        return sharedtext::ChooseVersionText;
    return sharedtext::versionComparisonText(atRow(*chosen_).version.number, changes_.size());
}

VersionListView EarlierVersions::listView() const
{
    VersionListView v{title(), listHeadings(), {}, skipped(), sharedtext::ChooseVersionText};
    for (size_t row = 0; row < versionCount(); ++row)
        v.rows.push_back(versionTexts(row));
    return v;
}

VersionComparisonView EarlierVersions::comparisonView() const
{
    VersionComparisonView v{comparisonText(), changeHeadings_, {}, {}, canRestore()};
    for (size_t row = 0; row < changeCount(); ++row) {
        v.rows.push_back(changeTexts(row));
        v.figures.push_back(changeFigures(row));
    }
    return v;
}

std::optional<int> restoreEarlierVersion(UserInterface &ui, const fs::path &file, PriceFileKind kind,
                                         const std::function<std::string()> &refusal)
{
    const FileContents now = readExistingFile(file, [&](uintmax_t size) { checkPriceFileSize(kind, file, size); });
    EarlierVersions versions(file, kind, now.bytes);
    if (versions.versionCount() == 0 && versions.skipped().empty()) {
        ui.notice(sharedtext::NoEarlierVersionText, sharedtext::NoticeButton);
        return std::nullopt;
    }
    const std::optional<size_t> row = ui.chooseEarlierVersion(versions.listView(), [&](size_t r) {
        versions.choose(r);
        return versions.comparisonView();
    });
    if (!row)
        return std::nullopt;
    versions.choose(*row);
    if (!versions.canRestore())
        return std::nullopt;
    const int number = *versions.chosenVersion();
    if (const std::string refused = refusal(); !refused.empty()) {
        ui.notice(refused, sharedtext::NoticeButton);
        return std::nullopt;
    }
    if (ui.confirm(sharedtext::restoreVersionQuestion(file, number), sharedtext::RestoreButton,
                   sharedtext::CancelButton, Answer::No) != Answer::Yes)
        return std::nullopt;
    // The version the restore keeps says so.
    const HistoryOrigin before = historyOrigin();
    setHistoryOrigin({before.program, "restore"});
    try {
        restoreContent(file, kind, priceFileVersion(file, number, kind), now.bytes);
    } catch (...) {
        setHistoryOrigin(before);
        throw;
    }
    setHistoryOrigin(before);
    return number;
}

} // namespace velmo
