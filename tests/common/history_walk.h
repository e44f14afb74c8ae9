#pragma once
// Walks a program's undo history back to the start and forward again, finding at each step the
// state recorded before it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace velmo::test {

struct HistoryWalk {
    std::function<std::string()> state;
    std::function<void()> undo, redo;
    std::function<bool()> canUndo, canRedo;
};

// `states` holds the state before the first step and after each step.
inline void walkBackAndForth(const HistoryWalk &h, const std::vector<std::string> &states)
{
    for (size_t i = states.size() - 1; i-- > 0;) {
        ASSERT_TRUE(h.canUndo()) << i;
        h.undo();
        ASSERT_TRUE(h.state() == states[i]) << "undo to " << i;
    }
    EXPECT_FALSE(h.canUndo());
    for (size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(h.canRedo()) << i;
        h.redo();
        ASSERT_TRUE(h.state() == states[i]) << "redo to " << i;
    }
    EXPECT_FALSE(h.canRedo());
}

} // namespace velmo::test
