// String column grid: cell parameters, named fonts and the drawing rules, without a window.
#include "base/errors.h"
#include "grid/core/strcolgrid_model.h"

#include <gtest/gtest.h>

using namespace velmo;

namespace {

template <typename E, typename F>
std::string messageOf(F &&f)
{
    try {
        f();
    } catch (const E &e) {
        return e.what();
    }
    return "<no exception>";
}

const TColor Red = TColor::fromRgb(255, 0, 0);
const TColor Green = TColor::fromRgb(0, 200, 0);
const TColor Blue = TColor::fromRgb(0, 0, 255);

} // namespace

// --- drawing rules ---------------------------------------------------------------------------------

TEST(StrColGridDrawing, BandsSplitTheCellAndTheLastTakesTheRemainder)
{
    EXPECT_EQ(cellBands(0, 34, 2), (std::vector<CellBand>{{0, 17}, {17, 34}}));
    EXPECT_EQ(cellBands(0, 35, 2), (std::vector<CellBand>{{0, 17}, {17, 35}}));
    EXPECT_EQ(cellBands(10, 30, 3), (std::vector<CellBand>{{10, 16}, {16, 22}, {22, 30}}));
    EXPECT_EQ(cellBands(5, 25, 1), (std::vector<CellBand>{{5, 25}}));
    EXPECT_EQ(cellBands(0, 20, 0), (std::vector<CellBand>{{0, 20}})); // never divides by zero
}

TEST(StrColGridDrawing, LinesSplitAtCrLfAndCrLf)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(splitCellLines(""), Lines{""});
    EXPECT_EQ(splitCellLines("abc"), Lines{"abc"});
    EXPECT_EQ(splitCellLines("a\rb"), (Lines{"a", "b"}));
    EXPECT_EQ(splitCellLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(splitCellLines("a\r"), Lines{"a"});              // a final break adds no line
    EXPECT_EQ(splitCellLines("a\r\rb"), (Lines{"a", "", "b"})); // an inner empty line stays
    EXPECT_EQ(splitCellLines("\n\r"), (Lines{"", ""}));
    EXPECT_EQ(splitCellLines("上段\r下段"), (Lines{"上段", "下段"}));
}

TEST(StrColGridDrawing, CaptionTypesCombineTextAndCaption)
{
    EXPECT_EQ(combineCaption(ctCaption, "C", "P", false), "P");
    EXPECT_EQ(combineCaption(ctCaption, "C", "", false), "C");
    EXPECT_EQ(combineCaption(ctCellText, "C", "P", false), "C");
    EXPECT_EQ(combineCaption(ctCellText, "", "P", false), "P");
    EXPECT_EQ(combineCaption(ctHeader, "C", "P", false), "PC");
    EXPECT_EQ(combineCaption(ctFooter, "C", "P", false), "CP");
    EXPECT_EQ(combineCaption(ctTop, "C", "P", false), "C\rP");
    EXPECT_EQ(combineCaption(ctTop, "C", "P", true), "C\rP\r");
    EXPECT_EQ(combineCaption(ctBottom, "C", "P", false), "P\rC");
}

TEST(StrColGridDrawing, TextPlacementFollowsAlignmentAndLayout)
{
    EXPECT_EQ(textLeft(taLeftJustify, 10, 110, 30), 12);
    EXPECT_EQ(textLeft(taRightJustify, 10, 110, 30), 78);
    EXPECT_EQ(textLeft(taCenter, 10, 110, 30), 45);
    EXPECT_EQ(textTop(tlTop, 0, 20, 15), 2);
    EXPECT_EQ(textTop(tlCenter, 0, 20, 15), 3);
    EXPECT_EQ(textTop(tlBottom, 0, 20, 15), 4);
}

TEST(StrColGridDrawing, FocusFramePixelStaysVisible)
{
    EXPECT_EQ(focusFramePixel(clr::White), clr::Black);
    EXPECT_EQ(focusFramePixel(TColor::fromRgb(10, 20, 30)), TColor::fromRgb(245, 235, 225));
    // Mid grey inverts to nearly itself: it becomes white below silver, black above.
    EXPECT_EQ(focusFramePixel(TColor::fromRgb(128, 128, 128)), clr::White);
    EXPECT_EQ(focusFramePixel(TColor::fromRgb(130, 127, 126)), clr::White);
    EXPECT_EQ(focusFramePixel(TColor::fromRgb(126, 127, 200)), TColor::fromRgb(129, 128, 55));
}

