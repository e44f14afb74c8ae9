// MainEditing: typing into the rate grid and the material price grid, the one-level undo,
// clearing the pipe, the price-level dialog and the sheet set-up dialog.
#include "base/shared_texts.h"
#include "velmok/session/main_editing.h"

#include "velmok/core/labour_revision.h"

#include "base/errors.h"
#include "base/flag_scope.h"
#include "grid/core/grid_entry.h"
#include "grid/core/virtual_keys.h"
#include "velmok/session/grid_editing.h"
#include "velmok/session/main_grids.h"
#include "velmok/core/velmok_texts.h"

namespace velmo {

// ---- helpers ----

void MainEditing::forgetUndo()
{
    undo_.clear();
    undoEnabled_ = false;
    restartHistory();
}

void MainEditing::restartHistory()
{
    history_.reset(pipe_.pipeLoaded() ? pipe_.records() : PipeBlock{});
}

bool MainEditing::hasPipe() const
{
    return pipe_.pipeLoaded();
}

MainEditing::Step::Step(MainEditing &e) : e_(e)
{
    e_.steps_.enter();
}

MainEditing::Step::~Step()
{
    if (!e_.steps_.leave() || !e_.pipe_.pipeLoaded())
        return;
    try {
        e_.history_.record(e_.pipe_.records());
    } catch (...) {
        // Out of memory: the step is not kept, the change itself stands.
    }
}

bool MainEditing::refusedWithoutPipe()
{
    if (pipe_.pipeLoaded())
        return false;
    editNotice(velmoktext::NoPipeNotice);
    return true;
}

void MainEditing::editNotice(const char *text)
{
    if (heldNotice_)
        *heldNotice_ = text;
    else
        ui_.notice(text, sharedtext::NoticeButton);
}

void MainEditing::takeSnapshot()
{
    undo_ = pipe_.table();
    undoEnabled_ = true;
}

void MainEditing::changeTable(const std::function<void()> &change)
{
    WorkingTable previousUndo = undo_;
    const bool hadUndo = undoEnabled_, wasModified = modified_;
    if (!pasting_)
        takeSnapshot();
    try {
        change();
    } catch (...) {
        // The snapshot is the table as it was before this change; the pipe's records follow it.
        pipe_.table() = undo_;
        pipe_.writeTableBack();
        undo_ = std::move(previousUndo);
        undoEnabled_ = hadUndo;
        modified_ = wasModified;
        throw;
    }
    modified_ = true;
}

void MainEditing::storeIntoTable(bool unchanged, const std::function<void()> &store)
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

// ---- keys of the two editable grids ----

// What the two editable grids share: every key acts on the edit position, the cell whose
// editor text was stored last, and a refused or unreadable text gives way to the stored values.
class MainEditing::EditCells : public GridCellMap {
public:
    explicit EditCells(MainEditing &e) : e_(e), pipe_(e.pipe_), display_(e.display_) {}

    GridCoord entryPosition(const StrColGridModel &) const override { return e_.editPosition_; }
    void showAgain() override { display_.showRows(1, SizeRowsPerLocation); }
    void markModified() override { e_.modified_ = true; }

protected:
    MainEditing &e_;
    EditedPipe &pipe_;
    PipeDisplay &display_;
};

// What the keys of the rate grid store: factors B1–B7 in columns 4–10 of the selected
// location, with Shift into every row below as well. Columns 0–3 refuse but still end the
// entry; column 9 of a refrigerant pipe and every factor while the grid shows the cost
// components refuse outright.
class MainEditing::RateCells final : public EditCells {
public:
    using EditCells::EditCells;

