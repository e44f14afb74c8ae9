#include "TStrColGrid.h"

#include "QtKeys.h"
#include "VelmoApplication.h"
#include "errors.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cstdlib>

namespace velmo {

namespace {

const char *const kCellPosError = "ｾﾙ位置がｸﾞﾘｯﾄﾞの範囲を超えました。";
const char *const kFontNotRegistered = "CellParams で指定されたフォント名が Fonts に登録されていません";

const QColor kSilver(192, 192, 192);     // inner lines and grid lines of normal cells
const QColor kBtnHighlight(255, 255, 255); // light edge of fixed cells
const QColor kBtnShadow(128, 128, 128);    // dark edge of fixed cells
const QColor kFixedLine(0, 0, 0);          // grid lines of fixed cells

[[noreturn]] void throwIndex(int index)
{
    throw RangeError("リストのインデックスが範囲を超えました (" + std::to_string(index) + ")");
}

// Metrics of one line of cell text. Fonts with a large line gap (the CJK faces standing in for
// ＭＳ ゴシック) are measured by their em box, so that a 15-pixel font fits a 17-pixel row the
// way it does with the font the programs were laid out for.
struct LineMetrics {
    int height;
    int ascent;
};

LineMetrics lineMetrics(const QFont &font)
{
    const QFontMetrics fm(font);
    const int em = QFontInfo(font).pixelSize();
    if (em > 0 && fm.height() > em + em / 8)
        return {em, qRound(em * 0.88)};
    return {fm.height(), fm.ascent()};
}

bool isTypingKey(const QKeyEvent *e)
{
    if (e->key() == Qt::Key_Backspace)
        return true;
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = e->text();
    return !text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7f;
}

bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

QColor TColorToQColor(unsigned bgr)
{
    return QColor(static_cast<int>(bgr & 0xff), static_cast<int>((bgr >> 8) & 0xff), static_cast<int>((bgr >> 16) & 0xff));
}

// ---------------------------------------------------------------------------------------------
// Drawing rules.

QStringList SplitCellLines(const QString &text)
{
    QStringList lines;
    const QString source = text.isEmpty() ? QStringLiteral("\r") : text;
    qsizetype i = 0;
    const qsizetype n = source.size();
    while (i < n) {
        const qsizetype start = i;
        while (i < n && source.at(i) != u'\r' && source.at(i) != u'\n')
            ++i;
        lines.append(source.mid(start, i - start));
        if (i < n && source.at(i) == u'\r')
            ++i;
        if (i < n && source.at(i) == u'\n')
            ++i;
    }
    return lines;
}

std::vector<CellBand> CellBands(int top, int bottom, int lineCount)
{
    const int count = std::max(1, lineCount);
    const int height = (bottom - top) / count;
    std::vector<CellBand> bands;
    bands.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        bands.push_back({top + height * i, i == count - 1 ? bottom : top + height * (i + 1)});
    return bands;
}

QString CombineCaption(TSCGCellCaptionType type, const QString &cellText, const QString &caption,
                       bool currentRowCellEmpty)
{
    switch (type) {
    case ctCaption:
        return caption.isEmpty() ? cellText : caption;
    case ctCellText:
        return cellText.isEmpty() ? caption : cellText;
    case ctHeader:
        return caption + cellText;
    case ctFooter:
        return cellText + caption;
    case ctTop:
        return cellText + u'\r' + caption + (currentRowCellEmpty ? QStringLiteral("\r") : QString());
    case ctBottom:
        return caption + u'\r' + cellText;
    }
    return cellText;
}

int TextLeft(TAlignment alignment, int left, int right, int textWidth)
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

int TextTop(TTextLayout layout, int top, int bottom, int textHeight)
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

QRgb FocusFramePixel(QRgb pixel)
{
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    const int ir = 255 - r, ig = 255 - g, ib = 255 - b;
    if (std::abs(ir - r) + std::abs(ig - g) + std::abs(ib - b) < 24) {
        const unsigned value = static_cast<unsigned>(b) << 16 | static_cast<unsigned>(g) << 8 | static_cast<unsigned>(r);
        return value < 12632257u ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    return qRgb(ir, ig, ib);
}

// ---------------------------------------------------------------------------------------------
// Cell parameters.

TSCGCellParam::TSCGCellParam(TSCGCellParams &collection)
    : m_collection(&collection),
      m_name(QStringLiteral("パラメータ") + QString::number(collection.Count() + 1)),
      m_cellColor(collection.m_grid ? collection.m_grid->Color() : QColor(Qt::white)),
      m_fontColor(Qt::black),
      m_options(collection.m_grid ? collection.m_grid->Options() : DefaultGridOptions)
{
}

void TSCGCellParam::Changed()
{
    if (m_collection && m_collection->m_grid)
        m_collection->m_grid->ParamsChanged();
}

bool TSCGCellParam::Loading() const
{
    return m_collection && m_collection->m_grid && m_collection->m_grid->Loading();
}

void TSCGCellParam::Assign(const TSCGCellParam &s)
{
    if (&s == this)
        return;
    m_name = s.m_name;
    m_col = s.m_col;
    m_row = s.m_row;
    m_colMax = s.m_colMax;
    m_rowMax = s.m_rowMax;
    m_rangeEnabled = s.m_rangeEnabled;
    m_caption = s.m_caption;
    m_captionType = s.m_captionType;
    m_cellColor = s.m_cellColor;
    m_cellColorEnabled = s.m_cellColorEnabled;
    m_brush = s.m_brush;
    m_brushEnabled = s.m_brushEnabled;
    m_fontName = s.m_fontName;
    m_fontColor = s.m_fontColor;
    m_fontColorEnabled = s.m_fontColorEnabled;
    m_fontWidth = s.m_fontWidth;
    m_alignment = s.m_alignment;
    m_layout = s.m_layout;
    m_imeMode = s.m_imeMode;
    m_imeModeEnabled = s.m_imeModeEnabled;
    m_options = s.m_options;
    m_optionsEnabled = s.m_optionsEnabled;
    m_tag = s.m_tag;
    OnEnterCell = s.OnEnterCell;
    OnExitCell = s.OnExitCell;
    OnEnterCol = s.OnEnterCol;
    OnExitCol = s.OnExitCol;
    OnEnterRow = s.OnEnterRow;
    OnExitRow = s.OnExitRow;
    OnOutCellText = s.OnOutCellText;
    OnDrawTextOneLine = s.OnDrawTextOneLine;
    OnDrawCell = s.OnDrawCell;
    Changed();
}

QString TSCGCellParam::DisplayName() const
{
    return QString::asprintf("%s (%3d,%3d)-(%3d,%3d)", qUtf8Printable(m_name), m_col, m_row, m_colMax, m_rowMax);
}

bool TSCGCellParam::Covers(int col, int row) const
{
    if (m_rangeEnabled)
        return m_col <= col && col <= m_colMax && m_row <= row && row <= m_rowMax;
    return col == m_col && row == m_row;
}

void TSCGCellParam::SetName(const QString &v)
{
    m_name = v;
    Changed();
}

void TSCGCellParam::SetCol(int v)
{
    if (v < 0)
        throw RangeError((DisplayName() + QStringLiteral(".Col の値が 0 を下まわりました")).toStdString());
    const int old = m_col;
    m_col = v;
    try {
        SetColMax(m_colMax);
    } catch (...) {
        m_col = old;
        throw;
    }
}

void TSCGCellParam::SetRow(int v)
{
    if (v < 0)
        throw RangeError((DisplayName() + QStringLiteral(".Row の値が 0 を下まわりました")).toStdString());
    const int old = m_row;
    m_row = v;
    try {
        SetRowMax(m_rowMax);
    } catch (...) {
        m_row = old;
        throw;
    }
}

void TSCGCellParam::SetColMax(int v)
{
    const int old = m_colMax;
    m_colMax = v;
    try {
        SetRangeEnabled(m_rangeEnabled);
    } catch (...) {
        m_colMax = old;
        throw;
    }
}

void TSCGCellParam::SetRowMax(int v)
{
    const int old = m_rowMax;
    m_rowMax = v;
    try {
        SetRangeEnabled(m_rangeEnabled);
    } catch (...) {
        m_rowMax = old;
        throw;
    }
}

void TSCGCellParam::SetRangeEnabled(bool v)
{
    if (v && !Loading() && (m_colMax < m_col || m_rowMax < m_row))
        throw RangeError("範囲が不正です");
    m_rangeEnabled = v;
    Changed();
}

void TSCGCellParam::SetCaption(const QString &v)
{
    m_caption = v;
    Changed();
}

void TSCGCellParam::SetCaptionType(TSCGCellCaptionType v)
{
    m_captionType = v;
    Changed();
}

void TSCGCellParam::SetCellColor(const QColor &v)
{
    m_cellColor = v;
    Changed();
}

void TSCGCellParam::SetCellColorEnabled(bool v)
{
    m_cellColorEnabled = v;
    Changed();
}

void TSCGCellParam::SetBrush(const QBrush &v)
{
    m_brush = v;
    Changed();
}

void TSCGCellParam::SetBrushEnabled(bool v)
{
    m_brushEnabled = v;
    Changed();
}

void TSCGCellParam::SetFontName(const QString &v)
{
    QString name = v;
    TStrColGrid *grid = m_collection ? m_collection->m_grid : nullptr;
    if (!name.isEmpty() && !Loading() && grid && !grid->Fonts().Find(name))
        name.clear();
    m_fontName = name;
    Changed();
}

void TSCGCellParam::SetFontColor(const QColor &v)
{
    m_fontColor = v;
    Changed();
}

void TSCGCellParam::SetFontColorEnabled(bool v)
{
    m_fontColorEnabled = v;
    Changed();
}

void TSCGCellParam::SetFontWidth(int v)
{
    if (v < 0)
        throw RangeError((DisplayName() + QStringLiteral(".FontWidth の値が範囲を超えました")).toStdString());
    m_fontWidth = v;
    Changed();
}

void TSCGCellParam::SetAlignment(TAlignment v)
{
    m_alignment = v;
    Changed();
}

void TSCGCellParam::SetLayout(TTextLayout v)
{
    m_layout = v;
    Changed();
}

void TSCGCellParam::SetImeMode(TImeMode v)
{
    m_imeMode = v;
    Changed();
}

void TSCGCellParam::SetImeModeEnabled(bool v)
{
    m_imeModeEnabled = v;
    Changed();
}

void TSCGCellParam::SetOptions(TGridOptions v)
{
    m_options = v;
    Changed();
}

void TSCGCellParam::SetOptionsEnabled(bool v)
{
    m_optionsEnabled = v;
    Changed();
}

TSCGCellParam &TSCGCellParams::Add()
{
    m_items.push_back(std::make_unique<TSCGCellParam>(*this));
    if (m_grid)
        m_grid->ParamsChanged();
    return *m_items.back();
}

TSCGCellParam &TSCGCellParams::Items(int index) const
{
    if (index < 0 || index >= Count())
        throwIndex(index);
    return *m_items[static_cast<size_t>(index)];
}

void TSCGCellParams::Delete(int index)
{
    if (index < 0 || index >= Count())
        throwIndex(index);
    m_items.erase(m_items.begin() + index);
    if (m_grid)
        m_grid->ParamsChanged();
}

void TSCGCellParams::Clear()
{
    m_items.clear();
    if (m_grid)
        m_grid->ParamsChanged();
}

TSCGCellParam *TSCGCellParams::Find(int col, int row) const
{
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
        if ((*it)->Covers(col, row))
            return it->get();
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Named fonts.

TSCGCellFont::TSCGCellFont(TSCGCellFonts &collection)
    : m_collection(&collection),
      m_name(QStringLiteral("フォント") + QString::number(collection.Count() + 1)),
      m_font(collection.m_grid ? collection.m_grid->font() : QFont()),
      m_color(collection.m_grid ? collection.m_grid->FontColor() : QColor(Qt::black))
{
}

void TSCGCellFont::SetName(const QString &v)
{
    if (v.isEmpty())
        throw VelmoError("フォント名は空にできません");
    TStrColGrid *grid = m_collection->m_grid;
    if (!(grid && grid->Loading())) {
        for (const auto &font : m_collection->m_items)
            if (font->m_name == v)
                throw VelmoError("このフォント名はすでに使用されています");
    }
    if (grid) {
        TSCGCellParams &params = grid->CellParams();
        for (int i = 0; i < params.Count(); ++i)
            if (params[i].m_fontName == m_name)
                params[i].m_fontName = v;
        grid->ParamsChanged();
    }
    m_name = v;
}

void TSCGCellFont::SetFont(const QFont &v)
{
    m_font = v;
    if (m_collection->m_grid)
        m_collection->m_grid->ParamsChanged();
}

void TSCGCellFont::SetColor(const QColor &v)
{
    m_color = v;
    if (m_collection->m_grid)
        m_collection->m_grid->ParamsChanged();
}

QString TSCGCellFont::DisplayName() const
{
    return QStringLiteral("%1( %2, %3 )").arg(m_name, m_font.family()).arg(m_font.pointSize());
}

TSCGCellFont &TSCGCellFonts::Add()
{
    m_items.push_back(std::make_unique<TSCGCellFont>(*this));
    return *m_items.back();
}

TSCGCellFont &TSCGCellFonts::Items(int index) const
{
    if (index < 0 || index >= Count())
        throwIndex(index);
    return *m_items[static_cast<size_t>(index)];
}

void TSCGCellFonts::Delete(int index)
{
    if (index < 0 || index >= Count())
        throwIndex(index);
    const QString name = m_items[static_cast<size_t>(index)]->m_name;
    m_items.erase(m_items.begin() + index);
    if (m_grid) {
        TSCGCellParams &params = m_grid->CellParams();
        for (int i = 0; i < params.Count(); ++i)
            if (params[i].m_fontName == name)
                params[i].m_fontName.clear();
        m_grid->ParamsChanged();
    }
}

int TSCGCellFonts::IndexOfFontName(const QString &name) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_items[static_cast<size_t>(i)]->m_name == name)
            return i;
    throw VelmoError(kFontNotRegistered);
}

const TSCGCellFont *TSCGCellFonts::Find(const QString &name) const
{
    for (const auto &font : m_items)
        if (font->m_name == name)
            return font.get();
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Delegate: paints every cell through the grid and hosts the in-cell editor.

class TStrColGridDelegate : public QStyledItemDelegate {
public:
    explicit TStrColGridDelegate(TStrColGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (m_grid)
            m_grid->PaintCell(*painter, option.rect, index.column(), index.row());
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setFrame(false);
        if (m_grid)
            m_grid->SetupEditor(editor, index.column(), index.row());
        return editor;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        // Called when the cell changes under the editor; keep the caret when nothing differs.
        auto *lineEdit = static_cast<QLineEdit *>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        if (lineEdit->text() != text)
            lineEdit->setText(text);
    }

    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override
    {
        // The grid stores the editor text itself (StoreEditorText).
    }

    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        editor->setGeometry(option.rect.adjusted(0, 0, -1, -1)); // without the grid line
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return m_grid && m_grid->EditorEvent(static_cast<QWidget *>(watched), event);
    }

    // The grid is going away: its editor may still send events while Qt deletes it.
    void Detach() { m_grid = nullptr; }

private:
    TStrColGrid *m_grid;
};

// ---------------------------------------------------------------------------------------------
// The grid.

TStrColGrid::TStrColGrid(QWidget *parent) : QTableWidget(parent)
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
    m_delegate = new TStrColGridDelegate(this);
    setItemDelegate(m_delegate);
    viewport()->setMouseTracking(true);
    setAttribute(Qt::WA_InputMethodEnabled, true);