TEST(StrColGridDrawing, ColoursAreWindowsColourValues)
{
    EXPECT_EQ(TColor(10652814), TColor::fromRgb(142, 140, 162));
    EXPECT_EQ(TColor(10652814).red(), 142);
    EXPECT_EQ(TColor(10652814).blue(), 162);
}

// --- parameters ------------------------------------------------------------------------------------

TEST(StrColGridParams, LaterParameterWinsAndRangesChangeAsAWhole)
{
    StrColGridModel grid;
    grid.SetColCount(6);
    grid.SetRowCount(6);
    TSCGCellParam &range = grid.CellParams().Add();
    range.SetColMax(4);
    range.SetRowMax(4);
    range.SetRangeEnabled(true);
    range.SetCol(2);
    range.SetRow(2);
    EXPECT_EQ(range.Name(), "パラメータ1");
    EXPECT_EQ(grid.FindCellParam(3, 3, false), &range);
    EXPECT_EQ(grid.FindCellParam(1, 3, false), nullptr);

    // A per-cell operation inside the range changes the range, not one cell.
    grid.SetCellFontColor(3, 4, Red);
    EXPECT_EQ(grid.CellParams().Count(), 1);
    for (int c = 2; c <= 4; ++c)
        for (int r = 2; r <= 4; ++r)
            EXPECT_EQ(grid.FindCellParam(c, r, false)->FontColor(), Red);

    // A single-cell parameter added later wins for its cell only.
    grid.SetCellColor(5, 5, Blue); // outside: creates one
    TSCGCellParam &single = grid.CellParams().Add();
    single.SetCol(3);
    single.SetRow(3);
    single.SetAlignment(taRightJustify);
    EXPECT_EQ(single.Name(), "パラメータ3");
    EXPECT_EQ(grid.FindCellParam(3, 3, false), &single);
    EXPECT_EQ(grid.FindCellParam(2, 2, false), &range);
    grid.SetCellAlignment(3, 3, taCenter);
    EXPECT_EQ(single.Alignment(), taCenter);
    EXPECT_EQ(range.Alignment(), taLeftJustify);
    // ... and decides how the cell is painted.
    single.SetCellColor(Green);
    single.SetCellColorEnabled(true);
    EXPECT_EQ(grid.PaintCellBackground(3, 3, false, grid.FindCellParam(3, 3), 0).brushColor, Green);
    range.SetFontColorEnabled(true);
    EXPECT_EQ(grid.PaintCellBackground(3, 4, false, grid.FindCellParam(3, 4), 0).fontColor, Red);
}

TEST(StrColGridParams, CreatedParameterTakesGridColours)
{
    StrColGridModel grid;
    grid.SetColor(TColor::fromRgb(1, 2, 3));
    grid.SetFixedColor(TColor(10652814));
    grid.SetFontColor(TColor::fromRgb(4, 5, 6));
    TSCGCellParam *fixed = grid.FindCellParam(0, 2, true);
    TSCGCellParam *normal = grid.FindCellParam(2, 2, true);
    EXPECT_EQ(fixed->CellColor(), TColor::fromRgb(142, 140, 162));
    EXPECT_EQ(normal->CellColor(), TColor::fromRgb(1, 2, 3));
    EXPECT_EQ(normal->FontColor(), TColor::fromRgb(4, 5, 6));
    EXPECT_TRUE(normal->CellColorEnabled() && normal->FontColorEnabled());
    EXPECT_EQ(normal->DisplayName(), "パラメータ2 (  2,  2)-(  0,  0)");
}

