// The main window's widgets and pop-up menus.
#include "torvik/ui/Tftorvik.h"
#include "registration/ui/window_parts.h"
#include "desktop/TextLimit.h"
#include "pricefile/record_head.h"
#include "desktop/HistoryActions.h"
#include "desktop/WindowFit.h"
#include "desktop/ChangedOutsideBar.h"

#include "grid/ui/TNValEdit.h"
#include "grid/ui/TStrColGrid.h"
#include "desktop/VelmoApplication.h"
#include "torvik/ui/TftorvikLooks.h"
#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "pricefile/registration_lists.h"
#include "pricefile/size_sets.h"
#include "torvik/core/torvik_texts.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

namespace velmo {

using namespace torvikwindow;

void Tftorvik::buildWidgets()
{
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(buildTitleBand());
    nameBand_ = buildNameBand();
    outer->addWidget(nameBand_);
    // Hidden until another program changes the block under unsaved edits. It lies over the
    // name band while it shows (its text names the block): the window is laid out tight
    // around its fixed grid and keeps its size when the bar comes and goes.
    changedBar = new ChangedOutsideBar(central);
    changedBar->label->setWordWrap(false); // one line; the whole text is its tool tip
    nameBand_->installEventFilter(this);
    connect(changedBar->reloadButton, &QPushButton::clicked, this, [this] { run([this] { session_->barReloadClicked(); }); });
    connect(changedBar->closeButton, &QPushButton::clicked, this, [this] { run([this] { session_->barCloseClicked(); }); });

    auto *tabs = new QWidget(central);
    auto *tl = new QVBoxLayout(tabs);
    tl->setContentsMargins(4, 4, 4, 2);
    tl->setSpacing(0);
    TabControl1 = new QTabBar(tabs);
    TabControl1->setExpanding(false);
    TabControl1->setDrawBase(false);
    for (const char *caption : PriceTabCaptions)
        TabControl1->addTab(caption);
    TabControl1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TabControl1, &QTabBar::currentChanged, this, &Tftorvik::TabControl1Change);
    tl->addWidget(TabControl1);
    tl->addWidget(buildPage(), 1);
    outer->addWidget(tabs, 1);
    setCentralWidget(central);

    StatusBar1 = addStatusPanels(this);
}

QWidget *Tftorvik::buildTitleBand()
{
    QWidget *band = gradientBand(torvik::Title, TitleColor, this);
    band->setFixedHeight(32);
    titleLabel = band->findChild<QLabel *>("bandCaption");
    return band;
}

QWidget *Tftorvik::buildNameBand()
{
    auto *band = new QWidget(this);
    band->setObjectName("nameBand");
    band->setAttribute(Qt::WA_StyledBackground, true);
    band->setStyleSheet(QString("#nameBand { background: %1; }").arg(BandColor.name()));
    band->setFixedHeight(30);
    auto *l = new QHBoxLayout(band);
    l->setContentsMargins(4, 2, 8, 2);
    l->setSpacing(10);
    user_sel = new QPushButton(sharedtext::ChooseBlockButton, band);
    user_sel->setCursor(Qt::PointingHandCursor);
    user_sel->setFixedHeight(24);
    connect(user_sel, &QPushButton::clicked, this, &Tftorvik::user_selClick);
    data_name = bandLabel(band);
    select_data = bandLabel(band);
    sizename = bandLabel(band);
    Label3 = bandLabel(band);
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->addWidget(user_sel);
    l->addWidget(data_name);
    l->addWidget(select_data);
    l->addWidget(sizename);
    l->addStretch();
    l->addWidget(Label3);
    return band;
}

namespace {

// A box whose caption is its frame title and whose content reacts to a click, and, being in the
// window's Tab order, to Enter, Space and F2 (the window's event filter).
QLabel *memoBox(const QString &title, QWidget *parent, QGroupBox **box)
{
    *box = new QGroupBox(title, parent);
    auto *l = new QVBoxLayout(*box);
    l->setContentsMargins(4, 2, 4, 4);
    auto *text = new QLabel(*box);
    text->setTextFormat(Qt::PlainText);
    text->setFrameShape(QFrame::Panel);
    text->setFrameShadow(QFrame::Sunken);
    text->setAutoFillBackground(true);
    QPalette p = text->palette();
    p.setColor(QPalette::Window, Qt::white);
    text->setPalette(p);
    text->setFixedHeight(22);
    text->setCursor(Qt::PointingHandCursor);
    text->setFocusPolicy(Qt::StrongFocus);
    l->addWidget(text);
    return text;
}

} // namespace

