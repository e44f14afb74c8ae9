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
// unless --force is given.
// Exit status: 0 done (diff too, whether or not anything changed), 1 check found problems,
// 2 usage or file error (one line on stderr), 3 the file was changed by another program and --write left it as it is.
#include "cli/batch_command.h"
#include "cli/batch_import.h"
#include "base/shared_texts.h"
#include "base/fileio.h"
#include "base/json_writer.h"
#include "torvik/core/price_grid.h"
#include "torvik/core/torvik_calc.h"
#include "torvik/core/torvik_import.h"
#include "torvik/core/torvik_price_list.h"
#include "pricework/price_list_output.h"
#include "torvik/core/torvik_texts.h"
#include "cli/change_report.h"
#include "pricefile/file_check.h"
#include "pricefile/pipe_block.h"
#include "pricefile/pricing_rules.h"
#include "cli/record_json.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmo::cli {
namespace {

namespace fs = std::filesystem;

struct Options {
    std::string command;
    fs::path file;
    std::optional<int> block;
    fs::path out; // of pdf and xlsx
    bool write = false;
    bool force = false;
    RevisionArgs revision; // revise
};

int parseBlock(const std::string &text)
{
    const std::optional<int> n = blockNumberText(text);
    if (!n || *n >= PipesPerFile)
        throw UsageError(controltext::badBlockError(text));
    return *n;
}

Options parseArgs(int argc, char **argv)
{
    if (argc < 2)
        throw UsageError(controltext::NoCommandText);
    Options o;
    o.command = argv[1];
    if (o.command != "dump" && o.command != "recalc" && o.command != "check" && o.command != "revise" &&
        !handoff::isPriceListCommand(o.command))
        throw UsageError(controltext::unknownCommandText(o.command));
    bool haveOut = !handoff::priceListCommandTakesOut(o.command);
    const bool takesBlock = o.command != "check";
    bool haveFile = false;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (takesBlock && a == "--block") {
            if (i + 1 >= argc)
                throw UsageError(controltext::NoBlockNumberError);
            o.block = parseBlock(argv[++i]);
        } else if (takesBlock && a.rfind("--block=", 0) == 0) {
            o.block = parseBlock(a.substr(8));
        } else if ((o.command == "recalc" || o.command == "revise") && a == "--write") {
            o.write = true;
        } else if ((o.command == "recalc" || o.command == "revise") && a == "--force") {
            o.force = true;
        } else if (o.command == "revise" && takeRevisionArg(argc, argv, i, o.revision)) {
        } else if (a.size() > 1 && a[0] == '-') {
            throw UsageError(controltext::unknownOptionText(o.command, a));
        } else if (!haveFile) {
            o.file = a;
            haveFile = true;
        } else if (!haveOut) {
            o.out = a;
            haveOut = true;
        } else {
            throw UsageError(controltext::secondFileError(a));
        }
    }
    if (!haveFile)
        throw UsageError(controltext::noFileError(o.command));
    if (!haveOut)
        throw UsageError(controltext::noOutFileError(o.command));
    if (o.command == "revise")
        requireRevisionArgs(o.revision, o.block.has_value(), "--block N");
    return o;
}

// --- dump --------------------------------------------------------------------------------

int cmdDump(const Options &o)
{
    const std::string data = readServiceFileBytes(o.file);
    JsonWriter j;
    j.beginObject();
    j.key("records").beginArray();
    for (const int b : selectedOrAll(o.block, PipesPerFile)) {
        const PipeBlock block = pipeBlockOf(data, b);
        for (int i = 0; i < RecordsPerPipe; ++i)
            writePriceRecordJson(j, b * RecordsPerPipe + i, block[i]);
    }
    j.endArray();
    j.endObject();
    printJson(j);
    return 0;
}

// --- recalc ------------------------------------------------------------------------------

// The bases in the order of the tabs: 定価, LEVEL1 … LEVEL5, 原価.
constexpr Basis TabBases[] = {Basis::List, Basis::Level1, Basis::Level2, Basis::Level3,
                              Basis::Level4, Basis::Level5, Basis::Net};

void writeBlock(JsonWriter &j, int index, const PipeBlock &b)
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
    j.key("percent").beginObject();
    for (const Basis basis : TabBases)
        if (basis != Basis::List)
            j.key(basisKey(basis)).number(s.slots[materialSlot(basis)]);
    j.endObject();
    j.key("rows").beginArray();
    for (int k = 0; k < SizeRowsPerLocation; ++k) {
        const PriceRecord &r = b[k];
        j.beginObject();
        j.key("row").number(int64_t{k + 1});
        j.key("size").string(r.size.text());
        j.key("prices").beginObject();
        for (const Basis basis : TabBases)
            j.key(basisKey(basis)).number(r.slots[materialSlot(basis)]);
        j.endObject();
        j.endObject();
    }
    j.endArray();
    j.endObject();
}

