// The price list commands of torvik's main window.
#include "torvik/core/torvik_session.h"

#include "base/shared_texts.h"
#include "pricework/price_list_output.h"

namespace velmo {

std::optional<PriceList> TorvikSession::priceListToOutput()
{
    const auto scope = handoff::askPriceListScope(ui_);
    if (!scope)
        return std::nullopt;
    const PriceListBlock shown = torvikPriceListBlock(blockIndex(), working(), PipeBlockTexts{texts_, unitText_});
    PriceList list = emptyTorvikPriceList();
    if (*scope == handoff::PriceListScope::Current) {
        list.blocks.push_back(shown);
        return list;
    }
    PriceList stored = torvikPriceList(dataPath(), std::nullopt);
    // The block shown counts by the name the window shows, and with what the window shows.
    bool shownIn = !blockLoaded() || !hasName(texts_[0]);
    for (PriceListBlock &b : stored.blocks) {
        if (blockLoaded() && b.index == blockIndex())
            continue;
        if (!shownIn && b.index > blockIndex()) {
            list.blocks.push_back(shown);
            shownIn = true;
        }
        list.blocks.push_back(std::move(b));
    }
    if (!shownIn)
        list.blocks.push_back(shown);
    if (list.blocks.empty()) {
        ui_.notice(controltext::noNamedBlockText(dataPath()), controltext::NoticeButton);
        return std::nullopt;
    }
    return list;
}

void TorvikSession::printPriceList()
{
    if (const auto list = priceListToOutput())
        handoff::printPriceList(ui_, *list, controltext::InputCaption, homes_);
}

void TorvikSession::exportPriceListCsv()
{
    if (const auto list = priceListToOutput())
        handoff::exportPriceListCsv(ui_, *list);
}

void TorvikSession::exportPriceListXlsx()
{
    if (const auto list = priceListToOutput())
        handoff::exportPriceListXlsx(ui_, *list);
}

} // namespace velmo
