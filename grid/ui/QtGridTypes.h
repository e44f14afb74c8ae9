#pragma once
// Conversions between the grid model's plain types and Qt's: colours, brushes, fonts and
// rectangles.
#include "grid/core/strcolgrid_types.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QRect>

namespace velmo {

QColor toQColor(TColor c);
TColor toTColor(const QColor &c);
QBrush toQBrush(const TBrush &b);
// A font given in pixels stays in pixels, one given in points in points.
QFont toQFont(const GridFont &f);
GridFont toGridFont(const QFont &f, TColor color);
QRect toQRect(const PixelRect &r);
PixelRect toPixelRect(const QRect &r);

} // namespace velmo
