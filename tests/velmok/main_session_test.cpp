#include "base/errors.h"
#include "base/fileio.h"
#include "base/ini_file.h"
#include "velmok/session/main_session.h"
#include "tests/velmok/program_folder.h"
#include "base/settings_file.h"

#include <gtest/gtest.h>

using namespace velmo;
using velmo::test::FakeUi;
using velmo::test::ProgramFolder;
using velmo::test::TempDir;
using velmo::test::typeLabour;
namespace fs = std::filesystem;

TEST(MainSessionStart, WithoutArgumentOpensServiceOnePipeOneAndSeedsTheDataFolder)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    EXPECT_EQ(s.edition(), Edition::StandAlone);
    EXPECT_EQ(s.titlePanel(), "Velmaro");
    for (int n = 1; n <= 10; ++n)
        EXPECT_TRUE(fs::exists(pf.data() / ("kanzai" + std::to_string(n) + ".fda")));
    EXPECT_EQ(s.position().service, 0);
    EXPECT_EQ(s.position().pipe, 0);
    EXPECT_EQ(s.position().location, 0);
    EXPECT_EQ(s.position().node, 1);
    EXPECT_FALSE(s.modified());
    const auto &st = s.statusPanels();
    EXPECT_EQ(st[0], "S1P1");
    EXPECT_EQ(st[1], "給水");
    EXPECT_EQ(st[2], "ねじ接合");
    EXPECT_EQ(st[3], "屋内一般");
    EXPECT_EQ(st[4], "SET");
    EXPECT_EQ(st[5], pf.data().string());
    EXPECT_EQ(st[6], "/kanzai1.fda");
    EXPECT_EQ(s.headingStrip(), "S1P1:屋内一般    給水 ねじ接合");
    EXPECT_EQ(s.names().nodes[0], "給水");
    EXPECT_EQ(s.names().nodes[189], "冷媒");
    EXPECT_EQ(s.names().nodes[21 * 2 + 8], "----"); // service 3, pipe 8 has no name
    EXPECT_EQ(s.names().pipeCaptions[2][7], "----");
    EXPECT_EQ(s.names().pipeCaptions[0][11], "S1P12");
    EXPECT_EQ(s.tabCaptions(), (std::vector<std::string>{"屋内一般", "機械室", "屋外架空", "地中配管"}));
    EXPECT_EQ(s.copyLocationCaption(), "屋内一般のデータを機械室・屋外架空・地中配管へコピ－");

    // The rate grid shows the worked example for LEVEL1, money grouped, factors plain.
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 0, 1), "15A");
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 1, 1), "2,800");
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 2, 1), "2,805");
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 3, 1), "1,000");
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 4, 1), "1.1");
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 8, 0), "配 管 工");
    EXPECT_EQ(velmo::priceGridText(s.gridView(), 6, 0), "原　価");
    EXPECT_EQ(velmo::compositeGridText(s.gridView(), 6, 1), "2,805");

    // A second start finds the data folder seeded and keeps what is there.
    writeFileAtomically(pf.data() / "kanzai2.fda", std::string(432000, '\0'));
    MainSession &again = pf.start();
    EXPECT_EQ(again.names().nodes[22], "----");
}

TEST(MainSessionStart, CommandLineOpensServiceAndPipe)
{
    ProgramFolder pf;
    MainSession &s = pf.start("3;5;");
    EXPECT_EQ(s.position().service, 2);
    EXPECT_EQ(s.position().pipe, 4);
    EXPECT_EQ(s.position().node, 47);
    EXPECT_EQ(s.statusPanels()[6], "/kanzai3.fda");
    EXPECT_EQ(s.statusPanels()[0], "S3P5");

    // Unterminated, non-numeric or out-of-range fields take their defaults.
    EXPECT_EQ(pf.start("3;5").position().pipe, 2); // field 2 of "3;" is field 1's text
    pf.ui.notices.clear();
    MainSession &bad = pf.start("x;25;");
    EXPECT_EQ(bad.position().service, 0);
    EXPECT_EQ(bad.position().pipe, 0);
    // A number out of range is said; text that is no number is not.
    ASSERT_EQ(pf.ui.notices.size(), 1u);
    EXPECT_EQ(pf.ui.notices[0], "コマンドラインの管材番号 25 はありません (1〜20)。管材 1 を開きます。|確認");
    EXPECT_EQ(pf.start("11;").position().service, 0);
    EXPECT_EQ(pf.ui.notices.back().rfind("コマンドラインの管種番号 11 はありません (1〜10)", 0), 0u) << pf.ui.notices.back();
    EXPECT_EQ(pf.start("0;99999999999999999999;").position().pipe, 0);
    EXPECT_EQ(pf.ui.notices.size(), 3u);
}

