// Where a program's files live, portable and installed, and the single file argument of a file
// manager.
#include "base/errors.h"
#include "base/fileio.h"
#include "base/program_homes.h"
#include "tests/common/installed_user.h"
#include "tests/common/temp_dir.h"

#include <gtest/gtest.h>

#include <map>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

EnvironmentLookup environment(std::map<std::string, std::string> values)
{
    return [values](const char *name) -> std::optional<std::string> {
        const auto it = values.find(name);
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
}

} // namespace

TEST(ProgramHomes, APortableProgramKeepsEverythingBesideItselfWhateverTheEnvironment)
{
    TempDir program;
    const ProgramHomes h = homesOf(program.path, environment({{"XDG_DATA_HOME", "/elsewhere"}}));
    EXPECT_FALSE(h.installed);
    EXPECT_EQ(h.program, program.path);
    EXPECT_EQ(h.data, program.path);
    EXPECT_EQ(h.settings, program.path);
    EXPECT_EQ(h.handoff, program.path);
    // Without HOME a portable program still starts: nothing of the user is needed.
    EXPECT_NO_THROW(homesOf(program.path, environment({})));
}

TEST(ProgramHomes, AnInstalledProgramUsesTheUsersFoldersByTheXdgRules)
{
    TempDir program;
    markInstalled(program.path);

    ProgramHomes h = homesOf(program.path, environment({{"HOME", "/home/aoki"}}));
    EXPECT_TRUE(h.installed);
    EXPECT_EQ(h.program, program.path);
    EXPECT_EQ(h.data, fs::path("/home/aoki/.local/share/velmaro"));
    EXPECT_EQ(h.settings, fs::path("/home/aoki/.config/velmaro"));
    EXPECT_EQ(h.handoff, fs::path("/home/aoki/.cache/velmaro"));

    h = homesOf(program.path, environment({{"HOME", "/home/aoki"},
                                           {"XDG_DATA_HOME", "/d"},
                                           {"XDG_CONFIG_HOME", "/c"},
                                           {"XDG_CACHE_HOME", "/k"},
                                           {"XDG_RUNTIME_DIR", "/run/user/1000"}}));
    EXPECT_EQ(h.data, fs::path("/d/velmaro"));
    EXPECT_EQ(h.settings, fs::path("/c/velmaro"));
    EXPECT_EQ(h.handoff, fs::path("/run/user/1000/velmaro"));

    // Empty and relative values are ignored, as the XDG rules say.
    h = homesOf(program.path, environment({{"HOME", "/home/aoki"},
                                           {"XDG_DATA_HOME", ""},
                                           {"XDG_CONFIG_HOME", "relative"},
                                           {"XDG_RUNTIME_DIR", "run"},
                                           {"XDG_CACHE_HOME", "/k"}}));
    EXPECT_EQ(h.data, fs::path("/home/aoki/.local/share/velmaro"));
    EXPECT_EQ(h.settings, fs::path("/home/aoki/.config/velmaro"));
    EXPECT_EQ(h.handoff, fs::path("/k/velmaro"));
}

TEST(ProgramHomes, AnInstalledProgramWithoutAHomeSaysSoInsteadOfWritingBesideItself)
{
    TempDir program;
    markInstalled(program.path);
    try {
        homesOf(program.path, environment({{"HOME", "relative/home"}}));
        FAIL() << "no error";
    } catch (const IoError &e) {
        EXPECT_EQ(std::string(e.what()), "ユーザーのフォルダーが決まりません: XDG_DATA_HOME も HOME も絶対パスで設定されていません");
    }
}

TEST(ProgramHomes, UserFoldersAreMadeForAnInstalledProgramOnlyAndTheHandoffFolderIsPrivate)
{
    TempDir program;
    InstalledUser user;
    makeUserFolders(homesOf(program.path));
    EXPECT_FALSE(fs::exists(user.data()));

    markInstalled(program.path);
    const ProgramHomes h = homesOf(program.path);
    makeUserFolders(h);
    EXPECT_TRUE(fs::is_directory(user.data()));
    EXPECT_TRUE(fs::is_directory(user.settings()));
    EXPECT_EQ(fs::status(user.handoff()).permissions() & fs::perms::all, fs::perms::owner_all);
    makeUserFolders(h); // again: nothing to do

    // A file where a folder belongs is named, not written into.
    fs::remove_all(user.settings());
    writeFileAtomically(user.settings(), "x");
    try {
        makeUserFolders(h);
        FAIL() << "no error";
    } catch (const IoError &e) {
        EXPECT_EQ(std::string(e.what()),
                  "フォルダー " + user.settings().string() + " を作れません: 同じ名前のファイルがあります");
    }
}

TEST(ProgramHomes, OnlyASingleArgumentNamingAnExistingFileIsAFileArgument)
{
    TempDir dir;
    const fs::path file = dir.path / "管材 単価.fda";
    writeFileAtomically(file, "x");
    EXPECT_TRUE(isFileArgument(file.string()));
    EXPECT_FALSE(isFileArgument(""));
    EXPECT_FALSE(isFileArgument(dir.path.string()));                   // a folder
    EXPECT_FALSE(isFileArgument((dir.path / "missing.fda").string())); // no such file
    EXPECT_FALSE(isFileArgument(file.string() + ";"));                 // the fields of a calling program
    EXPECT_FALSE(isFileArgument("1;3;" + file.string() + ";"));
}