    EntryCell entryCell(int col, int row) const override
    {
        const RateCell rule = rateCellRule(col, pipe_.table().refrigerant(), display_.view().rateShowsResults);
        if (rule == RateCell::FixedColumn)
            return EntryCell::refusedEndingEntry(refusalMessage(rule));
        if (rule != RateCell::Editable)
            return EntryCell::refused(refusalMessage(rule));
        // Before any text was stored the edit position is the heading row: nothing is stored,
        // calculated or shown there. Factors are read as typed, without "," grouping.
        return isSizeRow(row) ? EntryCell::number(false) : EntryCell::untouched();
    }
    EntryCell pasteCell(int col, int row) const override
    {
        const RateCell rule = rateCellRule(col, pipe_.table().refrigerant(), display_.view().rateShowsResults);
        return rule == RateCell::Editable && isSizeRow(row) ? EntryCell::number(false) : EntryCell::ignored();
    }
    void storeEntry(int col, int fromRow, int toRow, Currency v) override
    {
        const int factor = *factorOfColumn(col);
        const int location = display_.view().location;
        WorkingTable &table = pipe_.table();
        bool unchanged = true;
        for (int r = fromRow; r <= toRow; ++r)
            unchanged = unchanged && table.row(workingRow(location, r)).rec.B(factor) == v;
        e_.storeIntoTable(unchanged, [&] {
            for (int r = fromRow; r <= toRow; ++r) {
                const int a = workingRow(location, r);
                table.row(a).rec.B(factor) = v;
                table.calculateRow(a, pipe_.records());
            }
        });
        display_.showRows(fromRow, toRow);
    }
    void settle(int, int fromRow, int toRow) override
    {
        if (!isSizeRow(fromRow))
            return;
        const int location = display_.view().location;
        for (int r = fromRow; r <= toRow; ++r)
            pipe_.table().calculateRow(workingRow(location, r), pipe_.records());
        display_.showRows(fromRow, toRow);
    }
    void movedTo(int, int row) override
    {
        e_.editPosition_.row = row;
        // The three grids show the same row, as after a click.
        display_.moveHighlight(row, display_.view().basis);
    }
};

// What the keys of the material price grid store: a price in columns 1–7 (A1–A5, A0, A6) is
// entered once for a size and goes into the same size row of all four locations, each of them
// calculated so that no stored composite is stale. Enter makes the column it moves in the
// shown price basis.
class MainEditing::PriceCells final : public EditCells {
public:
    using EditCells::EditCells;

