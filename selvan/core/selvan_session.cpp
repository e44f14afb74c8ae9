// Start-up, the controls and the settings record, showing and recalculating the block,
// choosing a block and registration.
#include "selvan/core/selvan_session.h"

#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "base/cp932.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "base/program_homes.h"
#include "selvan/core/selvan_texts.h"
#include "pricefile/registration_lists.h"
#include "base/support.h"

#include <algorithm>

namespace velmo {
namespace fs = std::filesystem;

namespace {

// The argument's fields: launch tag 1, block 2, path 5, duct flag 3; the fourth is never read.
LaunchArgument parseArgument(const std::string &argument) { return LaunchArgument::parse(argument, 2, 5, 3); }

// The data folder (beside the program, or in the user's data folder when installed), and the
// file used when the argument names none.
fs::path defaultDataFolder(const fs::path &programDir) { return homesOf(programDir).data / "dx_data"; }

fs::path dataPathOf(const fs::path &programPath, const std::string &argument)
{
    const std::string given = parseArgument(argument).dataPath;
    return given.empty() ? defaultDataFolder(programPath.parent_path()) / "kigu1.dxa" : fs::path(given);
}

} // namespace

GridMenu gridMenuOf(const fs::path &programPath)
{
    std::string name = programPath.filename().string();
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0)
        name.resize(name.size() - 4);
    return name == "dx_selvan" || name == "net_dx_selvan" ? GridMenu::Duct : GridMenu::Piping;
}

Basis existingTabBasis(int tab)
{
    if (!isPriceTab(tab))
        throw RangeError(selvan::noTabError(tab));
    return basisOfTab(tab);
}

SelvanSession::SelvanSession(UserInterface &ui, StrColGridModel &grid, const fs::path &programPath,
                             const std::string &argument)
    : RegistrationSession(ui, grid, dataPathOf(programPath, argument)), gridMenu_(gridMenuOf(programPath)),
      programDir_(programPath.parent_path()), unitText_(DefaultUnit)
{
    const LaunchArgument a = parseArgument(argument);
    setLaunch(a.launchTag, a.blockIndex, a.refused);
    ductFlag_ = a.ductFlag;
    defaultPath_ = a.dataPath.empty();
    // The sizes of column 1 are typed into the caption field of their records.
    grid_.TextByteLimit = [](int col, int row) { return col == 1 && row >= 1 ? RecordHead::CaptionBytes : size_t{0}; };
}

void SelvanSession::start()
{
    reportRefusedLaunch();
    clearClipboard();
    if (defaultPath_) {
        // The program's own data folder is made at first start; a folder the caller named
        // must exist.
        const fs::path folder = defaultDataFolder(programDir_);
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (ec)
            throw IoError(selvan::folderNotCreatedError(folder, systemErrorText(ec.value())));
    }
    removeAbandonedSaves(dataPath());
    // A file the caller named that is not there is created empty; that is said, so that a
    // mistyped path does not go unnoticed.
    const bool created = !defaultPath_ && !pathExists(dataPath());
    listNames();
    loadBlock(blockIndex());
    if (created)
        ui_.notice(selvan::createdEmptyNotice(dataPath()), sharedtext::NoticeButton);
    tab_ = 0;
    showBlock();
    startHistory();
    setModified(false);
}

// ---------------------------------------------------------------- state

std::string SelvanSession::titleStrip() const
{
    return ductFlag_ == "1" ? selvan::DuctTitle : selvan::PipingTitle;
}

ProgramHomes SelvanSession::programHomes() const
{
    return homesOf(programDir_);
}

Currency SelvanSession::percentage(int tag) const
{
    return working()[EquipmentSettingsRow].values[materialSlot(existingTabBasis(tag))];
}

// ---------------------------------------------------------------- the settings record

void SelvanSession::loadControls(bool withCheckBox)
{
    controls_ = controlsFrom(working()[EquipmentSettingsRow], controls_, withCheckBox);
    unitText_ = working()[0].unit.text();
}

