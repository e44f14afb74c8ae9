// torvik started by a file manager on one price file, and installed for many users.
#include "tests/common/installed_user.h"
#include "tests/torvik/torvik_fixture.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

TEST(TorvikHomes, AFileGivenAloneIsEditedThereFromBlockZero)
{
    TorvikFixture f;
    const fs::path other = f.dir.path / "仕入先 2026.fda";
    fs::copy_file(f.data(), other);

    TorvikSession &s = f.open(other.string());
    EXPECT_EQ(s.dataPath(), other);
    EXPECT_EQ(s.statusPanels(), (std::array<std::string, 4>{"1", "0", "", other.string()})); // no launch tag: "1", as without argument
    EXPECT_EQ(s.text(BlockText::Name), "管0");
    EXPECT_TRUE(f.ui.notices.empty());
}

TEST(TorvikHomes, InstalledTheDefaultFileIsTheUsersOwn)
{
    TorvikFixture f(false);
    markInstalled(f.dir.path);
    InstalledUser user;
    const fs::path own = user.data() / "ex_data" / "kanzai1.fda";
    fs::create_directories(own.parent_path());
    seedPipeFile(own);
    const auto before = folderListing(f.dir.path);

    TorvikSession &s = f.open();
    EXPECT_EQ(s.dataPath(), own);
    EXPECT_EQ(s.text(BlockText::Name), "管0");
    EXPECT_EQ(folderListing(f.dir.path), before);
}

TEST(TorvikHomes, InstalledANewUsersFolderIsSeededFromTheTemplatesAsVelmokDoes)
{
    TorvikFixture f(false);
    fs::create_directories(f.dir.path / "kanzai");
    seedPipeFile(f.dir.path / "kanzai" / "haikan1.fda");
    markInstalled(f.dir.path);
    InstalledUser user;

    TorvikSession &s = f.open();
    const fs::path own = user.data() / "ex_data" / "kanzai1.fda";
    EXPECT_EQ(s.dataPath(), own);
    EXPECT_EQ(readWholeFile(own), readWholeFile(f.dir.path / "kanzai" / "haikan1.fda"));
    EXPECT_EQ(s.text(BlockText::Name), "管0");
}

TEST(TorvikHomes, PortableAFirstStartSeedsTheDataFolderFromTheTemplates)
{
    TorvikFixture f(false);
    fs::create_directories(f.dir.path / "kanzai");
    seedPipeFile(f.dir.path / "kanzai" / "haikan1.fda");
    fs::remove_all(f.dir.path / "ex_data");

    TorvikSession &s = f.open();
    EXPECT_EQ(s.dataPath(), f.data());
    EXPECT_EQ(readWholeFile(f.data()), readWholeFile(f.dir.path / "kanzai" / "haikan1.fda"));
    EXPECT_EQ(s.text(BlockText::Name), "管0");
}
