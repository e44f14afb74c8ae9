#pragma once
// The main window both registration programs build on: the widgets whose names and roles they
// share (the block's name, the tabs, the price grid, the rate fields and rounding lists under
// their check box, the unit box, the buttons, the status panels and the bar about another
// program's change), the dialogs that answer the session, and the check for another program's
// change when the window comes to the front again. Each program's window builds and lays out
// the widgets, forwards their events to its session and shows its state.
#include "registration/ui/window_parts.h"

#include "desktop/QtUserInterface.h"
#include "grid/core/virtual_keys.h"

#include <QMainWindow>

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabBar;

namespace velmo {

class ChangedOutsideBar;
class TNValEdit;
class TStrColGrid;

constexpr int RegistrationRateFields = 6; // the percentages of LEVEL1 … LEVEL5 and the purchase

class RegistrationWindow : public QMainWindow {
    Q_OBJECT
public:
    // Everything the window shows, redone from the session.
    virtual void showState() = 0;

    // Widgets, for tests and screenshots.
    QLabel *titleLabel = nullptr;
    QPushButton *user_sel = nullptr;
    QLabel *data_name = nullptr;
    QTabBar *TabControl1 = nullptr;
    TStrColGrid *StrColGrid1 = nullptr;
    QGroupBox *CheckGroupBox1 = nullptr;
    std::array<TNValEdit *, RegistrationRateFields> NValEdit{}; // NValEdit1 … NValEdit6, Tag 1 … 6
    QComboBox *ComboBox1 = nullptr, *ComboBox2 = nullptr, *ComboBox3 = nullptr;
    QComboBox *ci = nullptr;        // the unit box
    QPushButton *Button1 = nullptr; // 登　録
    QPushButton *Button2 = nullptr; // キャンセル
    QPushButton *Button3 = nullptr;
    StatusPanels StatusBar1{};
    ChangedOutsideBar *changedBar = nullptr; // above the grid: another program changed the block

protected:
    explicit RegistrationWindow(QWidget *parent);

    // The window activated again asks the session whether another program changed the block.
    void changeEvent(QEvent *e) override;
    // The session's windowActivated: whether there is something new to show.
    virtual bool activatedAgain() = 0;
    // First in the program's destructor: the session goes before the child widgets, and a
    // field that loses the focus or a grid that reports while the window is taken down may not
    // reach it.
    void disconnectFields();

    // A percentage typed into the focused rate field and not yet entered goes to the session
    // first, as leaving the field would send it (rateFieldLeft).
    void applyTypedRate();
    virtual void rateFieldLeft(int tag, long double value) = 0;
    // A key pressed in the price grid or its editor, before the grid's own handling: a typed
    // percentage first, then the session's entry engine (gridKeyDown). A failure ends the key
    // with its error box: the grid does not go on to move or type.
    void StrColGrid1KeyDown(int &vk, Qt::KeyboardModifiers mods, bool &consumed);
    virtual bool gridKeyDown(int vk, ShiftState mods) = 0;

    QtUserInterface dialogs_;
    bool started_ = false;
    int shownRevision_ = -1;
    int shownReloadStatus_ = 0; // the last reload whose status line was shown
};

} // namespace velmo
