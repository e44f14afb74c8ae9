// Each command line's manual page against its --help: the same commands in the synopsis, each
// with an entry of its own under COMMANDS, the same options, and an entry under OPTIONS for
// every option the usage shows.
#include "base/fileio.h"
#include "tests/common/cli_run.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

using namespace velmo;
using namespace velmo::test;
namespace fs = std::filesystem;

namespace {

using Names = std::set<std::string>;

// (Plain scanning rather than <regex>: GCC 12 warns inside <regex> in the sanitizer build.)
bool nameChar(char c) { return (c >= 'a' && c <= 'z') || c == '-'; }

// The options ("--name") of a text.
Names optionsIn(const std::string &text)
{
    Names found;
    for (size_t i = 0; i + 2 < text.size(); ++i) {
        if (text.compare(i, 2, "--") != 0 || text[i + 2] < 'a' || text[i + 2] > 'z')
            continue;
        size_t end = i + 2;
        while (end < text.size() && nameChar(text[end]))
            ++end;
        while (text[end - 1] == '-')
            --end;
        found.insert(text.substr(i, end - i));
        i = end - 1;
    }
    return found;
}

// The word ("diff", "revise-labour") that follows `prefix` at the start of a line; empty when
// the line does not start so or no word follows.
std::string wordAfter(const std::string &line, const std::string &prefix)
{
    if (line.rfind(prefix, 0) != 0 || line.size() <= prefix.size() || line[prefix.size()] < 'a' || line[prefix.size()] > 'z')
        return {};
    size_t end = prefix.size();
    while (end < line.size() && nameChar(line[end]))
        ++end;
    return line.substr(prefix.size(), end - prefix.size());
}

// The word that heads a manual entry: ".B word", ".BI word …", either with a quote before it.
std::string entryWord(const std::string &line)
{
    for (const char *prefix : {".B ", ".BI ", ".B \"", ".BI \""})
        if (std::string w = wordAfter(line, prefix); !w.empty())
            return w;
    return {};
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
    while (std::getline(lines, line)) {
        if (line.rfind(".SH ", 0) == 0) {
            section = line.substr(4);
            continue;
        }
        if (section == "SYNOPSIS") {
            if (std::string c = wordAfter(line, ".B " + program + " "); !c.empty())
                page.commands.insert(c);
            page.options.merge(optionsIn(line));
        } else if (section == "COMMANDS" && tag && !entryWord(line).empty()) {
            page.entries.insert(entryWord(line));
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
    while (std::getline(lines, line))
        for (const std::string prefix : {"使い方: ", "        "})
            if (std::string c = wordAfter(line, prefix + program + " "); !c.empty())
                u.commands.insert(c);
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
