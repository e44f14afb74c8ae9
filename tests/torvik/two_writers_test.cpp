// Two writers of ours on one pipe price file at once: torvik-cli, velmok-cli, torvik's session
// and velmok's session. The first is held in its rename inside the write lock while the second
// writes: changes to other blocks are both kept, a change to the same block (or any change
// under a whole-file writer) refuses the second with status 3 or the save question.
// Also a read-only file, which no writer replaces, root or not.
#include "tests/common/held_writer.h"
#include "tests/velmok/program_folder.h"
#include "tests/torvik/torvik_fixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace velmo;
using namespace velmo::test;

namespace {

const std::string TorvikCli = VELMO_TORVIK_CLI;
const std::string VelmokCli = (fs::path(VELMO_TORVIK_CLI).parent_path() / "velmok-cli").string();

std::vector<std::string> revise(const fs::path &file, int block, const char *percent)
{
    return {"revise", file.string(), "--block", std::to_string(block), "--percent", percent, "--write"};
}

std::vector<std::string> reviseLabour(const fs::path &file, int pipe)
{
    return {"revise-labour", file.string(), "--pipe", std::to_string(pipe + 1), "--percent", "10", "--write"};
}

ino_t inodeOf(const fs::path &p)
{
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_ino : 0;
}

bool contains(const std::string &s, const std::string &part) { return s.find(part) != std::string::npos; }

// The list price of the first size row of block `pipe`: the seeded file has (100·(pipe+1))·10.
Currency listPrice(const TorvikFixture &f, int pipe) { return f.onDisk(pipe)[0].A(6); }

} // namespace

TEST(TwoWriters, TwoTorvikCliKeepBothBlocksOrRefuseTheSecondOnTheSameBlock)
{
    ASSERT_TRUE(strace()) << "strace is needed to hold a writer in its rename";
    TorvikFixture f;
    Result second;
    Result first = whileHeldInRename(TorvikCli, revise(f.data(), 0, "10"), f.data(),
                                     [&] { second = runProgram(TorvikCli, revise(f.data(), 2, "10")); });
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(second.code, 0) << second.err;
    EXPECT_EQ(listPrice(f, 0), Cur("1100"));
    EXPECT_EQ(listPrice(f, 2), Cur("3300")) << "the second writer's block was lost";
    EXPECT_FALSE(fs::exists(f.dir.path / "ex_data" / ".kanzai1.fda.lock"));

    // Both read block 3 as 4000: the second finds it changed under the lock and writes nothing.
    first = whileHeldInRename(TorvikCli, revise(f.data(), 3, "10"), f.data(),
                              [&] { second = runProgram(TorvikCli, revise(f.data(), 3, "-10")); });
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(second.code, 3) << second.err;
    EXPECT_TRUE(contains(second.err, "変更されています")) << second.err;
    EXPECT_TRUE(contains(second.err, "--force")) << second.err;
    EXPECT_EQ(listPrice(f, 3), Cur("4400"));
    EXPECT_EQ(listPrice(f, 2), Cur("3300"));
}

TEST(TwoWriters, VelmokCliIsAWholeFileWriterThatTorvikCliMergesIntoAndThatRefusesAfterIt)
{
    ASSERT_TRUE(strace());
    TorvikFixture f;
    // What velmok-cli alone makes of pipe 6.
    const fs::path alone = f.dir.path / "alone.fda";
    fs::copy_file(f.data(), alone);
    ASSERT_EQ(runProgram(VelmokCli, reviseLabour(alone, 5)).code, 0);
    const std::string velmoks = readWholeFile(alone).substr(5 * PipeBlockBytes, PipeBlockBytes);

    // velmok-cli held: torvik-cli waits, then writes its block into velmok's file.
    Result second;
    Result first = whileHeldInRename(VelmokCli, reviseLabour(f.data(), 5), f.data(),
                                     [&] { second = runProgram(TorvikCli, revise(f.data(), 2, "10")); });
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(second.code, 0) << second.err;
    EXPECT_EQ(readWholeFile(f.data()).substr(5 * PipeBlockBytes, PipeBlockBytes), velmoks) << "velmok's change was lost";
    EXPECT_EQ(listPrice(f, 2), Cur("3300"));

    // torvik-cli held: velmok-cli, which writes the whole file, refuses.
    const std::string before = readWholeFile(f.data());
    first = whileHeldInRename(TorvikCli, revise(f.data(), 0, "10"), f.data(),
                              [&] { second = runProgram(VelmokCli, reviseLabour(f.data(), 7)); });
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(second.code, 3) << second.err;
    EXPECT_EQ(listPrice(f, 0), Cur("1100"));
    EXPECT_EQ(readWholeFile(f.data()).substr(PipeBlockBytes), before.substr(PipeBlockBytes));
}

