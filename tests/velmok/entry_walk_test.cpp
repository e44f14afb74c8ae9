// Random keys through velmok's two editable grids, checked against the editing contract's
// reference model after every key and against the saved file after every save.
#include "tests/common/entry_walk.h"
#include "tests/velmok/editable_grid.h"
#include "tests/velmok/program_folder.h"

#include "pricefile/pipe_block.h"

#include <gtest/gtest.h>

#include <utility>

using namespace velmo;
using namespace velmo::test;

namespace {

// Walks column `col` of one grid; `slot` reads a row's stored value from a record.
void walk(Grid which, int col, bool money, const std::function<Currency(const PriceRecord &)> &slot)
{
    ProgramFolder pf;
    MainSession &s = pf.start();
    EditableGrid g(s, which);
    // The walk starts where the last text was stored, as after a first edit.
    g.type(col, 1, g.text(col, 1));
    g.key(vkey::Escape);
    EntryWalkProgram p;
    p.grid = &g.model;
    p.col = col;
    p.money = money;
    p.ownEntryPosition = true;
    p.stored = [&](int r) { return slot(s.table().row(r).rec); };
    p.beeps = [&] { return pf.ui.beeps; };
    p.takeError = [&] { return std::exchange(g.error, std::string()); };
    p.save = [&] {
        s.editing().commitOpenEdits(); // as the window does before every command
        s.save();
        pf.ui.notices.takeUnseen();
        const PipeBlock b = readPipeBlock(pf.data() / "kanzai1.fda", 0);
        std::map<int, Currency> file;
        for (int r = 1; r <= 14; ++r)
            file[r] = slot(b[r - 1]);
        return file;
    };
    EntryWalk w(p, entryWalkSeed());
    w.run(6000);
    EXPECT_GT(w.saves(), 10);
    EXPECT_GT(w.commits(), 300);
    pf.ui.notices.takeUnseen();
}

} // namespace

TEST(VelmokEntryWalk, ListPricesTypedAtRandomAreWhatTheGridShowsAndTheFileHolds)
{
    walk(Grid::Price, 7, true, [](const PriceRecord &r) { return r.A(6); });
}

TEST(VelmokEntryWalk, FactorsTypedAtRandomAreWhatTheGridShowsAndTheFileHolds)
{
    walk(Grid::Rate, 8, false, [](const PriceRecord &r) { return r.B(5); });
}
