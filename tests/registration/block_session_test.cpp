// The block-editing session of the registration programs over a store held in memory.
#include "registration/core/block_session.h"
#include "base/currency.h"
#include "tests/common/fake_ui.h"

#include <gtest/gtest.h>

#include <array>

using namespace velmo;
using velmo::test::FakeUi;

namespace {

struct Rec {
    std::string name;
    Currency serial;
    int value = 0;
    bool operator==(const Rec &) const = default;
};
using Block = std::array<Rec, 3>;

struct MemoryStore : BlockStore<Block> {
    std::vector<Block> blocks = std::vector<Block>(BlocksPerFile);
    int saves = 0, swaps = 0;
    bool failSaves = false;
    std::vector<std::string> listNames() override
    {
        std::vector<std::string> n;
        for (const Block &b : blocks)
            n.push_back(b[0].name);
        return n;
    }
    Block load(int index) override
    {
        if (index < 0 || index >= BlocksPerFile)
            throw IoError("no block " + std::to_string(index));
        return blocks[index];
    }
    void save(int index, const Block &b, bool) override
    {
        if (failSaves)
            throw IoError("ファイル /x/kanzai1.fda に書き込めません");
        ++saves;
        blocks[index] = b;
    }
    void swap(int a, int b) override
    {
        ++swaps;
        std::swap(blocks[a], blocks[b]);
    }
    std::filesystem::path path() const override { return "/x/kanzai1.fda"; }
};

// A program on the shared session: it records its hooks and edits `value` of record 1.
struct Program : BlockSession<Block> {
    Program(UserInterface &ui, BlockStore<Block> &s) : BlockSession(ui, s) {}
    std::vector<std::string> calls;
    std::optional<std::string> nameGiven;
    std::string blockName() const override { return working()[0].name; }
    void blockRead() override { calls.push_back("read"); }
    void blockChosen() override { calls.push_back("chosen"); }
    void blockPasted() override { calls.push_back("pasted"); }
    void prepareSave() override { calls.push_back("prepare"); }
    void editName() override
    {
        calls.push_back("editName");
        if (nameGiven)
            workingBlock()[0].name = *nameGiven;
    }
    void edit(int v)
    {
        workingBlock()[1].value = v;
        setModified();
    }
    void start(const std::string &tag, int index)
    {
        setLaunch(tag, index);
        listNames();
        loadBlock(index);
    }
};

struct Fixture {
    FakeUi ui;
    MemoryStore store;
    Program p{ui, store};
    Fixture()
    {
        for (int i = 0; i < BlocksPerFile; ++i) {
            store.blocks[i][0].name = "block" + std::to_string(i);
            store.blocks[i][1].value = i;
            store.blocks[i][2].serial = Currency::fromInt(100 + i);
        }
    }
};

} // namespace

TEST(LaunchArgument, FieldsIndexNormalisationAndTheRepeatOfTheLastField)
{
    const LaunchArgument none = LaunchArgument::parse("", 2, 3);
    EXPECT_EQ(none.launchTag, "");
    EXPECT_EQ(none.blockIndex, 0);
    EXPECT_EQ(none.blockText, "0");
    EXPECT_EQ(none.dataPath, "");

    const LaunchArgument minusOne = LaunchArgument::parse("3;-1;", 2, 3);
    EXPECT_EQ(minusOne.launchTag, "3");
    EXPECT_EQ(minusOne.blockIndex, 0);
    EXPECT_EQ(minusOne.dataPath, "-1"); // the last field repeats; no such file, so the default

    EXPECT_EQ(LaunchArgument::parse("1;5;", 2, 3).dataPath, "5");
    EXPECT_EQ(LaunchArgument::parse("1;5;", 2, 3).blockIndex, 5);
    EXPECT_EQ(LaunchArgument::parse("1;x;", 2, 3).blockText, "0");
    EXPECT_EQ(LaunchArgument::parse("1;07;", 2, 3).blockText, "7");
    EXPECT_EQ(LaunchArgument::parse("1;20;", 2, 3).blockIndex, 0); // outside the file, and said
    EXPECT_EQ(LaunchArgument::parse("1;20;", 2, 3).refused, "コマンドラインの資材番号 20 はありません (0〜19)。資材 0 を開きます。");
    EXPECT_EQ(LaunchArgument::parse("1;2.5;", 2, 3).blockIndex, 0);
    EXPECT_EQ(LaunchArgument::parse("1;2.5;", 2, 3).refused, ""); // not a number: quietly block 0
    EXPECT_EQ(LaunchArgument::parse("3;-1;", 2, 3).refused, "");  // -1 means block 0
    EXPECT_NE(LaunchArgument::parse("1;-2;", 2, 3).refused, "");
    EXPECT_NE(LaunchArgument::parse("1;99999999999999999999;", 2, 3).refused, "");

    const LaunchArgument equipment = LaunchArgument::parse("1;5;1;;/data/a.dxa;", 2, 5, 3);
    EXPECT_EQ(equipment.blockIndex, 5);
    EXPECT_EQ(equipment.ductFlag, "1");
    EXPECT_EQ(equipment.dataPath, "/data/a.dxa");
    const LaunchArgument shortOne = LaunchArgument::parse("1;5;", 2, 5, 3);
    EXPECT_EQ(shortOne.ductFlag, "5");
    EXPECT_EQ(shortOne.dataPath, "5");
}