TEST(TwoWriters, TorviksRegistrationWaitsForTorvikCliAndMergesOrAsks)
{
    ASSERT_TRUE(strace());
    TorvikFixture f;
    TorvikSession &s = f.open("1;2;");
    f.type(1, 1, "2000");
    f.ui.expectNotice("管2を登録しました。|確認");
    const Result first = whileHeldInRename(TorvikCli, revise(f.data(), 0, "10"), f.data(), [&] { s.registerBlock(); });
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(listPrice(f, 0), Cur("1100")) << "torvik-cli's block was lost";
    EXPECT_EQ(listPrice(f, 2), Cur("2000"));
    EXPECT_FALSE(s.modified());

    // The same block: the question comes after the wait; キャンセル keeps the file and the edits.
    f.type(1, 1, "2500");
    f.ui.answers = {Answer::No};
    const Result again = whileHeldInRename(TorvikCli, revise(f.data(), 2, "10"), f.data(),
                                           [&] { EXPECT_THROW(s.registerBlock(), IoError); });
    EXPECT_EQ(again.code, 0) << again.err;
    ASSERT_EQ(f.ui.questions.size(), 1u);
    EXPECT_TRUE(contains(f.ui.questions[0], "変更されています")) << f.ui.questions[0];
    EXPECT_EQ(listPrice(f, 2), Cur("2200"));
    EXPECT_TRUE(s.modified());
    EXPECT_EQ(s.working()[0].A(6), Cur("2500"));
}

TEST(TwoWriters, VelmoksSaveAfterTorvikCliAsksAndKeepsItsEdits)
{
    ASSERT_TRUE(strace());
    ProgramFolder folder;
    MainSession &v = folder.start("1;1;");
    const fs::path file = folder.data() / "kanzai1.fda";
    SettingsControls c = v.settingsControls();
    c.percent[2] = Cur("50");
    v.applySettings(c);
    ASSERT_TRUE(v.modified());
    folder.ui.answers = {Answer::No};
    Result first = whileHeldInRename(TorvikCli, revise(file, 4, "10"), file, [&] { EXPECT_THROW(v.save(), IoError); });
    EXPECT_EQ(first.code, 0) << first.err;
    ASSERT_EQ(folder.ui.questions.size(), 1u);
    EXPECT_TRUE(contains(folder.ui.questions[0], "変更されています")) << folder.ui.questions[0];
    EXPECT_TRUE(v.modified());
    const std::string torviks = readWholeFile(file);

    // 実行 writes velmok's file over it, as the person said.
    folder.ui.answers = {Answer::Yes};
    folder.ui.expectNotice("保存しました。\n" + file.string() + "|確認");
    v.save();
    EXPECT_NE(readWholeFile(file), torviks);
    EXPECT_FALSE(v.modified());
}

TEST(ReadOnlyFile, NoWriterReplacesItAndTheWindowsSayItIsReadOnly)
{
    TorvikFixture f;
    fs::permissions(f.data(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string before = readWholeFile(f.data());
    const ino_t inode = inodeOf(f.data());
    const std::string refusal = "ファイル " + f.data().string() + " は読み取り専用です";

    // The command lines, as the file's owner (root included: the mode bits decide).
    for (const auto &[program, args] : {std::pair{TorvikCli, revise(f.data(), 0, "10")},
                                        std::pair{VelmokCli, reviseLabour(f.data(), 0)}}) {
        const Result r = runProgram(program, args);
        EXPECT_EQ(r.code, 2) << program << r.err;
        EXPECT_TRUE(contains(r.err, refusal)) << r.err;
    }
    // As another user in a folder everyone may write, a file of the owner's with 0644.
    if (::geteuid() == 0) {
        fs::permissions(f.dir.path, fs::perms::all);
        fs::permissions(f.dir.path / "ex_data", fs::perms::all);
        fs::permissions(f.data(), fs::perms::owner_write, fs::perm_options::add);
        const Result r = runShell("setpriv --reuid=65534 --regid=65534 --clear-groups " +
                                  commandLine(TorvikCli, revise(f.data(), 0, "10")));
        EXPECT_EQ(r.code, 2) << r.err;
        EXPECT_TRUE(contains(r.err, refusal)) << r.err;
        fs::permissions(f.data(), fs::perms::owner_write, fs::perm_options::remove);
    }
    EXPECT_EQ(readWholeFile(f.data()), before);
    EXPECT_EQ(inodeOf(f.data()), inode);

    // torvik: read-only since it read the block; 登録 refused with the same words, edits kept.
    f.open("1;1;");
    TorvikSession &t = *f.s;
    EXPECT_EQ(t.statusPanels()[3], "[読み取り専用] " + f.data().string());
    f.type(1, 1, "2000");
    try {
        t.registerBlock();
        ADD_FAILURE() << "a read-only file was written";
    } catch (const IoError &e) {
        EXPECT_EQ(std::string(e.what()), refusal);
    }
    EXPECT_TRUE(t.modified());
    EXPECT_EQ(t.working()[0].A(6), Cur("2000"));

    // velmok on the same file: the status bar says so and 保存 is refused, the edits stay.
    ProgramFolder folder;
    MainSession &v = folder.start("1;1;");
    const fs::path vfile = folder.data() / "kanzai1.fda";
    EXPECT_EQ(v.statusPanels()[6].find("読み取り専用"), std::string::npos);
    fs::permissions(vfile, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    MainSession &w = folder.start("1;1;");
    EXPECT_NE(w.statusPanels()[6].find("読み取り専用"), std::string::npos) << w.statusPanels()[6];
    SettingsControls c = w.settingsControls();
    c.percent[2] = Cur("50");
    w.applySettings(c);
    EXPECT_THROW(w.save(), IoError);
    EXPECT_TRUE(w.modified());
    fs::permissions(vfile, fs::perms::owner_write, fs::perm_options::add);
    folder.ui.expectNotice("保存しました。\n" + vfile.string() + "|確認");
    w.save();
}
