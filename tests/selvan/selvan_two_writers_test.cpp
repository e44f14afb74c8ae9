// Two writers of ours on one equipment file at once (selvan-cli held in its rename inside the
// write lock, and a second selvan-cli or selvan's session), a read-only file in selvan, and the
// JSON of selvan-cli for a Shift-JIS file name.
#include "tests/common/held_writer.h"
#include "tests/selvan/selvan_folder.h"

#include "base/errors.h"
#include "base/fileio.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace velmo;
using namespace velmo::test;

namespace {

const std::string SelvanCli = VELMO_SELVAN_CLI;

bool contains(const std::string &s, const std::string &part) { return s.find(part) != std::string::npos; }

// Blocks 0 … 5 named "器具<b>", list price of row 0: 1000·(b+1).
void seedEquipment(const fs::path &p)
{
    createEquipmentFile(p);
    std::vector<std::pair<int, EquipmentBlock>> blocks;
    for (int b = 0; b < 6; ++b) {
        EquipmentBlock block = readEquipmentBlock(p, b);
        block[0].name.assignText("器具" + std::to_string(b));
        block[0].caption.assignText("15A");
        block[0].values[materialSlot(Basis::List)] = Currency::fromInt(1000 * (b + 1));
        blocks.emplace_back(b, block);
    }
    writeEquipmentBlocks(p, blocks);
}

Currency listPrice(const fs::path &p, int block) { return readEquipmentBlock(p, block)[0].values[materialSlot(Basis::List)]; }

std::vector<std::string> revise(const fs::path &p, int block, const char *percent)
{
    return {"revise", p.string(), "--block", std::to_string(block), "--percent", percent, "--write"};
}

} // namespace

TEST(SelvanTwoWriters, TwoSelvanCliKeepBothBlocksOrRefuseTheSecondOnTheSameBlock)
{
    ASSERT_TRUE(strace()) << "strace is needed to hold a writer in its rename";
    TempDir dir;
    const fs::path p = dir.path / "kigu1.dxa";
    seedEquipment(p);
    Result second;
    Result first = whileHeldInRename(SelvanCli, revise(p, 0, "10"), p, [&] { second = runProgram(SelvanCli, revise(p, 2, "10")); });
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(second.code, 0) << second.err;
    EXPECT_EQ(listPrice(p, 0), Cur("1100"));
    EXPECT_EQ(listPrice(p, 2), Cur("3300")) << "the second writer's block was lost";

    first = whileHeldInRename(SelvanCli, revise(p, 3, "10"), p, [&] { second = runProgram(SelvanCli, revise(p, 3, "-10")); });
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(second.code, 3) << second.err;
    EXPECT_EQ(listPrice(p, 3), Cur("4400"));
}

TEST(SelvanTwoWriters, SelvansRegistrationWaitsForSelvanCliAndMergesOrAsks)
{
    ASSERT_TRUE(strace());
    SelvanFolder f;
    const fs::path p = f.dir.path / "kigu1.dxa";
    seedEquipment(p);
    auto s = f.start("1;4;0;;" + p.string() + ";");
    typeCell(*s, 2, 1, "7000");
    f.ui.expectNotice("器具4を登録しました。|確認");
    const Result first = whileHeldInRename(SelvanCli, revise(p, 1, "10"), p, [&] { s->registerClicked(); });
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(listPrice(p, 1), Cur("2200")) << "selvan-cli's block was lost";
    EXPECT_FALSE(s->modified());
    const Currency registered = listPrice(p, 4);

    // The same block: the question comes after the wait; キャンセル keeps the file and the edits.
    typeCell(*s, 2, 1, "8000");
    f.ui.answers = {Answer::No};
    const Result again =
        whileHeldInRename(SelvanCli, revise(p, 4, "10"), p, [&] { EXPECT_THROW(s->registerClicked(), IoError); });
    EXPECT_EQ(again.code, 0) << again.err;
    ASSERT_EQ(f.ui.questions.size(), 1u);
    EXPECT_TRUE(contains(f.ui.questions[0], "変更されています")) << f.ui.questions[0];
    EXPECT_NE(listPrice(p, 4), registered);
    EXPECT_TRUE(s->modified());
}

TEST(SelvanReadOnly, TheStatusBarSaysSoAndRegistrationIsRefusedKeepingTheEdits)
{
    SelvanFolder f;
    const fs::path p = f.dir.path / "kigu1.dxa";
    seedEquipment(p);
    fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string before = readWholeFile(p);
    const Result cli = runProgram(SelvanCli, revise(p, 0, "10"));
    EXPECT_EQ(cli.code, 2);
    EXPECT_TRUE(contains(cli.err, "ファイル " + p.string() + " は読み取り専用です")) << cli.err;

    auto s = f.start("1;4;0;;" + p.string() + ";");
    EXPECT_EQ(s->statusPanels()[3], "[読み取り専用] " + p.string());
    typeCell(*s, 2, 1, "7000");
    try {
        s->registerClicked();
        ADD_FAILURE() << "a read-only file was written";
    } catch (const IoError &e) {
        EXPECT_EQ(std::string(e.what()), "ファイル " + p.string() + " は読み取り専用です");
    }
    EXPECT_TRUE(s->modified());
    EXPECT_EQ(readWholeFile(p), before);
}

TEST(SelvanCliJson, AShiftJisListNameIsValidUtf8WithItsBytesBeside)
{
    TempDir dir;
    const fs::path p = dir.path / "kigu1.dxa";
    seedEquipment(p);
    const fs::path list = dir.path / "\x89\xbf\x8a\x69.csv"; // 価格.csv in Shift-JIS
    std::ofstream(list, std::ios::binary) << "15A,1234\n";
    const Result r = runProgram(SelvanCli, {"import", p.string(), "--block", "0", list.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    TempDir io;
    std::ofstream(io.path / "out.json", std::ios::binary) << r.out;
    const Result parsed = runProgram(
        "python3", {"-c",
                    "import json,sys\nd = json.loads(open(sys.argv[1], 'rb').read().decode('utf-8', 'strict'))\n"
                    "print(d['list'])\nprint(bytes.fromhex(d['list_path_bytes']) == sys.argv[2].encode('utf-8', 'surrogateescape'))\n",
                    (io.path / "out.json").string(), list.string()});
    ASSERT_EQ(parsed.code, 0) << parsed.err;
    EXPECT_EQ(parsed.out, (dir.path / "価格.csv").string() + "\nTrue\n");
}
