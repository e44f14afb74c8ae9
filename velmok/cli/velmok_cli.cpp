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
//                                              a workbook (cli/change_report.h)
//   velmok-cli level FILE [--pipe P] --levels L1,L2,L3,L4,L5 [--method list|cost]
//              [--unit 1|10|100|1000|10000] [--addend 0.5|0.9|0] [--write [--force]]
//                                              set LEVEL1 … LEVEL5 of every pipe (or pipe P)
//                                              as the price-level dialog does, then as calc
//   velmok-cli revise-labour FILE (--pipe P | --all) --percent P [--unit U] [--round up|down|half]
//              [--write [--force]]             the labour prices (基礎工費, every basis) of pipe P
//                                              or of every pipe raised or lowered by P %, rounded
//                                              to U yen, then as calc; the preview as JSON
//
// L is the price basis of the output: 1 … 5 LEVEL1 … LEVEL5, 6 原価 (NET); 1 when not given.
// Only new creates a file, and only --write writes one back: the other commands read, and a
// missing file is an error for them. --write refuses a file another program changed since it
// was read, unless --force is given.
// Exit status: 0 done (diff too, whether or not anything changed), 1 check found problems,
// 2 usage or file error (one line on stderr), 3 the file was changed by another program and --write left it as it is.
#include "velmok/core/calc.h"
#include "pricefile/file_check.h"
#include "base/errors.h"
#include "velmok/core/export_format.h"
#include "handoff/handoff_files.h"
#include "cli/batch_command.h"
#include "base/shared_texts.h"
#include "base/json_writer.h"
#include "velmok/core/labour_revision.h"
#include "velmok/core/level_calc_dialog.h"
#include "velmok/core/print_handoff.h"
#include "base/programs.h"
#include "base/scratch_folder.h"
#include "cli/record_json.h"
#include "cli/change_report.h"
#include "pricefile/service_file.h"
#include "velmok/core/text_builder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace velmo::cli {
namespace {

namespace fs = std::filesystem;

// The lines of the usage after the export formats, and the notes on the commands.
constexpr const char *UsageTail =
    "        velmok-cli pdf FILE [--level L] OUT.pdf\n"
    "        velmok-cli level FILE [--pipe P] --levels L1,L2,L3,L4,L5 [--method list|cost]\n"
    "                   [--unit 1|10|100|1000|10000] [--addend 0.5|0.9|0] [--write [--force]]\n"
    "        velmok-cli revise-labour FILE (--pipe P | --all) --percent P [--unit 1|10|100|1000]\n"
    "                   [--round up|down|half] [--write [--force]]\n";
constexpr const char *UsageNotes =
    "  P: 管材 1 … 20   L: 1 … 5 LEVEL1 … LEVEL5、6 原価\n"
    "  revise-labour: 基礎工費 (すべての単価の種類) を P % 上げ下げし、U 円単位に丸めて計算し直します。\n"
    "                 --write がなければ改定内容を JSON で表示するだけでファイルは変えません\n"
    "  --write: 計算した結果をファイルに書き戻します。読み込んだ後にほかのプログラムが変更したファイルには\n"
    "           書き込まず終了状態 3 で終わります (--force で上書き)。読み取り専用のファイルには書き込みません\n"
    "           (終了状態 2)\n";

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
    return usageText({{u + UsageTail, UsageNotes}, diffUsage("velmok-cli", velmo::PriceFileKind::Pipe)});
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
        throw UsageError("--pipe には 1 から 20 までの管材番号を指定してください ('" + text + "')");
    return *n - 1;
}

int parseLevel(const std::string &text)
{
    if (text.size() != 1 || text[0] < '1' || text[0] > '6')
        throw UsageError("--level には単価の種類 1 から 6 (LEVEL1 … LEVEL5、6 原価) を指定してください ('" + text + "')");
    return text[0] - '0';
}

// The values an option takes, as its error message lists them: "1、10、100".
template <class Values, class Text>
std::string choicesText(const Values &values, Text text)
{
    std::string out;
    for (const auto &v : values)
        out += (out.empty() ? "" : "、") + text(v);
    return out;
}

// The price-level options: a method, a unit, an addend and five percentages, as the dialog
// offers them; what is not given takes the dialog's default.
bool isLevelOption(const std::string &name)
{
    return name == "--method" || name == "--unit" || name == "--addend" || name == "--levels";
}

