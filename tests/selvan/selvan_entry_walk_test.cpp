// Random keys through selvan's grid, checked against the editing contract's reference model
// after every key and against the registered block after every 登録.
#include "tests/common/entry_walk.h"
#include "tests/common/field_walk.h"
#include "tests/selvan/selvan_folder.h"

#include "pricefile/registration_lists.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

namespace {

// The window's side: the grid's keys and editor texts go to the session.
struct Forward : StrColGridObserver {
    SelvanSession *s = nullptr;
    void keyDown(int &vk, ShiftState mods, bool &consumed) override { consumed = s->gridKeyDown(vk, mods); }
    void editorTextStored(int col, int row) override { s->cellTextStored(col, row); }
};

} // namespace

TEST(SelvanEntryWalk, PricesTypedAtRandomAreWhatTheGridShowsAndTheBlockHolds)
{
    SelvanFolder f;
    auto s = f.start();
    Forward forward;
    forward.s = s.get();
    f.grid.setObserver(&forward);
    const int slot = materialSlot(basisOfTab(s->tab()));
    EntryWalkProgram p;
    p.grid = &f.grid;
    p.col = 2;
    p.lastRow = EquipmentGridRows - 1;
    p.stored = [&](int r) { return s->working()[r - 1].values[slot]; };
    p.beeps = [&] { return f.ui.beeps; };
    p.save = [&] {
        s->registerClicked(); // commits an open edit first itself
        f.ui.notices.takeUnseen();
        const EquipmentBlock b = readEquipmentBlock(f.defaultFile(), 0);
        std::map<int, Currency> file;
        for (int r = 1; r < EquipmentGridRows; ++r)
            file[r] = b[r - 1].values[slot];
        return file;
    };
    p.undo = [&] { s->undo(); };
    p.redo = [&] { s->redo(); };
    EntryWalk w(p, entryWalkSeed());
    w.run(10000);
    EXPECT_GT(w.saves(), 10);
    f.ui.notices.takeUnseen();
    f.grid.setObserver(nullptr);
}

TEST(SelvanEntryWalk, PercentagesTypedAtRandomAreStoredInsideTheirRangeAndRefusedOutside)
{
    SelvanFolder f;
    auto s = f.start();
    for (int tag = 1; tag <= 6; ++tag) {
        FieldWalkProgram p;
        p.range = EquipmentPercentRange;
        p.configure = [](NValEditState &e) { // as the window sets up its percentage edits
            e.SetMaxDigits(4);
            e.SetZeroDisplay(true);
            e.SetEnterNext(true);
            e.SetPrmtNegative(false);
        };
        p.enter = [&](long double v) { s->percentageEntered(tag, Currency::fromDouble(v)); };
        p.stored = [&] { return s->percentage(tag); };
        const FieldWalkCounts n = runFieldWalk(p, entryWalkSeed() + static_cast<uint32_t>(tag), 2000);
        EXPECT_GT(n.stored, 20) << tag;
        EXPECT_GT(n.refused, 5) << tag;
    }
}
