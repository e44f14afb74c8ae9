#include "cli/change_report.h"

#include "cli/batch_command.h"
#include "cli/command_line.h"
#include "base/shared_texts.h"
#include "cli/cli_texts.h"
#include "base/fileio.h"
#include "cli/history_commands.h"

#include <cstdio>
#include <optional>

namespace velmo {

namespace fs = std::filesystem;

std::vector<std::string> changeHeadings(PriceFileKind kind)
{
    namespace t = changetext;
    std::vector<std::string> h{kind == PriceFileKind::Pipe ? t::PipeColumn : t::BlockColumn, t::NameColumn,
                               t::SizeColumn};
    if (kind == PriceFileKind::Pipe)
        h.push_back(t::LocationColumn);
    for (const char *c : {t::FieldColumn, t::OldColumn, t::NewColumn, t::DifferenceColumn, t::PercentColumn})
        h.push_back(c);
    return h;
}

namespace {

TableCell optionalNumber(const std::optional<Currency> &v) { return v ? numberCell(*v) : textCell(""); }

// The old or new side of a change: a figure, a text, or the block number of a move.
TableCell sideCell(const PriceChange &c, bool newSide)
{
    switch (c.kind) {
    case ChangeKind::Figure:
        return optionalNumber(newSide ? c.newValue : c.oldValue);
    case ChangeKind::Moved:
        return numberCell(Currency::fromInt(newSide ? c.block : c.movedFrom));
    case ChangeKind::Text:
        break;
    }
    return textCell(newSide ? c.newText : c.oldText);
}

const char *kindKey(ChangeKind k)
{
    return k == ChangeKind::Figure ? "figure" : k == ChangeKind::Text ? "text" : "moved";
}

void writeSide(cli::JsonWriter &j, const PriceChange &c, bool newSide)
{
    switch (c.kind) {
    case ChangeKind::Figure: {
        const std::optional<Currency> &v = newSide ? c.newValue : c.oldValue;
        v ? j.number(*v) : j.null();
        return;
    }
    case ChangeKind::Moved:
        j.number(int64_t{newSide ? c.block : c.movedFrom});
        return;
    case ChangeKind::Text:
        break;
    }
    j.string(newSide ? c.newText : c.oldText);
}

void writeOptional(cli::JsonWriter &j, const std::optional<Currency> &v) { v ? j.number(*v) : j.null(); }

} // namespace

TableRow changeCells(const PriceChange &c, PriceFileKind kind)
{
    TableRow row{numberCell(Currency::fromInt(c.block)), textCell(c.name), textCell(c.size)};
    if (kind == PriceFileKind::Pipe)
        row.push_back(textCell(c.location));
    row.push_back(textCell(c.field));
    row.push_back(sideCell(c, false));
    row.push_back(sideCell(c, true));
    row.push_back(optionalNumber(c.difference()));
    row.push_back(optionalNumber(c.percent()));
    return row;
}

std::vector<TableRow> changeTable(const std::vector<PriceChange> &changes, PriceFileKind kind)
{
    std::vector<TableRow> rows;
    rows.reserve(changes.size() + 1);
    TableRow heading;
    for (std::string &h : changeHeadings(kind))
        heading.push_back(textCell(std::move(h)));
    rows.push_back(std::move(heading));
    for (const PriceChange &c : changes)
        rows.push_back(changeCells(c, kind));
    return rows;
}

std::string changeCsvBytes(const std::vector<PriceChange> &changes, PriceFileKind kind)
{
    return tableCsvBytes(changeTable(changes, kind));
}

std::string changeXlsxBytes(const std::vector<PriceChange> &changes, PriceFileKind kind, const fs::path &target)
{
    return tableXlsxBytes({TableSheet{ChangeSheetName, changeTable(changes, kind)}}, target);
}

void writeChangesJson(cli::JsonWriter &j, const std::vector<PriceChange> &changes, PriceFileKind kind)
{
    j.beginArray();
    for (const PriceChange &c : changes) {
        j.beginObject();
        j.key("kind").string(kindKey(c.kind));
        j.key(kind == PriceFileKind::Pipe ? "pipe" : "block").number(int64_t{c.block});
        j.key("name").string(c.name);
        j.key("size").string(c.size);
        if (kind == PriceFileKind::Pipe)
            j.key("location").string(c.location);
        j.key("field").string(c.field);
        j.key("old");
        writeSide(j, c, false);
        j.key("new");
        writeSide(j, c, true);
        j.key("difference");
        writeOptional(j, c.difference());
        j.key("percent");
        writeOptional(j, c.percent());
        j.endObject();
    }
    j.endArray();
}

namespace cli {

UsagePart diffUsage(const std::string &program, PriceFileKind kind)
{
    return {"        " + program + " diff OLD NEW [--csv | --xlsx OUT]\n", sharedtext::diffUsageNotes(kind == PriceFileKind::Pipe)};
}

namespace {

struct DiffOptions {
    fs::path older, newer;
    bool csv = false;
    std::optional<fs::path> xlsx;
};

DiffOptions parseDiff(int argc, char **argv)
{
    DiffOptions o;
    CommandLine line("diff");
    line.flag("--csv", o.csv);
    line.value("--xlsx", [&o](const std::string &v) { o.xlsx = v; }, sharedtext::DiffNoXlsxFileText);
    const std::vector<std::string> files = line.parse(argc, argv);
    if (files.size() > 2)
        throw UsageError(sharedtext::diffThirdFileText(files[2]));
    if (files.size() < 2)
        throw UsageError(sharedtext::DiffNeedsTwoFilesText);
    if (o.csv && o.xlsx)
        throw UsageError(sharedtext::DiffCsvAndXlsxText);
    if (o.xlsx && o.xlsx->empty())
        throw UsageError(sharedtext::DiffNoXlsxFileText);
    o.older = files[0];
    o.newer = files[1];
    return o;
}

} // namespace

int runDiffCommand(int argc, char **argv, PriceFileKind kind)
{
    const DiffOptions o = parseDiff(argc, argv);
    const std::optional<VersionRef> olderVersion = versionRefOf(o.older.string());
    const std::optional<VersionRef> newerVersion = versionRefOf(o.newer.string());
    std::vector<PriceChange> changes;
    if (olderVersion || newerVersion) {
        // A version is compared as the file it was: both sides read whole first.
        auto contentOf = [kind](const fs::path &given, const std::optional<VersionRef> &version) {
            if (version)
                return priceFileVersion(version->file, version->number, kind);
            return readExistingFile(given, [&](uintmax_t size) { checkPriceFileSize(kind, given, size); }).bytes;
        };
        const std::string older = contentOf(o.older, olderVersion);
        const std::string newer = contentOf(o.newer, newerVersion);
        changes = compareContents(kind, older, o.older.string(), newer, o.newer.string());
    } else {
        changes = kind == PriceFileKind::Pipe ? comparePipeFiles(o.older, o.newer) : compareEquipmentFiles(o.older, o.newer);
    }
    if (o.xlsx) {
        writeFileAtomically(*o.xlsx, changeXlsxBytes(changes, kind, *o.xlsx));
    } else if (o.csv) {
        const std::string bytes = changeCsvBytes(changes, kind);
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    } else {
        JsonWriter j;
        j.beginObject();
        j.path("old", o.older);
        j.path("new", o.newer);
        j.key("changes");
        writeChangesJson(j, changes, kind);
        j.endObject();
        printJson(j);
    }
    return 0;
}

} // namespace cli
} // namespace velmo