void parseLevelOption(LevelCalcParams &p, const std::string &name, const std::string &value)
{
    if (name == "--method") {
        if (value == "list")
            p.method = LevelCalcParams::Method::FromList;
        else if (value == "cost")
            p.method = LevelCalcParams::Method::FromCost;
        else
            throw UsageError("--method には list か cost を指定してください ('" + value + "')");
    } else if (name == "--unit") {
        const auto &units = LevelCalcDialog::UnitValues;
        const auto u = std::find_if(units.begin(), units.end(), [&](int64_t v) { return std::to_string(v) == value; });
        if (u == units.end())
            throw UsageError("--unit には " + choicesText(units, [](int64_t v) { return std::to_string(v); }) +
                             " のどれかを指定してください ('" + value + "')");
        p.unit = *u;
    } else if (name == "--addend") {
        const auto &addends = LevelCalcDialog::AddendValues;
        std::optional<Currency> v;
        try {
            v = Currency::parse(value);
        } catch (const ConversionError &) {
        }
        if (!v || std::find(addends.begin(), addends.end(), v->raw()) == addends.end())
            throw UsageError("--addend には " +
                             choicesText(addends, [](int64_t v) { return Currency::fromRaw(v).toString(); }) +
                             " のどれかを指定してください ('" + value + "')");
        p.addend = *v;
    } else { // --levels
        size_t n = 0, start = 0;
        for (;;) {
            const size_t comma = value.find(',', start);
            const std::string item = value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            if (n >= p.levels.size())
                throw UsageError("--levels には 5 つの割合を指定してください ('" + value + "')");
            try {
                p.levels[n++] = Currency::parse(item);
            } catch (const ConversionError &) {
                throw UsageError("--levels: '" + item + "' は割合ではありません");
            }
            if (p.levels[n - 1] < Currency())
                throw UsageError("--levels: '" + item + "' は負の値です");
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
        if (n != p.levels.size())
            throw UsageError("--levels には 5 つの割合を指定してください ('" + value + "')");
    }
}

Options parseArgs(int argc, char **argv)
{
    if (argc < 2)
        throw UsageError(controltext::NoCommandText);
    Options o;
    o.command = argv[1];
    const std::string &c = o.command;
    o.format = commandLineFormat(c);
    if (!o.format && c != "new" && c != "calc" && c != "dump" && c != "check" && c != "pdf" && c != "level" &&
        c != "revise-labour")
        throw UsageError(controltext::unknownCommandText(c));
    const bool revises = c == "revise-labour";
    const bool takesPipe = c == "calc" || c == "dump" || o.format || c == "level" || revises;
    const bool writes = c == "calc" || c == "level" || revises;
    bool haveLevels = false;
    if (c == "level")
        o.levelCalc.emplace();
    const bool takesLevel = o.format || c == "pdf";
    const bool takesOut = c == "pdf" || (o.format && o.format->commandLine() == CommandLineOutput::OutFile);
    const bool takesOptions = o.format && o.format->takesOptions();
    int positional = 0;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        // The value of an option: "--opt V" or "--opt=V".
        auto value = [&](const std::string &name, const char *what) -> std::optional<std::string> {
            if (a == name) {
                if (i + 1 >= argc)
                    throw UsageError(name + " の後に" + what + "がありません");
                return std::string(argv[++i]);
            }
            if (a.rfind(name + "=", 0) == 0)
                return a.substr(name.size() + 1);
            return std::nullopt;
        };
        if (takesPipe && (a == "--pipe" || a.rfind("--pipe=", 0) == 0)) {
            o.pipe = parsePipe(*value("--pipe", "管材番号"));
        } else if (takesLevel && (a == "--level" || a.rfind("--level=", 0) == 0)) {
            o.level = parseLevel(*value("--level", "単価の種類"));
        } else if (writes && a == "--write") {
            o.write = true;
        } else if (writes && a == "--force") {
            o.force = true;
        } else if (o.levelCalc && isLevelOption(a.substr(0, a.find('=')))) {
            const size_t eq = a.find('=');
            if (eq == std::string::npos && i + 1 >= argc)
                throw UsageError(a + " の後に値がありません");
            parseLevelOption(*o.levelCalc, a.substr(0, eq), eq == std::string::npos ? argv[++i] : a.substr(eq + 1));
            haveLevels = haveLevels || a.rfind("--levels", 0) == 0;
        } else if (revises && takeRevisionArg(argc, argv, i, o.revision)) {
        } else if (takesOptions && a == "--heading") {
            o.heading = true;
        } else if (takesOptions && a == "--results") {
            o.results = true;
        } else if (a.size() > 1 && a[0] == '-') {
            throw UsageError(controltext::unknownOptionText(c, a));
        } else if (positional == 0) {
            o.file = a;
            ++positional;
        } else if (positional == 1 && takesOut) {
            o.out = a;
            ++positional;
        } else {
            throw UsageError(std::string(takesOut ? "OUT" : "FILE") + " が 2 つ以上あります ('" + a + "')");
        }
    }
    if (positional == 0)
        throw UsageError(c + " には FILE が必要です");
    if (revises)
        requireRevisionArgs(o.revision, o.pipe.has_value(), "--pipe P");
    if (o.levelCalc && !haveLevels)
        throw UsageError("level には --levels L1,L2,L3,L4,L5 が必要です");
    if (takesOut && positional < 2)
        throw UsageError(c + " には FILE と OUT が必要です");
    if (o.format && !o.pipe)
        throw UsageError(c + " には --pipe P が必要です");
    if (o.force && !o.write)
        throw UsageError("--force は --write と一緒に指定してください");
    return o;
}

