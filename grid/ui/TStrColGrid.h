#pragma once
// TStrColGrid: the text grid of the three programs, the window of a StrColGridModel
// (grid/core/strcolgrid_model.h). The model holds the cells, sizes, selection, scrolling,
// editor state, cell parameters (TSCGCellParam: one cell or a rectangle of cells, later items
// win) and named fonts (TSCGCellFont), and decides every key and mouse move. The widget
// forwards its events to the model and shows what it holds:
//   TStrColGrid.cpp       the widget, its events and the scrolling of its sections
//   TStrColGridPaint.cpp  drawing the cells (a text with line breaks in equal bands, one per line)
//   TStrColGridEditor.cpp the in-cell editor
//
// A QTableView over the model's cells, whose fixed rows and columns are ordinary cells of the
// table (row 0 headings, column 0 sizes); Qt's own headers are hidden and Qt keeps no current
// cell or selection of its own. The grid scrolls whole columns and rows the way a Windows
// string grid does: the columns between the fixed ones and LeftCol (rows: TopRow) are hidden,
// so the fixed cells always stay in view.
//
// Positions are (col, row) throughout, in that order.
#include "grid/core/strcolgrid_model.h"

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTableView>

#include <functional>
#include <memory>

class QImage;
class QLineEdit;
class QPainter;

namespace velmo {

class TStrColGrid;
class TStrColGridDelegate;
class StrColGridItemModel;

// The canvas state that drawing events see and may change: the font and its colour, the brush
// colour, and the painter for drawing of their own.
struct TSCGCanvas {
    QPainter *Painter = nullptr;
    QFont Font;
    QColor FontColor;
    QColor BrushColor;
};

using TNotifyEvent = std::function<void(TStrColGrid &sender)>;
using TDrawCellEvent = std::function<void(TStrColGrid &sender, TSCGCanvas &canvas, int col, int row,
                                          const QRect &rect, TGridDrawState state)>;

class TStrColGrid : public QTableView {
    Q_OBJECT
public:
    // model: a model someone else owns (a session that fills and types into the grid), which
    // must outlive the grid; without one the grid has its own.
    explicit TStrColGrid(QWidget *parent = nullptr, StrColGridModel *model = nullptr);
    ~TStrColGrid() override;

    // Everything the grid is; what follows forwards to it with Qt types.
    StrColGridModel &Model() { return model_; }
    const StrColGridModel &Model() const { return model_; }
    TSCGCellParams &CellParams() { return model_.CellParams(); }
    TSCGCellFonts &Fonts() { return model_.Fonts(); }

    // Size and contents.
    int ColCount() const { return model_.ColCount(); }
    void SetColCount(int count) { model_.SetColCount(count); }
    int RowCount() const { return model_.RowCount(); }
    void SetRowCount(int count) { model_.SetRowCount(count); }
    int FixedCols() const { return model_.FixedCols(); }
    void SetFixedCols(int count) { model_.SetFixedCols(count); }
    int FixedRows() const { return model_.FixedRows(); }
    void SetFixedRows(int count) { model_.SetFixedRows(count); }
    QString Cells(int col, int row) const { return QString::fromStdString(model_.Cells(col, row)); }
    void SetCells(int col, int row, const QString &text) { model_.SetCells(col, row, text.toStdString()); }
    int ColWidths(int col) const { return model_.ColWidths(col); }
    void SetColWidths(int col, int width) { model_.SetColWidths(col, width); }
    int RowHeights(int row) const { return model_.RowHeights(row); }
    void SetRowHeights(int row, int height) { model_.SetRowHeights(row, height); }
    int DefaultColWidth() const { return model_.DefaultColWidth(); }
    void SetDefaultColWidth(int width) { model_.SetDefaultColWidth(width); }
    int DefaultRowHeight() const { return model_.DefaultRowHeight(); }
    void SetDefaultRowHeight(int height) { model_.SetDefaultRowHeight(height); }
    int GridLineWidth() const { return model_.GridLineWidth(); }
    int LeftCol() const { return model_.LeftCol(); }
    void SetLeftCol(int col) { model_.SetLeftCol(col); }
    int TopRow() const { return model_.TopRow(); }
    void SetTopRow(int row) { model_.SetTopRow(row); }

