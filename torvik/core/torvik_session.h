#pragma once
// The pipe unit price registration program without its window: one pipe block of a pipe price
// file in the working block, the controls of the main window as plain values (tab, name labels,
// memos, unit box, rate fields, rounding lists, the check box "単価に掛け率を使用"), the price
// grid's cells in a grid model, and every command and control event of the main window and of
// the selection dialog. The window forwards its events here and shows what it reads back.
#include "registration/core/registration_session.h"
#include "base/program_homes.h"
#include "registration/core/pipe_block_file.h"
#include "torvik/core/price_grid.h"
#include "torvik/core/torvik_price_list.h"
#include "torvik/core/torvik_calc.h"
#include "torvik/core/torvik_import.h"
#include "pricefile/registration_lists.h"
#include "grid/core/strcolgrid_model.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace velmo {

// The texts of a pipe block shown above and beside the grid, in the order of the records that
// hold them (Name of records 0–4): data_name, select_data, Label3, StaticText1, StaticText2.
enum class BlockText { Name, Name2, Name3, SourceMemo, PageMemo };
constexpr int BlockTextCount = 5;

constexpr int TorvikStatusPanelCount = RegistrationStatusPanels;

// What undo and redo restore: the block and what the controls hold beside it.
struct TorvikEditState {
    PipeBlock block{};
    std::array<std::string, BlockTextCount> texts;
    std::string unit;
    std::array<int, RoundingListCount> lists{};
    bool useRates = true;
    bool operator==(const TorvikEditState &) const = default;
};

// What the shared registration session needs to know of a pipe block.
struct PipeRegistration {
    using Format = PipeFileFormat;
    using State = TorvikEditState;
    static PriceList emptyPriceList() { return emptyTorvikPriceList(); }
    static PriceList priceList(const std::filesystem::path &file) { return torvikPriceList(file, std::nullopt); }
    static auto reviseBlocks(const std::string &bytes, const std::vector<int> &indexes, const PriceRevision &revision,
                             RevisionPreview &preview)
    {
        return revisePipeBlocks(bytes, indexes, revision, preview);
    }
};

class TorvikSession : public RegistrationSession<PipeRegistration> {
public:
    // Creating the main window: reads the command line (launch tag; block; path;) with the
    // block normalised and the path replaced by ex_data/kanzai1.fda of the data home (beside
    // the program, or the user's own folder when installed) when it is empty or names no file. `grid` is the price grid's model, set up by setUpPriceGrid.
    TorvikSession(UserInterface &ui, StrColGridModel &grid, const std::filesystem::path &programDir,
                  const std::string &argument);

    // Showing the window (StartUp): the grid's heading row and cell looks, the empty block
    // clipboard, the list of names, the block of the command line, not modified. Installed, a
    // user's data folder is first made and seeded from the templates, as velmok does. A file that
    // is missing, too short or unreadable raises IoError naming it; nothing is then written.
    void start();

    // ---- state read by the window ----
    int tab() const { return tab_; }
    const std::string &text(BlockText t) const { return texts_[static_cast<int>(t)]; }
    const std::string &unitText() const { return unitText_; }
    // The value shown in the rate field of Tag 1–6.
    Currency rateField(int tag) const { return rateFields_.at(tag - 1); }
    // The entry shown in a rounding list; −1 for none.
    int listIndex(RoundingList l) const { return lists_[static_cast<int>(l)]; }
    bool useRates() const { return useRates_; }
    // The six rate fields and the three rounding lists follow the check box; the twelve labels
    // of the group stay enabled.
    bool ratesEnabled() const { return useRates_; }
    bool listsEnabled() const { return useRates_; }
    // Changes at every ShowBlock, so that the window refills its fields only then and a
    // percentage typed but not entered stays in its field until the block is shown again.
    int showRevision() const { return showRevision_; }

    // ---- the block (LoadBlock and SaveBlock are the shared session's loadBlock, saveBlock) ----
    // Shows the working block: labels, unit box, rate fields, headings and the 14 size rows.
    void ShowBlock();
    // The controls into the settings record and, with the check box on, the purchase and LEVEL
    // prices of location 0 derived from the list price. All or nothing: a price beyond the
    // Currency range raises RangeError naming the size row, and the block stays as it was.
    void Recalculate();

