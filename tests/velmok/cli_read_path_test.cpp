// velmok-cli on the read path: a command that only reads never writes, anything but a price
// file is refused with a Japanese message naming it, output that does not reach its file is a
// failure, and --write never overwrites another program's change without --force.
#include "tests/common/held_writer.h"
#include "tests/velmok/cli_support.h"
#include "base/fileio.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

// Every command of velmok-cli that reads a price file, without --write.
std::vector<std::vector<std::string>> readingCommands(const fs::path &file, const fs::path &out)
{
    const std::string f = file.string();
    return {{"dump", f},
            {"calc", f},
            {"check", f},
            {"csv", f, "--pipe", "1"},
            {"xlsx", f, "--pipe", "1", (out / "p.xlsx").string()},
            {"pdf", f, (out / "p.pdf").string()},
            {"level", f, "--levels", "80,75,70,65,60"}};
}

} // namespace

TEST(CliReadPath, ReadingCommandsNeverCreateOrTouchAFileAndRefuseWhatIsNotOne)
{
    TempDir dir;
    const fs::path missing = dir.path / "missing.fda";
    for (const auto &args : readingCommands(missing, dir.path)) {
        SCOPED_TRACE(args[0]);
        const Result r = cli(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find(missing.string() + " がありません"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(missing));
    }
    EXPECT_EQ(cli({"calc", missing.string(), "--write"}).code, 2);
    EXPECT_FALSE(fs::exists(missing));

    fs::create_directory(dir.path / "folder.fda");
    ::mkfifo((dir.path / "fifo.fda").c_str(), 0600);
    const fs::path big = dir.path / "big.fda";
    std::ofstream(big) << "x";
    fs::resize_file(big, uintmax_t{1} << 30);
    for (const auto &[path, says] : std::vector<std::pair<fs::path, std::string>>{
             {dir.path / "folder.fda", "フォルダー"}, {dir.path / "fifo.fda", "名前付きパイプ"}, {big, "大きすぎます"}}) {
        for (auto args : readingCommands(path, dir.path)) {
            SCOPED_TRACE(args[0] + " " + path.string());
            const Result r = cli(args);
            EXPECT_EQ(r.code, 2);
            EXPECT_NE(r.err.find(path.string()), std::string::npos) << r.err;
            EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
        }
    }
    EXPECT_TRUE(fs::is_fifo(dir.path / "fifo.fda"));
    EXPECT_EQ(fs::file_size(big), uintmax_t{1} << 30);

    // A price file read by every command is left exactly as it was, its time included.
    const fs::path file = dir.path / "kanzai1.fda";
    ASSERT_EQ(cli({"new", file.string()}).code, 0);
    const std::string before = readWholeFile(file);
    const auto time = fs::last_write_time(file);
    for (const auto &args : readingCommands(file, dir.path))
        cli(args);
    EXPECT_EQ(readWholeFile(file), before);
    EXPECT_EQ(fs::last_write_time(file), time);
}

TEST(CliReadPath, OutputThatDoesNotReachItsFileIsAFailure)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    TempDir dir;
    const fs::path file = dir.path / "kanzai1.fda";
    ASSERT_EQ(cli({"new", file.string()}).code, 0);
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"dump", file.string()}, {"calc", file.string()}, {"csv", file.string(), "--pipe", "1"}}) {
        SCOPED_TRACE(args[0]);
        const Result r = runProgram(VELMO_CLI, args, "/dev/full");
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find("標準出力に書き込めません: ディスクの空き容量が足りません"), std::string::npos) << r.err;
    }
    // A refused write of the workbook names the file asked for, not a private folder.
    const Result r = cli({"xlsx", file.string(), "--pipe", "1", (dir.path / "no" / "p.xlsx").string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find((dir.path / "no" / "p.xlsx").string()), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("velmo-"), r.err.find(dir.path.filename().string())) << r.err; // no other temporary path
}

TEST(CliReadPath, WriteNeverOverwritesAnotherProgramsChangeWithoutForce)
{
    if (!strace())
        GTEST_SKIP() << "strace is not installed";
    TempDir dir;
    const fs::path file = dir.path / "kanzai1.fda";
    const fs::path theirs = dir.path / "theirs.fda";
    ServiceFile f;
    f.record(0).name.assignText("元の名前");
    f.save(file);
    f.record(0).name.assignText("ほかのプログラムの変更");
    f.save(theirs);
    const std::string changed = readWholeFile(theirs);

    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"calc", file.string(), "--write"},
          {"level", file.string(), "--levels", "80,75,70,65,60", "--write"}}) {
        SCOPED_TRACE(args[0]);
        ServiceFile().save(file); // the file as read: unnamed
        Result r = runWhileAnotherWrites(VELMO_CLI, args, file, theirs);
        EXPECT_EQ(r.code, 3) << r.err;
        EXPECT_NE(r.err.find(file.string() + " は、読み込んだ後にほかのプログラムで変更されています"), std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find("--force"), std::string::npos) << r.err;
        EXPECT_EQ(readWholeFile(file), changed);

        // --force writes what the command read and calculated even over a change that comes while
        // it writes (here while its rename is held).
        std::vector<std::string> forced = args;
        forced.push_back("--force");
        ServiceFile().save(file);
        r = whileHeldInRename(VELMO_CLI, forced, file, [&] { fs::copy_file(theirs, file, fs::copy_options::overwrite_existing); });
        EXPECT_EQ(r.code, 0) << r.err;
        ServiceFile back;
        back.load(file);
        EXPECT_EQ(back.record(0).name.text(), ""); // what the command read, calculated and written
    }
    EXPECT_EQ(cli({"calc", file.string(), "--force"}).code, 2); // --force only with --write
}
