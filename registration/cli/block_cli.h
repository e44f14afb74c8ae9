#pragma once
// The command line of the two registration programs' price files (torvik-cli, selvan-cli):
// dump, recalc, check, revise, import, diff, the earlier versions (history, show, restore) and the price lists (pdf, csv, xlsx) of a file of
// 20 blocks, written once for both. A program gives what is its own in a traits class:
//
//   struct Traits {
//       using Block = …;                        // PipeBlock, EquipmentBlock
//       using Controls = …;                     // the controls a block sets when it is opened
//       static constexpr const char *Name;      // "torvik-cli"
//       static constexpr PriceFileKind Kind;
//       static constexpr size_t BlockBytes;     // the bytes of one block in the file
//       static constexpr UsagePart usage;       // its own commands and notes
//       readFile(path) → std::string            // the whole file; IoError naming it
//       blockOf(data, index) → Block
//       writeRecords(JsonWriter &, index, const Block &)    // dump
//       recalculate(Block &) → Controls         // as the program does when it opens the block
//       writeRecalculated(JsonWriter &, index, const Block &, const Controls &)
//       revise(data, indexes, const PriceRevision &, RevisionPreview &) → std::vector<std::pair<int, Block>>
//       writeBlocks(path, const std::vector<std::pair<int, Block>> &, const BlocksAsRead &)
//       priceList(path, std::optional<int> only) → PriceList
//   };
//
// importTargetOf and setListPrices are found by the block's type.
// Exit status: 0 done (diff too, whether or not anything changed), 1 check found problems,
// 2 usage or file error (one line on stderr), 3 the file was changed by another program and
// --write left it as it is.
#include "base/fileio.h"
#include "base/json_writer.h"
#include "base/shared_texts.h"
#include "cli/cli_texts.h"
#include "base/usage_text.h"
#include "cli/batch_command.h"
#include "cli/batch_import.h"
#include "cli/change_report.h"
#include "cli/history_commands.h"
#include "pricefile/pipe_block.h"
#include "pricefile/pricing_rules.h"
#include "pricework/price_list_output.h"
#include "registration/core/block_session.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmo::cli {

// A command of the file other than import and diff, as the command line gives it.
struct BlockCommand {
    std::string command;
    std::filesystem::path file;
    std::optional<int> block; // 0 … 19
    std::filesystem::path out; // of pdf and xlsx
    bool write = false;
    bool force = false; // --write even over another program's change of a block it writes
    RevisionArgs revision; // revise
};

// The text of --block as a block number 0 … 19; UsageError otherwise.
int parseBlockNumber(const std::string &text);

// "COMMAND FILE [OUT] [options]" of dump, recalc, check, revise, pdf, csv and xlsx.
BlockCommand parseBlockCommand(int argc, char **argv);

// The usage: the program's commands, import and diff.
std::string blockCliUsage(const UsagePart &own, const char *program, PriceFileKind kind);

// The bases in the order of the tabs of both programs: 定価, LEVEL1 … LEVEL5, 原価.
inline constexpr Basis TabBases[] = {Basis::List,   Basis::Level1, Basis::Level2, Basis::Level3,
                                     Basis::Level4, Basis::Level5, Basis::Net};

// The member `key`: an object of `value(basis)` for each basis of the tabs (定価 left out
// without `withList`), keyed as basisKey.
template <class Value>
void writeTabBases(JsonWriter &j, const char *key, const Value &value, bool withList = true)
{
    j.key(key).beginObject();
    for (const Basis basis : TabBases)
        if (withList || basis != Basis::List)
            j.key(basisKey(basis)).number(value(basis));
    j.endObject();
}

template <class Traits>
class BlockCli {
public:
    using Block = typename Traits::Block;