TEST(BlockSession, ListingGivesTheTagOneWhenItIsEmpty)
{
    Fixture f;
    f.p.start("", 2);
    EXPECT_EQ(f.p.launchTag(), "1");
    EXPECT_EQ(f.p.names().size(), 20u);
    EXPECT_EQ(f.p.names()[2], "block2");
    EXPECT_EQ(f.p.working()[1].value, 2);
    EXPECT_FALSE(f.p.modified());
    f.p.start("7", 0);
    EXPECT_EQ(f.p.launchTag(), "7");
}

TEST(BlockSession, ChoosingAsksToSaveThenReadsTheChosenOrTheSameBlock)
{
    Fixture f;
    f.p.start("1", 3);
    f.p.edit(33);
    f.ui.answers.push_back(Answer::Yes);
    f.p.beginChooseBlock();
    ASSERT_EQ(f.ui.questions.size(), 1u);
    EXPECT_EQ(f.ui.questions[0], "block3の変更を保存しますか？|実行|キャンセル|戻る");
    EXPECT_EQ(f.ui.defaultButtons[0], Answer::Yes); // saving loses nothing
    EXPECT_EQ(f.store.blocks[3][1].value, 33); // saved silently
    EXPECT_TRUE(f.ui.notices.empty());
    f.p.calls.clear();
    f.p.endChooseBlock(5);
    EXPECT_EQ(f.p.blockIndex(), 5);
    EXPECT_EQ(f.p.working()[1].value, 5);
    EXPECT_EQ(f.p.calls, (std::vector<std::string>{"read", "chosen"}));
    EXPECT_FALSE(f.p.modified());

    // Edits refused at the question are gone after a cancelled dialog: the block is read again.
    f.p.edit(55);
    f.ui.answers.push_back(Answer::No); // "キャンセル"
    EXPECT_TRUE(f.p.beginChooseBlock());
    f.p.endChooseBlock(std::nullopt);
    EXPECT_EQ(f.p.blockIndex(), 5);
    EXPECT_EQ(f.p.working()[1].value, 5);
    EXPECT_EQ(f.store.blocks[5][1].value, 5);

    // "戻る" keeps the block shown and its edits: the dialog does not open, nothing is read.
    f.p.edit(66);
    f.p.calls.clear();
    f.ui.answers.push_back(Answer::Back);
    EXPECT_FALSE(f.p.beginChooseBlock());
    EXPECT_EQ(f.ui.questions.back(), "block5の変更を保存しますか？|実行|キャンセル|戻る");
    EXPECT_TRUE(f.p.calls.empty());
    EXPECT_EQ(f.p.blockIndex(), 5);
    EXPECT_EQ(f.p.working()[1].value, 66);
    EXPECT_TRUE(f.p.modified());
    EXPECT_EQ(f.store.blocks[5][1].value, 5);
}

TEST(BlockSession, AnUnnamedBlockAsksForItsNameAndCountsAsModifiedOnlyOnceNamed)
{
    Fixture f;
    f.store.blocks[9][0].name = "";
    f.p.start("1", 0);
    f.p.beginChooseBlock();
    f.p.nameGiven = "新しい資材";
    f.p.endChooseBlock(9);
    EXPECT_EQ(f.p.calls.back(), "editName");
    EXPECT_EQ(f.p.working()[0].name, "新しい資材");
    EXPECT_TRUE(f.p.modified());
    // Cancelled name boxes leave the block as the file holds it: not modified, and the next
    // choice asks nothing about it (the fake fails on an unscripted question).
    f.p.nameGiven.reset();
    f.store.blocks[10][0].name = "";
    f.ui.answers.push_back(Answer::No);
    f.p.beginChooseBlock();
    f.p.endChooseBlock(10);
    EXPECT_FALSE(f.p.modified());
    const size_t asked = f.ui.questions.size();
    EXPECT_TRUE(f.p.beginChooseBlock());
    EXPECT_EQ(f.ui.questions.size(), asked);
    f.p.endChooseBlock(10);
    // Edited after all, the unnamed block is asked about by its number.
    f.p.edit(12);
    f.ui.answers.push_back(Answer::Back);
    EXPECT_FALSE(f.p.beginChooseBlock());
    EXPECT_EQ(f.ui.questions.back(), "名前のない資材 (ブロック 10)の変更を保存しますか？|実行|キャンセル|戻る");
}

