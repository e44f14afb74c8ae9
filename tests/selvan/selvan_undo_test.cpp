// 元に戻す and やり直し in the equipment registration program: every kind of change of the
// block is one step, a hundred steps go back and forth byte for byte, a price typed and not yet
// stored is stored before the undo, and the history belongs to the block.
#include "tests/common/block_bytes.h"
#include "tests/common/history_walk.h"
#include "tests/selvan/selvan_folder.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

namespace {

// What undo restores: the block's bytes and the controls beside them.
std::string stateOf(const SelvanSession &s)
{
    const EquipmentControls &c = s.controls();
    return blockBytes(s.working(), EquipmentRecordSize) + "|" + s.unitText() + "|" + std::to_string(c.codeIndex) +
           std::to_string(c.fractionIndex) + std::to_string(c.significantIndex) + std::to_string(c.labourMode) +
           (c.useRates ? "on" : "off");
}

HistoryWalk walkOf(SelvanSession &s)
{
    return {[&s] { return stateOf(s); }, [&s] { s.undo(); }, [&s] { s.redo(); }, [&s] { return s.canUndo(); },
            [&s] { return s.canRedo(); }};
}

} // namespace

TEST(SelvanUndo, EveryKindOfChangeIsOneStepAndRedoReplaysIt)
{
    SelvanFolder f;
    auto s = f.start();
    std::vector<std::string> states{stateOf(*s)};
    auto step = [&](const std::function<void()> &change) {
        change();
        states.push_back(stateOf(*s));
        ASSERT_FALSE(states.back() == states[states.size() - 2]) << "no change at step " << states.size() - 1;
    };
    step([&] { typeCell(*s, 2, 1, "1234"); });
    step([&] { typeCell(*s, 3, 2, "250"); });
    step([&] { s->cellTextStored(1, 3, "25A"); }); // a size is taken as typed
    step([&] {
        s->grid().SelectCell(2, 4);
        f.ui.clipboard.push_back("1,500\t300\n1,600\t400\n");
        s->pasteFromSheet();
        EXPECT_EQ(f.ui.notices.back(), "4 件を貼り付けました。|確認");
    });
    step([&] { s->useRatesClicked(true); });
    step([&] { s->percentageEntered(1, Cur("85")); });
    step([&] { s->codeChosen(3); });
    step([&] { s->fractionChosen(2); });
    step([&] { s->significantChosen(2); });
    step([&] { s->labourModeClicked(1); });
    step([&] { s->unitTyped("ｍ"); });
    step([&] { s->unitChosen("個"); });
    step([&] {
        f.ui.texts.push_back("逆止弁");
        s->editNameClicked();
    });
    step([&] { s->sizeSet(15); });
    s->tabChanged(2);
    step([&] { typeCell(*s, 3, 1, "321"); }); // an installation cost of LEVEL2
    s->copyInstallation();
    s->tabChanged(4);
    step([&] { s->pasteInstallation(); });
    step([&] { s->unifyInstallation(); });
    s->copyAllClicked();
    s->tabChanged(0);
    step([&] { typeCell(*s, 2, 5, "7"); });
    step([&] { s->pasteAllClicked(); });
    s->tabChanged(0); // a tab changes nothing
    EXPECT_TRUE(stateOf(*s) == states.back());

    walkBackAndForth(walkOf(*s), states);
    EXPECT_EQ(f.ui.beeps, 0);

    // A price typed and not stored is stored first, then undone: the cell shows the price again.
    const std::string shown = s->cell(2, 6);
    s->cellTextStored(2, 6, "4444");
    s->undo();
    EXPECT_TRUE(stateOf(*s) == states.back());
    EXPECT_EQ(s->cell(2, 6), shown);
    EXPECT_TRUE(s->canRedo());
    s->redo();
    EXPECT_EQ(s->cell(2, 6), "4,444");
}

TEST(SelvanUndo, AHundredStepsGoBackAndForthByteForByteAndTheHistoryBelongsToTheBlock)
{
    SelvanFolder f;
    auto s = f.start();
    std::vector<std::string> states{stateOf(*s)};
    for (int i = 0; i < 100; ++i) {
        typeCell(*s, 2 + i % 2, 1 + i % 14, std::to_string(100 + i));
        states.push_back(stateOf(*s));
    }
    walkBackAndForth(walkOf(*s), states);

    f.ui.answers.push_back(Answer::No); // the save question: キャンセル
    s->beginChoosing();
    s->entryChosen(0);
    s->endChoosing();
    EXPECT_FALSE(s->canUndo());
    EXPECT_FALSE(s->canRedo());
}
