#pragma once
// The bar a main window shows above its grids when another program changed the file it edits
// while this one holds unsaved edits: the session's text and the buttons 読み込み直す and
// 閉じる. It shows the session's OutsideChange and forwards the buttons; the session decides.
// Also the status line after a reload, and the rule of when a main window asks its session
// whether the file changed.
#include "base/outside_change.h"

#include <QFrame>

#include <functional>

class QLabel;
class QPushButton;
class QStatusBar;
class QEvent;
class QWidget;

namespace velmo {

class ChangedOutsideBar : public QFrame {
public:
    explicit ChangedOutsideBar(QWidget *parent);
    // Shown with the session's text while the session has a bar, hidden otherwise.
    void showState(const OutsideChange &change);

    QLabel *label = nullptr;
    QPushButton *reloadButton = nullptr, *closeButton = nullptr;
};

// Shows the status line of a reload in a panel of its own at the right end of `bar`, beside the
// program's panels, once per reload: `shownRevision` is the window's memory of the last one shown.
void showReloadStatus(QStatusBar *bar, const OutsideChange &change, int &shownRevision);

// For a main window's changeEvent: when `e` says the window became the active window, `ask`
// asks the session whether another program changed the file, and `show` shows the session's
// state when it answers true. Both run from the event loop afterwards, and only while no
// modal dialog or pop-up menu is open, so never in the middle of a command (the window is
// activated again when that dialog closes). A failure is the command's error box.
void whenActivated(QWidget *window, QEvent *e, std::function<bool()> ask, std::function<void()> show);

} // namespace velmo