QWidget *Tftorvik::buildPage()
{
    auto *page = new QFrame(this);
    page->setFrameShape(QFrame::StyledPanel);
    auto *l = new QHBoxLayout(page);
    l->setContentsMargins(6, 6, 6, 6);
    l->setSpacing(8);

    auto *left = new QVBoxLayout;
    left->setSpacing(6);
    StrColGrid1 = new TStrColGrid(page);
    setUpPriceGrid(StrColGrid1->Model());
    QFont gridFont(RegistrationGridFont);
    gridFont.setPixelSize(RegistrationGridFontPixels);
    StrColGrid1->setFont(gridFont);
    int w = 0;
    for (int c = 0; c < PriceGridCols; ++c)
        w += StrColGrid1->Model().sectionWidth(c);
    const int h = PriceGridRows * StrColGrid1->Model().sectionHeight(0);
    StrColGrid1->setFixedSize(w + 2 * StrColGrid1->frameWidth(), h + 2 * StrColGrid1->frameWidth());
    StrColGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StrColGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StrColGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    // Directly: the handler runs before the grid's own handling of the key.
    connect(StrColGrid1, &TStrColGrid::keyDown, this, &Tftorvik::StrColGrid1KeyDown, Qt::DirectConnection);
    // An edit left with the mouse is committed; what it says comes once the click has settled.
    connect(StrColGrid1, &TStrColGrid::editorFinished, this, [this](int col, int row) {
        runCommand([&] {
            const std::string said = session_->editorLeft(col, row);
            if (!said.empty())
                PostErrorBox(QString::fromStdString(said));
            showState();
        });
    });
    left->addWidget(StrColGrid1, 0, Qt::AlignLeft | Qt::AlignTop);

    auto *memos = new QHBoxLayout;
    memos->setSpacing(6);
    QGroupBox *box1 = nullptr, *box2 = nullptr;
    StaticText1 = memoBox("材料単価建物[MEMO]", page, &box1);
    StaticText2 = memoBox("ペ－ジ[MEMO}", page, &box2);
    StaticText1->installEventFilter(this);
    StaticText2->installEventFilter(this);
    memos->addWidget(box1, 3);
    memos->addWidget(box2, 2);
    setTabOrder(StrColGrid1, StaticText1);
    setTabOrder(StaticText1, StaticText2);
    left->addLayout(memos);
    left->addStretch();
    l->addLayout(left);
    l->addWidget(buildRatesAndSettings(), 1);
    return page;
}

QComboBox *Tftorvik::roundingList(RoundingList list, QWidget *parent)
{
    std::span<const char *const> entries = SignificantAddendEntries;
    if (list == RoundingList::SignificantCode)
        entries = SignificantCodeEntries;
    else if (list == RoundingList::FractionAddend)
        entries = FractionAddendEntries;
    auto *combo = roundingListBox(entries, parent);
    combo->setFixedHeight(24);
    connect(combo, &QComboBox::activated, this,
            [this, list](int index) { run([this, list, index] { session_->roundingListSelected(list, index); }); });
    return combo;
}

QComboBox *Tftorvik::comboOf(RoundingList list) const
{
    switch (list) {
    case RoundingList::SignificantCode: return ComboBox1;
    case RoundingList::FractionAddend: return ComboBox2;
    case RoundingList::SignificantAddend: break;
    }
    return ComboBox3;
}

QWidget *Tftorvik::buildRatesAndSettings()
{
    auto *column = new QWidget(this);
    auto *l = new QVBoxLayout(column);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(4);

    // The check box sits at the right of the caption; unchecked, the group disables its
    // fields (the window enables its labels again, as the session says).
    CheckGroupBox1 = new QGroupBox(UseRatesCaption, column);
    CheckGroupBox1->setCheckable(true);
    CheckGroupBox1->setChecked(true);
    CheckGroupBox1->setAlignment(Qt::AlignRight);
    connect(CheckGroupBox1, &QGroupBox::clicked, this, &Tftorvik::CheckGroupBox1Click);
    auto *gl = new QGridLayout(CheckGroupBox1);
    gl->setContentsMargins(6, 4, 6, 4);
    gl->setHorizontalSpacing(4);
    gl->setVerticalSpacing(2);
    for (int i = 0; i < RateFieldCount; ++i) {
        const int tag = i + 1;
        rateLabels[2 * i] = new QLabel(PercentLabels[i], CheckGroupBox1);
        rateLabels[2 * i + 1] = new QLabel("(%)", CheckGroupBox1);
        auto *e = new TNValEdit(CheckGroupBox1);
        e->setObjectName(QString("NValEdit%1").arg(tag));
        e->setDelAllClear(true);
        e->setZeroDisplay(true);
        e->setEnterNext(true);
        e->setPutAComma(false);
        e->setMinusColor(Qt::black);
        e->setFixedSize(72, 22);
        connect(e, &TNValEdit::enterPressed, this,
                [this, e, tag] { run([this, e, tag] { session_->rateFieldEnter(tag, e->value()); }); });
        connect(e, &TNValEdit::leftTyped, this,
                [this, e, tag] { run([this, e, tag] { session_->rateFieldLeft(tag, e->value()); }); });
        NValEdit[i] = e;
        gl->addWidget(rateLabels[2 * i], i, 0);
        gl->addWidget(e, i, 1);
        gl->addWidget(rateLabels[2 * i + 1], i, 2);
    }
    for (int i = 0; i + 1 < RateFieldCount; ++i)
        setTabOrder(NValEdit[i], NValEdit[i + 1]);
    l->addWidget(CheckGroupBox1);

    auto *calc = new QGroupBox(RoundingGroupCaption, column);
    auto *cl = new QVBoxLayout(calc);
    cl->setContentsMargins(6, 4, 6, 4);
    cl->setSpacing(2);
    ComboBox2 = roundingList(RoundingList::FractionAddend, calc);
    ComboBox1 = roundingList(RoundingList::SignificantCode, calc);
    ComboBox3 = roundingList(RoundingList::SignificantAddend, calc);
    cl->addWidget(ComboBox2);
    cl->addWidget(ComboBox1);
    cl->addWidget(ComboBox3);

    auto *unit = new QGroupBox(UnitGroupCaption, column);
    auto *ul = new QVBoxLayout(unit);
    ul->setContentsMargins(6, 4, 6, 4);
    ci = unitBox(unit);
    ci->setCompleter(nullptr); // no auto-completion
    ci->setFixedHeight(24);
    ci->installEventFilter(this);
    ci->lineEdit()->installEventFilter(this);
    connect(ci, &QComboBox::activated, this, [this](int index) {
        run([this, text = ci->itemText(index).toStdString()] { session_->unitItemChosen(text); });
    });
    connect(ci->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
        run([this, t = text.toStdString()] { session_->unitTextEdited(t); });
    });
    ul->addWidget(ci);

    auto *lower = new QHBoxLayout;
    lower->setSpacing(4);
    lower->addWidget(calc, 3);
    lower->addWidget(unit, 2, Qt::AlignTop);
    l->addLayout(lower);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    Button1 = new QPushButton(sharedtext::RegisterButton, column);
    Button2 = new QPushButton(sharedtext::CancelButton, column);
    Button3 = new QPushButton(sharedtext::EditNameButton, column);
    for (QPushButton *b : {Button1, Button2, Button3}) {
        b->setCursor(Qt::PointingHandCursor);
        b->setFixedHeight(28);
        buttons->addWidget(b);
    }
    connect(Button1, &QPushButton::clicked, this, [this] { run([this] { session_->registerBlock(); }); });
    connect(Button2, &QPushButton::clicked, this, &QWidget::close);
    connect(Button3, &QPushButton::clicked, this, [this] { run([this] { session_->EditName(); }); });
    l->addLayout(buttons);
    l->addStretch();
    return column;
}

