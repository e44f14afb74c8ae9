#include "desktop/EarlierVersionsDialog.h"

#include "base/errors.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmo {

namespace {

QString q(const std::string &s) { return QString::fromStdString(s); }

QTableWidget *table(QWidget *parent, const std::vector<std::string> &headings)
{
    auto *t = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    QStringList labels;
    for (const std::string &h : headings)
        labels << q(h);
    t->setHorizontalHeaderLabels(labels);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

} // namespace

EarlierVersionsDialog::EarlierVersionsDialog(QWidget *parent, const VersionListView &list, VersionComparer compare)
    : QDialog(parent), compare_(std::move(compare)), prompt_(list.prompt)
{
    setWindowTitle(q(list.title));
    versions_ = table(this, list.headings);
    versions_->setRowCount(static_cast<int>(list.rows.size()));
    for (int r = 0; r < static_cast<int>(list.rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(list.rows[static_cast<size_t>(r)].size()); ++c) {
            // The version's number and its count of changed prices read as figures: right-aligned.
            auto *item = new QTableWidgetItem(q(list.rows[static_cast<size_t>(r)][static_cast<size_t>(c)]));
            static const QRegularExpression figure(QStringLiteral("^[0-9,]+$"));
            if (figure.match(item->text()).hasMatch())
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            versions_->setItem(r, c, item);
        }
    versions_->resizeColumnsToContents();
    auto *skipped = new QLabel(this);
    skipped->setWordWrap(true);
    QStringList lines;
    for (const std::string &s : list.skipped)
        lines << q(s);
    skipped->setText(lines.join("\n"));
    skipped->setVisible(!lines.isEmpty());

    changes_ = table(this, {});
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    restore_ = buttons->addButton("元に戻す", QDialogButtonBox::AcceptRole);
    buttons->addButton("閉じる", QDialogButtonBox::RejectRole);
    restore_->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!current_)
            return;
        chosen_ = current_;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(versions_, &QTableWidget::currentCellChanged, this, [this](int row) { showComparison(row); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(versions_, 2);
    layout->addWidget(skipped);
    layout->addWidget(summary_);
    layout->addWidget(changes_, 3);
    layout->addWidget(buttons);
    const int em = fontMetrics().horizontalAdvance(QChar(0x3042));
    resize(em * 56, em * 36);
    showComparison(-1);
}

void EarlierVersionsDialog::showComparison(int row)
{
    current_.reset();
    restore_->setEnabled(false);
    changes_->setRowCount(0);
    if (row < 0) {
        summary_->setText(q(prompt_));
        return;
    }
    try {
        const VersionComparisonView v = compare_(static_cast<size_t>(row));
        QStringList labels;
        for (const std::string &h : v.headings)
            labels << q(h);
        changes_->setColumnCount(labels.size());
        changes_->setHorizontalHeaderLabels(labels);
        changes_->setRowCount(static_cast<int>(v.rows.size()));
        for (int r = 0; r < static_cast<int>(v.rows.size()); ++r)
            for (int c = 0; c < static_cast<int>(v.rows[static_cast<size_t>(r)].size()); ++c) {
                auto *item = new QTableWidgetItem(q(v.rows[static_cast<size_t>(r)][static_cast<size_t>(c)]));
                if (v.figures[static_cast<size_t>(r)][static_cast<size_t>(c)])
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                changes_->setItem(r, c, item);
            }
        changes_->resizeColumnsToContents();
        summary_->setText(q(v.text));
        current_ = static_cast<size_t>(row);
        restore_->setEnabled(v.canRestore);
    } catch (const VelmoError &e) {
        summary_->setText(q(e.what()));
    }
}

} // namespace velmo