    // Looks.
    QColor Color() const;
    void SetColor(const QColor &c);
    QColor FixedColor() const;
    void SetFixedColor(const QColor &c);
    QColor FontColor() const; // colour of the grid font
    void SetFontColor(const QColor &c);
    QColor FocusCellColor() const;
    void SetFocusCellColor(const QColor &c);
    QColor FocusCellFontColor() const;
    void SetFocusCellFontColor(const QColor &c);
    bool FocusCellFontColorEnabled() const { return model_.FocusCellFontColorEnabled(); }
    void SetFocusCellFontColorEnabled(bool v) { model_.SetFocusCellFontColorEnabled(v); }
    bool FocusDraw() const { return model_.FocusDraw(); }
    void SetFocusDraw(bool v) { model_.SetFocusDraw(v); }
    TAlignment Alignment() const { return model_.Alignment(); }
    void SetAlignment(TAlignment a) { model_.SetAlignment(a); }
    TAlignment FixedAlignment() const { return model_.FixedAlignment(); }
    void SetFixedAlignment(TAlignment a) { model_.SetFixedAlignment(a); }
    TTextLayout Layout() const { return model_.Layout(); }
    void SetLayout(TTextLayout l) { model_.SetLayout(l); }
    TTextLayout FixedLayout() const { return model_.FixedLayout(); }
    void SetFixedLayout(TTextLayout l) { model_.SetFixedLayout(l); }
    bool CellDivide() const { return model_.CellDivide(); }
    void SetCellDivide(bool v) { model_.SetCellDivide(v); }
    bool Ctl3D() const { return model_.Ctl3D(); }
    void SetCtl3D(bool v) { model_.SetCtl3D(v); }
    TImeMode ImeMode() const { return model_.ImeMode(); }
    // Applies at once to the grid and its editor.
    void SetImeMode(TImeMode m);
    TGridOptions Options() const { return model_.Options(); }
    void SetOptions(TGridOptions o) { model_.SetOptions(o); }
    TGridOptions OptionsInForce() const { return model_.OptionsInForce(); }

    // Per-cell operations (see StrColGridModel).
    void CheckCellPos(int col, int row) const { model_.CheckCellPos(col, row); }
    TSCGCellParam *FindCellParam(int col, int row, bool create) { return model_.FindCellParam(col, row, create); }
    void SetCellAlignment(int col, int row, TAlignment a) { model_.SetCellAlignment(col, row, a); }
    void SetCellFontColor(int col, int row, const QColor &color);
    void SetCellFontWidth(int col, int row, int width) { model_.SetCellFontWidth(col, row, width); }
    void SetCellColor(int col, int row, const QColor &color);
    bool IsFixedCell(int col, int row) const { return model_.IsFixedCell(col, row); }
    // The font a cell is drawn with: its parameter's named font or the grid font.
    QFont CellFont(int col, int row) const;

    // Selection. Col/Row is the current cell; the selection is the rectangle between it and the
    // anchor; left(), top(), right(), bottom() are its first and last column and row.
    int Col() const { return model_.Col(); }
    int Row() const { return model_.Row(); }
    QRect Selection() const;
    bool SelectCell(int col, int row) { return model_.SelectCell(col, row); }
    bool SelectRange(int left, int top, int right, int bottom) { return model_.SelectRange(left, top, right, bottom); }

    // In-cell editor (TStrColGridEditor.cpp). The editor stores its text into the cell at
    // every change and when it closes; each store raises editorTextStored.
    bool EditorMode() const { return model_.EditorMode(); }
    bool ShowEditor();
    void CloseEditor() { model_.CloseEditor(); }
    void CancelEditor() { model_.CancelEditor(); }
    QLineEdit *InplaceEditor() const;

