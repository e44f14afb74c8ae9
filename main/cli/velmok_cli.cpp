// velmok-cli: the composite unit prices of a pipe price file without opening a window.
//
//   velmok-cli new FILE                        create an empty service file
//   velmok-cli calc FILE [--pipe P] [--write]  calculate every pipe (or pipe P) as JSON
//   velmok-cli dump FILE [--pipe P]            every field of every record as JSON
//   velmok-cli check FILE                      report malformed fields, one line each
//   velmok-cli level FILE [--pipe P] --levels L1,L2,L3,L4,L5 [--method list|cost]
//              [--unit 1|10|100|1000|10000] [--addend 0.5|0.9|0] [--write]
//                                              set LEVEL1 … LEVEL5 of every pipe (or pipe P)
//                                              as the price-level dialog does, then as calc
//
// Exit status: 0 done, 1 check found problems, 2 usage or file error (one line on stderr).
#include "calc.h"
#include "cp932.h"
#include "errors.h"
#include "fileio.h"
#include "json_writer.h"
#include "level_calc_dialog.h"
#include "service_file.h"

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

constexpr const char *Usage =
    "usage: velmok-cli new FILE\n"
    "       velmok-cli calc FILE [--pipe P] [--write]\n"
    "       velmok-cli dump FILE [--pipe P]\n"
    "       velmok-cli check FILE\n"
    "       velmok-cli level FILE [--pipe P] --levels L1,L2,L3,L4,L5 [--method list|cost]\n"
    "                  [--unit 1|10|100|1000|10000] [--addend 0.5|0.9|0] [--write]\n";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string command;
    fs::path file;
    std::optional<int> pipe; // 0 … 19
    bool write = false;
    std::optional<LevelCalcParams> level; // the level command
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
            throw UsageError("--method needs list or cost, not '" + value + "'");
    } else if (name == "--unit") {
        const auto &units = LevelCalcDialog::UnitValues;
        const auto u = std::find_if(units.begin(), units.end(), [&](int64_t v) { return std::to_string(v) == value; });
        if (u == units.end())
            throw UsageError("--unit needs 1, 10, 100, 1000 or 10000, not '" + value + "'");
        p.unit = *u;
    } else if (name == "--addend") {
        const auto &addends = LevelCalcDialog::AddendValues;
        std::optional<Currency> v;
        try {
            v = Currency::parse(value);
        } catch (const ConversionError &) {
        }
        if (!v || std::find(addends.begin(), addends.end(), v->raw()) == addends.end())
            throw UsageError("--addend needs 0.5, 0.9 or 0, not '" + value + "'");
        p.addend = *v;
    } else { // --levels
        size_t n = 0, start = 0;
        for (;;) {
            const size_t comma = value.find(',', start);
            const std::string item = value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            if (n >= p.levels.size())
                throw UsageError("--levels needs five percentages, not '" + value + "'");
            try {
                p.levels[n++] = Currency::parse(item);
            } catch (const ConversionError &) {
                throw UsageError("--levels: '" + item + "' is not a percentage");
            }
            if (p.levels[n - 1] < Currency())
                throw UsageError("--levels: '" + item + "' is negative");
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
        if (n != p.levels.size())
            throw UsageError("--levels needs five percentages, not '" + value + "'");
    }
}

