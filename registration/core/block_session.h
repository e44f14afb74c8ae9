#pragma once
// The block-editing session that the two registration programs share: a working block taken
// from a file of 20 blocks, a block clipboard, the modified flag, the save question with the
// block's name, choosing another block, moving a block up or down, and closing. Each program
// adds what is its own (what a block shows, how it is recalculated) in a subclass.
#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "registration/core/registration_texts.h"
#include "grid/core/edit_history.h"
#include "base/errors.h"
#include "base/outside_change.h"
#include "base/user_interface.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace velmo {

constexpr int BlocksPerFile = 20;

// The first command-line argument of a registration program: fields each ended by ";", taken
// apart with SplitField.
struct LaunchArgument {
    std::string launchTag;
    int blockIndex = 0;
    std::string blockText = "0"; // what the status bar shows: the index as decimal text
    std::string dataPath;        // as given; the program decides its default
    // Whether the argument has the path field itself: with fewer ";"-ended fields the field
    // routine repeats the last one, which names no file the caller meant.
    bool pathGiven = false;
    std::string ductFlag;        // the equipment program's third field
    // A block number given outside 0–19, in Japanese for a notice; empty when there is none
    // (an empty field, "-1" and text that is no number quietly mean block 0).
    std::string refused;

    // The launch tag is field 1; the other fields are at the numbers the program gives (0: none).
    // A single argument without ";" is a file's path alone (whether the file exists or not):
    // block 0, no launch tag.
    static LaunchArgument parse(const std::string &argument, int indexField, int pathField, int ductField = 0);
};

// A block number as typed: empty, "-1", a number outside 0–19 or a text that is not a whole
// number all mean block 0.
int normalisedBlockIndex(const std::string &text);

// Where the blocks live.
template <typename Block>
class BlockStore {
public:
    virtual ~BlockStore() = default;
    // The names of the 20 blocks; an empty list when the file does not exist.
    virtual std::vector<std::string> listNames() = 0;
    // Reads one block; raises IoError naming the file when it cannot.
    virtual Block load(int index) = 0;
    // Writes one block in place, every other block as the file now holds it. Unless
    // `overwriteChanged`, a block another program changed on disk since this store last read or
    // wrote it raises ChangedOnDiskError and nothing is written.
    virtual void save(int index, const Block &block, bool overwriteChanged) = 0;
    // Exchanges two blocks whole in the file.
    virtual void swap(int a, int b) = 0;
    // The file, for messages.
    virtual std::filesystem::path path() const = 0;
    // Whether another program changed block `index` in the file since this store last read or
    // wrote it (what it changed in other blocks a block save keeps).
    virtual bool changedOnDisk(int index) { return (void)index, false; }
    // The same, asked when the window comes to the front again: what block `index` now holds on
    // disk when another program changed it, to tell that change from a later one; nothing when
    // it did not change. A file that cannot be read, a missing one included, raises IoError.
    virtual std::optional<std::string> changedBlockOnDisk(int index)
    {
        return changedOnDisk(index) ? std::optional<std::string>("changed") : std::nullopt;
    }
    // A notice naming the damaged texts of the block read last; empty when it has none.
    virtual std::string damageOfLastRead() const { return ""; }
    // Whether the file was read-only (for this user, by its mode bits) when last read or written.
    virtual bool readOnly() const { return false; }
};

// What a block of a file held when a store last read or wrote it, so that the store can tell
// whether another program changed that block since.
class BlockWatch {
public:
    // Remembers block `index` (of `blockBytes` bytes each) of the whole file's bytes.
    void remember(int index, std::string_view fileBytes, size_t blockBytes)
    {
        index_ = index;
        bytes_ = std::string(fileBytes.substr(static_cast<size_t>(index) * blockBytes, blockBytes));
    }
    void forget() { index_ = -1; }
    // Block `index` as remembered; nothing when another block (or none) is remembered.
    std::optional<std::string> remembered(int index) const
    {
        return index == index_ ? std::optional<std::string>(bytes_) : std::nullopt;
    }
    // Whether block `index` of the file's bytes now differs from what was remembered; a block
    // not remembered has not changed.
    bool changed(int index, std::string_view fileBytesNow, size_t blockBytes) const
    {
        return index == index_ && fileBytesNow.substr(static_cast<size_t>(index) * blockBytes, blockBytes) != bytes_;
    }

private:
    int index_ = -1;
    std::string bytes_;
};

enum class MoveDirection { Up, Down };

// `State` is what undo and redo restore: the working block, and beside it whatever the
// program's controls hold that the block does not.
template <typename Block, typename State = Block>
class BlockSession {
public:
    BlockSession(UserInterface &ui, BlockStore<Block> &store) : ui_(ui), store_(store) {}
    virtual ~BlockSession() = default;