    const QPalette pal = palette();
    m_color = pal.color(QPalette::Base);
    m_fixedColor = pal.color(QPalette::Button);
    m_fontColor = pal.color(QPalette::Text);
    m_focusCellColor = pal.color(QPalette::Highlight);
    m_focusCellFontColor = pal.color(QPalette::HighlightedText);

    SetColCount(5);
    SetRowCount(5);
    SetCurrentQuietly(m_fixedCols, m_fixedRows);
}

TStrColGrid::~TStrColGrid()
{
    m_delegate->Detach();
    if (m_editor)
        m_editor->disconnect(this);
}

// --- size and contents -------------------------------------------------------------------------

int TStrColGrid::ColCount() const
{
    return columnCount();
}

int TStrColGrid::RowCount() const
{
    return rowCount();
}

void TStrColGrid::SetColCount(int count)
{
    count = std::max(1, count);
    if (count == ColCount() && static_cast<int>(m_colWidths.size()) == count)
        return;
    CloseEditor();
    if (count <= m_fixedCols)
        m_fixedCols = count - 1;
    const int old = static_cast<int>(m_colWidths.size());
    setColumnCount(count);
    m_colWidths.resize(static_cast<size_t>(count), m_defaultColWidth);
    for (int c = old; c < count; ++c)
        setColumnWidth(c, SectionWidth(c));
    horizontalHeader()->setOffset(0);
    ClampCurrent();
    SyncScrollBars();
}

void TStrColGrid::SetRowCount(int count)
{
    count = std::max(1, count);
    if (count == RowCount() && static_cast<int>(m_rowHeights.size()) == count)
        return;
    CloseEditor();
    if (count <= m_fixedRows)
        m_fixedRows = count - 1;
    const int old = static_cast<int>(m_rowHeights.size());
    setRowCount(count);
    m_rowHeights.resize(static_cast<size_t>(count), m_defaultRowHeight);
    for (int r = old; r < count; ++r)
        setRowHeight(r, SectionHeight(r));
    verticalHeader()->setOffset(0);
    ClampCurrent();
    SyncScrollBars();
}

void TStrColGrid::SetFixedCols(int count)
{
    if (count < 0 || count >= ColCount())
        throw RangeError("固定列の数は 0 以上、列数より小さくしてください");
    CloseEditor();
    m_fixedCols = count;
    m_leftCol = std::max(m_leftCol, count);
    ClampCurrent();
    SyncScrollBars();
    viewport()->update();
}

void TStrColGrid::SetFixedRows(int count)
{
    if (count < 0 || count >= RowCount())
        throw RangeError("固定行の数は 0 以上、行数より小さくしてください");
    CloseEditor();
    m_fixedRows = count;
    m_topRow = std::max(m_topRow, count);
    ClampCurrent();
    SyncScrollBars();
    viewport()->update();
}

QString TStrColGrid::Cells(int col, int row) const
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        return QString();
    const QTableWidgetItem *it = item(row, col);
    return it ? it->text() : QString();
}

