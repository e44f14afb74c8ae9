#include "velmok/ui/TFtankaregist.h"
#include "velmok/session/window_placement.h"
#include "desktop/WindowFit.h"
#include "desktop/ChangedOutsideBar.h"

#include "velmok/ui/TFtankaregistParts.h"
#include "grid/ui/TNValEdit.h"
#include "grid/ui/TStrColGrid.h"
#include "desktop/VelmoApplication.h"
#include "velmok/core/display_layout.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velmo {

using namespace mainwindow;

TFtankaregist::TFtankaregist(const QString &programPath, const std::string &argument, UserInterface *ui, QWidget *parent)
    : QMainWindow(parent), dialogs_(this), windowUi_(*this, ui ? *ui : dialogs_)
{
    session_ = std::make_unique<MainSession>(windowUi_, std::filesystem::path(programPath.toStdString()), argument);
    setWindowTitle(velmoktext::WindowCaption);
    setWindowIcon(QIcon(QString::fromStdString((session_->programDir() / "velmok.ico").string())));
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, QColor(0, 255, 0));
    QToolTip::setPalette(tip);

    buildWidgets();
    buildMenus();
    buildLayout(ui ? *ui : dialogs_);
    // The saved size and position in logical pixels, pulled into the screen's work area.
    const Rect r = session_->windowRect();
    fitToScreen(this, QSize(r.width, r.height), QPoint(r.left, r.top));
    openedRect_ = Rect{x(), y(), width(), height()};
}

TFtankaregist::~TFtankaregist()
{
    // The session goes before the child widgets: nothing a grid reports while it is taken
    // down may reach it, and the grids that show the session's models go first.
    for (TStrColGrid *g : {StrColGrid1, StrColGrid2, StrColGrid3})
        if (g) {
            g->disconnect(this);
            delete g;
        }
    for (TNValEdit *e : avr)
        if (e)
            e->disconnect(this);
    for (TNValEdit *e : GPAYDAY)
        if (e)
            e->disconnect(this);
}

// ---------------------------------------------------------------- events

int TFtankaregist::nodeOf(QTreeWidgetItem *item) const
{
    if (QTreeWidgetItem *parent = item->parent())
        return TreeView1->indexOfTopLevelItem(parent) * NodesPerService + parent->indexOfChild(item) + 1;
    return TreeView1->indexOfTopLevelItem(item) * NodesPerService;
}

void TFtankaregist::TreeView1Click(QTreeWidgetItem *item)
{
    run([this, node = nodeOf(item)] { session_->treeClick(node); });
}

void TFtankaregist::TabControl1Change(int index)
{
    if (showing_ || index < 0)
        return;
    run([this, index] { session_->locationTabChanged(index); });
}

void TFtankaregist::StrColGrid2Click(int col, int row)
{
    run([this, col, row] { session_->basisCellClicked(col, row); });
}

void TFtankaregist::StrColGrid3Click(int col, int row)
{
    run([this, col, row] { session_->basisCellClicked(col, row); });
}

void TFtankaregist::settingsChanged()
{
    if (showing_)
        return;
    // Everything the controls hold is applied here, a number typed into a field included.
    runCommand([this] {
        session_->editing().commitOpenEdits();
        session_->applySettings(readSettingsControls());
    });
    runCommand([this] { showState(); });
}

void TFtankaregist::settingsFieldLeft()
{
    if (!showing_)
        run([this] { session_->settingsLeft(readSettingsControls()); });
}

void TFtankaregist::GPAYDAYEnter(int index)
{
    settingsChanged();
    // Enter moves on GPAYDAY1 → … → GPAYDAY5 → GPAYDAY_N → GPAYDAY1.
    const int next = index == 0 ? 1 : (index == 5 ? 0 : index + 1);
    GPAYDAY[next]->setFocus();
}

void TFtankaregist::changeEvent(QEvent *e)
{
    QMainWindow::changeEvent(e);
    if (started_)
        whenActivated(this, e, [this] { return session_->windowActivated(); }, [this] { showState(); });
}

void TFtankaregist::closeEvent(QCloseEvent *e)
{
    // A number still in a grid's editor is part of what the close may save, and so is a number
    // typed into a setting field; one that is no number keeps the window open with it.
    try {
        session_->editing().commitOpenEdits();
        applyTypedSettings();
    } catch (...) {
        e->ignore();
        reportCurrentException();
        runCommand([this] { showState(); });
        return;
    }
    // The frame's position and the client size, in logical pixels: what the constructor gives
    // fitToScreen. A size only the work area cut is not the person's choice and is not saved.
    try {
        const Rect now{x(), y(), width(), height()};
        if (!session_->close(placementToSave(session_->windowRect(), openedRect_, now))) {
            e->ignore(); // "戻る": the window stays as it is
            return;
        }
    } catch (...) {
        // A failed save keeps the window and its data open; the error box says why.
        e->ignore();
        reportCurrentException();
        return;
    }
    e->accept();
}

} // namespace velmo
