// Cell editing, the copy and paste commands and the size sets.
#include "selvan_session.h"

#include "errors.h"
#include "grid_entry.h"
#include "selvan_texts.h"
#include "support.h"

namespace velmo {

// ---------------------------------------------------------------- cell editing

void SelvanSession::cellTextStored(int col, int row, const std::string &text)
{
    if (row < 1 || row >= EquipmentGridRows || col < 1 || col >= EquipmentGridCols)
        return;
    cells_[row][col] = text;
    if (col == 1) {
        // A size text is taken as it is typed, so that nothing typed is lost when the cell is
        // left with the mouse or the window is closed.
        ShortString<40> caption;
        caption.assignText(text);
        EquipmentRecord &r = workingBlock()[row - 1];
        if (!(caption == r.caption)) {
            r.caption = caption;
            setModified();
        }
        return;
    }
    typed_ = TypedCell{col, row, text};
}

void SelvanSession::commitTypedCell()
{
    if (!typed_)
        return;
    const TypedCell t = *typed_;
    typed_.reset();
    const std::string text = CleanNumberText(t.text);
    Currency value;
    try {
        value = entryValue(t.text, true);
    } catch (const ConversionError &) {
        // Nothing is stored or marked modified: the grid shows the stored values again, so the
        // next key meets what the block holds.
        showBlock();
        throw;
    }
    setModified();
    if (text != cells_[t.row][t.col]) {
        cells_[t.row][t.col] = text;
        ++revision_;
    }
    const int slot = t.col == 2                  ? materialSlot(basisOfTab(tab_))
                     : controls_.labourMode == 0 ? eqslot::LabourRate
                                                 : installationSlotOfTab();
    change(controls_, [&](EquipmentBlock &b) { b[t.row - 1].values[slot] = value; });
}

void SelvanSession::finishGridKey(int vk, int col, int row, const GridKeyPlan &plan)
{
    if (plan.beep)
        ui_.beep();
    if (plan.commit)
        commitTypedCell();
    if (vk == vkey::Return && row >= 1 && row < EquipmentGridRows) {
        if (col == 1)
            setModified();
        cellMove_ = GridCoord{col, rowAfterEnter(row, EquipmentGridRows - 1)};
    }
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

void SelvanSession::pasteAllClicked()
{
    commitTypedCell();
    pasteAll();
    setModified();
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
    commitTypedCell();
    const auto &sizes = start == 13 ? selvan::Sizes13 : selvan::Sizes15;
    for (int row = 0; row < EquipmentSizeRows; ++row)
        workingBlock()[row].caption.assignText(sizes[row]);
    showBlock();
    setModified();
}

} // namespace velmo
