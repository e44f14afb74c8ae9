#pragma once
// The main window's editing of the selected pipe: keys of the rate grid and the material price
// grid, the one-level undo (取り消し), clearing the pipe, the price-level and sheet set-up
// dialogs, and copy and paste of the two edit menus.
//
// It works on the pipe the session hands it (EditedPipe: the working table and the records),
// shows its changes through the session's PipeDisplay, marks the session's modified flag and
// talks to the person through the UserInterface. What it owns is what only editing needs: the
// edit position, the undo snapshot, the copy buffer and the state of a key being handled.
#include "grid/core/edit_history.h"
#include "grid/core/strcolgrid_types.h"
#include "grid/core/virtual_keys.h"
#include "velmok/session/copy_buffer.h"
#include "velmok/core/calc.h"
#include "velmok/session/main_seams.h"
#include "velmok/core/sheet_setup.h"
#include "base/user_interface.h"

#include <functional>
#include <optional>
#include <string>

namespace velmo {

class MainEditing {
public:
    MainEditing(EditedPipe &pipe, PipeDisplay &display, bool &modified, UserInterface &ui)
        : pipe_(pipe), display_(display), modified_(modified), ui_(ui)
    {
    }
    MainEditing(const MainEditing &) = delete;
    MainEditing &operator=(const MainEditing &) = delete;

    // The cell whose editor text was stored last, in either editable grid. Every key of the two
    // grids acts on this cell, not on the selected one. It starts at the heading row (column 0,
    // row 0) and changes only when an editor stores its text or a key moves the entry on.
    const GridCoord &editPosition() const { return editPosition_; }
    // Either editable grid stored its editor's text into (col, row).
    void editorTextStored(int col, int row) { editPosition_ = {col, row}; }
    // A key pressed in the rate grid (StrColGrid1KeyDown) or the material price grid
    // (StrColGrid2KeyDown), or in its editor, before the grid handles it. True when the key
    // ended there: the grid neither types nor moves with it. The entry engine decides the key
    // (docs/editing.md): a text that is no number raises ConversionError with the editor left
    // open; a value out of range raises RangeError after the cell shows the stored value again.
    bool rateGridKeyDown(int vk, ShiftState mods) { return gridKeyDown(true, vk, mods); }
    bool priceGridKeyDown(int vk, ShiftState mods) { return gridKeyDown(false, vk, mods); }
    // Before every command of the window: an open editor of either grid is committed, as Tab
    // would commit it. A text that is no number raises ConversionError and its editor stays
    // open, so that the command does not run over it.
    void commitOpenEdits();
    // The editor of an editable grid closed on (col, row) with its text in the cell, but not by
    // a key of the grid: the mouse or the focus moved on, or a command began. The text is
    // stored as Up would store it (no move, no sound), so that what the cell shows is what the
    // data hold. A refusal or a text that is no number gives way to the stored value; its
    // message comes back to be shown once the focus has settled, since no box may open in the
    // middle of a click or a focus change. An editor that a key of the grid closed is that
    // key's business: nothing happens here then.
    struct EditorLeft {
        std::string notice; // a refusal, for NoticeBox
        std::string error;  // a conversion or range error, for the error box
    };
    EditorLeft editorLeft(bool rateGrid, int col, int row);
    void rateGridClicked(int col, int row); // the other grids follow the row

