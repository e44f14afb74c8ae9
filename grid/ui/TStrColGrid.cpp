// TStrColGrid: the widget over the grid model, its events, and the sections and scroll bars
// that show the model's LeftCol and TopRow.
#include "grid/ui/TStrColGrid.h"

#include "grid/ui/QtGridTypes.h"
#include "grid/ui/QtKeys.h"
#include "grid/ui/TStrColGridParts.h"
#include "desktop/VelmoApplication.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace velmo {

namespace {

bool isTypingKey(const QKeyEvent *e)
{
    if (e->key() == Qt::Key_Backspace)
        return true;
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = e->text();
    return !text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7f;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The item model: Qt's view of the cells.

StrColGridItemModel::StrColGridItemModel(const StrColGridModel &grid, QObject *parent)
    : QAbstractTableModel(parent), grid_(grid), cols_(grid.ColCount()), rows_(grid.RowCount())
{
}

int StrColGridItemModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int StrColGridItemModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : cols_;
}

QVariant StrColGridItemModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    return QString::fromStdString(grid_.Cells(index.column(), index.row()));
}

Qt::ItemFlags StrColGridItemModel::flags(const QModelIndex &) const
{
    // Whether a cell may be edited is the grid model's decision; Qt only opens the editor.
    return Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

void StrColGridItemModel::cellChanged(int col, int row)
{
    if (col < cols_ && row < rows_) {
        const QModelIndex i = index(row, col);
        Q_EMIT dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
    }
}

void StrColGridItemModel::followCounts()
{
    const int cols = grid_.ColCount(), rows = grid_.RowCount();
    if (cols > cols_) {
        beginInsertColumns(QModelIndex(), cols_, cols - 1);
        cols_ = cols;
        endInsertColumns();
    } else if (cols < cols_) {
        beginRemoveColumns(QModelIndex(), cols, cols_ - 1);
        cols_ = cols;
        endRemoveColumns();
    }
    if (rows > rows_) {
        beginInsertRows(QModelIndex(), rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    } else if (rows < rows_) {
        beginRemoveRows(QModelIndex(), rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    }
}

// ---------------------------------------------------------------------------------------------
// What the model tells the widget.

class TStrColGrid::Bridge final : public StrColGridObserver {
public:
    explicit Bridge(TStrColGrid &grid) : grid_(grid) {}

    void cellChanged(int col, int row) override { grid_.itemModel_->cellChanged(col, row); }
    void countsChanged() override { grid_.itemModel_->followCounts(); }
    void layoutChanged() override { grid_.syncLayout(); }
    void looksChanged() override { grid_.showLooks(); }
    void cellsLookChanged(const CellRange &cells) override { grid_.updateCells(cells); }
    void selectionChanged() override
    {
        grid_.refreshEditor();
        Q_EMIT grid_.gridSelectionChanged();
    }
    void cellFocused(int col, int row) override { Q_EMIT grid_.gridClick(col, row); }
    void editorOpened() override { grid_.openEditorWidget(); }
    void editorClosed(bool kept) override
    {
        grid_.closeEditorWidget();
        if (kept)
            Q_EMIT grid_.editorFinished(grid_.model_.editCol(), grid_.model_.editRow());
    }
    void editorTextStored(int col, int row) override { Q_EMIT grid_.editorTextStored(col, row); }
    void editorTextCut() override { grid_.showCutEditorText(); }
    void keyDown(int &vk, ShiftState, bool &consumed) override { Q_EMIT grid_.keyDown(vk, grid_.keyModifiers_, consumed); }

private:
    TStrColGrid &grid_;
};

// ---------------------------------------------------------------------------------------------
// The grid.

TStrColGrid::TStrColGrid(QWidget *parent, StrColGridModel *model)
    : QTableView(parent), ownModel_(model ? nullptr : std::make_unique<StrColGridModel>()),
      model_(model ? *model : *ownModel_), bridge_(std::make_unique<Bridge>(*this))
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setShowGrid(false); // the grid lines are drawn with the cells
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    viewport()->setMouseTracking(true);

    const QPalette pal = palette();
    model_.SetColor(toTColor(pal.color(QPalette::Base)));
    model_.SetFixedColor(toTColor(pal.color(QPalette::Button)));
    model_.SetFont(toGridFont(font(), toTColor(pal.color(QPalette::Text))));
    model_.SetFocusCellColor(toTColor(pal.color(QPalette::Highlight)));
    model_.SetFocusCellFontColor(toTColor(pal.color(QPalette::HighlightedText)));

    itemModel_ = new StrColGridItemModel(model_, this);
    delegate_ = new TStrColGridDelegate(this);
    setModel(itemModel_);
    setItemDelegate(delegate_);
    model_.setObserver(bridge_.get());
    syncLayout();
}

TStrColGrid::~TStrColGrid()
{
    model_.setObserver(nullptr);
    delegate_->detach();
    if (editor_)
        editor_->disconnect(this);
    // The view lets go of a model that is destroyed; the grid model goes right after.
    delete itemModel_;
}

QFont TStrColGrid::fontOf(const TSCGCellFont *named) const
{
    return named ? toQFont(named->Font()) : font();
}

// --- looks -------------------------------------------------------------------------------------

QColor TStrColGrid::Color() const
{
    return toQColor(model_.Color());
}

void TStrColGrid::SetColor(const QColor &c)
{
    model_.SetColor(toTColor(c));
}

QColor TStrColGrid::FixedColor() const
{
    return toQColor(model_.FixedColor());
}

void TStrColGrid::SetFixedColor(const QColor &c)
{
    model_.SetFixedColor(toTColor(c));
}

QColor TStrColGrid::FontColor() const
{
    return toQColor(model_.FontColor());
}

void TStrColGrid::SetFontColor(const QColor &c)
{
    model_.SetFontColor(toTColor(c));
}

QColor TStrColGrid::FocusCellColor() const
{
    return toQColor(model_.FocusCellColor());
}

void TStrColGrid::SetFocusCellColor(const QColor &c)
{
    model_.SetFocusCellColor(toTColor(c));
}

QColor TStrColGrid::FocusCellFontColor() const
{
    return toQColor(model_.FocusCellFontColor());
}

void TStrColGrid::SetFocusCellFontColor(const QColor &c)
{
    model_.SetFocusCellFontColor(toTColor(c));
}

void TStrColGrid::SetImeMode(TImeMode m)
{
    model_.SetImeMode(m);
    applyImeModeTo(this, m);
    if (QLineEdit *editor = InplaceEditor())
        applyImeModeTo(editor, m);
}

void TStrColGrid::SetCellFontColor(int col, int row, const QColor &color)
{
    model_.SetCellFontColor(col, row, toTColor(color));
}

void TStrColGrid::SetCellColor(int col, int row, const QColor &color)
{
    model_.SetCellColor(col, row, toTColor(color));
}

QFont TStrColGrid::CellFont(int col, int row) const
{
    return fontOf(model_.cellFont(col, row));
}

QRect TStrColGrid::Selection() const
{
    const CellRange s = model_.Selection();
    return QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom));
}

