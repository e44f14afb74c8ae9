// selvan-cli: the equipment price file without opening a window.
//
//   selvan-cli dump FILE [--block N]            every field of every record (or of block N) as JSON
//   selvan-cli recalc FILE [--block N] [--write [--force]]
//                                               the derived prices as selvan computes them, JSON
//   selvan-cli check FILE                       report malformed fields, one line each
//   selvan-cli pdf FILE OUT.pdf [--block N]     the price list printed into a PDF, a page a block
//   selvan-cli csv FILE [--block N]             the price list as CSV on standard output
//   selvan-cli xlsx FILE OUT.xlsx [--block N]   the price list as a workbook, a sheet a block
//   selvan-cli revise FILE (--block N | --all) --percent P [--unit U] [--round up|down|half]
//              [--write [--force]]              list prices raised or lowered by P %, rounded to
//                                               U yen, then recalculated; the preview as JSON
//   selvan-cli import FILE --block N LIST [--size-column C] [--price-column C] [--sheet NAME]
//                     [--write [--force]]       a supplier's list prices into block N: the preview
//                                               as JSON, stored and recalculated with --write
//   selvan-cli diff OLD NEW [--csv | --xlsx OUT]
//                                               what changed from OLD to NEW, as JSON, CSV or a
//                                               workbook (cli/change_report.h)
//
// Without --block the price lists hold every named block.
// Blocks are numbered 0 … 19, as in selvan's argument and status bar.
// No command creates a file; --write refuses a file another program changed since it was read,
// unless --force is given. The commands are those of registration/cli/block_cli.h; what is
// selvan's is the equipment block below.
#include "pricefile/equipment_file.h"
#include "registration/cli/block_cli.h"
#include "selvan/core/selvan_calc.h"
#include "selvan/core/selvan_price_list.h"
#include "selvan/core/selvan_texts.h"

namespace velmo::cli {
namespace {

struct EquipmentTraits {
    using Block = EquipmentBlock;
    using Controls = EquipmentControls;
    static constexpr const char *Name = selvan::CliName;
    static constexpr PriceFileKind Kind = PriceFileKind::Equipment;
    static constexpr size_t BlockBytes = EquipmentBlockBytes;
    static inline const UsagePart usage{selvan::CliCommands, selvan::CliNotes};
    static constexpr auto readFile = readEquipmentFileBytes;
    static constexpr auto blockOf = equipmentBlockOf;
    static constexpr auto writeBlocks = writeEquipmentBlocks;
    static constexpr auto priceList = selvanPriceList;

    static std::vector<std::pair<int, Block>> revise(const std::string &data, const std::vector<int> &indexes,
                                                     const PriceRevision &revision, RevisionPreview &preview)
    {
        return reviseEquipmentBlocks(equipmentRecordsOf(data), indexes, revision, preview);
    }

    static void writeRecords(JsonWriter &j, int index, const Block &block)
    {
        for (int row = 0; row < EquipmentRowsPerBlock; ++row) {
            const EquipmentRecord &r = block[row];
            j.beginObject();
            j.key("record").number(int64_t{index * EquipmentRowsPerBlock + row});
            j.key("block").number(int64_t{index});
            j.key("row").number(int64_t{row});
            writeRecordHead(j, r);
            j.key("slots").beginObject();
            for (int s = 0; s < EquipmentSlotCount; ++s)
                j.key(std::to_string(offset::Slots + 8 * s)).number(r.values[s]);
            j.endObject();
            j.endObject();
        }
    }

    // As selvan started on the block: its controls at their start-up state, then set from the
    // settings record.
    static Controls recalculate(Block &b)
    {
        const Controls c = controlsFrom(b[EquipmentSettingsRow], EquipmentControls{});
        recalculateBlock(b, c);
        return c;
    }

    static void writeRecalculated(JsonWriter &j, int index, const Block &b, const Controls &c)
    {
        const EquipmentRecord &s = b[EquipmentSettingsRow];
        j.beginObject();
        j.key("block").number(int64_t{index});
        j.key("name").string(b[0].name.text());
        j.key("unit").string(b[0].unit.text());
        j.key("useRates").number(int64_t{c.useRates ? 1 : 0});
        j.key("labourMode").number(int64_t{c.labourMode});
        j.key("significantCode").number(s.values[eqslot::SignificantCode]);
        j.key("fractionAddend").number(s.values[eqslot::FractionAddend]);
        j.key("significantAddend").number(s.values[eqslot::SignificantAddend]);
        writeTabBases(j, "percent", [&](Basis basis) { return s.values[materialSlot(basis)]; }, false);
        j.key("rows").beginArray();
        for (int row = 0; row < EquipmentSizeRows; ++row) {
            const EquipmentRecord &r = b[row];
            j.beginObject();
            j.key("row").number(int64_t{row + 1});
            j.key("size").string(r.caption.text());
            writeTabBases(j, "material", [&](Basis basis) { return r.values[materialSlot(basis)]; });
            j.key("labourRate").number(r.values[eqslot::LabourRate]);
            writeTabBases(j, "installation", [&](Basis basis) { return r.values[installationSlot(basis)]; });
            j.endObject();
        }
        j.endArray();
        j.endObject();
    }
};

} // namespace
} // namespace velmo::cli

int main(int argc, char **argv) { return velmo::cli::BlockCli<velmo::cli::EquipmentTraits>::main(argc, argv); }
