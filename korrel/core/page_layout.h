#pragma once
// The page of the composite unit price table, laid out without a painter: texts in boxes and
// ruled lines, in millimetres on an A4 sheet in landscape. The window library only paints it.
#include "korrel/core/print_job.h"

#include <string>
#include <utility>
#include <vector>

namespace velmo::print {

enum class Align { Left, Centre, Right };

struct TextBox {
    double x = 0, y = 0, w = 0, h = 0; // mm from the sheet's top left corner
    std::string text;
    Align align = Align::Left;
    double points = 9; // font size; a painter may shrink it until the text fits the box
    bool bold = false;
};

struct Rule {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // mm
    double width = 0.2;                    // mm
};

struct PageLayout {
    static constexpr double Width = 297, Height = 210; // A4, landscape
    std::vector<TextBox> texts;
    std::vector<Rule> rules;

    void text(double x, double y, double w, double h, std::string s, Align a, double points, bool bold = false)
    {
        texts.push_back({x, y, w, h, std::move(s), a, points, bold});
    }
    void rule(double x1, double y1, double x2, double y2, double width = 0.2) { rules.push_back({x1, y1, x2, y2, width}); }
};

// One table column: its heading (the lower heading row when it has a group) and the field of
// print_Data.dat it shows.
struct Column {
    std::string heading;
    int field = 0;
    double width = 0; // mm
    Align align = Align::Right;
};

// The columns of the table: size, unit, adopted price, material price, the factors, the
// components and the total; the refrigerant layout has neither the factor nor the component
// of はつり補修.
std::vector<Column> tableColumns(bool refrigerant);

// A size row without a size and without a figure other than 0: a free line of the sheet,
// printed empty.
bool unusedRow(const PrintRow &row);

PageLayout layoutPage(const PrintPage &page);

} // namespace velmo::print
