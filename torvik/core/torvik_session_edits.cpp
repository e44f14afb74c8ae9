// The pipe registration session: names, memos, sizes, headings and the paste of a whole block.
#include "torvik/core/torvik_session.h"

#include "torvik/core/torvik_import.h"
#include "torvik/core/torvik_texts.h"

namespace velmo {

std::optional<std::string> TorvikSession::ask(const char *prompt, const std::string &initial, size_t bytes)
{
    return askFieldText(ui_, controltext::InputCaption, prompt, initial, bytes);
}

bool TorvikSession::editText(int i, const char *prompt)
{
    const auto text = ask(prompt, texts_[i], RecordHead::NameBytes);
    if (!text)
        return false;
    texts_[i] = *text;
    workingBlock()[i].name.assignText(*text);
    setModified();
    return true;
}

void TorvikSession::EditName()
{
    const Step step(*this);
    for (int i = 0; i < static_cast<int>(torvik::NamePrompts.size()); ++i)
        if (!editText(i, torvik::NamePrompts[i]))
            return;
}

void TorvikSession::editMemo(BlockText memo)
{
    const Step step(*this);
    if (memo != BlockText::SourceMemo && memo != BlockText::PageMemo)
        return;
    editText(static_cast<int>(memo), memo == BlockText::SourceMemo ? torvik::SourceMemoPrompt : torvik::PageMemoPrompt);
}

void TorvikSession::applySizeList(SizeList list)
{
    const Step step(*this);
    const auto &entries = sizeListEntries(list);
    for (int r = 1; r < PriceGridRows; ++r)
        grid_.SetCells(0, r, entries[r - 1]);
    for (int r = 1; r < PriceGridRows; ++r)
        workingBlock()[r - 1].size.assignText(grid_.Cells(0, r));
    setModified();
}

void TorvikSession::editSize()
{
    const Step step(*this);
    const int r = grid_.Selection().top;
    if (r < 1 || r >= PriceGridRows)
        return;
    const auto text = ask(torvik::SizePrompt, grid_.Cells(0, r), RecordHead::SizeBytes);
    if (!text)
        return;
    grid_.SetCells(0, r, *text);
    workingBlock()[r - 1].size.assignText(*text);
}

void TorvikSession::editHeading()
{
    const Step step(*this);
    const int c = grid_.Selection().left;
    if (c < FirstRateColumn || c >= PriceGridCols) {
        ui_.beep(); // the price column has no location heading
        return;
    }
    const auto text = ask(torvik::HeadingPrompt, grid_.Cells(c, 0), RecordHead::CaptionBytes);
    if (!text)
        return;
    grid_.SetCells(c, 0, *text);
    for (int l = 0; l < LocationsPerPipe; ++l)
        workingBlock()[l * RowsPerLocation + SizeRowsPerLocation].caption.assignText(grid_.Cells(FirstRateColumn + l, 0));
}

void TorvikSession::PasteAll()
{
    const Step step(*this);
    pasteAll();
    setModified();
}

ImportTarget TorvikSession::importTarget() const
{
    return importTargetOf(working());
}

void TorvikSession::importPriceList()
{
    if (const auto preview = askPriceImport(ui_, importTarget()))
        applyImport(*preview);
}

void TorvikSession::applyImport(const ImportPreview &preview)
{
    const Step step(*this);
    if (preview.matched() == 0)
        return;
    PipeBlock b = working();
    setListPrices(b, preview);
    recalculateInto(b);
    workingBlock() = b;
    ShowBlock();
    setModified();
}

void TorvikSession::revisePrices()
{
    const Step step(*this);
    std::vector<int> all(PipesPerFile);
    for (int i = 0; i < PipesPerFile; ++i)
        all[i] = i;
    const auto choice = ui_.askRevision(listRevisionDialogText(), [&](const RevisionChoice &c) {
        RevisionPreview p;
        if (c.scope == 0) {
            PipeBlock b = working();
            reviseListPrices(b, blockIndex(), c.revision, p);
        } else {
            revisePipeBlocks(readServiceFileBytes(dataPath()), all, c.revision, p);
            p.refusal = wholeFileRevisionRefusal();
        }
        return p;
    });
    if (!choice)
        return;
    RevisionPreview p;
    if (choice->scope == 0) {
        PipeBlock b = working();
        reviseListPrices(b, blockIndex(), choice->revision, p);
        recalculateInto(b);
        workingBlock() = b;
        ShowBlock();
        setModified();
        return;
    }
    const std::string data = readServiceFileBytes(dataPath());
    const auto blocks = revisePipeBlocks(data, all, choice->revision, p);
    reviseWholeFile(revisionSummaryText(p, controltext::RevisionBlockHeading), [&] {
        // Every block was read for the summary: one another program changed since is not lost.
        writePipeBlocks(dataPath(), blocks, blocksAsRead(data, all, PipeBlockBytes));
        return p.blocks;
    });
}

} // namespace velmo
