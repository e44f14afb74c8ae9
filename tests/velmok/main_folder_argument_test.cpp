// velmok started on a folder: the person is told, and the data folder's service 1 opens.
#include "tests/velmok/program_folder.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

TEST(MainFolderArgument, AFolderGivenAloneIsSaidAndServiceOneOpens)
{
    ProgramFolder folder;
    const fs::path given = folder.dir.path / "どこか";
    fs::create_directory(given);
    folder.ui.expectNotice(given.string() + " はファイルではなくフォルダーです。データフォルダーの管種 1 を開きます。|確認");
    MainSession &s = folder.start(given.string());
    EXPECT_EQ(s.statusPanels()[5], folder.data().string());
    EXPECT_EQ(s.statusPanels()[6], "/kanzai1.fda");
}