TEST(MainSessionStart, WindowPositionIsPulledBackIntoTheWorkAreaPerAxis)
{
    ProgramFolder pf;
    IniFile ini;
    ini.set("velmot_k", "top", "2000");
    ini.set("velmot_k", "Left", "300");
    ini.set("velmot_k", "Width", "900");
    ini.write(pf.dir.path / "velmok.ini");
    MainSession s(pf.ui, pf.program, "");
    EXPECT_EQ(s.windowRect(), (Rect{300, 0, 900, DesignWindowSize.height}));

    ini.set("velmot_k", "top", "50");
    ini.set("velmot_k", "Left", "1250");
    ini.write(pf.dir.path / "velmok.ini");
    pf.ui.workAreaRect = Rect{100, 20, 1180, 980};
    MainSession t(pf.ui, pf.program, "");
    EXPECT_EQ(t.windowRect().left, 100);
    EXPECT_EQ(t.windowRect().top, 50);
}

TEST(MainSessionStart, NetworkEditionReadsItsFolderAndFallsBackToExData)
{
    ProgramFolder pf("net_velmok.exe");
    const fs::path shared = pf.dir.path / "shared";
    fs::create_directories(shared);
    SettingsFile f;
    f.set("[Folder_Name]", shared.string());
    f.write(pf.dir.path / "ex_network_folder.dat");
    MainSession &s = pf.start();
    EXPECT_EQ(s.edition(), Edition::Network);
    EXPECT_EQ(s.titlePanel(), "Velmaro-Network版");
    EXPECT_EQ(s.dataFolder(), shared);
    EXPECT_TRUE(fs::exists(shared / "kanzai1.fda")); // created empty there
    EXPECT_EQ(s.names().nodes[1], "----");

    f.set("[Folder_Name]", (pf.dir.path / "gone").string());
    f.write(pf.dir.path / "ex_network_folder.dat");
    EXPECT_EQ(pf.start().dataFolder(), pf.data());

    ProgramFolder other("velmok2");
    EXPECT_EQ(other.start().edition(), Edition::StandAlone);
}

TEST(MainSessionNavigation, SwitchingServiceAsksOnceAndCancelStillSwitches)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    typeLabour(s, 1, "30000");
    EXPECT_TRUE(s.modified());
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 2, 1), "3,382");
    pf.ui.answers.push_back(Answer::No); // "キャンセル"
    s.treeClick(21 * 4); // service 5's node: its first pipe
    ASSERT_EQ(pf.ui.questions.size(), 1u);
    EXPECT_EQ(pf.ui.questions[0],
              "現在の編集内容を保存しますか？\n" + (pf.data() / "kanzai1.fda").string() + "|実行|キャンセル|戻る");
    EXPECT_EQ(s.position().service, 4);
    EXPECT_EQ(s.position().pipe, 0);
    EXPECT_EQ(s.statusPanels()[0], "S5P1");
    EXPECT_FALSE(s.modified());
    ServiceFile back;
    back.load(pf.data() / "kanzai1.fda");
    EXPECT_EQ(back.record(59).C(1).toString(), "20000"); // not saved

    // The same with "実行": the file is written before the switch.
    s.treeClick(1);
    typeLabour(s, 1, "30000");
    pf.ui.answers.push_back(Answer::Yes);
    s.treeClick(21 * 2 + 3);
    EXPECT_EQ(s.position().pipe, 2);
    back.load(pf.data() / "kanzai1.fda");
    EXPECT_EQ(back.record(59).C(1).toString(), "30000");
    // Within one service nothing is asked.
    const size_t asked = pf.ui.questions.size();
    s.treeClick(21 * 2 + 5);
    EXPECT_EQ(pf.ui.questions.size(), asked);

    // "戻る": the service, the pipe and the edits stay as they are, from the tree and the menu.
    typeLabour(s, 1, "40000");
    pf.ui.answers.push_back(Answer::Back);
    s.treeClick(21 * 6 + 1);
    pf.ui.answers.push_back(Answer::Back);
    s.menuServiceOpened(7);
    s.menuPipeChosen(3);
    EXPECT_EQ(pf.ui.questions.size(), asked + 2);
    EXPECT_EQ(s.position().service, 2);
    EXPECT_EQ(s.position().pipe, 4);
    EXPECT_EQ(s.position().node, 21 * 2 + 5);
    EXPECT_TRUE(s.modified());
    EXPECT_EQ(s.settingsControls().labour[1], Cur("40000"));
}

TEST(MainSessionNavigation, FunctionKeysOpenPipesOfTheLastOpenedMenuService)
{
    ProgramFolder pf;
    MainSession &s = pf.start("2;1;");
    s.menuPipeChosen(2); // F3 right after start: service 1
    EXPECT_EQ(s.position().service, 0);
    EXPECT_EQ(s.position().pipe, 2);
    EXPECT_EQ(s.position().node, 3);
    s.menuServiceOpened(2);
    s.menuPipeChosen(11); // Shift+F2
    EXPECT_EQ(s.position().service, 2);
    EXPECT_EQ(s.position().pipe, 11);
    EXPECT_EQ(s.position().node, 2 * 21 + 12);
}

