#include "desktop/HistoryActions.h"

#include "base/shared_texts.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace velmo {

void addHistoryActions(QWidget *window, QMenu *menu, const HistoryCommands &commands)
{
    QAction *undo = menu->addAction(sharedtext::UndoStepItem, window, commands.undo);
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction *redo = menu->addAction(sharedtext::RedoStepItem, window, commands.redo);
    // Ctrl+Y and Ctrl+Shift+Z both redo, as in every other program.
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    window->addAction(undo);
    window->addAction(redo);
    // Greyed in the open menu when there is no step; enabled again when it closes, so that the
    // shortcut always reaches the session, which beeps when there is nothing to take back.
    QObject::connect(menu, &QMenu::aboutToShow, window, [=] {
        undo->setEnabled(commands.canUndo());
        redo->setEnabled(commands.canRedo());
    });
    QObject::connect(menu, &QMenu::aboutToHide, window, [=] {
        undo->setEnabled(true);
        redo->setEnabled(true);
    });
}

} // namespace velmo
