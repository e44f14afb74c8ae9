// torvik-cli: the pipe price file of the pipe unit price registration program without a window.
//
//   torvik-cli dump FILE [--block N]            every field of every record (or of block N) as JSON
//   torvik-cli recalc FILE [--block N] [--write [--force]]
//                                               the derived prices as torvik computes them, JSON
//   torvik-cli check FILE                       report malformed fields, one line each
//   torvik-cli revise FILE (--block N | --all) --percent P [--unit U] [--round up|down|half]
//              [--write [--force]]              list prices raised or lowered by P %, rounded to
//                                               U yen, then recalculated; the preview as JSON
//   torvik-cli import FILE --block N LIST [--size-column C] [--price-column C] [--sheet NAME]
//                     [--write [--force]]       a supplier's list prices into block N: the preview
//                                               as JSON, stored and recalculated with --write
//   torvik-cli diff OLD NEW [--csv | --xlsx OUT]
//                                               what changed from OLD to NEW, as JSON, CSV or a
//                                               workbook: the report velmok-cli diff gives, with
//                                               pipes numbered 1 … 20 (cli/change_report.h)
//   torvik-cli pdf FILE OUT.pdf [--block N]     the price list printed into a PDF, a page a block
//   torvik-cli csv FILE [--block N]             the price list as CSV on standard output
//   torvik-cli xlsx FILE OUT.xlsx [--block N]   the price list as a workbook, a sheet a block
//
// Without --block the price lists hold every named block.
// Blocks are numbered 0 … 19, as in torvik's argument and status bar.
// No command creates a file; --write refuses a file another program changed since it was read,
// unless --force is given. The commands are those of registration/cli/block_cli.h; what is
// torvik's is the pipe block below.
#include "cli/record_json.h"
#include "pricefile/pipe_block.h"
#include "pricefile/pricing_rules.h"
#include "registration/cli/block_cli.h"
#include "torvik/core/price_grid.h"
#include "torvik/core/torvik_calc.h"
#include "torvik/core/torvik_import.h"
#include "torvik/core/torvik_price_list.h"
#include "torvik/core/torvik_texts.h"

namespace velmo::cli {
namespace {

struct PipeTraits {
    using Block = PipeBlock;
    using Controls = TorvikControls;
    static constexpr const char *Name = torvik::CliName;
    static constexpr PriceFileKind Kind = PriceFileKind::Pipe;
    static constexpr size_t BlockBytes = PipeBlockBytes;
    static inline const UsagePart usage{torvik::CliCommands, torvik::CliNotes};
    static constexpr auto readFile = readServiceFileBytes;
    static constexpr auto blockOf = pipeBlockOf;
    static constexpr auto revise = revisePipeBlocks;
    static constexpr auto writeBlocks = writePipeBlocks;
    static constexpr auto priceList = torvikPriceList;

    static void writeRecords(JsonWriter &j, int index, const Block &block)
    {
        for (int i = 0; i < RecordsPerPipe; ++i)
            writePriceRecordJson(j, index * RecordsPerPipe + i, block[i]);
    }

    // As torvik does when it opens the block: its controls at their start-up state, then set from
    // the settings record.
    static Controls recalculate(Block &b)
    {
        const Controls c = torvikControlsFrom(b[SettingsRecord], TorvikControls{});
        recalculatePipeBlock(b, c);
        return c;
    }

    static void writeRecalculated(JsonWriter &j, int index, const Block &b, const Controls &)
    {
        const PriceRecord &s = b[SettingsRecord];
        j.beginObject();
        j.key("block").number(int64_t{index});
        j.key("name").string(b[0].name.text());
        j.key("unit").string(s.unit.text());
        j.key("useRates").number(s.D(4));
        j.key("significantCode").number(s.D(1));
        j.key("fractionAddend").number(s.D(2));
        j.key("significantAddend").number(s.D(3));
        writeTabBases(j, "percent", [&](Basis basis) { return s.slots[materialSlot(basis)]; }, false);
        j.key("rows").beginArray();
        for (int k = 0; k < SizeRowsPerLocation; ++k) {
            const PriceRecord &r = b[k];
            j.beginObject();
            j.key("row").number(int64_t{k + 1});
            j.key("size").string(r.size.text());
            writeTabBases(j, "prices", [&](Basis basis) { return r.slots[materialSlot(basis)]; });
            j.endObject();
        }
        j.endArray();
        j.endObject();
    }
};

} // namespace
} // namespace velmo::cli

int main(int argc, char **argv) { return velmo::cli::BlockCli<velmo::cli::PipeTraits>::main(argc, argv); }
