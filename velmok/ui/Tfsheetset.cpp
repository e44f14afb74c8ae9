// The GUI-free headers come before Qt's, whose "slots" keyword would clash with a record field.
#include "velmok/session/grid_editing.h"
#include "desktop/WindowFit.h"
#include "velmok/core/sheet_setup.h"

#include "velmok/ui/Tfsheetset.h"

#include "velmok/ui/DialogParts.h"
#include "velmok/ui/TFtankaregistParts.h"
#include "grid/ui/TStrColGrid.h"
#include "desktop/TextLimit.h"
#include "pricefile/record_head.h"
#include "desktop/VelmoApplication.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmo {

using namespace mainwindow;
using dialogparts::radioGroup;

namespace {

constexpr int SizeColWidths[2] = {34, 92};

// An editable list whose text goes into a file field of `bytes` bytes.
QComboBox *listBox(const std::vector<const char *> &entries, const std::string &text, size_t bytes, int minWidth,
                   QWidget *parent)
{
    auto *c = new QComboBox(parent);
    c->setEditable(true);
    limitToFieldBytes(c->lineEdit(), bytes);
    c->setInsertPolicy(QComboBox::NoInsert);
    for (const char *e : entries)
        c->addItem(e);
    c->setCurrentIndex(-1);
    c->setEditText(q(text));
    c->setMinimumWidth(minWidth);
    return c;
}

// A text shown in a white box that opens an input box when clicked (or pressed with Space).
QPushButton *textBox(const std::string &text, QWidget *parent)
{
    auto *b = new QPushButton(q(text), parent);
    b->setStyleSheet("QPushButton { text-align: left; padding: 3px 6px; background: white; "
                     "border: 1px solid #8e8ca2; min-height: 18px; }"
                     "QPushButton:focus { border: 1px solid #2c2a58; }");
    b->setAutoDefault(false);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

} // namespace

Tfsheetset::Tfsheetset(SheetSetup setup, UserInterface &ui, QWidget *parent)
    : QDialog(parent), setup_(std::make_unique<SheetSetup>(std::move(setup))), ui_(ui)
{
    static_assert(std::tuple_size_v<decltype(kind)> == LocationsPerPipe);
    setWindowTitle(SheetSetup::Caption);
    setModal(true);
    auto *outer = new QVBoxLayout(this);
    outer->setSpacing(6);
    buildTexts(this);

    auto *middle = new QHBoxLayout;
    middle->setSpacing(8);
    middle->addWidget(buildSizes(this), 0, Qt::AlignTop);
    auto *right = new QVBoxLayout;
    right->addWidget(buildLocations(this));
    right->addWidget(buildSettings(this));
    right->addStretch();
    middle->addLayout(right, 1);
    outer->addLayout(middle);

    QHBoxLayout *buttons =
        dialogparts::buttonRow(this, SheetSetup::RegisterCaption, SheetSetup::ExitCaption, IconButton6, IconButton4);
    ConnectCommand(IconButton6, &QPushButton::clicked, this, [this](bool) { IconButton6Click(); });
    ConnectCommand(IconButton4, &QPushButton::clicked, this, [this](bool) { reject(); });
    outer->addLayout(buttons);
    GOODSBOX->setFocus();
    fitToScreen(this);
}

Tfsheetset::~Tfsheetset() = default;

void Tfsheetset::buildTexts(QWidget *page)
{
    auto *outer = static_cast<QVBoxLayout *>(layout());
    auto *names = new QGridLayout;
    names->setHorizontalSpacing(6);
    names->setVerticalSpacing(3);
    GOODSBOX = listBox(SheetSetup::PipeNameEntries, setup_->text(SheetSetup::Text::PipeName), RecordHead::NameBytes, 460, page);
    ComboBox2 = listBox(SheetSetup::UsesEntries, setup_->text(SheetSetup::Text::Uses), RecordHead::NameBytes, 460, page);
    ComboBox3 = listBox(SheetSetup::JointEntries, setup_->text(SheetSetup::Text::Joint), RecordHead::NameBytes, 460, page);
    const char *labels[] = {"管材名称", "用　　途", "接合方法"};
    QComboBox *boxes[] = {GOODSBOX, ComboBox2, ComboBox3};
    for (int i = 0; i < 3; ++i) {
        names->addWidget(new QLabel(labels[i], page), i, 0);
        names->addWidget(boxes[i], i, 1);
    }
    names->setColumnStretch(1, 1);
    outer->addLayout(names);

    auto *memos = new QHBoxLayout;
    const std::pair<const char *, SheetSetup::Text> memoGroups[] = {{"材料単価建物", SheetSetup::Text::MaterialMemo},
                                                                    {"ペ－ジ", SheetSetup::Text::PageMemo}};
    for (const auto &[title, which] : memoGroups) {
        auto *box = new QGroupBox(title, page);
        auto *l = new QHBoxLayout(box);
        l->setContentsMargins(6, 2, 6, 4);
        QPushButton *b = textBox(setup_->text(which), box);
        l->addWidget(b);
        (which == SheetSetup::Text::MaterialMemo ? StaticText1 : StaticText2) = b;
        ConnectCommand(b, &QPushButton::clicked, this, [this, b, which = which](bool) {
            setup_->editMemo(which, ui_);
            b->setText(q(setup_->text(which)));
        });
        memos->addWidget(box, which == SheetSetup::Text::MaterialMemo ? 2 : 1);
    }
    outer->addLayout(memos);
}

QWidget *Tfsheetset::buildSizes(QWidget *page)
{
    auto *box = new QGroupBox("サイズセット", page);
    auto *l = new QVBoxLayout(box);
    l->setContentsMargins(6, 2, 6, 6);
    StrColGrid1 = new TStrColGrid(box);
    TStrColGrid *g = StrColGrid1;
    g->SetColCount(2);
    g->SetRowCount(GridRows);
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SetFixedColor(FixedCellColor);
    g->SetOptions(g->Options() | goEditing);
    g->Model().TextByteLimit = [](int col, int row) { return col == 1 && isSizeRow(row) ? RecordHead::SizeBytes : size_t{0}; };
    for (int c = 0; c < 2; ++c)
        g->SetColWidths(c, SizeColWidths[c]);
    for (int r = 0; r < GridRows; ++r) {
        g->SetRowHeights(r, RowHeight);
        for (int c = 0; c < 2; ++c) {
            const bool fixed = r == 0 || c == 0;
            g->SetCellAlignment(c, r, fixed ? taCenter : taLeftJustify);
            g->SetCellFontColor(c, r, fixed ? Qt::white : Qt::black);
        }
        if (r > 0)
            g->SetCells(0, r, QString::number(r));
    }
    g->SetCells(0, 0, "No");
    g->SetCells(1, 0, "サイズ");
    g->setFixedSize(SizeColWidths[0] + SizeColWidths[1] + 2 + 2 * g->frameWidth() + 1,
                    GridRows * (RowHeight + 1) + 2 * g->frameWidth() + 1);
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(g, &TStrColGrid::editorTextStored, this, [this](int col, int row) {
        if (col == 1 && isSizeRow(row))
            setup_->sizes[static_cast<size_t>(row - 1)] = StrColGrid1->Cells(col, row).toStdString();
    });
    showSizes();
    auto *grid = new QHBoxLayout;
    grid->addWidget(g);
    auto *sets = new QVBoxLayout;
    sets->setSpacing(3);
    for (size_t i = 0; i < sizeSetButtons.size(); ++i) {
        auto *b = new QPushButton(SheetSetup::SizeSetCaptions[i], box);
        b->setAutoDefault(false);
        sizeSetButtons[i] = b;
        ConnectCommand(b, &QPushButton::clicked, this, [this, i](bool) {
            StrColGrid1->CloseEditor();
            setup_->applySizeSet(static_cast<SheetSetup::SizeSet>(i));
            showSizes();
        });
        sets->addWidget(b);
    }
    sets->addStretch();
    grid->addLayout(sets);
    l->addLayout(grid);
    return box;
}

QWidget *Tfsheetset::buildLocations(QWidget *page)
{
    auto *row = new QWidget(page);
    auto *rl = new QHBoxLayout(row);
    rl->setContentsMargins(0, 0, 0, 0);
    auto *box = new QGroupBox("細目[配管モード時]", row);
    auto *l = new QGridLayout(box);
    l->setContentsMargins(6, 2, 6, 6);
    l->setVerticalSpacing(3);
    for (int i = 0; i < LocationsPerPipe; ++i) {
        QPushButton *b = textBox(setup_->locationNames[static_cast<size_t>(i)], box);
        b->setObjectName(QString("kind%1").arg(i + 1));
        b->setMinimumWidth(180);
        kind[static_cast<size_t>(i)] = b;
        l->addWidget(new QLabel(QString::number(i + 1), box), i, 0);
        l->addWidget(b, i, 1);
        ConnectCommand(b, &QPushButton::clicked, this, [this, i](bool) {
            setup_->editLocationName(i, ui_);
            showLocationNames();
        });
    }
    SpeedButton5 = new QPushButton(SheetSetup::SetLocationsCaption, box);
    SpeedButton6 = new QPushButton(SheetSetup::ClearLocationsCaption, box);
    for (QPushButton *b : {SpeedButton5, SpeedButton6})
        b->setAutoDefault(false);
    l->addWidget(SpeedButton5, 0, 2);
    l->addWidget(SpeedButton6, 1, 2);
    ConnectCommand(SpeedButton5, &QPushButton::clicked, this, [this](bool) {
        setup_->setDefaultLocationNames();
        showLocationNames();
    });
    ConnectCommand(SpeedButton6, &QPushButton::clicked, this, [this](bool) {
        setup_->clearLocationNames();
        showLocationNames();
    });
    l->setColumnStretch(1, 1);
    rl->addWidget(box, 1);

    auto *unit = new QGroupBox("単位", row);
    auto *ul = new QVBoxLayout(unit);
    ul->setContentsMargins(6, 2, 6, 6);
    ComboBox1 = listBox(SheetSetup::UnitEntries, setup_->unit, RecordHead::UnitBytes, 80, unit);
    ul->addWidget(ComboBox1);
    ul->addStretch();
    rl->addWidget(unit, 0);
    return row;
}

QWidget *Tfsheetset::buildSettings(QWidget *page)
{
    auto *w = new QWidget(page);
    auto *gl = new QGridLayout(w);
    gl->setContentsMargins(0, 0, 0, 0);
    gl->setSpacing(6);
    gl->addWidget(radioGroup("計算処理", SheetSetup::ScaleCaptions, scaleRadios, setup_->scale, 1, w,
                             [this](int i) { setup_->scale = i; }),
                  0, 0, 1, 2);
    gl->addWidget(radioGroup("モード", SheetSetup::ModeCaptions, modeRadios, setup_->mode, 1, w,
                             [this](int i) { setup_->mode = i; }),
                  0, 2);
    gl->addWidget(radioGroup("小数以下処理", SheetSetup::AddendCaptions, fracAddendRadios, setup_->fracAddend, 1, w,
                             [this](int i) { setup_->fracAddend = i; }),
                  1, 0);
    gl->addWidget(radioGroup("有効桁以下", SheetSetup::AddendCaptions, sigAddendRadios, setup_->sigAddend, 1, w,
                             [this](int i) { setup_->sigAddend = i; }),
                  1, 1);
    gl->addWidget(radioGroup("採用有効桁設定", SheetSetup::CodeCaptions, codeRadios, setup_->code, 2, w,
                             [this](int i) { setup_->code = i; }),
                  1, 2);
    return w;
}

void Tfsheetset::showSizes()
{
    for (int k = 1; k <= SizeRowsPerLocation; ++k)
        StrColGrid1->SetCells(1, k, q(setup_->sizes[static_cast<size_t>(k - 1)]));
}

void Tfsheetset::showLocationNames()
{
    for (size_t i = 0; i < kind.size(); ++i)
        kind[i]->setText(q(setup_->locationNames[i]));
}

void Tfsheetset::readWidgets()
{
    StrColGrid1->CloseEditor();
    setup_->text(SheetSetup::Text::PipeName) = GOODSBOX->currentText().toStdString();
    setup_->text(SheetSetup::Text::Uses) = ComboBox2->currentText().toStdString();
    setup_->text(SheetSetup::Text::Joint) = ComboBox3->currentText().toStdString();
    setup_->unit = ComboBox1->currentText().toStdString();
}

void Tfsheetset::IconButton6Click()
{
    readWidgets();
    accept();
}

} // namespace velmo
