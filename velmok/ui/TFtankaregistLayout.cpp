// The main window's display layout and its small commands: the four bars, the border between
// the tree and the grids, the column widths and the rate grid's height as the layout session
// holds them; the bar toggles and column-width commands of 表  示, "リリースバージョン" in the
// file menu and the menu Information(&I).
#include "velmok/ui/TFtankaregist.h"

#include "velmok/ui/TFtankaregistParts.h"
#include "grid/ui/TStrColGrid.h"
#include "desktop/VelmoApplication.h"
#include "velmok/core/display_layout.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeWidget>

namespace velmo {

using namespace mainwindow;

namespace {

// Tells the window, once the grid has handled it, about every mouse move with the button down
// and every release over a grid: that is when a dragged column border changes a width.
class ColumnDragFilter : public QObject {
public:
    ColumnDragFilter(QObject *parent, std::function<void()> changed) : QObject(parent), changed_(std::move(changed)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        const bool dragging = e->type() == QEvent::MouseMove &&
                              (static_cast<QMouseEvent *>(e)->buttons() & Qt::LeftButton);
        if (dragging || e->type() == QEvent::MouseButtonRelease)
            QMetaObject::invokeMethod(this, changed_, Qt::QueuedConnection);
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void()> changed_;
};

LayoutGrid gridKind(int index)
{
    return static_cast<LayoutGrid>(index);
}

} // namespace

DisplayLayout TFtankaregist::designLayout() const
{
    DisplayLayout d;
    d.treeWidth = DesignTreeWidth;
    d.rateGridHeight = StrColGrid1->height();
    const TStrColGrid *grids[] = {StrColGrid1, StrColGrid2, StrColGrid3};
    for (int g = 0; g < 3; ++g) {
        const std::span<int> w = d.widths(gridKind(g));
        for (size_t c = 0; c < w.size(); ++c)
            w[c] = grids[g]->ColWidths(static_cast<int>(c));
    }
    return d;
}

void TFtankaregist::buildLayout(UserInterface &ui)
{
    layout_ = std::make_unique<LayoutSession>(ui, session_->homes(), designLayout());
    windowUi_.setLayout(layout_.get());

    // Column borders are dragged in the heading row; the grid reports nothing, so the window
    // reads the widths back after each move.
    for (TStrColGrid *g : {StrColGrid1, StrColGrid2, StrColGrid3}) {
        g->SetOptions(g->Options() | goColSizing);
        g->viewport()->installEventFilter(
            new ColumnDragFilter(g, [this, g] { runCommand([this, g] { gridColumnsDragged(g); }); }));
    }
    connect(Splitter1, &QSplitter::splitterMoved, this, &TFtankaregist::Splitter1Moved);

    buildLayoutMenus();
    runCommand([this] { layout_->load(); });
    runCommand([this] { showLayout(); });
}

void TFtankaregist::buildLayoutMenus()
{
    // 表  示(&D): the bars, then the uniform column widths.
    viewMenu->addSeparator();
    auto toggle = [this](const char *caption, LayoutBar bar) {
        QAction *a = viewMenu->addAction(caption, this, [this, bar] { barToggleClick(bar); });
        a->setCheckable(true);
        return a;
    };
    title_bar = toggle("タイトルバーを表示する", LayoutBar::Title);
    top_bar = toggle("トップバーを表示する", LayoutBar::Top);
    tree_list = toggle("ツリーリストを表示する", LayoutBar::Tree);
    status_bar = toggle("ステータスバ－を表示する", LayoutBar::Status);
    viewMenu->addSeparator();
    auto widths = [this](const char *caption, LayoutGrid grid) {
        return viewMenu->addAction(caption, this, [this, grid] { uniformWidthClick(grid); });
    };
    N12 = widths("歩掛表のセル幅を調整", LayoutGrid::Rate);
    N14 = widths("提出単価表のセル幅を調整", LayoutGrid::Price);
    N16 = widths("複合単価表のセル幅を調整", LayoutGrid::Composite);

    // ファイル(&F): the release, just before 終  了.
    N23 = new QAction("リリースバージョン", this);
    connect(N23, &QAction::triggered, this, &TFtankaregist::N23Click);
    fileMenu->insertAction(exitAction, N23);
    fileMenu->insertSeparator(exitAction);

    // Information(&I), the last menu of the bar.
    informationMenu = menuBar()->addMenu("Information(&I)");
    auto command = [this](const char *caption, void (InformationCommands::*cmd)()) {
        return informationMenu->addAction(caption, this, [this, cmd] { informationClick(cmd); });
    };
    N13 = command("取扱説明書（ヘルプ）", &InformationCommands::openHelp);
    N13->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F1));
    informationMenu->addSeparator();
    N28 = command("インストールフォルダ－確認", &InformationCommands::showInstallFolder);
    informationMenu->addSeparator();
    N30 = informationMenu->addAction("メモ帳を起動", this, &TFtankaregist::N30Click);
    N31 = command("電卓", &InformationCommands::startCalculator);
    informationMenu->addSeparator();
    N36 = command("メモリ－確認", &InformationCommands::showMemory);
    N38 = command("画面の解像度確認", &InformationCommands::showScreenResolution);
    informationMenu->addSeparator();
    About1 = command("バージョン情報", &InformationCommands::showVersion);
}

