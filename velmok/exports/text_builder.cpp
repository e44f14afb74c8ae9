#include "velmok/exports/text_builder.h"
#include "velmok/core/velmok_texts.h"

#include "base/cp932.h"
#include "base/errors.h"
#include "handoff/handoff_files.h"
#include "base/support.h"

namespace velmo {

namespace {

// A text field of the print data may not hold its separator: a ";" in a name would shift
// every later field of the line, so it is written as the full-width "；".
std::string printTextField(const std::string &text)
{
    std::string out;
    for (const char c : text)
        out += c == ';' ? std::string("；") : std::string(1, c);
    return out;
}

} // namespace

std::vector<std::string> locationTabCaptions(const WorkingTable &table)
{
    if (table.refrigerant())
        return {velmoktext::RefrigerantTabCaption};
    std::vector<std::string> tabs;
    for (int loc = 0; loc < LocationsPerPipe; ++loc)
        tabs.push_back(table.row(workingRow(loc, RowsPerLocation)).rec.caption.text());
    return tabs;
}

OutputRow outputRow(const WorkingTable &table, int a, Basis b)
{
    requireOutputBasis(b);
    const WorkingRow &w = table.row(a);
    const BasisResult &r = w.result(b);
    OutputRow o;
    o.size = w.rec.size.text();
    o.unit = w.rec.unit.text();
    o.adopted = adoptedPrice(w, b);
    o.material = w.rec.slots[materialSlot(b)];
    for (int i = 0; i < 7; ++i) {
        o.factors[i] = w.rec.B(i + 1);
        o.components[i] = r.K[i];
    }
    o.total = r.total;
    return o;
}

std::string buildOutputText(const WorkingTable &table, const std::vector<std::string> &tabs, OutputMode mode,
                            const OutputLevelChoice &choice)
{
    const bool print = mode == OutputMode::Print;
    const bool refrigerant = table.refrigerant();
    const std::string s = print ? ";" : ",";
    // In the print data the check boxes are hidden and count as unchecked.
    const bool heading = !print && choice.heading;
    const bool results = !print && choice.results;

    std::string h;
    if (heading) {
        for (int i = 0; i < 12; ++i)
            h += std::string(i ? s : "") + OutputHeadings[i];
        h += "\r\n";
    }
    auto money = [&](Currency c) { return print ? FormatMoney(c) : c.toString(); };
    // K6 (はつり補修) has no meaning in refrigerant mode: an empty field.
    auto component = [&](const OutputRow &o, int i) {
        return refrigerant && i == handoff::ChippingPart ? std::string() : money(o.components[i]);
    };

    std::string text;
    const std::string pipeNames = print ? printTextField(table.row(1).rec.name.text()) + s +
                                              printTextField(table.row(2).rec.name.text()) + s +
                                              printTextField(table.row(3).rec.name.text()) + s
                                        : std::string();
    const int locations = static_cast<int>(tabs.size());
    for (int loc = 0; loc < locations; ++loc) {
        if (!print)
            text += tabs[loc] + "\r\n";
        text += h;
        for (int k = 1; k <= SizeRowsPerLocation; ++k) {
            const OutputRow o = outputRow(table, workingRow(loc, k), choice.basis);
            if (print)
                text += pipeNames + printTextField(tabs[loc]) + s;
            text += (print ? printTextField(o.size) : o.size) + s + (print ? printTextField(o.unit) : o.unit) + s;
            text += money(o.adopted) + s + money(o.material) + s;
            if (print || !results)
                for (const Currency &f : o.factors)
                    text += f.toString() + s;
            if (print || results)
                for (int i = 0; i < 7; ++i)
                    text += component(o, i) + s;
            const bool last = loc == locations - 1 && k == SizeRowsPerLocation;
            text += money(o.total) + s + (last ? "" : "\r\n");
        }
    }
    return text;
}

std::string outputFileBytes(const std::string &text)
{
    return cp932::encode(text + "\r\n");
}

} // namespace velmo
