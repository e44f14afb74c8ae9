// velmok installed in a read-only program folder shared by every user, and velmok opening a
// service file a file manager hands it.
#include "base/fileio.h"
#include "tests/common/installed_user.h"
#include "tests/velmok/program_folder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

void installPrintProgram(const fs::path &folder)
{
    const fs::path p = folder / "korrel";
    std::ofstream(p) << "#!/bin/sh\nexit 0\n";
    fs::permissions(p, fs::perms::owner_all);
}

} // namespace

TEST(InstalledVelmok, EachUserGetsOwnFoldersAndNothingIsWrittenBesideTheProgram)
{
    ProgramFolder pf;
    markInstalled(pf.dir.path);
    installPrintProgram(pf.dir.path);
    const auto before = folderListing(pf.dir.path);

    InstalledUser user;
    MainSession &s = pf.start();
    EXPECT_EQ(s.dataFolder(), user.data() / "ex_data");
    for (int n = 0; n < ServiceCount; ++n)
        EXPECT_TRUE(fs::is_regular_file(user.data() / "ex_data" / serviceFileName(n))) << n;
    EXPECT_EQ(s.position().service, 0);

    typeLabour(s, 2, "22222");
    s.save();
    EXPECT_EQ(pf.ui.notices.back(), "保存しました。\n" + (user.data() / "ex_data" / "kanzai1.fda").string() + "|確認");
    pf.ui.outputLevel = {basisAt(1), false, false, true};
    s.outputs().print();
    ASSERT_EQ(pf.ui.started.size(), 1u);
    EXPECT_EQ(pf.ui.started[0], (pf.dir.path / "korrel").string() + "|" + user.handoff().string());
    EXPECT_TRUE(s.close({10, 20, 900, 700}));

    ServiceFile saved;
    saved.load(user.data() / "ex_data" / "kanzai1.fda");
    EXPECT_EQ(saved.record(59).C(2).toString(), "22222");
    EXPECT_TRUE(fs::is_regular_file(user.settings() / "velmok.ini"));
    EXPECT_TRUE(fs::is_regular_file(user.handoff() / "print_Data.dat"));
    EXPECT_TRUE(fs::is_regular_file(user.handoff() / "Print.conf"));
    EXPECT_EQ(folderListing(pf.dir.path), before);

    // Another user starts with the templates, not with the first user's prices.
    InstalledUser other;
    MainSession &t = pf.start();
    EXPECT_EQ(t.dataFolder(), other.data() / "ex_data");
    EXPECT_NE(other.data(), user.data());
    ServiceFile seeded;
    seeded.load(other.data() / "ex_data" / "kanzai1.fda");
    EXPECT_EQ(seeded.record(59).C(2).toString(), "20000");
    EXPECT_EQ(folderListing(pf.dir.path), before);
}

TEST(InstalledVelmok, TheNetworkFolderIsRememberedInTheUsersSettings)
{
    ProgramFolder pf("net_velmok");
    markInstalled(pf.dir.path);
    InstalledUser user;
    MainSession &s = pf.start();
    const fs::path shared = user.home.path / "shared";
    fs::create_directories(shared);
    pf.ui.folders.push_back(shared);
    pf.ui.answers.push_back(Answer::Yes);
    s.folders().loadFromFolder(true);
    EXPECT_EQ(s.dataFolder(), shared);
    EXPECT_TRUE(fs::is_regular_file(user.settings() / "ex_network_folder.dat"));
    EXPECT_FALSE(fs::exists(pf.dir.path / "ex_network_folder.dat"));

    MainSession &again = pf.start();
    EXPECT_EQ(again.dataFolder(), shared);
}

TEST(VelmokFileArgument, AServiceFileGivenAloneIsOpenedInItsOwnFolder)
{
    ProgramFolder pf;
    const fs::path elsewhere = pf.dir.path / "見積 2026";
    fs::create_directories(elsewhere);
    fs::copy_file(pf.dir.path / "kanzai" / "haikan3.fda", elsewhere / "kanzai3.fda");

    MainSession &s = pf.start((elsewhere / "kanzai3.fda").string());
    EXPECT_EQ(s.dataFolder(), elsewhere);
    EXPECT_EQ(s.position().service, 2);
    EXPECT_EQ(s.position().pipe, 0);
    EXPECT_EQ(s.currentFilePath(), elsewhere / "kanzai3.fda");
    EXPECT_TRUE(pf.ui.notices.empty());
    EXPECT_FALSE(fs::exists(pf.data())); // the program's own data folder is not needed

    typeLabour(s, 2, "33333");
    s.save();
    EXPECT_EQ(pf.ui.notices.back(), "保存しました。\n" + (elsewhere / "kanzai3.fda").string() + "|確認");
    ServiceFile saved;
    saved.load(elsewhere / "kanzai3.fda");
    EXPECT_EQ(saved.record(59).C(2).toString(), "33333");
}

TEST(VelmokFileArgument, AnotherFileIsRefusedByNameAndTheDataFolderOpens)
{
    ProgramFolder pf;
    const fs::path other = pf.dir.path / "haikan3.fda";
    fs::copy_file(pf.dir.path / "kanzai" / "haikan3.fda", other);

    MainSession &s = pf.start(other.string());
    EXPECT_EQ(s.dataFolder(), pf.data());
    EXPECT_EQ(s.position().service, 0);
    ASSERT_EQ(pf.ui.notices.size(), 1u);
    EXPECT_EQ(pf.ui.notices[0], "ファイル " + other.string() +
                                    " は管種のファイル (kanzai1.fda … kanzai10.fda) ではないため開けません。"
                                    "データフォルダーの管種 1 を開きます。|確認");
}
