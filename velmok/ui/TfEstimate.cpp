#include "velmok/ui/TfEstimate.h"

#include "desktop/VelmoApplication.h"
#include "desktop/WindowFit.h"
#include "velmok/core/velmok_texts.h"
#include "velmok/estimate/estimate_session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmo {

using estimate::AmountRound;
using estimate::PreviewLine;

TfEstimate::TfEstimate(estimate::EstimateSession &session, QWidget *parent) : QDialog(parent), session_(session)
{
    setWindowTitle(velmoktext::EstimateDialogTitle);
    setModal(true);
    auto *outer = new QVBoxLayout(this);

    auto *note = new QLabel(velmoktext::EstimateShownNote, this);
    note->setWordWrap(true);
    outer->addWidget(note);

    auto *listRow = new QHBoxLayout;
    chooseButton = new QPushButton(velmoktext::EstimateChooseButton, this);
    listLabel = new QLabel(this);
    listLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    listRow->addWidget(chooseButton);
    listRow->addWidget(listLabel, 1);
    outer->addLayout(listRow);

    auto *choices = new QHBoxLayout;
    choices->addWidget(new QLabel(velmoktext::EstimateBasisCaption, this));
    basisBox = new QComboBox(this);
    for (int b = 1; b <= BasisCount; ++b)
        basisBox->addItem(QString::fromUtf8(basisLabel(basisAt(b))));
    basisBox->setCurrentIndex(basisNumber(session.options().basis) - 1);
    choices->addWidget(basisBox);
    choices->addSpacing(16);
    choices->addWidget(new QLabel(velmoktext::EstimateRoundCaption, this));
    roundBox = new QComboBox(this);
    for (const char *name : velmoktext::EstimateRoundNames)
        roundBox->addItem(QString::fromUtf8(name));
    roundBox->setCurrentIndex(static_cast<int>(session.options().round));
    choices->addWidget(roundBox);
    choices->addSpacing(16);
    costCheck = new QCheckBox(velmoktext::EstimateCostCheck, this);
    costCheck->setChecked(session.options().cost);
    choices->addWidget(costCheck);
    choices->addStretch();
    outer->addLayout(choices);

    table = new QTableWidget(this);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    outer->addWidget(table, 3);
    countLabel = new QLabel(this);
    outer->addWidget(countLabel);
    unmatchedTable = new QTableWidget(0, 2, this);
    unmatchedTable->setHorizontalHeaderLabels({QString::fromUtf8(velmoktext::EstimateUnmatchedColumns[0]),
                                               QString::fromUtf8(velmoktext::EstimateUnmatchedColumns[1])});
    unmatchedTable->verticalHeader()->setVisible(false);
    unmatchedTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    unmatchedTable->setWordWrap(false);
    outer->addWidget(unmatchedTable, 1);

    auto *buttons = new QHBoxLayout;
    xlsxButton = new QPushButton(velmoktext::EstimateXlsxButton, this);
    pdfButton = new QPushButton(velmoktext::EstimatePdfButton, this);
    csvButton = new QPushButton(velmoktext::EstimateCsvButton, this);
    closeButton = new QPushButton(velmoktext::CompareCloseButton, this);
    for (QPushButton *b : {xlsxButton, pdfButton, csvButton, closeButton}) {
        b->setMinimumWidth(120);
        b->setAutoDefault(false);
    }
    closeButton->setDefault(true);
    buttons->addWidget(xlsxButton);
    buttons->addWidget(pdfButton);
    buttons->addWidget(csvButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    outer->addLayout(buttons);

    connect(chooseButton, &QPushButton::clicked, this, &TfEstimate::chooseButtonClick);
    connect(basisBox, &QComboBox::activated, this, &TfEstimate::basisBoxChange);
    connect(roundBox, &QComboBox::activated, this, &TfEstimate::roundBoxChange);
    connect(costCheck, &QCheckBox::clicked, this, &TfEstimate::costCheckClick);
    connect(xlsxButton, &QPushButton::clicked, this, [this] { runCommand([this] { session_.exportXlsx(); }); });
    connect(pdfButton, &QPushButton::clicked, this, [this] { runCommand([this] { session_.exportPdf(); }); });
    connect(csvButton, &QPushButton::clicked, this, [this] { runCommand([this] { session_.exportCsv(); }); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    showEstimate();
}

QColor TfEstimate::unmatchedColor() { return QColor(200, 0, 0); }

void TfEstimate::chooseButtonClick()
{
    runCommand([this] { session_.chooseList(); });
    showEstimate();
}

void TfEstimate::basisBoxChange(int index)
{
    runCommand([this, index] { session_.setBasis(basisAt(index + 1)); });
    showEstimate();
}

void TfEstimate::roundBoxChange(int index)
{
    runCommand([this, index] { session_.setRound(static_cast<AmountRound>(index)); });
    showEstimate();
}

void TfEstimate::costCheckClick(bool checked)
{
    runCommand([this, checked] { session_.setCost(checked); });
    showEstimate();
}

void TfEstimate::showEstimate()
{
    listLabel->setText(QString::fromStdString(session_.listText()));
    countLabel->setText(QString::fromStdString(session_.countsText()));
    const bool priced = session_.hasEstimate();
    for (QPushButton *b : {xlsxButton, pdfButton, csvButton})
        b->setEnabled(priced);

    const std::vector<std::string> headings = session_.previewHeadings();
    const std::vector<PreviewLine> lines = session_.previewLines();
    table->clear();
    table->setColumnCount(static_cast<int>(headings.size()));
    table->setRowCount(static_cast<int>(lines.size()));
    QStringList labels;
    for (const std::string &h : headings)
        labels << QString::fromStdString(h);
    table->setHorizontalHeaderLabels(labels);
    for (size_t r = 0; r < lines.size(); ++r) {
        const PreviewLine &l = lines[r];
        const bool sum = l.kind == PreviewLine::Kind::Subtotal || l.kind == PreviewLine::Kind::Total;
        for (size_t c = 0; c < l.texts.size(); ++c) {
            auto *item = new QTableWidgetItem(QString::fromStdString(l.texts[c]));
            item->setTextAlignment(Qt::AlignVCenter | (l.figures[c] ? Qt::AlignRight : Qt::AlignLeft));
            if (sum) {
                QFont f = item->font();
                f.setBold(true);
                item->setFont(f);
            }
            table->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);

    const std::vector<std::array<std::string, 2>> unmatched = session_.unmatchedLines();
    unmatchedTable->setRowCount(static_cast<int>(unmatched.size()));
    for (size_t r = 0; r < unmatched.size(); ++r)
        for (int c = 0; c < 2; ++c) {
            auto *item = new QTableWidgetItem(QString::fromStdString(unmatched[r][static_cast<size_t>(c)]));
            item->setForeground(unmatchedColor());
            unmatchedTable->setItem(static_cast<int>(r), c, item);
        }
    unmatchedTable->resizeColumnsToContents();
    unmatchedTable->horizontalHeader()->setStretchLastSection(true);
}

void TfEstimate::showModal(QWidget *parent, estimate::EstimateSession &session)
{
    TfEstimate dialog(session, parent);
    fitToScreen(&dialog, QSize(1100, 640));
    dialog.exec();
}

} // namespace velmo
