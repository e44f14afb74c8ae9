#pragma once
// TStrColGrid: the text grid of the three programs. Every cell is drawn by the grid itself from
// cell parameters (TSCGCellParam: one cell or a rectangle of cells, later items win) and named
// fonts (TSCGCellFont). A cell text with line breaks is drawn in equal horizontal bands, one
// per line.
//
// Model: a QTableWidget whose fixed rows and columns are ordinary cells of the table (row 0
// headings, column 0 sizes); Qt's own headers are hidden. Fixed cells are never selected or
// edited. The grid scrolls whole columns and rows the way a Windows string grid does: the
// columns between the fixed ones and LeftCol (rows: TopRow) are hidden, so the fixed cells
// always stay in view.
//
// Positions are (col, row) throughout, in that order.
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTableWidget>

#include <functional>
#include <memory>
#include <vector>

#include <QLineEdit>
class QPainter;

namespace velmo {

class TStrColGrid;
class TSCGCellParam;
class TSCGCellParams;
class TStrColGridDelegate;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TSCGCellCaptionType { ctCaption, ctCellText, ctHeader, ctFooter, ctTop, ctBottom };
enum TImeMode {
    imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha,
    imHira, imSKata, imKata, imChinese, imSHanguel, imHanguel
};

enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6,
    goColSizing = 1u << 7,
    goRowMoving = 1u << 8,     // accepted, no effect
    goColMoving = 1u << 9,     // accepted, no effect
    goEditing = 1u << 10,
    goTabs = 1u << 11,
    goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13, // accepted, no effect: the editor opens on demand
    goThumbTracking = 1u << 14,    // accepted, no effect: scrolling always tracks the thumb
};
using TGridOptions = unsigned;
inline constexpr TGridOptions DefaultGridOptions =
    goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;

enum TGridDrawStateFlag : unsigned { gdSelected = 1u << 0, gdFocused = 1u << 1, gdFixed = 1u << 2 };
using TGridDrawState = unsigned;

// A Windows colour value (0x00BBGGRR, as the programs' settings and layouts write colours).
QColor TColorToQColor(unsigned bgr);

// ---------------------------------------------------------------------------------------------
// Drawing rules as plain functions.

// Splits a cell text into its lines at CR, LF or CR LF; a final line break adds no line. An
// empty text is one empty line.
QStringList SplitCellLines(const QString &text);

// One horizontal band of a divided cell: rows top .. bottom - 1.
struct CellBand {
    int top;
    int bottom;
    bool operator==(const CellBand &) const = default;
};

// Divides the rows top .. bottom - 1 into lineCount equal bands (integer division); the last
// band ends at bottom and so takes the remainder. lineCount < 1 is treated as 1.
std::vector<CellBand> CellBands(int top, int bottom, int lineCount);

// The text drawn for a cell with a parameter: cellText combined with the parameter's caption by
// its caption type. currentRowCellEmpty: the cell of the same column on the grid's current row
// is empty (ctTop then ends with one more CR).
QString CombineCaption(TSCGCellCaptionType type, const QString &cellText, const QString &caption,
                       bool currentRowCellEmpty);

// Left edge of a text of textWidth pixels in the columns left .. right - 1.
int TextLeft(TAlignment alignment, int left, int right, int textWidth);
// Top edge of a text of textHeight pixels in the rows top .. bottom - 1.
int TextTop(TTextLayout layout, int top, int bottom, int textHeight);

// The colour a pixel of the dotted focus frame takes: its inverse, or white / black when the
// inverse is too close to the pixel to be seen.
QRgb FocusFramePixel(QRgb pixel);

// ---------------------------------------------------------------------------------------------
// Events.

// The canvas state that drawing events see and may change: the font and its colour, the brush
// colour, and the painter for drawing of their own.
struct TSCGCanvas {
    QPainter *Painter = nullptr;
    QFont Font;
    QColor FontColor;
    QColor BrushColor;
};

using TNotifyEvent = std::function<void(TStrColGrid &sender)>;
using TSCGCellChangedEvent =
    std::function<void(TStrColGrid &sender, int oldCol, int oldRow, int newCol, int newRow)>;
using TSCGColChangedEvent = std::function<void(TStrColGrid &sender, int oldCol, int newCol)>;
using TSCGRowChangedEvent = std::function<void(TStrColGrid &sender, int oldRow, int newRow)>;
using TSCGParamsCellChangedEvent = std::function<void(TSCGCellParam &sender, TStrColGrid &grid, int oldCol,
                                                      int oldRow, int newCol, int newRow)>;