    bool Loading() const { return model_.Loading(); }
    void BeginLoad() { model_.BeginLoad(); }
    void EndLoad() { model_.EndLoad(); }

    // Drawing events (TStrColGridPaint.cpp).
    TSCGOutCellTextEvent OnOutCellText;
    TSCGDrawTextOneLineEvent OnDrawTextOneLine;
    TDrawCellEvent OnDrawCell;
    TNotifyEvent BeforeDraw;

    // The paint of one cell in its section (the cell and its grid lines).
    void PaintCell(QPainter &painter, const QRect &sectionRect, int col, int row);
    TGridDrawState CellState(int col, int row) const { return model_.CellState(col, row); }

    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

Q_SIGNALS:
    // Every key pressed in the grid or its editor, before the grid's own handling. vk is the
    // virtual-key code (virtual_keys.h). Set consumed (or vk to 0) to keep the grid and the
    // editor from handling the key. Connect directly: the arguments are references.
    void keyDown(int &vk, Qt::KeyboardModifiers shift, bool &consumed);
    // The editor's text was stored into cell (col, row): at every change and when it closes.
    void editorTextStored(int col, int row);
    // The editor closed and its text stays in cell (col, row); not raised when it was cancelled.
    void editorFinished(int col, int row);
    // A mouse click or a keyboard move focused a cell; moves made in code do not raise it.
    void gridClick(int col, int row);
    // The current cell or the selection rectangle changed.
    void gridSelectionChanged();

protected:
    virtual void DrawCell(TSCGCanvas &canvas, int col, int row, const QRect &rect, TGridDrawState state);
    virtual void PaintCellBackground(TSCGCanvas &canvas, int col, int row, bool focus, const TSCGCellParam *param,
                                     TGridDrawState state, const QRect &rect);
    bool PrepareFocusColors(TSCGCanvas &canvas, const TSCGCellParam *param, TGridDrawState state) const;

    bool event(QEvent *e) override;
    void changeEvent(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    bool viewportEvent(QEvent *e) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void doItemsLayout() override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    class Bridge;
    friend class Bridge;
    friend class TStrColGridDelegate;

    // keys (TStrColGrid.cpp)
    bool handleKey(QKeyEvent *e, bool fromEditor);
    // scrolling: sections, scroll bars and the room the model is told of
    void updateClientSize();
    void syncLayout();
    void syncScrollBars();
    void showLooks();
    void updateCells(const CellRange &cells); // repaints only these cells
    QFont fontOf(const TSCGCellFont *named) const;

    // editor (TStrColGridEditor.cpp)
    void openEditorWidget();
    void closeEditorWidget();
    void setupEditor(QLineEdit *editor);
    void refreshEditor();
    // The model cut the editor text to what its cell holds: the editor shows the cut, with the beep.
    void showCutEditorText();
    bool editorEvent(QWidget *editor, QEvent *e);
    void forwardToEditor(QEvent *e);
    static void applyImeModeTo(QWidget *w, TImeMode mode);

    // painting (TStrColGridPaint.cpp)
    void drawFocusFrame(QImage &image, bool left, bool right) const;

    std::unique_ptr<StrColGridModel> ownModel_; // when no model was given
    StrColGridModel &model_;
    std::unique_ptr<Bridge> bridge_;
    StrColGridItemModel *itemModel_ = nullptr;
    TStrColGridDelegate *delegate_ = nullptr;
    QPointer<QLineEdit> editor_;
    Qt::KeyboardModifiers keyModifiers_; // of the key being handled, for keyDown
    bool forwarding_ = false;            // a key is being passed on to the editor
    bool syncing_ = false;               // the sections and scroll bars are being set
};

} // namespace velmo
