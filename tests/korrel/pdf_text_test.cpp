// The text layer of every PDF the programs make: pdftotext finds on each page every text the
// page draws (sizes such as "15A", "LEVEL1", "(Level1)", "NET：16,500", "P.12", the page
// numbers, every figure and the Japanese names), as a search or a copy out of the PDF needs.
#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "selvan/core/selvan_price_list.h"
#include "pricework/price_list_output.h"
#include "velmok/core/calc.h"
#include "velmok/exports/print_handoff.h"
#include "velmok/exports/text_builder.h"
#include "torvik/core/torvik_price_list.h"
#include "pricefile/equipment_file.h"
#include "pricefile/service_file.h"
#include "korrel/core/page_layout.h"
#include "tests/common/cli_run.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

bool havePdftotext() { return std::system("command -v pdftotext >/dev/null 2>&1") == 0; }

// A text without its spaces (half-width, full-width, tabs, line ends): pdftotext spaces a
// line by the positions of its glyphs, not by the spaces drawn.
std::string unspaced(const std::string &text)
{
    std::string s;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "　") == 0) {
            i += 2;
            continue;
        }
        if (text[i] != ' ' && text[i] != '\t' && text[i] != '\n' && text[i] != '\r')
            s += text[i];
    }
    return s;
}

// The text layer of each page of `pdf`, in the order drawn.
std::vector<std::string> pdfPageTexts(const fs::path &pdf)
{
    const Result r = runShell("pdftotext -raw -enc UTF-8 " + shellWord(pdf.string()) + " -");
    EXPECT_EQ(r.code, 0) << r.err;
    std::vector<std::string> pages;
    size_t start = 0;
    for (size_t ff; (ff = r.out.find('\f', start)) != std::string::npos; start = ff + 1)
        pages.push_back(unspaced(r.out.substr(start, ff - start)));
    return pages;
}

// Every text of every page the hand-off folders make is in that page's text layer of `pdf`.
void expectEveryTextFound(const fs::path &pdf, const std::vector<fs::path> &folders)
{
    std::vector<print::PrintSet> sets;
    for (const fs::path &f : folders)
        sets.push_back(print::readPrintSet(f));
    const std::vector<print::PrintPage> pages = print::paginate(sets);
    const std::vector<std::string> found = pdfPageTexts(pdf);
    ASSERT_EQ(found.size(), pages.size()) << pdf;
    int texts = 0;
    for (size_t p = 0; p < pages.size(); ++p)
        for (const print::TextBox &t : print::layoutPage(pages[p]).texts) {
            const std::string want = unspaced(t.text);
            if (want.empty())
                continue;
            ++texts;
            EXPECT_NE(found[p].find(want), std::string::npos)
                << pdf.filename() << " page " << p + 1 << " lacks \"" << t.text << "\"; it holds " << found[p];
        }
    EXPECT_GT(texts, 50);
}

fs::path sampleServiceFile() { return fs::path(VELMO_SAMPLE_DIR) / "haikan1.fda"; }

} // namespace

TEST(PdfText, VelmokCliPdfHoldsEveryTextOfEveryPage)
{
    if (!havePdftotext())
        GTEST_SKIP() << "pdftotext (Debian poppler-utils) is needed to read the PDF's text";
    TempDir dir;
    const fs::path pdf = dir.path / "table.pdf";
    const Result r = runProgram(VELMO_VELMOK_CLI, {"pdf", sampleServiceFile().string(), pdf.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    // The hand-off velmok-cli gives the print program: every named pipe at LEVEL1.
    ServiceFile file;
    file.load(sampleServiceFile());
    std::vector<fs::path> folders;
    for (int p = 0; p < PipesPerFile; ++p) {
        WorkingTable table;
        PipeBlock &block = file.pipeBlock(p);
        table.load(block);
        table.recalculateAll(block);
        if (unspaced(table.row(1).rec.name.text()).empty())
            continue;
        const OutputLevelChoice choice{Basis::Level1, false, false, true};
        folders.push_back(dir.path / std::to_string(p + 1));
        fs::create_directory(folders.back());
        writePrintHandoff(folders.back(), buildOutputText(table, locationTabCaptions(table), OutputMode::Print, choice),
                          table, choice.basis, localToday());
    }
    ASSERT_FALSE(folders.empty());
    expectEveryTextFound(pdf, folders);
}

TEST(PdfText, TorvikAndSelvanPriceListPdfsHoldEveryTextOfEveryPage)
{
    if (!havePdftotext())
        GTEST_SKIP() << "pdftotext (Debian poppler-utils) is needed to read the PDF's text";
    TempDir dir;
    const fs::path torvikPdf = dir.path / "pipes.pdf";
    Result r = runProgram(VELMO_TORVIK_CLI, {"pdf", sampleServiceFile().string(), torvikPdf.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    expectEveryTextFound(torvikPdf, handoff::writePriceListHandoff(dir.path / "torvik",
                                                                   torvikPriceList(sampleServiceFile(), std::nullopt),
                                                                   sharedtext::InputCaption));

    // An equipment block with sizes beside letters, prices with and without decimals and a memo.
    const fs::path equipment = dir.path / "kigu1.dxa";
    createEquipmentFile(equipment);
    EquipmentBlock b = readEquipmentBlock(equipment, 2);
    b[0].name.assignText("ゲート弁　水道用");
    b[0].unit.assignText("個");
    for (int row = 0; row < 14; ++row) {
        b[row].caption.assignText(std::to_string(15 + 5 * row) + "A");
        b[row].values[materialSlot(Basis::List)] = Currency::fromInt(18500 + 1000 * row);
        b[row].values[installationSlot(Basis::Level3)] = Cur("1234.5");
        b[row].values[eqslot::LabourRate] = Cur("0.35");
    }
    b[EquipmentSettingsRow].values[materialSlot(Basis::Level1)] = Cur("85");
    b[EquipmentSettingsRow].values[eqslot::UseRates] = Cur("1");
    writeEquipmentBlock(equipment, 2, b);
    const fs::path selvanPdf = dir.path / "equipment.pdf";
    r = runProgram(VELMO_SELVAN_CLI, {"pdf", equipment.string(), selvanPdf.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    expectEveryTextFound(selvanPdf, handoff::writePriceListHandoff(dir.path / "selvan",
                                                                   selvanPriceList(equipment, std::nullopt),
                                                                   sharedtext::InputCaption));
}
