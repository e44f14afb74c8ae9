#pragma once
// "元に戻す" (Ctrl+Z) and "やり直し" (Ctrl+Y) in a pop-up menu of a registration program's window.
// The shortcuts act anywhere in the window while the menu is closed; the menu shows each item
// enabled only when there is a step to take.
#include <functional>

class QMenu;
class QWidget;

namespace velmo {

struct HistoryCommands {
    std::function<void()> undo, redo;
    std::function<bool()> canUndo, canRedo;
};

void addHistoryActions(QWidget *window, QMenu *menu, const HistoryCommands &commands);

} // namespace velmo
