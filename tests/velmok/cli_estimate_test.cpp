// velmok-cli estimate run as a program: a quantity list of ten rows over three services priced
// against the figures velmok-cli calc gives, the same list as Shift-JIS CSV, .xlsx and .ods,
// the workbook and the PDF read back, and the lists it refuses.
#include "tests/velmok/cli_support.h"
#include "base/cp932.h"
#include "base/support.h"
#include "pricework/table_file.h"
#include "tests/common/handoff_sample.h"
#include "tests/common/ods_file.h"
#include "velmok/estimate/estimate.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

using namespace velmo;
using namespace velmo::test;

namespace {

const fs::path SampleDir = fs::path(VELMO_SAMPLE_DIR);

// The list: service, pipe, location, size, quantity, note, written as a person would (numbers,
// names in full-width letters, sizes with and without "A").
const std::vector<std::array<std::string, 6>> ListRows = {
    {"給水", "水道用硬質塩化ﾋﾞﾆﾙﾗｲﾆﾝｸﾞ鋼管（ＶＢ）", "屋内一般", "２５Ａ", "1,234.5", "1階"},
    {"給水", "1", "機械室", "20", "12.25", ""},
    {"給水", "ステンレス鋼鋼管", "屋外架空", "40A", "8", ""},
    {"1", "3", "地中配管", "13", "0.75", "埋設"},
    {"排水", "1", "1", "50A", "30", ""},
    {"排水", "硬質塩化ﾋﾞﾆﾙ管(VP)", "2", "100A", "15.5", ""},
    {"排水", "2", "3", "65", "7.33", ""},
    {"通気", "配管用炭素鋼鋼管（白）", "4", "32A", "10", ""},
    {"通気", "1", "屋内一般", "125A", "5", "単価なし"},
    {"３", "2", "機械室", "75A", "3.01", ""},
};
const std::array<std::string, 6> Headings = {"設備", "管材", "施工場所", "口径", "数量", "備考"};

// A data folder of the first three sample services; service 3's pipe 1 gets a size 125A in
// 屋内一般 without any price or factor, so that its composite is 0.
struct EstimateFixture {
    TempDir dir;
    fs::path data = dir.path / "data";
    EstimateFixture()
    {
        fs::create_directories(data);
        for (int s = 1; s <= 3; ++s)
            fs::copy_file(SampleDir / ("haikan" + std::to_string(s) + ".fda"), data / ("kanzai" + std::to_string(s) + ".fda"));
        ServiceFile f;
        f.load(data / "kanzai3.fda");
        f.pipeBlock(0)[8].size.assignText("125A");
        f.save(data / "kanzai3.fda");
    }
    fs::path csv(const std::string &name, bool shiftJis, char separator) const
    {
        std::string text;
        auto line = [&](const std::array<std::string, 6> &cells) {
            for (size_t c = 0; c < cells.size(); ++c) {
                const bool quote = cells[c].find(separator) != std::string::npos;
                text += (c ? std::string(1, separator) : "") + (quote ? "\"" + cells[c] + "\"" : cells[c]);
            }
            text += "\r\n";
        };
        line(Headings);
        for (const auto &r : ListRows)
            line(r);
        const fs::path p = dir.path / name;
        writeFileAtomically(p, shiftJis ? cp932::encode(text) : "\xEF\xBB\xBF" + text);
        return p;
    }
};

Result estimateCli(const std::vector<std::string> &args)
{
    std::vector<std::string> all{"estimate"};
    all.insert(all.end(), args.begin(), args.end());
    return cli(all);
}

// The JSON without the members that name the file read.
std::string pricedPart(const std::string &json)
{
    const size_t rows = json.find("\"level\"");
    return rows == std::string::npos ? json : json.substr(rows);
}

int64_t hundredthsOf(const std::string &quantity)
{
    std::string plain;
    for (const char c : quantity)
        if (c != ',')
            plain += c;
    return Cur(plain.c_str()).raw() / 100;
}

} // namespace

