#pragma once
// A calculated pipe with hand-worked figures for the export tests: a normal pipe with four
// locations and a refrigerant pipe with one.
#include "velmok/core/calc.h"
#include "velmok/exports/text_builder.h"

#include <memory>
#include <string>
#include <vector>

namespace velmo::test {

// Normal pipe: LEVEL1 … LEVEL5 material 1000, NET 900, list 1200; labour 20000, NET 18000;
// composite code 10. Location 0 row 1 (15A) carries the worked example (2805 → 2800), row 2
// (20A) only a labour factor 0.08; location 1 row 1 has the labour factor 0.1 (3960).
// Refrigerant pipe (pipe mode 2): the worked example in row 1 of its single location.
inline PipeBlock exportBlock(bool refrigerant)
{
    PipeBlock b{};
    b[0].name.assignText(refrigerant ? "冷媒用銅管" : "配管用炭素鋼鋼管");
    b[1].name.assignText(refrigerant ? "" : "白");
    b[2].name.assignText(refrigerant ? "" : "ねじ接合");
    b[3].name.assignText("東京都物価版");
    b[4].name.assignText("P-12");
    const char *locs[] = {"屋内一般", "機械室", "屋外架空", "地中配管"};
    for (int l = 0; l < 4; ++l) {
        b[l * 15 + 14].caption.assignText(locs[l]);
        b[l * 15 + 0].size.assignText("15A");
        b[l * 15 + 1].size.assignText("20A");
    }
    for (PriceRecord &r : b)
        r.unit.assignText("ｍ");
    b[14].B(1) = Cur("10");
    if (refrigerant)
        b[14].B(4) = Cur("2");
    b[59].C(0) = Cur("18000");
    for (int i = 1; i <= 5; ++i) {
        b[59].C(i) = Cur("20000");
        b[0].A(i) = Cur("1000");
    }
    b[0].A(0) = Cur("900");
    b[0].A(6) = Cur("1200");
    const char *factors[] = {"1.1", "0.3", "0.05", "0.2", "0.05", "0.1", "0.05"};
    for (int i = 1; i <= 7; ++i) {
        b[0].B(i) = Cur(factors[i - 1]);
        b[15].B(i) = Cur(factors[i - 1]);
    }
    b[15].B(5) = Cur("0.1");
    b[1].B(5) = Cur("0.08");
    return b;
}

struct ExportPipe {
    PipeBlock block;
    std::unique_ptr<WorkingTable> table = std::make_unique<WorkingTable>();
    std::vector<std::string> tabs;

    explicit ExportPipe(bool refrigerant = false) : block(exportBlock(refrigerant))
    {
        table->load(block);
        table->recalculateAll(block);
        tabs = locationTabCaptions(*table);
    }
    std::string text(OutputMode mode, int basis = 1, bool heading = false, bool results = false) const
    {
        return buildOutputText(*table, tabs, mode, OutputLevelChoice{basisAt(basis), heading, results, true});
    }
};

// The lines of a text split at CR LF; a text ending in CR LF ends in an empty line.
inline std::vector<std::string> crlfLines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return lines;
        start = end + 2;
    }
}

} // namespace velmo::test
