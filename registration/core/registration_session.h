#pragma once
// What the sessions of the two registration programs share beyond the block session: the price
// file they edit (a BlockFile), the price grid's entry engine, the status panels, the whole-block
// paste, a supplier's price list, the revision of list prices and the price list commands.
// `Traits` gives what differs between a pipe block and an equipment block:
//   Format                  the price file's format, as BlockFile takes it (Block, Blocks, …);
//   State                   what undo and redo restore;
//   emptyPriceList()        the program's price list without blocks;
//   priceList(file)         every named block of the file as the program shows it;
//   reviseBlocks(bytes, indexes, revision, preview) the blocks' list prices revised and
//                           recalculated as the program does when it opens them.
// The program adds what is its own: what a block shows and how it is recalculated.
#include "cli/earlier_versions.h"
#include "registration/core/block_file.h"
#include "registration/core/block_session.h"
#include "registration/core/registration_grid.h"
#include "base/program_homes.h"
#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "grid/core/grid_entry.h"
#include "grid/core/strcolgrid_model.h"
#include "pricework/price_import.h"
#include "pricework/price_list_output.h"
#include "registration/core/registration_price_list.h"
#include "pricework/price_revision.h"

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

// LaunchTag, BlockIndex, the program's flag (empty for torvik), DataPath.
constexpr int RegistrationStatusPanels = 4;

namespace detail {
// Holds the file before the session's base is made, which keeps a reference to it.
template <typename Format>
struct BlockFileHolder {
    explicit BlockFileHolder(std::filesystem::path path) : file(std::move(path)) {}
    BlockFile<Format> file;
};
} // namespace detail

