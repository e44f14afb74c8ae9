#pragma once
// The undo and redo history of the pipe or block being edited: the states the working data
// went through, one per command that changed them. A session records its state after every
// command; a command that changed nothing leaves no step, and one that changed many cells
// (a paste, a fill) is one step.
#include <cstddef>
#include <deque>
#include <optional>
#include <utility>

namespace velmo {

template <class State>
class EditHistory {
public:
    // The most steps kept; the oldest goes when a new one would exceed it.
    static constexpr std::size_t Depth = 200;

    // A new history starting at `state`: another pipe or block opened, or the file read again.
    void reset(const State &state)
    {
        undo_.clear();
        redo_.clear();
        current_ = state;
    }

    // After a command: when `state` differs from the last recorded one, the last becomes an
    // undo step and the redo steps end. True when a step was recorded.
    bool record(const State &state)
    {
        if (state == current_)
            return false;
        undo_.push_back(std::exchange(current_, state));
        if (undo_.size() > Depth)
            undo_.pop_front();
        redo_.clear();
        return true;
    }

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    std::size_t undoSteps() const { return undo_.size(); }

    // One step back from `now` (recorded first, so that a change not yet recorded is not
    // lost): the state to adopt, or nothing when there is no step.
    std::optional<State> undo(const State &now)
    {
        record(now);
        if (undo_.empty())
            return std::nullopt;
        redo_.push_back(std::exchange(current_, std::move(undo_.back())));
        undo_.pop_back();
        return current_;
    }
    // One step forward again: the state to adopt, or nothing when nothing was undone since the
    // last change.
    std::optional<State> redo(const State &now)
    {
        record(now);
        if (redo_.empty())
            return std::nullopt;
        undo_.push_back(std::exchange(current_, std::move(redo_.back())));
        redo_.pop_back();
        return current_;
    }

private:
    std::deque<State> undo_, redo_;
    State current_{};
};

// Counts the nesting of commands, so that a command that runs others records one step when
// the outermost ends.
class StepDepth {
public:
    // True when this is the outermost command.
    bool enter() { return depth_++ == 0; }
    // True when the outermost command ends.
    bool leave() { return --depth_ == 0; }

private:
    int depth_ = 0;
};

} // namespace velmo