    static int main(int argc, char **argv)
    {
        const std::string usageHint = sharedtext::usageHintText(Traits::Name);
        const std::string usage = blockCliUsage(Traits::usage, Traits::Name, Traits::Kind);
        return runBatch(argc, argv, Traits::Name, usage.c_str(), usageHint.c_str(), [&] {
            if (argc >= 2 && std::strcmp(argv[1], "import") == 0)
                return import(argc, argv);
            if (argc >= 2 && std::strcmp(argv[1], "diff") == 0)
                return runDiffCommand(argc, argv, Traits::Kind);
            if (argc >= 2 && isHistoryCommand(argv[1]))
                return runHistoryCommand(argc, argv, Traits::Kind);
            const BlockCommand o = parseBlockCommand(argc, argv);
            if (o.command == "dump")
                return dump(o);
            if (o.command == "recalc")
                return recalc(o);
            if (o.command == "revise")
                return revise(o);
            if (handoff::isPriceListCommand(o.command)) {
                handoff::runPriceListCommand(o.command, Traits::priceList(o.file, o.block), o.file, o.out,
                                             handoff::runningProgramFolder());
                return 0;
            }
            return checkCommand(o.file, Traits::Kind);
        });
    }

private:
    static std::vector<int> blocksOf(const BlockCommand &o) { return selectedOrAll(o.block, BlocksPerFile); }

    static int dump(const BlockCommand &o)
    {
        const std::string data = Traits::readFile(o.file);
        JsonWriter j;
        j.beginObject();
        j.key("records").beginArray();
        for (const int b : blocksOf(o))
            Traits::writeRecords(j, b, Traits::blockOf(data, b));
        j.endArray();
        j.endObject();
        printJson(j);
        return 0;
    }

    // --write: the blocks put back in one write, under the write lock, into the file as it then
    // is: what other writers changed in other blocks stays; when one of these blocks changed
    // since `data` was read, ChangedOnDiskError (or over it with --force).
    static void writeBack(const std::filesystem::path &file, bool force, const std::string &data,
                          const std::vector<std::pair<int, Block>> &blocks)
    {
        std::vector<int> indexes;
        for (const auto &b : blocks)
            indexes.push_back(b.first);
        Traits::writeBlocks(file, blocks, force ? BlocksAsRead{} : blocksAsRead(data, indexes, Traits::BlockBytes));
        noteFileWritten(file);
    }

    static int recalc(const BlockCommand &o)
    {
        const std::string data = Traits::readFile(o.file);
        std::vector<std::pair<int, Block>> blocks;
        JsonWriter j;
        j.beginObject();
        j.key("blocks").beginArray();
        for (const int index : blocksOf(o)) {
            Block b = Traits::blockOf(data, index);
            const auto controls = Traits::recalculate(b);
            Traits::writeRecalculated(j, index, b, controls);
            blocks.emplace_back(index, b);
        }
        j.endArray();
        j.endObject();
        if (o.write)
            writeBack(o.file, o.force, data, blocks);
        printJson(j);
        return 0;
    }

    static int revise(const BlockCommand &o)
    {
        const PriceRevision revision = parseRevisionOrUsage(o.revision);
        const std::string data = Traits::readFile(o.file);
        RevisionPreview preview;
        const auto blocks = Traits::revise(data, blocksOf(o), revision, preview);
        if (o.write)
            writeBack(o.file, o.force, data, blocks);
        JsonWriter j;
        writeRevisionJson(j, preview, revision, o.write);
        printJson(j);
        return 0;
    }

    // As the program stores a typed list price: then recalculated.
    static int import(int argc, char **argv)
    {
        const ImportOptions io = parseImportCommand(argc, argv, parseBlockNumber);
        const std::string data = Traits::readFile(io.file);
        Block b = Traits::blockOf(data, io.block);
        const ListImport list = previewOfList(io, importTargetOf(b));
        setListPrices(b, list.preview);
        Traits::recalculate(b);
        const bool writes = importWrites(io, list.preview);
        if (writes)
            writeBack(io.file, io.force, data, {{io.block, b}});
        JsonWriter j;
        j.beginObject();
        writeImportJson(j, io, list, writes);
        j.endObject();
        printJson(j);
        return 0;
    }

};

} // namespace velmo::cli
