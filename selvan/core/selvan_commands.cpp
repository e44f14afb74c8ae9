// Cell editing, the copy and paste commands and the size sets.
#include "selvan/core/selvan_session.h"

#include "base/cp932.h"
#include "base/errors.h"
#include "grid/core/grid_entry.h"
#include "pricefile/size_sets.h"
#include "base/support.h"

namespace velmo {

// ---------------------------------------------------------------- cell editing

void SelvanSession::cellTextStored(int col, int row, const std::string &text)
{
    const Step step(*this);
    if (row < 1 || row >= EquipmentGridRows || col < 1 || col >= EquipmentGridCols)
        return;
    // A size holds what its field holds, as a typed one does.
    const size_t limit = grid_.TextByteLimit(col, row);
    const std::string kept = limit > 0 ? cp932::fit(text, limit) : text;
    if (grid_.Cells(col, row) != kept)
        grid_.SetCells(col, row, kept);
    cellTextStored(col, row);
}

void SelvanSession::cellTextStored(int col, int row)
{
    const Step step(*this);
    if (row < 1 || row >= EquipmentGridRows || col < 1 || col >= EquipmentGridCols)
        return;
    const std::string &text = grid_.Cells(col, row);
    if (col == 1) {
        // A size text is taken as it is typed, so that nothing typed is lost when the cell is
        // left with the mouse or the window is closed.
        decltype(RecordHead::caption) caption;
        caption.assignText(text);
        EquipmentRecord &r = workingBlock()[row - 1];
        if (!(caption == r.caption)) {
            r.caption = caption;
            setModified();
        }
        return;
    }
    if (text != shownPrice(col, row))
        typed_ = GridCoord{col, row};
    else if (typed_ == GridCoord{col, row})
        typed_.reset(); // typed back to what it showed
}

void SelvanSession::commitTypedCell()
{
    const Step step(*this);
    if (grid_.EditorMode()) {
        // The editor is still open: committed as Tab would commit it, or, with a text that is
        // no number, left open with it.
        entry_.commitOpenEdit();
        typed_.reset();
        return;
    }
    if (!typed_)
        return;
    const GridCoord t = *typed_;
    try {
        entry_.commitCell(t.col, t.row, false, false);
    } catch (...) {
        typed_.reset();
        throw;
    }
    typed_.reset();
}

bool SelvanSession::gridKeyDown(int vk, ShiftState mods)
{
    const Step step(*this);
    // A price typed into another cell (the mouse moved the selection) is committed first.
    const CellRange sel = grid_.Selection();
    if (typed_ && !grid_.EditorMode() && !(typed_->col == sel.left && typed_->row == sel.top))
        commitTypedCell();
    return entry_.key(vk, mods);
}

// The grid's cell map: column 1 the size text, columns 2 and 3 the prices of the selected tab
// (column 3 in labour mode 0 the labour rate), stored only when typed into.
EntryCell SelvanSession::entryCell(int col, int row) const
{
    if (row < 1 || row >= EquipmentGridRows)
        return EntryCell::ignored();
    if (col == 1)
        return EntryCell::text();
    if ((col == 2 || col == 3) && typed_ == GridCoord{col, row})
        return EntryCell::number(true);
    return EntryCell::untouched();
}

EntryCell SelvanSession::pasteCell(int col, int row) const
{
    if (row < 1 || row >= EquipmentGridRows || col < 1 || col > 3)
        return EntryCell::ignored();
    return col == 1 ? EntryCell::text() : EntryCell::number(true);
}

void SelvanSession::storePastedText(int col, int row, const std::string &text)
{
    cellTextStored(col, row, text); // a size, taken as typed
}

void SelvanSession::storeEntry(int col, int fromRow, int toRow, Currency value)
{
    const int slot = col == 2                    ? materialSlot(basisOfTab(tab_))
                     : controls_.labourMode == 0 ? eqslot::LabourRate
                                                 : installationSlotOfTab();
    change(controls_, [&](EquipmentBlock &b) {
        for (int r = fromRow; r <= toRow; ++r)
            b[r - 1].values[slot] = value;
    });
}

void SelvanSession::showAgain()
{
    showBlock();
}

// ---------------------------------------------------------------- copy and paste

void SelvanSession::copyAll()
{
    EquipmentBlock &clip = clipboardBlock();
    for (size_t r = 0; r < clip.size(); ++r) {
        const Currency a = clip[r].values[eqslot::KeptA], b = clip[r].values[eqslot::KeptB];
        clip[r] = working()[r];
        clip[r].serial = Currency();
        clip[r].values[eqslot::KeptA] = a;
        clip[r].values[eqslot::KeptB] = b;
    }
}

void SelvanSession::pasteAll()
{
    EquipmentBlock &work = workingBlock();
    for (size_t r = 0; r < work.size(); ++r) {
        const Currency a = work[r].values[eqslot::KeptA], b = work[r].values[eqslot::KeptB];
        work[r] = clipboard()[r];
        work[r].serial = Currency();
        work[r].values[eqslot::KeptA] = a;
        work[r].values[eqslot::KeptB] = b;
    }
    blockPasted();
}

void SelvanSession::copyAllClicked()
{
    commitTypedCell();
    copyAll();
}

// The installation cost commands share the block clipboard with the whole-block copy: the
// labour rate goes to slot 336 of the image and the shown installation cost to slot 384.
void SelvanSession::copyInstallation()
{
    commitTypedCell();
    const int from = installationSlotOfTab();
    EquipmentBlock &clip = clipboardBlock();
    for (size_t r = 0; r < clip.size(); ++r) {
        clip[r].values[eqslot::LabourRate] = working()[r].values[eqslot::LabourRate];
        clip[r].values[installationSlot(Basis::Net)] = working()[r].values[from];
    }
}

void SelvanSession::pasteInstallation()
{
    const Step step(*this);
    commitTypedCell();
    const int to = installationSlotOfTab();
    change(controls_, [&](EquipmentBlock &b) {
        for (size_t r = 0; r < b.size(); ++r)
            b[r].values[to] = clipboard()[r].values[installationSlot(Basis::Net)];
    });
    setModified();
}

void SelvanSession::unifyInstallation()
{
    const Step step(*this);
    commitTypedCell();
    const int from = installationSlotOfTab();
    EquipmentBlock &clip = clipboardBlock();
    for (size_t r = 0; r < clip.size(); ++r)
        clip[r].values[installationSlot(Basis::Net)] = working()[r].values[from];
    change(controls_, [&](EquipmentBlock &b) {
        for (size_t r = 0; r < b.size(); ++r)
            for (const int slot : InstallationSlots)
                b[r].values[slot] = clipboard()[r].values[installationSlot(Basis::Net)];
    });
    setModified();
}

// ---------------------------------------------------------------- size sets

void SelvanSession::sizeSet(int start)
{
    const Step step(*this);
    commitTypedCell();
    const SizeRows &sizes = start == 13 ? SizesFrom13 : SizesFrom15;
    for (int row = 0; row < EquipmentSizeRows; ++row)
        workingBlock()[row].caption.assignText(sizes[row]);
    showBlock();
    setModified();
}

// ---------------------------------------------------------------- prices changed by a command

void SelvanSession::changePrices(const std::function<void(EquipmentBlock &)> &edit)
{
    change(controls_, edit);
}

} // namespace velmo
