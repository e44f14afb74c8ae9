// The export formats as one registry: what the menu, the session and velmok-cli take from it,
// and the bytes of each format against the builders they stand for.
#include "velmok/exports/csv_export.h"
#include "base/errors.h"
#include "tests/velmok/export_fixture.h"
#include "velmok/exports/export_format.h"
#include "base/fileio.h"
#include "tests/common/temp_dir.h"
#include "velmok/exports/xlsx_export.h"

#include <gtest/gtest.h>

#include <set>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

TEST(ExportFormats, TheMenuOffersTheCsvFileTheClipboardAndTheWorkbookWithTheirTexts)
{
    struct Expected {
        const char *name, *caption, *filter, *suffix, *notice;
        bool separated, options;
        ExportDestination destination;
        CommandLineOutput commandLine;
    };
    const Expected expected[] = {
        {"csv", "表示中の管材データをCSVファイルとして出力", "*.CSV", "CSV", "ＣＳＶ出力しました。", false, true,
         ExportDestination::File, CommandLineOutput::StandardOutput},
        {"clipboard", "表示中の管材データをクリップボ－ドへＣＳＶ形式で取り出す", "", "",
         "クリップボ－ドへコピ－しました。", false, true, ExportDestination::Clipboard, CommandLineOutput::None},
        {"xlsx", "表示中の管材データをExcelファイルとして出力", "*.xlsx", "xlsx", "Excelファイルに出力しました。", true,
         false, ExportDestination::File, CommandLineOutput::OutFile},
    };
    const std::vector<const ExportFormat *> &formats = exportFormats();
    ASSERT_EQ(formats.size(), std::size(expected));
    for (size_t i = 0; i < formats.size(); ++i) {
        const ExportFormat &f = *formats[i];
        const Expected &e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_STREQ(f.name(), e.name);
        EXPECT_STREQ(f.menuCaption(), e.caption);
        EXPECT_STREQ(f.fileFilter(), e.filter);
        EXPECT_STREQ(f.defaultSuffix(), e.suffix);
        EXPECT_STREQ(f.doneNotice(), e.notice);
        EXPECT_EQ(f.separatedAbove(), e.separated);
        EXPECT_EQ(f.takesOptions(), e.options);
        EXPECT_EQ(f.destination(), e.destination);
        EXPECT_EQ(f.commandLine(), e.commandLine);
        EXPECT_EQ(findExportFormat(e.name), &f);
    }
    EXPECT_EQ(findExportFormat("pdf"), nullptr);
    EXPECT_EQ(findExportFormat(""), nullptr);
}

// What every format must hold for the menu, the save dialog and the command line to work.
TEST(ExportFormats, EveryFormatHasAUniqueNameAndWhatItsDestinationAndCommandLineNeed)
{
    std::set<std::string> names, captions;
    for (const ExportFormat *f : exportFormats()) {
        SCOPED_TRACE(f->name());
        EXPECT_TRUE(names.insert(f->name()).second);
        EXPECT_TRUE(captions.insert(f->menuCaption()).second);
        EXPECT_NE(std::string(f->doneNotice()), "");
        if (f->destination() == ExportDestination::File) {
            // The save dialog shows the files its suffix gives a typed name.
            EXPECT_NE(std::string(f->defaultSuffix()), "");
            EXPECT_EQ(std::string(f->fileFilter()), std::string("*.") + f->defaultSuffix());
        } else {
            // The clipboard has no place on the command line.
            EXPECT_EQ(f->commandLine(), CommandLineOutput::None);
        }
        // A subcommand must not take the name of one velmok-cli has of its own.
        for (const char *command : {"new", "calc", "dump", "check", "pdf", "level"})
            EXPECT_NE(std::string(f->name()), command);
    }
}

TEST(ExportFormats, TextFormatsAreTheBuildersTextForEveryBasisAndBothCheckBoxes)
{
    const ExportFormat &csv = *findExportFormat("csv");
    const ExportFormat &clipboard = *findExportFormat("clipboard");
    for (const bool refrigerant : {false, true}) {
        const ExportPipe pipe(refrigerant);
        for (int basis = 1; basis <= OutputLevelCount; ++basis)
            for (const bool heading : {false, true})
                for (const bool results : {false, true}) {
                    const ExportInput in{*pipe.table, pipe.tabs, {basisAt(basis), heading, results, true}, {}};
                    EXPECT_EQ(csv.bytes(in), outputFileBytes(pipe.text(OutputMode::File, basis, heading, results)));
                    EXPECT_EQ(clipboard.bytes(in), pipe.text(OutputMode::Clipboard, basis, heading, results));
                }
    }
}

TEST(ExportFormats, WriteReplacesTheTargetWholeAndAFailureNamesItAndLeavesNothing)
{
    TempDir dir;
    const ExportPipe pipe;
    const fs::path csvFile = dir.path / "pipe.CSV";
    writeFileAtomically(csvFile, "older and longer than nothing\r\n");
    const ExportInput csvIn{*pipe.table, pipe.tabs, {basisAt(3), true, true, true}, csvFile};
    findExportFormat("csv")->write(csvIn);
    EXPECT_EQ(readWholeFile(csvFile), findExportFormat("csv")->bytes(csvIn));

    const fs::path book = dir.path / "pipe.xlsx";
    findExportFormat("xlsx")->write({*pipe.table, pipe.tabs, {basisAt(6), false, false, true}, book});
    EXPECT_EQ(readWholeFile(book).substr(0, 4), std::string("PK\x03\x04", 4));

    // A folder that is not there: the error names the file asked for, and nothing is left.
    for (const char *name : {"csv", "xlsx"}) {
        const fs::path target = dir.path / "missing" / (std::string("out.") + name);
        try {
            findExportFormat(name)->write({*pipe.table, pipe.tabs, {basisAt(1), false, false, true}, target});
            ADD_FAILURE() << name << " wrote into a missing folder";
        } catch (const IoError &e) {
            EXPECT_NE(std::string(e.what()).find(target.string()), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(target));
    }
}