void TStrColGrid::showLooks()
{
    // Where no cell is (right of and below the cells), the grid shows its colour.
    const QColor color = toQColor(model_.Color());
    if (viewport()->palette().color(QPalette::Base) != color) {
        QPalette pal = viewport()->palette();
        pal.setColor(QPalette::Base, color);
        viewport()->setPalette(pal);
    }
    viewport()->update();
}

void TStrColGrid::updateCells(const CellRange &cells)
{
    // Each cell with its grid lines; cells scrolled out of view have no rectangle.
    if ((cells.right - cells.left + 1) * (cells.bottom - cells.top + 1) > 256) {
        viewport()->update();
        return;
    }
    QRect dirty;
    for (int r = cells.top; r <= cells.bottom; ++r)
        for (int c = cells.left; c <= cells.right; ++c)
            dirty |= visualRect(itemModel_->index(r, c));
    if (!dirty.isEmpty())
        viewport()->update(dirty);
}

void TStrColGrid::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::FontChange)
        model_.SetFont(toGridFont(font(), model_.FontColor())); // what new named fonts copy
    QTableView::changeEvent(e);
}

// --- keys ----------------------------------------------------------------------------------------

bool TStrColGrid::handleKey(QKeyEvent *e, bool fromEditor)
{
    keyModifiers_ = e->modifiers();
    const GridKeyResult r = model_.keyDown(virtualKeyFromQt(*e), shiftStateFromQt(*e), isTypingKey(e), fromEditor);
    if (r.typeIntoEditor)
        forwardToEditor(e);
    if (r.focus != FocusMove::None)
        QTableView::focusNextPrevChild(r.focus == FocusMove::Next);
    if (r.openMenu) {
        // As the context-menu key does: the menu the window gives the grid, at the current cell.
        const QPoint at = toQRect(model_.CellRect(model_.Col(), model_.Row())).center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, mapToGlobal(at), e->modifiers());
        QCoreApplication::sendEvent(this, &menu);
    }
    return r.handled;
}

