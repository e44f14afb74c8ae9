#pragma once
// The string column grid without its window: cells, column widths and row heights, fixed
// columns and rows, the current cell and the selection, moving by key and mouse as a Windows
// string grid does, scrolling whole columns and rows so that the fixed cells stay in view, the
// in-cell editor's state, the grid options, the cell parameters and named fonts, and the rules
// that decide how each cell is painted. The window (controls/ui/TStrColGrid) forwards its
// events here and shows what the model holds; it keeps no state of the grid's own.
//
// Positions are (col, row) throughout, in that order. Pixel positions are those of the grid's
// client area: the fixed columns start at x = 0, the scrollable ones at LeftCol after them.
// Texts are UTF-8.
#include "grid/core/strcolgrid_params.h"
#include "grid/core/strcolgrid_types.h"
#include "grid/core/virtual_keys.h"

#include <functional>
#include <string>
#include <vector>

namespace velmo {

// What the model tells its window. Every notice comes after the change.
class StrColGridObserver {
public:
    virtual ~StrColGridObserver() = default;
    // The text of one cell changed.
    virtual void cellChanged(int /*col*/, int /*row*/) {}
    // The column or row count changed.
    virtual void countsChanged() {}
    // Where the cells are on screen changed: widths, heights, fixed counts, LeftCol, TopRow.
    virtual void layoutChanged() {}
    // Something painted changed: parameters, fonts, colours, options, focus, selection.
    virtual void looksChanged() {}
    // Only the cells of a range are painted differently now: a move of the selection, or a
    // parameter's colour, font, caption or alignment. Without a finer answer, all of them.
    virtual void cellsLookChanged(const CellRange & /*cells*/) { looksChanged(); }
    // The current cell or the selection changed.
    virtual void selectionChanged() {}
    // A mouse click or a keyboard move focused (col, row). Moves made in code (SelectCell,
    // SelectRange) do not raise it, so that grids that follow each other's selection do not
    // call each other without end.
    virtual void cellFocused(int /*col*/, int /*row*/) {}
    // The in-cell editor opened on (EditCol, EditRow), or closed: kept, its text stays in
    // its cell (CloseEditor); not kept, the cell has its old text back (CancelEditor).
    virtual void editorOpened() {}
    virtual void editorClosed(bool /*kept*/) {}
    // The editor text was stored into (col, row).
    virtual void editorTextStored(int /*col*/, int /*row*/) {}
    // A text typed or pasted into the editor was longer than its cell holds and was cut: the
    // editor must show editorText() again (and the person hears why nothing was added).
    virtual void editorTextCut() {}
    // A key, before the grid's own handling. Set consumed, or vk to 0, to keep the grid and
    // the editor from handling it.
    virtual void keyDown(int & /*vk*/, ShiftState /*shift*/, bool & /*consumed*/) {}
};

using TSCGCellChangedEvent =
    std::function<void(StrColGridModel &sender, int oldCol, int oldRow, int newCol, int newRow)>;
using TSCGColChangedEvent = std::function<void(StrColGridModel &sender, int oldCol, int newCol)>;
using TSCGRowChangedEvent = std::function<void(StrColGridModel &sender, int oldRow, int newRow)>;
using TSelectCellEvent = std::function<void(StrColGridModel &sender, int col, int row, bool &canSelect)>;

// What the window does with a key after the model handled it.
struct GridKeyResult {
    bool handled = true;         // false: the key goes on (the editor types it, or a dialog gets it)
    bool typeIntoEditor = false; // the editor was just opened: give it the key to type
    FocusMove focus = FocusMove::None;
    bool openMenu = false;       // Shift+F10: the grid's pop-up menu at the current cell
};

enum class GridCursor { Arrow, SizeColumn, SizeRow };

// The canvas state a cell starts with: its font (a named font, or null for the grid's own
// font), the text colour and the brush colour.
struct CellCanvas {
    const TSCGCellFont *font = nullptr;
    TColor fontColor;
    TColor brushColor;
};

// The grid lines after a cell: the line right of it and the line below it.
struct CellGridLines {
    bool vertical = false;
    bool horizontal = false;
    TColor color;      // of a line drawn
    TColor background; // where no line is drawn
};

// The dotted focus frame of a cell.
struct CellFocusFrame {
    bool draw = false;
    bool left = true;  // along the left edge too
    bool right = true; // along the right edge too
};

// Alignment, layout and thickening of a cell's text.
struct CellTextStyle {
    TAlignment alignment = taLeftJustify;
    TTextLayout layout = tlTop;
    int fontWidth = 1;
};

class StrColGridModel {
public:
    StrColGridModel();
    StrColGridModel(const StrColGridModel &) = delete;
    StrColGridModel &operator=(const StrColGridModel &) = delete;