void TStrColGrid::SetCells(int col, int row, const QString &text)
{
    CheckCellPos(col, row);
    if (QTableWidgetItem *it = item(row, col))
        it->setText(text); // an open editor on this cell follows (setEditorData)
    else
        setItem(row, col, new QTableWidgetItem(text));
}

int TStrColGrid::ColWidths(int col) const
{
    CheckCellPos(col, 0);
    return m_colWidths[static_cast<size_t>(col)];
}

void TStrColGrid::SetColWidths(int col, int width)
{
    CheckCellPos(col, 0);
    // A negative width is kept as given (layouts store it back unchanged) and shown as an
    // empty column.
    m_colWidths[static_cast<size_t>(col)] = width;
    setColumnWidth(col, SectionWidth(col));
    SyncScrollBars();
}

int TStrColGrid::RowHeights(int row) const
{
    CheckCellPos(0, row);
    return m_rowHeights[static_cast<size_t>(row)];
}

void TStrColGrid::SetRowHeights(int row, int height)
{
    CheckCellPos(0, row);
    m_rowHeights[static_cast<size_t>(row)] = height;
    setRowHeight(row, SectionHeight(row));
    SyncScrollBars();
}

void TStrColGrid::SetDefaultColWidth(int width)
{
    m_defaultColWidth = width;
    for (int c = 0; c < ColCount(); ++c) {
        m_colWidths[static_cast<size_t>(c)] = width;
        setColumnWidth(c, SectionWidth(c));
    }
    SyncScrollBars();
}

void TStrColGrid::SetDefaultRowHeight(int height)
{
    m_defaultRowHeight = height;
    for (int r = 0; r < RowCount(); ++r) {
        m_rowHeights[static_cast<size_t>(r)] = height;
        setRowHeight(r, SectionHeight(r));
    }
    SyncScrollBars();
}

void TStrColGrid::SetLeftCol(int col)
{
    if (!SizesReady())
        return;
    m_leftCol = std::clamp(col, m_fixedCols, std::max(m_fixedCols, MaxLeftCol()));
    SyncScrollBars();
    viewport()->update();
}

void TStrColGrid::SetTopRow(int row)
{
    if (!SizesReady())
        return;
    m_topRow = std::clamp(row, m_fixedRows, std::max(m_fixedRows, MaxTopRow()));
    SyncScrollBars();
    viewport()->update();
}

// --- looks -------------------------------------------------------------------------------------

void TStrColGrid::SetColor(const QColor &c)
{
    m_color = c;
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Base, c);
    viewport()->setPalette(pal);
    viewport()->update();
}

void TStrColGrid::SetFixedColor(const QColor &c)
{
    m_fixedColor = c;
    viewport()->update();
}

void TStrColGrid::SetFontColor(const QColor &c)
{
    m_fontColor = c;
    viewport()->update();
}

void TStrColGrid::SetAlignment(TAlignment a)
{
    m_alignment = a;
    viewport()->update();
}

void TStrColGrid::SetFixedAlignment(TAlignment a)
{
    m_fixedAlignment = a;
    viewport()->update();
}

void TStrColGrid::SetLayout(TTextLayout l)
{
    m_layout = l;
    viewport()->update();
}

void TStrColGrid::SetFixedLayout(TTextLayout l)
{
    m_fixedLayout = l;
    viewport()->update();
}

void TStrColGrid::SetFocusDraw(bool v)
{
    m_focusDraw = v;
    viewport()->update();
}

void TStrColGrid::SetFocusCellColor(const QColor &c)
{
    m_focusCellColor = c;
    viewport()->update();
}

void TStrColGrid::SetFocusCellFontColor(const QColor &c)
{
    m_focusCellFontColor = c;
    viewport()->update();
}

void TStrColGrid::SetFocusCellFontColorEnabled(bool v)
{
    m_focusCellFontColorEnabled = v;
    viewport()->update();
}

void TStrColGrid::SetCellDivide(bool v)
{
    m_cellDivide = v;
    viewport()->update();
}

void TStrColGrid::SetCtl3D(bool v)
{
    m_ctl3D = v;
    viewport()->update();
}

void TStrColGrid::SetImeMode(TImeMode m)
{
    m_imeMode = m;
    ApplyImeModeTo(this, m);
    if (QLineEdit *editor = InplaceEditor())
        ApplyImeModeTo(editor, m);
}

void TStrColGrid::SetOptions(TGridOptions o)
{
    m_options = o;
    m_optionsInForce = o;
    viewport()->update();
}

