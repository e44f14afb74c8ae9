#pragma once
// What the files of the main window share: its colours and sizes and a string conversion.
#include "velmok/session/main_grids.h"

#include "grid/ui/QtGridTypes.h"

#include <QColor>
#include <QString>

#include <string>

namespace velmo::mainwindow {

inline const QColor FixedCellColor = toQColor(SizeCellColour); // fixed cells, the size column
inline constexpr int RowHeight = 19;
inline constexpr int MinRowHeight = 15; // the least a grid row is made to show every size row at once
inline constexpr int DesignTreeWidth = 210; // the tree of pipes before a layout is read

inline QString q(const std::string &s) { return QString::fromStdString(s); }

} // namespace velmo::mainwindow