    // ---- state ----
    const std::string &launchTag() const { return launchTag_; }
    int blockIndex() const { return blockIndex_; }
    const Block &working() const { return working_; }
    const Block &clipboard() const { return clipboard_; }
    bool modified() const { return modified_; }
    // The working block was read from the file; without one nothing is saved.
    bool blockLoaded() const { return loaded_; }
    // The file was read-only for this user when last read or written: a save would be refused.
    bool readOnly() const { return store_.readOnly(); }
    // The names of the selection list, as last listed.
    const std::vector<std::string> &names() const { return names_; }

    // ListNames: fills the selection list; the launch tag becomes "1" when it is empty.
    void listNames()
    {
        if (launchTag_.empty())
            launchTag_ = "1";
        names_ = store_.listNames();
    }

    // LoadBlock: reads block `index`, which becomes the working block once it was read whole;
    // a block that cannot be read leaves the working block and the index as they were.
    void loadBlock(int index)
    {
        Block b = store_.load(index);
        working_ = b;
        blockIndex_ = index;
        loaded_ = true;
        outside_.settled(); // a bar about the block shown before is no longer true
        blockRead();
        startHistory();
        if (const std::string damage = store_.damageOfLastRead(); !damage.empty())
            ui_.notice(damage, sharedtext::NoticeButton);
    }

    // SaveBlock: writes the working block to its place; with a notice unless silent. Returns
    // false when nothing was written because the person chose to read the block again instead:
    // the edits are then gone at their word, so there is no notice, a close goes on and
    // choosing another block goes on, with nothing left to save.
    bool saveBlock(bool silent)
    {
        if (!loaded_)
            throw IoError(sharedtext::blockNotReadText(store_.path()));
        // Another program (velmok saving the whole file, or this program started twice) may
        // have written this block since it was read: it is overwritten only when the user says
        // so, or read again in place of the edits when the user says that. The store compares
        // again under the write lock: a change that came after the question asks it again.
        bool overwrite = false;
        for (int attempt = 0;; ++attempt) {
            if (!overwrite && store_.changedOnDisk(blockIndex_)) {
                const std::filesystem::path file = store_.path();
                const std::string subject = sharedtext::changedBlockSubject(file, questionName());
                // 実行 overwrites the other program's change: Enter answers キャンセル.
                const Answer a = ui_.confirmOrBack(sharedtext::changedOnDiskQuestion(subject), sharedtext::YesButton,
                                                   sharedtext::CancelButton, sharedtext::ReloadButton, Answer::No);
                if (a == Answer::Back && reloadConfirmed(subject)) {
                    reloadBlock();
                    return false;
                }
                if (a != Answer::Yes)
                    throw IoError(sharedtext::saveWithdrawnText(file));
                overwrite = true;
            }
            prepareSave();
            try {
                store_.save(blockIndex_, working_, overwrite);
                break;
            } catch (const ChangedOnDiskError &) {
                if (attempt >= 2)
                    throw;
            }
        }
        modified_ = false;
        stored_ = editState();
        outside_.settled();
        if (!silent)
            ui_.notice(sharedtext::blockSavedNotice(questionName()), sharedtext::NoticeButton);
        return true;
    }

    // ---- another program's change to the working block ----
    // The bar above the grids and the status line after a reload.
    const OutsideChange &outsideChange() const { return outside_; }
    // The window came to the front again. When another program changed the working block on
    // disk since this one read or wrote it: without unsaved edits the block is read again and
    // shown; with them the bar offers to do so. A file that cannot be read is an error (once
    // for the same failure) and the block stays as it is. Returns whether there is something
    // new to show.
    bool windowActivated()
    {
        if (!loaded_)
            return false;
        const std::string subject = sharedtext::changedBlockSubject(store_.path(), questionName());
        try {
            const std::optional<std::string> onDisk = store_.changedBlockOnDisk(blockIndex_);
            if (!onDisk)
                return outside_.settled();
            if (modified_)
                return outside_.offer(*onDisk, subject);
            reloadBlock();
            return true;
        } catch (const IoError &e) {
            if (outside_.newFailure(e.what()))
                throw;
            return false;
        }
    }
    // The bar's 読み込み直す: asks before the edits are dropped, then reads the block again.
    void barReloadClicked()
    {
        if (reloadConfirmed(sharedtext::changedBlockSubject(store_.path(), questionName())))
            reloadBlock();
    }
    // The bar's 閉じる.
    void barCloseClicked() { outside_.dismiss(); }

