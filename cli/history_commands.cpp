#include "cli/history_commands.h"

#include "base/errors.h"
#include "base/fileio.h"
#include "base/shared_texts.h"
#include "cli/batch_command.h"
#include "cli/change_report.h"
#include "cli/cli_texts.h"
#include "cli/command_line.h"
#include "pricefile/equipment_file.h"
#include "pricefile/file_check.h"
#include "pricefile/pipe_block.h"
#include "pricefile/service_file.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string_view>

namespace velmo {

namespace fs = std::filesystem;

namespace {


// The time of a version as the person's clock shows it, with its offset ("2026-12-10T09:15:02+09:00").
std::string localTimeText(std::chrono::system_clock::time_point t)
{
    const std::time_t tt = std::chrono::system_clock::to_time_t(t);
    std::tm tm {};
    ::localtime_r(&tt, &tm);
    char buf[40];
    const size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%S%z", &tm);
    std::string text(buf, n);
    if (text.size() >= 5) // "+0900" → "+09:00"
        text.insert(text.size() - 2, ":");
    return text;
}

// A version's number as written: digits, 1 or more.
std::optional<int> versionNumberOf(std::string_view text)
{
    int n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || n <= 0)
        return std::nullopt;
    return n;
}

} // namespace

void writeHistoryJson(cli::JsonWriter &j, const fs::path &file, PriceFileKind kind)
{
    const PriceFileHistory history = priceFileHistory(file, kind);
    j.beginObject();
    j.path("file", file);
    j.path("folder", history.folder);
    j.key("versions").beginArray();
    for (const PriceFileVersion &pv : history.versions) {
        const HistoryVersion &v = pv.version;
        j.beginObject();
        j.key("version").number(int64_t{v.number});
        j.key("time").string(localTimeText(v.time));
        j.key("program").string(v.program);
        j.key("command").string(v.command);
        j.key("user").string(v.user);
        j.key("host").string(v.host);
        j.key("size").number(static_cast<int64_t>(v.size));
        j.key("stored").number(static_cast<int64_t>(v.storedBytes));
        j.key("changes");
        if (pv.changes)
            j.number(static_cast<int64_t>(*pv.changes));
        else
            j.null();
        if (pv.error)
            j.key("error").string(*pv.error);
        j.endObject();
    }
    j.endArray();
    j.key("skipped").beginArray();
    for (const std::string &s : history.skipped)
        j.string(s);
    j.endArray();
    j.endObject();
}

namespace cli {

std::optional<VersionRef> versionRefOf(const std::string &word)
{
    const size_t at = word.rfind('@');
    if (at == std::string::npos || at == 0 || at + 1 == word.size() || word.size() - at - 1 > 9)
        return std::nullopt;
    const std::optional<int> n = versionNumberOf(std::string_view(word).substr(at + 1));
    if (!n || pathExists(word)) // a file of that very name is that file
        return std::nullopt;
    return VersionRef{word.substr(0, at), *n};
}

UsagePart historyUsage(const std::string &program)
{
    const std::string p = "        " + program;
    return {p + " history FILE\n" + p + " show FILE --version N [--out OUT]\n" + p +
                " restore FILE --version N [--write [--force]]\n",
            sharedtext::HistoryUsageNotes};
}

bool isHistoryCommand(const std::string &command)
{
    return command == "history" || command == "show" || command == "restore";
}

namespace {

struct HistoryOptions {
    std::string command;
    fs::path file;
    std::optional<int> version;
    std::optional<fs::path> out;
    bool write = false, force = false;
};

HistoryOptions parseHistory(int argc, char **argv)
{
    HistoryOptions o;
    o.command = argv[1];
    CommandLine line(o.command);
    if (o.command != "history")
        line.value("--version", [&o](const std::string &v) {
            o.version = versionNumberOf(v);
            if (!o.version)
                throw UsageError(sharedtext::badVersionText(v));
        }, sharedtext::NoVersionNumberText);
    if (o.command == "show")
        line.value("--out", [&o](const std::string &v) {
            if (v.empty())
                throw UsageError(sharedtext::NoOutFileText);
            o.out = v;
        }, sharedtext::NoOutFileText);
    if (o.command == "restore") {
        line.flag("--write", o.write);
        line.flag("--force", o.force);
    }
    const std::vector<std::string> files = line.parse(argc, argv);
    if (files.empty())
        throw UsageError(sharedtext::commandNeedsFileText(o.command));
    if (files.size() > 1)
        throw UsageError(sharedtext::commandSecondFileText(o.command, files[1]));
    o.file = files[0];
    if (o.command != "history" && !o.version)
        throw UsageError(sharedtext::commandNeedsVersionText(o.command));
    if (o.force && !o.write)
        throw UsageError(sharedtext::ForceWithoutWriteOptionText);
    return o;
}

int history(const HistoryOptions &o, PriceFileKind kind)
{
    JsonWriter j;
    writeHistoryJson(j, o.file, kind);
    printJson(j);
    return 0;
}

int show(const HistoryOptions &o, PriceFileKind kind)
{
    const std::string bytes = priceFileVersion(o.file, *o.version, kind);
    if (o.out) {
        if (!writeFileAtomically(*o.out, bytes, Overwrite::Never))
            throw IoError(sharedtext::outFileExistsText(*o.out));
        noteFileWritten(*o.out);
    } else {
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    }
    return 0;
}

// The preview of the changes from the file as it is to the version, then with --write the
// version as the file's new content, through the shared write: what the file held is kept as a
// version of its own. A file another program changed since it was read here is left as it is.
int restore(const HistoryOptions &o, PriceFileKind kind)
{
    const std::string version = priceFileVersion(o.file, *o.version, kind);
    const FileContents now = readExistingFile(o.file, [&](uintmax_t size) { checkPriceFileSize(kind, o.file, size); });
    const std::string name = versionLabel(o.file, *o.version);
    const std::vector<PriceChange> changes = compareContents(kind, now.bytes, o.file.string(), version, name);
    const std::vector<std::string> problems = kind == PriceFileKind::Pipe ? checkServiceFile(name, version)
                                                                          : checkEquipmentFile(name, version);
    if (o.write) {
        restoreContent(o.file, kind, version, o.force ? std::nullopt : std::optional<std::string>(now.bytes));
        noteFileWritten(o.file);
    }
    JsonWriter j;
    j.beginObject();
    j.path("file", o.file);
    j.key("version").number(int64_t{*o.version});
    j.key("written").boolean(o.write);
    j.key("problems").beginArray();
    for (const std::string &p : problems)
        j.string(p);
    j.endArray();
    j.key("changes");
    writeChangesJson(j, changes, kind);
    j.endObject();
    printJson(j);
    return 0;
}

} // namespace

int runHistoryCommand(int argc, char **argv, PriceFileKind kind)
{
    const HistoryOptions o = parseHistory(argc, argv);
    if (o.command == "history")
        return history(o, kind);
    if (o.command == "show")
        return show(o, kind);
    return restore(o, kind);
}

} // namespace cli
} // namespace velmo
