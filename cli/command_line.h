#pragma once
// The options of one batch command, read by CLI11: "--name V" and "--name=V" for an option with
// a value, "--name" for a flag, each as often as wanted (the last counts); every other word is
// a file, in the order given. CLI11's own help and English messages never reach the person:
// --help is the program's usage (runBatch), and every mistake raises UsageError in Japanese
// naming the option or the value.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmo::cli {

class CommandLine {
public:
    // `command`: the command's name, as the messages give it.
    explicit CommandLine(std::string command);
    ~CommandLine();
    CommandLine(const CommandLine &) = delete;
    CommandLine &operator=(const CommandLine &) = delete;

    // An option with a value: `take` gets each value given, in order, and may raise UsageError
    // for one it refuses. `missing` is the error when the option ends the line without a value.
    // "--name=" gives the empty value.
    void value(const std::string &name, std::function<void(const std::string &)> take, std::string missing);
    void value(const std::string &name, std::string &into, std::string missing);
    // An option without a value ("--name=V" is an option the command does not have).
    void flag(const std::string &name, bool &into);

    // Reads argv[first] on and returns the words that are no option, in order. An option the
    // command does not have (any word of two or more characters starting with "-", "--" too)
    // raises UsageError naming it.
    std::vector<std::string> parse(int argc, char **argv, int first = 2);

private:
    struct Parser;
    std::string command_;
    std::unique_ptr<Parser> parser_;
};

} // namespace velmo::cli