template <typename Traits>
class RegistrationSession : private detail::BlockFileHolder<typename Traits::Format>,
                            public BlockSession<typename Traits::Format::Block, typename Traits::State>,
                            protected GridCellMap {
public:
    using Format = typename Traits::Format;
    using Block = typename Format::Block;
    using Base = BlockSession<Block, typename Traits::State>;
    using Step = typename Base::Step;

    // `path`: the file to edit; `grid`: the model of the price grid, whose cells the session
    // fills and whose keys it takes.
    RegistrationSession(UserInterface &ui, StrColGridModel &grid, std::filesystem::path path)
        : detail::BlockFileHolder<Format>(std::move(path)), Base(ui, this->file), grid_(grid)
    {
    }

    std::filesystem::path dataPath() const { return this->file.path(); }
    // LaunchTag, BlockIndex, the program's flag, DataPath (marked when read-only).
    std::array<std::string, RegistrationStatusPanels> statusPanels() const
    {
        return {this->launchTag(), std::to_string(this->blockIndex()), statusFlag(),
                sharedtext::readOnlyMark(this->readOnly()) + dataPath().string()};
    }
    const StrColGridModel &grid() const { return grid_; }
    StrColGridModel &grid() { return grid_; }

    // ---- the grid ----
    // Ctrl+V / Ctrl+C in the price grid without an open editor: spreadsheet cells pasted from
    // the selection on (each by the rules of a typed entry, one report), or the selection
    // copied. True when the key was one of them; the grid then does nothing more with it.
    bool gridSheetKey(int vk, bool ctrl)
    {
        const Step step(*this);
        return entry_.sheetKey(vk, ctrl);
    }
    void pasteFromSheet() // "貼り付け（表計算から）"
    {
        const Step step(*this);
        entry_.pasteClipboard();
    }

    // The menu command: the block clipboard into the block shown, then modified.
    void pasteAllClicked()
    {
        const Step step(*this);
        this->settleTyping();
        this->pasteAll();
        this->setModified();
    }

    // ---- a supplier's price list ----
    // The block's sizes and their list prices (定価), as a price list is matched to them.
    ImportTarget importTarget() const { return importTargetOf(this->working()); }
    // "価格表の取り込み…": the file chooser, the dialog, then the chosen prices applied.
    void importPriceList()
    {
        this->settleTyping();
        if (const auto preview = askPriceImport(this->ui_, importTarget()))
            applyImport(*preview);
    }
    // The list prices of the preview's sizes stored and the derived prices recalculated as after
    // a typed list price; shown and modified, one step of the history. A preview without a price
    // changes nothing. A derived price beyond the range raises RangeError and nothing changes.
    void applyImport(const ImportPreview &preview)
    {
        const Step step(*this);
        this->settleTyping();
        if (preview.matched() == 0)
            return;
        changePrices([&](Block &b) { setListPrices(b, preview); });
        this->setModified();
    }

    // "以前の版…": the earlier versions of the file; 元に戻す puts the chosen one back as the whole
    // file, refused while the block shown has edits not registered (as the revision of the whole
    // file is); the block shown is read again after it, as after another program's change.
    void earlierVersions()
    {
        const Step step(*this);
        if (restoreEarlierVersion(this->ui_, dataPath(), Format::Kind, [this] { return this->wholeFileRestoreRefusal(); }))
            this->reloadBlock();
    }

    // "価格改定…": the list prices of the block shown (one step, recalculated, modified) or of
    // every block of the file (written at once after a confirmation) raised or lowered.
    void revisePrices()
    {
        const Step step(*this);
        std::vector<int> all(Format::Blocks);
        for (int i = 0; i < Format::Blocks; ++i)
            all[i] = i;
        const auto choice = this->ui_.askRevision(listRevisionDialogText(), [&](const RevisionChoice &c) {
            RevisionPreview p;
            if (c.scope == 0) {
                Block b = this->working();
                reviseListPrices(b, this->blockIndex(), c.revision, p);
            } else {
                Traits::reviseBlocks(Format::read(dataPath()), all, c.revision, p);
                p.refusal = this->wholeFileRevisionRefusal();
            }
            return p;
        });
        if (!choice)
            return;
        RevisionPreview p;
        if (choice->scope == 0) {
            changePrices([&](Block &b) { reviseListPrices(b, this->blockIndex(), choice->revision, p); });
            this->setModified();
            return;
        }
        const std::string data = Format::read(dataPath());
        const auto blocks = Traits::reviseBlocks(data, all, choice->revision, p);
        this->reviseWholeFile(revisionSummaryText(p, sharedtext::RevisionBlockHeading), [&] {
            // Every block was read for the summary: one another program changed since is not lost.
            Format::writeBlocks(dataPath(), blocks, blocksAsRead(data, all, Format::BlockBytes));
            return p.blocks;
        });
    }

    // ---- price lists ----
    // "価格表の印刷…", "価格表をCSVファイルとして出力…", "価格表をExcelファイルとして出力…": the
    // block shown (as the window shows it, saved or not) or every named block of the file, as
    // the person chooses; the other blocks as the file holds them.
    void printPriceList()
    {
        if (const auto list = priceListToOutput())
            handoff::printPriceList(this->ui_, *list, sharedtext::InputCaption, programHomes());
    }
    void exportPriceListCsv()
    {
        if (const auto list = priceListToOutput())
            handoff::exportPriceListCsv(this->ui_, *list);
    }
    void exportPriceListXlsx()
    {
        if (const auto list = priceListToOutput())
            handoff::exportPriceListXlsx(this->ui_, *list);
    }

protected:
    // The third status panel.
    virtual std::string statusFlag() const { return ""; }
    // The program's homes, where the print hand-off goes.
    virtual ProgramHomes programHomes() const = 0;
    // The block shown as its price list shows it, with the names and unit the window shows.
    virtual PriceListBlock shownPriceListBlock() const = 0;
    // The block's prices changed by `edit` on a copy, recalculated, then adopted and shown;
    // nothing changes when it fails.
    virtual void changePrices(const std::function<void(Block &)> &edit) = 0;

    void markModified() override { this->setModified(); }

    StrColGridModel &grid_;
    GridEntry entry_{grid_, this->ui_, *this, RegistrationGridRows - 1, false};

private:
    // The list the person asked for; nothing when they cancelled or no block has a name.
    std::optional<PriceList> priceListToOutput()
    {
        const auto scope = handoff::askPriceListScope(this->ui_);
        if (!scope)
            return std::nullopt;
        this->settleTyping(); // a price typed and not yet entered counts, as it does for a save
        const PriceListBlock shown = shownPriceListBlock();
        PriceList list = Traits::emptyPriceList();
        if (*scope == handoff::PriceListScope::Current) {
            list.blocks.push_back(shown);
            return list;
        }
        PriceList stored = Traits::priceList(dataPath());
        // The block shown counts by the name the window shows, and with what the window shows.
        const int index = this->blockIndex();
        const bool loaded = this->blockLoaded();
        bool shownIn = !loaded || !hasName(this->blockName());
        for (PriceListBlock &b : stored.blocks) {
            if (loaded && b.index == index)
                continue;
            if (!shownIn && b.index > index) {
                list.blocks.push_back(shown);
                shownIn = true;
            }
            list.blocks.push_back(std::move(b));
        }
        if (!shownIn)
            list.blocks.push_back(shown);
        if (list.blocks.empty()) {
            this->ui_.notice(sharedtext::noNamedBlockText(dataPath()), sharedtext::NoticeButton);
            return std::nullopt;
        }
        return list;
    }
};

} // namespace velmo
