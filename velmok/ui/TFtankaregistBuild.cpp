// The main window's widgets and menus.
#include "velmok/ui/TFtankaregist.h"
#include "desktop/WindowFit.h"
#include "desktop/ChangedOutsideBar.h"

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
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velmo {

using namespace mainwindow;

namespace {

// Releases the mouse over the tree with Shift held: the rename command.
class ShiftReleaseFilter : public QObject {
public:
    ShiftReleaseFilter(QObject *parent, std::function<void()> onRelease) : QObject(parent), onRelease_(std::move(onRelease)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::MouseButtonRelease &&
            (static_cast<QMouseEvent *>(e)->modifiers() & Qt::ShiftModifier))
            onRelease_();
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void()> onRelease_;
};


} // namespace

// ---------------------------------------------------------------- building

void TFtankaregist::buildMenus()
{
    const bool network = session_->edition() == Edition::Network;
    QMenu *file = fileMenu = menuBar()->addMenu("ファイル(&F)");
    saveAction = file->addAction("保  存", this, &TFtankaregist::saveClick);
    saveAction->setShortcut(QKeySequence("Ctrl+S"));
    addPrintItem(file);
    if (network) {
        file->addSeparator();
        file->addAction("指定フォルダーからデータを読込", this, &TFtankaregist::loadFromFolderClick);
        file->addAction("指定フォルダーにデータを保存", this, &TFtankaregist::saveToFolderClick);
        file->addSeparator();
    } else {
        file->addSeparator();
    }
    file->addAction("以前の版…", this, [this] { run([this] { session_->versions().earlierVersions(); }); });
    file->addSeparator();
    exitAction = file->addAction("終  了", this, &QWidget::close);
    exitAction->setShortcut(QKeySequence(Qt::Key_End));
    buildEditMenus();

    QMenu *services = menuBar()->addMenu("管種選択(&P)");
    for (int s = 0; s < ServiceCount; ++s) {
        QMenu *m = services->addMenu(q(session_->names().services[s]));
        serviceMenus[s] = m;
        connect(m, &QMenu::aboutToShow, this, [this, s] { serviceMenuShow(s); });
        for (int p = 0; p < PipesPerFile; ++p) {
            QAction *a = m->addAction("----", this, [this, p] { pipeMenuClick(p); });
            if (s == 0)
                a->setShortcut(p < 10 ? QKeySequence(Qt::Key_F1 + p) : QKeySequence(Qt::SHIFT | (Qt::Key_F1 + p - 10)));
            pipeActions[s][p] = a;
        }
        m->addSeparator();
        m->addAction("このグループに名称をつける", this, [this, s] { renameServiceClick(s); });
    }

    QMenu *view = viewMenu = menuBar()->addMenu("表  示(&D)");
    const char *basisNames[] = {"提出LEVEL1単価を表示", "提出LEVEL2単価を表示", "提出LEVEL3単価を表示",
                                "提出LEVEL4単価を表示", "提出LEVEL5単価を表示", "原価を表示"};
    for (int i = 0; i < 6; ++i) {
        basisActions[i] = view->addAction(basisNames[i], this, [this, i] { basisMenuClick(i + 1); });
        basisActions[i]->setShortcut(QKeySequence(Qt::CTRL | (Qt::Key_F1 + i)));
    }
    view->addSeparator();
    showFactorsAction = view->addAction("歩掛表に歩掛を表示", this, &TFtankaregist::showFactorsClick);
    showResultsAction = view->addAction("歩掛表に計算結果を表示", this, &TFtankaregist::showResultsClick);
    showResultsAction->setCheckable(true);
    view->addSeparator();
    showCompositesAction = view->addAction("複合単価表に複合単価を表示", this, &TFtankaregist::showCompositesClick);
    showAdoptedAction = view->addAction("複合単価表に採用単価を表示", this, &TFtankaregist::showAdoptedClick);
    showCompositesAction->setCheckable(true);
    showAdoptedAction->setCheckable(true);

    buildExportMenu();

    if (network) {
        QMenu *net = menuBar()->addMenu("ネットワーク設定(&N)");
        net->addAction("データファイル設定", this, &TFtankaregist::dataFileSettingClick);
    }
}

void TFtankaregist::setupGrid(TStrColGrid *g, const std::array<int, 11> &widths)
{
    // The session gave the grid its rows and columns; the window gives it its looks.
    const int cols = g->ColCount();
    g->SetFixedColor(FixedCellColor);
    int w = 0;
    for (int c = 0; c < cols; ++c) {
        g->SetColWidths(c, widths[c]);
        w += widths[c] + 1;
    }
    for (int r = 0; r < GridRows; ++r)
        g->SetRowHeights(r, RowHeight);
    g->setFixedSize(w + 2 * g->frameWidth() + 1, GridRows * (RowHeight + 1) + 2 * g->frameWidth() + 1);
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Headings and sizes centred in white; values right-aligned in black.
    for (int c = 0; c < cols; ++c) {
        for (int r = 0; r < GridRows; ++r) {
            if (r == 0 || c == 0) {
                g->SetCellAlignment(c, r, taCenter);
                g->SetCellFontColor(c, r, Qt::white);
            } else {
                g->SetCellAlignment(c, r, taRightJustify);
                g->SetCellFontColor(c, r, Qt::black);
            }
        }
    }
}

namespace {

// A caption above a grid, in the heading colour.
QWidget *captioned(const QString &caption, QWidget *content, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *l = new QVBoxLayout(box);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(1);
    auto *label = new QLabel(caption, box);
    label->setStyleSheet("QLabel { color: #2c2a58; font-weight: bold; }");
    l->addWidget(label);
    l->addWidget(content, 0, Qt::AlignLeft | Qt::AlignTop);
    l->addStretch();
    return box;
}

} // namespace

void TFtankaregist::buildWidgets()
{
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(4, 2, 4, 2);
    outer->setSpacing(3);

    // Title strip with the quick save button at its right end.
    auto *title = title_panel = new QWidget(central);
    title->setObjectName("titleStrip");
    title->setStyleSheet("#titleStrip { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #2c2a58, stop:1 #8e8ca2); }");
    auto *titleLayout = new QHBoxLayout(title);
    titleLayout->setContentsMargins(10, 1, 4, 1);
    titlePanel = new QLabel("Velmaro", title);
    titlePanel->setStyleSheet("color: white; font-size: 13pt; font-weight: bold;");
    IconButton11 = new QPushButton("保存", title);
    IconButton11->setToolTip("上書き保存");
    IconButton11->setCursor(Qt::PointingHandCursor);
    connect(IconButton11, &QPushButton::clicked, this, &TFtankaregist::IconButton11Click);
    titleLayout->addWidget(titlePanel);
    titleLayout->addStretch();
    titleLayout->addWidget(IconButton11);
    outer->addWidget(title);

    // Top bar: the sheet set-up button and the heading strip.
    top_panel = new QWidget(central);
    auto *top = new QHBoxLayout(top_panel);
    top->setContentsMargins(0, 0, 0, 0);
    user_sel = new QPushButton("基本設定", top_panel);
    kanname = new QLabel(top_panel);
    kanname->setFrameShape(QFrame::Panel);
    kanname->setFrameShadow(QFrame::Sunken);
    kanname->setStyleSheet("QLabel { background: white; padding: 2px 6px; font-weight: bold; }");
    top->addWidget(user_sel);
    top->addWidget(kanname, 1);
    outer->addWidget(top_panel);

    // Hidden until another program changes the file under unsaved edits.
    changedBar = new ChangedOutsideBar(central);
    connect(changedBar->reloadButton, &QPushButton::clicked, this, [this] { run([this] { session_->barReloadClicked(); }); });
    connect(changedBar->closeButton, &QPushButton::clicked, this, [this] { run([this] { session_->barCloseClicked(); }); });
    outer->addWidget(changedBar);

    // The tree of pipes and the grids, with a border the user can drag between them.
    Splitter1 = new QSplitter(Qt::Horizontal, central);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setHandleWidth(5);
    TreeView1 = new QTreeWidget(Splitter1);
    TreeView1->setHeaderHidden(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setMinimumWidth(40);
    TreeView1->setUniformRowHeights(true); // one font: the tree need not measure each row
    // Long pipe names scroll sideways instead of being cut.
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TreeView1->header()->setStretchLastSection(false);
    for (int s = 0; s < ServiceCount; ++s) {
        auto *service = new QTreeWidgetItem(TreeView1);
        for (int p = 0; p < PipesPerFile; ++p)
            new QTreeWidgetItem(service);
    }
    connect(TreeView1, &QTreeWidget::itemClicked, this, &TFtankaregist::TreeView1Click);
    // The node under the pointer was selected when the button went down.
    TreeView1->viewport()->installEventFilter(new ShiftReleaseFilter(this, [this] { TreeView1ShiftRelease(); }));
    Splitter1->addWidget(TreeView1);

    // The tabs and the three grids; on a screen too small for them they scroll as a whole.
    auto *gridsPage = new QWidget;
    auto *right = new QVBoxLayout(gridsPage);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(3);
    TabControl1 = new QTabBar(gridsPage);
    TabControl1->setExpanding(false);
    TabControl1->setDrawBase(false);
    connect(TabControl1, &QTabBar::currentChanged, this, &TFtankaregist::TabControl1Change);

    // The session fills the three grids and types into them; they show its models.
    StrColGrid1 = new TStrColGrid(gridsPage, &session_->grids().rate);
    StrColGrid2 = new TStrColGrid(gridsPage, &session_->grids().price);
    StrColGrid3 = new TStrColGrid(gridsPage, &session_->grids().composite);
    setupGrid(StrColGrid1, {50, 72, 72, 72, 60, 74, 60, 60, 60, 66, 60});
    setupGrid(StrColGrid2, {50, 64, 64, 64, 64, 64, 64, 64});
    setupGrid(StrColGrid3, {50, 64, 64, 64, 64, 64, 64, 64});
    // The material price and labour columns of the rate grid stand out like the fixed cells.
    for (int r = 1; r < GridRows; ++r)
        for (int c : {3, 8}) {
            StrColGrid1->SetCellColor(c, r, FixedCellColor);
            StrColGrid1->SetCellFontColor(c, r, Qt::white);
        }
    connect(StrColGrid2, &TStrColGrid::gridClick, this, &TFtankaregist::StrColGrid2Click);
    connect(StrColGrid3, &TStrColGrid::gridClick, this, &TFtankaregist::StrColGrid3Click);

    // The tabs head the rate grid's column; the settings panel beside them starts level with
    // the tabs, so that on a low screen the rows below begin as high as the rate grid allows.
    auto *upper = new QHBoxLayout;
    upper->setSpacing(8);
    auto *rateColumn = new QVBoxLayout;
    rateColumn->setSpacing(3);
    rateColumn->addWidget(TabControl1, 0, Qt::AlignLeft);
    rateColumn->addWidget(captioned("歩掛表", StrColGrid1, gridsPage));
    upper->addLayout(rateColumn);
    upper->addWidget(buildSettingsPanel(), 0, Qt::AlignTop);
    upper->addStretch();
    right->addLayout(upper);

    auto *lower = new QHBoxLayout;
    lower->setSpacing(8);
    lower->addWidget(captioned("提出単価表", StrColGrid2, gridsPage), 0, Qt::AlignTop);
    lower->addWidget(captioned("複合単価表", StrColGrid3, gridsPage), 0, Qt::AlignTop);
    lower->addStretch();
    right->addLayout(lower);
    right->addStretch();

    auto *scroll = new QScrollArea(Splitter1);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(gridsPage);
    Splitter1->addWidget(scroll);
    // The tree keeps its width when the window is resized; the grids take the rest.
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({DesignTreeWidth, DesignWindowSize.width - DesignTreeWidth});
    outer->addWidget(Splitter1, 1);
    setCentralWidget(central);

    const int widths[StatusPanelCount] = {200, 200, 150, 100, 50, 300, 50};
    for (int i = 0; i < StatusPanelCount; ++i) {
        statusPanels[i] = new ElidedLabel(this); // a text too long for its panel ends in "…"
        // The panel widths of the status bar; the file name panel grows to show its whole text.
        if (i == 6)
            statusPanels[i]->setMinimumWidth(widths[i]);
        else
            statusPanels[i]->setFixedWidth(widths[i]);
        statusPanels[i]->setFrameShape(QFrame::Panel);
        statusPanels[i]->setFrameShadow(QFrame::Sunken);
        statusBar()->addWidget(statusPanels[i]);
    }
}

QWidget *TFtankaregist::buildSettingsPanel()
{
    auto *panel = new QWidget;
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto *caption = new QLabel("基本設定", panel);
    caption->setStyleSheet("QLabel { color: #2c2a58; font-weight: bold; }");
    layout->addWidget(caption);

    auto *rounding = new QGroupBox("単価計算処理", panel);
    auto *rl = new QGridLayout(rounding);
    rl->setContentsMargins(4, 2, 4, 4);
    rl->setSpacing(2);
    ComboBox2 = new QComboBox(rounding);
    ComboBox1 = new QComboBox(rounding);
    ComboBox3 = new QComboBox(rounding);
    for (const char *e : FracAddendEntries) ComboBox2->addItem(e);
    for (const char *e : PriceCodeEntries) ComboBox1->addItem(e);
    for (const char *e : SigAddendEntries) ComboBox3->addItem(e);
    rl->addWidget(ComboBox2, 0, 0);
    rl->addWidget(ComboBox1, 0, 1);
    rl->addWidget(ComboBox3, 1, 0);
    for (QComboBox *c : {ComboBox2, ComboBox1, ComboBox3}) {
        c->setFixedHeight(24);
        connect(c, &QComboBox::activated, this, &TFtankaregist::settingsChanged);
    }
    layout->addWidget(rounding);

    const char *levelNames[6] = {"原価", "LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4", "LEVEL5"};
    // Fields in the order LEVEL1 … LEVEL5, then 原価 (the _N field), three to a column.
    auto placeFields = [&](QGridLayout *gl, int firstRow, std::array<TNValEdit *, 6> &fields, QWidget *owner,
                           const QString &suffix) {
        for (int k = 0; k < 6; ++k) {
            const int i = k < 5 ? k + 1 : 0;
            const int row = firstRow + k % 3, col = (k / 3) * 3;
            gl->addWidget(new QLabel(levelNames[i], owner), row, col);
            gl->addWidget(fields[i], row, col + 1);
            if (!suffix.isEmpty())
                gl->addWidget(new QLabel(suffix, owner), row, col + 2);
        }
    };

    auto *rates = new QGroupBox(panel);
    auto *gl = new QGridLayout(rates);
    gl->setContentsMargins(4, 2, 4, 4);
    gl->setSpacing(2);
    CheckGroupBox1 = new QCheckBox("単価に掛け率を使用", rates);
    connect(CheckGroupBox1, &QCheckBox::clicked, this, &TFtankaregist::settingsChanged);
    gl->addWidget(CheckGroupBox1, 0, 0, 1, 6);
    for (int i = 0; i < 6; ++i) {
        auto *e = new TNValEdit(rates);
        e->setObjectName(i == 0 ? "avr_N" : QString("avr_%1").arg(i));
        e->setMaxDigits(6);
        e->setFixDecimal(-1);
        e->setZeroDisplay(true);
        e->setPrmtNegative(false);
        e->setFixedSize(60, 22);
        avr[i] = e;
        connect(e, &TNValEdit::enterPressed, this, &TFtankaregist::settingsChanged);
        connect(e, &TNValEdit::leftTyped, this, &TFtankaregist::settingsFieldLeft);
    }
    placeFields(gl, 1, avr, rates, "%");
    layout->addWidget(rates);

    auto *labour = new QGroupBox("基礎工費（１人工）", panel);
    auto *ll = new QGridLayout(labour);
    ll->setContentsMargins(4, 2, 4, 4);
    ll->setSpacing(2);
    for (int i = 0; i < 6; ++i) {
        auto *e = new TNValEdit(labour);
        e->setObjectName(i == 0 ? "GPAYDAY_N" : QString("GPAYDAY%1").arg(i));
        e->setMaxDigits(9);
        e->setFixDecimal(0);
        e->setZeroDisplay(true);
        e->setPrmtNegative(false);
        e->setFixedSize(84, 22);
        GPAYDAY[i] = e;
        connect(e, &TNValEdit::enterPressed, this, [this, i] { GPAYDAYEnter(i); });
        connect(e, &TNValEdit::leftTyped, this, &TFtankaregist::settingsFieldLeft);
    }
    placeFields(ll, 0, GPAYDAY, labour, "");
    layout->addWidget(labour);
    return panel;
}

// ---------------------------------------------------------------- menus and buttons

void TFtankaregist::saveClick()
{
    run([this] { session_->save(); });
}

void TFtankaregist::IconButton11Click()
{
    run([this] { session_->quickSave(); });
}

void TFtankaregist::loadFromFolderClick()
{
    run([this] { session_->folders().loadFromFolder(false); });
}

void TFtankaregist::saveToFolderClick()
{
    run([this] { session_->folders().saveToFolder(); });
}

void TFtankaregist::dataFileSettingClick()
{
    run([this] { session_->folders().loadFromFolder(true); });
}

void TFtankaregist::serviceMenuShow(int service)
{
    session_->menuServiceOpened(service);
}

void TFtankaregist::pipeMenuClick(int pipe)
{
    run([this, pipe] { session_->menuPipeChosen(pipe); });
}

void TFtankaregist::renameServiceClick(int service)
{
    session_->menuServiceOpened(service);
    run([this, service] { session_->renameService(service); });
}

void TFtankaregist::basisMenuClick(int basis)
{
    run([this, basis] { session_->basisMenu(basisAt(basis)); });
}

void TFtankaregist::showFactorsClick()
{
    run([this] { session_->showRateResults(false); });
}

void TFtankaregist::showResultsClick()
{
    run([this] { session_->showRateResults(true); });
}

void TFtankaregist::showCompositesClick()
{
    run([this] { session_->showComposites(false); });
}

void TFtankaregist::showAdoptedClick()
{
    run([this] { session_->showComposites(true); });
}

void TFtankaregist::TreeView1ShiftRelease()
{
    if (QTreeWidgetItem *item = TreeView1->currentItem())
        run([this, node = nodeOf(item)] { session_->treeRename(node); });
}

} // namespace velmo