    EntryCell entryCell(int col, int row) const override
    {
        return isSizeRow(row) && priceSlotOfColumn(col) ? EntryCell::number(true) : EntryCell::untouched();
    }
    EntryCell pasteCell(int col, int row) const override
    {
        // A level price worked out from the list price by the percentages takes no paste.
        return priceColumnLocked(col, usesRates(pipe_.table().settings())) ? EntryCell::ignored() : entryCell(col, row);
    }
    void storeEntry(int col, int row, int, Currency v) override
    {
        const size_t slot = static_cast<size_t>(*priceSlotOfColumn(col));
        WorkingTable &table = pipe_.table();
        bool unchanged = true;
        for (int loc = 0; loc < LocationsPerPipe; ++loc)
            unchanged = unchanged && table.row(workingRow(loc, row)).rec.slots[slot] == v;
        e_.storeIntoTable(unchanged, [&] {
            for (int loc = 0; loc < LocationsPerPipe; ++loc)
                table.row(workingRow(loc, row)).rec.slots[slot] = v;
            for (int loc = 0; loc < LocationsPerPipe; ++loc)
                table.calculateRow(workingRow(loc, row), pipe_.records());
        });
        display_.showRows(row, row);
    }
    void settle(int, int row, int) override
    {
        if (!isSizeRow(row))
            return;
        pipe_.table().calculateRow(workingRow(display_.view().location, row), pipe_.records());
        display_.showRows(row, row);
    }
    void movedTo(int col, int row) override
    {
        e_.editPosition_.row = row;
        // The selected column of the material price grid is the price basis the rate grid shows.
        display_.moveHighlight(row, col >= 1 && col < PriceCols ? basisAt(col) : display_.view().basis);
    }
};

bool MainEditing::keyRefused(bool rateGrid, int col)
{
    const bool locked = !rateGrid && priceColumnLocked(col, usesRates(pipe_.table().settings()));
    if (locked)
        editNotice(velmoktext::RatesInUseRefusal);
    if (!locked && !refusedWithoutPipe())
        return false;
    StrColGridModel &grid = display_.grids().editable(rateGrid);
    if (grid.EditorMode())
        grid.CloseEditor();
    display_.showRows(1, SizeRowsPerLocation);
    return true;
}

template <class Run>
auto MainEditing::withEntry(bool rateGrid, bool shiftFills, Run run)
{
    RateCells rateCells(*this);
    PriceCells priceCells(*this);
    GridCellMap &cells = rateGrid ? static_cast<GridCellMap &>(rateCells) : priceCells;
    GridEntry entry(display_.grids().editable(rateGrid), ui_, cells, SizeRowsPerLocation, shiftFills);
    return run(entry);
}

bool MainEditing::gridKeyDown(bool rateGrid, int vk, ShiftState mods)
{
    const Step step(*this);
    StrColGridModel &grid = display_.grids().editable(rateGrid);
    const FlagScope inKey(handlingKey_);
    // Closing the editor stores its text into its cell: that cell is the edit position.
    if (grid.EditorMode())
        editPosition_ = {grid.editCol(), grid.editRow()};
    // Shift fills the rows below in the rate grid only.
    return withEntry(rateGrid, rateGrid, [&](GridEntry &entry) {
        switch (entry.role(vk, mods)) {
        case EntryKey::Sheet:
            return sheetKey(rateGrid, vk, mods.ctrl);
        case EntryKey::Types:
        case EntryKey::Commits:
            // Only a key that would type into or store a cell meets the refusals of the pipe
            // and the rates; a move, a shortcut or a cancel never does.
            if (keyRefused(rateGrid, grid.Col()))
                return true;
            break;
        default:
            break;
        }
        return entry.key(vk, mods);
    });
}

void MainEditing::commitOpenEdits()
{
    for (const bool rateGrid : {true, false}) {
        StrColGridModel &grid = display_.grids().editable(rateGrid);
        if (!grid.EditorMode() || handlingKey_)
            continue;
        const Step step(*this);
        const FlagScope inKey(handlingKey_);
        editPosition_ = {grid.editCol(), grid.editRow()};
        if (keyRefused(rateGrid, grid.Col()))
            continue;
        withEntry(rateGrid, false, [](GridEntry &entry) { entry.commitOpenEdit(); });
    }
}

bool MainEditing::sheetKey(bool rateGrid, int vk, bool ctrl)
{
    const Step step(*this);
    const SheetKey key = sheetKeyOf(vk, ctrl, display_.grids().editable(rateGrid).EditorMode());
    if (key == SheetKey::None)
        return false;
    if (key == SheetKey::Paste)
        pasteFromSheet(rateGrid);
    else
        withEntry(rateGrid, false, [](GridEntry &entry) { entry.copySelection(); });
    return true;
}

void MainEditing::pasteFromSheet(bool rateGrid)
{
    const Step step(*this);
    if (refusedWithoutPipe())
        return;
    // The table before the paste is the one undo step of the whole paste.
    WorkingTable previousUndo = undo_;
    const bool hadUndo = undoEnabled_;
    takeSnapshot();
    const FlagScope pasting(pasting_);
    const PasteReport r = withEntry(rateGrid, false, [](GridEntry &entry) { return entry.pasteClipboard(); });
    if (r.pasted == 0) {
        // Nothing was stored: the earlier undo step stays.
        undo_ = std::move(previousUndo);
        undoEnabled_ = hadUndo;
    }
}

void MainEditing::copyComposites()
{
    ui_.setClipboardContent(sheetClipboard(compositeCells(display_.view(), display_.grids().composite.Selection())));
}

MainEditing::EditorLeft MainEditing::editorLeft(bool rateGrid, int col, int row)
{
    const Step step(*this);
    EditorLeft left;
    if (handlingKey_)
        return left;
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
    withEntry(rateGrid, false, [&](GridEntry &entry) {
        entry.holdNoticesIn(left.notice);
        try {
            entry.commitCell(col, row, false, false);
        } catch (const ConversionError &error) {
            // Nothing was stored and the cell shows the stored value again.
            left.error = error.what();
        } catch (const RangeError &error) {
            left.error = error.what();
        }
    });
    return left;
}

void MainEditing::rateGridClicked(int, int row)
{
    display_.moveHighlight(row >= 1 && row < GridRows ? std::optional<int>(row) : std::nullopt, display_.view().basis);
    refusedWithoutPipe();
}

// ---- undo and clearing ----

void MainEditing::undo()
{
    const Step step(*this);
    if (!undoEnabled_ || !pipe_.pipeLoaded())
        return;
    // The whole table goes back, the pipe's records with it, so that a save writes what is shown.
    pipe_.table() = undo_;
    pipe_.writeTableBack();
    undoEnabled_ = false;
    modified_ = true;
    pipe_.table().recalculateAll(pipe_.records());
    display_.showPipeAgain(true);
}

void MainEditing::undoStep()
{
    adoptStep(pipe_.pipeLoaded() ? history_.undo(pipe_.records()) : std::nullopt);
}

void MainEditing::redoStep()
{
    adoptStep(pipe_.pipeLoaded() ? history_.redo(pipe_.records()) : std::nullopt);
}

void MainEditing::adoptStep(const std::optional<PipeBlock> &records)
{
    if (!records) {
        ui_.beep();
        return;
    }
    // The pipe's records go back whole and the table follows them, so that a save writes what
    // is shown. The last edit that 取り消し would undo is no longer the last change.
    pipe_.records() = *records;
    pipe_.table().load(pipe_.records());
    pipe_.table().recalculateAll(pipe_.records());
    undo_.clear();
    undoEnabled_ = false;
    modified_ = true;
    display_.showPipeAgain(false);
}

void MainEditing::clearPipe()
{
    const Step step(*this);
    if (refusedWithoutPipe())
        return;
    if (ui_.confirm(velmoktext::ClearPipeQuestion, sharedtext::YesButton, sharedtext::CancelButton, Answer::No) !=
        Answer::Yes)
        return;
    changeTable([this] {
        PipeBlock &block = pipe_.records();
        for (PriceRecord &r : block) {
            r.name.assignText("");
            r.caption.assignText("");
            r.size.assignText("");
            r.unit.assignText("");
            r.rowTag = 0;
            r.slots.fill(Currency());
        }
        pipe_.table().load(block);
        pipe_.table().recalculateAll(block);
    });
    display_.showClearedPipe();
}

// ---- the dialogs ----

void MainEditing::levelCalc(const LevelCalcParams &p)
{
    const Step step(*this);
    if (refusedWithoutPipe())
        return;
    // A level left at 0 % turns its prices into 0: said before, with the way back.
    const WorkingTable::ZeroedByLevels zeroed = pipe_.table().zeroedByLevels(p);
    if (zeroed.prices > 0 && ui_.confirm(velmoktext::levelsAtZeroQuestion(zeroed.levels, zeroed.prices),
                                            sharedtext::YesButton, sharedtext::BackButton, Answer::No) != Answer::Yes)
        return;
    changeTable([&] { pipe_.table().applyLevelCalc(p, pipe_.records()); });
}

void MainEditing::reviseLabour()
{
    const Step step(*this);
    if (refusedWithoutPipe())
        return;
    const int shown = pipe_.pipe();
    // The pipe shown as the table holds it, the others as the file holds them.
    auto revisedCopy = [&](int pipe, const PriceRevision &r, RevisionPreview &p) {
        if (pipe == shown) {
            PriceRecord labour = pipe_.table().row(LabourRow).rec;
            reviseLabourRecord(labour, pipe + 1, pipe_.table().row(1).rec.name.text(), r, p);
        } else {
            PipeBlock b = pipe_.records(pipe);
            reviseLabourPrices(b, pipe + 1, r, p);
        }
    };
    const RevisionDialogText text{velmoktext::LabourRevisionCaption,
                                  {velmoktext::LabourRevisionShownPipe, velmoktext::LabourRevisionWholeFile},
                                  velmoktext::LabourRevisionPipeHeading,
                                  velmoktext::LabourRevisionBasisHeading};
    const auto choice = ui_.askRevision(text, [&](const RevisionChoice &c) {
        RevisionPreview p;
        for (int pipe = 0; pipe < PipesPerFile; ++pipe)
            if (c.scope != 0 || pipe == shown)
                revisedCopy(pipe, c.revision, p);
        return p;
    });
    if (!choice)
        return;
    const PriceRevision &r = choice->revision;
    auto reviseShown = [&] {
        changeTable([&] {
            RevisionPreview p;
            reviseLabourRecord(pipe_.table().row(LabourRow).rec, shown + 1, pipe_.table().row(1).rec.name.text(), r, p);
            pipe_.writeTableBack();
            pipe_.table().recalculateAll(pipe_.records());
        });
        display_.showPipeAgain(false); // the 基礎工費 fields of 基本設定 show the new prices
    };
    if (choice->scope == 0) {
        reviseShown();
        return;
    }
    RevisionPreview whole;
    for (int pipe = 0; pipe < PipesPerFile; ++pipe)
        revisedCopy(pipe, r, whole);
    if (ui_.confirm(velmoktext::labourRevisionFileQuestion(revisionSummaryText(whole, velmoktext::LabourRevisionPipeHeading)),
                       sharedtext::YesButton, sharedtext::CancelButton, Answer::No) != Answer::Yes)
        return;
    // Every other pipe revised and calculated again on a copy first, so that a price beyond the
    // range leaves the file as it was.
    std::vector<PipeBlock> others(PipesPerFile);
    auto table = std::make_unique<WorkingTable>();
    for (int pipe = 0; pipe < PipesPerFile; ++pipe) {
        if (pipe == shown)
            continue;
        others[pipe] = pipe_.records(pipe);
        RevisionPreview p;
        reviseLabourPrices(others[pipe], pipe + 1, r, p);
        table->load(others[pipe]);
        table->recalculateAll(others[pipe]);
    }
    reviseShown();
    for (int pipe = 0; pipe < PipesPerFile; ++pipe)
        if (pipe != shown)
            pipe_.records(pipe) = others[pipe];
    forgetUndo(); // 取り消し and 元に戻す would bring back one pipe of a revision of all
}

std::optional<SheetSetup> MainEditing::openSheetSetup()
{
    if (refusedWithoutPipe())
        return std::nullopt;
    takeSnapshot();
    return SheetSetup::load(pipe_.table(), pipe_.pipe());
}

void MainEditing::closeSheetSetup(const SheetSetup *registered)
{
    const Step step(*this);
    if (!pipe_.pipeLoaded())
        return;
    // Registered or not, the data count as changed and the snapshot taken at opening stays.
    modified_ = true;
    try {
        if (registered) {
            registered->registerInto(pipe_.table());
            pipe_.writeTableBack();
        }
        pipe_.table().recalculateAll(pipe_.records());
    } catch (...) {
        pipe_.table() = undo_;
        pipe_.writeTableBack();
        display_.showPipeAgain(false);
        throw;
    }
    display_.showPipeAgain(false);
}

void MainEditing::applySettings(const BasicSettings &settings)
{
    const Step step(*this);
    takeSnapshot();
    pipe_.table().applyBasicSettings(settings, pipe_.records());
    modified_ = true;
}

} // namespace velmo
