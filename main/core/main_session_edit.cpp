// MainSession: typing into the rate grid and the material price grid, the one-level undo,
// clearing the pipe, the price-level dialog and the sheet set-up dialog.
#include "main_session.h"

#include "errors.h"
#include "support.h"
#include "virtual_keys.h"

namespace velmo {

// ---- helpers ----

bool MainSession::refusedWithoutPipe()
{
    if (pipeLoaded_)
        return false;
    editNotice(NoPipeNotice);
    return true;
}

void MainSession::editNotice(const char *text)
{
    if (heldNotice_)
        *heldNotice_ = text;
    else
        ui_.notice(text, "確認");
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

// ---- keys of the two grids ----

void MainSession::enterMoves(GridKeyDecision &d, int cols)
{
    const int next = rowAfterEnter(editPosition_.row, SizeRowsPerLocation);
    editPosition_.row = next;
    // The first column of both grids is fixed and cannot be selected.
    if (editPosition_.col >= 1 && editPosition_.col < cols)
        d.select = editPosition_;
    // The three grids show the same row, as after a click.
    focusRow_ = next;
    d.focusRowChanged = true;
}

namespace {

// A key the grid handles as usual.
GridKeyDecision keyPassedOn()
{
    GridKeyDecision d;
    d.passOn = true;
    return d;
}

// A key refused as a whole: the editor closes and every row shows the stored values again.
GridKeyDecision refusedKey(const GridKeyEvent &e)
{
    GridKeyDecision d;
    d.closeEditor = e.editorShown;
    d.showAll();
    return d;
}

} // namespace

std::optional<Currency> MainSession::parsedOrShown(const std::string &text, bool removeCommas, int row,
                                                  GridKeyDecision &d)
{
    try {
        return entryValue(text, removeCommas);
    } catch (const ConversionError &error) {
        // Nothing is stored, taken for undo or marked modified; the row shows the stored values
        // again and the key does nothing more, so the next key meets what the data hold.
        d.show(row);
        d.passOn = false;
        d.error = error.what();
        return std::nullopt;
    }
}

bool MainSession::filterKey(const GridKeyEvent &e, GridKeyDecision &d)
{
    const KeyFilter f = commonKeyFilter(e.vk, e.editorShown);
    if (!f.store) {
        d.passOn = true;
        return false;
    }
    if (f.closeEditor && e.editorShown) {
        d.closeEditor = true;
        editPosition_ = {e.editorCol, e.editorRow}; // closing stores the editor's text there
    }
    if (f.beep)
        ui_.beep();
    // Up and Down move the selection, Tab the focus, once the text is stored.
    d.passOn = e.vk == vkey::Up || e.vk == vkey::Down || e.vk == vkey::Tab;
    return true;
}

GridKeyDecision MainSession::rateGridKeyDown(const GridKeyEvent &e)
{
    if (vkey::onlyChangesLaterKeys(e.vk))
        return keyPassedOn();
    if (refusedWithoutPipe())
        return refusedKey(e);
    GridKeyDecision d;
    if (!filterKey(e, d))
        return d;

    const int c = editPosition_.col, r = editPosition_.row;
    const RateCell rule = rateCellRule(c, refrigerant(), rateShowsResults_);
    if (rule != RateCell::Editable) {
        editNotice(refusalMessage(rule));
        d.show(r); // the refused text gives way to the stored value
        if (rule != RateCell::FixedColumn)
            return d;
    }
    // Before any text was stored the edit position is the heading row: nothing is stored,
    // calculated or shown there.
    if (isSizeRow(r)) {
        const int last = e.shift ? SizeRowsPerLocation : r;
        if (rule == RateCell::Editable) {
            // Parsed as it is (no separators removed) before anything changes: a text that is no
            // number leaves everything as it was.
            const auto v = parsedOrShown(e.cellText(c, r), false, r, d);
            if (!v)
                return d;
            const int factor = *factorOfColumn(c);
            bool unchanged = true;
            for (int j = r; j <= last; ++j)
                unchanged = unchanged && table_.row(workingRow(location_, j)).rec.B(factor) == *v;
            storeIntoTable(unchanged, [&] {
                for (int j = r; j <= last; ++j) {
                    const int a = workingRow(location_, j);
                    table_.row(a).rec.B(factor) = *v;
                    table_.calculateRow(a, currentBlock());
                }
            });
        } else {
            for (int j = r; j <= last; ++j)
                table_.calculateRow(workingRow(location_, j), currentBlock());
        }
        for (int j = r; j <= last; ++j)
            d.show(j);
    }
    if (e.vk == vkey::Return)
        enterMoves(d, RateCols);
    return d;
}

GridKeyDecision MainSession::priceGridKeyDown(const GridKeyEvent &e)
{
    if (vkey::onlyChangesLaterKeys(e.vk))
        return keyPassedOn();
    if (priceColumnLocked(e.selectedCol, table_.settings().D(4) == Currency::fromInt(1))) {
        editNotice(editmsg::RatesInUse);
        return refusedKey(e);
    }
    if (refusedWithoutPipe())
        return refusedKey(e);
    GridKeyDecision d;
    if (!filterKey(e, d))
        return d;

    const int c = editPosition_.col, r = editPosition_.row;
    if (isSizeRow(r)) {
        // A price is entered once for a size: it goes into the same size row of all four
        // locations, and each of them is calculated so that no stored composite is stale.
        if (const auto slot = priceSlotOfColumn(c)) {
            const auto v = parsedOrShown(e.cellText(c, r), true, r, d);
            if (!v)
                return d;
            bool unchanged = true;
            for (int loc = 0; loc < LocationsPerPipe; ++loc)
                unchanged = unchanged && table_.row(workingRow(loc, r)).rec.slots[static_cast<size_t>(*slot)] == *v;
            storeIntoTable(unchanged, [&] {
                for (int loc = 0; loc < LocationsPerPipe; ++loc)
                    table_.row(workingRow(loc, r)).rec.slots[static_cast<size_t>(*slot)] = *v;
                for (int loc = 0; loc < LocationsPerPipe; ++loc)
                    table_.calculateRow(workingRow(loc, r), currentBlock());
            });
        } else {
            table_.calculateRow(workingRow(location_, r), currentBlock());
        }
        d.show(r);
    }
    if (e.vk == vkey::Return) {
        enterMoves(d, PriceCols);
        // The selected column of the material price grid is the price basis the rate grid shows.
        if (d.select && d.select->col != basisColumn_) {
            basisColumn_ = d.select->col;
            d.allRows = true;
        }
    }
    return d;
}

MainSession::EditorLeft MainSession::editorLeft(bool rateGrid, const GridKeyEvent &at)
{
    GridKeyEvent e = at;
    e.vk = vkey::Up; // stores without a move or a sound
    e.shift = false;
    e.editorShown = true;
    e.selectedCol = at.editorCol; // the cell that was left, not the one the mouse went to
    EditorLeft left;
    struct Held {
        std::string *&slot;
        ~Held() { slot = nullptr; }
    } held{heldNotice_};
    heldNotice_ = &left.notice;
    left.show = rateGrid ? rateGridKeyDown(e) : priceGridKeyDown(e);
    // A text that is no number: the table is as it was and the cell shows the stored value.
    left.error = std::move(left.show.error);
    left.show.error.clear();
    // The editor is closed already and the grid handles no key.
    left.show.closeEditor = false;
    left.show.passOn = false;
    return left;
}

void MainSession::rateGridClicked(int, int row)
{
    if (row >= 1 && row < GridRows)
        focusRow_ = row;
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
    if (ui_.confirm("現在の内容をすべてクリア－しますか？", "実行", "キャンセル") != Answer::Yes)
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
