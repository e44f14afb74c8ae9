#include "velmok/cli/estimate_cli.h"

#include "base/errors.h"
#include "base/fileio.h"
#include "base/json_writer.h"
#include "cli/cli_texts.h"
#include "cli/batch_command.h"
#include "cli/command_line.h"
#include "handoff/handoff_files.h"
#include "pricework/price_list_output.h"
#include "pricework/price_sheet.h"
#include "velmok/core/velmok_texts.h"
#include "velmok/estimate/estimate.h"
#include "velmok/estimate/estimate_output.h"

#include <cstdio>
#include <filesystem>
#include <optional>

namespace velmo::cli {

namespace fs = std::filesystem;

namespace {

Basis estimateBasis(const std::string &text)
{
    if (text.size() != 1 || text[0] < '1' || text[0] > '7')
        throw UsageError(velmoktext::badEstimateLevelText(text));
    return basisAt(text[0] - '0');
}

} // namespace

int runEstimateCommand(int argc, char **argv)
{
    estimate::Options o;
    fs::path data;
    bool csv = false;
    std::string xlsx, pdf;
    bool haveXlsx = false, havePdf = false;
    CommandLine line("estimate");
    line.value("--data", [&](const std::string &v) { data = v; }, sharedtext::missingOptionValueText("--data"));
    line.value("--level", [&](const std::string &v) { o.basis = estimateBasis(v); }, velmoktext::NoLevelText);
    line.value("--amount-round", [&](const std::string &v) {
        const auto r = estimate::amountRoundOf(v);
        if (!r)
            throw UsageError(velmoktext::badAmountRoundText(v));
        o.round = *r;
    }, sharedtext::missingOptionValueText("--amount-round"));
    line.flag("--cost", o.cost);
    line.value("--sheet", o.sheet, sharedtext::missingOptionValueText("--sheet"));
    estimate::Columns &c = o.columns;
    for (const auto &[name, into] : {std::pair<const char *, std::string *>{"--service-column", &c.service},
                                     {"--pipe-column", &c.pipe}, {"--location-column", &c.location},
                                     {"--size-column", &c.size}, {"--quantity-column", &c.quantity},
                                     {"--note-column", &c.note}})
        line.value(name, *into, sharedtext::missingOptionValueText(name));
    line.flag("--csv", csv);
    line.value("--xlsx", [&](const std::string &v) { xlsx = v; haveXlsx = true; }, sharedtext::missingOptionValueText("--xlsx"));
    line.value("--pdf", [&](const std::string &v) { pdf = v; havePdf = true; }, sharedtext::missingOptionValueText("--pdf"));
    const std::vector<std::string> files = line.parse(argc, argv);
    if (files.empty())
        throw UsageError(velmoktext::EstimateNeedsListText);
    if (files.size() > 1)
        throw UsageError(velmoktext::estimateExtraArgumentText(files[1]));
    if (data.empty())
        throw UsageError(velmoktext::EstimateNeedsDataText);
    if (int(csv) + int(haveXlsx) + int(havePdf) > 1)
        throw UsageError(velmoktext::EstimateOneOutputText);

    const PriceBook book = readPriceBook(files[0]);
    estimate::PriceSource prices(data, estimate::PriceSource::folderServiceNames(data));
    const estimate::Estimate e = estimate::makeEstimate(book, prices, o);
    if (csv) {
        const std::string bytes = estimate::estimateCsvBytes(e);
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    } else if (haveXlsx) {
        writeFileAtomically(xlsx, estimate::estimateXlsxBytes(e, xlsx));
        noteFileWritten(xlsx);
    } else if (havePdf) {
        estimate::writeEstimatePdf(e, pdf, handoff::runningProgramFolder());
        noteFileWritten(pdf);
    } else {
        JsonWriter j;
        estimate::writeEstimateJson(j, e);
        printJson(j);
    }
    return e.unmatched.empty() ? 0 : 1;
}

} // namespace velmo::cli
