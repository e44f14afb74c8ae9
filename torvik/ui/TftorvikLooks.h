#pragma once
// What the windows of the pipe registration program share: colours, the bands at their top and
// a string conversion.
#include <QColor>
#include <QString>

#include <string>

class QLabel;
class QWidget;

namespace velmo::torvikwindow {

inline const QColor BandColor(74, 72, 102);      // the dark violet-grey of the name band
inline const QColor TitleColor(0, 0, 192);       // the blue of the program's caption
inline const QColor FixedColor(142, 140, 162);   // the grid's fixed cells

inline QString q(const std::string &s) { return QString::fromStdString(s); }

// A band with the program's icon and a bold caption over a gradient from white.
QWidget *gradientBand(const QString &caption, const QColor &captionColor, QWidget *parent);
// A label that reads like a line of white bold text on the name band.
QLabel *bandLabel(QWidget *parent);
// The program's icon beside the programs.
QString iconPath();

} // namespace velmo::torvikwindow
