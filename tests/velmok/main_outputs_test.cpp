// The main session's CSV, clipboard, Excel and print commands with a scripted dialog.
#include "base/cp932.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "tests/velmok/program_folder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace velmo;
using velmo::test::ProgramFolder;
namespace fs = std::filesystem;

namespace {

// A format of the menu 外部デ－タ入出力 by name.
const ExportFormat &format(const char *name)
{
    const ExportFormat *f = findExportFormat(name);
    if (!f)
        throw std::logic_error(std::string("no export format ") + name);
    return *f;
}

// A format of the test's own, through the session as any new format would go: it records
// what the session hands it and gives the pipe's name and the tab captions as its bytes.
struct ProbeFormat : ExportFormat {
    ExportDestination to = ExportDestination::File;
    bool options = false;
    mutable std::vector<OutputLevelChoice> choices;
    mutable std::vector<fs::path> targets;
    const char *name() const override { return "probe"; }
    const char *menuCaption() const override { return "試験"; }
    ExportDestination destination() const override { return to; }
    const char *fileFilter() const override { return "*.prb"; }
    const char *defaultSuffix() const override { return "prb"; }
    bool takesOptions() const override { return options; }
    const char *doneNotice() const override { return "試験出力しました。"; }
    std::string bytes(const ExportInput &in) const override
    {
        choices.push_back(in.choice);
        targets.push_back(in.target);
        std::string out = in.table.row(1).rec.name.text();
        for (const std::string &tab : in.tabs)
            out += "|" + tab;
        return out;
    }
};

// An executable stand-in for the print program in the program folder.
void installPrintProgram(const fs::path &folder, const std::string &name = "korrel")
{
    const fs::path p = folder / name;
    std::ofstream(p) << "#!/bin/sh\nexit 0\n";
    fs::permissions(p, fs::perms::owner_all);
}

} // namespace

TEST(MainSessionExport, CsvFileIsTheBuilderTextInCp932AndTheDialogBasisIsSelected)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    pf.ui.outputLevel = {basisAt(2), true, false, true};
    const fs::path out = pf.dir.path / "out.CSV";
    pf.ui.saveFiles.push_back(out.string());
    // The window shows the chosen basis at once, before the save dialog opens.
    Basis shownBasis = Basis::Level1;
    size_t promptsWhenShown = 99;
    pf.ui.onShowNow = [&] {
        shownBasis = s.gridView().basis;
        promptsWhenShown = pf.ui.prompts.size();
    };
    const size_t promptsBefore = pf.ui.prompts.size();
    s.outputs().exportTable(format("csv"));
    EXPECT_EQ(shownBasis, Basis::Level2);
    EXPECT_EQ(promptsWhenShown, promptsBefore);
    EXPECT_EQ(pf.ui.outputLevelAsked, std::vector<bool>{true});
    EXPECT_EQ(s.gridView().basis, Basis::Level2);
    EXPECT_EQ(pf.ui.prompts.back(), "*.CSV|CSV");
    // The dialog suggests the service and the pipe shown as the name.
    EXPECT_EQ(pf.ui.saveNames.back(), s.names().services[0] + "_" + s.statusPanels()[0] + ".CSV");
    EXPECT_EQ(pf.ui.notices.back(), "ＣＳＶ出力しました。|確認");
    const std::string text = buildOutputText(s.table(), s.tabCaptions(), OutputMode::File, *pf.ui.outputLevel);
    EXPECT_EQ(readWholeFile(out), outputFileBytes(text));
    const std::string decoded = cp932::decode(readWholeFile(out));
    EXPECT_EQ(decoded.rfind("屋内一般\r\n呼び径,単位,", 0), 0u);
    EXPECT_NE(decoded.find("\r\n15A,,2800,1000,1.1,"), std::string::npos); // the worked example, unit empty
    EXPECT_FALSE(s.modified());
}

TEST(MainSessionExport, CancelledDialogsWriteNothingButTheBasisFollowsTheDialog)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    pf.ui.outputLevel = {basisAt(6), true, true, false};
    pf.ui.saveFiles.push_back((pf.dir.path / "never.CSV").string());
    s.outputs().exportTable(format("csv"));
    s.outputs().exportTable(format("clipboard"));
    s.outputs().exportTable(format("xlsx"));
    EXPECT_EQ(s.gridView().basis, Basis::Net);
    EXPECT_EQ(pf.ui.saveFiles.size(), 1u); // no save dialog was shown
    EXPECT_TRUE(pf.ui.clipboard.empty());
    EXPECT_TRUE(pf.ui.notices.empty());

    // The save dialog cancelled after a confirmed level dialog.
    pf.ui.outputLevel->confirmed = true;
    pf.ui.saveFiles = {std::nullopt};
    s.outputs().exportTable(format("csv"));
    EXPECT_TRUE(pf.ui.notices.empty());
    EXPECT_FALSE(fs::exists(pf.dir.path / "never.CSV"));
}

