// MainSession: typing into the rate grid and the material price grid, the one-level undo,
// clearing the pipe, the price-level dialog and the sheet set-up dialog.
#include "main/core/main_session.h"

#include "controls/core/errors.h"
#include "controls/core/flag_scope.h"
#include "controls/core/support.h"
#include "controls/core/virtual_keys.h"

namespace velmo {

// ---- helpers ----

bool MainSession::refusedWithoutPipe()
{
    if (pipeLoaded_)
        return false;
    editNotice(velmoktext::NoPipeNotice);
    return true;
}

void MainSession::editNotice(const char *text)
{
    if (heldNotice_)
        *heldNotice_ = text;
    else
        ui_.notice(text, controltext::NoticeButton);
}

void MainSession::takeSnapshot()
{
    undo_ = table_;
    undoEnabled_ = true;
}

void MainSession::writeTableBack()
{
    for (int a = 1; a <= WorkingRows; ++a)
        table_.store(a, currentBlock());
}

void MainSession::changeTable(const std::function<void()> &change)
{
    WorkingTable previousUndo = undo_;
    const bool hadUndo = undoEnabled_, wasModified = modified_;
    takeSnapshot();
    try {
        change();
    } catch (...) {
        // The snapshot is the table as it was before this change; the pipe's records follow it.
        table_ = undo_;
        writeTableBack();
        undo_ = std::move(previousUndo);
        undoEnabled_ = hadUndo;
        modified_ = wasModified;
        throw;
    }
    modified_ = true;
}

void MainSession::storeIntoTable(bool unchanged, const std::function<void()> &store)
{
    if (!unchanged) {
        changeTable(store);
        return;
    }
    // The value is already there (Enter over a cell as shown): the undo keeps the last real
    // edit, which a store of the same value would otherwise replace.
    store();
    modified_ = true;
}

void MainSession::refreshPipeName()
{
    const std::string text = pipeNodeText(currentBlock()[0].name.text());
    names_.nodes[service_ * NodesPerService + pipe_ + 1] = text;
    names_.pipeCaptions[service_][pipe_] = text;
}

void MainSession::showPipeAgain()
{
    loadSettingsIntoControls();
    // A pipe that became a refrigerant pipe has a single location tab.
    if (location_ >= static_cast<int>(tabCaptions().size()))
        location_ = 0;
    refreshPipeName();
}

void MainSession::editorTextStored(int col, int row)
{
    editPosition_ = {col, row};
}

// ---- the three grids ----

void MainSession::showGridRows(int from, int to)
{
    const GridView view = gridView();
    for (int r = from; r <= to; ++r)
        grids_->showRow(view, r);
}

void MainSession::showRowHighlight()
{
    grids_->showHighlight(focusRow_, basis_);
}

void MainSession::showGrids()
{
    showGridRows(0, GridRows - 1);
    showRowHighlight();
}

// ---- keys of the two editable grids ----

// What the two editable grids share: every key acts on the edit position, the cell whose
// editor text was stored last, and a refused or unreadable text gives way to the stored values.
class MainSession::EditCells : public GridCellMap {
public:
    explicit EditCells(MainSession &s) : s_(s) {}

    GridCoord entryPosition(const StrColGridModel &) const override
    {
        return {s_.editPosition_.col, s_.editPosition_.row};
    }
    void showAgain() override { s_.showGridRows(1, SizeRowsPerLocation); }
    void markModified() override { s_.modified_ = true; }

protected:
    MainSession &s_;
};

// What the keys of the rate grid store: factors B1–B7 in columns 4–10 of the selected
// location, with Shift into every row below as well. Columns 0–3 refuse but still end the
// entry; column 9 of a refrigerant pipe and every factor while the grid shows the cost
// components refuse outright.
class MainSession::RateCells final : public EditCells {
public:
    using EditCells::EditCells;

