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
// unless --force is given.
// Exit status: 0 done (diff too, whether or not anything changed), 1 check found problems,
// 2 usage or file error (one line on stderr), 3 the file was changed by another program and --write left it as it is.
#include "base/shared_texts.h"
#include "cli/change_report.h"
#include "pricefile/equipment_file.h"
#include "base/errors.h"
#include "pricefile/file_check.h"
#include "base/fileio.h"
#include "cli/batch_command.h"
#include "cli/batch_import.h"
#include "base/json_writer.h"
#include "selvan/core/selvan_calc.h"
#include "selvan/core/selvan_price_list.h"
#include "selvan/core/selvan_texts.h"
#include "pricework/price_list_output.h"

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
    if (!n || *n >= EquipmentBlockCount)
        throw UsageError(selvan::badBlockError(text));
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
                throw UsageError(selvan::NoBlockNumberError);
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
            throw UsageError(selvan::secondFileError(a));
        }
    }
    if (!haveFile)
        throw UsageError(selvan::noFileError(o.command));
    if (!haveOut)
        throw UsageError(controltext::noOutFileError(o.command));
    if (o.command == "revise")
        requireRevisionArgs(o.revision, o.block.has_value(), "--block N");
    return o;
}

// --- dump --------------------------------------------------------------------------------

int cmdDump(const Options &o)
{
    const std::vector<EquipmentRecord> records = readEquipmentFile(o.file);
    JsonWriter j;
    j.beginObject();
    j.key("records").beginArray();
    for (const int b : selectedOrAll(o.block, EquipmentBlockCount)) {
        for (int row = 0; row < EquipmentRowsPerBlock; ++row) {
            const int index = b * EquipmentRowsPerBlock + row;
            const EquipmentRecord &r = records[index];
            j.beginObject();
            j.key("record").number(int64_t{index});
            j.key("block").number(int64_t{b});
            j.key("row").number(int64_t{row});
            writeRecordHead(j, r);
            j.key("slots").beginObject();
            for (int s = 0; s < EquipmentSlotCount; ++s)
                j.key(std::to_string(offset::Slots + 8 * s)).number(r.values[s]);
            j.endObject();
            j.endObject();
        }
    }
    j.endArray();
    j.endObject();
    printJson(j);
    return 0;
}

// --- recalc ------------------------------------------------------------------------------

// The bases in the order of the tabs.
constexpr Basis TabBases[] = {Basis::List, Basis::Level1, Basis::Level2, Basis::Level3,
                              Basis::Level4, Basis::Level5, Basis::Net};

void writeBlock(JsonWriter &j, int index, const EquipmentBlock &b, const EquipmentControls &c)
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
    j.key("percent").beginObject();
    for (const Basis basis : TabBases)
        if (basis != Basis::List)
            j.key(basisKey(basis)).number(s.values[materialSlot(basis)]);
    j.endObject();
    j.key("rows").beginArray();
    for (int row = 0; row < EquipmentSizeRows; ++row) {
        const EquipmentRecord &r = b[row];
        j.beginObject();
        j.key("row").number(int64_t{row + 1});
        j.key("size").string(r.caption.text());
        j.key("material").beginObject();
        for (const Basis basis : TabBases)
            j.key(basisKey(basis)).number(r.values[materialSlot(basis)]);
        j.endObject();
        j.key("labourRate").number(r.values[eqslot::LabourRate]);
        j.key("installation").beginObject();
        for (const Basis basis : TabBases)
            j.key(basisKey(basis)).number(r.values[installationSlot(basis)]);
        j.endObject();
        j.endObject();
    }
    j.endArray();
    j.endObject();
}

// --write: the blocks put back in one write, under the write lock, into the file as it then is:
// what other writers changed in other blocks stays; when one of these blocks changed since
// `data` was read, ChangedOnDiskError (or over it with --force).
void writeBack(bool force, const fs::path &file, const std::string &data,
               const std::vector<std::pair<int, EquipmentBlock>> &blocks)
{
    std::vector<int> indexes;
    for (const auto &b : blocks)
        indexes.push_back(b.first);
    writeEquipmentBlocks(file, blocks, force ? BlocksAsRead{} : blocksAsRead(data, indexes, EquipmentBlockBytes));
    noteFileWritten(file);
}