bool TStrColGrid::event(QEvent *e)
{
    // Tab and Shift+Tab come to the grid like any other key (keyDown first); without goTabs
    // they then move the focus on.
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) &&
            !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(k);
            return true;
        }
    }
    return QTableView::event(e);
}

void TStrColGrid::keyPressEvent(QKeyEvent *e)
{
    e->accept();
    try {
        if (!handleKey(e, false))
            e->ignore(); // a dialog's default or cancel button gets it
    } catch (...) {
        reportCurrentException();
    }
}

void TStrColGrid::inputMethodEvent(QInputMethodEvent *e)
{
    // Text composed with the input method opens the editor like a typed key.
    try {
        if (!EditorMode() && (!e->commitString().isEmpty() || !e->preeditString().isEmpty()) && ShowEditor()) {
            forwardToEditor(e);
            return;
        }
    } catch (...) {
        reportCurrentException();
        return;
    }
    QTableView::inputMethodEvent(e);
}

QVariant TStrColGrid::inputMethodQuery(Qt::InputMethodQuery query) const
{
    // The input method places its window at the current cell.
    if (query == Qt::ImCursorRectangle)
        return toQRect(model_.CellRect(model_.Col(), model_.Row()));
    return QTableView::inputMethodQuery(query);
}

// --- mouse ---------------------------------------------------------------------------------------

void TStrColGrid::mousePressEvent(QMouseEvent *e)
{
    try {
        if (focusPolicy() & Qt::ClickFocus)
            setFocus(Qt::MouseFocusReason);
        if (e->button() != Qt::LeftButton)
            return;
        const QPoint pos = e->position().toPoint();
        model_.mouseDown(pos.x(), pos.y(), shiftStateFromQt(e->modifiers()));
    } catch (...) {
        model_.mouseUp();
        reportCurrentException();
    }
}

void TStrColGrid::mouseMoveEvent(QMouseEvent *e)
{
    try {
        const QPoint pos = e->position().toPoint();
        switch (model_.mouseMove(pos.x(), pos.y(), e->buttons() & Qt::LeftButton)) {
        case GridCursor::SizeColumn: viewport()->setCursor(Qt::SplitHCursor); break;
        case GridCursor::SizeRow: viewport()->setCursor(Qt::SplitVCursor); break;
        case GridCursor::Arrow: viewport()->unsetCursor(); break;
        }
    } catch (...) {
        model_.mouseUp();
        reportCurrentException();
    }
}

void TStrColGrid::mouseReleaseEvent(QMouseEvent *)
{
    model_.mouseUp();
}

void TStrColGrid::mouseDoubleClickEvent(QMouseEvent *e)
{
    try {
        if (e->button() != Qt::LeftButton)
            return;
        const QPoint pos = e->position().toPoint();
        if (isEnabled())
            model_.doubleClick(pos.x(), pos.y());
    } catch (...) {
        reportCurrentException();
    }
}

void TStrColGrid::focusInEvent(QFocusEvent *e)
{
    // Not QAbstractItemView's: it would give Qt a current cell of its own.
    QWidget::focusInEvent(e);
    try {
        model_.setFocused(true);
        refreshEditor();
    } catch (...) {
        reportCurrentException();
    }
}

