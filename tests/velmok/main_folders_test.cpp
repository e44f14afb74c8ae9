// The two data-folder commands: saving into another folder and reading another folder.
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

TEST(MainFolders, SaveToFolderCopiesTheOtherServicesOnlyToAnotherFolder)
{
    ProgramFolder pf;
    MainSession &s = pf.start("2;1;");
    typeLabour(s, 2, "22222");
    pf.ui.folders.push_back(pf.data().string() + "/");
    s.folders().saveToFolder();
    EXPECT_EQ(s.dataFolder(), pf.data());

    const fs::path other = pf.dir.path / "backup";
    fs::create_directories(other);
    typeLabour(s, 2, "33333");
    fs::remove(pf.data() / "kanzai7.fda");
    pf.ui.folders.push_back(other.string());
    s.folders().saveToFolder();
    EXPECT_EQ(s.dataFolder(), other);
    EXPECT_FALSE(s.modified());
    EXPECT_EQ(pf.ui.notices.back(), "保存しました。\n" + (other / "kanzai2.fda").string() + "|確認");
    ServiceFile back;
    back.load(other / "kanzai2.fda");
    EXPECT_EQ(back.record(59).C(2).toString(), "33333");
    back.load(pf.data() / "kanzai2.fda");
    EXPECT_EQ(back.record(59).C(2).toString(), "22222");
    EXPECT_EQ(readWholeFile(other / "kanzai1.fda"), readWholeFile(pf.data() / "kanzai1.fda"));
    EXPECT_FALSE(fs::exists(other / "kanzai7.fda"));
    EXPECT_FALSE(fs::exists(other / "velmo_p.conf"));

    // Cancelling the folder dialog changes nothing.
    s.folders().saveToFolder();
    EXPECT_EQ(s.dataFolder(), other);
}

TEST(MainFolders, LoadFromFolderWithoutServiceFilesShowsEmptyPipes)
{
    ProgramFolder pf("net_velmok");
    MainSession &s = pf.start("4;3;");
    const fs::path empty = pf.dir.path / "empty";
    fs::create_directories(empty);
    pf.ui.folders.push_back(empty.string());
    pf.ui.answers.push_back(Answer::No);
    s.folders().loadFromFolder(true); // the offer of the initial data declined
    EXPECT_EQ(pf.ui.questions.back(),
              empty.string() + " にデータがありません。初期データを作成しますか？|実行|キャンセル");
    EXPECT_EQ(s.dataFolder(), empty);
    EXPECT_EQ(s.position().service, 3);
    EXPECT_EQ(s.position().pipe, 0);
    EXPECT_EQ(s.position().node, 64);
    EXPECT_TRUE(fs::exists(empty / "kanzai4.fda"));
    EXPECT_EQ(fs::file_size(empty / "kanzai4.fda"), 432000u);
    EXPECT_EQ(s.statusPanels()[0], "");
    EXPECT_EQ(velmo::rateGridText(s.gridView(), 1, 1), "0");
    const auto dat = SettingsFile::read(pf.dir.path / "ex_network_folder.dat");
    ASSERT_TRUE(dat);
    EXPECT_EQ(dat->value("[Folder_Name]"), empty.string());
    // The tree shows this folder's names, not the old folder's.
    EXPECT_EQ(s.names().nodes[1], "----");
    EXPECT_EQ(s.names().nodes[21 * 3 + 1], "----");
    EXPECT_FALSE(fs::exists(empty / "kanzai1.fda"));
}

TEST(MainFolders, AnEmptyFolderIsSeededFromTheTemplatesWhenAsked)
{
    ProgramFolder pf("net_velmok");
    MainSession &s = pf.start("4;3;");
    const fs::path empty = pf.dir.path / "empty";
    fs::create_directories(empty);
    pf.ui.folders.push_back(empty.string());
    pf.ui.answers.push_back(Answer::Yes);
    s.folders().loadFromFolder(false);
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(readWholeFile(empty / ("kanzai" + std::to_string(n) + ".fda")),
                  readWholeFile(pf.dir.path / "kanzai" / ("haikan" + std::to_string(n) + ".fda")))
            << n;
    EXPECT_EQ(s.names().nodes[21 * 3 + 1], "S4P1");
    EXPECT_EQ(s.statusPanels()[0], "S4P1");

    // A folder with service files is opened without the offer; a service without a file there
    // shows no pipe names.
    const fs::path some = pf.dir.path / "some";
    fs::create_directories(some);
    fs::copy_file(empty / "kanzai4.fda", some / "kanzai4.fda");
    const size_t asked = pf.ui.questions.size();
    pf.ui.folders.push_back(some.string());
    s.folders().loadFromFolder(false);
    EXPECT_EQ(pf.ui.questions.size(), asked);
    EXPECT_EQ(s.names().nodes[21 * 3 + 1], "S4P1");
    EXPECT_EQ(s.names().nodes[1], "----");
}

TEST(MainFolders, EditsStayToSaveWhenTheFolderChoiceGoesBackOrIsCancelled)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    typeLabour(s, 1, "12345");
    ASSERT_TRUE(s.modified());
    const std::string before = readWholeFile(pf.data() / "kanzai1.fda");
    // 戻る at the save question: no folder dialog, the edits as they were.
    pf.ui.answers.push_back(Answer::Back);
    s.folders().loadFromFolder(false);
    EXPECT_NE(pf.ui.questions.back().find("|実行|キャンセル|戻る"), std::string::npos) << pf.ui.questions.back();
    EXPECT_TRUE(pf.ui.prompts.empty());
    EXPECT_TRUE(s.modified());
    // キャンセル (not saved), then the folder dialog cancelled: nothing was read, and the edits
    // shown are still to be saved, so that closing asks about them.
    pf.ui.answers.push_back(Answer::No);
    s.folders().loadFromFolder(false);
    EXPECT_EQ(pf.ui.prompts.size(), 1u);
    EXPECT_TRUE(s.modified());
    EXPECT_EQ(readWholeFile(pf.data() / "kanzai1.fda"), before);
}