TEST(MainSessionExport, ClipboardGetsTheTextWithoutAFinalLineEnd)
{
    ProgramFolder pf;
    MainSession &s = pf.start("10;2;"); // refrigerant mode
    pf.ui.outputLevel = {basisAt(1), false, true, true};
    s.outputs().exportTable(format("clipboard"));
    ASSERT_EQ(pf.ui.clipboard.size(), 1u);
    const std::string &text = pf.ui.clipboard[0];
    EXPECT_EQ(text, buildOutputText(s.table(), s.tabCaptions(), OutputMode::Clipboard, *pf.ui.outputLevel));
    EXPECT_EQ(text.rfind("一般\r\n", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 1), ",");
    // Beside the text, its rows as a table, so that a spreadsheet pastes cells without asking.
    EXPECT_EQ(parseSheetHtml(pf.ui.clipboardHtml), parseSheetText(text, ','));
    EXPECT_EQ(pf.ui.notices.back(), "クリップボ－ドへコピ－しました。|確認");
}

TEST(MainSessionExport, PrintWritesTheHandoffAndStartsThePrintProgramFromTheProgramFolder)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    pf.ui.outputLevel = {basisAt(6), true, true, true};
    pf.ui.date = {2019, 5, 1};
    installPrintProgram(pf.dir.path);
    s.outputs().print();
    EXPECT_EQ(pf.ui.outputLevelAsked, std::vector<bool>{false});
    EXPECT_EQ(s.gridView().basis, Basis::Net);
    ASSERT_EQ(pf.ui.started.size(), 1u);
    EXPECT_EQ(pf.ui.started[0], (pf.dir.path / "korrel").string() + "|" + pf.dir.path.string());
    EXPECT_TRUE(pf.ui.notices.empty());

    const std::string data = cp932::decode(readWholeFile(pf.dir.path / "print_Data.dat"));
    EXPECT_EQ(data.rfind("S1P1;給水;ねじ接合;屋内一般;15A;;2,805;1,000;", 0), 0u);
    EXPECT_EQ(data.substr(data.size() - 3), ";\r\n");
    const std::string conf = cp932::decode(readWholeFile(pf.dir.path / "Print.conf"));
    EXPECT_NE(conf.find("[Icon_File]=" + pf.dir.path.string() + "/Application.ico\r\n[File_Mask]=vmk\r\n"),
              std::string::npos);
    const std::string header = cp932::decode(readWholeFile(pf.dir.path / "print_header.dat"));
    EXPECT_EQ(header, "[ta]=2019\r\n[tb]=令和01\r\n[tc]=05\r\n[td]=01\r\n[te]=水\r\n[tf]=\r\n[tg]=\r\n[th]=\r\n"
                      "[ti]=20000(仕切)\r\n[tj]=20000\r\n");
}

TEST(MainSessionExport, CancelledPrintLeavesTheFilesOfAnEarlierPrint)
{
    ProgramFolder pf;
    MainSession &s = pf.start("10;2;");
    pf.ui.outputLevel = {basisAt(1), false, false, true};
    installPrintProgram(pf.dir.path, "Korrel.exe");
    s.outputs().print();
    EXPECT_NE(cp932::decode(readWholeFile(pf.dir.path / "Print.conf")).find("[File_Mask]=vmr"), std::string::npos);
    const std::string before = readWholeFile(pf.dir.path / "print_Data.dat");
    const auto time = fs::last_write_time(pf.dir.path / "print_header.dat");

    s.treeClick(1);
    pf.ui.outputLevel = {basisAt(3), false, false, false};
    s.outputs().print();
    EXPECT_EQ(s.gridView().basis, Basis::Level3);
    EXPECT_EQ(readWholeFile(pf.dir.path / "print_Data.dat"), before);
    EXPECT_EQ(fs::last_write_time(pf.dir.path / "print_header.dat"), time);
    EXPECT_EQ(pf.ui.started.size(), 1u);
}

TEST(MainSessionExport, APrintProgramThatIsMissingOrDoesNotStartIsNamed)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    pf.ui.outputLevel = {basisAt(1), false, false, true};
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", pf.dir.path.c_str(), 1); // no korrel anywhere
    s.outputs().print();
    setenv("PATH", path.c_str(), 1);
    ASSERT_EQ(pf.ui.notices.size(), 1u);
    EXPECT_NE(pf.ui.notices[0].find("Korrel.exe が見つかりません"), std::string::npos) << pf.ui.notices[0];
    EXPECT_TRUE(fs::exists(pf.dir.path / "print_header.dat")); // the files are there for a later print

    installPrintProgram(pf.dir.path);
    pf.ui.programsStart = false;
    s.outputs().print();
    EXPECT_NE(pf.ui.notices.back().find("を起動できませんでした"), std::string::npos) << pf.ui.notices.back();
}