void Tftorvik::buildMenus()
{
    PopupMenu1 = new QMenu(this);
    auto command = [this](const QString &caption, std::function<void()> f) {
        return PopupMenu1->addAction(caption, this, [this, f = std::move(f)] { run(f); });
    };
    N131 = command(SizeSetFrom13Item, [this] { session_->applySizeList(SizeList::From13); });
    N151 = command(SizeSetFrom15Item, [this] { session_->applySizeList(SizeList::From15); });
    N152 = command("サイズセット(冷媒用1)", [this] { session_->applySizeList(SizeList::Refrigerant1); });
    N21 = command("サイズセット(冷媒用2)", [this] { session_->applySizeList(SizeList::Refrigerant2); });
    N5 = command("サイズを入力", [this] { session_->editSize(); });
    N4 = command("細目を編集", [this] { session_->editHeading(); });
    PopupMenu1->addSeparator();
    N8 = command(sharedtext::CopyAllItem, [this] { session_->CopyAll(); });
    N9 = command(sharedtext::PasteAllItem, [this] { session_->PasteAll(); });
    command(sharedtext::PasteFromSheetItem, [this] { session_->pasteFromSheet(); });
    command(sharedtext::ImportPriceListItem, [this] { session_->importPriceList(); });
    command(sharedtext::RevisionItem, [this] { session_->revisePrices(); });
    command("以前の版…", [this] { session_->earlierVersions(); });
    PopupMenu1->addSeparator();
    command(sharedtext::PrintPriceListItem, [this] { session_->printPriceList(); });
    command(sharedtext::CsvPriceListItem, [this] { session_->exportPriceListCsv(); });
    command(sharedtext::XlsxPriceListItem, [this] { session_->exportPriceListXlsx(); });
    PopupMenu1->addSeparator();
    addHistoryActions(this, PopupMenu1,
                      {[this] { run([this] { session_->undo(); }); }, [this] { run([this] { session_->redo(); }); },
                       [this] { return session_->canUndo(); }, [this] { return session_->canRedo(); }});
    PopupMenu1->addSeparator();
    N11 = PopupMenu1->addAction(sharedtext::GridExitItem, this, &QWidget::close);
    N11->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    auto popup1 = [this](QWidget *w) {
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint &at) { PopupMenu1->exec(w->mapToGlobal(at)); });
    };
    popup1(StrColGrid1);
    popup1(TabControl1);

    // The window's own menu: Esc closes the window from anywhere in it.
    PopupMenu2 = new QMenu(this);
    MenuItem1 = PopupMenu2->addAction(sharedtext::ExitItem, this, &QWidget::close);
    MenuItem1->setShortcut(QKeySequence(Qt::Key_Escape));
    centralWidget()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(centralWidget(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu2->exec(centralWidget()->mapToGlobal(at)); });
    // The shortcuts act while the menus are closed.
    addAction(N11);
    addAction(MenuItem1);
}

} // namespace velmo