    // Choosing a block, before the selection dialog opens: the save question, then the list.
    // False when the question was answered "戻る": the dialog does not open, and the block
    // shown stays with its edits.
    bool beginChooseBlock()
    {
        if (!askToSave(true))
            return false;
        listNames();
        return true;
    }
    // After the dialog closed, with the entry taken or nothing when it was cancelled: the block
    // (the same one again when cancelled, so edits refused at the question are gone) is read
    // and shown; an unnamed block asks for its name at once.
    void endChooseBlock(std::optional<int> chosen)
    {
        loadBlock(chosen ? *chosen : blockIndex_);
        blockChosen();
        startHistory();
        modified_ = false;
        if (blockName().empty()) {
            // The new, empty block is on the screen before its name is asked, so that nobody
            // takes the boxes for a rename of the block shown before. Only a name typed there
            // makes the block modified: boxes cancelled leave it as the file holds it, and
            // nothing is asked about it later.
            if (showNow)
                showNow();
            const Step step(*this);
            const State before = editState();
            editName();
            modified_ = !(editState() == before);
        }
    }

    // Set by the window: shows the session's state at once, in the middle of a command, before
    // a box asks about what the window shows.
    std::function<void()> showNow;

    // Moves the selected entry of the selection list up or down: the two blocks exchange their
    // places whole in the file and the moved block is edited at its new place. Returns that
    // place. The first entry up, the last entry down and no selection are refused with a beep,
    // and neither the file nor the working block changes.
    std::optional<int> moveBlock(std::optional<int> selected, MoveDirection direction)
    {
        const int count = static_cast<int>(names_.size());
        if (!selected || *selected < 0 || *selected >= count) {
            ui_.beep();
            return std::nullopt;
        }
        const int i = *selected;
        const int j = direction == MoveDirection::Up ? i - 1 : i + 1;
        if (j < 0 || j >= count) {
            ui_.beep();
            return std::nullopt;
        }
        store_.swap(i, j);
        loadBlock(j);
        blockChosen();
        startHistory();
        modified_ = false;
        listNames();
        return j;
    }

    // Closing: with unsaved edits the save question; "実行" saves silently, "キャンセル"
    // closes without saving, "戻る" keeps the window open with nothing changed (false). A
    // save that fails raises, and the window stays open with its data.
    bool closeQuery() { return askToSave(true); }

    // The block clipboard, empty at start.
    void clearClipboard() { clipboard_ = Block{}; }
    // CopyAll: the working block into the block clipboard, Serial 0.
    virtual void copyAll()
    {
        for (size_t r = 0; r < working_.size(); ++r) {
            clipboard_[r] = working_[r];
            clipboard_[r].serial = {};
        }
    }
    // PasteAll: the block clipboard into the working block, Serial 0; then what the program
    // does after a paste.
    virtual void pasteAll()
    {
        for (size_t r = 0; r < working_.size(); ++r) {
            working_[r] = clipboard_[r];
            working_[r].serial = {};
        }
        blockPasted();
    }

    // ---- undo and redo ----
    // "元に戻す" (Ctrl+Z) and "やり直し" (Ctrl+Y): one command of the working block back or
    // forward again. The history belongs to the block: it starts when a block is read and
    // ends when another is chosen. Without a step it beeps.
    bool canUndo() const { return loaded_ && history_.canUndo(); }
    bool canRedo() const { return loaded_ && history_.canRedo(); }
    void undo()
    {
        settleTyping();
        adoptStep(history_.undo(editState()));
    }
    void redo()
    {
        settleTyping();
        adoptStep(history_.redo(editState()));
    }

protected:
    // One command of the window: the working data as they are when the outermost command
    // ends become one step of the history, when they changed.
    class Step {
    public:
        explicit Step(BlockSession &s) : s_(s) { s_.steps_.enter(); }
        ~Step()
        {
            if (!s_.steps_.leave() || !s_.loaded_)
                return;
            try {
                s_.history_.record(s_.editState());
            } catch (...) {
                // Out of memory: the step is not kept, the change itself stands.
            }
        }
        Step(const Step &) = delete;
        Step &operator=(const Step &) = delete;

    private:
        BlockSession &s_;
    };
    // What undo and redo restore, and putting it back (then shown). A program whose State is
    // more than its block gives both.
    virtual State editState() const
    {
        if constexpr (std::is_same_v<State, Block>)
            return working_;
        else
            return State{};
    }
    virtual void restoreEditState(const State &state)
    {
        if constexpr (std::is_same_v<State, Block>)
            working_ = state;
    }
    // Before undo or redo: a value typed and not yet stored is stored, as before every command.
    virtual void settleTyping() {}
    // The history starts again from what the block holds now, which is what the file holds.
    void startHistory()
    {
        history_.reset(editState());
        stored_ = editState();
    }

    // The name the block is known by in the questions and notices (the name label).
    virtual std::string blockName() const = 0;
    // After a block was read: the controls follow its settings record.
    virtual void blockRead() = 0;
    // After a block was chosen or moved: the first tab, recalculate, show.
    virtual void blockChosen() = 0;
    // After a paste: the controls follow the pasted settings, recalculate, show.
    virtual void blockPasted() = 0;
    // Before a save: what the controls hold goes into the block (unit, names).
    virtual void prepareSave() = 0;
    // EditName: the name input boxes.
    virtual void editName() = 0;

