// TStrColGrid: drawing the cells. The grid model decides the colours, fonts, text, lines and
// frames (strcolgrid_paint.cpp); this file puts them on the screen and runs the drawing events.
#include "grid/ui/TStrColGrid.h"

#include "grid/ui/QtGridTypes.h"
#include "desktop/VelmoApplication.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QPainter>

#include <vector>

namespace velmo {

namespace {

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

CellCanvas colours(const TSCGCanvas &canvas)
{
    return {nullptr, toTColor(canvas.FontColor), toTColor(canvas.BrushColor)};
}

// Runs an OutCellText event: afterwards the canvas is put back unless the event asked to keep
// what it changed, which then becomes the state the lines start from.
template <typename Event>
void outCellText(const Event &event, TSCGCellParam *sender, StrColGridModel &grid, TSCGCanvas &canvas,
                 TSCGCanvas &saved, const QRect &rect, int col, int row, const std::string &caption,
                 std::string &text)
{
    bool reset = true;
    event(sender, grid, canvas, toPixelRect(rect), col, row, caption, text, reset);
    if (reset)
        canvas = saved;
    else
        saved = canvas;
}

} // namespace

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
    QTableView::paintEvent(e);
}

void TStrColGrid::PaintCell(QPainter &painter, const QRect &sectionRect, int col, int row)
{
    // Painting must never raise into Qt: a failing drawing event is reported once control is
    // back in the event loop.
    try {
        painter.save();
        const int line = GridLineWidth();
        const QRect cell(sectionRect.left(), sectionRect.top(), sectionRect.width() - line, sectionRect.height() - line);
        const CellGridLines lines = model_.cellGridLines(col, row);
        painter.fillRect(QRect(sectionRect.right() - line + 1, sectionRect.top(), line, sectionRect.height()),
                         toQColor(lines.vertical ? lines.color : lines.background));
        painter.fillRect(QRect(sectionRect.left(), sectionRect.bottom() - line + 1, sectionRect.width(), line),
                         toQColor(lines.horizontal ? lines.color : lines.background));
        if (cell.width() > 0 && cell.height() > 0) {
            const TGridDrawState state = model_.CellState(col, row);
            const CellFocusFrame frame = model_.cellFocusFrame(col, row);
            TSCGCanvas canvas{&painter, font(), FontColor(), Color()};
            if (!frame.draw) {
                painter.setClipRect(cell, Qt::IntersectClip);
                DrawCell(canvas, col, row, cell, state);
            } else {
                // The dotted frame inverts the pixels under it, so the cell is drawn into an
                // image first.
                const qreal dpr = devicePixelRatioF();
                QImage image(cell.size() * dpr, QImage::Format_RGB32);
                image.setDevicePixelRatio(dpr);
                image.fill(Color());
                {
                    QPainter imagePainter(&image);
                    imagePainter.translate(-cell.topLeft());
                    imagePainter.setClipRect(cell);
                    canvas.Painter = &imagePainter;
                    DrawCell(canvas, col, row, cell, state);
                }
                drawFocusFrame(image, frame.left, frame.right);
                painter.drawImage(cell.topLeft(), image);
            }
        }
        painter.restore();
    } catch (...) {
        painter.restore();
        PostErrorBox(ExceptionMessage(std::current_exception()));
    }
}

void TStrColGrid::drawFocusFrame(QImage &image, bool left, bool right) const
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
                image.setPixel(x, y, toQColor(focusFramePixel(toTColor(image.pixelColor(x, y)))).rgb());
}

bool TStrColGrid::PrepareFocusColors(TSCGCanvas &canvas, const TSCGCellParam *param, TGridDrawState state) const
{
    CellCanvas c = colours(canvas);
    if (!model_.PrepareFocusColors(param, state, c))
        return false;
    canvas.FontColor = toQColor(c.fontColor);
    canvas.BrushColor = toQColor(c.brushColor);
    return true;
}

void TStrColGrid::PaintCellBackground(TSCGCanvas &canvas, int col, int row, bool focus, const TSCGCellParam *param,
                                      TGridDrawState state, const QRect &rect)
{
    const CellCanvas c = model_.PaintCellBackground(col, row, focus, param, state);
    canvas.Font = fontOf(c.font);
    canvas.FontColor = toQColor(c.fontColor);
    canvas.BrushColor = toQColor(c.brushColor);
    QPainter &p = *canvas.Painter;
    p.fillRect(rect, canvas.BrushColor);
    if (param && param->BrushEnabled())
        p.fillRect(rect.adjusted(0, 0, 1, 1), toQBrush(param->Brush()));
}