// Every amount of the worked example is quantity × the adopted price velmok-cli calc gives for
// that pipe, location and size, cut to the yen; the size priced 0 is not counted.
TEST(CliEstimate, TheWorkedExampleAgreesWithCalcAmountByAmount)
{
    EstimateFixture f;
    const Result r = estimateCli({f.csv("list.csv", false, ',').string(), "--data", f.data.string(), "--cost"});
    ASSERT_EQ(r.code, 1) << r.err; // one row is not priced
    const Json j = r.json();
    // The row priced 0: row 10 of the file (the heading is row 1).
    ASSERT_EQ(j["unmatched"].size(), 1u);
    EXPECT_EQ(j["unmatched"][0]["row"].str(), "10");
    EXPECT_NE(j["unmatched"][0]["reason"].str().find("125A"), std::string::npos);

    // The expected figures: (service, pipe, location, size row) of each priced list row.
    struct Want {
        int service, pipe, location, k;
    };
    const std::vector<Want> want = {{1, 1, 0, 3}, {1, 1, 1, 2}, {1, 3, 2, 5}, {1, 3, 3, 1}, {2, 1, 0, 2},
                                    {2, 2, 1, 5}, {2, 2, 2, 3}, {3, 1, 3, 3}, {3, 2, 1, 4}};
    const std::vector<size_t> listRow = {0, 1, 2, 3, 4, 5, 6, 7, 9};
    std::map<int, Json> calc;
    for (int s = 1; s <= 3; ++s) {
        const Result c = cli({"calc", (f.data / ("kanzai" + std::to_string(s) + ".fda")).string()});
        ASSERT_EQ(c.code, 0) << c.err;
        calc[s] = c.json();
    }
    ASSERT_EQ(j["rows"].size(), want.size());
    std::map<std::string, int64_t> subtotal;
    int64_t total = 0, costTotal = 0;
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("list row " + std::to_string(listRow[i] + 2));
        const Json &row = j["rows"][i];
        const Json &c = rowOf(calc[want[i].service], static_cast<size_t>(want[i].pipe - 1), want[i].location, want[i].k);
        const Currency price = Cur(c["LEVEL1"]["adopted"].str().c_str());
        const Currency cost = Cur(c["NET"]["total"].str().c_str());
        const int64_t q = hundredthsOf(ListRows[listRow[i]][4]);
        const int64_t amount = q * price.raw() / 1000000, costAmount = q * cost.raw() / 1000000;
        EXPECT_EQ(row["row"].str(), std::to_string(listRow[i] + 2));
        EXPECT_EQ(row["size"].str(), c["size"].str());
        EXPECT_EQ(Cur(row["unit_price"].str().c_str()), price);
        EXPECT_EQ(row["amount"].str(), std::to_string(amount));
        EXPECT_EQ(row["cost_amount"].str(), std::to_string(costAmount));
        EXPECT_EQ(row["margin"].str(), std::to_string(amount - costAmount));
        EXPECT_EQ(row["note"].str(), ListRows[listRow[i]][5]);
        subtotal[row["service"].str()] += amount;
        total += amount;
        costTotal += costAmount;
    }
    EXPECT_EQ(j["rows"][0]["location"].str(), "屋内一般");
    EXPECT_EQ(j["rows"][3]["location"].str(), "地中配管");
    // Services in the order of the data folder, each with its subtotal.
    ASSERT_EQ(j["services"].size(), 3u);
    const char *order[] = {"給水", "排水", "通気"};
    for (size_t s = 0; s < 3; ++s) {
        EXPECT_EQ(j["services"][s]["service"].str(), order[s]);
        EXPECT_EQ(j["services"][s]["subtotal"].str(), std::to_string(subtotal[order[s]]));
    }
    EXPECT_EQ(j["total"].str(), std::to_string(total));
    EXPECT_EQ(j["cost_total"].str(), std::to_string(costTotal));
}

