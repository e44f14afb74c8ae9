#include "cli/batch_command.h"

#include "base/shared_texts.h"
#include "cli/cli_texts.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "base/file_history.h"
#include "base/program_homes.h"
#include "cli/command_line.h"
#include "pricefile/equipment_record.h"
#include "pricefile/file_check.h"
#include "pricefile/price_record.h"
#include "pricework/price_list_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace velmo::cli {

std::string readFileToCheck(const std::filesystem::path &file, uintmax_t expectedBytes)
{
    return readExistingFile(file, [&](uintmax_t size) {
               if (size > expectedBytes)
                   throw IoError(tooLargeText(file, size, expectedBytes));
           })
        .bytes;
}

std::string commandOf(int argc, char **argv, const std::function<bool(const std::string &)> &known)
{
    if (argc < 2)
        throw UsageError(sharedtext::NoCommandText);
    const std::string command = argv[1];
    if (!known(command))
        throw UsageError(sharedtext::unknownCommandText(command));
    return command;
}

void addRevisionOptions(CommandLine &line, RevisionArgs &args)
{
    line.flag("--all", args.all);
    line.value("--unit", args.unit, sharedtext::missingOptionValueText("--unit"));
    line.value("--round", args.round, sharedtext::missingOptionValueText("--round"));
    line.value("--percent", [&args](const std::string &v) { args.percent = v; },
               sharedtext::missingOptionValueText("--percent"));
}

void requireRevisionArgs(const RevisionArgs &args, bool blockGiven, const char *oneBlock)
{
    if (!args.percent)
        throw UsageError(sharedtext::RevisionNeedsPercentText);
    if (args.all == blockGiven)
        throw UsageError(sharedtext::revisionScopeText(oneBlock));
}

int checkCommand(const std::filesystem::path &file, PriceFileKind kind)
{
    const bool pipes = kind == PriceFileKind::Pipe;
    const std::string data =
        readFileToCheck(file, pipes ? static_cast<uintmax_t>(RecordsPerFile) * RecordSize : EquipmentFileBytes);
    const std::vector<std::string> problems =
        pipes ? checkServiceFile(file.string(), data) : checkEquipmentFile(file.string(), data);
    for (const std::string &p : problems)
        std::printf("%s\n", p.c_str());
    return problems.empty() ? 0 : 1;
}

PriceRevision parseRevisionOrUsage(const RevisionArgs &args)
{
    try {
        return parseRevision(*args.percent, args.unit, args.round);
    } catch (const ConversionError &e) {
        throw UsageError(e.what());
    }
}

std::vector<int> selectedOrAll(std::optional<int> one, int count)
{
    if (one)
        return {*one};
    std::vector<int> all;
    for (int i = 0; i < count; ++i)
        all.push_back(i);
    return all;
}

namespace {
std::optional<std::filesystem::path> writtenFile;
} // namespace

void noteFileWritten(const std::filesystem::path &file) { writtenFile = file; }

void printJson(const JsonWriter &j)
{
    std::fwrite(j.text().data(), 1, j.text().size(), stdout);
    std::fputc('\n', stdout);
}

namespace {

// The versions a command's writes keep name the program and the command; the history's bounds
// come from the settings folder; a version that could not be kept is told on standard error.
void configureHistory(const char *program, const char *command)
{
    setHistoryOrigin({program, command});
    try {
        const ProgramHomes homes = homesOf(handoff::runningProgramFolder());
        setHistorySettings(readHistorySettings(homes.settings / HistorySettingsFileName));
    } catch (const VelmoError &e) {
        // unreadable settings: the history keeps its default bounds, and the person hears why
        std::fprintf(stderr, "%s: %s\n", program, e.what());
    }
    setHistoryWarning([program](const std::string &message) { std::fprintf(stderr, "%s: %s\n", program, message.c_str()); });
}

} // namespace

int runBatch(int argc, char **argv, const char *program, const char *usage, const char *usageHint,
             const std::function<int()> &run)
{
    int status = 2;
    errno = 0;
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        status = 0;
    } else if (argc < 2) { // nothing asked: how to ask
        std::fputs(usage, stderr);
        return 2;
    } else {
        configureHistory(program, argv[1]);
        try {
            status = run();
        } catch (const UsageError &e) {
            std::fprintf(stderr, "%s: %s %s\n", program, e.what(), usageHint);
        } catch (const ChangedOnDiskError &e) {
            std::fprintf(stderr, "%s: %s%s\n", program, e.what(), sharedtext::ForceHintText);
            status = 3;
        } catch (const std::exception &e) {
            std::fprintf(stderr, "%s: %s\n", program, e.what());
        }
    }
    // What was written to standard output must have reached it: a full disk or a closed pipe
    // shows only at the flush or the close.
    const bool failed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    const int flushError = errno != 0 ? errno : EIO;
    if (std::fclose(stdout) != 0 || failed) {
        const std::string what =
            writtenFile ? sharedtext::writtenButStdoutFailedText(*writtenFile) : sharedtext::StdoutFailedText;
        std::fprintf(stderr, "%s: %s: %s\n", program, what.c_str(), systemErrorText(failed ? flushError : errno).c_str());
        return 2;
    }
    return status;
}

std::optional<int> blockNumberText(const std::string &text)
{
    if (text.empty() || text.size() > 2)
        return std::nullopt;
    int n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

} // namespace velmo::cli
