// velmok-cli: the composite unit prices of a pipe price file without opening a window.
//
//   velmok-cli new FILE                        create an empty service file
//   velmok-cli calc FILE [--pipe P] [--write]  calculate every pipe (or pipe P) as JSON
//   velmok-cli dump FILE [--pipe P]            every field of every record as JSON
//   velmok-cli check FILE                      report malformed fields, one line each
//
// Exit status: 0 done, 1 check found problems, 2 usage or file error (one line on stderr).
#include "calc.h"
#include "file_check.h"
#include "errors.h"
#include "fileio.h"
#include "json_writer.h"
#include "service_file.h"

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

constexpr const char *Usage =
    "usage: velmok-cli new FILE\n"
    "       velmok-cli calc FILE [--pipe P] [--write]\n"
    "       velmok-cli dump FILE [--pipe P]\n"
    "       velmok-cli check FILE\n";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string command;
    fs::path file;
    std::optional<int> pipe; // 0 … 19
    bool write = false;
};

int parsePipe(const std::string &text)
{
    int n = 0;
    bool ok = !text.empty() && text.size() <= 2;
    for (const char c : text) {
        if (c < '0' || c > '9')
            ok = false;
        else
            n = n * 10 + (c - '0');
    }
    if (!ok || n < 1 || n > PipesPerFile)
        throw UsageError("--pipe needs a pipe number 1 … 20, not '" + text + "'");
    return n - 1;
}

Options parseArgs(int argc, char **argv)
{
    if (argc < 2)
        throw UsageError("no command");
    Options o;
    o.command = argv[1];
    if (o.command != "new" && o.command != "calc" && o.command != "dump" && o.command != "check")
        throw UsageError("unknown command '" + o.command + "'");
    const bool takesPipe = o.command == "calc" || o.command == "dump";
    bool haveFile = false;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (takesPipe && a == "--pipe") {
            if (i + 1 >= argc)
                throw UsageError("--pipe needs a pipe number 1 … 20");
            o.pipe = parsePipe(argv[++i]);
        } else if (takesPipe && a.rfind("--pipe=", 0) == 0) {
            o.pipe = parsePipe(a.substr(7));
        } else if (o.command == "calc" && a == "--write") {
            o.write = true;
        } else if (a.size() > 1 && a[0] == '-') {
            throw UsageError("unknown option '" + a + "' for " + o.command);
        } else if (!haveFile) {
            o.file = a;
            haveFile = true;
        } else {
            throw UsageError("more than one FILE ('" + a + "')");
        }
    }
    if (!haveFile)
        throw UsageError(o.command + " needs a FILE");
    return o;
}

// The reading commands never create a file, unlike the main program's load.
void requireExisting(const fs::path &file)
{
    std::error_code ec;
    if (!fs::exists(file, ec))
        throw IoError("ファイル " + file.string() + " がありません");
}

std::vector<int> selectedPipes(const Options &o)
{
    if (o.pipe)
        return {*o.pipe};
    std::vector<int> all;
    for (int p = 0; p < PipesPerFile; ++p)
        all.push_back(p);
    return all;
}

// --- new ---------------------------------------------------------------------------------

int cmdNew(const Options &o)
{
    std::error_code ec;
    if (fs::exists(fs::symlink_status(o.file, ec)))
        throw IoError("ファイル " + o.file.string() + " はすでにあります");
    ServiceFile file;
    file.load(o.file); // a missing file is created empty, as the main program does
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

// The file of a reading command, read whole.
ServiceFile loadExisting(const fs::path &path)
{
    requireExisting(path);
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
    for (const int p : selectedPipes(o)) {
        PipeBlock &block = file.pipeBlock(p);
        table->load(block);
        table->recalculateAll(block);
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
    if (o.write)
        file.save(o.file);
    std::fwrite(j.text().data(), 1, j.text().size(), stdout);
    std::fputc('\n', stdout);
    return 0;
}

// --- dump --------------------------------------------------------------------------------

std::string slotName(int i)
{
    if (i <= 6)
        return "A" + std::to_string(i);
    if (i <= 13)
        return "B" + std::to_string(i - 6);
    if (i <= 19)
        return "C" + std::to_string(i - 14);
    return "D" + std::to_string(i - 19);
}

int cmdDump(const Options &o)
{
    const ServiceFile file = loadExisting(o.file);
    JsonWriter j;
    j.beginObject();
    j.key("records").beginArray();
    for (const int p : selectedPipes(o)) {
        for (int i = 0; i < RecordsPerPipe; ++i) {
            const int index = p * RecordsPerPipe + i;
            const PriceRecord &r = file.record(index);
            j.beginObject();
            j.key("record").number(int64_t{index});
            j.key("reserved0").number(int64_t{r.reserved0});
            j.key("name").string(r.name.text());
            j.key("caption").string(r.caption.text());
            j.key("serial").number(r.serial);
            j.key("size").string(r.size.text());
            j.key("reserved144").number(int64_t{r.reserved144});
            j.key("unit").string(r.unit.text());
            j.key("rowTag").number(int64_t{r.rowTag});
            for (int s = 0; s < SlotCount; ++s)
                j.key(slotName(s)).number(r.slots[s]);
            j.endObject();
        }
    }
    j.endArray();
    j.endObject();
    std::fwrite(j.text().data(), 1, j.text().size(), stdout);
    std::fputc('\n', stdout);
    return 0;
}

// --- check -------------------------------------------------------------------------------

int cmdCheck(const Options &o)
{
    requireExisting(o.file);
    const std::string data = readWholeFile(o.file);
    const std::vector<std::string> problems = checkServiceFile(o.file.string(), data);
    for (const std::string &p : problems)
        std::printf("%s\n", p.c_str());
    return problems.empty() ? 0 : 1;
}

} // namespace
} // namespace velmo::cli

int main(int argc, char **argv)
{
    using namespace velmo::cli;
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Usage, stdout);
        return 0;
    }
    try {
        const Options o = parseArgs(argc, argv);
        if (o.command == "new")
            return cmdNew(o);
        if (o.command == "calc")
            return cmdCalc(o);
        if (o.command == "dump")
            return cmdDump(o);
        return cmdCheck(o);
    } catch (const UsageError &e) {
        std::fprintf(stderr, "velmok-cli: %s (velmok-cli --help shows the usage)\n", e.what());
    } catch (const std::exception &e) {
        std::fprintf(stderr, "velmok-cli: %s\n", e.what());
    }
    return 2;
}