// --- new ---------------------------------------------------------------------------------

int cmdNew(const Options &o)
{
    // Created as the main program creates a missing file, and never over anything there.
    if (!ServiceFile::createEmpty(o.file))
        throw IoError("ファイル " + o.file.string() + " はすでにあります");
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

// --- check -------------------------------------------------------------------------------

int cmdCheck(const Options &o)
{
    const std::string data = readFileToCheck(o.file, static_cast<uintmax_t>(RecordsPerFile) * RecordSize);
    const std::vector<std::string> problems = checkServiceFile(o.file.string(), data);
    for (const std::string &p : problems)
        std::printf("%s\n", p.c_str());
    return problems.empty() ? 0 : 1;
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

// A pipe counts as named when its name holds more than spaces.
bool named(const std::string &name)
{
    std::string rest = name;
    for (const std::string space : {" ", "　"})
        for (size_t p; (p = rest.find(space)) != std::string::npos;)
            rest.erase(p, space.size());
    return !rest.empty();
}

// Every named pipe handed to the print program the way the main program's print command
// hands one, one folder each, and the print program asked for one PDF of all of them.
int cmdPdf(const Options &o)
{
    ServiceFile file = loadExisting(o.file);
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    const auto korrel = findProgram(handoff::PrintProgram, ec ? fs::path() : self.parent_path());
    if (!korrel)
        throw IoError(std::string("印刷プログラム ") + handoff::PrintProgram + " が見つかりません");

    const ScratchFolder scratch("PDF出力");
    const CalendarDate today = localToday();
    std::vector<std::string> args{"--pdf", fs::absolute(o.out).string()};
    for (int p = 0; p < PipesPerFile; ++p) {
        const auto table = calculatedPipe(file, p);
        if (!named(table->row(1).rec.name.text()))
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
            throw IoError("PDF " + o.out.string() + " を作れません: 一時フォルダーに印刷データを書き込めません (" +
                          std::string(errorCause(e)) + ")");
        }
        args.push_back(folder.string());
    }
    if (args.size() == 2)
        throw IoError("ファイル " + o.file.string() + " には名前のある管材がありません");
    std::string said;
    const int status = runProgramAndWait(*korrel, args, &said);
    if (status != 0)
        throw IoError(controltext::printProgramFailedText(*korrel, status, o.out, said));
    return 0;
}

} // namespace
} // namespace velmo::cli

int main(int argc, char **argv)
{
    using namespace velmo::cli;
    const std::string text = usage();
    return runBatch(argc, argv, "velmok-cli", text.c_str(), velmo::controltext::usageHintText("velmok-cli").c_str(), [&] {
        if (argc > 1 && std::strcmp(argv[1], "diff") == 0)
            return runDiffCommand(argc, argv, velmo::PriceFileKind::Pipe);
        const Options o = parseArgs(argc, argv);
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
        return cmdCheck(o);
    });
}