using TSCGParamsColChangedEvent =
    std::function<void(TSCGCellParam &sender, TStrColGrid &grid, int oldCol, int newCol)>;
using TSCGParamsRowChangedEvent =
    std::function<void(TSCGCellParam &sender, TStrColGrid &grid, int oldRow, int newRow)>;
// sender: the parameter, or nullptr for the grid's own event.
using TSCGOutCellTextEvent =
    std::function<void(TSCGCellParam *sender, TStrColGrid &grid, TSCGCanvas &canvas, const QRect &rect,
                       int col, int row, const QString &caption, QString &value, bool &doCanvasReset)>;
using TSCGDrawTextOneLineEvent = std::function<void(
    TSCGCellParam *sender, TStrColGrid &grid, TSCGCanvas &canvas, const QRect &rect, int col, int row,
    int index, TGridDrawState state, QString &text, TAlignment &alignment, TTextLayout &layout,
    bool &innerHorzLine)>;
using TSCGDrawCellEvent = std::function<void(TSCGCellParam &sender, TStrColGrid &grid, TSCGCanvas &canvas,
                                             int col, int row, const QRect &rect, TGridDrawState state)>;
using TDrawCellEvent = std::function<void(TStrColGrid &sender, TSCGCanvas &canvas, int col, int row,
                                          const QRect &rect, TGridDrawState state)>;
using TSelectCellEvent = std::function<void(TStrColGrid &sender, int col, int row, bool &canSelect)>;

// ---------------------------------------------------------------------------------------------
// Cell parameters.

class TSCGCellParam {
public:
    explicit TSCGCellParam(TSCGCellParams &collection);
    TSCGCellParam(const TSCGCellParam &) = delete;
    TSCGCellParam &operator=(const TSCGCellParam &) = delete;

    // Copies every property, the brush and the events of another parameter.
    void Assign(const TSCGCellParam &source);

    // Name (Col,Row)-(ColMax,RowMax), the prefix of this parameter's error messages.
    QString DisplayName() const;
    // Whether this parameter addresses (col, row).
    bool Covers(int col, int row) const;

    const QString &Name() const { return m_name; }
    void SetName(const QString &v);
    int Col() const { return m_col; }
    void SetCol(int v);
    int Row() const { return m_row; }
    void SetRow(int v);
    int ColMax() const { return m_colMax; }
    void SetColMax(int v);
    int RowMax() const { return m_rowMax; }
    void SetRowMax(int v);
    bool RangeEnabled() const { return m_rangeEnabled; }
    void SetRangeEnabled(bool v);

    const QString &Caption() const { return m_caption; }
    void SetCaption(const QString &v);
    TSCGCellCaptionType CaptionType() const { return m_captionType; }
    void SetCaptionType(TSCGCellCaptionType v);
    const QColor &CellColor() const { return m_cellColor; }
    void SetCellColor(const QColor &v);
    bool CellColorEnabled() const { return m_cellColorEnabled; }
    void SetCellColorEnabled(bool v);
    const QBrush &Brush() const { return m_brush; }
    void SetBrush(const QBrush &v);
    bool BrushEnabled() const { return m_brushEnabled; }
    void SetBrushEnabled(bool v);
    const QString &FontName() const { return m_fontName; }
    void SetFontName(const QString &v);
    const QColor &FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor &v);
    bool FontColorEnabled() const { return m_fontColorEnabled; }
    void SetFontColorEnabled(bool v);
    int FontWidth() const { return m_fontWidth; }
    void SetFontWidth(int v);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment v);
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout v);
    TImeMode ImeMode() const { return m_imeMode; }
    void SetImeMode(TImeMode v);
    bool ImeModeEnabled() const { return m_imeModeEnabled; }
    void SetImeModeEnabled(bool v);
    TGridOptions Options() const { return m_options; }
    void SetOptions(TGridOptions v);
    bool OptionsEnabled() const { return m_optionsEnabled; }
    void SetOptionsEnabled(bool v);
    int Tag() const { return m_tag; }
    void SetTag(int v) { m_tag = v; }

    TSCGParamsCellChangedEvent OnEnterCell, OnExitCell;
    TSCGParamsColChangedEvent OnEnterCol, OnExitCol;
    TSCGParamsRowChangedEvent OnEnterRow, OnExitRow;
    TSCGOutCellTextEvent OnOutCellText;
    TSCGDrawTextOneLineEvent OnDrawTextOneLine;
    TSCGDrawCellEvent OnDrawCell;