    EntryCell entryCell(int col, int row) const override
    {
        const RateCell rule = rateCellRule(col, s_.refrigerant(), s_.rateShowsResults_);
        if (rule == RateCell::FixedColumn)
            return EntryCell::refusedEndingEntry(refusalMessage(rule));
        if (rule != RateCell::Editable)
            return EntryCell::refused(refusalMessage(rule));
        // Before any text was stored the edit position is the heading row: nothing is stored,
        // calculated or shown there. Factors are read as typed, without "," grouping.
        return isSizeRow(row) ? EntryCell::number(false) : EntryCell::untouched();
    }
    void storeEntry(int col, int fromRow, int toRow, Currency v, const std::string &) override
    {
        const int factor = *factorOfColumn(col);
        bool unchanged = true;
        for (int r = fromRow; r <= toRow; ++r)
            unchanged = unchanged && s_.table_.row(workingRow(s_.location_, r)).rec.B(factor) == v;
        s_.storeIntoTable(unchanged, [&] {
            for (int r = fromRow; r <= toRow; ++r) {
                const int a = workingRow(s_.location_, r);
                s_.table_.row(a).rec.B(factor) = v;
                s_.table_.calculateRow(a, s_.currentBlock());
            }
        });
        s_.showGridRows(fromRow, toRow);
    }
    void settle(int, int fromRow, int toRow) override
    {
        if (!isSizeRow(fromRow))
            return;
        for (int r = fromRow; r <= toRow; ++r)
            s_.table_.calculateRow(workingRow(s_.location_, r), s_.currentBlock());
        s_.showGridRows(fromRow, toRow);
    }
    void movedTo(int, int row) override
    {
        s_.editPosition_.row = row;
        // The three grids show the same row, as after a click.
        s_.focusRow_ = row;
        s_.showRowHighlight();
    }
};

// What the keys of the material price grid store: a price in columns 1–7 (A1–A5, A0, A6) is
// entered once for a size and goes into the same size row of all four locations, each of them
// calculated so that no stored composite is stale. Enter makes the column it moves in the
// shown price basis.
class MainSession::PriceCells final : public EditCells {
public:
    using EditCells::EditCells;