TEST(StrColGridParams, PositionAndRangeErrorsCarryTheirTexts)
{
    StrColGridModel grid;
    grid.SetColCount(4);
    grid.SetRowCount(3);
    const std::string outside = "ｾﾙ位置がｸﾞﾘｯﾄﾞの範囲を超えました。";
    EXPECT_EQ(messageOf<RangeError>([&] { grid.CheckCellPos(4, 0); }), outside); // column = ColCount
    EXPECT_EQ(messageOf<RangeError>([&] { grid.CheckCellPos(0, 3); }), outside); // row = RowCount
    EXPECT_EQ(messageOf<RangeError>([&] { grid.CheckCellPos(0, -1); }), outside);
    EXPECT_EQ(messageOf<RangeError>([&] { grid.SetCellColor(1, 3, Red); }), outside);
    EXPECT_EQ(messageOf<RangeError>([&] { grid.SetCellFontWidth(-1, 0, 2); }), outside);
    EXPECT_EQ(messageOf<RangeError>([&] { grid.SetCells(9, 1, "x"); }), outside);
    EXPECT_EQ(messageOf<RangeError>([&] { grid.ColWidths(4); }), outside);
    EXPECT_EQ(grid.CellParams().Count(), 0); // nothing was created
    grid.CheckCellPos(3, 2);

    TSCGCellParam &p = grid.CellParams().Add();
    p.SetCol(2);
    EXPECT_EQ(messageOf<RangeError>([&] { p.SetCol(-1); }), "パラメータ1 (  2,  0)-(  0,  0).Col の値が 0 を下まわりました");
    EXPECT_EQ(p.Col(), 2);
    EXPECT_EQ(messageOf<RangeError>([&] { p.SetRow(-3); }), "パラメータ1 (  2,  0)-(  0,  0).Row の値が 0 を下まわりました");
    EXPECT_EQ(messageOf<RangeError>([&] { p.SetFontWidth(-1); }),
              "パラメータ1 (  2,  0)-(  0,  0).FontWidth の値が範囲を超えました");
    EXPECT_EQ(p.FontWidth(), 1);
    EXPECT_EQ(messageOf<RangeError>([&] { grid.SetCellFontWidth(2, 0, -2); }),
              "パラメータ1 (  2,  0)-(  0,  0).FontWidth の値が範囲を超えました");

    // ColMax below Col: refused, and the offending value is put back.
    EXPECT_EQ(messageOf<RangeError>([&] { p.SetRangeEnabled(true); }), "範囲が不正です");
    EXPECT_FALSE(p.RangeEnabled());
    p.SetColMax(3);
    p.SetRangeEnabled(true);
    EXPECT_EQ(messageOf<RangeError>([&] { p.SetColMax(1); }), "範囲が不正です");
    EXPECT_EQ(p.ColMax(), 3);
    EXPECT_EQ(messageOf<RangeError>([&] { p.SetCol(4); }), "範囲が不正です");
    EXPECT_EQ(p.Col(), 2);
    EXPECT_EQ(messageOf<RangeError>([&] { p.SetRow(1); }), "範囲が不正です"); // RowMax 0 < 1
    EXPECT_EQ(p.Row(), 0);

    // While the grid loads, ranges are set piecewise without checks.
    grid.BeginLoad();
    TSCGCellParam &loaded = grid.CellParams().Add();
    loaded.SetRangeEnabled(true);
    loaded.SetCol(3);
    loaded.SetColMax(3);
    grid.EndLoad();
    EXPECT_TRUE(loaded.RangeEnabled());

    EXPECT_EQ(messageOf<RangeError>([&] { grid.SetFixedCols(4); }), "固定列の数は 0 以上、列数より小さくしてください");
    EXPECT_EQ(messageOf<RangeError>([&] { grid.SetFixedRows(-1); }), "固定行の数は 0 以上、行数より小さくしてください");
    EXPECT_EQ(grid.FixedCols(), 1);
}

TEST(StrColGridParams, FontNameRules)
{
    StrColGridModel grid;
    GridFont base = grid.Font();
    base.family = "ＭＳ ゴシック";
    base.pixelSize = 15;
    grid.SetFont(base);
    TSCGCellFont &f1 = grid.Fonts().Add();
    TSCGCellFont &f2 = grid.Fonts().Add();
    EXPECT_EQ(f1.Name(), "フォント1");
    EXPECT_EQ(f2.Name(), "フォント2");
    EXPECT_EQ(f1.Font(), base); // a copy of the grid's font
    EXPECT_EQ(f1.DisplayName(), "フォント1( ＭＳ ゴシック, 11 )");
    EXPECT_EQ(messageOf<VelmoError>([&] { f1.SetName("フォント1"); }), "このフォント名はすでに使用されています");
    EXPECT_EQ(messageOf<VelmoError>([&] { f1.SetName("フォント2"); }), "このフォント名はすでに使用されています");
    EXPECT_EQ(messageOf<VelmoError>([&] { f1.SetName(""); }), "フォント名は空にできません");
    EXPECT_EQ(messageOf<VelmoError>([&] { grid.Fonts().IndexOfFontName("なし"); }),
              "CellParams で指定されたフォント名が Fonts に登録されていません");
    EXPECT_EQ(messageOf<VelmoError>([&] { grid.Fonts().IndexOfFontName("ふぉんと2"); }),
              "CellParams で指定されたフォント名が Fonts に登録されていません");
    EXPECT_EQ(grid.Fonts().IndexOfFontName("フォント2"), 1);

    TSCGCellParam &p = grid.CellParams().Add();
    p.SetFontName("なし"); // not registered: quietly emptied
    EXPECT_EQ(p.FontName(), "");
    p.SetFontName("フォント1");
    EXPECT_EQ(p.FontName(), "フォント1");
    f1.SetName("見出し"); // renaming follows into the parameters
    EXPECT_EQ(p.FontName(), "見出し");
    GridFont big = grid.Font();
    big.pixelSize = 30;
    big.color = Red;
    f1.SetFont(big);
    ASSERT_NE(grid.cellFont(0, 0), nullptr);
    EXPECT_EQ(grid.cellFont(0, 0)->Font().pixelSize, 30);
    const CellCanvas named = grid.PaintCellBackground(0, 0, false, &p, 0);
    EXPECT_EQ(named.font, grid.cellFont(0, 0));
    EXPECT_EQ(named.fontColor, Red); // the named font brings its colour
    grid.Fonts().Delete(0); // deleting clears the users
    EXPECT_EQ(p.FontName(), "");
    EXPECT_EQ(grid.cellFont(0, 0), nullptr);
}

