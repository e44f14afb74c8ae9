// velmok-cli: the composite unit prices of a pipe price file without opening a window.
//
//   velmok-cli new FILE                        create an empty service file
//   velmok-cli calc FILE [--pipe P] [--write [--force]]
//                                              calculate every pipe (or pipe P) as JSON
//   velmok-cli dump FILE [--pipe P]            every field of every record as JSON
//   velmok-cli check FILE                      report malformed fields, one line each
//   velmok-cli csv FILE --pipe P [--level L] [--heading] [--results]
//                                              the CSV text of pipe P (CP932, CR LF) on stdout
//   velmok-cli xlsx FILE --pipe P [--level L] OUT.xlsx   pipe P as an Excel workbook
//                                              (csv, xlsx: the export formats velmok's menu
//                                              外部デ－タ入出力 offers, export_format.h)
//   velmok-cli pdf FILE [--level L] OUT.pdf    every named pipe as pages of the print program
//   velmok-cli diff OLD NEW [--csv | --xlsx OUT]
//                                              what changed from OLD to NEW, as JSON, CSV or
//                                              a workbook (cli/change_report.h); OLD or NEW
//                                              may be FILE@N, version N of FILE
//   velmok-cli history FILE                    the earlier versions of FILE as JSON
//   velmok-cli show FILE --version N [--out OUT]   the content of version N
//   velmok-cli restore FILE --version N [--write [--force]]
//                                              the changes back to version N as JSON; --write
//                                              writes it as a new save (cli/history_commands.h)
//   velmok-cli level FILE [--pipe P] --levels L1,L2,L3,L4,L5 [--method list|cost]
//              [--unit 1|10|100|1000|10000] [--addend 0.5|0.9|0] [--write [--force]]
//                                              set LEVEL1 … LEVEL5 of every pipe (or pipe P)
//                                              as the price-level dialog does, then as calc
//   velmok-cli estimate QUANTITIES --data FOLDER [--level L] [--amount-round R] [--cost] [--sheet S]
//              [--…-column C] [--csv | --xlsx OUT | --pdf OUT]
//                                              a quantity list priced at the adopted composite
//                                              unit prices of a data folder (estimate_cli.h)
//   velmok-cli revise-labour FILE (--pipe P | --all) --percent P [--unit U] [--round up|down|half]
//              [--write [--force]]             the labour prices (基礎工費, every basis) of pipe P
//                                              or of every pipe raised or lowered by P %, rounded
//                                              to U yen, then as calc; the preview as JSON
//
// L is the price basis of the output: 1 … 5 LEVEL1 … LEVEL5, 6 原価 (NET); 1 when not given.
// Only new creates a file, and only --write writes one back: the other commands read, and a
// missing file is an error for them. --write refuses a file another program changed since it
// was read, unless --force is given.
// Exit status: 0 done (diff too, whether or not anything changed), 1 check found problems or
// estimate left rows of the list unpriced,
// 2 usage or file error (one line on stderr), 3 the file was changed by another program and --write left it as it is.
#include "base/errors.h"
#include "base/json_writer.h"
#include "base/programs.h"
#include "base/scratch_folder.h"
#include "base/shared_texts.h"
#include "cli/cli_texts.h"
#include "cli/batch_command.h"
#include "cli/change_report.h"
#include "cli/history_commands.h"
#include "cli/command_line.h"
#include "cli/record_json.h"
#include "handoff/handoff_files.h"
#include "pricefile/service_file.h"
#include "pricework/price_list.h"
#include "pricework/price_list_output.h"
#include "velmok/cli/estimate_cli.h"
#include "velmok/core/calc.h"
#include "velmok/exports/export_format.h"
#include "velmok/core/labour_revision.h"
#include "velmok/session/level_calc_dialog.h"
#include "velmok/exports/print_handoff.h"
#include "velmok/exports/text_builder.h"
#include "velmok/core/velmok_texts.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmo::cli {
namespace {

namespace fs = std::filesystem;

// The usage: the commands of the file, one line for each export format the command line
// offers, then the print, price-level and diff commands; then the notes.
std::string usage()
{
    std::string u = "        velmok-cli new FILE\n"
                    "        velmok-cli calc FILE [--pipe P] [--write [--force]]\n"
                    "        velmok-cli dump FILE [--pipe P]\n"
                    "        velmok-cli check FILE\n";
    for (const ExportFormat *f : exportFormats()) {
        if (f->commandLine() == CommandLineOutput::None)
            continue;
        u += std::string("        velmok-cli ") + f->name() + " FILE --pipe P [--level L]";
        if (f->takesOptions())
            u += " [--heading] [--results]";
        if (f->commandLine() == CommandLineOutput::OutFile)
            u += std::string(" OUT.") + f->defaultSuffix();
        u += "\n";
    }
    return usageText({{u + velmoktext::CliUsageTail + velmoktext::CliEstimateUsage,
                       std::string(velmoktext::CliUsageNotes) + velmoktext::CliEstimateNotes},
                      diffUsage(velmoktext::CliName, velmo::PriceFileKind::Pipe),
                      historyUsage(velmoktext::CliName)});
}

struct Options {
    std::string command;
    fs::path file;
    std::optional<int> pipe; // 0 … 19
    bool write = false;
    bool force = false; // --write even over another program's change
    int level = 1; // 1 … 6
    bool heading = false, results = false;
    fs::path out; // the file of pdf and of an export format written into OUT
    std::optional<LevelCalcParams> levelCalc; // the level command
    const ExportFormat *format = nullptr;     // an export format's command
    RevisionArgs revision;                    // revise-labour
};

// The export format a command names, when the command line offers it.
const ExportFormat *commandLineFormat(const std::string &command)
{
    const ExportFormat *f = findExportFormat(command);
    return f && f->commandLine() != CommandLineOutput::None ? f : nullptr;
}

int parsePipe(const std::string &text)
{
    const std::optional<int> n = blockNumberText(text);
    if (!n || *n < 1 || *n > PipesPerFile)
        throw UsageError(velmoktext::badPipeOptionText(text));
    return *n - 1;
}

int parseLevel(const std::string &text)
{
    if (text.size() != 1 || text[0] < '1' || text[0] > '6')
        throw UsageError(velmoktext::badLevelOptionText(text));
    return text[0] - '0';
}

// The values an option takes, as its error message lists them.
template <class Values, class Text>
std::vector<std::string> choicesOf(const Values &values, Text text)
{
    std::vector<std::string> out;
    for (const auto &v : values)
        out.push_back(text(v));
    return out;
}

// The price-level options: a method, a unit, an addend and five percentages, as the dialog
// offers them; what is not given takes the dialog's default.
void parseMethod(LevelCalcParams &p, const std::string &value)
{
    if (value == "list")
        p.method = LevelCalcParams::Method::FromList;
    else if (value == "cost")
        p.method = LevelCalcParams::Method::FromCost;
    else
        throw UsageError(velmoktext::badMethodOptionText(value));
}

void parseUnit(LevelCalcParams &p, const std::string &value)
{
    const auto &units = LevelCalcDialog::UnitValues;
    const auto u = std::find_if(units.begin(), units.end(), [&](int64_t v) { return std::to_string(v) == value; });
    if (u == units.end())
        throw UsageError(velmoktext::notAChoiceText(
            "--unit", choicesOf(units, [](int64_t v) { return std::to_string(v); }), value));
    p.unit = *u;
}

void parseAddend(LevelCalcParams &p, const std::string &value)
{
    const auto &addends = LevelCalcDialog::AddendValues;
    std::optional<Currency> v;
    try {
        v = Currency::parse(value);
    } catch (const ConversionError &) {
    }
    if (!v || std::find(addends.begin(), addends.end(), v->raw()) == addends.end())
        throw UsageError(velmoktext::notAChoiceText(
            "--addend", choicesOf(addends, [](int64_t a) { return Currency::fromRaw(a).toString(); }), value));
    p.addend = *v;
}

void parseLevels(LevelCalcParams &p, const std::string &value)
{
    size_t n = 0, start = 0;
    for (;;) {
        const size_t comma = value.find(',', start);
        const std::string item = value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (n >= p.levels.size())
            throw UsageError(velmoktext::fiveLevelsText(value));
        try {
            p.levels[n++] = Currency::parse(item);
        } catch (const ConversionError &) {
            throw UsageError(velmoktext::levelNotPercentText(item));
        }
        if (p.levels[n - 1] < Currency())
            throw UsageError(velmoktext::levelNegativeText(item));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (n != p.levels.size())
        throw UsageError(velmoktext::fiveLevelsText(value));
}

Options parseCommand(int argc, char **argv)
{
    Options o;
    o.command = commandOf(argc, argv, [](const std::string &c) {
        return commandLineFormat(c) || c == "new" || c == "calc" || c == "dump" || c == "check" || c == "pdf" ||
               c == "level" || c == "revise-labour";
    });
    const std::string &c = o.command;
    o.format = commandLineFormat(c);
    const bool revises = c == "revise-labour";
    const bool takesOut = c == "pdf" || (o.format && o.format->commandLine() == CommandLineOutput::OutFile);
    CommandLine line(c);
    if (c == "calc" || c == "dump" || o.format || c == "level" || revises)
        line.value("--pipe", [&o](const std::string &v) { o.pipe = parsePipe(v); }, velmoktext::NoPipeNumberText);
    if (o.format || c == "pdf")
        line.value("--level", [&o](const std::string &v) { o.level = parseLevel(v); }, velmoktext::NoLevelText);
    if (c == "calc" || c == "level" || revises) {
        line.flag("--write", o.write);
        line.flag("--force", o.force);
    }
    bool haveLevels = false;
    if (c == "level") {
        LevelCalcParams &p = o.levelCalc.emplace();
        const std::pair<const char *, void (*)(LevelCalcParams &, const std::string &)> options[] = {
            {"--method", parseMethod}, {"--unit", parseUnit}, {"--addend", parseAddend}};
        for (const auto &[name, parse] : options)
            line.value(name, [&p, parse = parse](const std::string &v) { parse(p, v); },
                       sharedtext::missingOptionValueText(name));
        line.value("--levels", [&p, &haveLevels](const std::string &v) {
            parseLevels(p, v);
            haveLevels = true;
        }, sharedtext::missingOptionValueText("--levels"));
    }
    if (revises)
        addRevisionOptions(line, o.revision);
    if (o.format && o.format->takesOptions()) {
        line.flag("--heading", o.heading);
        line.flag("--results", o.results);
    }
    const std::vector<std::string> files = line.parse(argc, argv);
    const size_t takes = takesOut ? 2 : 1;
    if (files.size() > takes)
        throw UsageError(velmoktext::secondCliFileText(takesOut, files[takes]));
    if (files.empty())
        throw UsageError(velmoktext::cliNeedsFileText(c));
    o.file = files[0];
    if (revises)
        requireRevisionArgs(o.revision, o.pipe.has_value(), "--pipe P");
    if (o.levelCalc && !haveLevels)
        throw UsageError(velmoktext::LevelNeedsLevelsText);
    if (takesOut && files.size() < 2)
        throw UsageError(velmoktext::cliNeedsOutText(c));
    if (takesOut)
        o.out = files[1];
    if (o.format && !o.pipe)
        throw UsageError(velmoktext::cliNeedsPipeText(c));
    if (o.force && !o.write)
        throw UsageError(velmoktext::ForceWithoutWriteText);
    return o;
}

// --- new ---------------------------------------------------------------------------------

int cmdNew(const Options &o)
{
    // Created as the main program creates a missing file, and never over anything there.
    if (!ServiceFile::createEmpty(o.file))
        throw IoError(velmoktext::fileExistsText(o.file));
    return 0;
}

// --- calc --------------------------------------------------------------------------------

const char *const BasisNames[BasisCount] = {"LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4", "LEVEL5", "NET", "LIST"};

void writeRow(JsonWriter &j, const WorkingRow &w, int k)
{
    const PriceRecord &r = w.rec;
    j.beginObject();
    j.key("row").number(int64_t{k});
    j.key("size").string(r.size.text());
    j.key("unit").string(r.unit.text());
    j.key("A").beginArray();
    for (int i = 0; i <= 6; ++i)
        j.number(r.A(i));
    j.endArray();
    j.key("B").beginArray();
    for (int i = 1; i <= 7; ++i)
        j.number(r.B(i));
    j.endArray();
    for (int b = 1; b <= BasisCount; ++b) {
        const BasisResult &res = w.result(basisAt(b));
        j.key(BasisNames[b - 1]).beginObject();
        j.key("K").beginArray();
        for (const Currency &c : res.K)
            j.number(c);
        j.endArray();
        j.key("total").number(res.total);
        j.key("adopted");
        if (basisAt(b) == Basis::Net)
            j.null();
        else
            j.number(res.adopted);
        j.endObject();
    }
    j.endObject();
}

// The file of a command, read whole; a missing file is an error.
ServiceFile loadExisting(const fs::path &path)
{
    ServiceFile file;
    file.load(path);
    return file;
}

int cmdCalc(const Options &o)
{
    ServiceFile file = loadExisting(o.file);
    JsonWriter j;
    j.beginObject();
    j.key("pipes").beginArray();
    auto table = std::make_unique<WorkingTable>();
    for (const int p : selectedOrAll(o.pipe, PipesPerFile)) {
        PipeBlock &block = file.pipeBlock(p);
        table->load(block);
        table->recalculateAll(block);
        if (o.levelCalc)
            table->applyLevelCalc(*o.levelCalc, block);
        j.beginObject();
        j.key("pipe").number(int64_t{p + 1});
        j.key("name").string(table->row(1).rec.name.text());
        j.key("mode").string(table->refrigerant() ? "refrigerant" : "normal");
        j.key("locations").beginArray();
        for (int loc = 0; loc < LocationsPerPipe; ++loc) {
            j.beginObject();
            j.key("location").number(int64_t{loc});
            j.key("caption").string(table->row(workingRow(loc, RowsPerLocation)).rec.caption.text());
            j.key("rows").beginArray();
            for (int k = 1; k <= SizeRowsPerLocation; ++k)
                writeRow(j, table->row(workingRow(loc, k)), k);
            j.endArray();
            j.endObject();
        }
        j.endArray();
        j.endObject();
    }
    j.endArray();
    j.endObject();
    if (o.write) {
        file.save(o.file, o.force ? ServiceFile::SaveCheck::None : ServiceFile::SaveCheck::Unchanged);
        noteFileWritten(o.file);
    }
    printJson(j);
    return 0;
}

// --- revise-labour -----------------------------------------------------------------------

int cmdReviseLabour(const Options &o)
{
    const PriceRevision revision = parseRevisionOrUsage(o.revision);
    ServiceFile file = loadExisting(o.file);
    RevisionPreview preview;
    auto table = std::make_unique<WorkingTable>();
    for (const int p : selectedOrAll(o.pipe, PipesPerFile)) {
        PipeBlock &block = file.pipeBlock(p);
        reviseLabourPrices(block, p + 1, revision, preview);
        table->load(block);
        table->recalculateAll(block);
    }
    if (o.write) {
        file.save(o.file, o.force ? ServiceFile::SaveCheck::None : ServiceFile::SaveCheck::Unchanged);
        noteFileWritten(o.file);
    }
    JsonWriter j;
    writeRevisionJson(j, preview, revision, o.write);
    printJson(j);
    return 0;
}

// --- dump --------------------------------------------------------------------------------

int cmdDump(const Options &o)
{
    const ServiceFile file = loadExisting(o.file);
    JsonWriter j;
    j.beginObject();
    j.key("records").beginArray();
    for (const int p : selectedOrAll(o.pipe, PipesPerFile)) {
        for (int i = 0; i < RecordsPerPipe; ++i) {
            const int index = p * RecordsPerPipe + i;
            writePriceRecordJson(j, index, file.record(index));
        }
    }
    j.endArray();
    j.endObject();
    printJson(j);
    return 0;
}

// --- csv, xlsx, pdf ----------------------------------------------------------------------

// A pipe of the file calculated as the main program shows it after it was selected.
std::unique_ptr<WorkingTable> calculatedPipe(ServiceFile &file, int pipe)
{
    auto table = std::make_unique<WorkingTable>();
    PipeBlock &block = file.pipeBlock(pipe);
    table->load(block);
    table->recalculateAll(block);
    return table;
}

// An export format of the menu 外部デ－タ入出力 for one pipe: on standard output or into OUT.
int cmdExport(const Options &o)
{
    ServiceFile file = loadExisting(o.file);
    const auto table = calculatedPipe(file, *o.pipe);
    const std::vector<std::string> tabs = locationTabCaptions(*table);
    const ExportInput in{*table, tabs, OutputLevelChoice{basisAt(o.level), o.heading, o.results, true}, o.out};
    if (o.format->commandLine() == CommandLineOutput::OutFile) {
        o.format->write(in);
    } else {
        const std::string bytes = o.format->bytes(in);
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    }
    return 0;
}

// Every named pipe handed to the print program the way the main program's print command
// hands one, one folder each, and the print program asked for one PDF of all of them.
int cmdPdf(const Options &o)
{
    ServiceFile file = loadExisting(o.file);
    const auto korrel = findProgram(handoff::PrintProgram, handoff::runningProgramFolder());
    if (!korrel)
        throw IoError(sharedtext::printProgramNotFoundText(handoff::PrintProgram));

    const ScratchFolder scratch(velmoktext::PdfScratchTask);
    const CalendarDate today = localToday();
    std::vector<std::string> args{"--pdf", fs::absolute(o.out).string()};
    for (int p = 0; p < PipesPerFile; ++p) {
        const auto table = calculatedPipe(file, p);
        if (!hasName(table->row(1).rec.name.text()))
            continue;
        const fs::path folder = scratch.path() / std::to_string(p + 1);
        const OutputLevelChoice choice{basisAt(o.level), false, false, true};
        const std::string data = buildOutputText(*table, locationTabCaptions(*table), OutputMode::Print, choice);
        // The hand-off folders are private; a failure names the PDF asked for.
        try {
            std::error_code ec;
            if (!fs::create_directory(folder, ec) && ec)
                throw IoError(folder.string() + ": " + systemErrorText(ec.value()));
            writePrintHandoff(folder, data, *table, choice.basis, today);
        } catch (const IoError &e) {
            throw IoError(sharedtext::pdfNotMadeText(o.out, sharedtext::printDataNotWrittenText(std::string(errorCause(e)))));
        }
        args.push_back(folder.string());
    }
    if (args.size() == 2)
        throw IoError(velmoktext::noNamedPipeText(o.file));
    std::string said;
    const int status = runProgramAndWait(*korrel, args, &said);
    if (status != 0)
        throw IoError(sharedtext::printProgramFailedText(*korrel, status, o.out, said));
    return 0;
}

} // namespace
} // namespace velmo::cli

int main(int argc, char **argv)
{
    using namespace velmo::cli;
    const std::string text = usage();
    const std::string usageHint = velmo::sharedtext::usageHintText(velmo::velmoktext::CliName);
    return runBatch(argc, argv, velmo::velmoktext::CliName, text.c_str(), usageHint.c_str(), [&] {
        if (argc > 1 && std::strcmp(argv[1], "diff") == 0)
            return runDiffCommand(argc, argv, velmo::PriceFileKind::Pipe);
        if (argc > 1 && std::strcmp(argv[1], "estimate") == 0)
            return runEstimateCommand(argc, argv);
        if (argc > 1 && isHistoryCommand(argv[1]))
            return runHistoryCommand(argc, argv, velmo::PriceFileKind::Pipe);
        const Options o = parseCommand(argc, argv);
        if (o.command == "new")
            return cmdNew(o);
        if (o.command == "calc" || o.command == "level")
            return cmdCalc(o);
        if (o.command == "dump")
            return cmdDump(o);
        if (o.command == "revise-labour")
            return cmdReviseLabour(o);
        if (o.format)
            return cmdExport(o);
        if (o.command == "pdf")
            return cmdPdf(o);
        return checkCommand(o.file, velmo::PriceFileKind::Pipe);
    });
}