private:
    friend class TSCGCellFont;
    friend class TSCGCellFonts;
    void Changed();
    bool Loading() const;

    TSCGCellParams *m_collection;
    QString m_name;
    int m_col = 0, m_row = 0, m_colMax = 0, m_rowMax = 0;
    bool m_rangeEnabled = false;
    QString m_caption;
    TSCGCellCaptionType m_captionType = ctCellText;
    QColor m_cellColor;
    bool m_cellColorEnabled = false;
    QBrush m_brush;
    bool m_brushEnabled = false;
    QString m_fontName;
    QColor m_fontColor;
    bool m_fontColorEnabled = false;
    int m_fontWidth = 1;
    TAlignment m_alignment = taLeftJustify;
    TTextLayout m_layout = tlTop;
    TImeMode m_imeMode = imDontCare;
    bool m_imeModeEnabled = false;
    TGridOptions m_options = DefaultGridOptions;
    bool m_optionsEnabled = false;
    int m_tag = 0;
};

class TSCGCellParams {
public:
    // grid may be null for a collection outside a grid.
    explicit TSCGCellParams(TStrColGrid *grid = nullptr) : m_grid(grid) {}

    TSCGCellParam &Add();
    int Count() const { return static_cast<int>(m_items.size()); }
    TSCGCellParam &Items(int index) const;
    TSCGCellParam &operator[](int index) const { return Items(index); }
    void Delete(int index);
    void Clear();
    TStrColGrid *Owner() const { return m_grid; }

    // The parameter that decides the look of (col, row): the last one that covers it, or null.
    TSCGCellParam *Find(int col, int row) const;

private:
    friend class TSCGCellParam;
    TStrColGrid *m_grid;
    std::vector<std::unique_ptr<TSCGCellParam>> m_items;
};

// ---------------------------------------------------------------------------------------------
// Named fonts.

class TSCGCellFonts;

class TSCGCellFont {
public:
    explicit TSCGCellFont(TSCGCellFonts &collection);

    const QString &Name() const { return m_name; }
    // Renames the font and every cell parameter that uses it. An empty name or the name of any
    // font of the collection (this one included) is refused.
    void SetName(const QString &v);
    const QFont &Font() const { return m_font; }
    void SetFont(const QFont &v);
    const QColor &Color() const { return m_color; }
    void SetColor(const QColor &v);
    // Name( face, point size )
    QString DisplayName() const;

private:
    friend class TSCGCellFonts;
    TSCGCellFonts *m_collection;
    QString m_name;
    QFont m_font;
    QColor m_color;
};

class TSCGCellFonts {
public:
    explicit TSCGCellFonts(TStrColGrid *grid = nullptr) : m_grid(grid) {}

    TSCGCellFont &Add();
    int Count() const { return static_cast<int>(m_items.size()); }
    TSCGCellFont &Items(int index) const;
    TSCGCellFont &operator[](int index) const { return Items(index); }
    // Removes a font; parameters that used its name lose their font name.
    void Delete(int index);
    // Index of the font named name (exact comparison); refused when there is none.
    int IndexOfFontName(const QString &name) const;
    // The font named name, or null.
    const TSCGCellFont *Find(const QString &name) const;
    TStrColGrid *Owner() const { return m_grid; }

private:
    friend class TSCGCellFont;
    TStrColGrid *m_grid;
    std::vector<std::unique_ptr<TSCGCellFont>> m_items;
};

// ---------------------------------------------------------------------------------------------
// The grid.

class TStrColGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TStrColGrid(QWidget *parent = nullptr);
    ~TStrColGrid() override;

    TSCGCellParams &CellParams() { return m_cellParams; }
    TSCGCellFonts &Fonts() { return m_fonts; }

    // Size and contents. Widths and heights are those of the cells, without the one-pixel grid
    // line that follows each column and row.
    int ColCount() const;
    void SetColCount(int count);
    int RowCount() const;
    void SetRowCount(int count);
    int FixedCols() const { return m_fixedCols; }
    void SetFixedCols(int count);
    int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int count);
    // Text of a cell; "" outside the grid.
    QString Cells(int col, int row) const;
    // Sets the text of a cell; a position outside the grid is refused (CheckCellPos).
    void SetCells(int col, int row, const QString &text);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    int DefaultColWidth() const { return m_defaultColWidth; }
    void SetDefaultColWidth(int width); // sets every column
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    void SetDefaultRowHeight(int height); // sets every row
    int GridLineWidth() const { return 1; }
    // First scrollable column and row in view.
    int LeftCol() const { return m_leftCol; }
    void SetLeftCol(int col);
    int TopRow() const { return m_topRow; }
    void SetTopRow(int row);

    // Looks.
    QColor Color() const { return m_color; }
    void SetColor(const QColor &c);
    QColor FixedColor() const { return m_fixedColor; }
    void SetFixedColor(const QColor &c);
    // Colour of the grid font.
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor &c);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a);
    TAlignment FixedAlignment() const { return m_fixedAlignment; }
    void SetFixedAlignment(TAlignment a);
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout l);
    TTextLayout FixedLayout() const { return m_fixedLayout; }
    void SetFixedLayout(TTextLayout l);
    bool FocusDraw() const { return m_focusDraw; }
    void SetFocusDraw(bool v);
    QColor FocusCellColor() const { return m_focusCellColor; }
    void SetFocusCellColor(const QColor &c);
    QColor FocusCellFontColor() const { return m_focusCellFontColor; }
    void SetFocusCellFontColor(const QColor &c);
    bool FocusCellFontColorEnabled() const { return m_focusCellFontColorEnabled; }
    void SetFocusCellFontColorEnabled(bool v);
    bool CellDivide() const { return m_cellDivide; }
    void SetCellDivide(bool v);
    bool Ctl3D() const { return m_ctl3D; }
    void SetCtl3D(bool v);
    TImeMode ImeMode() const { return m_imeMode; }
    void SetImeMode(TImeMode m);
    // Base options; the options in force are a selected cell's own options when its parameter
    // has OptionsEnabled.
    TGridOptions Options() const { return m_options; }
    void SetOptions(TGridOptions o);
    TGridOptions OptionsInForce() const { return m_optionsInForce; }

    // Per-cell operations: check the position, take the cell's parameter (created when
    // missing; a range parameter covering the cell is changed as a whole) and set one property.
    void CheckCellPos(int col, int row) const;
    TSCGCellParam *FindCellParam(int col, int row, bool create);
    void SetCellAlignment(int col, int row, TAlignment alignment);
    void SetCellFontColor(int col, int row, const QColor &color);
    void SetCellFontWidth(int col, int row, int width);
    void SetCellColor(int col, int row, const QColor &color);
    bool IsFixedCell(int col, int row) const { return col < m_fixedCols || row < m_fixedRows; }

    // Selection. Col/Row is the current cell; the selection is the rectangle between it and the
    // anchor (Shift+click, Shift+arrow, dragging with goRangeSelect).
    int Col() const { return m_curCol; }
    int Row() const { return m_curRow; }
    // left(), top(), right(), bottom() are the first and last selected column and row.
    QRect Selection() const;
    // Makes (col, row) the current cell and the whole selection. Returns false when the move is
    // refused (a fixed cell, OnSelectCell, or a selection event that raised); a position outside
    // the grid is a RangeError.
    bool SelectCell(int col, int row);
    // Current cell (left, top), selection up to (right, bottom).
    bool SelectRange(int left, int top, int right, int bottom);

    // In-cell editor. The editor stores its text into the cell at every change and when it
    // closes; each store raises editorTextStored.
    bool EditorMode() const;
    // Opens the editor on the current cell when the options in force allow editing.
    bool ShowEditor();
    // Stores the editor text into its cell and closes the editor.
    void CloseEditor();
    // Closes the editor and gives the cell back the text it had when the editor opened.
    void CancelEditor();
    QLineEdit *InplaceEditor() const;

    // While loading (set-up of a window), range and font-name checks of the parameters are
    // relaxed; EndLoad takes the current cell as the previous selection and repaints.
    bool Loading() const { return m_loading; }
    void BeginLoad() { m_loading = true; }
    void EndLoad();

    TSCGCellChangedEvent OnCellChanged;
    TSCGColChangedEvent OnColChanged;
    TSCGRowChangedEvent OnRowChanged;
    TSCGOutCellTextEvent OnOutCellText;
    TSCGDrawTextOneLineEvent OnDrawTextOneLine;
    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TNotifyEvent BeforeDraw;

    // The canvas state a cell starts with and the paint of one cell (delegate and tests).
    void PaintCell(QPainter &painter, const QRect &sectionRect, int col, int row);
    TGridDrawState CellState(int col, int row) const;
    // The font a cell is drawn with: its parameter's named font or the grid font.
    QFont CellFont(int col, int row) const;

signals:
    // Every key pressed in the grid or its editor, before the grid's own handling. vk is the
    // Windows virtual-key code. Set consumed (or vk to 0) to keep the grid and the editor from
    // handling the key. Connect directly: the arguments are references.
    void keyDown(int &vk, Qt::KeyboardModifiers shift, bool &consumed);
    // The editor's text was stored into cell (col, row).
    void editorTextStored(int col, int row);
    // A mouse click or a keyboard move focused a cell. Moves made in code (SelectCell,
    // SelectRange) do not raise it, so that grids that follow each other's selection do not
    // call each other without end.
    void gridClick(int col, int row);
    // The current cell or the selection rectangle changed.
    void gridSelectionChanged();

