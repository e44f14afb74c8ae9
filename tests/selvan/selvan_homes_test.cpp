// selvan started by a file manager on one equipment file, and installed for many users.
#include "pricefile/equipment_file.h"
#include "tests/common/installed_user.h"
#include "selvan/core/selvan_texts.h"
#include "tests/selvan/selvan_folder.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

TEST(SelvanHomes, AFileGivenAloneIsEditedThereFromBlockZeroInThePipingEdition)
{
    SelvanFolder f;
    const fs::path other = f.dir.path / "機器 2026.dxa";
    createEquipmentFile(other);

    auto s = f.start(other.string());
    EXPECT_EQ(s->dataPath(), other);
    EXPECT_EQ(s->statusPanels(), (std::array<std::string, 4>{"1", "0", "", other.string()})); // no launch tag: "1", as without argument
    EXPECT_EQ(s->titleStrip(), selvan::PipingTitle);
    EXPECT_FALSE(fs::exists(f.defaultFile()));
    EXPECT_TRUE(f.ui.notices.empty());
}

TEST(SelvanHomes, InstalledTheDataFolderIsMadeInTheUsersHome)
{
    SelvanFolder f;
    markInstalled(f.dir.path);
    InstalledUser user;
    const auto before = folderListing(f.dir.path);

    auto s = f.start();
    EXPECT_EQ(s->dataPath(), user.data() / "dx_data" / "kigu1.dxa");
    EXPECT_TRUE(fs::is_directory(user.data() / "dx_data"));
    EXPECT_EQ(folderListing(f.dir.path), before);
}