void TStrColGrid::ApplyImeModeTo(QWidget *w, TImeMode mode) const
{
    switch (mode) {
    case imDisable:
        w->setAttribute(Qt::WA_InputMethodEnabled, false);
        break;
    case imClose:
    case imSAlpha:
    case imAlpha:
        w->setAttribute(Qt::WA_InputMethodEnabled, true);
        w->setInputMethodHints(Qt::ImhPreferLatin);
        break;
    default:
        w->setAttribute(Qt::WA_InputMethodEnabled, true);
        w->setInputMethodHints(Qt::ImhNone);
        break;
    }
}

void TStrColGrid::ParamsChanged()
{
    viewport()->update();
}

// --- per-cell operations -------------------------------------------------------------------------

void TStrColGrid::CheckCellPos(int col, int row) const
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        throw RangeError(kCellPosError);
}

TSCGCellParam *TStrColGrid::FindCellParam(int col, int row, bool create)
{
    if (TSCGCellParam *found = m_cellParams.Find(col, row))
        return found;
    if (!create)
        return nullptr;
    TSCGCellParam &param = m_cellParams.Add();
    param.SetCaption(QString());
    param.SetFontColor(m_fontColor);
    param.SetCellColor(IsFixedCell(col, row) ? m_fixedColor : m_color);
    param.SetCellColorEnabled(true);
    param.SetFontColorEnabled(true);
    param.SetCol(col);
    param.SetRow(row);
    return &param;
}

void TStrColGrid::SetCellAlignment(int col, int row, TAlignment alignment)
{
    CheckCellPos(col, row);
    FindCellParam(col, row, true)->SetAlignment(alignment);
}

void TStrColGrid::SetCellFontColor(int col, int row, const QColor &color)
{
    CheckCellPos(col, row);
    FindCellParam(col, row, true)->SetFontColor(color);
}

void TStrColGrid::SetCellFontWidth(int col, int row, int width)
{
    CheckCellPos(col, row);
    FindCellParam(col, row, true)->SetFontWidth(width);
}

void TStrColGrid::SetCellColor(int col, int row, const QColor &color)
{
    CheckCellPos(col, row);
    TSCGCellParam *param = FindCellParam(col, row, true);
    param->SetCellColor(color);
    param->SetCellColorEnabled(true);
}

QFont TStrColGrid::CellFont(int col, int row) const
{
    const TSCGCellParam *param = m_cellParams.Find(col, row);
    if (param && !param->FontName().isEmpty())
        if (const TSCGCellFont *named = m_fonts.Find(param->FontName()))
            return named->Font();
    return font();
}

// --- selection -----------------------------------------------------------------------------------

QRect TStrColGrid::Selection() const
{
    return QRect(QPoint(std::min(m_curCol, m_anchorCol), std::min(m_curRow, m_anchorRow)),
                 QPoint(std::max(m_curCol, m_anchorCol), std::max(m_curRow, m_anchorRow)));
}

bool TStrColGrid::SelectCell(int col, int row)
{
    return MoveCurrent(col, row, true);
}

bool TStrColGrid::SelectRange(int left, int top, int right, int bottom)
{
    CheckCellPos(left, top);
    CheckCellPos(right, bottom);
    if (!MoveCurrent(left, top, true))
        return false;
    MoveAnchor(right, bottom);
    return true;
}

bool TStrColGrid::CanSelectCell(int col, int row)
{
    if (IsFixedCell(col, row))
        return false;
    bool result = true;
    if (OnSelectCell)
        OnSelectCell(*this, col, row, result);
    if (!result)
        return false;
    if (col != m_prevCol || row != m_prevRow) {
        TSCGCellParam *newParam = FindCellParam(col, row, false);
        TSCGCellParam *oldParam = FindCellParam(m_prevCol, m_prevRow, false);
        const int oldCol = m_prevCol, oldRow = m_prevRow;
        const bool colChanges = col != oldCol, rowChanges = row != oldRow;
        try {
            if (oldParam) {
                if (oldParam->OnExitCell)
                    oldParam->OnExitCell(*oldParam, *this, oldCol, oldRow, col, row);
                if (colChanges && oldParam->OnExitCol)
                    oldParam->OnExitCol(*oldParam, *this, oldCol, col);
                if (rowChanges && oldParam->OnExitRow)
                    oldParam->OnExitRow(*oldParam, *this, oldRow, row);
            }
            if (newParam) {
                if (newParam->OnEnterCell)
                    newParam->OnEnterCell(*newParam, *this, oldCol, oldRow, col, row);
                if (colChanges && newParam->OnEnterCol)
                    newParam->OnEnterCol(*newParam, *this, oldCol, col);
                if (rowChanges && newParam->OnEnterRow)
                    newParam->OnEnterRow(*newParam, *this, oldRow, row);
            }
            if (OnCellChanged)
                OnCellChanged(*this, oldCol, oldRow, col, row);
            if (colChanges && OnColChanged)
                OnColChanged(*this, oldCol, col);
            if (rowChanges && OnRowChanged)
                OnRowChanged(*this, oldRow, row);
        } catch (...) {
            // A selection event that raises refuses the move; the previous cell stays selected
            // with its own options in force.
            return false;
        }
    }
    ApplyCellState(col, row);
    m_prevCol = col;
    m_prevRow = row;
    return true;
}

void TStrColGrid::ApplyCellState(int col, int row)
{
    const TSCGCellParam *param = m_cellParams.Find(col, row);
    m_optionsInForce = param && param->OptionsEnabled() ? param->Options() : m_options;
    if (QLineEdit *editor = InplaceEditor()) {
        editor->setFont(CellFont(col, row));
        ApplyImeModeTo(editor, param && param->ImeModeEnabled() ? param->ImeMode() : m_imeMode);
    }
}

bool TStrColGrid::MoveCurrent(int col, int row, bool moveAnchor)
{
    CheckCellPos(col, row);
    if (!CanSelectCell(col, row))
        return false;
    CloseEditor();
    m_curCol = col;
    m_curRow = row;
    if (moveAnchor || !(m_optionsInForce & goRangeSelect)) {
        m_anchorCol = col;
        m_anchorRow = row;
    }
    if (m_optionsInForce & goRowSelect) {
        m_anchorCol = ColCount() - 1;
        m_curCol = m_fixedCols;
    }
    setCurrentIndex(model()->index(m_curRow, m_curCol));
    ClampInView(m_curCol, m_curRow);
    viewport()->update();
    emit gridSelectionChanged();
    return true;
}

bool TStrColGrid::FocusCell(int col, int row, bool moveAnchor)
{
    if (!MoveCurrent(col, row, moveAnchor))
        return false;
    emit gridClick(m_curCol, m_curRow);
    return true;
}

void TStrColGrid::MoveAnchor(int col, int row)
{
    if (!(m_optionsInForce & goRangeSelect)) {
        MoveCurrent(col, row, true);
        return;
    }
    CloseEditor();
    m_anchorCol = std::clamp(col, m_fixedCols, ColCount() - 1);
    m_anchorRow = std::clamp(row, m_fixedRows, RowCount() - 1);
    if (m_optionsInForce & goRowSelect)
        m_anchorCol = ColCount() - 1;
    ClampInView(m_anchorCol, m_anchorRow);
    viewport()->update();
    emit gridSelectionChanged();
}

void TStrColGrid::SetCurrentQuietly(int col, int row)
{
    m_curCol = m_anchorCol = m_prevCol = col;
    m_curRow = m_anchorRow = m_prevRow = row;
    ApplyCellState(col, row);
    setCurrentIndex(model()->index(row, col));
    viewport()->update();
}

void TStrColGrid::ClampCurrent()
{
    const int col = std::clamp(m_curCol, std::min(m_fixedCols, ColCount() - 1), ColCount() - 1);
    const int row = std::clamp(m_curRow, std::min(m_fixedRows, RowCount() - 1), RowCount() - 1);
    if (col != m_curCol || row != m_curRow || m_anchorCol >= ColCount() || m_anchorRow >= RowCount() ||
        m_anchorCol < m_fixedCols || m_anchorRow < m_fixedRows)
        SetCurrentQuietly(col, row);
}