// The same list as Shift-JIS tab-separated text, as a workbook and as an OpenDocument
// spreadsheet (with a hidden row that must not count) gives the same estimate.
TEST(CliEstimate, TheSameListInEveryFormatGivesTheSameEstimate)
{
    EstimateFixture f;
    const Result utf8 = estimateCli({f.csv("list.csv", false, ',').string(), "--data", f.data.string()});
    ASSERT_EQ(utf8.code, 1) << utf8.err;
    const Result sjis = estimateCli({f.csv("list.txt", true, '\t').string(), "--data", f.data.string()});
    EXPECT_EQ(sjis.code, 1) << sjis.err;
    EXPECT_EQ(pricedPart(sjis.out), pricedPart(utf8.out));

    std::vector<TableRow> table;
    table.push_back({});
    for (const std::string &h : Headings)
        table.back().push_back(textCell(h));
    for (const auto &r : ListRows) {
        table.push_back({});
        for (size_t c = 0; c < r.size(); ++c)
            table.back().push_back(c == 4 ? numberCell(Currency::fromRaw(hundredthsOf(r[c]) * 100))
                                          : textCell(r[c]));
    }
    const fs::path book = f.dir.path / "list.xlsx";
    writeFileAtomically(book, tableXlsxBytes({TableSheet{"数量", table}}, book));
    const Result xlsx = estimateCli({book.string(), "--data", f.data.string()});
    EXPECT_EQ(xlsx.code, 1) << xlsx.err;
    EXPECT_EQ(xlsx.json()["sheet"].str(), "数量");
    const std::string fromXlsx = pricedPart(xlsx.out);
    EXPECT_EQ(fromXlsx.substr(fromXlsx.find("\"level\"")), pricedPart(utf8.out));

    if (!havePython3())
        GTEST_SKIP() << "python3 is missing";
    const fs::path ods = f.dir.path / "list.ods";
    const std::string row = "<table:table-row>", end = "</table:table-row>";
    std::string tables = "<table:table table:name=\"数量\">" + row;
    for (const std::string &h : Headings)
        tables += odsCell(h);
    tables += end;
    for (const auto &r : ListRows) {
        tables += row;
        for (size_t c = 0; c < r.size(); ++c)
            tables += c == 4 ? odsNumber(Currency::fromRaw(hundredthsOf(r[c]) * 100).toString()) : odsCell(r[c]);
        tables += end;
        if (&r == &ListRows[4]) // a hidden row between: not read, and row numbers count it
            tables += "<table:table-row table:visibility=\"collapse\">" + odsCell("給水") + odsCell("1") +
                      odsCell("1") + odsCell("15A") + odsNumber("999") + end;
    }
    ASSERT_TRUE(writeOds(ods, tables + "</table:table>"));
    const Result fromOds = estimateCli({ods.string(), "--data", f.data.string()});
    EXPECT_EQ(fromOds.code, 1) << fromOds.err;
    const Json o = fromOds.json(), u = utf8.json();
    ASSERT_EQ(o["rows"].size(), u["rows"].size());
    for (size_t i = 0; i < o["rows"].size(); ++i)
        EXPECT_EQ(o["rows"][i]["amount"].str(), u["rows"][i]["amount"].str()) << i;
    EXPECT_EQ(o["total"].str(), u["total"].str());
    EXPECT_EQ(o["rows"][5]["row"].str(), "8"); // below the hidden row
}

