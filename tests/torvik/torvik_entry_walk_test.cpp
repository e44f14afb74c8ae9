// Random keys through torvik's price grid, checked against the editing contract's reference
// model after every key and against the registered block after every 登録.
#include "tests/common/entry_walk.h"
#include "tests/common/field_walk.h"
#include "tests/torvik/torvik_fixture.h"

#include "pricefile/registration_lists.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::test;

TEST(TorvikEntryWalk, PricesTypedAtRandomAreWhatTheGridShowsAndTheBlockHolds)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    s.checkBoxClicked(false); // every price typed, none derived from the list price
    const int slot = materialSlot(basisOfTab(s.tab()));
    EntryWalkProgram p;
    p.grid = &f.grid;
    p.col = PriceColumn;
    p.stored = [&](int r) { return s.working()[r - 1].slots[slot]; };
    p.beeps = [&] { return f.ui.beeps; };
    p.save = [&] {
        s.commitOpenEdit(); // as the window does before every command
        s.registerBlock();
        f.ui.notices.takeUnseen();
        const PipeBlock b = f.onDisk(0);
        std::map<int, Currency> file;
        for (int r = 1; r <= 14; ++r)
            file[r] = b[r - 1].slots[slot];
        return file;
    };
    p.undo = [&] { s.undo(); };
    p.redo = [&] { s.redo(); };
    EntryWalk w(p, entryWalkSeed());
    w.run(10000);
    EXPECT_GT(w.saves(), 10);
    f.ui.notices.takeUnseen();
}

TEST(TorvikEntryWalk, PercentagesTypedAtRandomAreStoredInsideTheirRangeAndRefusedOutside)
{
    TorvikFixture f;
    TorvikSession &s = f.open();
    for (int tag = 1; tag <= RateFieldCount; ++tag) {
        FieldWalkProgram p;
        p.range = PercentRange;
        p.configure = [](NValEditState &e) { // as the window sets up its rate fields
            e.SetDelAllClear(true);
            e.SetZeroDisplay(true);
            e.SetEnterNext(true);
            e.SetPutAComma(false);
        };
        p.enter = [&](long double v) { s.rateFieldEnter(tag, v); };
        p.stored = [&] { return s.rateField(tag); };
        const FieldWalkCounts n = runFieldWalk(p, entryWalkSeed() + static_cast<uint32_t>(tag), 2000);
        EXPECT_GT(n.stored, 20) << tag;
        EXPECT_GT(n.refused, 20) << tag;
    }
}