TEST(StrColGridParams, AssignCopiesEverythingAndFiresTheCopiedEvents)
{
    StrColGridModel grid;
    TSCGCellParam &a = grid.CellParams().Add();
    a.SetColMax(3);
    a.SetRowMax(2);
    a.SetRangeEnabled(true);
    a.SetCaption("見出し");
    a.SetCaptionType(ctHeader);
    a.SetBrush({Blue, BrushStyle::Cross});
    a.SetBrushEnabled(true);
    a.SetFontWidth(3);
    a.SetLayout(tlBottom);
    a.SetOptions(goEditing);
    a.SetOptionsEnabled(true);
    a.SetTag(7);
    int entered = 0;
    a.OnEnterCell = [&](TSCGCellParam &, StrColGridModel &, int, int, int, int) { ++entered; };
    TSCGCellParam &b = grid.CellParams().Add();
    b.Assign(a);
    EXPECT_EQ(b.Name(), "パラメータ1");
    EXPECT_TRUE(b.RangeEnabled());
    EXPECT_EQ(b.ColMax(), 3);
    EXPECT_EQ(b.Caption(), "見出し");
    EXPECT_EQ(b.CaptionType(), ctHeader);
    EXPECT_EQ(b.Brush(), (TBrush{Blue, BrushStyle::Cross}));
    EXPECT_EQ(b.FontWidth(), 3);
    EXPECT_EQ(b.Layout(), tlBottom);
    EXPECT_EQ(b.Options(), TGridOptions(goEditing));
    EXPECT_EQ(b.Tag(), 7);
    ASSERT_TRUE(grid.SelectCell(2, 2)); // b (added later) covers it
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(grid.cellText(2, 2, &b), "見出し");
}

// --- painting rules --------------------------------------------------------------------------------

TEST(StrColGridPaint, SelectedRangeIsHighlightedExceptTheCurrentCell)
{
    StrColGridModel grid;
    grid.SetColCount(8);
    grid.SetRowCount(8);
    grid.SetFocusCellColor(TColor::fromRgb(10, 20, 200));
    grid.SetCellColor(3, 3, Green);
    grid.setFocused(true);
    ASSERT_TRUE(grid.SelectRange(2, 2, 3, 3));
    auto brush = [&](int c, int r) {
        const TSCGCellParam *p = grid.FindCellParam(c, r);
        CellCanvas canvas = grid.PaintCellBackground(c, r, false, p, grid.CellState(c, r));
        grid.PrepareFocusColors(p, grid.CellState(c, r), canvas);
        return canvas.brushColor;
    };
    EXPECT_EQ(grid.CellState(2, 2), TGridDrawState(gdSelected | gdFocused));
    EXPECT_EQ(grid.CellState(0, 2), TGridDrawState(gdFixed));
    EXPECT_EQ(brush(3, 3), TColor::fromRgb(10, 20, 200)); // the highlight covers the cell's own colour
    EXPECT_EQ(brush(2, 3), TColor::fromRgb(10, 20, 200));
    EXPECT_EQ(brush(2, 2), grid.Color()); // the current cell keeps its colour
    EXPECT_EQ(brush(4, 4), grid.Color());
    grid.SetOptions(grid.Options() | goDrawFocusSelected);
    EXPECT_EQ(brush(2, 2), TColor::fromRgb(10, 20, 200));
    // Without the focus the selection is still shown, as FocusDraw asks ...
    grid.setFocused(false);
    EXPECT_EQ(brush(3, 3), TColor::fromRgb(10, 20, 200));
    // ... and without FocusDraw it is not.
    grid.SetFocusDraw(false);
    EXPECT_EQ(brush(3, 3), Green);
}