// Block `index` of the file's records.
EquipmentBlock blockOf(const std::vector<EquipmentRecord> &records, int index)
{
    EquipmentBlock b;
    std::copy_n(records.begin() + index * EquipmentRowsPerBlock, EquipmentRowsPerBlock, b.begin());
    return b;
}

int cmdRecalc(const Options &o)
{
    const std::string data = readEquipmentFileBytes(o.file);
    const std::vector<EquipmentRecord> records = equipmentRecordsOf(data);
    std::vector<std::pair<int, EquipmentBlock>> blocks;
    JsonWriter j;
    j.beginObject();
    j.key("blocks").beginArray();
    for (const int index : selectedOrAll(o.block, EquipmentBlockCount)) {
        EquipmentBlock b = blockOf(records, index);
        // As selvan started on the block: its controls at their start-up state, then set
        // from the settings record.
        const EquipmentControls c = controlsFrom(b[EquipmentSettingsRow], EquipmentControls{});
        recalculateBlock(b, c);
        writeBlock(j, index, b, c);
        blocks.emplace_back(index, b);
    }
    j.endArray();
    j.endObject();
    if (o.write)
        writeBack(o.force, o.file, data, blocks);
    printJson(j);
    return 0;
}

// --- revise ------------------------------------------------------------------------------

int cmdRevise(const Options &o)
{
    const PriceRevision revision = parseRevisionOrUsage(o.revision);
    const std::string data = readEquipmentFileBytes(o.file);
    const std::vector<EquipmentRecord> records = equipmentRecordsOf(data);
    RevisionPreview preview;
    const auto blocks = reviseEquipmentBlocks(records, selectedOrAll(o.block, EquipmentBlockCount), revision, preview);
    if (o.write)
        writeBack(o.force, o.file, data, blocks);
    JsonWriter j;
    writeRevisionJson(j, preview, revision, o.write);
    printJson(j);
    return 0;
}

// --- import ------------------------------------------------------------------------------

int cmdImport(int argc, char **argv)
{
    const ImportOptions o = parseImportArgs(argc, argv, parseBlock);
    const std::string data = readEquipmentFileBytes(o.file);
    EquipmentBlock b = equipmentBlockOf(data, o.block);
    const ListImport list = previewOfList(o, importTargetOf(b));
    const ImportPreview &preview = list.preview;
    // As selvan stores a typed list price: the controls as the block sets them, then recalculated.
    setListPrices(b, preview);
    const EquipmentControls c = controlsFrom(b[EquipmentSettingsRow], EquipmentControls{});
    recalculateBlock(b, c);
    const bool writes = importWrites(o, preview);
    if (writes)
        writeBack(o.force, o.file, data, {{o.block, b}});
    JsonWriter j;
    j.beginObject();
    writeImportJson(j, o, list, writes);
    j.endObject();
    printJson(j);
    return 0;
}

// --- check -------------------------------------------------------------------------------

int cmdCheck(const Options &o)
{
    const std::string data = readFileToCheck(o.file, EquipmentFileBytes);
    const std::vector<std::string> problems = checkEquipmentFile(o.file.string(), data);
    for (const std::string &p : problems)
        std::printf("%s\n", p.c_str());
    return problems.empty() ? 0 : 1;
}

// --- pdf, csv, xlsx ----------------------------------------------------------------------

int cmdPriceList(const Options &o)
{
    handoff::runPriceListCommand(o.command, selvanPriceList(o.file, o.block), o.file, o.out,
                                 handoff::runningProgramFolder());
    return 0;
}

} // namespace
} // namespace velmo::cli

int main(int argc, char **argv)
{
    using namespace velmo::cli;
    const std::string usageHint = velmo::controltext::usageHintText(velmo::selvan::CliName);
    const std::string usage = velmo::usageText({{velmo::selvan::CliCommands, velmo::selvan::CliNotes},
                                                velmo::controltext::importUsageText(velmo::selvan::CliName),
                                                diffUsage(velmo::selvan::CliName, velmo::PriceFileKind::Equipment)});
    return runBatch(argc, argv, velmo::selvan::CliName, usage.c_str(), usageHint.c_str(), [&] {
        if (argc >= 2 && std::strcmp(argv[1], "import") == 0)
            return cmdImport(argc, argv);
        if (argc > 1 && std::strcmp(argv[1], "diff") == 0)
            return runDiffCommand(argc, argv, velmo::PriceFileKind::Equipment);
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