    void setObserver(StrColGridObserver *observer) { observer_ = observer; }

    // --- size and contents (strcolgrid_model.cpp) ---------------------------------------------
    // Widths and heights are those of the cells, without the one-pixel grid line that follows
    // each column and row. A negative size is kept as given (layouts store it back unchanged)
    // and shows as an empty column or row.
    int ColCount() const { return static_cast<int>(colWidths_.size()); }
    void SetColCount(int count); // at least 1; fixed columns shrink to fit
    int RowCount() const { return static_cast<int>(rowHeights_.size()); }
    void SetRowCount(int count);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int count); // 0 .. ColCount - 1
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int count);
    // Text of a cell; "" outside the grid.
    const std::string &Cells(int col, int row) const;
    // A position outside the grid is refused (CheckCellPos).
    void SetCells(int col, int row, const std::string &text);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int width); // sets every column
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int height); // sets every row
    int GridLineWidth() const { return 1; }
    // Room a column or row takes on screen: the cell and its grid line, 0 for a negative size.
    int sectionWidth(int col) const;
    int sectionHeight(int row) const;
    int contentWidth() const;  // all columns
    int contentHeight() const; // all rows
    bool IsFixedCell(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }
    // A position outside the grid raises a RangeError.
    void CheckCellPos(int col, int row) const;

    // --- scrolling (strcolgrid_scroll.cpp) ----------------------------------------------------
    // The room the cells have on screen. Until it is given, all of the grid is in view.
    void setClientSize(int width, int height);
    int clientWidth() const { return clientWidth_; }
    int clientHeight() const { return clientHeight_; }
    // First scrollable column and row in view; the columns FixedCols .. LeftCol - 1 are
    // scrolled out, the fixed ones always stay.
    int LeftCol() const { return leftCol_; }
    void SetLeftCol(int col); // clamped to FixedCols .. maxLeftCol()
    int TopRow() const { return topRow_; }
    void SetTopRow(int row);
    // The last LeftCol / TopRow that still leaves no room unused after the last column / row.
    int maxLeftCol() const;
    int maxTopRow() const;
    bool isColScrolledOut(int col) const { return col >= fixedCols_ && col < leftCol_; }
    bool isRowScrolledOut(int row) const { return row >= fixedRows_ && row < topRow_; }
    // Scrollable rows wholly in view from TopRow (at least 1): the step of PageUp and PageDown.
    int VisibleRowCount() const;
    // Scrolls whole columns and rows until (col, row) is wholly in view, where it fits.
    void scrollInView(int col, int row);
    // The cell at a pixel position (each cell with its grid line), -1 where there is none.
    GridCoord MouseCoord(int x, int y) const;
    // Where a cell is on screen, without its grid line; width and height 0 when scrolled out.
    PixelRect CellRect(int col, int row) const;

    // --- looks and options (strcolgrid_model.cpp) ---------------------------------------------
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor c);
    // The grid's font; its colour is the grid's text colour.
    const GridFont &Font() const { return font_; }
    void SetFont(const GridFont &font);
    TColor FontColor() const { return font_.color; }
    void SetFontColor(TColor c);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TAlignment FixedAlignment() const { return fixedAlignment_; }
    void SetFixedAlignment(TAlignment a);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout l);
    TTextLayout FixedLayout() const { return fixedLayout_; }
    void SetFixedLayout(TTextLayout l);
    bool FocusDraw() const { return focusDraw_; }
    void SetFocusDraw(bool v);
    TColor FocusCellColor() const { return focusCellColor_; }
    void SetFocusCellColor(TColor c);
    TColor FocusCellFontColor() const { return focusCellFontColor_; }
    void SetFocusCellFontColor(TColor c);
    bool FocusCellFontColorEnabled() const { return focusCellFontColorEnabled_; }
    void SetFocusCellFontColorEnabled(bool v);
    bool CellDivide() const { return cellDivide_; }
    void SetCellDivide(bool v);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool v);
    TImeMode ImeMode() const { return imeMode_; }
    void SetImeMode(TImeMode m);
    // Base options; the options in force are a selected cell's own options when its parameter
    // has OptionsEnabled. Setting the base options puts them in force.
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions o);
    TGridOptions OptionsInForce() const { return optionsInForce_; }
    // Whether the grid has the input focus (the window tells).
    bool Focused() const { return focused_; }
    void setFocused(bool focused);

    // --- cell parameters and fonts (strcolgrid_model.cpp) -------------------------------------
    TSCGCellParams &CellParams() { return cellParams_; }
    const TSCGCellParams &CellParams() const { return cellParams_; }
    TSCGCellFonts &Fonts() { return fonts_; }
    const TSCGCellFonts &Fonts() const { return fonts_; }
    // The parameter that covers (col, row) (the last one added), or, with create, a new one for
    // the cell in the grid's colours.
    TSCGCellParam *FindCellParam(int col, int row, bool create);
    const TSCGCellParam *FindCellParam(int col, int row) const { return cellParams_.Find(col, row); }
    // Per-cell operations: check the position, take the cell's parameter (created when
    // missing; a range parameter covering the cell is changed as a whole) and set one property.
    void SetCellAlignment(int col, int row, TAlignment alignment);
    void SetCellFontColor(int col, int row, TColor color);
    void SetCellFontWidth(int col, int row, int width);
    void SetCellColor(int col, int row, TColor color);
    // The named font a cell is drawn with, or null for the grid's font.
    const TSCGCellFont *cellFont(int col, int row) const;

    // While loading (set-up of a window), range and font-name checks of the parameters are
    // relaxed; EndLoad takes the current cell as the previous selection.
    bool Loading() const { return loading_; }
    void BeginLoad() { loading_ = true; }
    void EndLoad();

    // --- selection (strcolgrid_model.cpp) -----------------------------------------------------
    // Col/Row is the current cell; the selection is the rectangle between it and the anchor.
    int Col() const { return curCol_; }
    int Row() const { return curRow_; }
    CellRange Selection() const;
    // Makes (col, row) the current cell and the whole selection. Returns false when the move is
    // refused (a fixed cell, OnSelectCell, or a selection event that raised); a position outside
    // the grid is a RangeError.
    bool SelectCell(int col, int row);
    // Current cell (left, top), selection up to (right, bottom).
    bool SelectRange(int left, int top, int right, int bottom);
    // Decides whether (col, row) may become the current cell: refuses fixed cells and what
    // OnSelectCell refuses, then raises the exit, enter and changed events when the cell
    // differs from the previous selection; an event that raises refuses the move. An accepted
    // cell becomes the previous selection and its options are put in force.
    bool CanSelectCell(int col, int row);

    TSelectCellEvent OnSelectCell;
    // The most bytes the text of cell (col, row) takes in CP932 (a double-byte character counts
    // two), or 0 for no limit: the editor never holds more (the file field it goes into would
    // cut it). Unset: no limit anywhere.
    std::function<size_t(int col, int row)> TextByteLimit;
    TSCGCellChangedEvent OnCellChanged;
    TSCGColChangedEvent OnColChanged;
    TSCGRowChangedEvent OnRowChanged;

    // --- keys, mouse and editor (strcolgrid_input.cpp) ----------------------------------------
    // A key pressed in the grid or, with fromEditor, in its editor. typing: the key types a
    // character (or is Backspace), so it opens the editor.
    GridKeyResult keyDown(int vk, ShiftState shift, bool typing, bool fromEditor);
    // Mouse events at pixel positions; the left button only.
    void mouseDown(int x, int y, ShiftState shift);
    GridCursor mouseMove(int x, int y, bool leftButton);
    void mouseUp();
    void doubleClick(int x, int y);

    // The in-cell editor. Its text is stored into the cell at every change and when it closes;
    // each store raises editorTextStored.
    bool EditorMode() const { return editing_; }
    int editCol() const { return editCol_; }
    int editRow() const { return editRow_; }
    const std::string &editorText() const { return editorText_; }
    // Whether the options in force allow editing the current cell.
    bool canEditShow() const;
    // Opens the editor on the current cell when editing is allowed; true when it is open.
    bool ShowEditor();
    // Stores the editor text into its cell and closes the editor.
    void CloseEditor();
    // Closes the editor and gives the cell back the text it had when the editor opened.
    void CancelEditor();
    // The editor's text changed (typed, pasted or set).
    void editorTextChanged(const std::string &text);
    // The editor's font: the edited cell's named font, or null for the grid's font.
    const TSCGCellFont *editorFont() const;
    // The editor's input-method mode. creating: the editor is being made (the cell parameter's
    // own mode, whether enabled or not); otherwise the mode that applies on selecting the cell.
    TImeMode editorImeMode(bool creating) const;

    // --- painting rules (strcolgrid_paint.cpp) ------------------------------------------------
    TGridDrawState CellState(int col, int row) const;
    // The font and colours a cell starts with, and its background (focus: paint the cell as
    // focused when it is highlighted).
    CellCanvas PaintCellBackground(int col, int row, bool focus, const TSCGCellParam *param,
                                   TGridDrawState state) const;
    // Whether a cell is painted highlighted; if so, the highlight colours go into canvas.
    bool PrepareFocusColors(const TSCGCellParam *param, TGridDrawState state, CellCanvas &canvas) const;
    // The text shown: the cell text combined with the parameter's caption.
    std::string cellText(int col, int row, const TSCGCellParam *param) const;
    CellTextStyle cellTextStyle(int col, int row, const TSCGCellParam *param) const;
    CellGridLines cellGridLines(int col, int row) const;
    CellFocusFrame cellFocusFrame(int col, int row) const;
    // The options a cell is drawn with: its parameter's own or the base options.
    TGridOptions cellOptions(const TSCGCellParam *param) const;