TEST(StrColGridPaint, HighlightTextColourAndBackgrounds)
{
    StrColGridModel grid;
    grid.SetFixedColor(TColor(10652814));
    grid.SetCellFontColor(2, 1, Red);
    grid.setFocused(true);
    ASSERT_TRUE(grid.SelectRange(1, 1, 2, 1));
    CellCanvas canvas{nullptr, clr::Black, clr::White};
    EXPECT_TRUE(grid.PrepareFocusColors(grid.FindCellParam(2, 1), grid.CellState(2, 1), canvas));
    EXPECT_EQ(canvas.fontColor, Red); // the parameter's own text colour
    grid.SetFocusCellFontColorEnabled(true);
    EXPECT_TRUE(grid.PrepareFocusColors(grid.FindCellParam(2, 1), grid.CellState(2, 1), canvas));
    EXPECT_EQ(canvas.fontColor, clr::HighlightText);

    // Fixed cells without a parameter take the fixed colour; with one, its own colour.
    EXPECT_EQ(grid.PaintCellBackground(3, 0, false, nullptr, gdFixed).brushColor, TColor(10652814));
    grid.SetCellColor(0, 3, Blue);
    EXPECT_EQ(grid.PaintCellBackground(0, 3, false, grid.FindCellParam(0, 3), gdFixed).brushColor, Blue);
    // Painted as focused, a highlighted cell takes the focus colour at once.
    EXPECT_EQ(grid.PaintCellBackground(2, 1, true, grid.FindCellParam(2, 1), gdSelected).brushColor,
              grid.FocusCellColor());
}

TEST(StrColGridPaint, TextStyleGridLinesAndFocusFrame)
{
    StrColGridModel grid;
    grid.SetFixedAlignment(taCenter);
    grid.SetLayout(tlBottom);
    EXPECT_EQ(grid.cellTextStyle(0, 2, nullptr).alignment, taCenter);
    EXPECT_EQ(grid.cellTextStyle(2, 2, nullptr).alignment, taLeftJustify);
    EXPECT_EQ(grid.cellTextStyle(2, 2, nullptr).layout, tlBottom);
    grid.SetCellFontWidth(2, 2, 0);
    EXPECT_EQ(grid.cellTextStyle(2, 2, grid.FindCellParam(2, 2)).fontWidth, 0);

    const CellGridLines fixedLines = grid.cellGridLines(0, 1);
    EXPECT_TRUE(fixedLines.vertical && fixedLines.horizontal);
    EXPECT_EQ(fixedLines.color, clr::Black);
    EXPECT_EQ(grid.cellGridLines(1, 1).color, clr::Silver);
    grid.SetOptions(goFixedVertLine | goFixedHorzLine | goHorzLine);
    EXPECT_FALSE(grid.cellGridLines(1, 1).vertical);
    EXPECT_TRUE(grid.cellGridLines(1, 1).horizontal);

    // The focus frame only with the focus; with goRowSelect it frames the whole row.
    EXPECT_FALSE(grid.cellFocusFrame(1, 1).draw);
    grid.setFocused(true);
    EXPECT_TRUE(grid.cellFocusFrame(1, 1).draw);
    EXPECT_FALSE(grid.cellFocusFrame(2, 1).draw);
    grid.SetOptions(DefaultGridOptions | goRowSelect);
    ASSERT_TRUE(grid.SelectCell(2, 3));
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Selection(), (CellRange{1, 3, 4, 3}));
    const CellFocusFrame first = grid.cellFocusFrame(1, 3), middle = grid.cellFocusFrame(2, 3),
                         last = grid.cellFocusFrame(4, 3);
    EXPECT_TRUE(first.draw && first.left && !first.right);
    EXPECT_TRUE(middle.draw && !middle.left && !middle.right);
    EXPECT_TRUE(last.draw && !last.left && last.right);
    EXPECT_FALSE(grid.cellFocusFrame(2, 2).draw);
}
