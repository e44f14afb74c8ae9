// The undo history on its own: what is a step, where redo ends, how deep it goes.
#include "grid/core/edit_history.h"

#include <gtest/gtest.h>

using namespace velmo;

TEST(EditHistory, StepsAreChangesRedoEndsAtANewChangeAndTheOldestGoFirst)
{
    EditHistory<int> h;
    h.reset(0);
    EXPECT_FALSE(h.record(0)); // nothing changed: no step
    EXPECT_TRUE(h.record(1));
    EXPECT_TRUE(h.record(2));
    EXPECT_EQ(h.undo(2), 1);
    // A change not yet recorded is recorded before the undo, so it is the one undone.
    EXPECT_EQ(h.undo(5), 1);
    EXPECT_EQ(h.redo(1), 5);
    EXPECT_EQ(h.undo(5), 1);
    EXPECT_EQ(h.undo(1), 0);
    EXPECT_FALSE(h.undo(0));
    EXPECT_EQ(h.redo(0), 1);
    h.record(7); // a change after an undo: the steps undone are gone
    EXPECT_FALSE(h.canRedo());
    EXPECT_FALSE(h.redo(7));

    h.reset(0);
    for (int i = 1; i <= static_cast<int>(EditHistory<int>::Depth) + 50; ++i)
        h.record(i);
    EXPECT_EQ(h.undoSteps(), EditHistory<int>::Depth);
    int state = static_cast<int>(EditHistory<int>::Depth) + 50;
    while (auto back = h.undo(state))
        state = *back;
    EXPECT_EQ(state, 50);
}
