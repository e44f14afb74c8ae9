#include "grid/ui/QtGridTypes.h"

namespace velmo {

QColor toQColor(TColor c)
{
    return QColor(c.red(), c.green(), c.blue());
}

TColor toTColor(const QColor &c)
{
    return TColor::fromRgb(c.red(), c.green(), c.blue());
}

QBrush toQBrush(const TBrush &b)
{
    Qt::BrushStyle style = Qt::SolidPattern;
    switch (b.style) {
    case BrushStyle::Solid: style = Qt::SolidPattern; break;
    case BrushStyle::Clear: style = Qt::NoBrush; break;
    case BrushStyle::Horizontal: style = Qt::HorPattern; break;
    case BrushStyle::Vertical: style = Qt::VerPattern; break;
    case BrushStyle::FDiagonal: style = Qt::FDiagPattern; break;
    case BrushStyle::BDiagonal: style = Qt::BDiagPattern; break;
    case BrushStyle::Cross: style = Qt::CrossPattern; break;
    case BrushStyle::DiagCross: style = Qt::DiagCrossPattern; break;
    }
    return QBrush(toQColor(b.color), style);
}

QFont toQFont(const GridFont &f)
{
    QFont font(QString::fromStdString(f.family));
    if (f.pixelSize > 0)
        font.setPixelSize(f.pixelSize);
    else if (f.pointSize > 0)
        font.setPointSize(f.pointSize);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    return font;
}

GridFont toGridFont(const QFont &f, TColor color)
{
    GridFont font;
    font.family = f.family().toStdString();
    font.pixelSize = f.pixelSize() > 0 ? f.pixelSize() : 0;
    font.pointSize = f.pointSize() > 0 ? f.pointSize() : font.points();
    font.bold = f.bold();
    font.italic = f.italic();
    font.underline = f.underline();
    font.strikeOut = f.strikeOut();
    font.color = color;
    return font;
}

QRect toQRect(const PixelRect &r)
{
    return QRect(r.left, r.top, r.width, r.height);
}

PixelRect toPixelRect(const QRect &r)
{
    return {r.left(), r.top(), r.width(), r.height()};
}

} // namespace velmo
