#include "base/fileio.h"
#include "registration/core/block_session.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

TEST(LaunchArgument, AFileArgumentOpensBlockZeroOfThatFileAndFieldsKeepTheirMeaning)
{
    TempDir dir;
    const fs::path file = dir.path / "kanzai3.fda";
    writeFileAtomically(file, "x");

    LaunchArgument a = LaunchArgument::parse(file.string(), 2, 3);
    EXPECT_EQ(a.dataPath, file.string());
    EXPECT_TRUE(a.pathGiven);
    EXPECT_EQ(a.blockIndex, 0);
    EXPECT_EQ(a.launchTag, "");
    EXPECT_EQ(a.refused, "");

    a = LaunchArgument::parse("7;5;" + file.string() + ";", 2, 3);
    EXPECT_EQ(a.launchTag, "7");
    EXPECT_EQ(a.blockIndex, 5);
    EXPECT_EQ(a.dataPath, file.string());

    // A text without ";" that names no file, or a folder, is still the path meant: the program
    // then says why it cannot open it, rather than opening its default file without a word.
    for (const fs::path &p : {dir.path / "kanzai4.fda", dir.path}) {
        a = LaunchArgument::parse(p.string(), 2, 3);
        EXPECT_EQ(a.launchTag, "");
        EXPECT_EQ(a.dataPath, p.string());
        EXPECT_TRUE(a.pathGiven);
    }
}
