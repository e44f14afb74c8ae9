// The pipe registration session: start, the block's controls, showing, recalculating, the
// grid's cells and keys, the rate fields, the lists, the unit box and the save.
#include "torvik/core/torvik_session.h"

#include "base/flag_scope.h"

#include "base/shared_texts.h"
#include "base/cp932.h"
#include "base/errors.h"
#include "grid/core/field_range.h"
#include "base/fileio.h"
#include "base/program_homes.h"
#include "pricefile/service_folder.h"
#include "base/support.h"
#include "torvik/core/torvik_texts.h"
#include "grid/core/virtual_keys.h"

namespace velmo {

namespace fs = std::filesystem;

namespace {

fs::path defaultDataPath(const ProgramHomes &homes)
{
    return homes.data / ServiceDataFolderName / serviceFileName(0);
}

// The file the argument names, or the default file when it names none or nothing that can be
// read as a file; the path is taken as the bytes given, whatever their encoding.
fs::path resolveDataPath(const std::string &given, const ProgramHomes &homes)
{
    std::error_code ec;
    if (!given.empty() && !notAFileReason(given))
        return fs::absolute(given, ec);
    return defaultDataPath(homes);
}

} // namespace

TorvikSession::TorvikSession(UserInterface &ui, StrColGridModel &grid, const fs::path &programDir,
                             const std::string &argument)
    : TorvikSession(ui, grid, homesOf(programDir), LaunchArgument::parse(argument, 2, 3))
{
}

TorvikSession::TorvikSession(UserInterface &ui, StrColGridModel &grid, const ProgramHomes &homes,
                             const LaunchArgument &argument)
    : RegistrationSession(ui, grid, resolveDataPath(argument.dataPath, homes)), homes_(homes), launch_(argument)
{
    setLaunch(launch_.launchTag, launch_.blockIndex, launch_.refused);
}

void TorvikSession::start()
{
    reportRefusedLaunch();
    // Opening another file than the one named is never silent: a save would go there.
    if (launch_.pathGiven && !launch_.dataPath.empty())
        if (const auto why = notAFileReason(launch_.dataPath))
            ui_.notice(torvik::defaultFileNotice(*why, dataPath().string()), sharedtext::NoticeButton);
    // The default file's folder is seeded from the templates at the first start, portable as
    // installed, as velmok does: a new folder never opens as an empty grid that cannot be saved.
    if (dataPath() == defaultDataPath(homes_)) {
        makeUserFolders(homes_);
        datafolder::prepare(homes_);
    }
    removeAbandonedSaves(dataPath());
    for (int c = 0; c < PriceGridCols; ++c) {
        grid_.SetCells(c, 0, torvik::GridHeadings[c]);
        grid_.SetCellFontColor(c, 0, clr::White);
        grid_.SetCellFontWidth(c, 0, 1);
        grid_.SetCellAlignment(c, 0, taCenter);
    }
    for (int r = 1; r < PriceGridRows; ++r) {
        grid_.SetCellFontColor(0, r, clr::White);
        grid_.SetCellAlignment(0, r, taCenter);
        for (int c = 1; c < PriceGridCols; ++c)
            grid_.SetCellAlignment(c, r, taRightJustify);
    }
    clearClipboard();
    listNames();
    loadBlock(blockIndex());
    ShowBlock();
    startHistory();
    setModified(false);
}

// ---------------------------------------------------------------- the block and its controls

void TorvikSession::setListsFrom(const PriceRecord &settings)
{
    lists_ = roundingListsFrom(settings, lists_);
}

void TorvikSession::setCheckBox(bool checked)
{
    // Setting the check box to another state acts as its click does.
    if (checked != useRates_)
        checkBoxClicked(checked);
}

void TorvikSession::blockRead()
{
    const PriceRecord &settings = working()[SettingsRecord];
    setListsFrom(settings);
    unitText_ = settings.unit.text();
    if (settings.D(4) == Currency::fromInt(1))
        setCheckBox(true);
    else if (settings.D(4).isZero())
        setCheckBox(false);
}

void TorvikSession::blockChosen()
{
    tab_ = 0;
    Recalculate();
    ShowBlock();
}

void TorvikSession::blockPasted()
{
    setListsFrom(working()[SettingsRecord]);
    unitText_ = working()[0].unit.text();
    Recalculate();
    ShowBlock();
}

void TorvikSession::prepareSave()
{
    PipeBlock &b = workingBlock();
    for (PriceRecord &r : b)
        r.unit.assignText(unitText_);
    for (int i = 0; i < BlockTextCount; ++i)
        b[i].name.assignText(texts_[i]);
}

void TorvikSession::ShowBlock()
{
    // An edit still open in the grid belongs to the cell as it was shown; it is dropped rather
    // than left to be stored over what the grid shows now.
    if (grid_.EditorMode())
        grid_.CancelEditor();
    const PipeBlock &b = working();
    const PriceRecord &settings = b[SettingsRecord];
    for (int i = 0; i < BlockTextCount; ++i)
        texts_[i] = b[i].name.text();
    unitText_ = settings.unit.text();
    for (int tag = 1; tag <= RateFieldCount; ++tag)
        rateFields_[tag - 1] = settings.slots[materialSlot(basisOfRateTag(tag))];

    std::array<std::string, LocationsPerPipe> headings;
    bool allEmpty = true;
    for (int l = 0; l < LocationsPerPipe; ++l) {
        headings[l] = b[l * RowsPerLocation + SizeRowsPerLocation].caption.text();
        allEmpty = allEmpty && headings[l].empty();
    }
    for (int l = 0; l < LocationsPerPipe; ++l)
        grid_.SetCells(FirstRateColumn + l, 0, allEmpty ? torvik::GridHeadings[FirstRateColumn + l] : headings[l]);

    const int priceSlot = materialSlot(basisOfTab(tab_));
    for (int r = 1; r < PriceGridRows; ++r) {
        const PriceRecord &row = b[r - 1];
        grid_.SetCells(0, r, row.size.text());
        grid_.SetCells(PriceColumn, r, FormatStoredMoney(row.slots[priceSlot]));
        for (int l = 0; l < LocationsPerPipe; ++l)
            grid_.SetCells(FirstRateColumn + l, r, b[l * RowsPerLocation + r - 1].B(5).toString());
    }
    ++showRevision_;
}

TorvikEditState TorvikSession::editState() const
{
    return {working(), texts_, unitText_, lists_, useRates_};
}

void TorvikSession::restoreEditState(const TorvikEditState &state)
{
    workingBlock() = state.block;
    texts_ = state.texts;
    unitText_ = state.unit;
    lists_ = state.lists;
    useRates_ = state.useRates;
    ShowBlock();
}

void TorvikSession::recalculateInto(PipeBlock &b) const
{
    recalculatePipeBlock(b, TorvikControls{lists_, useRates_, unitText_});
}

void TorvikSession::Recalculate()
{
    PipeBlock b = working();
    recalculateInto(b);
    workingBlock() = b;
}

// ---------------------------------------------------------------- the grid

bool TorvikSession::gridKeyDown(int vk, ShiftState mods)
{
    const Step step(*this);
    const FlagScope inKey(handlingKey_);
    return entry_.key(vk, mods);
}

void TorvikSession::commitOpenEdit()
{
    const Step step(*this);
    const FlagScope inKey(handlingKey_);
    entry_.commitOpenEdit();
}

std::string TorvikSession::editorLeft(int col, int row)
{
    if (handlingKey_)
        return {};
    const Step step(*this);
    const FlagScope inKey(handlingKey_);
    std::string said;
    entry_.holdNoticesIn(said);
    try {
        entry_.commitCell(col, row, false, false);
    } catch (const VelmoError &e) {
        said = e.what(); // the cell shows the stored value again
    }
    entry_.showNotices();
    return said;
}

void TorvikSession::CommitCell(bool enter)
{
    const Step step(*this);
    entry_.commit(enter, false);
}

// The cell map of the price grid: column 1 the price of the selected tab, columns 2–5 the
// pipe-fitter labour rate of the four locations; column 0 (the size) takes no number.
EntryCell TorvikSession::entryCell(int col, int row) const
{
    if (row < 1 || row >= PriceGridRows)
        return EntryCell::ignored();
    return col >= PriceColumn && col < PriceGridCols ? EntryCell::number(true) : EntryCell::ignored();
}

void TorvikSession::storeEntry(int c, int fromRow, int toRow, Currency value)
{
    // A price cell shows the stored value with its decimals, so Enter over it as shown stores
    // the same value again.
    PipeBlock b = working();
    for (int r = fromRow; r <= toRow; ++r) {
        Currency &target = c == PriceColumn ? b[r - 1].slots[materialSlot(basisOfTab(tab_))]
                                            : b[(c - FirstRateColumn) * RowsPerLocation + r - 1].B(5);
        target = value;
    }
    recalculateInto(b);
    workingBlock() = b;
    ShowBlock();
}

void TorvikSession::showAgain()
{
    ShowBlock();
}

// ---------------------------------------------------------------- the other controls

void TorvikSession::rateFieldEnter(int tag, long double value)
{
    const Step step(*this);
    if (tag < 1 || tag > RateFieldCount)
        throw RangeError(torvik::noRateFieldError(tag));
    const Currency percent = Currency::fromDouble(value);
    try {
        checkFieldValue(PercentLabels[static_cast<size_t>(tag - 1)], percent, PercentRange);
    } catch (const RangeError &) {
        ++showRevision_; // the field shows the stored percentage again
        throw;
    }
    PipeBlock b = working();
    Currency &slot = b[SettingsRecord].slots[materialSlot(basisOfRateTag(tag))];
    // Enter over the stored percentage (the field as shown, or shown again after a refusal)
    // shows its tab and changes nothing.
    const bool changed = slot != percent;
    slot = percent;
    recalculateInto(b);
    workingBlock() = b;
    tab_ = tag;
    ShowBlock();
    if (changed)
        setModified();
}

void TorvikSession::rateFieldLeft(int tag, long double value)
{
    const Step step(*this);
    if (tag >= 1 && tag <= RateFieldCount &&
        working()[SettingsRecord].slots[materialSlot(basisOfRateTag(tag))] == Currency::fromDouble(value))
        return;
    rateFieldEnter(tag, value);
}

void TorvikSession::checkBoxClicked(bool checked)
{
    const Step step(*this);
    useRates_ = checked;
    Recalculate();
    ShowBlock();
    setModified();
}

void TorvikSession::roundingListSelected(RoundingList list, int index)
{
    const Step step(*this);
    const int l = static_cast<int>(list);
    const int count = list == RoundingList::SignificantCode ? static_cast<int>(SignificantCodes.size())
                                                            : static_cast<int>(AddendRaws.size());
    if (index < 0 || index >= count)
        return;
    lists_[l] = index;
    Recalculate();
    ShowBlock();
    setModified();
}

void TorvikSession::tabChanged(int tab)
{
    if (tab < 0 || tab >= PriceTabCount)
        return;
    tab_ = tab;
    ShowBlock();
}

void TorvikSession::unitBoxClicked()
{
    setModified();
}

void TorvikSession::storeUnit(const std::string &text)
{
    // The settings record is where ShowBlock reads the unit from, record 0 where the selection
    // list and the other program read it: both hold the choice at once, so that a tab change
    // or a recalculation shows it and the save writes it.
    unitText_ = cp932::fit(text, RecordHead::UnitBytes);
    workingBlock()[0].unit.assignText(unitText_);
    workingBlock()[SettingsRecord].unit.assignText(unitText_);
}

void TorvikSession::unitItemChosen(const std::string &text)
{
    const Step step(*this);
    storeUnit(text);
}

void TorvikSession::unitTextEdited(const std::string &text)
{
    const Step step(*this);
    storeUnit(text);
    setModified();
}

void TorvikSession::registerBlock()
{
    saveBlock(false);
}

bool TorvikSession::takeEntry(std::optional<int> selected)
{
    if (selected && *selected >= 0 && *selected < static_cast<int>(names().size()))
        return true;
    ui_.beep();
    return false;
}

} // namespace velmo