// The workbook: every amount a formula over its quantity and unit price whose stored value is
// the JSON's amount, the subtotals and the total SUM formulas, and a sheet of the rows not
// priced. The rounding chosen is the formula's.
TEST(CliEstimate, TheWorkbookHoldsFormulasWithTheAmountsOfTheJson)
{
    if (std::system("/usr/bin/python3 -c 'import openpyxl' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl (Debian python3-openpyxl) is needed to read the workbook back";
    EstimateFixture f;
    const fs::path list = f.csv("list.csv", false, ',');
    const fs::path script = f.dir.path / "read.py";
    std::ofstream(script) << "import sys, openpyxl\n"
                             "f = openpyxl.load_workbook(sys.argv[1])\n"
                             "v = openpyxl.load_workbook(sys.argv[1], data_only=True)\n"
                             "ws, wv = f.worksheets[0], v.worksheets[0]\n"
                             "print(ws.title, ws.page_setup.orientation, ws.print_title_rows)\n"
                             "for a, b in zip(ws.iter_rows(values_only=True), wv.iter_rows(values_only=True)):\n"
                             "    if isinstance(a[6], str) and a[6].startswith('='):\n"
                             "        print(a[0], a[6], b[6])\n"
                             "print(f.worksheets[1].title, f.worksheets[1]['A2'].value)\n";
    for (const char *round : {"down", "half", "up"}) {
        SCOPED_TRACE(round);
        const fs::path book = f.dir.path / "estimate.xlsx";
        const Result made = estimateCli({list.string(), "--data", f.data.string(), "--amount-round", round, "--xlsx", book.string()});
        ASSERT_EQ(made.code, 1) << made.err;
        const Json j = estimateCli({list.string(), "--data", f.data.string(), "--amount-round", round}).json();
        const Result read = runProgram("/usr/bin/python3", {script.string(), book.string()});
        ASSERT_EQ(read.code, 0) << read.err;
        std::istringstream lines(read.out);
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line, "内訳明細書 landscape $1:$5");
        const std::string fn = std::string(round) == "down" ? "ROUNDDOWN" : std::string(round) == "half" ? "ROUND" : "ROUNDUP";
        size_t row = 0, service = 0;
        while (std::getline(lines, line) && line.rfind("計上できない行", 0) != 0) {
            std::istringstream w(line);
            std::string name, formula, value;
            w >> name >> formula >> value;
            if (name == "小計") {
                EXPECT_EQ(formula.rfind("=SUM(G", 0), 0u) << line;
                EXPECT_EQ(value, j["services"][service++]["subtotal"].str()) << line;
            } else if (name == "合計") {
                EXPECT_EQ(formula.rfind("=SUM(G", 0), 0u) << line;
                EXPECT_EQ(value, j["total"].str()) << line;
            } else {
                EXPECT_EQ(formula.rfind("=" + fn + "(", 0), 0u) << line;
                EXPECT_EQ(value, j["rows"][row++]["amount"].str()) << line;
            }
        }
        EXPECT_EQ(row, j["rows"].size());
        EXPECT_EQ(service, 3u);
        EXPECT_EQ(line, "計上できない行 10");
    }
}

// The PDF, made by the print program: every amount, each subtotal and the total can be found
// in its text.
TEST(CliEstimate, ThePdfTextHoldsEveryAmountAndTheTotal)
{
    if (!fs::exists(fs::path(VELMO_CLI).parent_path() / "korrel"))
        GTEST_SKIP() << "the print program korrel is built only with the windows (VELMO_GUI)";
    if (runShell("command -v pdftotext >/dev/null").code != 0)
        GTEST_SKIP() << "poppler-utils (pdftotext) is not installed";
    EstimateFixture f;
    const fs::path list = f.csv("list.csv", false, ',');
    const fs::path pdf = f.dir.path / "estimate.pdf";
    const Result made = estimateCli({list.string(), "--data", f.data.string(), "--pdf", pdf.string()});
    ASSERT_EQ(made.code, 1) << made.err;
    const Json j = estimateCli({list.string(), "--data", f.data.string()}).json();
    const Result text = runShell("pdftotext -layout " + shellWord(pdf.string()) + " -");
    ASSERT_EQ(text.code, 0) << text.err;
    auto money = [](const std::string &plain) { return FormatMoney(Cur(plain.c_str())); };
    for (size_t i = 0; i < j["rows"].size(); ++i)
        EXPECT_NE(text.out.find(money(j["rows"][i]["amount"].str())), std::string::npos) << i;
    for (size_t s = 0; s < j["services"].size(); ++s)
        EXPECT_NE(text.out.find(money(j["services"][s]["subtotal"].str())), std::string::npos) << s;
    const size_t lastPage = text.out.find("3/4"); // the footer of the page before the last
    ASSERT_NE(lastPage, std::string::npos) << text.out;
    EXPECT_NE(text.out.find(money(j["total"].str()), lastPage), std::string::npos) << text.out;
    EXPECT_EQ(pdfPageCount(readWholeFile(pdf)), 4); // three services and the total
}

// Rows that cannot be priced are named with their reason and left out of every total; a list
// or folder that cannot be read, a sheet or a column it does not have, is an error.
TEST(CliEstimate, UnpricedRowsAndRefusedLists)
{
    EstimateFixture f;
    const fs::path list = f.dir.path / "bad.csv";
    writeFileAtomically(list, "設備,管材,場所,サイズ,数量\n"
                              "給水,1,1,25A,-3\n"
                              "給水,1,1,25A,たくさん\n"
                              "給水,1,1,25A,1.234\n"
                              "雑排水,1,1,25A,1\n"
                              "給水,存在しない管,1,25A,1\n"
                              "給水,1,屋上,25A,1\n"
                              "給湯,1,1,25A,1\n"
                              ",,,,\n"
                              "給水,1,1,,2\n"
                              "給水,1,1,25A,2\n");
    const Result r = estimateCli({list.string(), "--data", f.data.string()});
    ASSERT_EQ(r.code, 1) << r.err;
    const Json j = r.json();
    ASSERT_EQ(j["unmatched"].size(), 8u) << r.out;
    const char *reasons[] = {"負の値", "数値ではありません", "小数 2 桁", "雑排水", "存在しない管", "屋上", "kanzai4.fda", "口径"};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(j["unmatched"][i]["row"].str(), std::to_string(i < 7 ? i + 2 : 10));
        EXPECT_NE(j["unmatched"][i]["reason"].str().find(reasons[i]), std::string::npos) << j["unmatched"][i]["reason"].str();
    }
    ASSERT_EQ(j["rows"].size(), 1u);
    EXPECT_EQ(j["total"].str(), j["rows"][0]["amount"].str());

    const fs::path damaged = f.dir.path / "damaged.xlsx";
    writeFileAtomically(damaged, std::string("PK\x03\x04", 4) + "not a workbook");
    const fs::path noQuantity = f.dir.path / "noquantity.csv";
    writeFileAtomically(noQuantity, "設備,管材,場所,サイズ\n給水,1,1,25A\n");
    const std::string good = f.csv("list.csv", false, ',').string();
    struct Refused {
        std::vector<std::string> args;
        std::string names;
    };
    for (const Refused &c : std::vector<Refused>{
             {{damaged.string(), "--data", f.data.string()}, "damaged.xlsx"},
             {{f.data.string(), "--data", f.data.string()}, f.data.string()},
             {{good, "--data", f.data.string(), "--sheet", "鋼管"}, "鋼管"},
             {{noQuantity.string(), "--data", f.data.string()}, "--quantity-column"},
             {{good, "--data", (f.dir.path / "nofolder").string()}, "nofolder"},
             {{good, "--data", f.data.string(), "--level", "8"}, "'8'"},
             {{good, "--data", f.data.string(), "--amount-round", "even"}, "even"},
             {{good}, "--data"},
             {{good, "--data", f.data.string(), "--csv", "--pdf", "x.pdf"}, "--csv"}}) {
        const Result e = estimateCli(c.args);
        EXPECT_EQ(e.code, 2) << c.names << "\n" << e.out;
        EXPECT_NE(e.err.find(c.names), std::string::npos) << e.err;
        EXPECT_TRUE(e.out.empty()) << e.out;
    }
    // Columns given by number read a list without headings.
    const fs::path bare = f.dir.path / "bare.csv";
    writeFileAtomically(bare, "2,給水,1,1,25A\n");
    const Result byNumber = estimateCli({bare.string(), "--data", f.data.string(), "--service-column", "2", "--pipe-column", "3",
                                      "--location-column", "4", "--size-column", "5", "--quantity-column", "1", "--level", "7"});
    ASSERT_EQ(byNumber.code, 0) << byNumber.err;
    EXPECT_EQ(byNumber.json()["basis"].str(), "LIST");
    EXPECT_EQ(byNumber.json()["rows"][0]["quantity"].str(), "2");
}

// The amount is exact: quantity in hundredths times a price in ten-thousandths, taken to the
// yen as the spreadsheet's ROUNDDOWN, ROUND and ROUNDUP do, and refused beyond the range.
TEST(EstimateAmount, ExactRoundingAndRange)
{
    using estimate::AmountRound;
    const Currency price = Cur("1001");
    // 12.35 m × 1,001 = 12,362.35
    EXPECT_EQ(*estimate::amountOf(1235, price, AmountRound::Down), Cur("12362"));
    EXPECT_EQ(*estimate::amountOf(1235, price, AmountRound::Half), Cur("12362"));
    EXPECT_EQ(*estimate::amountOf(1235, price, AmountRound::Up), Cur("12363"));
    // 0.5 m × 1,001 = 500.5: half goes up; an exact amount stays under every rule.
    EXPECT_EQ(*estimate::amountOf(50, price, AmountRound::Half), Cur("501"));
    EXPECT_EQ(*estimate::amountOf(200, price, AmountRound::Up), Cur("2002"));
    EXPECT_FALSE(estimate::amountOf(int64_t{1} << 60, price, AmountRound::Down));
}