    bool undoEnabled() const { return undoEnabled_; }
    void undo();                              // "取り消し"
    // "元に戻す" (Ctrl+Z) and "やり直し" (Ctrl+Y): one command of the pipe back or forward
    // again, over a history of the pipe's records that starts when the pipe is opened. Each
    // stored cell, paste, fill, clearing, setting, price-level calculation and sheet set-up is
    // one step; 取り消し is one too. Without a step it beeps.
    bool canUndoStep() const { return hasPipe() && history_.canUndo(); }
    bool canRedoStep() const { return hasPipe() && history_.canRedo(); }
    void undoStep();
    void redoStep();
    void clearPipe();                         // "現在の管材をクリア－"
    void levelCalc(const LevelCalcParams &p); // "実 行" of the price-level dialog
    // "労務単価改定…": the labour prices (基礎工費, every basis) raised or lowered by a
    // percentage, after the dialog's preview: of the pipe shown as one step, or of every pipe of
    // the service file (in memory, saved with 保存; after a question, and the history ends).
    void reviseLabour();
    // The sheet set-up dialog: opening takes an undo snapshot and loads the dialog (nothing
    // without a pipe); closing registers what the dialog holds, or nothing after "Exit", and
    // shows the pipe again either way.
    std::optional<SheetSetup> openSheetSetup();
    void closeSheetSetup(const SheetSetup *registered);

    void copy(CopyKind kind);
    void paste(CopyKind kind);
    bool pasteEnabled(CopyKind kind) const;
    bool copyLocationEnabled() const;

    // Ctrl+V / Ctrl+C in the rate grid (true) or the material price grid without an open
    // editor; true when the key was one of them. The paste stores each figure as typing it
    // would (a factor into its location, a price into all four) and is one step of 取り消し.
    bool sheetKey(bool rateGrid, int vk, bool ctrl);
    void pasteFromSheet(bool rateGrid); // "貼り付け（表計算から）"
    // Ctrl+C in the composite grid: its selected cells as spreadsheet text.
    void copyComposites();
    void copyLocationToOthers(); // location 0 to locations 1–3

    // The 基本設定 panel's settings applied to the pipe, checked by the session: one step of
    // the history after an undo snapshot, the data modified.
    void applySettings(const BasicSettings &settings);

    // A pipe was opened or the table emptied: nothing is left to undo, and the history starts
    // from the pipe's records as they are now.
    void forgetUndo();
    void restartHistory();

private:
    class EditCells;
    class RateCells;
    class PriceCells;

    bool hasPipe() const;
    // One command: the pipe's records as they are when the outermost command ends become one
    // step of the history, when they changed.
    class Step {
    public:
        explicit Step(MainEditing &e);
        ~Step();
        Step(const Step &) = delete;
        Step &operator=(const Step &) = delete;

    private:
        MainEditing &e_;
    };
    void adoptStep(const std::optional<PipeBlock> &records);
    void takeSnapshot();
    bool refusedWithoutPipe();
    // The notice of a grid refusal: shown, or held while an editor that was left is stored.
    void editNotice(const char *text);
    // Runs a change of the working table after an undo snapshot and marks the data modified;
    // a change that fails leaves the table, the pipe's records, the undo and the flag as they were.
    void changeTable(const std::function<void()> &change);
    // A typed value stored: as changeTable, but without an undo snapshot when every slot it
    // goes to already holds it.
    void storeIntoTable(bool unchanged, const std::function<void()> &store);
    // A key of an editable grid: the checks that refuse a key as a whole come first, then the
    // entry engine with the grid's cell map.
    bool gridKeyDown(bool rateGrid, int vk, ShiftState mods);
    // The checks that refuse a key of an editable grid as a whole (col: the material price
    // grid's column the key is in): with a refusal said, the editor closes and the grids show
    // the stored values again.
    bool keyRefused(bool rateGrid, int col);
    // Runs the entry engine for one grid with that grid's cell map.
    template <class Run>
    auto withEntry(bool rateGrid, bool shiftFills, Run run);

    EditedPipe &pipe_;
    PipeDisplay &display_;
    bool &modified_;
    UserInterface &ui_;
    GridCoord editPosition_{0, 0};
    WorkingTable undo_;
    bool undoEnabled_ = false;
    CopyBuffer copyBuffer_;
    EditHistory<PipeBlock> history_;
    StepDepth steps_;
    std::string *heldNotice_ = nullptr; // set while editorLeft runs the key handling
    bool handlingKey_ = false;          // a grid key is being handled
    bool pasting_ = false;              // a paste is one undo step: its stores take no snapshot
};

} // namespace velmo
