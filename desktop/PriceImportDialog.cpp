#include "desktop/PriceImportDialog.h"

#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "pricework/price_import.h"
#include "desktop/WindowFit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmo {

namespace {

QString q(const std::string &s) { return QString::fromStdString(s); }

} // namespace

PriceImportDialog::PriceImportDialog(PriceImportChoice &choice, QWidget *parent) : QDialog(parent), choice_(choice)
{
    setWindowTitle(sharedtext::ImportPriceListTitle);
    auto *top = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    sheets_ = new QComboBox(this);
    sizeColumn_ = new QComboBox(this);
    priceColumn_ = new QComboBox(this);
    for (const std::string &name : choice_.sheetNames())
        sheets_->addItem(q(name));
    // A text file has one sheet without a name: there is nothing to choose.
    sheets_->setEnabled(choice_.sheetNames().size() > 1);
    form->addRow(sharedtext::SheetLabel, sheets_);
    form->addRow(sharedtext::SizeColumnLabel, sizeColumn_);
    form->addRow(sharedtext::PriceColumnLabel, priceColumn_);
    top->addLayout(form);
    sheetNote_ = new QLabel(q(choice_.sheetNote()), this);
    sheetNote_->setWordWrap(true);
    sheetNote_->setVisible(!choice_.sheetNote().empty());
    top->addWidget(sheetNote_);

    table_ = new QTableWidget(0, 3, this);
    table_->setHorizontalHeaderLabels({sharedtext::ImportSizeHeading, sharedtext::OldListPriceHeading,
                                       sharedtext::NewListPriceHeading});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->verticalHeader()->setDefaultSectionSize(20);
    table_->setMinimumHeight(20 * 15 + 6);
    top->addWidget(table_, 2);
    counts_ = new QLabel(this);
    counts_->setWordWrap(true);
    top->addWidget(counts_);
    report_ = new QPlainTextEdit(this);
    report_->setReadOnly(true);
    report_->setMinimumHeight(90);
    top->addWidget(report_, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    import_ = new QPushButton(sharedtext::ImportButton, this);
    cancel_ = new QPushButton(sharedtext::CancelButton, this);
    import_->setDefault(true);
    buttons->addWidget(import_);
    buttons->addWidget(cancel_);
    top->addLayout(buttons);
    connect(import_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    connect(sheets_, &QComboBox::currentIndexChanged, this, [this](int i) {
        choice_.chooseSheet(i);
        sheetNote_->setVisible(false);
        fillColumns();
        showPreview();
    });
    connect(sizeColumn_, &QComboBox::currentIndexChanged, this, [this](int i) {
        choice_.chooseSizeColumn(i);
        showPreview();
    });
    connect(priceColumn_, &QComboBox::currentIndexChanged, this, [this](int i) {
        choice_.choosePriceColumn(i);
        showPreview();
    });
    {
        const QSignalBlocker block(sheets_);
        sheets_->setCurrentIndex(choice_.sheet());
    }
    fillColumns();
    showPreview();
    fitToScreen(this, QSize(560, 640));
}

void PriceImportDialog::fillColumns()
{
    const QSignalBlocker a(sizeColumn_), b(priceColumn_);
    sizeColumn_->clear();
    priceColumn_->clear();
    for (const std::string &c : choice_.columnTexts()) {
        sizeColumn_->addItem(q(c));
        priceColumn_->addItem(q(c));
    }
    sizeColumn_->setCurrentIndex(choice_.sizeColumn());
    priceColumn_->setCurrentIndex(choice_.priceColumn());
}

void PriceImportDialog::showPreview()
{
    const auto rows = choice_.sizeRows();
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        table_->removeCellWidget(r, 2);
        for (int c = 0; c < 3; ++c) {
            auto *item = new QTableWidgetItem(q(rows[r][c]));
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, item);
        }
    }
    // A size that several rows of the list price: the rows to choose from, the one taken shown.
    for (const size_t size : choice_.preview().sizesWithChoice()) {
        auto *rowList = new QComboBox(table_);
        const SizePrice &s = choice_.preview().sizes[size];
        for (const std::string &text : choice_.rowChoiceTexts(size))
            rowList->addItem(q(text));
        for (int k = 0; k < static_cast<int>(s.rows.size()); ++k)
            if (s.rows[static_cast<size_t>(k)].row == s.sheetRow)
                rowList->setCurrentIndex(k);
        connect(rowList, &QComboBox::currentIndexChanged, this, [this, size](int k) {
            const auto &taken = choice_.preview().sizes[size].rows;
            if (k < 0 || k >= static_cast<int>(taken.size()))
                return;
            choice_.chooseRow(size, taken[static_cast<size_t>(k)].row);
            // The lists stay; the other sizes of that size and the summary follow.
            const auto now = choice_.sizeRows();
            for (int r = 0; r < static_cast<int>(now.size()); ++r)
                table_->item(r, 2)->setText(q(now[static_cast<size_t>(r)][2]));
            showSummary();
        });
        table_->setCellWidget(static_cast<int>(size), 2, rowList);
    }
    showSummary();
}

QComboBox *PriceImportDialog::rowList(int row) const { return qobject_cast<QComboBox *>(table_->cellWidget(row, 2)); }

void PriceImportDialog::showSummary()
{
    counts_->setText(q(choice_.countsText()));
    report_->setPlainText(q(choice_.report()));
    import_->setEnabled(choice_.canImport());
}

} // namespace velmo