void TStrColGrid::EndLoad()
{
    m_loading = false;
    m_prevCol = m_curCol;
    m_prevRow = m_curRow;
    ApplyCellState(m_curCol, m_curRow);
    viewport()->update();
}

// --- editor ----------------------------------------------------------------------------------------

QLineEdit *TStrColGrid::InplaceEditor() const
{
    return EditorMode() ? m_editor.data() : nullptr;
}

bool TStrColGrid::EditorMode() const
{
    return m_editor && m_editCol >= 0 && state() == QAbstractItemView::EditingState;
}

bool TStrColGrid::CanEditShow() const
{
    return (m_optionsInForce & goEditing) && !(m_optionsInForce & goRowSelect) && !IsFixedCell(m_curCol, m_curRow) &&
           m_curCol < ColCount() && m_curRow < RowCount() && isEnabled();
}

bool TStrColGrid::ShowEditor()
{
    if (EditorMode())
        return true;
    if (!CanEditShow())
        return false;
    ClampInView(m_curCol, m_curRow);
    const QModelIndex index = model()->index(m_curRow, m_curCol);
    if (currentIndex() != index)
        setCurrentIndex(index);
    m_editCol = m_curCol;
    m_editRow = m_curRow;
    m_editOriginal = Cells(m_curCol, m_curRow);
    if (!edit(index, QAbstractItemView::AllEditTriggers, nullptr) || !m_editor) {
        m_editCol = m_editRow = -1;
        m_editor = nullptr;
        return false;
    }
    return true;
}

void TStrColGrid::SetupEditor(QLineEdit *editor, int col, int row)
{
    m_editor = editor;
    const TSCGCellParam *param = m_cellParams.Find(col, row);
    editor->setFont(CellFont(col, row));
    ApplyImeModeTo(editor, param ? param->ImeMode() : m_imeMode);
    connect(editor, &QLineEdit::textEdited, this, [this](const QString &) {
        try {
            StoreEditorText();
        } catch (...) {
            ReportCurrentException();
        }
    });
}

void TStrColGrid::StoreEditorText()
{
    if (!m_editor || m_editCol < 0)
        return;
    const int col = m_editCol, row = m_editRow;
    const QString text = m_editor->text();
    if (QTableWidgetItem *it = item(row, col)) {
        if (it->text() != text)
            it->setText(text);
    } else {
        setItem(row, col, new QTableWidgetItem(text));
    }
    emit editorTextStored(col, row);
}

void TStrColGrid::CloseEditor()
{
    if (!EditorMode() || m_closingEditor)
        return;
    m_closingEditor = true;
    struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{m_closingEditor};
    QPointer<QLineEdit> editor = m_editor;
    StoreEditorText();
    m_editCol = m_editRow = -1;
    m_editor = nullptr;
    if (editor && state() == QAbstractItemView::EditingState)
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    viewport()->update();
}

void TStrColGrid::CancelEditor()
{
    if (!EditorMode() || m_closingEditor)
        return;
    QPointer<QLineEdit> editor = m_editor;
    const int col = m_editCol, row = m_editRow;
    m_editCol = m_editRow = -1;
    m_editor = nullptr;
    if (QTableWidgetItem *it = item(row, col))
        it->setText(m_editOriginal);
    if (editor && state() == QAbstractItemView::EditingState)
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    viewport()->update();
}

void TStrColGrid::ForwardToEditor(QEvent *e)
{
    QLineEdit *editor = InplaceEditor();
    if (!editor)
        return;
    m_forwarding = true;
    struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{m_forwarding};
    if (e->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(e);
        QKeyEvent copy(QEvent::KeyPress, k->key(), k->modifiers(), k->text(), k->isAutoRepeat(),
                       static_cast<quint16>(k->count()));
        QCoreApplication::sendEvent(editor, &copy);
    } else if (e->type() == QEvent::InputMethod) {
        const auto *ime = static_cast<QInputMethodEvent *>(e);
        QInputMethodEvent copy(ime->preeditString(), ime->attributes());
        copy.setCommitString(ime->commitString(), ime->replacementStart(), ime->replacementLength());
        QCoreApplication::sendEvent(editor, &copy);
    }
}

bool TStrColGrid::EditorEvent(QWidget *editor, QEvent *e)
{
    try {
        switch (e->type()) {
        case QEvent::KeyPress:
            if (m_forwarding || editor != m_editor)
                return false;
            return HandleKey(static_cast<QKeyEvent *>(e), true);
        case QEvent::FocusOut: {
            // Focus moved to another control of the window: the edit ends. A dialog, a menu or
            // another application taking the focus leaves the editor open.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(e)->reason();
            if (editor == m_editor && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                const QWidget *focus = QApplication::focusWidget();
                if (!focus || !editor->isAncestorOf(focus))
                    CloseEditor();
            }
            return false;
        }
        default:
            return false;
        }
    } catch (...) {
        ReportCurrentException();
        return true;
    }
}

// --- keys ----------------------------------------------------------------------------------------

bool TStrColGrid::HandleKey(QKeyEvent *e, bool fromEditor)
{
    int vk = virtualKeyFromQt(*e);
    const int originalVk = vk;
    bool consumed = false;
    const bool editorWasOpen = fromEditor && EditorMode();
    emit keyDown(vk, e->modifiers(), consumed);
    if (consumed || (originalVk != 0 && vk == 0))
        return true;
    if (editorWasOpen) {
        if (EditorMode())
            return HandleEditorKey(e, vk);
        // The handler ended the edit: the key types nothing more, but a move still moves.
        if (!Navigate(e) && (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab))
            QTableWidget::focusNextPrevChild(e->key() == Qt::Key_Tab && !(e->modifiers() & Qt::ShiftModifier));
        return true;
    }
    return HandleClosedKey(e, vk);
}

bool TStrColGrid::HandleEditorKey(QKeyEvent *e, int)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        CloseEditor();
        return true;
    case Qt::Key_Escape:
        CancelEditor();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        CloseEditor();
        Navigate(e);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        CloseEditor();
        if (!Navigate(e))
            QTableWidget::focusNextPrevChild(e->key() == Qt::Key_Tab && !(e->modifiers() & Qt::ShiftModifier));
        return true;
    default:
        return false; // the editor types it
    }
}

bool TStrColGrid::HandleClosedKey(QKeyEvent *e, int)
{
    if (Navigate(e))
        return true;
    switch (e->key()) {
    case Qt::Key_F2:
        ShowEditor();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QTableWidget::focusNextPrevChild(e->key() == Qt::Key_Tab && !(e->modifiers() & Qt::ShiftModifier));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return false; // left to the window (a dialog's default and cancel buttons)
    default:
        break;
    }
    if (isTypingKey(e) && ShowEditor())
        ForwardToEditor(e);
    return true;
}

