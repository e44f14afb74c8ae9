// The main window's widgets and menus.
#include "selvan/ui/Tfselvan.h"
#include "registration/ui/window_parts.h"
#include "desktop/TextLimit.h"
#include "pricefile/record_head.h"
#include "desktop/HistoryActions.h"
#include "desktop/WindowFit.h"
#include "desktop/ChangedOutsideBar.h"

#include "grid/ui/QtGridTypes.h"
#include "grid/ui/TNValEdit.h"
#include "grid/ui/TStrColGrid.h"
#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "pricefile/registration_lists.h"
#include "selvan/core/selvan_texts.h"
#include "pricefile/size_sets.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmo {

namespace {

// Windows colours 0x00BBGGRR as the toolkit's.
const QColor FixedColour = toQColor(RegistrationGridFixedColor); // 10652814
const QColor InfoStripColour = toQColor(TColor(8677478));

QFont pixelFont(const char *family, int pixels, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

} // namespace

QWidget *Tfselvan::buildTitleStrip()
{
    auto *strip = new QWidget;
    strip->setObjectName("titleStrip");
    strip->setAttribute(Qt::WA_StyledBackground);
    strip->setStyleSheet(QString("#titleStrip { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 white, "
                                 "stop:1 %1); }")
                             .arg(FixedColour.name()));
    auto *l = new QHBoxLayout(strip);
    l->setContentsMargins(4, 2, 4, 2);
    l->setSpacing(6);
    IconButton3 = new QToolButton(strip);
    IconButton3->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
    IconButton3->setAutoRaise(true);
    IconButton3->setCursor(Qt::PointingHandCursor);
    connect(IconButton3, &QToolButton::clicked, this, &Tfselvan::IconButton3Click);
    titleLabel = new QLabel(strip);
    titleLabel->setFont(pixelFont(sharedtext::ProportionalGothicFont, 16, true));
    titleLabel->setStyleSheet("color: blue;");
    l->addWidget(IconButton3);
    l->addWidget(titleLabel, 1);
    return strip;
}

QWidget *Tfselvan::buildInfoStrip()
{
    auto *strip = new QWidget;
    strip->setObjectName("infoStrip");
    strip->setAttribute(Qt::WA_StyledBackground);
    strip->setStyleSheet(QString("#infoStrip { background: %1; }").arg(InfoStripColour.name()));
    auto *l = new QHBoxLayout(strip);
    l->setContentsMargins(4, 2, 4, 2);
    l->setSpacing(8);
    user_sel = new QPushButton(sharedtext::ChooseBlockButton, strip);
    user_sel->setCursor(Qt::PointingHandCursor);
    connect(user_sel, &QPushButton::clicked, this, &Tfselvan::user_selClick);
    data_name = new QLabel(strip);
    data_name->setFont(pixelFont(sharedtext::ProportionalGothicFont, 16, true));
    data_name->setStyleSheet("color: white;");
    l->addWidget(user_sel);
    l->addWidget(data_name, 1);
    return strip;
}

QWidget *Tfselvan::buildRightPanel()
{
    auto *panel = new QWidget;
    auto *columns = new QHBoxLayout(panel);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(8);

    // The name button and the percentages.
    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    Button3 = new QPushButton(sharedtext::EditNameButton, panel);
    connect(Button3, &QPushButton::clicked, this, &Tfselvan::Button3Click);
    left->addWidget(Button3);
    CheckGroupBox1 = new QGroupBox(UseRatesCaption, panel);
    CheckGroupBox1->setCheckable(true);
    CheckGroupBox1->setChecked(true);
    connect(CheckGroupBox1, &QGroupBox::clicked, this, &Tfselvan::CheckGroupBox1CheckBoxClick);
    auto *pg = new QGridLayout(CheckGroupBox1);
    pg->setContentsMargins(6, 4, 6, 6);
    pg->setHorizontalSpacing(4);
    pg->setVerticalSpacing(3);
    for (int i = 0; i < 6; ++i) {
        auto *label = new QLabel(PercentLabels[i], CheckGroupBox1);
        auto *edit = new TNValEdit(CheckGroupBox1);
        edit->setObjectName(QString("NValEdit%1").arg(i + 1));
        edit->setProperty("tag", i + 1);
        edit->setMaxDigits(4);
        edit->setZeroDisplay(true);
        edit->setEnterNext(true);
        edit->setPrmtNegative(false);
        edit->setFixedWidth(56);
        connect(edit, &TNValEdit::enterPressed, this, [this, i] { NValEdit1KeyPress(i + 1); });
        connect(edit, &TNValEdit::leftTyped, this, [this, i, edit] {
            run([this, i, edit] { session_->percentageLeft(i + 1, Currency::fromDouble(edit->value())); });
        });
        auto *percent = new QLabel("(%)", CheckGroupBox1);
        pg->addWidget(label, i, 0);
        pg->addWidget(edit, i, 1);
        pg->addWidget(percent, i, 2);
        NValEdit[i] = edit;
        percentLabels[2 * i] = label;
        percentLabels[2 * i + 1] = percent;
    }
    left->addWidget(CheckGroupBox1);
    left->addStretch();
    columns->addLayout(left);

    // Rounding, unit, labour mode and the two buttons.
    auto *right = new QVBoxLayout;
    right->setSpacing(4);
    auto *rounding = new QGroupBox(RoundingGroupCaption, panel);
    auto *rl = new QVBoxLayout(rounding);
    rl->setContentsMargins(6, 4, 6, 6);
    rl->setSpacing(3);
    ComboBox2 = roundingListBox(FractionAddendEntries, rounding);
    ComboBox1 = roundingListBox(SignificantCodeEntries, rounding);
    ComboBox3 = roundingListBox(SignificantAddendEntries, rounding);
    connect(ComboBox1, &QComboBox::activated, this, &Tfselvan::ComboBox1Click);
    connect(ComboBox2, &QComboBox::activated, this, &Tfselvan::ComboBox2Click);
    connect(ComboBox3, &QComboBox::activated, this, &Tfselvan::ComboBox3Click);
    for (QComboBox *c : {ComboBox2, ComboBox1, ComboBox3})
        rl->addWidget(c);
    right->addWidget(rounding);

    auto *unit = new QGroupBox(UnitGroupCaption, panel);
    auto *ul = new QVBoxLayout(unit);
    ul->setContentsMargins(6, 4, 6, 6);
    ci = unitBox(unit);
    connect(ci, &QComboBox::activated, this, &Tfselvan::ciClick);
    connect(ci->lineEdit(), &QLineEdit::textEdited, this, &Tfselvan::ciChange);
    ul->addWidget(ci);
    right->addWidget(unit);

    RadioGroup1 = new QGroupBox("労務費", panel);
    auto *radioLayout = new QHBoxLayout(RadioGroup1);
    radioLayout->setContentsMargins(6, 4, 6, 6);
    auto *radios = new QButtonGroup(RadioGroup1);
    for (int i = 0; i < 2; ++i) {
        labourModes[i] = new QRadioButton(selvan::LabourModeEntries[i], RadioGroup1);
        radios->addButton(labourModes[i], i);
        radioLayout->addWidget(labourModes[i]);
    }
    labourModes[1]->setChecked(true);
    connect(radios, &QButtonGroup::idClicked, this, &Tfselvan::RadioGroup1Click);
    right->addWidget(RadioGroup1);

    auto *buttons = new QHBoxLayout;
    Button1 = new QPushButton(sharedtext::RegisterButton, panel);
    Button2 = new QPushButton(sharedtext::CancelButton, panel);
    for (QPushButton *b : {Button1, Button2}) {
        b->setCursor(Qt::PointingHandCursor);
        buttons->addWidget(b);
    }
    connect(Button1, &QPushButton::clicked, this, &Tfselvan::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QWidget::close);
    right->addStretch();
    right->addLayout(buttons);
    columns->addLayout(right);
    return panel;
}

void Tfselvan::buildWidgets()
{
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(buildTitleStrip());
    outer->addWidget(buildInfoStrip());
    // Hidden until another program changes the block under unsaved edits.
    changedBar = new ChangedOutsideBar(central);
    connect(changedBar->reloadButton, &QPushButton::clicked, this, [this] { run([this] { session_->barReloadClicked(); }); });
    connect(changedBar->closeButton, &QPushButton::clicked, this, [this] { run([this] { session_->barCloseClicked(); }); });
    outer->addWidget(changedBar);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(4, 4, 4, 2);
    body->setSpacing(0);
    TabControl1 = new QTabBar(central);
    TabControl1->setExpanding(false);
    TabControl1->setDrawBase(false);
    for (const char *t : PriceTabCaptions)
        TabControl1->addTab(t);
    connect(TabControl1, &QTabBar::currentChanged, this, &Tfselvan::TabControl1Change);
    body->addWidget(TabControl1);

    // The page of the tab control: the grid on the left, the controls on the right.
    auto *page = new QFrame(central);
    page->setFrameShape(QFrame::StyledPanel);
    auto *pageLayout = new QHBoxLayout(page);
    pageLayout->setContentsMargins(6, 6, 6, 6);
    pageLayout->setSpacing(8);
    StrColGrid1 = new TStrColGrid(page);
    setupEquipmentGrid(StrColGrid1->Model());
    StrColGrid1->setFont(toQFont(StrColGrid1->Model().Font()));
    StrColGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StrColGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StrColGrid1->setFixedSize(StrColGrid1->Model().contentWidth() + 2 * StrColGrid1->frameWidth(),
                              StrColGrid1->Model().contentHeight() + 2 * StrColGrid1->frameWidth());
    connect(StrColGrid1, &TStrColGrid::keyDown, this, &Tfselvan::StrColGrid1KeyDown, Qt::DirectConnection);
    connect(StrColGrid1, &TStrColGrid::editorTextStored, this, &Tfselvan::StrColGrid1TextStored);
    connect(StrColGrid1, &TStrColGrid::gridClick, this, &Tfselvan::StrColGrid1Click);
    pageLayout->addWidget(StrColGrid1, 0, Qt::AlignTop);
    pageLayout->addWidget(buildRightPanel(), 1);
    body->addWidget(page, 1);
    outer->addLayout(body, 1);
    setCentralWidget(central);

    StatusBar1 = addStatusPanels(this); // the four run-state panels
}

void Tfselvan::buildMenus()
{
    // One Esc shortcut for the window; the menus show it beside their exit items.
    exitAction = new QAction(sharedtext::ExitItem, this);
    exitAction->setShortcut(QKeySequence(Qt::Key_Escape));
    exitAction->setShortcutContext(Qt::WindowShortcut);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    addAction(exitAction);
    const auto exitItem = [this](QMenu *menu, const char *text) {
        menu->addAction(QString(text) + "\tEsc", this, &QWidget::close);
    };

    otherMenu = new QMenu(this);
    exitItem(otherMenu, sharedtext::ExitItem); // MenuItem1
    for (QWidget *w : std::initializer_list<QWidget *>{
             user_sel, data_name, TabControl1, Button3, CheckGroupBox1, ComboBox1, ComboBox2, ComboBox3, ci,
             RadioGroup1, Button1, Button2, titleLabel, IconButton3, NValEdit[0], NValEdit[1], NValEdit[2],
             NValEdit[3], NValEdit[4], NValEdit[5], labourModes[0], labourModes[1]}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint &p) {
            otherMenu->exec(w->mapToGlobal(p));
        });
    }
    ci->lineEdit()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ci->lineEdit(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { otherMenu->exec(ci->lineEdit()->mapToGlobal(p)); });

    gridMenu = new QMenu(this);
    const auto addHistory = [this] {
        addHistoryActions(this, gridMenu,
                          {[this] { run([this] { session_->undo(); }); }, [this] { run([this] { session_->redo(); }); },
                           [this] { return session_->canUndo(); }, [this] { return session_->canRedo(); }});
    };
    const auto addPriceLists = [this] {
        gridMenu->addAction(sharedtext::PrintPriceListItem, this, [this] { run([this] { session_->printPriceList(); }); });
        gridMenu->addAction(sharedtext::CsvPriceListItem, this, [this] { run([this] { session_->exportPriceListCsv(); }); });
        gridMenu->addAction(sharedtext::XlsxPriceListItem, this,
                            [this] { run([this] { session_->exportPriceListXlsx(); }); });
    };
    if (session_->gridMenu() == GridMenu::Piping) {
        gridMenu->addAction(SizeSetFrom13Item, this, &Tfselvan::N1Click);
        gridMenu->addAction(SizeSetFrom15Item, this, &Tfselvan::N2Click);
        gridMenu->addSeparator();
        gridMenu->addAction(sharedtext::CopyAllItem, this, &Tfselvan::N5Click);
        gridMenu->addAction(sharedtext::PasteAllItem, this, &Tfselvan::N8Click);
        gridMenu->addAction(sharedtext::PasteFromSheetItem, this, [this] { run([this] { session_->pasteFromSheet(); }); });
        gridMenu->addAction(sharedtext::ImportPriceListItem, this, [this] { run([this] { session_->importPriceList(); }); });
        gridMenu->addAction(sharedtext::RevisionItem, this, [this] { run([this] { session_->revisePrices(); }); });
        gridMenu->addAction("以前の版…", this, [this] { run([this] { session_->earlierVersions(); }); });
        gridMenu->addSeparator();
        gridMenu->addAction(selvan::CopyInstallationItem, this, &Tfselvan::N9Click);
        gridMenu->addAction(selvan::PasteInstallationItem, this, &Tfselvan::N13Click);
        gridMenu->addSeparator();
        addPriceLists();
        gridMenu->addSeparator();
        addHistory();
        gridMenu->addSeparator();
        exitItem(gridMenu, sharedtext::GridExitItem); // N11
    } else {
        gridMenu->addAction(selvan::CopyInstallationItem, this, &Tfselvan::N9Click);
        gridMenu->addAction(selvan::PasteInstallationItem, this, &Tfselvan::N13Click);
        gridMenu->addAction(selvan::UnifyInstallationItem, this, &Tfselvan::N131Click);
        gridMenu->addSeparator();
        gridMenu->addAction(sharedtext::CopyAllItem, this, &Tfselvan::N5Click);
        gridMenu->addAction(sharedtext::PasteAllItem, this, &Tfselvan::N8Click);
        gridMenu->addAction(sharedtext::PasteFromSheetItem, this, [this] { run([this] { session_->pasteFromSheet(); }); });
        gridMenu->addAction(sharedtext::ImportPriceListItem, this, [this] { run([this] { session_->importPriceList(); }); });
        gridMenu->addAction(sharedtext::RevisionItem, this, [this] { run([this] { session_->revisePrices(); }); });
        gridMenu->addAction("以前の版…", this, [this] { run([this] { session_->earlierVersions(); }); });
        gridMenu->addSeparator();
        addPriceLists();
        gridMenu->addSeparator();
        addHistory();
        gridMenu->addSeparator();
        exitItem(gridMenu, sharedtext::GridExitItem); // N17
    }
    StrColGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(StrColGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { gridMenu->exec(StrColGrid1->viewport()->mapToGlobal(p)); });
}

} // namespace velmo
