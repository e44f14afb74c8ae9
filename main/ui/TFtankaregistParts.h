#pragma once
// What the files of the main window share: its colours and sizes and a string conversion.
#include <QColor>
#include <QString>

#include <string>

namespace velmo::mainwindow {

inline const QColor FixedCellColor(142, 140, 162);  // fixed cells, the size column
inline const QColor SelectedRowColor(128, 128, 192); // the size cell of the selected row
inline constexpr int RowHeight = 19;
inline constexpr int DesignTreeWidth = 210; // the tree of pipes before a layout is read

inline QString q(const std::string &s) { return QString::fromStdString(s); }

} // namespace velmo::mainwindow