TEST(MainSessionExport, AFileThatCannotBeWrittenEndsTheCommandWithoutSuccess)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    pf.ui.outputLevel = {basisAt(1), false, false, true};
    installPrintProgram(pf.dir.path);
    fs::create_directory(pf.dir.path / "print_header.dat");
    EXPECT_THROW(s.outputs().print(), IoError);
    EXPECT_TRUE(fs::exists(pf.dir.path / "print_Data.dat"));
    EXPECT_TRUE(fs::exists(pf.dir.path / "Print.conf"));
    EXPECT_TRUE(pf.ui.started.empty());

    pf.ui.saveFiles.push_back((pf.dir.path / "no-folder" / "out.CSV").string());
    EXPECT_THROW(s.outputs().exportTable(format("csv")), IoError);
    pf.ui.saveFiles.push_back((pf.dir.path / "no-folder" / "out.xlsx").string());
    EXPECT_THROW(s.outputs().exportTable(format("xlsx")), IoError);
    EXPECT_TRUE(pf.ui.notices.empty());
}

TEST(MainSessionExport, ExcelWorkbookIsWrittenWhole)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    pf.ui.outputLevel = {basisAt(4), true, true, true};
    const fs::path out = pf.dir.path / "pipe.xlsx";
    pf.ui.saveFiles.push_back(out.string());
    s.outputs().exportTable(format("xlsx"));
    EXPECT_EQ(pf.ui.outputLevelAsked, std::vector<bool>{false});
    EXPECT_EQ(pf.ui.prompts.back(), "*.xlsx|xlsx");
    EXPECT_EQ(readWholeFile(out).substr(0, 2), "PK");
    EXPECT_EQ(pf.ui.notices.back(), "Excelファイルに出力しました。|確認");
}

TEST(MainSessionExport, WithoutAPipeNothingIsAskedOrWritten)
{
    ProgramFolder pf;
    // A service file that cannot be read: no pipe is loaded.
    fs::create_directories(pf.data());
    writeFileAtomically(pf.data() / "kanzai1.fda", "short");
    MainSession s(pf.ui, pf.program, "");
    EXPECT_THROW(s.start(), IoError);
    pf.ui.outputLevel = {basisAt(1), false, false, true};
    installPrintProgram(pf.dir.path);
    s.outputs().exportTable(format("csv"));
    s.outputs().print();
    EXPECT_TRUE(pf.ui.outputLevelAsked.empty());
    EXPECT_FALSE(fs::exists(pf.dir.path / "print_Data.dat"));
    EXPECT_EQ(pf.ui.notices.size(), 2u);
    EXPECT_EQ(pf.ui.notices[0], "管材が選択されていません|確認");
}

TEST(MainSessionExport, AnyFormatGetsTheShownPipeAndTheDialogsChoiceAndGoesToItsDestination)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    pf.ui.outputLevel = {basisAt(4), true, true, true};
    ProbeFormat probe;
    const std::string expected = "S1P1|屋内一般|機械室|屋外架空|地中配管";

    // A file: the save dialog with the format's filter, the bytes written there, its notice.
    const fs::path out = pf.dir.path / "out.prb";
    pf.ui.saveFiles.push_back(out.string());
    s.outputs().exportTable(probe);
    EXPECT_EQ(pf.ui.prompts.back(), "*.prb|prb");
    EXPECT_EQ(readWholeFile(out), expected);
    EXPECT_EQ(pf.ui.notices.back(), "試験出力しました。|確認");
    ASSERT_EQ(probe.choices.size(), 1u);
    // A format without the check boxes gets them clear, whatever the dialog held.
    EXPECT_EQ(probe.choices[0], (OutputLevelChoice{basisAt(4), false, false, true}));
    EXPECT_EQ(probe.targets[0], out);

    // The save dialog cancelled: nothing made, nothing written, no notice.
    const size_t notices = pf.ui.notices.size();
    s.outputs().exportTable(probe);
    EXPECT_EQ(probe.choices.size(), 1u);
    EXPECT_EQ(pf.ui.notices.size(), notices);

    // The clipboard: no save dialog, the check boxes as the dialog held them.
    probe.to = ExportDestination::Clipboard;
    probe.options = true;
    const size_t prompts = pf.ui.prompts.size();
    s.outputs().exportTable(probe);
    EXPECT_EQ(pf.ui.prompts.size(), prompts);
    EXPECT_EQ(pf.ui.clipboard, std::vector<std::string>{expected});
    EXPECT_EQ(pf.ui.notices.back(), "試験出力しました。|確認");
    ASSERT_EQ(probe.choices.size(), 2u);
    EXPECT_EQ(probe.choices[1], (OutputLevelChoice{basisAt(4), true, true, true}));
    EXPECT_EQ(probe.targets[1], fs::path());
    EXPECT_EQ(pf.ui.outputLevelAsked, (std::vector<bool>{false, false, true}));
}
