#include "registration/cli/block_cli.h"

#include "cli/history_commands.h"
#include "cli/cli_texts.h"

#include "cli/command_line.h"

namespace velmo::cli {

int parseBlockNumber(const std::string &text)
{
    const std::optional<int> n = blockNumberText(text);
    if (!n || *n >= BlocksPerFile)
        throw UsageError(sharedtext::badBlockError(text));
    return *n;
}

BlockCommand parseBlockCommand(int argc, char **argv)
{
    BlockCommand o;
    o.command = commandOf(argc, argv, [](const std::string &c) {
        return c == "dump" || c == "recalc" || c == "check" || c == "revise" || handoff::isPriceListCommand(c);
    });
    const std::string &c = o.command;
    CommandLine line(c);
    if (c != "check")
        line.value("--block", [&o](const std::string &v) { o.block = parseBlockNumber(v); },
                   sharedtext::NoBlockNumberError);
    if (c == "recalc" || c == "revise") {
        line.flag("--write", o.write);
        line.flag("--force", o.force);
    }
    if (c == "revise")
        addRevisionOptions(line, o.revision);
    const std::vector<std::string> files = line.parse(argc, argv);
    const size_t takes = handoff::priceListCommandTakesOut(c) ? 2 : 1; // FILE, and OUT of pdf and xlsx
    if (files.size() > takes)
        throw UsageError(sharedtext::secondFileError(files[takes]));
    if (files.empty())
        throw UsageError(sharedtext::noFileError(c));
    if (files.size() < takes)
        throw UsageError(sharedtext::noOutFileError(c));
    o.file = files[0];
    if (takes == 2)
        o.out = files[1];
    if (c == "revise")
        requireRevisionArgs(o.revision, o.block.has_value(), "--block N");
    return o;
}

std::string blockCliUsage(const UsagePart &own, const char *program, PriceFileKind kind)
{
    return usageText({own, sharedtext::importUsageText(program), diffUsage(program, kind), historyUsage(program)});
}

} // namespace velmo::cli
