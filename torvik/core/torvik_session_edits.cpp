// The pipe registration session: names, memos, sizes, headings and the paste of a whole block.
#include "torvik/core/torvik_session.h"
#include "pricework/pricework_texts.h"

#include "torvik/core/torvik_texts.h"

namespace velmo {

std::optional<std::string> TorvikSession::ask(const char *prompt, const std::string &initial, size_t bytes)
{
    return askFieldText(ui_, sharedtext::InputCaption, prompt, initial, bytes);
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

void TorvikSession::changePrices(const std::function<void(PipeBlock &)> &edit)
{
    PipeBlock b = working();
    edit(b);
    recalculateInto(b);
    workingBlock() = b;
    ShowBlock();
}

} // namespace velmo