void SelvanSession::recalculate()
{
    EquipmentBlock next = working();
    recalculateBlock(next, controls_);
    workingBlock() = next;
}

std::string SelvanSession::shownPrice(int col, int row) const
{
    const EquipmentRecord &r = working()[row - 1];
    const Basis basis = basisOfTab(tab_);
    if (col == 2)
        return FormatStoredMoney(r.values[materialSlot(basis)]);
    return controls_.labourMode == 0 ? r.values[eqslot::LabourRate].toString()
                                     : FormatStoredMoney(r.values[installationSlot(basis)]);
}

void SelvanSession::showBlock()
{
    // An edit still open in the grid belongs to the cell as it was shown; what it typed was
    // committed before, and the cells now show the data.
    if (grid_.EditorMode())
        grid_.CancelEditor();
    typed_.reset();
    clearExcessivePercentages(workingBlock()[EquipmentSettingsRow]);
    const EquipmentBlock &b = working();
    unitText_ = b[0].unit.text();
    const std::array<const char *, EquipmentGridCols> headings = {
        selvan::GridHeadings[0], selvan::GridHeadings[1], selvan::GridHeadings[2],
        controls_.labourMode == 0 ? selvan::LabourRateHeading : selvan::InstallationHeading};
    auto put = [this](int col, int row, const std::string &text) {
        if (grid_.Cells(col, row) != text)
            grid_.SetCells(col, row, text);
    };
    for (int col = 0; col < EquipmentGridCols; ++col)
        put(col, 0, headings[col]);
    for (int row = 1; row < EquipmentGridRows; ++row) {
        put(0, row, "");
        put(1, row, b[row - 1].caption.text());
        put(2, row, shownPrice(2, row));
        put(3, row, shownPrice(3, row));
    }
    typed_.reset();
    ++revision_;
}

void SelvanSession::change(const EquipmentControls &controls, const std::function<void(EquipmentBlock &)> &edit)
{
    EquipmentBlock next = working();
    edit(next);
    recalculateBlock(next, controls);
    workingBlock() = next;
    controls_ = controls;
    showBlock();
}

// ---------------------------------------------------------------- the hooks of the shared session

void SelvanSession::blockRead()
{
    loadControls(true);
}

void SelvanSession::blockChosen()
{
    tab_ = 0;
    recalculate();
    showBlock();
}

void SelvanSession::blockPasted()
{
    loadControls(false);
    recalculate();
    showBlock();
}

void SelvanSession::prepareSave()
{
    for (EquipmentRecord &r : workingBlock())
        r.unit.assignText(unitText_);
}

void SelvanSession::editName()
{
    if (const auto name = askFieldText(ui_, sharedtext::InputCaption, sharedtext::NamePrompt, materialName(),
                                       RecordHead::NameBytes)) {
        workingBlock()[0].name.assignText(*name);
        setModified();
    }
}

// ---------------------------------------------------------------- undo and redo

SelvanEditState SelvanSession::editState() const
{
    return {working(), controls_, unitText_};
}

void SelvanSession::restoreEditState(const SelvanEditState &state)
{
    workingBlock() = state.block;
    controls_ = state.controls;
    unitText_ = state.unit;
    showBlock();
}

// ---------------------------------------------------------------- control events

void SelvanSession::tabChanged(int tab)
{
    const Step step(*this);
    commitTypedCell();
    existingTabBasis(tab); // refuses a tab that is not there
    tab_ = tab;
    showBlock();
}

void SelvanSession::percentageEntered(int tag, Currency value)
{
    const Step step(*this);
    commitTypedCell();
    if (tag < 1 || tag > 6)
        throw RangeError(selvan::noPercentFieldError(tag));
    const Basis basis = existingTabBasis(tag);
    try {
        checkFieldValue(PercentLabels[static_cast<size_t>(tag - 1)], value, EquipmentPercentRange);
    } catch (const RangeError &) {
        ++revision_; // the field shows the stored percentage again
        throw;
    }
    // The tab of the price the percentage derives is shown. Enter over the stored percentage
    // (the field as shown, or shown again after a refusal) changes nothing.
    tab_ = tag;
    const bool changed = percentage(tag) != value;
    change(controls_, [&](EquipmentBlock &b) { b[EquipmentSettingsRow].values[materialSlot(basis)] = value; });
    if (changed)
        setModified();
}