    EntryCell entryCell(int col, int row) const override
    {
        return isSizeRow(row) && priceSlotOfColumn(col) ? EntryCell::number(true) : EntryCell::untouched();
    }
    void storeEntry(int col, int row, int, Currency v, const std::string &) override
    {
        const size_t slot = static_cast<size_t>(*priceSlotOfColumn(col));
        bool unchanged = true;
        for (int loc = 0; loc < LocationsPerPipe; ++loc)
            unchanged = unchanged && s_.table_.row(workingRow(loc, row)).rec.slots[slot] == v;
        s_.storeIntoTable(unchanged, [&] {
            for (int loc = 0; loc < LocationsPerPipe; ++loc)
                s_.table_.row(workingRow(loc, row)).rec.slots[slot] = v;
            for (int loc = 0; loc < LocationsPerPipe; ++loc)
                s_.table_.calculateRow(workingRow(loc, row), s_.currentBlock());
        });
        s_.showGridRows(row, row);
    }
    void settle(int, int row, int) override
    {
        if (!isSizeRow(row))
            return;
        s_.table_.calculateRow(workingRow(s_.location_, row), s_.currentBlock());
        s_.showGridRows(row, row);
    }
    void movedTo(int col, int row) override
    {
        s_.editPosition_.row = row;
        s_.focusRow_ = row;
        // The selected column of the material price grid is the price basis the rate grid shows.
        if (col >= 1 && col < PriceCols && basisAt(col) != s_.basis_) {
            s_.basis_ = basisAt(col);
            s_.showGrids();
        } else {
            s_.showRowHighlight();
        }
    }
};

bool MainSession::keyRefused(bool rateGrid, int col)
{
    const bool locked = !rateGrid && priceColumnLocked(col, table_.settings().D(4) == Currency::fromInt(1));
    if (locked)
        editNotice(velmoktext::RatesInUseRefusal);
    if (!locked && !refusedWithoutPipe())
        return false;
    StrColGridModel &grid = rateGrid ? grids_->rate : grids_->price;
    if (grid.EditorMode())
        grid.CloseEditor();
    showGridRows(1, SizeRowsPerLocation);
    return true;
}

bool MainSession::gridKeyDown(bool rateGrid, int vk, bool shift)
{
    if (vk == 0 || vkey::onlyChangesLaterKeys(vk))
        return false;
    StrColGridModel &grid = rateGrid ? grids_->rate : grids_->price;
    const FlagScope inKey(handlingKey_);
    if (keyRefused(rateGrid, grid.Col()))
        return true;
    // Closing the editor stores its text into its cell: that cell is the edit position.
    if (grid.EditorMode())
        editPosition_ = {grid.editCol(), grid.editRow()};
    RateCells rateCells(*this);
    PriceCells priceCells(*this);
    GridCellMap &cells = rateGrid ? static_cast<GridCellMap &>(rateCells) : priceCells;
    // Shift fills the rows below in the rate grid only.
    GridEntry entry(grid, ui_, cells, SizeRowsPerLocation, rateGrid);
    const bool ended = entry.key(vk, shift);
    // Up and Down move the selection, Tab the focus, once the text is stored.
    return ended && vk != vkey::Up && vk != vkey::Down && vk != vkey::Tab;
}

bool MainSession::rateGridKeyDown(int vk, bool shift)
{
    return gridKeyDown(true, vk, shift);
}

bool MainSession::priceGridKeyDown(int vk, bool shift)
{
    return gridKeyDown(false, vk, shift);
}

MainSession::EditorLeft MainSession::editorLeft(bool rateGrid, int col, int row)
{
    EditorLeft left;
    if (handlingKey_)
        return left;
    StrColGridModel &grid = rateGrid ? grids_->rate : grids_->price;
    const FlagScope inKey(handlingKey_);
    struct Held {
        std::string *&slot;
        ~Held() { slot = nullptr; }
    } held{heldNotice_};
    heldNotice_ = &left.notice;
    // The checks of a key, for the cell that was left, not the one the mouse went to.
    if (keyRefused(rateGrid, col))
        return left;
    editPosition_ = {col, row};
    RateCells rateCells(*this);
    PriceCells priceCells(*this);
    GridCellMap &cells = rateGrid ? static_cast<GridCellMap &>(rateCells) : priceCells;
    GridEntry entry(grid, ui_, cells, SizeRowsPerLocation, false);
    entry.holdNoticesIn(left.notice);
    try {
        entry.commitCell(col, row, false, false);
    } catch (const ConversionError &error) {
        // Nothing was stored and the cell shows the stored value again.
        left.error = error.what();
    }
    return left;
}

void MainSession::rateGridClicked(int, int row)
{
    if (row >= 1 && row < GridRows)
        focusRow_ = row;
    showRowHighlight();
    refusedWithoutPipe();
}

// ---- undo and clearing ----

void MainSession::undo()
{
    if (!undoEnabled_ || !pipeLoaded_)
        return;
    // The whole table goes back, the pipe's records with it, so that a save writes what is shown.
    table_ = undo_;
    writeTableBack();
    undoEnabled_ = false;
    location_ = 0;
    modified_ = true;
    table_.recalculateAll(currentBlock());
    showPipeAgain();
}

void MainSession::clearPipe()
{
    if (refusedWithoutPipe())
        return;
    if (ui_.confirm(velmoktext::ClearPipeQuestion, controltext::YesButton, controltext::CancelButton) != Answer::Yes)
        return;
    changeTable([this] {
        for (PriceRecord &r : currentBlock()) {
            r.name.assignText("");
            r.caption.assignText("");
            r.size.assignText("");
            r.unit.assignText("");
            r.rowTag = 0;
            r.slots.fill(Currency());
        }
        table_.load(currentBlock());
        table_.recalculateAll(currentBlock());
    });
    location_ = 0;
    showPipeAgain();
    // The tree shows the cleared pipe without a name; the menu shows "----".
    names_.nodes[service_ * NodesPerService + pipe_ + 1].clear();
}

// ---- the dialogs ----

void MainSession::levelCalc(const LevelCalcParams &p)
{
    if (refusedWithoutPipe())
        return;
    changeTable([&] { table_.applyLevelCalc(p, currentBlock()); });
}

std::optional<SheetSetup> MainSession::openSheetSetup()
{
    if (refusedWithoutPipe())
        return std::nullopt;
    takeSnapshot();
    return SheetSetup::load(table_, pipe_);
}

void MainSession::closeSheetSetup(const SheetSetup *registered)
{
    if (!pipeLoaded_)
        return;
    // Registered or not, the data count as changed and the snapshot taken at opening stays.
    modified_ = true;
    try {
        if (registered) {
            registered->registerInto(table_);
            writeTableBack();
        }
        table_.recalculateAll(currentBlock());
    } catch (...) {
        table_ = undo_;
        writeTableBack();
        showPipeAgain();
        throw;
    }
    showPipeAgain();
}

} // namespace velmo