bool TStrColGrid::Navigate(QKeyEvent *e)
{
    const int key = e->key();
    const bool tab = (key == Qt::Key_Tab || key == Qt::Key_Backtab) && (m_optionsInForce & goTabs);
    if (!isNavigationKey(key) && !tab)
        return false;
    const bool rowSelect = m_optionsInForce & goRowSelect;
    const bool extend = !tab && (e->modifiers() & Qt::ShiftModifier) && (m_optionsInForce & goRangeSelect);
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    int col = extend ? m_anchorCol : m_curCol;
    int row = extend ? m_anchorRow : m_curRow;
    const int lastCol = ColCount() - 1, lastRow = RowCount() - 1;
    int page = 0;
    for (int r = m_topRow, h = 0; r <= lastRow; ++r) {
        h += SectionHeight(r);
        if (h > viewport()->height())
            break;
        ++page;
    }
    page = std::max(1, page - m_fixedRows);
    switch (key) {
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_Left:
        if (!rowSelect)
            --col;
        break;
    case Qt::Key_Right:
        if (!rowSelect)
            ++col;
        break;
    case Qt::Key_Home:
        col = m_fixedCols;
        if (ctrl)
            row = m_fixedRows;
        break;
    case Qt::Key_End:
        col = lastCol;
        if (ctrl)
            row = lastRow;
        break;
    case Qt::Key_PageUp: row -= page; break;
    case Qt::Key_PageDown: row += page; break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (key == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier)) {
            if (--col < m_fixedCols && row > m_fixedRows) {
                col = lastCol;
                --row;
            }
        } else if (++col > lastCol && row < lastRow) {
            col = m_fixedCols;
            ++row;
        }
        break;
    default: break;
    }
    col = std::clamp(col, m_fixedCols, lastCol);
    row = std::clamp(row, m_fixedRows, lastRow);
    if (extend)
        MoveAnchor(col, row);
    else if (col != m_curCol || row != m_curRow)
        FocusCell(col, row, true);
    return true;
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
    return QTableWidget::event(e);
}

void TStrColGrid::keyPressEvent(QKeyEvent *e)
{
    e->accept();
    try {
        if (!HandleKey(e, false))
            e->ignore();
    } catch (...) {
        ReportCurrentException();
    }
}

void TStrColGrid::inputMethodEvent(QInputMethodEvent *e)
{
    try {
        if (!EditorMode() && (!e->commitString().isEmpty() || !e->preeditString().isEmpty()) && ShowEditor()) {
            ForwardToEditor(e);
            return;
        }
    } catch (...) {
        ReportCurrentException();
        return;
    }
    QTableWidget::inputMethodEvent(e);
}

// --- mouse ---------------------------------------------------------------------------------------

int TStrColGrid::SizingColumnAt(const QPoint &pos) const
{
    if (!(m_optionsInForce & goColSizing))
        return -1;
    const int row = rowAt(pos.y());
    if (row < 0 || row >= m_fixedRows)
        return -1;
    for (int c = 0; c < ColCount(); ++c) {
        if (isColumnHidden(c))
            continue;
        const int edge = columnViewportPosition(c) + columnWidth(c) - 1;
        if (std::abs(pos.x() - edge) <= 2)
            return c;
    }
    return -1;
}

int TStrColGrid::SizingRowAt(const QPoint &pos) const
{
    if (!(m_optionsInForce & goRowSizing))
        return -1;
    const int col = columnAt(pos.x());
    if (col < 0 || col >= m_fixedCols)
        return -1;
    for (int r = 0; r < RowCount(); ++r) {
        if (isRowHidden(r))
            continue;
        const int edge = rowViewportPosition(r) + rowHeight(r) - 1;
        if (std::abs(pos.y() - edge) <= 2)
            return r;
    }
    return -1;
}

void TStrColGrid::mousePressEvent(QMouseEvent *e)
{
    try {
        if (focusPolicy() & Qt::ClickFocus)
            setFocus(Qt::MouseFocusReason);
        if (e->button() != Qt::LeftButton)
            return;
        const QPoint pos = e->position().toPoint();
        if (const int c = SizingColumnAt(pos); c >= 0) {
            m_drag = Drag::SizeCol;
            m_dragIndex = c;
            return;
        }
        if (const int r = SizingRowAt(pos); r >= 0) {
            m_drag = Drag::SizeRow;
            m_dragIndex = r;
            return;
        }
        const int col = columnAt(pos.x()), row = rowAt(pos.y());
        if (col < 0 || row < 0 || IsFixedCell(col, row))
            return;
        if ((e->modifiers() & Qt::ShiftModifier) && (m_optionsInForce & goRangeSelect)) {
            MoveAnchor(col, row);
            emit gridClick(m_curCol, m_curRow);
        } else if (!FocusCell(col, row, true)) {
            return;
        }
        if (m_optionsInForce & goRangeSelect)
            m_drag = Drag::Select;
    } catch (...) {
        m_drag = Drag::None;
        ReportCurrentException();
    }
}

void TStrColGrid::mouseMoveEvent(QMouseEvent *e)
{
    try {
        const QPoint pos = e->position().toPoint();
        switch (m_drag) {
        case Drag::SizeCol:
            SetColWidths(m_dragIndex, std::max(0, pos.x() - columnViewportPosition(m_dragIndex)));
            return;
        case Drag::SizeRow:
            SetRowHeights(m_dragIndex, std::max(0, pos.y() - rowViewportPosition(m_dragIndex)));
            return;
        case Drag::Select:
            if (e->buttons() & Qt::LeftButton) {
                int col = columnAt(std::clamp(pos.x(), 0, viewport()->width() - 1));
                int row = rowAt(std::clamp(pos.y(), 0, viewport()->height() - 1));
                if (col < 0)
                    col = pos.x() < 0 ? m_fixedCols : ColCount() - 1;
                if (row < 0)
                    row = pos.y() < 0 ? m_fixedRows : RowCount() - 1;
                if (col != m_anchorCol || row != m_anchorRow)
                    MoveAnchor(col, row);
            }
            return;
        case Drag::None:
            break;
        }
        if (SizingColumnAt(pos) >= 0)
            viewport()->setCursor(Qt::SplitHCursor);
        else if (SizingRowAt(pos) >= 0)
            viewport()->setCursor(Qt::SplitVCursor);
        else
            viewport()->unsetCursor();
    } catch (...) {
        m_drag = Drag::None;
        ReportCurrentException();
    }
}

void TStrColGrid::mouseReleaseEvent(QMouseEvent *)
{
    m_drag = Drag::None;
}

void TStrColGrid::mouseDoubleClickEvent(QMouseEvent *e)
{
    try {
        if (e->button() != Qt::LeftButton)
            return;
        const QPoint pos = e->position().toPoint();
        const int col = columnAt(pos.x()), row = rowAt(pos.y());
        if (col == m_curCol && row == m_curRow && !IsFixedCell(col, row))
            ShowEditor();
    } catch (...) {
        ReportCurrentException();
    }
}

void TStrColGrid::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    try {
        ApplyCellState(m_curCol, m_curRow);
    } catch (...) {
        ReportCurrentException();
    }
    viewport()->update();
}

void TStrColGrid::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    viewport()->update();
}

QModelIndex TStrColGrid::moveCursor(CursorAction, Qt::KeyboardModifiers)
{
    return currentIndex(); // all moves go through the grid's own key handling
}

// --- scrolling -------------------------------------------------------------------------------------

bool TStrColGrid::SizesReady() const
{
    return static_cast<int>(m_colWidths.size()) == ColCount() && static_cast<int>(m_rowHeights.size()) == RowCount() &&
           m_fixedCols < ColCount() && m_fixedRows < RowCount();
}

QSize TStrColGrid::AvailableViewport() const
{
    // When everything fits without scroll bars, measure against the room they would leave.
    int width = 0, height = 0;
    for (int c = 0; c < ColCount(); ++c)
        width += SectionWidth(c);
    for (int r = 0; r < RowCount(); ++r)
        height += SectionHeight(r);
    const QSize max = maximumViewportSize();
    if (width <= max.width() && height <= max.height())
        return max;
    return viewport()->size();
}

int TStrColGrid::MaxLeftCol() const
{
    const int avail = AvailableViewport().width();
    int used = 0;
    for (int c = 0; c < m_fixedCols; ++c)
        used += SectionWidth(c);
    for (int c = ColCount() - 1; c >= m_fixedCols; --c) {
        used += SectionWidth(c);
        if (used > avail)
            return std::min(c + 1, ColCount() - 1);
    }
    return m_fixedCols;
}

