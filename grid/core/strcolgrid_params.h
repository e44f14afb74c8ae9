#pragma once
// Cell parameters (TSCGCellParam: one cell or a rectangle of cells, later items win) and named
// fonts (TSCGCellFont) of the string column grid, with their refusals. Texts are UTF-8.
#include "grid/core/strcolgrid_types.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmo {

class StrColGridModel;
class TSCGCellParam;
class TSCGCellParams;
class TSCGCellFonts;

// The canvas a drawing event draws on. The window layer defines it (TStrColGrid.h); the grid
// model only stores the events.
struct TSCGCanvas;

using TSCGParamsCellChangedEvent = std::function<void(TSCGCellParam &sender, StrColGridModel &grid, int oldCol,
                                                      int oldRow, int newCol, int newRow)>;
using TSCGParamsColChangedEvent =
    std::function<void(TSCGCellParam &sender, StrColGridModel &grid, int oldCol, int newCol)>;
using TSCGParamsRowChangedEvent =
    std::function<void(TSCGCellParam &sender, StrColGridModel &grid, int oldRow, int newRow)>;
// sender: the parameter, or nullptr for the grid's own event.
using TSCGOutCellTextEvent =
    std::function<void(TSCGCellParam *sender, StrColGridModel &grid, TSCGCanvas &canvas, const PixelRect &rect,
                       int col, int row, const std::string &caption, std::string &value, bool &doCanvasReset)>;
using TSCGDrawTextOneLineEvent = std::function<void(
    TSCGCellParam *sender, StrColGridModel &grid, TSCGCanvas &canvas, const PixelRect &rect, int col, int row,
    int index, TGridDrawState state, std::string &text, TAlignment &alignment, TTextLayout &layout,
    bool &innerHorzLine)>;
using TSCGDrawCellEvent = std::function<void(TSCGCellParam &sender, StrColGridModel &grid, TSCGCanvas &canvas,
                                             int col, int row, const PixelRect &rect, TGridDrawState state)>;

class TSCGCellParam {
public:
    explicit TSCGCellParam(TSCGCellParams &collection);
    TSCGCellParam(const TSCGCellParam &) = delete;
    TSCGCellParam &operator=(const TSCGCellParam &) = delete;

    // Copies every property, the brush and the events of another parameter.
    void Assign(const TSCGCellParam &source);

    // "Name (Col,Row)-(ColMax,RowMax)", the prefix of this parameter's error messages.
    std::string DisplayName() const;
    // Whether this parameter addresses (col, row).
    bool Covers(int col, int row) const;

    const std::string &Name() const { return name_; }
    void SetName(const std::string &v);
    // Col, Row: negative values are refused. Col, Row, ColMax and RowMax re-check the range
    // (RangeEnabled); a refused value leaves the old one.
    int Col() const { return col_; }
    void SetCol(int v);
    int Row() const { return row_; }
    void SetRow(int v);
    int ColMax() const { return colMax_; }
    void SetColMax(int v);
    int RowMax() const { return rowMax_; }
    void SetRowMax(int v);
    bool RangeEnabled() const { return rangeEnabled_; }
    // Refused with ColMax < Col or RowMax < Row, except while the grid loads.
    void SetRangeEnabled(bool v);

    const std::string &Caption() const { return caption_; }
    void SetCaption(const std::string &v);
    TSCGCellCaptionType CaptionType() const { return captionType_; }
    void SetCaptionType(TSCGCellCaptionType v);
    TColor CellColor() const { return cellColor_; }
    void SetCellColor(TColor v);
    bool CellColorEnabled() const { return cellColorEnabled_; }
    void SetCellColorEnabled(bool v);
    const TBrush &Brush() const { return brush_; }
    void SetBrush(const TBrush &v);
    bool BrushEnabled() const { return brushEnabled_; }
    void SetBrushEnabled(bool v);
    const std::string &FontName() const { return fontName_; }
    // A name that is not in the grid's Fonts becomes empty, except while the grid loads.
    void SetFontName(const std::string &v);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor v);
    bool FontColorEnabled() const { return fontColorEnabled_; }
    void SetFontColorEnabled(bool v);
    int FontWidth() const { return fontWidth_; }
    // Negative widths are refused.
    void SetFontWidth(int v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout v);
    TImeMode ImeMode() const { return imeMode_; }
    void SetImeMode(TImeMode v);
    bool ImeModeEnabled() const { return imeModeEnabled_; }
    void SetImeModeEnabled(bool v);
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions v);
    bool OptionsEnabled() const { return optionsEnabled_; }
    void SetOptionsEnabled(bool v);
    int Tag() const { return tag_; }
    void SetTag(int v) { tag_ = v; }

    TSCGParamsCellChangedEvent OnEnterCell, OnExitCell;
    TSCGParamsColChangedEvent OnEnterCol, OnExitCol;
    TSCGParamsRowChangedEvent OnEnterRow, OnExitRow;
    TSCGOutCellTextEvent OnOutCellText;
    TSCGDrawTextOneLineEvent OnDrawTextOneLine;
    TSCGDrawCellEvent OnDrawCell;

