// velmok's comparison of the service file on screen with another pipe price file: which rows
// the dialog shows, its two exports, and the files it refuses.
#include "base/cp932.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "velmok/core/velmok_texts.h"
#include "tests/velmok/program_folder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace velmo;
using velmo::test::ProgramFolder;
using velmo::test::changeServiceFile;
namespace fs = std::filesystem;

namespace {

// A started session on service 1, saved, and a copy of its file beside the program.
struct ComparedFolder {
    ProgramFolder pf;
    MainSession &s = pf.start();
    fs::path other = pf.dir.path / "other.fda";
    ComparedFolder()
    {
        s.save();
        pf.ui.notices.clear();
        fs::copy_file(pf.data() / "kanzai1.fda", other);
    }
};

} // namespace

TEST(FileComparison, NothingWhenCancelledAndANoticeWhenNothingDiffers)
{
    ComparedFolder f;
    f.s.outputs().compareWithFile();
    EXPECT_EQ(f.pf.ui.compareFileAsked, 1);
    EXPECT_TRUE(f.pf.ui.notices.empty());

    f.pf.ui.fileToCompare = f.other;
    f.s.outputs().compareWithFile();
    ASSERT_EQ(f.pf.ui.notices.size(), 1u);
    EXPECT_EQ(f.pf.ui.notices[0], std::string(velmoktext::NoDifferenceNotice) + "|確認");
    EXPECT_EQ(f.pf.ui.comparisonsShown, 0);
}

TEST(FileComparison, TheDialogShowsWhatChangedFromTheOtherFileToTheScreenUnsavedEditsIncluded)
{
    ComparedFolder f;
    // The other file is older: pipe 3 had another name, pipe 5 lay at number 12.
    changeServiceFile(f.other, [](ServiceFile &o) {
        o.pipeBlock(2)[0].name.assignText("旧名称");
        std::swap(o.pipeBlock(4), o.pipeBlock(11));
    });
    // An edit on screen, not saved: LEVEL1 labour of pipe 1 from 20000 to 25000.
    velmo::test::typeLabour(f.s, 1, "25000");
    ASSERT_TRUE(f.s.modified());

    f.pf.ui.fileToCompare = f.other;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::vector<bool>> figures;
    std::vector<std::string> headings;
    std::string title, count;
    f.pf.ui.onComparison = [&](FileComparison &c) {
        title = c.title();
        count = c.countText();
        headings = c.headings();
        for (size_t r = 0; r < c.rowCount(); ++r) {
            rows.push_back(c.rowTexts(r));
            figures.push_back(c.rowFigures(r));
        }
    };
    f.s.outputs().compareWithFile();
    ASSERT_EQ(f.pf.ui.comparisonsShown, 1);
    EXPECT_EQ(title, "比較: " + f.other.string() + " → " + (f.pf.data() / "kanzai1.fda").string());
    EXPECT_EQ(headings, (std::vector<std::string>{"管材", "名称", "サイズ", "場所", "項目", "変更前", "変更後", "差",
                                                  "増減率(%)"}));
    EXPECT_EQ(count, "違い: " + std::to_string(rows.size()) + " 件");

    // Pipe 1: the labour price and what it recalculated, and the price significant-digit code
    // the 基本設定 panel stored with it (0 in the file, shown and stored as 有効桁1); nothing
    // else of it.
    const std::vector<std::string> labour{"1", "S1P1", "", "", "基礎工費 LEVEL1", "20000", "25000", "5000", "25"};
    const auto labourRow = std::find(rows.begin(), rows.end(), labour);
    ASSERT_NE(labourRow, rows.end());
    // The pipe number and the four figures are shown as figures, the texts as texts.
    EXPECT_EQ(figures[labourRow - rows.begin()],
              (std::vector<bool>{true, false, false, false, false, true, true, true, true}));
    for (const auto &row : rows) {
        if (row[0] == "1") {
            EXPECT_TRUE(row[4] == "基礎工費 LEVEL1" || row[4].rfind("複合単価", 0) == 0 ||
                        row[4].rfind("採用単価", 0) == 0 || (row[4] == "単価 有効桁" && row[5] == "0" && row[6] == "1"))
                << row[4];
        }
    }
    // Pipe 3's name, and the two pipes that exchanged numbers once each.
    EXPECT_NE(std::find(rows.begin(), rows.end(),
                        std::vector<std::string>{"3", "S1P3", "", "", "名称", "旧名称", "S1P3", "", ""}),
              rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(),
                        std::vector<std::string>{"5", "S1P5", "", "", "移動", "12", "5", "", ""}),
              rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(),
                        std::vector<std::string>{"12", "S1P12", "", "", "移動", "5", "12", "", ""}),
              rows.end());
    for (const auto &row : rows)
        EXPECT_TRUE(row[0] == "1" || row[0] == "3" || row[0] == "5" || row[0] == "12") << row[0] << " " << row[4];
    // Comparing writes nothing: the edit is still unsaved.
    EXPECT_TRUE(f.s.modified());
}