private:
    friend class TSCGCellParam;
    friend class TSCGCellFont;
    friend class TSCGCellParams;
    friend class TSCGCellFonts;

    void paramsChanged();
    void paramLookChanged(const TSCGCellParam &param);
    void cellsLookChanged(CellRange cells);
    // After a move of the selection: the cells of the old and the new selection, or every cell
    // when more than those may look different.
    void selectionLooksChanged(const CellRange &before, TGridOptions optionsBefore);
    void looksChanged();
    void layoutChanged();
    void clampScroll();
    void clampCurrent();
    void setCurrentQuietly(int col, int row);
    void applyCellState(int col, int row);
    bool moveCurrent(int col, int row, bool moveAnchor, bool byUser);
    void moveAnchor(int col, int row);
    bool navigate(int vk, ShiftState shift);
    GridKeyResult editorKey(int vk, ShiftState shift);
    GridKeyResult closedKey(int vk, ShiftState shift, bool typing);
    void storeEditorText();
    int columnLeft(int col) const;
    int rowTop(int row) const;
    int sizingColumnAt(int x, int y) const;
    int sizingRowAt(int x, int y) const;

    StrColGridObserver *observer_ = nullptr;
    TSCGCellParams cellParams_{this};
    TSCGCellFonts fonts_{this};

    int defaultColWidth_ = 64, defaultRowHeight_ = 24;
    std::vector<std::vector<std::string>> cells_; // [row][col]
    std::vector<int> colWidths_, rowHeights_;
    int fixedCols_ = 1, fixedRows_ = 1;
    int clientWidth_, clientHeight_;
    int leftCol_ = 1, topRow_ = 1;

    TColor color_ = clr::Window, fixedColor_ = clr::BtnFace;
    GridFont font_;
    TColor focusCellColor_ = clr::Highlight, focusCellFontColor_ = clr::HighlightText;
    TAlignment alignment_ = taLeftJustify, fixedAlignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop, fixedLayout_ = tlTop;
    bool focusDraw_ = true, focusCellFontColorEnabled_ = false, cellDivide_ = true, ctl3D_ = true;
    TImeMode imeMode_ = imDontCare;
    TGridOptions options_ = DefaultGridOptions, optionsInForce_ = DefaultGridOptions;
    bool focused_ = false;
    bool loading_ = false;

    int curCol_ = 1, curRow_ = 1, anchorCol_ = 1, anchorRow_ = 1;
    int prevCol_ = 1, prevRow_ = 1; // last accepted selection, for the exit events

    bool editing_ = false, closingEditor_ = false;
    int editCol_ = -1, editRow_ = -1;
    std::string editorText_, editOriginal_;

    enum class Drag { None, Select, SizeCol, SizeRow } drag_ = Drag::None;
    int dragIndex_ = -1;
};