int TStrColGrid::MaxTopRow() const
{
    const int avail = AvailableViewport().height();
    int used = 0;
    for (int r = 0; r < m_fixedRows; ++r)
        used += SectionHeight(r);
    for (int r = RowCount() - 1; r >= m_fixedRows; --r) {
        used += SectionHeight(r);
        if (used > avail)
            return std::min(r + 1, RowCount() - 1);
    }
    return m_fixedRows;
}

void TStrColGrid::ApplyScroll()
{
    for (int c = 0; c < ColCount(); ++c) {
        const bool hide = c >= m_fixedCols && c < m_leftCol;
        if (isColumnHidden(c) != hide) {
            setColumnHidden(c, hide);
            if (!hide)
                setColumnWidth(c, SectionWidth(c));
        }
    }
    for (int r = 0; r < RowCount(); ++r) {
        const bool hide = r >= m_fixedRows && r < m_topRow;
        if (isRowHidden(r) != hide) {
            setRowHidden(r, hide);
            if (!hide)
                setRowHeight(r, SectionHeight(r));
        }
    }
}

void TStrColGrid::SyncScrollBars()
{
    // Qt lays out while the column and row counts change, before the sizes follow them.
    if (m_syncing || !SizesReady())
        return;
    m_syncing = true;
    struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{m_syncing};
    const int maxLeft = std::max(m_fixedCols, MaxLeftCol());
    const int maxTop = std::max(m_fixedRows, MaxTopRow());
    m_leftCol = std::clamp(m_leftCol, m_fixedCols, maxLeft);
    m_topRow = std::clamp(m_topRow, m_fixedRows, maxTop);
    ApplyScroll();
    QScrollBar *h = horizontalScrollBar();
    h->setRange(0, maxLeft - m_fixedCols);
    h->setSingleStep(1);
    h->setPageStep(std::max(1, ColCount() - maxLeft));
    h->setValue(m_leftCol - m_fixedCols);
    QScrollBar *v = verticalScrollBar();
    v->setRange(0, maxTop - m_fixedRows);
    v->setSingleStep(1);
    v->setPageStep(std::max(1, RowCount() - maxTop));
    v->setValue(m_topRow - m_fixedRows);
    horizontalHeader()->setOffset(0);
    verticalHeader()->setOffset(0);
    updateEditorGeometries();
}

void TStrColGrid::ClampInView(int col, int row)
{
    if (!SizesReady())
        return;
    const QSize room = AvailableViewport();
    const int avail = room.width();
    if (col >= m_fixedCols && col < ColCount()) {
        if (col < m_leftCol) {
            m_leftCol = col;
        } else {
            auto fits = [&] {
                int used = 0;
                for (int c = 0; c < m_fixedCols; ++c)
                    used += SectionWidth(c);
                for (int c = m_leftCol; c <= col; ++c)
                    used += SectionWidth(c);
                return used <= avail;
            };
            while (m_leftCol < col && !fits())
                ++m_leftCol;
        }
    }
    const int availH = room.height();
    if (row >= m_fixedRows && row < RowCount()) {
        if (row < m_topRow) {
            m_topRow = row;
        } else {
            auto fits = [&] {
                int used = 0;
                for (int r = 0; r < m_fixedRows; ++r)
                    used += SectionHeight(r);
                for (int r = m_topRow; r <= row; ++r)
                    used += SectionHeight(r);
                return used <= availH;
            };
            while (m_topRow < row && !fits())
                ++m_topRow;
        }
    }
    SyncScrollBars();
    viewport()->update();
}

void TStrColGrid::updateGeometries()
{
    {
        // Qt sizes its scroll bars for pixel or item scrolling of all sections; the grid sets
        // its own ranges right after.
        const QSignalBlocker blockH(horizontalScrollBar());
        const QSignalBlocker blockV(verticalScrollBar());
        QTableWidget::updateGeometries();
    }
    SyncScrollBars();
}

void TStrColGrid::scrollContentsBy(int, int)
{
    if (m_syncing)
        return;
    m_leftCol = m_fixedCols + horizontalScrollBar()->value();
    m_topRow = m_fixedRows + verticalScrollBar()->value();
    SyncScrollBars();
    viewport()->update();
}

void TStrColGrid::scrollTo(const QModelIndex &index, ScrollHint)
{
    if (index.isValid())
        ClampInView(index.column(), index.row());
}

void TStrColGrid::doItemsLayout()
{
    QTableWidget::doItemsLayout();
    horizontalHeader()->setOffset(0);
    verticalHeader()->setOffset(0);
}

// --- painting --------------------------------------------------------------------------------------

void TStrColGrid::paintEvent(QPaintEvent *e)
{
    if (horizontalHeader()->offset() != 0)
        horizontalHeader()->setOffset(0);
    if (verticalHeader()->offset() != 0)
        verticalHeader()->setOffset(0);
    if (BeforeDraw) {
        try {
            BeforeDraw(*this);
        } catch (...) {
            PostErrorBox(ExceptionMessage(std::current_exception()));
        }
    }
    QTableWidget::paintEvent(e);
}

TGridDrawState TStrColGrid::CellState(int col, int row) const
{
    if (IsFixedCell(col, row))
        return gdFixed;
    TGridDrawState state = 0;
    if (Selection().contains(col, row))
        state |= gdSelected;
    if (col == m_curCol && row == m_curRow)
        state |= gdFocused;
    return state;
}

void TStrColGrid::PaintCell(QPainter &painter, const QRect &sectionRect, int col, int row)
{
    // Painting must never raise into Qt: a failing drawing event is reported once control is
    // back in the event loop.
    try {
        painter.save();
        const bool fixed = IsFixedCell(col, row);
        const int line = GridLineWidth();
        const QRect cell(sectionRect.left(), sectionRect.top(), sectionRect.width() - line, sectionRect.height() - line);
        const bool vert = m_optionsInForce & (fixed ? goFixedVertLine : goVertLine);
        const bool horz = m_optionsInForce & (fixed ? goFixedHorzLine : goHorzLine);
        const QColor lineColor = fixed ? kFixedLine : kSilver;
        painter.fillRect(QRect(sectionRect.right() - line + 1, sectionRect.top(), line, sectionRect.height()),
                         vert ? lineColor : m_color);
        painter.fillRect(QRect(sectionRect.left(), sectionRect.bottom() - line + 1, sectionRect.width(), line),
                         horz ? lineColor : m_color);
        if (cell.width() > 0 && cell.height() > 0) {
            const TGridDrawState state = CellState(col, row);
            const bool rowSelect = m_optionsInForce & goRowSelect;
            const bool frame = hasFocus() && !fixed && (rowSelect ? row == m_curRow : (state & gdFocused) != 0);
            TSCGCanvas canvas{&painter, font(), m_fontColor, m_color};
            if (!frame) {
                painter.setClipRect(cell, Qt::IntersectClip);
                DrawCell(canvas, col, row, cell, state);
            } else {
                // The dotted frame inverts the pixels under it, so the cell is drawn into an
                // image first.
                const qreal dpr = devicePixelRatioF();
                QImage image(cell.size() * dpr, QImage::Format_RGB32);
                image.setDevicePixelRatio(dpr);
                image.fill(m_color);
                {
                    QPainter imagePainter(&image);
                    imagePainter.translate(-cell.topLeft());
                    imagePainter.setClipRect(cell);
                    canvas.Painter = &imagePainter;
                    DrawCell(canvas, col, row, cell, state);
                }
                bool left = true, right = true;
                if (rowSelect) {
                    const TSCGCellParam *param = m_cellParams.Find(col, row);
                    const bool own = param && param->OptionsEnabled();
                    left = col == (own ? param->Col() : m_fixedCols);
                    right = col == (own ? param->ColMax() : ColCount() - 1);
                }
                DrawFocusFrame(image, left, right);
                painter.drawImage(cell.topLeft(), image);
            }
        }
        painter.restore();
    } catch (...) {
        painter.restore();
        PostErrorBox(ExceptionMessage(std::current_exception()));
    }
}

