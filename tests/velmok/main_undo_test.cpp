// 元に戻す and やり直し in the main program: every kind of change of the pipe is one step, a
// hundred steps go back and forth byte for byte, and the history belongs to the pipe.
#include "tests/common/block_bytes.h"
#include "tests/common/history_walk.h"
#include "tests/velmok/editable_grid.h"
#include "tests/velmok/program_folder.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

namespace {

std::string pipeBytes(const MainSession &s)
{
    return blockBytes(s.file().pipeBlock(s.position().pipe), RecordSize);
}

// Where two states first differ, for a readable failure; empty when they are the same.
std::string firstDifference(const std::string &a, const std::string &b)
{
    if (a == b)
        return "";
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    return "record " + std::to_string(i / RecordSize) + ", byte " + std::to_string(i % RecordSize);
}

HistoryWalk walkOf(MainSession &s)
{
    MainEditing &e = s.editing();
    return {[&s] { return pipeBytes(s); }, [&e] { e.undoStep(); }, [&e] { e.redoStep(); },
            [&e] { return e.canUndoStep(); }, [&e] { return e.canRedoStep(); }};
}

} // namespace

TEST(MainUndo, EveryKindOfChangeIsOneStepAndRedoReplaysIt)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    std::vector<std::string> states{pipeBytes(s)};
    auto step = [&](const std::function<void()> &change) {
        change();
        states.push_back(pipeBytes(s));
        ASSERT_NE(firstDifference(states.back(), states[states.size() - 2]), "") << "no change at step " << states.size() - 1;
    };
    {
        EditableGrid g(s, Grid::Price);
        step([&] { g.type(1, 1, "1500").enter(); });             // a price into all four locations
        step([&] { g.type(1, 2, "800").enter(true); });          // Shift fills every row below
    }
    {
        EditableGrid g(s, Grid::Rate);
        step([&] { g.type(4, 3, "0.7").enter(); });               // a factor
    }
    step([&] {
        s.grids().price.SelectCell(1, 5);
        pf.ui.clipboard.push_back("1,200\n1,300\n");
        s.editing().pasteFromSheet(false);
        EXPECT_EQ(pf.ui.notices.back(), "2 件を貼り付けました。|確認");
    });
    step([&] {
        LevelCalcParams p;
        p.levels = {Cur("90"), Cur("80"), Cur("70"), Cur("60"), Cur("50")};
        s.editing().levelCalc(p);
    });
    step([&] {
        SettingsControls c = s.settingsControls();
        c.useRates = true;
        s.applySettings(c);
    });
    step([&] {
        std::optional<SheetSetup> d = s.editing().openSheetSetup();
        d->sizes[1] = "20A";
        s.editing().closeSheetSetup(&*d);
    });
    step([&] {
        s.editing().copy({CopyScope::Sheet, FieldGroup::Whole});
        s.locationTabChanged(1);
        s.editing().paste({CopyScope::Sheet, FieldGroup::Whole});
    });
    step([&] { s.editing().undo(); }); // 取り消し is a change like any other
    step([&] {
        pf.ui.answers.push_back(Answer::Yes);
        s.editing().clearPipe();
    });
    // A cell typed as it was shown changes nothing and leaves no step.
    {
        EditableGrid g(s, Grid::Price);
        g.type(1, 1, "0").enter();
        EXPECT_EQ(firstDifference(pipeBytes(s), states.back()), "");
    }

    walkBackAndForth(walkOf(s), states);
    EXPECT_EQ(pf.ui.beeps, 0);
    s.editing().redoStep(); // nothing to redo: a beep, nothing changes
    EXPECT_EQ(pf.ui.beeps, 1);
    EXPECT_EQ(firstDifference(pipeBytes(s), states.back()), "");

    // Undone, then changed: the steps undone are gone.
    s.editing().undoStep();
    s.editing().undoStep();
    EditableGrid g(s, Grid::Rate);
    g.type(4, 7, "0.4").enter();
    EXPECT_FALSE(s.editing().canRedoStep());
    s.editing().undoStep();
    EXPECT_EQ(firstDifference(pipeBytes(s), states[states.size() - 3]), "");

    // What the undo brought back is what is saved.
    s.quickSave();
    ServiceFile onDisk;
    onDisk.load(pf.data() / "kanzai1.fda");
    EXPECT_EQ(firstDifference(blockBytes(onDisk.pipeBlock(0), RecordSize), states[states.size() - 3]), "");
}

TEST(MainUndo, AHundredStepsGoBackAndForthByteForByteAndTheHistoryBelongsToThePipe)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    std::vector<std::string> states{pipeBytes(s)};
    EditableGrid g(s, Grid::Price);
    for (int i = 0; i < 100; ++i) {
        g.type(1 + i % 7, 1 + i % 14, std::to_string(100 + i)).enter();
        states.push_back(pipeBytes(s));
    }
    walkBackAndForth(walkOf(s), states);
    // The history keeps 200 steps; the oldest go first.
    for (int i = 0; i < 150; ++i)
        g.type(1, 1, std::to_string(1000 + i)).enter();
    int undone = 0;
    while (s.editing().canUndoStep()) {
        s.editing().undoStep();
        ++undone;
    }
    EXPECT_EQ(undone, 200);

    // Another pipe starts a history of its own; the way back to the first pipe's steps is gone.
    s.treeClick(2);
    EXPECT_FALSE(s.editing().canUndoStep());
    EXPECT_FALSE(s.editing().canRedoStep());
    const std::string other = pipeBytes(s);
    s.editing().undoStep();
    EXPECT_EQ(firstDifference(pipeBytes(s), other), "");
    EXPECT_EQ(pf.ui.beeps, 1);
}