private:
    friend class TSCGCellFont;
    friend class TSCGCellFonts;
    void changed();
    // Only how the covered cells are painted changed (colours, fonts, texts, alignment).
    void lookChanged();
    bool loading() const;
    StrColGridModel *grid() const;

    TSCGCellParams *collection_;
    std::string name_;
    int col_ = 0, row_ = 0, colMax_ = 0, rowMax_ = 0;
    bool rangeEnabled_ = false;
    std::string caption_;
    TSCGCellCaptionType captionType_ = ctCellText;
    TColor cellColor_ = clr::Window;
    bool cellColorEnabled_ = false;
    TBrush brush_;
    bool brushEnabled_ = false;
    std::string fontName_;
    TColor fontColor_ = clr::WindowText;
    bool fontColorEnabled_ = false;
    int fontWidth_ = 1;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    TImeMode imeMode_ = imDontCare;
    bool imeModeEnabled_ = false;
    TGridOptions options_ = DefaultGridOptions;
    bool optionsEnabled_ = false;
    int tag_ = 0;
};

class TSCGCellParams {
public:
    // grid may be null for a collection outside a grid.
    explicit TSCGCellParams(StrColGridModel *grid = nullptr) : grid_(grid) {}
    TSCGCellParams(const TSCGCellParams &) = delete;
    TSCGCellParams &operator=(const TSCGCellParams &) = delete;

    TSCGCellParam &Add();
    int Count() const { return static_cast<int>(items_.size()); }
    TSCGCellParam &Items(int index) const;
    TSCGCellParam &operator[](int index) const { return Items(index); }
    void Delete(int index);
    void Clear();
    StrColGridModel *Owner() const { return grid_; }

    // The parameter that decides the look of (col, row): the last one that covers it, or null.
    TSCGCellParam *Find(int col, int row) const;
    // Whether some parameter has the caption type ctTop, whose text depends on the current row.
    bool AnyCaptionTop() const;

private:
    friend class TSCGCellParam;
    StrColGridModel *grid_;
    std::vector<std::unique_ptr<TSCGCellParam>> items_;
};

class TSCGCellFont {
public:
    explicit TSCGCellFont(TSCGCellFonts &collection);
    TSCGCellFont(const TSCGCellFont &) = delete;
    TSCGCellFont &operator=(const TSCGCellFont &) = delete;

    const std::string &Name() const { return name_; }
    // Renames the font and every cell parameter that uses it. An empty name, and while the grid
    // is not loading the name of any font of the collection (this one included), is refused.
    void SetName(const std::string &v);
    // The font with its colour.
    const GridFont &Font() const { return font_; }
    void SetFont(const GridFont &v);
    // "Name( face, point size )"
    std::string DisplayName() const;

private:
    friend class TSCGCellFonts;
    TSCGCellFonts *collection_;
    std::string name_;
    GridFont font_;
};

class TSCGCellFonts {
public:
    explicit TSCGCellFonts(StrColGridModel *grid = nullptr) : grid_(grid) {}
    TSCGCellFonts(const TSCGCellFonts &) = delete;
    TSCGCellFonts &operator=(const TSCGCellFonts &) = delete;

    // A new font is a copy of the grid's font, named "フォント" + the new count.
    TSCGCellFont &Add();
    int Count() const { return static_cast<int>(items_.size()); }
    TSCGCellFont &Items(int index) const;
    TSCGCellFont &operator[](int index) const { return Items(index); }
    // Removes a font; parameters that used its name lose their font name.
    void Delete(int index);
    // Index of the font named name (exact comparison); refused when there is none.
    int IndexOfFontName(const std::string &name) const;
    // The font named name, or null.
    const TSCGCellFont *Find(const std::string &name) const;
    StrColGridModel *Owner() const { return grid_; }

private:
    friend class TSCGCellFont;
    StrColGridModel *grid_;
    std::vector<std::unique_ptr<TSCGCellFont>> items_;
};

} // namespace velmo