// --- drawing rules as plain functions (strcolgrid_paint.cpp) ----------------------------------

// Splits a cell text into its lines at CR, LF or CR LF; a final line break adds no line. An
// empty text is one empty line.
std::vector<std::string> splitCellLines(const std::string &text);

// One horizontal band of a divided cell: rows top .. bottom - 1.
struct CellBand {
    int top;
    int bottom;
    bool operator==(const CellBand &) const = default;
};

// Divides the rows top .. bottom - 1 into lineCount equal bands (integer division); the last
// band ends at bottom and so takes the remainder. lineCount < 1 is treated as 1.
std::vector<CellBand> cellBands(int top, int bottom, int lineCount);

// The text drawn for a cell with a parameter: cellText combined with the parameter's caption by
// its caption type. currentRowCellEmpty: the cell of the same column on the grid's current row
// is empty (ctTop then ends with one more CR).
std::string combineCaption(TSCGCellCaptionType type, const std::string &cellText, const std::string &caption,
                           bool currentRowCellEmpty);

// Left edge of a text of textWidth pixels in the columns left .. right - 1.
int textLeft(TAlignment alignment, int left, int right, int textWidth);
// Top edge of a text of textHeight pixels in the rows top .. bottom - 1.
int textTop(TTextLayout layout, int top, int bottom, int textHeight);

// The colour a pixel of the dotted focus frame takes: its inverse, or white / black when the
// inverse is too close to the pixel to be seen.
TColor focusFramePixel(TColor pixel);

} // namespace velmo
