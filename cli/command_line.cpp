#include "cli/command_line.h"

#include "base/shared_texts.h"
#include "cli/cli_texts.h"
#include "cli/batch_command.h"

#include <CLI/CLI.hpp>

#include <map>
#include <set>

namespace velmo::cli {

struct CommandLine::Parser {
    CLI::App app;
    std::map<std::string, std::string> missing; // an option with a value → the error without it
    std::set<std::string> flags;
    // A flag given a value ("--write=1") is no option of the command. CLI11 would take it for
    // the flag, so it goes in disguised as an unknown option ("--write\x1f=1") and comes out
    // as given, wherever it lands: an unknown option, or the value of another option.
    std::map<std::string, std::string> disguised;
    const std::string &asGiven(const std::string &word) const
    {
        const auto d = disguised.find(word);
        return d == disguised.end() ? word : d->second;
    }
};

CommandLine::CommandLine(std::string command) : command_(std::move(command)), parser_(std::make_unique<Parser>())
{
    CLI::App &app = parser_->app;
    app.set_help_flag(); // --help is the program's own usage, or an option this command does not have
    // Words and unknown options stay in the order given and are sorted out by parse.
    app.allow_extras();
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

CommandLine::~CommandLine() = default;

void CommandLine::value(const std::string &name, std::function<void(const std::string &)> take, std::string missing)
{
    const Parser &p = *parser_;
    parser_->app.add_option(name)->each([&p, take = std::move(take)](const std::string &v) { take(p.asGiven(v)); });
    parser_->missing[name] = std::move(missing);
}

void CommandLine::value(const std::string &name, std::string &into, std::string missing)
{
    value(name, [&into](const std::string &v) { into = v; }, std::move(missing));
}

void CommandLine::flag(const std::string &name, bool &into)
{
    parser_->app.add_flag(name, into);
    parser_->flags.insert(name);
}

std::vector<std::string> CommandLine::parse(int argc, char **argv, int first)
{
    Parser &p = *parser_;
    // "--name=" of an option with a value is its empty value (CLI11 would take the next word).
    std::vector<std::string> given;
    for (int i = first; i < argc; ++i) {
        const std::string a = argv[i];
        const std::string name = a.substr(0, a.find('='));
        if (a.size() == name.size() + 1 && p.missing.count(name) > 0) {
            given.push_back(name);
            given.emplace_back();
        } else if (name.size() < a.size() && p.flags.count(name) > 0) {
            given.push_back(name + "\x1f" + a.substr(name.size()));
            p.disguised[given.back()] = a;
        } else {
            given.push_back(a);
        }
    }
    std::vector<std::string> rest(given.rbegin(), given.rend()); // CLI11 takes them from the back
    try {
        p.app.parse(rest);
    } catch (const CLI::ArgumentMismatch &) {
        // The word CLI11 stopped at: an option with a value that ends the line.
        const std::string &a = given.at(given.size() - rest.size() - 1);
        const auto missing = p.missing.find(a);
        if (missing == p.missing.end())
            throw UsageError(sharedtext::commandLineUnreadText(command_));
        throw UsageError(missing->second);
    } catch (const CLI::Error &) {
        throw UsageError(sharedtext::commandLineUnreadText(command_));
    }
    std::vector<std::string> words;
    for (const std::string &word : p.app.remaining()) {
        const std::string &w = p.asGiven(word);
        if (w.size() > 1 && w[0] == '-')
            throw UsageError(sharedtext::unknownOptionText(command_, w));
        words.push_back(w);
    }
    return words;
}

} // namespace velmo::cli