    // The save question when modified; withBack offers "戻る" too. False when it was chosen.
    bool askToSave(bool withBack = false)
    {
        if (!modified_)
            return true;
        using namespace sharedtext;
        const std::string question = saveBlockQuestion(questionName());
        const Answer a = withBack ? ui_.confirmOrBack(question, YesButton, CancelButton, BackButton)
                                  : ui_.confirm(question, YesButton, CancelButton);
        if (a == Answer::Back)
            return false;
        if (a == Answer::Yes)
            saveBlock(true); // or the block was read again instead: either way nothing is left to save
        return true;
    }
    // Asks whether the unsaved edits may go for what the file holds; without edits nothing is lost.
    bool reloadConfirmed(const std::string &subject)
    {
        return !modified_ || ui_.confirm(sharedtext::reloadQuestion(subject), sharedtext::YesButton,
                                         sharedtext::CancelButton, Answer::No) == Answer::Yes;
    }
    // Reads the working block again through loadBlock and shows it, not modified. The file must
    // be there: a file gone since is an error, never an empty new block. A read that fails
    // leaves the block, its edits and the file as they are.
    void reloadBlock()
    {
        store_.changedBlockOnDisk(blockIndex_); // raises for a file that is gone or unreadable
        loadBlock(blockIndex_);
        blockChosen();
        startHistory(); // the edits undo would bring back are gone with the reload
        modified_ = false;
        // The status bar is narrow: the file by its name (the path is in its own panel).
        outside_.reloaded(sharedtext::changedBlockSubject(store_.path().filename(), questionName()));
    }
    // "価格改定" of the whole file: refused while the working block has edits not registered
    // (they would be lost or written unasked); after the person confirms `summary`, `writeAll`
    // revises and writes every block in one write and gives how many changed, and the working
    // block is read again. The history ends there: the file, not the block, changed.
    // The refusal the revision dialog shows for the whole file before 実行, while the working
    // block has edits not registered; empty otherwise.
    std::string wholeFileRevisionRefusal() const
    {
        return modified_ ? sharedtext::registerBeforeRevisionText(questionName()) : std::string();
    }
    // The same for putting an earlier version of the file back.
    std::string wholeFileRestoreRefusal() const
    {
        return modified_ ? sharedtext::registerBeforeRestoreText(questionName()) : std::string();
    }
    void reviseWholeFile(const std::string &summary, const std::function<int()> &writeAll)
    {
        if (const std::string refusal = wholeFileRevisionRefusal(); !refusal.empty()) {
            ui_.notice(refusal, sharedtext::NoticeButton);
            return;
        }
        if (ui_.confirm(sharedtext::revisionFileQuestion(store_.path(), summary), sharedtext::YesButton,
                        sharedtext::CancelButton, Answer::No) != Answer::Yes)
            return;
        const int blocks = writeAll();
        loadBlock(blockIndex_);
        blockChosen();
        startHistory();
        modified_ = false;
        ui_.notice(sharedtext::fileRevisedNotice(store_.path(), blocks), sharedtext::NoticeButton);
    }
    void setModified(bool on = true) { modified_ = on; }
    // The block by its name in the questions and notices; a block without a name by its number.
    std::string questionName() const
    {
        const std::string name = blockName();
        return name.empty() ? sharedtext::unnamedBlockName(blockIndex_) : name;
    }
    void setLaunch(const std::string &tag, int index, const std::string &refused = "")
    {
        launchTag_ = tag;
        blockIndex_ = index;
        launchRefused_ = refused;
    }
    // At start: says once that the command line named a block the file does not have.
    void reportRefusedLaunch()
    {
        if (!launchRefused_.empty())
            ui_.notice(launchRefused_, sharedtext::NoticeButton);
        launchRefused_.clear();
    }
    Block &workingBlock() { return working_; }
    Block &clipboardBlock() { return clipboard_; }
    void clearWorking() { working_ = Block{}; }

    UserInterface &ui_;
    BlockStore<Block> &store_;

private:
    void adoptStep(const std::optional<State> &state)
    {
        if (!loaded_ || !state) {
            ui_.beep();
            return;
        }
        restoreEditState(*state);
        // Undone back to what the file holds: nothing is left to save.
        modified_ = !(stored_ && *state == *stored_);
    }

    std::string launchTag_, launchRefused_;
    int blockIndex_ = 0;
    Block working_{};
    Block clipboard_{};
    std::vector<std::string> names_;
    bool modified_ = false;
    bool loaded_ = false;
    std::optional<State> stored_; // the working data as the file holds them (read or saved)
    OutsideChange outside_;
    EditHistory<State> history_;
    StepDepth steps_;
};

} // namespace velmo