void TStrColGrid::DrawCell(TSCGCanvas &canvas, int col, int row, const QRect &rect, TGridDrawState state)
{
    QPainter &p = *canvas.Painter;
    TSCGCellParam *param = model_.FindCellParam(col, row, false);
    const TGridOptions options = model_.cellOptions(param);
    const bool fixed = state & gdFixed;

    PaintCellBackground(canvas, col, row, false, param, state, rect);
    const bool highlight = PrepareFocusColors(canvas, param, state);
    TSCGCanvas saved = canvas;

    std::string text = model_.cellText(col, row, param);
    const CellTextStyle style = model_.cellTextStyle(col, row, param);
    if (param && param->OnOutCellText)
        outCellText(param->OnOutCellText, param, model_, canvas, saved, rect, col, row, param->Caption(), text);
    else if (!param && OnOutCellText)
        outCellText(OnOutCellText, nullptr, model_, canvas, saved, rect, col, row, model_.Cells(col, row), text);

    if (highlight)
        p.fillRect(rect, canvas.BrushColor);

    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();
    if (model_.CellDivide()) {
        const std::vector<std::string> lines = splitCellLines(text);
        const int count = static_cast<int>(lines.size());
        const std::vector<CellBand> bands = cellBands(rect.top(), bottom, count);
        for (int i = 0; i < count; ++i) {
            const CellBand band = bands[static_cast<size_t>(i)];
            const QRect bandRect(rect.left(), band.top, rect.width(), band.bottom - band.top);
            std::string line = lines[static_cast<size_t>(i)];
            TAlignment alignment = style.alignment;
            TTextLayout layout = style.layout;
            bool inner = options & goHorzLine;
            if (OnDrawTextOneLine) {
                canvas = saved;
                OnDrawTextOneLine(nullptr, model_, canvas, toPixelRect(bandRect), col, row, i, state, line, alignment,
                                  layout, inner);
            }
            if (param && param->OnDrawTextOneLine) {
                canvas = saved;
                param->OnDrawTextOneLine(param, model_, canvas, toPixelRect(bandRect), col, row, i, state, line,
                                         alignment, layout, inner);
            }
            const QString shown = QString::fromStdString(line);
            const LineMetrics metrics = lineMetrics(canvas.Font);
            const int textWidth = QFontMetrics(canvas.Font).horizontalAdvance(shown);
            const int x = textLeft(alignment, rect.left(), right, textWidth);
            const int y = textTop(layout, band.top, band.bottom, metrics.height);
            p.save();
            p.setClipRect(bandRect, Qt::IntersectClip);
            p.setFont(canvas.Font);
            p.setPen(canvas.FontColor);
            // FontWidth thickens the text: drawn that many times, one pixel further right each.
            for (int k = 0; k < style.fontWidth; ++k)
                p.drawText(QPoint(x + k, y + metrics.ascent), shown);
            p.restore();
            if (inner) {
                if (i > 0) {
                    p.setPen(QPen(toQColor(!fixed || !model_.Ctl3D() ? clr::Silver : clr::BtnHighlight), 0));
                    p.drawLine(rect.left(), band.top, right - 1, band.top);
                }
                if (fixed && i < count - 1) {
                    p.setPen(QPen(toQColor(clr::BtnShadow), 0));
                    p.drawLine(rect.left(), band.bottom - 1, right - 1, band.bottom - 1);
                }
            }
        }
    } else {
        p.save();
        p.setFont(canvas.Font);
        p.setPen(canvas.FontColor);
        p.drawText(rect.adjusted(2, 2, -2, -2), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   QString::fromStdString(text));
        p.restore();
    }

    if (OnDrawCell)
        OnDrawCell(*this, canvas, col, row, rect, state);
    if (param && param->OnDrawCell)
        param->OnDrawCell(*param, model_, canvas, col, row, toPixelRect(rect), state);

    if (fixed && model_.Ctl3D()) {
        p.setPen(QPen(toQColor(clr::BtnHighlight), 0));
        p.drawLine(rect.left(), rect.top(), right - 1, rect.top());
        p.drawLine(rect.left(), rect.top(), rect.left(), bottom - 1);
        p.setPen(QPen(toQColor(clr::BtnShadow), 0));
        p.drawLine(rect.left(), bottom - 1, right - 1, bottom - 1);
        p.drawLine(right - 1, rect.top(), right - 1, bottom - 1);
    }
}

} // namespace velmo
