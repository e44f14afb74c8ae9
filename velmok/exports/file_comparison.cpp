#include "velmok/exports/file_comparison.h"

#include "base/shared_texts.h"
#include "base/fileio.h"
#include "base/user_interface.h"
#include "velmok/exports/export_format.h"
#include "velmok/core/velmok_texts.h"
#include "cli/change_report.h"

namespace velmo {

FileComparison::FileComparison(UserInterface &ui, std::filesystem::path other, std::filesystem::path current,
                               std::vector<PriceChange> changes)
    : ui_(ui), other_(std::move(other)), current_(std::move(current)), changes_(std::move(changes)),
      headings_(changeHeadings(PriceFileKind::Pipe))
{
}

std::string FileComparison::title() const { return velmoktext::compareTitle(other_, current_); }

std::string FileComparison::countText() const { return velmoktext::compareCountText(changes_.size()); }

std::vector<std::string> FileComparison::rowTexts(size_t row) const
{
    std::vector<std::string> texts;
    for (TableCell &cell : changeCells(changes_.at(row), PriceFileKind::Pipe))
        texts.push_back(std::move(cell.text));
    return texts;
}

std::vector<bool> FileComparison::rowFigures(size_t row) const
{
    std::vector<bool> figures;
    for (const TableCell &cell : changeCells(changes_.at(row), PriceFileKind::Pipe))
        figures.push_back(cell.number.has_value());
    return figures;
}

std::string FileComparison::outputName(const std::string &suffix) const
{
    // "kanzai1_kanzai1" for a file compared with its copy elsewhere: both names, current first.
    return suggestedFileName({current_.stem().string(), other_.stem().string()}, suffix);
}

void FileComparison::exportCsv()
{
    // The save dialog of the table's own CSV and workbook exports.
    const ExportFormat &csv = *findExportFormat("csv");
    const auto path = ui_.chooseSaveFile(csv.fileFilter(), csv.defaultSuffix(), outputName(csv.defaultSuffix()));
    if (!path)
        return;
    writeFileAtomically(*path, changeCsvBytes(changes_, PriceFileKind::Pipe));
    ui_.notice(velmoktext::CsvFileDone, sharedtext::NoticeButton);
}

void FileComparison::exportXlsx()
{
    const ExportFormat &xlsx = *findExportFormat("xlsx");
    const auto path = ui_.chooseSaveFile(xlsx.fileFilter(), xlsx.defaultSuffix(), outputName(xlsx.defaultSuffix()));
    if (!path)
        return;
    writeFileAtomically(*path, changeXlsxBytes(changes_, PriceFileKind::Pipe, *path));
    ui_.notice(velmoktext::XlsxDone, sharedtext::NoticeButton);
}

} // namespace velmo