// --write: the blocks put back in one write, under the write lock, into the file as it then is:
// what other writers changed in other blocks stays; when one of these blocks changed since
// `data` was read, ChangedOnDiskError (or over it with --force).
void writeBack(const Options &o, const std::string &data, const std::vector<std::pair<int, PipeBlock>> &blocks)
{
    std::vector<int> indexes;
    for (const auto &b : blocks)
        indexes.push_back(b.first);
    writePipeBlocks(o.file, blocks, o.force ? BlocksAsRead{} : blocksAsRead(data, indexes, PipeBlockBytes));
    noteFileWritten(o.file);
}

// A block recalculated as torvik does when it opens it: its controls at their start-up state,
// then set from the settings record.
void recalculateAsOpened(PipeBlock &b)
{
    recalculatePipeBlock(b, torvikControlsFrom(b[SettingsRecord], TorvikControls{}));
}

int cmdRecalc(const Options &o)
{
    const std::string data = readServiceFileBytes(o.file);
    std::vector<std::pair<int, PipeBlock>> blocks;
    JsonWriter j;
    j.beginObject();
    j.key("blocks").beginArray();
    for (const int index : selectedOrAll(o.block, PipesPerFile)) {
        PipeBlock b = pipeBlockOf(data, index);
        recalculateAsOpened(b);
        writeBlock(j, index, b);
        blocks.emplace_back(index, b);
    }
    j.endArray();
    j.endObject();
    if (o.write)
        writeBack(o, data, blocks);
    printJson(j);
    return 0;
}

// --- revise ------------------------------------------------------------------------------

int cmdRevise(const Options &o)
{
    const PriceRevision revision = parseRevisionOrUsage(o.revision);
    const std::string data = readServiceFileBytes(o.file);
    RevisionPreview preview;
    const auto blocks = revisePipeBlocks(data, selectedOrAll(o.block, PipesPerFile), revision, preview);
    if (o.write)
        writeBack(o, data, blocks);
    JsonWriter j;
    writeRevisionJson(j, preview, revision, o.write);
    printJson(j);
    return 0;
}

// --- import ------------------------------------------------------------------------------

int cmdImport(int argc, char **argv)
{
    const ImportOptions io = parseImportArgs(argc, argv, parseBlock);
    const std::string data = readServiceFileBytes(io.file);
    PipeBlock b = pipeBlockOf(data, io.block);
    const ListImport list = previewOfList(io, importTargetOf(b));
    const ImportPreview &preview = list.preview;
    // As torvik stores a typed list price: then recalculated.
    setListPrices(b, preview);
    recalculateAsOpened(b);
    const bool writes = importWrites(io, preview);
    if (writes) {
        Options o;
        o.file = io.file;
        o.force = io.force;
        writeBack(o, data, {{io.block, b}});
    }
    JsonWriter j;
    j.beginObject();
    writeImportJson(j, io, list, writes);
    j.endObject();
    printJson(j);
    return 0;
}

// --- check -------------------------------------------------------------------------------

int cmdCheck(const Options &o)
{
    const std::string data = readFileToCheck(o.file, static_cast<uintmax_t>(RecordsPerFile) * RecordSize);
    const std::vector<std::string> problems = checkServiceFile(o.file.string(), data);
    for (const std::string &p : problems)
        std::printf("%s\n", p.c_str());
    return problems.empty() ? 0 : 1;
}

// --- pdf, csv, xlsx ----------------------------------------------------------------------

int cmdPriceList(const Options &o)
{
    handoff::runPriceListCommand(o.command, torvikPriceList(o.file, o.block), o.file, o.out,
                                 handoff::runningProgramFolder());
    return 0;
}

} // namespace
} // namespace velmo::cli

int main(int argc, char **argv)
{
    using namespace velmo::cli;
    const std::string usageHint = velmo::controltext::usageHintText(velmo::torvik::CliName);
    const std::string usage = velmo::usageText({{velmo::torvik::CliCommands, velmo::torvik::CliNotes},
                                                velmo::controltext::importUsageText(velmo::torvik::CliName),
                                                diffUsage(velmo::torvik::CliName, velmo::PriceFileKind::Pipe)});
    return runBatch(argc, argv, velmo::torvik::CliName, usage.c_str(), usageHint.c_str(), [&] {
        if (argc >= 2 && std::strcmp(argv[1], "import") == 0)
            return cmdImport(argc, argv);
        if (argc > 1 && std::strcmp(argv[1], "diff") == 0)
            return runDiffCommand(argc, argv, velmo::PriceFileKind::Pipe);
        const Options o = parseArgs(argc, argv);
        if (o.command == "dump")
            return cmdDump(o);
        if (o.command == "recalc")
            return cmdRecalc(o);
        if (velmo::handoff::isPriceListCommand(o.command))
            return cmdPriceList(o);
        if (o.command == "revise")
            return cmdRevise(o);
        return cmdCheck(o);
    });
}