void TStrColGrid::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    model_.setFocused(false);
}

QModelIndex TStrColGrid::moveCursor(CursorAction, Qt::KeyboardModifiers)
{
    return QModelIndex(); // all moves go through the grid model
}

// --- scrolling -------------------------------------------------------------------------------------

void TStrColGrid::updateClientSize()
{
    // When everything fits without scroll bars, measure against the room they would leave.
    const QSize max = maximumViewportSize();
    const bool fits = model_.contentWidth() <= max.width() && model_.contentHeight() <= max.height();
    const QSize room = fits ? max : viewport()->size();
    model_.setClientSize(room.width(), room.height());
}

void TStrColGrid::syncLayout()
{
    // Qt lays out while sections change, and while the grid is made; the model's layout is
    // applied once, on the grid's own item model.
    if (syncing_ || !itemModel_ || model() != itemModel_)
        return;
    const FlagScope syncing(syncing_);
    updateClientSize();
    QHeaderView *h = horizontalHeader();
    QHeaderView *v = verticalHeader();
    const int cols = std::min(model_.ColCount(), itemModel_->columnCount());
    const int rows = std::min(model_.RowCount(), itemModel_->rowCount());
    for (int c = 0; c < cols; ++c) {
        const bool hide = model_.isColScrolledOut(c);
        if (h->isSectionHidden(c) != hide)
            h->setSectionHidden(c, hide);
        if (!hide && h->sectionSize(c) != model_.sectionWidth(c))
            h->resizeSection(c, model_.sectionWidth(c));
    }
    for (int r = 0; r < rows; ++r) {
        const bool hide = model_.isRowScrolledOut(r);
        if (v->isSectionHidden(r) != hide)
            v->setSectionHidden(r, hide);
        if (!hide && v->sectionSize(r) != model_.sectionHeight(r))
            v->resizeSection(r, model_.sectionHeight(r));
    }
    syncScrollBars();
    h->setOffset(0);
    v->setOffset(0);
    updateEditorGeometries();
    viewport()->update();
}

void TStrColGrid::syncScrollBars()
{
    const int fixedCols = model_.FixedCols(), fixedRows = model_.FixedRows();
    const int maxLeft = std::max(fixedCols, model_.maxLeftCol());
    const int maxTop = std::max(fixedRows, model_.maxTopRow());
    QScrollBar *h = horizontalScrollBar();
    h->setRange(0, maxLeft - fixedCols);
    h->setSingleStep(1);
    h->setPageStep(std::max(1, model_.ColCount() - maxLeft));
    h->setValue(model_.LeftCol() - fixedCols);
    QScrollBar *v = verticalScrollBar();
    v->setRange(0, maxTop - fixedRows);
    v->setSingleStep(1);
    v->setPageStep(std::max(1, model_.RowCount() - maxTop));
    v->setValue(model_.TopRow() - fixedRows);
}

bool TStrColGrid::viewportEvent(QEvent *e)
{
    // Scroll bars coming or going resize the viewport without resizing the grid.
    if (e->type() == QEvent::Resize)
        syncLayout();
    return QTableView::viewportEvent(e);
}

void TStrColGrid::updateGeometries()
{
    {
        // Qt sizes its scroll bars for pixel or item scrolling of all sections; the grid sets
        // its own ranges right after.
        const QSignalBlocker blockH(horizontalScrollBar());
        const QSignalBlocker blockV(verticalScrollBar());
        QTableView::updateGeometries();
    }
    syncLayout();
}

void TStrColGrid::scrollContentsBy(int, int)
{
    if (syncing_)
        return;
    model_.SetLeftCol(model_.FixedCols() + horizontalScrollBar()->value());
    model_.SetTopRow(model_.FixedRows() + verticalScrollBar()->value());
}

void TStrColGrid::scrollTo(const QModelIndex &index, ScrollHint)
{
    if (index.isValid())
        model_.scrollInView(index.column(), index.row());
}

void TStrColGrid::doItemsLayout()
{
    QTableView::doItemsLayout();
    horizontalHeader()->setOffset(0);
    verticalHeader()->setOffset(0);
}

} // namespace velmo
