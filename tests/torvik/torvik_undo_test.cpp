// 元に戻す and やり直し in the pipe registration program: every kind of change of the block is
// one step, a hundred steps go back and forth byte for byte, and the history belongs to the block.
#include "tests/common/block_bytes.h"
#include "tests/common/history_walk.h"
#include "tests/torvik/torvik_fixture.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

namespace {

// What undo restores: the block's bytes and what the controls show beside them.
std::string stateOf(const TorvikSession &s)
{
    std::string state = blockBytes(s.working(), RecordSize);
    for (int t = 0; t < BlockTextCount; ++t)
        state += "|" + s.text(static_cast<BlockText>(t));
    state += "|" + s.unitText();
    for (int l = 0; l < RoundingListCount; ++l)
        state += "|" + std::to_string(s.listIndex(static_cast<RoundingList>(l)));
    return state + (s.useRates() ? "|on" : "|off");
}

HistoryWalk walkOf(TorvikSession &s)
{
    return {[&s] { return stateOf(s); }, [&s] { s.undo(); }, [&s] { s.redo(); }, [&s] { return s.canUndo(); },
            [&s] { return s.canRedo(); }};
}

} // namespace

TEST(TorvikUndo, EveryKindOfChangeIsOneStepAndRedoReplaysIt)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    std::vector<std::string> states{stateOf(s)};
    auto step = [&](const std::function<void()> &change) {
        change();
        states.push_back(stateOf(s));
        ASSERT_FALSE(states.back() == states[states.size() - 2]) << "no change at step " << states.size() - 1;
    };
    step([&] { f.type(1, 1, "1234"); });     // a list price, deriving the others
    step([&] { f.type(3, 2, "0.25"); });     // a labour rate
    step([&] {
        f.grid.SelectCell(1, 3);
        f.ui.clipboard.push_back("1,500\t0.3\n1,600\t0.4\n");
        s.pasteFromSheet();
        EXPECT_EQ(f.ui.notices.back(), "4 件を貼り付けました。|確認");
    });
    step([&] { s.rateFieldEnter(2, 75); });
    step([&] { s.roundingListSelected(RoundingList::SignificantCode, 3); });
    step([&] { s.checkBoxClicked(false); });
    step([&] { s.unitTextEdited("ｍ"); });
    step([&] { s.unitItemChosen("本"); });
    step([&] {
        f.ui.texts = {"新管", "新継手", "新ねじ"};
        s.EditName();
    });
    step([&] {
        f.ui.texts = {"新出典"};
        s.editMemo(BlockText::SourceMemo);
    });
    step([&] { s.applySizeList(SizeList::From13); });
    step([&] {
        f.grid.SelectCell(0, 2);
        f.ui.texts = {"99A"};
        s.editSize();
    });
    step([&] {
        f.grid.SelectCell(3, 1);
        f.ui.texts = {"屋内"};
        s.editHeading();
    });
    s.CopyAll();
    step([&] { f.type(1, 5, "7"); });
    step([&] { s.PasteAll(); });
    // What changes nothing leaves no step: a tab, a cancelled input, the same rate again.
    s.tabChanged(3);
    s.editMemo(BlockText::PageMemo);
    s.rateFieldLeft(2, 75);
    EXPECT_TRUE(stateOf(s) == states.back());

    walkBackAndForth(walkOf(s), states);
    EXPECT_EQ(f.ui.beeps, 0);
    s.redo();
    EXPECT_EQ(f.ui.beeps, 1);

    // Undone, then changed: the steps undone are gone; the undone block is what is saved.
    s.undo();
    s.undo();
    f.type(2, 1, "0.5");
    EXPECT_FALSE(s.canRedo());
    s.undo();
    EXPECT_TRUE(stateOf(s) == states[states.size() - 3]);
    EXPECT_TRUE(s.modified());
    s.registerBlock();
    EXPECT_EQ(f.ui.notices.back(), "新管を登録しました。|確認");
    const PipeBlock disk = f.onDisk(0);
    for (int r = 0; r < RecordsPerPipe; ++r) {
        EXPECT_EQ(disk[r].slots, s.working()[r].slots) << r;
        EXPECT_TRUE(disk[r].name == s.working()[r].name && disk[r].size == s.working()[r].size) << r;
    }
}

TEST(TorvikUndo, AHundredStepsGoBackAndForthByteForByteAndTheHistoryBelongsToTheBlock)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    std::vector<std::string> states{stateOf(s)};
    for (int i = 0; i < 100; ++i) {
        f.type(1 + i % 5, 1 + i % 14, std::to_string(100 + i));
        states.push_back(stateOf(s));
    }
    walkBackAndForth(walkOf(s), states);

    // Another block starts a history of its own.
    f.ui.answers.push_back(Answer::No); // the save question: キャンセル, nothing saved
    s.beginChooseBlock();
    s.endChooseBlock(3);
    EXPECT_FALSE(s.canUndo());
    EXPECT_FALSE(s.canRedo());
    const std::string other = stateOf(s);
    s.undo();
    EXPECT_TRUE(stateOf(s) == other);
    EXPECT_EQ(f.ui.beeps, 1);
}