TEST(MainSessionNavigation, RefrigerantPipeHasOneTabAndItsOwnHeadings)
{
    ProgramFolder pf;
    MainSession &s = pf.start("10;2;");
    EXPECT_TRUE(s.table().refrigerant());
    EXPECT_EQ(s.tabCaptions(), std::vector<std::string>{"一般"});
    EXPECT_FALSE(s.editing().copyLocationEnabled());
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 9, 0), "---");
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 5, 0), "継手接合等");
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 9, 1), "");
    EXPECT_EQ(s.statusPanels()[3], "一般");
    s.locationTabChanged(2); // no such tab
    EXPECT_EQ(s.position().location, 0);
}

TEST(MainSessionNavigation, BasisColumnsTabsAndDisplayModes)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    s.basisCellClicked(6, 1); // NET: C0 in both columns, A0 as the price
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 1, 1), "2,805");
    s.showRateResults(true);
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 4, 1), "1,100");
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 10, 1), "55");
    s.locationTabChanged(1);
    EXPECT_EQ(s.gridView().basis, Basis::Net); // the basis stays
    EXPECT_EQ(s.statusPanels()[3], "機械室");
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 4, 1), "0"); // location 1 has no factors
    s.showComposites(true);
    s.locationTabChanged(0);
    EXPECT_EQ(velmo::compositeGridText(s.gridView(), 1, 1), "2,800");
    EXPECT_EQ(velmo::compositeGridText(s.gridView(), 6, 1), "2,805");
    s.basisMenu(Basis::Level3);
    EXPECT_EQ(s.gridView().basis, Basis::Level3);
    s.showRateResults(false);
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 9, 1), "0.1");
}

TEST(MainSessionSave, SaveNoticeAndCloseWritesNamesAndPositionEvenWithoutSaving)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    typeLabour(s, 0, "12345");
    s.save();
    EXPECT_EQ(pf.ui.notices.back(), "保存しました。\n" + (pf.data() / "kanzai1.fda").string() + "|確認");
    EXPECT_FALSE(s.modified());

    pf.ui.texts.push_back("上水");
    s.treeRename(0);
    EXPECT_EQ(s.names().services[0], "上水");
    typeLabour(s, 0, "99999");
    // "戻る" keeps the window open: nothing is written.
    pf.ui.answers.push_back(Answer::Back);
    EXPECT_FALSE(s.close(Rect{10, 20, 1000, 700}));
    EXPECT_EQ(pf.ui.layoutWrites, 0);
    EXPECT_FALSE(fs::exists(pf.dir.path / "velmok.ini"));
    EXPECT_TRUE(s.modified());
    pf.ui.answers.push_back(Answer::No);
    EXPECT_TRUE(s.close(Rect{10, 20, 1000, 700})); // the question is answered "キャンセル"
    EXPECT_EQ(pf.ui.questions.size(), 2u);
    ServiceFile back;
    back.load(pf.data() / "kanzai1.fda");
    EXPECT_EQ(back.record(59).C(0).toString(), "12345");
    EXPECT_EQ(pf.ui.layoutWrites, 1);
    const auto conf = SettingsFile::read(pf.data() / "velmo_p.conf");
    ASSERT_TRUE(conf);
    EXPECT_EQ(conf->entries().size(), 10u);
    EXPECT_EQ(conf->value("[GROUP_NAME1]"), "上水");
    EXPECT_EQ(conf->value("[GROUP_NAME10]"), "冷媒");
    const IniFile ini = IniFile::read(pf.dir.path / "velmok.ini");
    EXPECT_EQ(ini.value("velmot_k", "Top"), "20");
    EXPECT_EQ(ini.value("velmot_k", "Height"), "700");

    // The next start reads the new name and the position.
    MainSession &next = pf.start();
    EXPECT_EQ(next.names().nodes[0], "上水");
    EXPECT_EQ(next.windowRect(), (Rect{10, 20, 1000, 700}));
}

TEST(MainSessionSave, CloseGoesOnWhenOnlyTheNamesCannotBeWritten)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    fs::remove_all(pf.data()); // the data folder is gone (a network drive went away)
    s.close(Rect{1, 2, 800, 600});
    ASSERT_EQ(pf.ui.notices.size(), 1u);
    EXPECT_NE(pf.ui.notices[0].find("velmo_p.conf"), std::string::npos) << pf.ui.notices[0];
    EXPECT_EQ(IniFile::read(pf.dir.path / "velmok.ini").value("velmot_k", "Width"), "800");

    // With unsaved changes and "実行", the failing save stops the close.
    MainSession &t = pf.start();
    typeLabour(t, 1, "5");
    fs::remove_all(pf.data());
    // "実行" to the save question, and again to overwriting the file that is gone.
    pf.ui.answers = {Answer::Yes, Answer::Yes};
    EXPECT_THROW(t.close(Rect{}), IoError);
    EXPECT_TRUE(t.modified());
}

TEST(MainSessionSave, FailedSaveKeepsTheDataModified)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    typeLabour(s, 1, "1");
    fs::remove_all(pf.data());
    pf.ui.answers.push_back(Answer::Yes); // overwrite the file that is gone: the write fails
    EXPECT_THROW(s.save(), IoError);
    EXPECT_TRUE(s.modified());
    EXPECT_TRUE(pf.ui.notices.empty());
}