void SelvanSession::percentageLeft(int tag, Currency value)
{
    const Step step(*this);
    if (tag >= 1 && tag <= 6 && percentage(tag) == value)
        return;
    percentageEntered(tag, value);
}

void SelvanSession::controlsChanged(const std::function<void(EquipmentControls &)> &set)
{
    const Step step(*this);
    commitTypedCell();
    EquipmentControls c = controls_;
    set(c);
    change(c, [](EquipmentBlock &) {});
    setModified();
}

void SelvanSession::labourModeClicked(int index)
{
    controlsChanged([index](EquipmentControls &c) { c.labourMode = index == 0 ? 0 : 1; });
}

void SelvanSession::useRatesClicked(bool checked)
{
    controlsChanged([checked](EquipmentControls &c) { c.useRates = checked; });
}

void SelvanSession::codeChosen(int index)
{
    const int last = static_cast<int>(SignificantCodes.size()) - 1;
    controlsChanged([&](EquipmentControls &c) { c.codeIndex = std::clamp(index, 0, last); });
}

void SelvanSession::fractionChosen(int index)
{
    const int last = static_cast<int>(AddendRaws.size()) - 1;
    controlsChanged([&](EquipmentControls &c) { c.fractionIndex = std::clamp(index, 0, last); });
}

void SelvanSession::significantChosen(int index)
{
    const int last = static_cast<int>(AddendRaws.size()) - 1;
    controlsChanged([&](EquipmentControls &c) { c.significantIndex = std::clamp(index, 0, last); });
}

void SelvanSession::unitChosen(const std::string &text)
{
    const Step step(*this);
    commitTypedCell();
    unitText_ = cp932::fit(text, RecordHead::UnitBytes);
    workingBlock()[0].unit.assignText(unitText_);
    setModified();
}

void SelvanSession::unitTyped(const std::string &text)
{
    const Step step(*this);
    commitTypedCell();
    unitText_ = cp932::fit(text, RecordHead::UnitBytes);
    decltype(RecordHead::unit) unit;
    unit.assignText(unitText_);
    if (!(unit == working()[0].unit)) {
        workingBlock()[0].unit = unit;
        setModified();
    }
}

void SelvanSession::editNameClicked()
{
    const Step step(*this);
    commitTypedCell();
    editName();
}

void SelvanSession::registerClicked()
{
    const Step step(*this);
    commitTypedCell();
    saveBlock(false);
}

bool SelvanSession::closeWindow()
{
    const Step step(*this);
    commitTypedCell();
    return closeQuery();
}

void SelvanSession::cellFocused()
{
    const Step step(*this);
    commitTypedCell();
}

void SelvanSession::showLabourMode()
{
    ui_.notice(working()[EquipmentSettingsRow].values[eqslot::LabourMode].toString(), selvan::LabourModeButton);
}

// ---------------------------------------------------------------- choosing a block

bool SelvanSession::beginChoosing()
{
    commitTypedCell();
    chosenEntry_.reset();
    return beginChooseBlock();
}

bool SelvanSession::entryChosen(std::optional<int> entry, bool doubleClick)
{
    if (!entry || *entry < 0 || *entry >= static_cast<int>(names().size())) {
        if (!doubleClick)
            ui_.beep();
        return false;
    }
    chosenEntry_ = entry;
    return true;
}

void SelvanSession::endChoosing()
{
    const std::optional<int> chosen = chosenEntry_;
    chosenEntry_.reset();
    endChooseBlock(chosen);
}

} // namespace velmo