    // ---- events of the main window ----
    // A key pressed in the price grid or its editor, before the grid's own handling, decided
    // by the entry engine (docs/editing.md). True when the grid and its editor are to do
    // nothing more with the key.
    bool gridKeyDown(int vk, ShiftState mods);
    // Before every command of the window: an open editor of the grid is committed, as Tab
    // would commit it; a text that is no number raises ConversionError with the editor open.
    void commitOpenEdit();
    // The grid's editor closed on (col, row) with its text in the cell, but not by a key or a
    // command of the session: the mouse or the focus moved on. The text is committed as Tab
    // would commit it, so that what the cell shows is what the block holds; a refusal or a
    // text that is no number gives way to the stored value, and its message comes back to be
    // shown once the focus has settled (no box may open in the middle of a click).
    std::string editorLeft(int col, int row);
    // Stores the text of the selection's top-left cell; enter: then one row down, from row 14
    // to row 1. A text that is not a number raises ConversionError: nothing is stored or
    // marked modified, and the grid shows the stored values again.
    void CommitCell(bool enter);
    // Enter in the rate field of Tag 1–6 with its value: the percentage is stored and the tab
    // of the prices it governs is shown. A value outside 0–999.99 raises RangeError naming
    // the field and the range; nothing is stored and the field shows the stored value again.
    void rateFieldEnter(int tag, long double value);
    // The rate field of Tag 1–6 was left, or a command began, holding a value typed and not
    // entered: applied as Enter applies it, unless it is the stored percentage already. So
    // every later command, every save and the close see what the field shows.
    void rateFieldLeft(int tag, long double value);
    void checkBoxClicked(bool checked);
    void roundingListSelected(RoundingList list, int index);
    void tabChanged(int tab);
    void unitBoxClicked();
    // An item chosen in the unit box, or text typed into it: the block holds it at once (the
    // next ShowBlock shows it, the save writes it into all 60 records); typing also marks the
    // block modified so that closing asks to save it.
    void unitItemChosen(const std::string &text);
    void unitTextEdited(const std::string &text);
    void registerBlock(); // "登　録"

    // ---- the selection dialog (choosing and moving are the shared session's) ----
    // Whether "選択実行" or a double click may take the entry; without one it beeps.
    bool takeEntry(std::optional<int> selected);

    // ---- names, memos, sizes and headings ----
    // The three name input boxes, one after the other; Cancel ends the sequence.
    void EditName();
    void editMemo(BlockText memo); // SourceMemo (StaticText1) or PageMemo (StaticText2)
    void applySizeList(SizeList list);
    void editSize();    // "サイズを入力": the size of the selection's top row
    void editHeading(); // "細目を編集": the heading of the selection's left column
    void CopyAll() { copyAll(); }
    void PasteAll() { pasteAllClicked(); }

private:
    TorvikSession(UserInterface &ui, StrColGridModel &grid, const ProgramHomes &homes,
                  const LaunchArgument &argument);

    std::string blockName() const override { return texts_[0]; }
    void blockRead() override;
    void blockChosen() override;
    void blockPasted() override;
    void prepareSave() override;
    void editName() override { EditName(); }
    TorvikEditState editState() const override;
    void restoreEditState(const TorvikEditState &state) override;

    // The price grid's cells, for the entry engine.
    EntryCell entryCell(int col, int row) const override;
    void storeEntry(int col, int fromRow, int toRow, Currency v) override;
    void showAgain() override;

    ProgramHomes programHomes() const override { return homes_; }
    PriceListBlock shownPriceListBlock() const override;
    void changePrices(const std::function<void(PipeBlock &)> &edit) override;
    void setListsFrom(const PriceRecord &settings);
    void storeUnit(const std::string &text);
    void setCheckBox(bool checked);
    void recalculateInto(PipeBlock &block) const;
    std::optional<std::string> ask(const char *prompt, const std::string &initial, size_t bytes);
    // Text i of the block (the name of record i) in an input box; false when it was cancelled.
    bool editText(int i, const char *prompt);

    bool handlingKey_ = false; // a key or a command is committing the editor itself
    ProgramHomes homes_;
    LaunchArgument launch_;
    int tab_ = 0;
    std::array<std::string, BlockTextCount> texts_;
    std::string unitText_ = DefaultUnit;
    std::array<Currency, RateFieldCount> rateFields_{};
    std::array<int, RoundingListCount> lists_{}; // item 0 of each list at first
    bool useRates_ = true;                       // checked at first
    int showRevision_ = 0;
};

} // namespace velmo
