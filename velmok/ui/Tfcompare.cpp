#include "velmok/ui/Tfcompare.h"

#include "desktop/VelmoApplication.h"
#include "desktop/WindowFit.h"
#include "velmok/exports/file_comparison.h"
#include "velmok/core/velmok_texts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmo {

Tfcompare::Tfcompare(FileComparison &comparison, QWidget *parent) : QDialog(parent), comparison_(comparison)
{
    setWindowTitle(QString::fromStdString(comparison.title()));
    setModal(true);
    auto *outer = new QVBoxLayout(this);

    countLabel = new QLabel(QString::fromStdString(comparison.countText()), this);
    outer->addWidget(countLabel);

    const std::vector<std::string> &headings = comparison.headings();
    table = new QTableWidget(static_cast<int>(comparison.rowCount()), static_cast<int>(headings.size()), this);
    QStringList labels;
    for (const std::string &h : headings)
        labels << QString::fromStdString(h);
    table->setHorizontalHeaderLabels(labels);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    for (size_t r = 0; r < comparison.rowCount(); ++r) {
        const std::vector<std::string> texts = comparison.rowTexts(r);
        const std::vector<bool> figures = comparison.rowFigures(r);
        for (size_t c = 0; c < texts.size(); ++c) {
            auto *item = new QTableWidgetItem(QString::fromStdString(texts[c]));
            item->setTextAlignment(Qt::AlignVCenter | (figures[c] ? Qt::AlignRight : Qt::AlignLeft));
            table->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    outer->addWidget(table, 1);

    auto *buttons = new QHBoxLayout;
    csvButton = new QPushButton(velmoktext::CompareCsvButton, this);
    xlsxButton = new QPushButton(velmoktext::CompareXlsxButton, this);
    closeButton = new QPushButton(velmoktext::CompareCloseButton, this);
    for (QPushButton *b : {csvButton, xlsxButton, closeButton})
        b->setMinimumWidth(120);
    closeButton->setDefault(true);
    buttons->addWidget(csvButton);
    buttons->addWidget(xlsxButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    outer->addLayout(buttons);
    connect(csvButton, &QPushButton::clicked, this, &Tfcompare::csvButtonClick);
    connect(xlsxButton, &QPushButton::clicked, this, &Tfcompare::xlsxButtonClick);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

void Tfcompare::csvButtonClick()
{
    runCommand([this] { comparison_.exportCsv(); });
}

void Tfcompare::xlsxButtonClick()
{
    runCommand([this] { comparison_.exportXlsx(); });
}

void Tfcompare::showModal(QWidget *parent, FileComparison &comparison)
{
    Tfcompare dialog(comparison, parent);
    // As wide as the table's columns, as high as the work area allows.
    int width = dialog.table->verticalHeader()->width() + 40;
    for (int c = 0; c < dialog.table->columnCount(); ++c)
        width += dialog.table->columnWidth(c);
    fitToScreen(&dialog, QSize(width, 640));
    dialog.exec();
}

} // namespace velmo
