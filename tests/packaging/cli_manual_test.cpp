// Each command line's manual page against its --help: the same commands in the synopsis, each
// with an entry of its own under COMMANDS, the same options, and an entry under OPTIONS for
// every option the usage shows.
#include "controls/core/fileio.h"
#include "tests/common/cli_run.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

using Names = std::set<std::string>;

// The options ("--name") of a text.
Names optionsIn(const std::string &text)
{
    Names found;
    const std::regex option("--[a-z][a-z-]*[a-z]");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
        found.insert(it->str());
    return found;
}

struct Page {
    Names commands; // of the synopsis
    Names options;  // of the synopsis
    Names entries;   // commands that head an entry of COMMANDS
    Names described; // options that head an entry of OPTIONS
};

// The manual page's source read as man shows its words: "\-" is "-".
Page manualPage(const std::string &program)
{
    std::string source = readWholeFile(fs::path(VELMO_MAN_DIR) / (program + ".1"));
    for (size_t p; (p = source.find("\\-")) != std::string::npos;)
        source.replace(p, 2, "-");
    Page page;
    std::istringstream lines(source);
    std::string line, section;
    bool tag = false;
    const std::regex command("^\\.B " + program + " ([a-z][a-z-]*)");
    const std::regex entry("^\\.BI? \"?([a-z][a-z-]*)");
    for (std::smatch m; std::getline(lines, line);) {
        if (line.rfind(".SH ", 0) == 0) {
            section = line.substr(4);
            continue;
        }
        if (section == "SYNOPSIS") {
            if (std::regex_search(line, m, command))
                page.commands.insert(m[1]);
            page.options.merge(optionsIn(line));
        } else if (section == "COMMANDS" && tag && std::regex_search(line, m, entry)) {
            page.entries.insert(m[1]);
        } else if (section == "OPTIONS" && tag) {
            page.described.merge(optionsIn(line));
        }
        tag = line == ".TP";
    }
    page.options.erase("--help");
    return page;
}

struct Usage {
    Names commands, options;
};

Usage helpOf(const std::string &cli, const std::string &program)
{
    const Result r = runProgram(cli, {"--help"});
    EXPECT_EQ(r.code, 0) << r.err;
    Usage u;
    std::istringstream lines(r.out);
    std::string line;
    const std::regex command("^(使い方: | {8})" + program + " ([a-z][a-z-]*)");
    for (std::smatch m; std::getline(lines, line);)
        if (std::regex_search(line, m, command))
            u.commands.insert(m[2]);
    u.options = optionsIn(r.out);
    return u;
}

std::string listed(const Names &names)
{
    std::string s;
    for (const std::string &n : names)
        s += (s.empty() ? "" : " ") + n;
    return s;
}

void expectManualMatchesHelp(const std::string &cli, const std::string &program)
{
    SCOPED_TRACE(program);
    const Usage help = helpOf(cli, program);
    const Page page = manualPage(program);
    EXPECT_GE(help.commands.size(), 7u);
    EXPECT_EQ(listed(page.commands), listed(help.commands)) << "the synopsis of " << program << ".1";
    EXPECT_EQ(listed(page.entries), listed(help.commands)) << "the entries of COMMANDS of " << program << ".1";
    EXPECT_EQ(listed(page.options), listed(help.options)) << "the synopsis of " << program << ".1";
    for (const std::string &o : help.options)
        EXPECT_TRUE(page.described.count(o)) << program << ".1 has no entry for " << o << " under OPTIONS";
}

} // namespace

TEST(CliManual, EachManualPageHasTheCommandsAndOptionsOfItsHelp)
{
    expectManualMatchesHelp(VELMO_VELMOK_CLI, "velmok-cli");
    expectManualMatchesHelp(VELMO_TORVIK_CLI, "torvik-cli");
    expectManualMatchesHelp(VELMO_SELVAN_CLI, "selvan-cli");
}