void TFtankaregist::Splitter1Moved()
{
    if (!TreeView1->isHidden())
        layout_->treeResized(Splitter1->sizes().value(0));
}

void TFtankaregist::barToggleClick(LayoutBar bar)
{
    runCommand([this, bar] { layout_->toggleBar(bar); });
    runCommand([this] { showLayout(); });
}

void TFtankaregist::uniformWidthClick(LayoutGrid grid)
{
    runCommand([this, grid] { layout_->askUniformWidth(grid); });
    runCommand([this] { showLayout(); });
}

void TFtankaregist::informationClick(void (InformationCommands::*command)())
{
    run([this, command] { (session_->information().*command)(); });
}

void TFtankaregist::N23Click()
{
    run([this] { session_->information().showRelease(); });
}

void TFtankaregist::N30Click()
{
    // With Shift held the item takes the shortcut Ctrl+M instead of starting the editor.
    const bool shift = QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
    run([this, shift] { session_->information().startNotepad(shift); });
    N30->setShortcut(QKeySequence(QString::fromStdString(session_->information().notepadShortcut())));
}

void TFtankaregist::showLayout()
{
    const DisplayLayout &l = layout_->layout();
    // The bars keep their order from the top whichever are shown: the window's layout holds
    // them in that order and hiding one closes the gap.
    title_panel->setVisible(l.barShown(LayoutBar::Title));
    top_panel->setVisible(l.barShown(LayoutBar::Top));
    TreeView1->setVisible(l.barShown(LayoutBar::Tree));
    statusBar()->setVisible(l.barShown(LayoutBar::Status));
    title_bar->setChecked(l.barShown(LayoutBar::Title));
    top_bar->setChecked(l.barShown(LayoutBar::Top));
    tree_list->setChecked(l.barShown(LayoutBar::Tree));
    status_bar->setChecked(l.barShown(LayoutBar::Status));

    TStrColGrid *grids[] = {StrColGrid1, StrColGrid2, StrColGrid3};
    for (int g = 0; g < 3; ++g) {
        const std::span<const int> w = l.widths(gridKind(g));
        for (size_t c = 0; c < w.size(); ++c)
            if (grids[g]->ColWidths(static_cast<int>(c)) != w[c])
                grids[g]->SetColWidths(static_cast<int>(c), w[c]);
    }
    // The rows fit the rate grid's height, down to the least height that still reads; the two
    // grids below take the same rows and are as high as their rows.
    const int frame = 2 * StrColGrid1->frameWidth() + 1;
    const int rowHeight = fittedRowHeight(l.rateGridHeight, GridRows, frame, RowHeight, MinRowHeight);
    for (TStrColGrid *g : grids)
        for (int r = 0; r < GridRows; ++r)
            if (g->RowHeights(r) != rowHeight)
                g->SetRowHeights(r, rowHeight);
    fitGrid(StrColGrid1, l.rateGridHeight);
    fitGrid(StrColGrid2, StrColGrid2->Model().contentHeight() + frame);
    fitGrid(StrColGrid3, StrColGrid3->Model().contentHeight() + frame);

    // The tree's width, once the window is on screen and the splitter has laid out a tree shown
    // again: that happens when control is back in the event loop.
    if (Splitter1->isVisible() && l.barShown(LayoutBar::Tree))
        QMetaObject::invokeMethod(
            this, [this] { runCommand([this] { showTreeWidth(); }); }, Qt::QueuedConnection);
}

void TFtankaregist::showTreeWidth()
{
    if (TreeView1->isHidden())
        return;
    const QList<int> sizes = Splitter1->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    const int min = TreeView1->minimumWidth();
    const int tree = std::clamp(layout_->layout().treeWidth, min, std::max(min, total - min));
    if (sizes.value(0) != tree)
        Splitter1->setSizes({tree, std::max(0, total - tree)});
}

void TFtankaregist::fitGrid(TStrColGrid *g, int height)
{
    // As wide as its columns and as high as asked; rows that do not fit scroll, with a scroll bar.
    const int frame = 2 * g->frameWidth() + 1;
    const int h = std::max(0, height);
    const bool scrolls = g->Model().contentHeight() + frame > h;
    g->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    int w = g->Model().contentWidth() + frame;
    if (scrolls)
        w += g->verticalScrollBar()->sizeHint().width();
    if (g->width() != w || g->height() != h)
        g->setFixedSize(w, h);
}

void TFtankaregist::gridColumnsDragged(TStrColGrid *g)
{
    const int index = g == StrColGrid1 ? 0 : g == StrColGrid2 ? 1 : 2;
    const std::span<const int> w = layout_->layout().widths(gridKind(index));
    for (size_t c = 0; c < w.size(); ++c)
        if (g->ColWidths(static_cast<int>(c)) != w[c])
            layout_->columnResized(gridKind(index), static_cast<int>(c), g->ColWidths(static_cast<int>(c)));
    showLayout();
}

} // namespace velmo