TEST(FileComparison, TheDialogExportsItsTableToCsvAndAWorkbook)
{
    ComparedFolder f;
    changeServiceFile(f.other, [](ServiceFile &o) { o.pipeBlock(2)[0].name.assignText("旧名称"); });
    f.pf.ui.fileToCompare = f.other;
    const fs::path csv = f.pf.dir.path / "diff.CSV", book = f.pf.dir.path / "diff.xlsx";
    f.pf.ui.onComparison = [&](FileComparison &c) {
        c.exportCsv(); // cancelled: nothing written, nothing said
        EXPECT_TRUE(f.pf.ui.notices.empty());
        f.pf.ui.saveFiles.push_back(csv);
        c.exportCsv();
        f.pf.ui.saveFiles.push_back(book);
        c.exportXlsx();
        // A folder in the way of the file: the write fails naming it and the dialog stays.
        const fs::path folder = f.pf.dir.path / "taken.CSV";
        fs::create_directory(folder);
        f.pf.ui.saveFiles.push_back(folder);
        try {
            c.exportCsv();
            ADD_FAILURE() << "a CSV was written over a folder";
        } catch (const IoError &e) {
            EXPECT_NE(std::string(e.what()).find(folder.string()), std::string::npos) << e.what();
        }
    };
    f.s.outputs().compareWithFile();
    ASSERT_EQ(f.pf.ui.notices.size(), 2u);
    EXPECT_EQ(f.pf.ui.notices[0], std::string(velmoktext::CsvFileDone) + "|確認");
    EXPECT_EQ(f.pf.ui.notices[1], std::string(velmoktext::XlsxDone) + "|確認");
    EXPECT_TRUE(readWholeFile(csv) == cp932::encode("管材,名称,サイズ,場所,項目,変更前,変更後,差,増減率(%)\r\n"
                                                    "3,S1P3,,,名称,旧名称,S1P3,,\r\n"));
    const std::string bytes = readWholeFile(book);
    EXPECT_EQ(bytes.substr(0, 2), "PK"); // a zip: the workbook itself is read back in cli_diff_test
}

TEST(FileComparison, AFileThatIsNoServiceFileIsAnErrorNamingItAndNothingIsShown)
{
    ComparedFolder f;
    const fs::path shortFile = f.pf.dir.path / "short.fda";
    std::ofstream(shortFile, std::ios::binary) << std::string(360 * 100, '\0');
    for (const fs::path &bad : {shortFile, f.pf.dir.path, f.pf.dir.path / "missing.fda"}) {
        f.pf.ui.fileToCompare = bad;
        try {
            f.s.outputs().compareWithFile();
            ADD_FAILURE() << bad << " was compared";
        } catch (const IoError &e) {
            EXPECT_NE(std::string(e.what()).find(bad.string()), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(f.pf.ui.comparisonsShown, 0);
    EXPECT_FALSE(fs::exists(f.pf.dir.path / "missing.fda"));
}
