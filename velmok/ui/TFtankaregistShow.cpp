// Showing the session's state in the main window's widgets.
#include "velmok/ui/TFtankaregist.h"

#include "desktop/ChangedOutsideBar.h"
#include "grid/ui/QtGridTypes.h"
#include "velmok/ui/TFtankaregistParts.h"
#include "grid/ui/TNValEdit.h"
#include "grid/ui/TStrColGrid.h"
#include "desktop/VelmoApplication.h"

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

// ---------------------------------------------------------------- showing

void TFtankaregist::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    if (started_)
        return;
    started_ = true;
    run([this] { session_->start(); });
    runCommand([this] { showLayout(); }); // the tree's width needs the window's geometry
    StrColGrid1->setFocus();
}

void TFtankaregist::run(const std::function<void()> &command)
{
    // A number still in a grid's editor or a setting field is stored first, so that the
    // command meets it; one that is no number keeps its editor open and the command does not
    // run. A failure ends the command with its error box and never passes into Qt; what the
    // command did before it stays, and the window shows it.
    runCommand([&] {
        session_->editing().commitOpenEdits();
        applyTypedSettings();
        command();
    });
    runCommand([this] { showState(); });
}

void TFtankaregist::applyTypedSettings()
{
    for (TNValEdit *e : avr)
        if (e && e->hasFocus() && e->typedSinceFocus())
            session_->settingsLeft(readSettingsControls());
    for (TNValEdit *e : GPAYDAY)
        if (e && e->hasFocus() && e->typedSinceFocus())
            session_->settingsLeft(readSettingsControls());
}

void TFtankaregist::showState()
{
    const MainSession &s = *session_;
    showing_ = true;
    titlePanel->setText(q(s.titlePanel()));
    kanname->setText(q(s.headingStrip()));
    for (int i = 0; i < StatusPanelCount; ++i) {
        statusPanels[i]->setText(q(s.statusPanels()[i]));
        statusPanels[i]->setToolTip(statusPanels[i]->text());
    }
    changedBar->showState(s.outsideChange());
    showReloadStatus(statusBar(), s.outsideChange(), shownReloadStatus_);

    {
        const QSignalBlocker block(TabControl1);
        const auto tabs = s.tabCaptions();
        while (TabControl1->count() > static_cast<int>(tabs.size()))
            TabControl1->removeTab(TabControl1->count() - 1);
        for (size_t i = 0; i < tabs.size(); ++i) {
            if (static_cast<int>(i) < TabControl1->count())
                TabControl1->setTabText(static_cast<int>(i), q(tabs[i]));
            else
                TabControl1->addTab(q(tabs[i]));
        }
        TabControl1->setCurrentIndex(s.position().location);
    }
    showTree();
    session_->showGrids();
    if (s.controlsRevision() != shownControlsRevision_)
        showSettingsControls();
    for (int i = 0; i < 6; ++i) {
        basisActions[i]->setCheckable(true);
        basisActions[i]->setChecked(s.gridView().basis == basisAt(i + 1));
    }
    showResultsAction->setChecked(s.gridView().rateShowsResults);
    showCompositesAction->setChecked(!s.gridView().compositeShowsAdopted);
    showAdoptedAction->setChecked(s.gridView().compositeShowsAdopted);
    showEditCommands();
    showing_ = false;
}

void TFtankaregist::showTree()
{
    const MainSession &s = *session_;
    const QSignalBlocker block(TreeView1);
    // Each text set makes the tree measure its column over every shown node again: while texts
    // change the column keeps its width, and it is measured once when they are all in.
    QHeaderView *header = TreeView1->header();
    bool changed = false;
    auto setText = [&](QTreeWidgetItem *item, const QString &text) {
        if (item->text(0) == text)
            return;
        if (!changed)
            header->setSectionResizeMode(QHeaderView::Interactive);
        changed = true;
        item->setText(0, text);
    };
    for (int sv = 0; sv < ServiceCount; ++sv) {
        QTreeWidgetItem *service = TreeView1->topLevelItem(sv);
        setText(service, q(s.names().nodes[sv * NodesPerService]));
        serviceMenus[sv]->setTitle(q(s.names().services[sv]));
        for (int p = 0; p < PipesPerFile; ++p) {
            setText(service->child(p), q(s.names().nodes[sv * NodesPerService + p + 1]));
            pipeActions[sv][p]->setText(q(s.names().pipeCaptions[sv][p]));
        }
    }
    if (changed)
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
    const int node = s.position().node;
    QTreeWidgetItem *service = TreeView1->topLevelItem(node / NodesPerService);
    QTreeWidgetItem *item = node % NodesPerService == 0 ? service : service->child(node % NodesPerService - 1);
    if (TreeView1->currentItem() != item) {
        service->setExpanded(true);
        TreeView1->setCurrentItem(item);
        TreeView1->scrollToItem(item);
    }
}

void TFtankaregist::showSettingsControls()
{
    shownControlsRevision_ = session_->controlsRevision();
    const SettingsControls &c = session_->settingsControls();
    const QSignalBlocker b1(ComboBox1), b2(ComboBox2), b3(ComboBox3), b4(CheckGroupBox1);
    ComboBox1->setCurrentIndex(c.priceCodeIndex);
    ComboBox2->setCurrentIndex(c.fracAddendIndex);
    ComboBox3->setCurrentIndex(c.sigAddendIndex);
    CheckGroupBox1->setChecked(c.useRates);
    for (int i = 0; i < 6; ++i) {
        avr[i]->setValue(c.percent[i].toLongDouble());
        GPAYDAY[i]->setValue(c.labour[i].toLongDouble());
    }
}

SettingsControls TFtankaregist::readSettingsControls() const
{
    SettingsControls c;
    c.priceCodeIndex = ComboBox1->currentIndex();
    c.fracAddendIndex = ComboBox2->currentIndex();
    c.sigAddendIndex = ComboBox3->currentIndex();
    c.useRates = CheckGroupBox1->isChecked();
    for (int i = 0; i < 6; ++i) {
        c.percent[i] = Currency::fromDouble(avr[i]->value());
        c.labour[i] = Currency::fromDouble(GPAYDAY[i]->value());
    }
    return c;
}

} // namespace velmo
