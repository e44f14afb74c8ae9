// MainEditing: the copy and paste commands of the two edit menus, and the copy of location 0's
// data to the other three locations.
#include "velmok/core/main_editing.h"

#include "velmok/core/main_session.h"

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
    return s_.pipeLoaded_ && copyBuffer_.canPaste(kind);
}

bool MainEditing::copyLocationEnabled() const
{
    return !s_.table_.refrigerant();
}

void MainEditing::copy(CopyKind kind)
{
    if (!s_.pipeLoaded_)
        return;
    const RowSpan span = spanOf(kind.scope, s_.position_.location);
    for (int i = 0; i < span.count; ++i) {
        const int a = span.first + i;
        // The whole records come from the service file's records, the other groups from the
        // working table; both hold the same stored fields.
        const PriceRecord &from = kind.group == FieldGroup::Whole ? s_.currentBlock()[a - 1] : s_.table_.row(a).rec;
        copyFields(kind.group, from, copyBuffer_.row(1 + i));
    }
    copyBuffer_.copied(kind, s_.position_.location);
}

void MainEditing::paste(CopyKind kind)
{
    const Step step(*this);
    if (!pasteEnabled(kind))
        return;
    const int location = s_.position_.location;
    const RowSpan span = spanOf(kind.scope, location);
    changeTable([&] {
        PipeBlock &block = s_.currentBlock();
        for (int i = 0; i < span.count; ++i) {
            const int a = span.first + i;
            const bool withSlots = kind.scope == CopyScope::Pipe || !isTailRow(a) || copyBuffer_.tailSlotsFit(location);
            copyFields(kind.group, copyBuffer_.row(1 + i), block[a - 1], withSlots);
            copyFields(kind.group, block[a - 1], s_.table_.row(a).rec, withSlots);
        }
        s_.table_.recalculateAll(block);
    });
    // Names, location names and settings may have come with whole records.
    if (kind.group == FieldGroup::Whole)
        s_.showPipeAgain();
}

void MainEditing::copyLocationToOthers()
{
    const Step step(*this);
    if (!s_.pipeLoaded_ || !copyLocationEnabled())
        return;
    PipeBlock &block = s_.currentBlock();
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
    s_.loadPipe(s_.position_.pipe);
    s_.modified_ = true;
}

} // namespace velmo
