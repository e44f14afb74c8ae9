// The small commands of the menus Information(&I) and ファイル: notices, the manual, and the
// outside programs found beside the program or on PATH.
#include "tests/velmok/program_folder.h"

#include "base/fileio.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

using namespace velmo;
using namespace velmo::test;

namespace {

// PATH set to one folder of fake programs for the test, and back afterwards.
struct FakePath {
    TempDir bin;
    std::string saved;
    FakePath()
    {
        const char *p = std::getenv("PATH");
        saved = p ? p : "";
        ::setenv("PATH", bin.path.c_str(), 1);
    }
    ~FakePath() { ::setenv("PATH", saved.c_str(), 1); }
    fs::path add(const std::string &name) const { return makeProgram(bin.path / name); }
    static fs::path makeProgram(const fs::path &p)
    {
        writeFileAtomically(p, "#!/bin/sh\n");
        ::chmod(p.c_str(), 0755);
        return p;
    }
};

} // namespace

TEST(MainSessionInfo, NoticesSayWhatTheSystemIs)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    s.information().showRelease();
    s.information().showVersion();
    s.information().showScreenResolution();
    pf.ui.memory = {5'000'000'000, 17'179'869'184}; // beyond the 32 bits of the old message
    s.information().showMemory();
    ASSERT_EQ(pf.ui.notices.size(), 4u);
    EXPECT_EQ(pf.ui.notices[0], "Velmaro\nRelease 20040815A|確認");
    EXPECT_EQ(pf.ui.notices[1], "Velmaro\nVersion2.20|確認");
    EXPECT_EQ(pf.ui.notices[2], "現在の画面解像度は\n1280×1024|確認");
    EXPECT_EQ(pf.ui.notices[3], "現在のメモリーは\nFree 5000000000 / Total 17179869184 Bytes|確認");
}

TEST(MainSessionInfo, InstallFolderIsTheWholePathWithLongNames)
{
    ProgramFolder pf;
    const fs::path folder = pf.dir.path / "ベルマロ 配管単価ツール Program Files";
    fs::create_directories(folder / "kanzai");
    // Started through a path with a detour: the notice gives the folder itself.
    MainSession s(pf.ui, pf.dir.path / "kanzai" / ".." / folder.filename() / "velmok", "");
    s.information().showInstallFolder();
    ASSERT_EQ(pf.ui.notices.size(), 1u);
    EXPECT_EQ(pf.ui.notices[0], "現在のインストールフォルダー\n" + folder.string() + "|確認");
}

TEST(MainSessionInfo, NotepadIsFoundBesideTheProgramFirstAndShiftGivesItCtrlM)
{
    FakePath path;
    const fs::path gedit = path.add("gedit");
    ProgramFolder pf;
    MainSession &s = pf.start();
    const std::string folder = pf.dir.path.string();

    // Shift held: the item gets its shortcut and nothing starts.
    EXPECT_EQ(s.information().notepadShortcut(), "");
    s.information().startNotepad(true);
    EXPECT_EQ(s.information().notepadShortcut(), "Ctrl+M");
    EXPECT_TRUE(pf.ui.started.empty());

    // Without notepad.exe the desktop's own text editor starts, in the program's folder.
    s.information().startNotepad(false);
    ASSERT_EQ(pf.ui.started.size(), 1u);
    EXPECT_EQ(pf.ui.started[0], gedit.string() + "|" + folder);

    // notepad.exe beside the program comes first.
    const fs::path notepad = FakePath::makeProgram(pf.dir.path / "notepad.exe");
    s.information().startNotepad(false);
    EXPECT_EQ(pf.ui.started.back(), notepad.string() + "|" + folder);
    EXPECT_EQ(s.information().notepadShortcut(), "Ctrl+M");
    EXPECT_TRUE(pf.ui.notices.empty());
}

TEST(MainSessionInfo, CalculatorFallsBackToTheDesktopsAndMissingProgramsAreReported)
{
    FakePath path;
    ProgramFolder pf;
    MainSession &s = pf.start();

    // Nothing to start: a notice says so and names what was looked for.
    s.information().startCalculator();
    s.information().startNotepad(false);
    ASSERT_EQ(pf.ui.notices.size(), 2u);
    EXPECT_EQ(pf.ui.notices[0].rfind("電卓を起動できませんでした。\n", 0), 0u) << pf.ui.notices[0];
    EXPECT_NE(pf.ui.notices[0].find("Calc.exe、gnome-calculator"), std::string::npos) << pf.ui.notices[0];
    EXPECT_EQ(pf.ui.notices[1].rfind("メモ帳を起動できませんでした。\n", 0), 0u) << pf.ui.notices[1];
    EXPECT_TRUE(pf.ui.started.empty());

    // A program that is not executable is not a program.
    writeFileAtomically(path.bin.path / "galculator", "not a program");
    const fs::path calc = path.add("calc"); // "Calc.exe" in the spelling of this system
    path.add("kcalc");
    s.information().startCalculator();
    ASSERT_EQ(pf.ui.started.size(), 1u);
    EXPECT_EQ(pf.ui.started[0], calc.string() + "|" + pf.dir.path.string());

    // Found but failing to start: the next one is tried, and when none starts, a notice.
    pf.ui.programsStart = false;
    s.information().startCalculator();
    EXPECT_EQ(pf.ui.started.size(), 3u); // calc, then kcalc
    EXPECT_EQ(pf.ui.started[2].rfind((path.bin.path / "kcalc").string(), 0), 0u);
    EXPECT_EQ(pf.ui.notices.size(), 3u);
}

TEST(MainSessionInfo, HelpOpensTheManualBesideTheProgramOrSaysWhy)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    const fs::path manual = pf.dir.path / "quorvane.html";

    s.information().openHelp();
    ASSERT_EQ(pf.ui.notices.size(), 1u);
    EXPECT_EQ(pf.ui.notices[0], "取扱説明書が見つかりません。\n" + manual.string() + "|確認");
    EXPECT_TRUE(pf.ui.opened.empty());

    writeFileAtomically(manual, "<html></html>");
    s.information().openHelp();
    ASSERT_EQ(pf.ui.opened.size(), 1u);
    EXPECT_EQ(pf.ui.opened[0], manual.string());
    EXPECT_EQ(pf.ui.notices.size(), 1u);

    pf.ui.programsStart = false; // no browser
    s.information().openHelp();
    ASSERT_EQ(pf.ui.notices.size(), 2u);
    EXPECT_NE(pf.ui.notices[1].find("取扱説明書を開けませんでした。"), std::string::npos);
}