protected:
    // Decides whether (col, row) may become the current cell and raises the exit, enter and
    // changed events; an event that raises refuses the move.
    virtual bool CanSelectCell(int col, int row);
    virtual void DrawCell(TSCGCanvas &canvas, int col, int row, const QRect &rect, TGridDrawState state);
    virtual void PaintCellBackground(TSCGCanvas &canvas, int col, int row, bool focus, TSCGCellParam *param,
                                     TGridDrawState state, const QRect &rect);
    bool PrepareFocusColors(TSCGCanvas &canvas, TSCGCellParam *param, TGridDrawState state) const;

    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void doItemsLayout() override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

public:
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

private:
    friend class TSCGCellParam;
    friend class TSCGCellParams;
    friend class TSCGCellFont;
    friend class TSCGCellFonts;
    friend class TStrColGridDelegate;

    bool HandleKey(QKeyEvent *e, bool fromEditor);
    bool HandleEditorKey(QKeyEvent *e, int vk);
    bool HandleClosedKey(QKeyEvent *e, int vk);
    bool Navigate(QKeyEvent *e);
    bool FocusCell(int col, int row, bool moveAnchor);
    bool MoveCurrent(int col, int row, bool moveAnchor);
    void MoveAnchor(int col, int row);
    void SetCurrentQuietly(int col, int row);
    void ClampCurrent();
    void ApplyCellState(int col, int row);
    bool CanEditShow() const;
    void SetupEditor(QLineEdit *editor, int col, int row);
    bool EditorEvent(QWidget *editor, QEvent *e);
    void ForwardToEditor(QEvent *e);
    void StoreEditorText();
    void ParamsChanged();
    void ApplyImeModeTo(QWidget *w, TImeMode mode) const;

    // Scrolling by hiding the columns and rows between the fixed ones and LeftCol / TopRow.
    // A negative size shows as an empty section (no cell, no line).
    int SectionWidth(int col) const
    {
        const int w = m_colWidths[static_cast<size_t>(col)];
        return w < 0 ? 0 : w + GridLineWidth();
    }
    int SectionHeight(int row) const
    {
        const int h = m_rowHeights[static_cast<size_t>(row)];
        return h < 0 ? 0 : h + GridLineWidth();
    }
    bool SizesReady() const;
    QSize AvailableViewport() const;
    int MaxLeftCol() const;
    int MaxTopRow() const;
    void ApplyScroll();
    void SyncScrollBars();
    void ClampInView(int col, int row);
    int SizingColumnAt(const QPoint &pos) const;
    int SizingRowAt(const QPoint &pos) const;
    void DrawFocusFrame(QImage &image, bool left, bool right) const;

    TStrColGridDelegate *m_delegate = nullptr;
    TSCGCellParams m_cellParams{this};
    TSCGCellFonts m_fonts{this};
    std::vector<int> m_colWidths, m_rowHeights;
    int m_fixedCols = 1, m_fixedRows = 1;
    int m_defaultColWidth = 64, m_defaultRowHeight = 24;
    int m_leftCol = 1, m_topRow = 1;

    QColor m_color, m_fixedColor, m_fontColor, m_focusCellColor, m_focusCellFontColor;
    TAlignment m_alignment = taLeftJustify, m_fixedAlignment = taLeftJustify;
    TTextLayout m_layout = tlTop, m_fixedLayout = tlTop;
    bool m_focusDraw = true, m_focusCellFontColorEnabled = false, m_cellDivide = true, m_ctl3D = true;
    TImeMode m_imeMode = imDontCare;
    TGridOptions m_options = DefaultGridOptions, m_optionsInForce = DefaultGridOptions;

    int m_curCol = 1, m_curRow = 1, m_anchorCol = 1, m_anchorRow = 1;
    int m_prevCol = 1, m_prevRow = 1; // last accepted selection, for the exit events
    bool m_loading = false;

    // editor state
    QPointer<QLineEdit> m_editor;
    int m_editCol = -1, m_editRow = -1;
    bool m_closingEditor = false;
    QString m_editOriginal;
    bool m_forwarding = false;

    // mouse state
    enum class Drag { None, Select, SizeCol, SizeRow } m_drag = Drag::None;
    int m_dragIndex = -1;
    bool m_syncing = false;
};

} // namespace velmo
