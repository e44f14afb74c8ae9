#pragma once
// The equipment unit price registration program without a widget: the main window Tfselvan
// and its selection dialog TFSelect_Data_K as one session over a material block of the
// equipment price file. Start-up, the edition, the title, the right-hand controls, showing
// and recalculating the block, cell editing, the copy and paste commands, the size sets and
// registration. Choosing, moving and saving blocks and the block clipboard are the shared
// BlockSession's. The windows forward their events here and show what they read back.
#include "registration/core/equipment_block_file.h"
#include "registration/core/registration_session.h"
#include "selvan/core/selvan_calc.h"
#include "selvan/core/selvan_grid.h"
#include "selvan/core/selvan_price_list.h"
#include "pricefile/registration_lists.h"
#include "base/user_interface.h"

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace velmo {

// The grid's pop-up menu, chosen by the name the program was started under.
enum class GridMenu { Piping, Duct };

// "dx_selvan" and "net_dx_selvan" (with or without ".exe") are the duct edition; every other
// name, "ex_selvan" and "net_ex_selvan" among them, the piping edition.
GridMenu gridMenuOf(const std::filesystem::path &programPath);

// The price basis of a tab that must exist (basisOfTab); raises RangeError naming the tab
// otherwise. The tag of a percentage edit (1–5 LEVEL1–LEVEL5, 6 仕入) is the tab it selects.
Basis existingTabBasis(int tab);

constexpr int SelvanStatusPanels = RegistrationStatusPanels;

// What undo and redo restore: the block and what the controls hold beside it.
struct SelvanEditState {
    EquipmentBlock block{};
    EquipmentControls controls;
    std::string unit;
    bool operator==(const SelvanEditState &) const = default;
};

// What the shared registration session needs to know of an equipment block.
struct EquipmentRegistration {
    using Format = EquipmentFileFormat;
    using State = SelvanEditState;
    static PriceList emptyPriceList() { return emptySelvanPriceList(); }
    static PriceList priceList(const std::filesystem::path &file) { return selvanPriceList(file, std::nullopt); }
    static auto reviseBlocks(const std::string &bytes, const std::vector<int> &indexes, const PriceRevision &revision,
                             RevisionPreview &preview)
    {
        return reviseEquipmentBlocks(equipmentRecordsOf(bytes), indexes, revision, preview);
    }
};

class SelvanSession : public RegistrationSession<EquipmentRegistration> {
public:
    // Creating the windows: the edition from the program file's name, the launch tag, block,
    // duct flag and data path from the argument ("1;3;1;;/data/kigu1.dxa;"); without a path,
    // dx_data/kigu1.dxa beside the program. `grid` is the model of StrColGrid1, set up by
    // setupEquipmentGrid; the session fills its cells and takes its keys.
    SelvanSession(UserInterface &ui, StrColGridModel &grid, const std::filesystem::path &programPath,
                  const std::string &argument);

    // Showing the main window: the block clipboard empty, the selection list, dx_data/
    // created when the default file is used, the block read (a missing file created empty),
    // the controls set from it, shown on the 定価 tab, not modified. A block that cannot be
    // read raises at the end; nothing is then saved.
    void start();

    // ---- state read by the windows ----
    GridMenu gridMenu() const { return gridMenu_; }
    std::string titleStrip() const;
    // The material name label data_name: Name of record 0.
    std::string materialName() const { return working()[0].name.text(); }
    const EquipmentControls &controls() const { return controls_; }
    int tab() const { return tab_; }
    // What the unit box ci shows.
    const std::string &unitText() const { return unitText_; }
    // The percentage of edit NValEdit<tag>, tag 1–6.
    Currency percentage(int tag) const;
    // The text of a grid cell.
    const std::string &cell(int col, int row) const { return grid_.Cells(col, row); }
    // Changes whenever the percentages are shown anew, so that the window refills them only
    // then and a number typed but not yet entered stays where it is.
    int revision() const { return revision_; }
    // The three lists and the percentage edits take part only while the box is checked.
    bool roundingEnabled() const { return controls_.useRates; }

    // ---- control events ----
    // Every command and event below first commits a price typed into the grid and not yet
    // committed, as leaving its cell does: nothing typed is lost or shown without being stored.
    void tabChanged(int tab);                        // TabControl1Change
    // NValEdit1KeyPress … NValEdit6KeyPress: Enter. A value outside 0–1000 raises RangeError
    // naming the field and the range; nothing is stored and the field shows the stored value.
    void percentageEntered(int tag, Currency value);
    // An edit left, or a command begun, with a percentage typed and not entered: applied as
    // Enter applies it, unless it is the stored one already.
    void percentageLeft(int tag, Currency value);
    void labourModeClicked(int index);               // RadioGroup1Click
    void useRatesClicked(bool checked);              // CheckGroupBox1CheckBoxClick
    void codeChosen(int index);                      // ComboBox1Click
    void fractionChosen(int index);                  // ComboBox2Click
    void significantChosen(int index);               // ComboBox3Click
    void unitChosen(const std::string &text);        // ciClick, ciSelect: an item of the list
    void unitTyped(const std::string &text);         // text typed into the unit box
    void editNameClicked();                          // Button3Click "資材名称編集"
    void registerClicked();                          // Button1Click "登　録"
    // IconButton3Click: the settings record's labour mode as a number.
    void showLabourMode();
    // FormCloseQuery: the save question when modified; true when the window may close: not
    // after "戻る", and not when a save that was asked for failed (that raises).
    bool closeWindow();

    // ---- the grid ----
    // The in-cell editor stored its text into (col, row), at a change or when it closed. A
    // size text is taken at once; a price is kept as the cell's typed text until committed
    // (a text typed back to what the cell showed counts as not typed).
    void cellTextStored(int col, int row);
    // The same with the text put into the cell first (as the editor would).
    void cellTextStored(int col, int row, const std::string &text);
    // Stores a typed price: "," removed, empty as 0, into the tab's slot (column 3 in labour
    // mode 0: the labour rate); then recalculates and shows. A text that is no number raises
    // ConversionError; nothing is then stored or marked modified and the grid shows the stored
    // values again. A cell nobody typed into is left as it is.
    void commitTypedCell();
    // A click or a move focused another cell.
    void cellFocused();
    // StrColGrid1KeyDown: a key pressed in the grid or its editor, before the grid handles it,
    // decided by the entry engine (docs/editing.md): column 1 (sizes) takes any text, columns
    // 2 and 3 a price. True when the grid and its editor are to do nothing more with the key.
    // A text that is no number raises ConversionError with the editor left open.
    bool gridKeyDown(int vk, ShiftState mods);

    // ---- pop-up menu commands ----
    void copyInstallation();  // "表示中の取付費をコピー"
    void pasteInstallation(); // "コピーした取付費を表示中の取付費に貼付"
    void unifyInstallation(); // "表示中の取付費で統一する"
    void copyAllClicked();    // "表示中のデータをすべてコピー"
    // "コピーしたすべてのデータを表示中のデータに貼り付け" is the shared pasteAllClicked.
    void sizeSet(int start);  // "サイズセット(13スタート)" / "サイズセット(15スタート)": 13 or 15

    // ---- choosing a block (user_selClick and TFSelect_Data_K) ----
    // Before the dialog: the save question, the list. False when the question was answered
    // "戻る": the dialog does not open and the block stays with its edits.
    bool beginChoosing();
    // "選択実行" (double: a double click on the list) with the selected entry: true when the
    // dialog closes with it. Without a selection "選択実行" beeps and a double click does
    // nothing.
    bool entryChosen(std::optional<int> entry, bool doubleClick = false);
    // After the dialog: the chosen block, or the same again when it was cancelled.
    void endChoosing();

    // CopyAll and PasteAll keep the slots at 456 and 504 of the image they write into.
    void copyAll() override;
    void pasteAll() override;

protected:
    std::string blockName() const override { return materialName(); }
    void blockRead() override;
    void blockChosen() override;
    void blockPasted() override;
    void prepareSave() override;
    void editName() override;
    SelvanEditState editState() const override;
    void restoreEditState(const SelvanEditState &state) override;
    void settleTyping() override { commitTypedCell(); }

private:
    std::string statusFlag() const override { return ductFlag_; }
    ProgramHomes programHomes() const override;
    PriceListBlock shownPriceListBlock() const override;
    void changePrices(const std::function<void(EquipmentBlock &)> &edit) override;
    void loadControls(bool withCheckBox);
    // A change of the right-hand controls: recalculated, shown, modified.
    void controlsChanged(const std::function<void(EquipmentControls &)> &set);
    void recalculate();
    void showBlock();
    // A change to the block and the controls: made on a copy, recalculated, then adopted and
    // shown; nothing changes when it fails.
    void change(const EquipmentControls &controls, const std::function<void(EquipmentBlock &)> &edit);
    int installationSlotOfTab() const { return installationSlot(basisOfTab(tab_)); }
    // What showBlock puts into a price cell (columns 2 and 3) for the stored value.
    std::string shownPrice(int col, int row) const;

    // The grid's cells, for the entry engine.
    EntryCell entryCell(int col, int row) const override;
    EntryCell pasteCell(int col, int row) const override;
    void storePastedText(int col, int row, const std::string &text) override;
    void storeEntry(int col, int fromRow, int toRow, Currency v) override;
    void showAgain() override;

    GridMenu gridMenu_ = GridMenu::Piping;
    std::filesystem::path programDir_;
    std::string ductFlag_;     // the argument's third field; "1" is the duct title
    bool defaultPath_ = false; // no path in the argument: dx_data/kigu1.dxa beside the program
    EquipmentControls controls_;
    int tab_ = 0;
    std::string unitText_;
    std::optional<GridCoord> typed_; // a price typed and not yet committed
    std::optional<int> chosenEntry_;
    int revision_ = 0;
};

} // namespace velmo