TEST(BlockSession, MovesExchangeTwoBlocksAndRefuseTheImpossibleOnesWithoutTouchingTheFile)
{
    Fixture f;
    f.p.start("1", 0);
    f.p.edit(77); // dropped by a move, as the block is read again
    f.ui.answers.push_back(Answer::No); // not saved before choosing
    f.p.beginChooseBlock();
    const std::vector<Block> before = f.store.blocks;
    EXPECT_EQ(f.p.moveBlock(0, MoveDirection::Up), std::nullopt);
    EXPECT_EQ(f.p.moveBlock(19, MoveDirection::Down), std::nullopt);
    EXPECT_EQ(f.p.moveBlock(std::nullopt, MoveDirection::Down), std::nullopt);
    EXPECT_EQ(f.ui.beeps, 3);
    EXPECT_EQ(f.store.swaps, 0);
    EXPECT_EQ(f.store.blocks, before);
    EXPECT_EQ(f.p.working()[1].value, 77);

    EXPECT_EQ(f.p.moveBlock(3, MoveDirection::Up), 2);
    EXPECT_EQ(f.store.swaps, 1);
    EXPECT_EQ(f.store.blocks[2], before[3]);
    EXPECT_EQ(f.store.blocks[3], before[2]);
    EXPECT_EQ(f.p.blockIndex(), 2);
    EXPECT_EQ(f.p.working()[0].name, "block3");
    EXPECT_FALSE(f.p.modified());
    EXPECT_EQ(f.p.names()[2], "block3");
    EXPECT_EQ(f.p.names()[3], "block2");
}

TEST(BlockSession, ClosingSavesOnlyWhenAskedAndAFailedSaveKeepsTheEdits)
{
    Fixture f;
    f.p.start("1", 4);
    f.p.closeQuery(); // not modified: nothing asked
    EXPECT_TRUE(f.ui.questions.empty());
    f.p.edit(44);
    f.ui.answers.push_back(Answer::Back);
    EXPECT_FALSE(f.p.closeQuery()); // "戻る": stays open, nothing changed
    EXPECT_EQ(f.ui.questions.back(), "block4の変更を保存しますか？|実行|キャンセル|戻る");
    EXPECT_TRUE(f.p.modified());
    EXPECT_EQ(f.p.working()[1].value, 44);
    f.ui.answers.push_back(Answer::No);
    EXPECT_TRUE(f.p.closeQuery()); // "キャンセル"
    EXPECT_EQ(f.store.saves, 0);
    f.p.edit(45);
    f.store.failSaves = true;
    f.ui.answers.push_back(Answer::Yes);
    EXPECT_THROW(f.p.closeQuery(), IoError);
    EXPECT_TRUE(f.p.modified());
    f.store.failSaves = false;
    f.p.saveBlock(false);
    EXPECT_EQ(f.ui.notices.back(), "block4を登録しました。|確認");
    EXPECT_EQ(f.store.blocks[4][1].value, 45);
    EXPECT_FALSE(f.p.modified());
}

TEST(BlockSession, ABlockThatCouldNotBeReadIsNeverSaved)
{
    Fixture f;
    Program p(f.ui, f.store);
    EXPECT_THROW(p.loadBlock(25), IoError);
    EXPECT_FALSE(p.blockLoaded());
    EXPECT_THROW(p.saveBlock(true), IoError);
    EXPECT_EQ(f.store.saves, 0);
    // A failed read of another block keeps the one being edited.
    p.loadBlock(6);
    EXPECT_THROW(p.loadBlock(30), IoError);
    EXPECT_EQ(p.blockIndex(), 6);
    EXPECT_EQ(p.working()[1].value, 6);
}

TEST(BlockSession, CopyAndPasteGoThroughTheBlockClipboardWithSerialZero)
{
    Fixture f;
    f.p.start("1", 8);
    EXPECT_EQ(f.p.clipboard(), Block{}); // empty at start
    f.p.copyAll();
    EXPECT_EQ(f.p.clipboard()[1].value, 8);
    EXPECT_EQ(f.p.clipboard()[2].serial, Currency());
    f.p.beginChooseBlock();
    f.p.endChooseBlock(11);
    f.p.pasteAll();
    EXPECT_EQ(f.p.working()[0].name, "block8");
    EXPECT_EQ(f.p.working()[2].serial, Currency());
    EXPECT_EQ(f.p.calls.back(), "pasted");
}
