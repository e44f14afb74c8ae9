// The price list commands of selvan's main window.
#include "selvan/core/selvan_session.h"

#include "base/shared_texts.h"
#include "base/program_homes.h"
#include "pricework/price_list_output.h"

namespace velmo {

std::optional<PriceList> SelvanSession::priceListToOutput()
{
    const auto scope = handoff::askPriceListScope(ui_);
    if (!scope)
        return std::nullopt;
    commitTypedCell(); // a price typed and not yet entered counts, as it does for a save
    const PriceListBlock shown = selvanPriceListBlock(blockIndex(), working(), materialName(), unitText_);
    PriceList list = emptySelvanPriceList();
    if (*scope == handoff::PriceListScope::Current) {
        list.blocks.push_back(shown);
        return list;
    }
    PriceList stored = selvanPriceList(dataPath(), std::nullopt);
    // The block shown counts by the name the window shows, and with what the window shows.
    bool shownIn = !blockLoaded() || !hasName(materialName());
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

void SelvanSession::printPriceList()
{
    if (const auto list = priceListToOutput())
        handoff::printPriceList(ui_, *list, controltext::InputCaption, homesOf(programDir_));
}

void SelvanSession::exportPriceListCsv()
{
    if (const auto list = priceListToOutput())
        handoff::exportPriceListCsv(ui_, *list);
}

void SelvanSession::exportPriceListXlsx()
{
    if (const auto list = priceListToOutput())
        handoff::exportPriceListXlsx(ui_, *list);
}

} // namespace velmo
