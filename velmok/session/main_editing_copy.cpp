// MainEditing: the copy and paste commands of the two edit menus, and the copy of location 0's
// data to the other three locations.
#include "velmok/session/main_editing.h"

namespace velmo {

namespace {

// The working rows (1 … 60) a copy or paste covers: the whole pipe, or the 15 rows of a location.
struct RowSpan {
    int first;
    int count;
};

RowSpan spanOf(CopyScope scope, int location)
{
    if (scope == CopyScope::Pipe)
        return {1, RecordsPerPipe};
    return {workingRow(location, 1), RowsPerLocation};
}

} // namespace

bool MainEditing::pasteEnabled(CopyKind kind) const
{
    return pipe_.pipeLoaded() && copyBuffer_.canPaste(kind);
}

bool MainEditing::copyLocationEnabled() const
{
    return !pipe_.table().refrigerant();
}

void MainEditing::copy(CopyKind kind)
{
    if (!pipe_.pipeLoaded())
        return;
    const RowSpan span = spanOf(kind.scope, display_.view().location);
    for (int i = 0; i < span.count; ++i) {
        const int a = span.first + i;
        // The whole records come from the service file's records, the other groups from the
        // working table; both hold the same stored fields.
        const PriceRecord &from = kind.group == FieldGroup::Whole ? pipe_.records()[a - 1] : pipe_.table().row(a).rec;
        copyFields(kind.group, from, copyBuffer_.row(1 + i));
    }
    copyBuffer_.copied(kind, display_.view().location);
}

void MainEditing::paste(CopyKind kind)
{
    const Step step(*this);
    if (!pasteEnabled(kind))
        return;
    const int location = display_.view().location;
    const RowSpan span = spanOf(kind.scope, location);
    changeTable([&] {
        PipeBlock &block = pipe_.records();
        for (int i = 0; i < span.count; ++i) {
            const int a = span.first + i;
            const bool withSlots = kind.scope == CopyScope::Pipe || !isTailRow(a) || copyBuffer_.tailSlotsFit(location);
            copyFields(kind.group, copyBuffer_.row(1 + i), block[a - 1], withSlots);
            copyFields(kind.group, block[a - 1], pipe_.table().row(a).rec, withSlots);
        }
        pipe_.table().recalculateAll(block);
    });
    // Names, location names and settings may have come with whole records.
    if (kind.group == FieldGroup::Whole)
        display_.showPipeAgain(false);
}

void MainEditing::copyLocationToOthers()
{
    const Step step(*this);
    if (!pipe_.pipeLoaded() || !copyLocationEnabled())
        return;
    PipeBlock &block = pipe_.records();
    for (int t = 1; t < LocationsPerPipe; ++t) {
        for (int r = 0; r < RowsPerLocation; ++r) {
            const PriceRecord &from = block[static_cast<size_t>(r)];
            PriceRecord &to = block[static_cast<size_t>(t * RowsPerLocation + r)];
            to.rowTag = from.rowTag;
            to.unit = from.unit;
            // The tails' slots mean different things (location 0's the pipe's settings, location
            // 3's its labour prices): only the size rows bring theirs.
            if (r < SizeRowsPerLocation)
                to.slots = from.slots;
        }
    }
    pipe_.reopen();
    modified_ = true;
}

} // namespace velmo
