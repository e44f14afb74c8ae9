#pragma once
// The menus of velmok's main window as a person finds them: a menu of the menu bar by its
// caption, an item of it by its own.
#include "velmok/ui/TFtankaregist.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QString>

namespace velmo::test {

inline QMenu *menuNamed(TFtankaregist &w, const QString &caption)
{
    for (QAction *a : w.menuBar()->actions())
        if (a->text() == caption)
            return a->menu();
    return nullptr;
}

inline QAction *menuItem(TFtankaregist &w, const QString &menuCaption, const QString &itemCaption)
{
    if (QMenu *m = menuNamed(w, menuCaption))
        for (QAction *a : m->actions())
            if (a->text() == itemCaption)
                return a;
    return nullptr;
}

} // namespace velmo::test