void TStrColGrid::DrawFocusFrame(QImage &image, bool left, bool right) const
{
    const int w = image.width(), h = image.height();
    if (w <= 0 || h <= 0)
        return;
    std::vector<char> mark(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    auto at = [&](int x, int y) -> char & { return mark[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)]; };
    for (int x = 0; x < w; x += 2) {
        at(x, 0) = 1;
        at(x, h - 1) = 1;
    }
    for (int y = 0; y < h; y += 2) {
        if (left)
            at(0, y) = 1;
        if (right)
            at(w - 1, y) = 1;
    }
    // Each pixel is inverted once, corners included.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (at(x, y))
                image.setPixel(x, y, FocusFramePixel(image.pixel(x, y)));
}

bool TStrColGrid::PrepareFocusColors(TSCGCanvas &canvas, TSCGCellParam *param, TGridDrawState state) const
{
    const TGridOptions options = param && param->OptionsEnabled() ? param->Options() : m_optionsInForce;
    bool highlight = (hasFocus() || m_focusDraw) && (state & gdSelected);
    if (highlight && (state & gdFocused) && !(options & (goDrawFocusSelected | goRowSelect)))
        highlight = false;
    if (highlight) {
        canvas.BrushColor = m_focusCellColor;
        if (m_focusCellFontColorEnabled)
            canvas.FontColor = m_focusCellFontColor;
        else if (param && param->FontColorEnabled())
            canvas.FontColor = param->FontColor();
    }
    return highlight;
}

void TStrColGrid::PaintCellBackground(TSCGCanvas &canvas, int col, int row, bool focus, TSCGCellParam *param,
                                      TGridDrawState state, const QRect &rect)
{
    QPainter &p = *canvas.Painter;
    // A font name that is not (or no longer) registered draws with the grid font: raising here
    // would repeat at every repaint.
    canvas.Font = font();
    canvas.FontColor = m_fontColor;
    if (param && !param->FontName().isEmpty()) {
        if (const TSCGCellFont *named = m_fonts.Find(param->FontName())) {
            canvas.Font = named->Font();
            canvas.FontColor = named->Color();
        }
    }
    const bool fixed = state & gdFixed;
    if (!param && fixed) {
        canvas.BrushColor = m_fixedColor;
    } else if (focus && !fixed) {
        if (!PrepareFocusColors(canvas, param, state))
            canvas.BrushColor = param && param->CellColorEnabled() ? param->CellColor() : m_color;
    } else if (param) {
        canvas.BrushColor = param->CellColorEnabled() ? param->CellColor() : (fixed ? m_fixedColor : m_color);
        if (param->FontColorEnabled())
            canvas.FontColor = param->FontColor();
    } else {
        canvas.BrushColor = m_color;
    }
    p.fillRect(rect, canvas.BrushColor);
    if (param && param->BrushEnabled())
        p.fillRect(rect.adjusted(0, 0, 1, 1), param->Brush());
    (void)col;
    (void)row;
}

void TStrColGrid::DrawCell(TSCGCanvas &canvas, int col, int row, const QRect &rect, TGridDrawState state)
{
    QPainter &p = *canvas.Painter;
    TSCGCellParam *param = FindCellParam(col, row, false);
    const TGridOptions options = param && param->OptionsEnabled() ? param->Options() : m_options;
    const bool fixed = state & gdFixed;

    PaintCellBackground(canvas, col, row, false, param, state, rect);
    const bool highlight = PrepareFocusColors(canvas, param, state);
    TSCGCanvas saved = canvas;

    const QString cellText = Cells(col, row);
    QString text;
    int width = 1;
    TAlignment alignment;
    TTextLayout layout;
    if (param) {
        width = param->FontWidth();
        alignment = param->Alignment();
        layout = param->Layout();
        text = CombineCaption(param->CaptionType(), cellText, param->Caption(), Cells(col, m_curRow).isEmpty());
        if (param->OnOutCellText) {
            bool reset = true;
            param->OnOutCellText(param, *this, canvas, rect, col, row, param->Caption(), text, reset);
            if (reset)
                canvas = saved;
            else
                saved = canvas;
        }
    } else {
        alignment = fixed ? m_fixedAlignment : m_alignment;
        layout = fixed ? m_fixedLayout : m_layout;
        text = cellText;
        if (OnOutCellText) {
            bool reset = true;
            OnOutCellText(nullptr, *this, canvas, rect, col, row, cellText, text, reset);
            if (reset)
                canvas = saved;
            else
                saved = canvas;
        }
    }

    if (highlight)
        p.fillRect(rect, canvas.BrushColor);

    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();
    if (m_cellDivide) {
        const QStringList lines = SplitCellLines(text);
        const std::vector<CellBand> bands = CellBands(rect.top(), bottom, static_cast<int>(lines.size()));
        for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
            const CellBand band = bands[static_cast<size_t>(i)];
            const QRect bandRect(rect.left(), band.top, rect.width(), band.bottom - band.top);
            QString line = lines[i];
            TAlignment lineAlignment = alignment;
            TTextLayout lineLayout = layout;
            bool inner = options & goHorzLine;
            if (OnDrawTextOneLine) {
                canvas = saved;
                OnDrawTextOneLine(nullptr, *this, canvas, bandRect, col, row, i, state, line, lineAlignment,
                                  lineLayout, inner);
            }
            if (param && param->OnDrawTextOneLine) {
                canvas = saved;
                param->OnDrawTextOneLine(param, *this, canvas, bandRect, col, row, i, state, line, lineAlignment,
                                         lineLayout, inner);
            }
            const LineMetrics metrics = lineMetrics(canvas.Font);
            const int textWidth = QFontMetrics(canvas.Font).horizontalAdvance(line);
            const int x = TextLeft(lineAlignment, rect.left(), right, textWidth);
            const int y = TextTop(lineLayout, band.top, band.bottom, metrics.height);
            p.save();
            p.setClipRect(bandRect, Qt::IntersectClip);
            p.setFont(canvas.Font);
            p.setPen(canvas.FontColor);
            for (int k = 0; k < width; ++k)
                p.drawText(QPoint(x + k, y + metrics.ascent), line);
            p.restore();
            if (inner) {
                if (i > 0) {
                    p.setPen(QPen(!fixed || !m_ctl3D ? kSilver : kBtnHighlight, 0));
                    p.drawLine(rect.left(), band.top, right - 1, band.top);
                }
                if (fixed && i < static_cast<int>(lines.size()) - 1) {
                    p.setPen(QPen(kBtnShadow, 0));
                    p.drawLine(rect.left(), band.bottom - 1, right - 1, band.bottom - 1);
                }
            }
        }
    } else {
        p.save();
        p.setFont(canvas.Font);
        p.setPen(canvas.FontColor);
        p.drawText(rect.adjusted(2, 2, -2, -2), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
        p.restore();
    }

    if (OnDrawCell)
        OnDrawCell(*this, canvas, col, row, rect, state);
    if (param && param->OnDrawCell)
        param->OnDrawCell(*param, *this, canvas, col, row, rect, state);

    if (fixed && m_ctl3D) {
        p.setPen(QPen(kBtnHighlight, 0));
        p.drawLine(rect.left(), rect.top(), right - 1, rect.top());
        p.drawLine(rect.left(), rect.top(), rect.left(), bottom - 1);
        p.setPen(QPen(kBtnShadow, 0));
        p.drawLine(rect.left(), bottom - 1, right - 1, bottom - 1);
        p.drawLine(right - 1, rect.top(), right - 1, bottom - 1);
    }
}

} // namespace velmo
