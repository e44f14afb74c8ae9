#include "velmok/estimate/estimate_session.h"

#include "base/fileio.h"
#include "base/shared_texts.h"
#include "base/support.h"
#include "velmok/core/velmok_texts.h"
#include "velmok/estimate/estimate_output.h"

namespace velmo::estimate {

namespace fs = std::filesystem;

EstimateSession::EstimateSession(OutputSource &source, UserInterface &ui, fs::path programFolder)
    : source_(source), ui_(ui), programFolder_(std::move(programFolder))
{
}

EstimateSession::~EstimateSession() = default;

bool EstimateSession::chooseList()
{
    const auto list = ui_.chooseOpenFile(velmoktext::EstimateListTitle, velmoktext::EstimateListFilter);
    if (!list)
        return false;
    openList(*list);
    return true;
}

void EstimateSession::openList(const fs::path &list)
{
    std::optional<PriceBook> previous = std::move(book_);
    book_ = readPriceBook(list);
    try {
        price();
    } catch (...) {
        book_ = std::move(previous);
        throw;
    }
}

void EstimateSession::price()
{
    if (!book_)
        return;
    const fs::path shown = source_.filePath();
    const fs::path folder = shown.parent_path();
    std::array<std::string, ServiceCount> names = PriceSource::folderServiceNames(folder);
    const std::optional<int> service = datafolder::serviceOfFileName(shown.filename().string());
    if (service)
        names[static_cast<size_t>(*service)] = source_.serviceName();
    PriceSource prices(folder, names);
    if (service)
        prices.useShown(*service, source_.loadedFile());
    estimate_ = makeEstimate(*book_, prices, options_);
}

void EstimateSession::setBasis(Basis basis)
{
    options_.basis = basis;
    price();
}

void EstimateSession::setRound(AmountRound round)
{
    options_.round = round;
    price();
}

void EstimateSession::setCost(bool cost)
{
    options_.cost = cost;
    price();
}

std::string EstimateSession::listText() const
{
    if (!estimate_)
        return velmoktext::EstimateNoList;
    return estimate_->list.string() + (estimate_->sheet.empty() ? "" : " [" + estimate_->sheet + "]");
}

std::string EstimateSession::countsText() const
{
    return estimate_ ? velmoktext::estimateCountsText(estimate_->rows.size(), estimate_->unmatched.size()) : std::string();
}

std::vector<std::string> EstimateSession::previewHeadings() const
{
    // The columns of the CSV file: the service, the breakdown's columns, the note.
    std::vector<std::string> h;
    Estimate empty;
    empty.options = options_;
    const std::vector<TableRow> rows = estimateTableRows(empty);
    for (const TableCell &c : rows.front())
        h.push_back(c.text);
    return h;
}

std::vector<PreviewLine> EstimateSession::previewLines() const
{
    std::vector<PreviewLine> lines;
    if (!estimate_)
        return lines;
    const Estimate &e = *estimate_;
    const size_t width = previewHeadings().size();
    // The rows of the CSV file down to the total, money as the grids show it: each service's
    // rows and its subtotal, then the total.
    const std::vector<TableRow> rows = estimateTableRows(e);
    size_t i = 1;
    auto add = [&](PreviewLine::Kind kind) {
        PreviewLine l;
        l.kind = kind;
        for (size_t c = 0; c < width; ++c) {
            const TableCell cell = c < rows[i].size() ? rows[i][c] : TableCell{};
            const bool money = cell.number && c != 4; // the quantity keeps its decimals
            l.texts.push_back(money ? FormatMoney(*cell.number) : cell.text);
            l.figures.push_back(cell.number.has_value());
        }
        lines.push_back(std::move(l));
        ++i;
    };
    for (const ServiceTotal &s : e.services) {
        for (size_t r = 0; r < s.rows.size(); ++r)
            add(PreviewLine::Kind::Priced);
        add(PreviewLine::Kind::Subtotal);
    }
    add(PreviewLine::Kind::Total);
    return lines;
}

std::vector<std::array<std::string, 2>> EstimateSession::unmatchedLines() const
{
    std::vector<std::array<std::string, 2>> lines;
    if (estimate_)
        for (const UnmatchedRow &u : estimate_->unmatched)
            lines.push_back({velmoktext::estimateUnmatchedLine(u.row), u.reason});
    return lines;
}

std::optional<fs::path> EstimateSession::chooseOut(const std::string &filter, const std::string &suffix)
{
    if (!estimate_)
        return std::nullopt;
    return ui_.chooseSaveFile(filter, suffix, suggestedFileName({estimate_->list.stem().string(), velmoktext::EstimateTitle}, suffix));
}

void EstimateSession::exportXlsx()
{
    const auto path = chooseOut("*.xlsx", "xlsx");
    if (!path)
        return;
    writeFileAtomically(*path, estimateXlsxBytes(*estimate_, *path));
    ui_.notice(velmoktext::XlsxDone, sharedtext::NoticeButton);
}

void EstimateSession::exportPdf()
{
    const auto path = chooseOut(velmoktext::EstimatePdfFilter, "pdf");
    if (!path)
        return;
    writeEstimatePdf(*estimate_, *path, programFolder_);
    ui_.notice(velmoktext::PdfDone, sharedtext::NoticeButton);
}

void EstimateSession::exportCsv()
{
    const auto path = chooseOut("*.csv", "csv");
    if (!path)
        return;
    writeFileAtomically(*path, estimateCsvBytes(*estimate_));
    ui_.notice(velmoktext::CsvFileDone, sharedtext::NoticeButton);
}

} // namespace velmo::estimate
