// How the string column grid paints a cell: the draw state, colours, text, grid lines and the
// focus frame. The window layer draws what these rules decide.
#include "grid/core/strcolgrid_model.h"

#include <algorithm>
#include <cstdlib>

namespace velmo {

// --- drawing rules ---------------------------------------------------------------------------------

std::vector<std::string> splitCellLines(const std::string &text)
{
    if (text.empty())
        return {std::string()};
    std::vector<std::string> lines;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        const size_t start = i;
        while (i < n && text[i] != '\r' && text[i] != '\n')
            ++i;
        lines.emplace_back(text, start, i - start);
        if (i < n && text[i] == '\r')
            ++i;
        if (i < n && text[i] == '\n')
            ++i;
    }
    return lines;
}

std::vector<CellBand> cellBands(int top, int bottom, int lineCount)
{
    const int count = std::max(1, lineCount);
    const int height = (bottom - top) / count;
    std::vector<CellBand> bands;
    bands.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        bands.push_back({top + height * i, i == count - 1 ? bottom : top + height * (i + 1)});
    return bands;
}

std::string combineCaption(TSCGCellCaptionType type, const std::string &cellText, const std::string &caption,
                           bool currentRowCellEmpty)
{
    std::string text;
    switch (type) {
    case ctCaption:
        text = caption.empty() ? cellText : caption;
        break;
    case ctCellText:
        text = cellText.empty() ? caption : cellText;
        break;
    case ctHeader:
        text.append(caption).append(cellText);
        break;
    case ctFooter:
        text.append(cellText).append(caption);
        break;
    case ctTop:
        text.append(cellText).append(1, '\r').append(caption);
        if (currentRowCellEmpty)
            text.append(1, '\r');
        break;
    case ctBottom:
        text.append(caption).append(1, '\r').append(cellText);
        break;
    }
    return text;
}

int textLeft(TAlignment alignment, int left, int right, int textWidth)
{
    switch (alignment) {
    case taRightJustify:
        return right - textWidth - 2;
    case taCenter:
        return left + (right - left - textWidth) / 2;
    case taLeftJustify:
        break;
    }
    return left + 2;
}

int textTop(TTextLayout layout, int top, int bottom, int textHeight)
{
    switch (layout) {
    case tlCenter:
        return top + (bottom - top - textHeight) / 2 + 1;
    case tlBottom:
        return bottom - textHeight - 1;
    case tlTop:
        break;
    }
    return top + 2;
}

TColor focusFramePixel(TColor pixel)
{
    const int r = pixel.red(), g = pixel.green(), b = pixel.blue();
    const int ir = 255 - r, ig = 255 - g, ib = 255 - b;
    if (std::abs(ir - r) + std::abs(ig - g) + std::abs(ib - b) < 24)
        return pixel.value < 12632257u ? clr::White : clr::Black;
    return TColor::fromRgb(ir, ig, ib);
}

// --- the rules of one cell -----------------------------------------------------------------------

TGridDrawState StrColGridModel::CellState(int col, int row) const
{
    if (IsFixedCell(col, row))
        return gdFixed;
    TGridDrawState state = 0;
    if (Selection().contains(col, row))
        state |= gdSelected;
    if (col == curCol_ && row == curRow_)
        state |= gdFocused;
    return state;
}

TGridOptions StrColGridModel::cellOptions(const TSCGCellParam *param) const
{
    return param && param->OptionsEnabled() ? param->Options() : options_;
}

bool StrColGridModel::PrepareFocusColors(const TSCGCellParam *param, TGridDrawState state, CellCanvas &canvas) const
{
    const TGridOptions options = param && param->OptionsEnabled() ? param->Options() : optionsInForce_;
    bool highlight = (focused_ || focusDraw_) && (state & gdSelected);
    // The current cell is shown by its focus frame, not highlighted, unless the options say so.
    if (highlight && (state & gdFocused) && !(options & (goDrawFocusSelected | goRowSelect)))
        highlight = false;
    if (highlight) {
        canvas.brushColor = focusCellColor_;
        if (focusCellFontColorEnabled_)
            canvas.fontColor = focusCellFontColor_;
        else if (param && param->FontColorEnabled())
            canvas.fontColor = param->FontColor();
    }
    return highlight;
}

CellCanvas StrColGridModel::PaintCellBackground(int, int, bool focus, const TSCGCellParam *param,
                                                TGridDrawState state) const
{
    CellCanvas canvas{nullptr, font_.color, color_};
    // A font name that is not (or no longer) registered draws with the grid font: refusing it
    // here would raise again at every repaint.
    if (param && !param->FontName().empty()) {
        if (const TSCGCellFont *named = fonts_.Find(param->FontName())) {
            canvas.font = named;
            canvas.fontColor = named->Font().color;
        }
    }
    const bool fixed = state & gdFixed;
    if (!param && fixed) {
        canvas.brushColor = fixedColor_;
    } else if (focus && !fixed) {
        if (!PrepareFocusColors(param, state, canvas))
            canvas.brushColor = param && param->CellColorEnabled() ? param->CellColor() : color_;
    } else if (param) {
        canvas.brushColor = param->CellColorEnabled() ? param->CellColor() : (fixed ? fixedColor_ : color_);
        if (param->FontColorEnabled())
            canvas.fontColor = param->FontColor();
    }
    return canvas;
}

std::string StrColGridModel::cellText(int col, int row, const TSCGCellParam *param) const
{
    if (!param)
        return Cells(col, row);
    return combineCaption(param->CaptionType(), Cells(col, row), param->Caption(), Cells(col, curRow_).empty());
}

CellTextStyle StrColGridModel::cellTextStyle(int col, int row, const TSCGCellParam *param) const
{
    if (param)
        return {param->Alignment(), param->Layout(), param->FontWidth()};
    const bool fixed = IsFixedCell(col, row);
    return {fixed ? fixedAlignment_ : alignment_, fixed ? fixedLayout_ : layout_, 1};
}

CellGridLines StrColGridModel::cellGridLines(int col, int row) const
{
    const bool fixed = IsFixedCell(col, row);
    return {(optionsInForce_ & (fixed ? goFixedVertLine : goVertLine)) != 0,
            (optionsInForce_ & (fixed ? goFixedHorzLine : goHorzLine)) != 0, fixed ? clr::Black : clr::Silver, color_};
}

CellFocusFrame StrColGridModel::cellFocusFrame(int col, int row) const
{
    CellFocusFrame frame;
    if (!focused_ || IsFixedCell(col, row))
        return frame;
    if (!(optionsInForce_ & goRowSelect)) {
        frame.draw = col == curCol_ && row == curRow_;
        return frame;
    }
    // A selected row is framed as a whole: the left edge on its first cell, the right edge on
    // its last, the span being the parameter's own when it brings its own options.
    frame.draw = row == curRow_;
    const TSCGCellParam *param = cellParams_.Find(col, row);
    const bool own = param && param->OptionsEnabled();
    frame.left = col == (own ? param->Col() : fixedCols_);
    frame.right = col == (own ? param->ColMax() : ColCount() - 1);
    return frame;
}

} // namespace velmo