Options parseArgs(int argc, char **argv)
{
    if (argc < 2)
        throw UsageError("no command");
    Options o;
    o.command = argv[1];
    if (o.command != "new" && o.command != "calc" && o.command != "dump" && o.command != "check" &&
        o.command != "level")
        throw UsageError("unknown command '" + o.command + "'");
    const bool takesPipe = o.command == "calc" || o.command == "dump" || o.command == "level";
    const bool writes = o.command == "calc" || o.command == "level";
    bool haveFile = false, haveLevels = false;
    if (o.command == "level")
        o.level.emplace();
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (takesPipe && a == "--pipe") {
            if (i + 1 >= argc)
                throw UsageError("--pipe needs a pipe number 1 … 20");
            o.pipe = parsePipe(argv[++i]);
        } else if (takesPipe && a.rfind("--pipe=", 0) == 0) {
            o.pipe = parsePipe(a.substr(7));
        } else if (writes && a == "--write") {
            o.write = true;
        } else if (o.level && isLevelOption(a.substr(0, a.find('=')))) {
            const size_t eq = a.find('=');
            if (eq == std::string::npos && i + 1 >= argc)
                throw UsageError(a + " needs a value");
            parseLevelOption(*o.level, a.substr(0, eq), eq == std::string::npos ? argv[++i] : a.substr(eq + 1));
            haveLevels = haveLevels || a.rfind("--levels", 0) == 0;
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
    if (o.level && !haveLevels)
        throw UsageError("level needs --levels L1,L2,L3,L4,L5");
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
        if (o.level)
            table->applyLevelCalc(*o.level, block);
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

int64_t rawSlot(const unsigned char *rec, int slot)
{
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | rec[offset::Slots + 8 * slot + i];
    return static_cast<int64_t>(v);
}

struct ValueSet {
    const char *what;
    std::vector<const char *> values;
};

const ValueSet Codes{"significant-digit code", {"0", "1", "10", "100", "1000", "3", "4"}};
const ValueSet Addends{"rounding addend", {"0.9", "0", "0.5"}};
const ValueSet Decimals{"component decimals", {"0", "1", "2", "3"}};
const ValueSet Modes{"pipe mode", {"0", "2"}};
const ValueSet Flags{"flag", {"0", "1"}};

class Checker {
public:
    Checker(std::string file, std::string_view data) : file_(std::move(file)), data_(data) {}

    std::vector<std::string> run()
    {
        const size_t expected = static_cast<size_t>(RecordsPerFile) * RecordSize;
        if (data_.size() != expected)
            problem("size " + std::to_string(data_.size()) + " bytes, expected " + std::to_string(expected) +
                    " (1200 records of 360 bytes)");
        const int records = static_cast<int>(std::min(data_.size() / RecordSize, size_t(RecordsPerFile)));
        for (int r = 0; r < records; ++r) {
            const auto *rec = reinterpret_cast<const unsigned char *>(data_.data()) + static_cast<size_t>(r) * RecordSize;
            text(r, rec, offset::Name, 80, "Name");
            text(r, rec, offset::Caption, 40, "Caption");
            text(r, rec, offset::Size, 6, "Size");
            text(r, rec, offset::Unit, 4, "Unit");
            if (r % RecordsPerPipe == SettingsRow - 1)
                settings(r, rec);
        }
        return problems_;
    }

private:
    void problem(const std::string &what) { problems_.push_back(file_ + ": " + what); }

    static std::string where(int r)
    {
        return "record " + std::to_string(r) + " (pipe " + std::to_string(r / RecordsPerPipe + 1) + ")";
    }

    void text(int r, const unsigned char *rec, int at, size_t capacity, const char *field)
    {
        const size_t len = rec[at];
        if (len > capacity)
            problem(where(r) + " " + field + ": length byte " + std::to_string(len) + " exceeds the field's " +
                    std::to_string(capacity) + " bytes");
        const std::string_view bytes(reinterpret_cast<const char *>(rec + at + 1), std::min(len, capacity));
        bool clean = true;
        cp932::decode(bytes, &clean);
        if (!clean) {
            problem(where(r) + " " + field + ": not valid Shift-JIS text");
        } else if (endsInLoneLeadByte(bytes) && bytes.size() < capacity) {
            // At full capacity a lone lead byte is what cutting a long text leaves; short of
            // it, the byte has lost its partner.
            problem(where(r) + " " + field + ": ends in the first byte of a double-byte character");
        }
    }

    static bool endsInLoneLeadByte(std::string_view bytes)
    {
        size_t i = 0;
        while (i < bytes.size())
            i += cp932::isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        return i > bytes.size();
    }

    void value(int r, const unsigned char *rec, int slot, const char *field, const ValueSet &set)
    {
        const Currency v = Currency::fromRaw(rawSlot(rec, slot));
        std::string list;
        for (const char *s : set.values) {
            if (v == Currency::parse(s))
                return;
            list += (list.empty() ? "" : ", ") + std::string(s);
        }
        problem(where(r) + " settings " + field + ": " + v.toString() + " is not a " + set.what + " (" + list + ")");
    }

    void settings(int r, const unsigned char *rec)
    {
        value(r, rec, slot::B(1), "B1", Codes);
        value(r, rec, slot::B(2), "B2", Addends);
        value(r, rec, slot::B(3), "B3", Decimals);
        value(r, rec, slot::B(4), "B4", Modes);
        value(r, rec, slot::B(6), "B6", Addends);
        value(r, rec, slot::D(1), "D1", Codes);
        value(r, rec, slot::D(2), "D2", Addends);
        value(r, rec, slot::D(3), "D3", Addends);
        value(r, rec, slot::D(4), "D4", Flags);
    }

    std::string file_;
    std::string_view data_;
    std::vector<std::string> problems_;
};

int cmdCheck(const Options &o)
{
    requireExisting(o.file);
    const std::string data = readWholeFile(o.file);
    const std::vector<std::string> problems = Checker(o.file.string(), data).run();
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
        if (o.command == "calc" || o.command == "level")
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
