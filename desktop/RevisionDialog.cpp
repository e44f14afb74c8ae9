#include "desktop/RevisionDialog.h"

#include "base/shared_texts.h"
#include "base/errors.h"
#include "base/support.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmo {

namespace {

QString q(const std::string &s) { return QString::fromStdString(s); }

QTableWidgetItem *figure(Currency c)
{
    auto *item = new QTableWidgetItem(q(FormatMoney(c)));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

RevisionDialog::RevisionDialog(QWidget *parent, const RevisionDialogText &text, RevisionPreviewer preview)
    : QDialog(parent), preview_(std::move(preview)), blockWord_(text.blockHeading)
{
    setWindowTitle(q(text.caption));
    auto *form = new QFormLayout;
    percent_ = new QLineEdit(this);
    percent_->setPlaceholderText("3 / -2.5");
    form->addRow("改定率（％）", percent_);
    unit_ = new QComboBox(this);
    for (const int64_t u : RevisionUnits)
        unit_->addItem(QString::number(u) + " 円", QString::number(u));
    form->addRow("単位", unit_);
    rounding_ = new QComboBox(this);
    for (const char *r : RevisionRoundingNames)
        rounding_->addItem(r);
    rounding_->setCurrentIndex(static_cast<int>(RevisionRounding::Half));
    form->addRow("端数", rounding_);
    scope_ = new QComboBox(this);
    for (const std::string &s : text.scopes)
        scope_->addItem(q(s));
    form->addRow("対象", scope_);

    table_ = new QTableWidget(0, 5, this);
    table_->setHorizontalHeaderLabels({q(text.blockHeading), "名称", q(text.rowHeading), "改定前", "改定後"});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    run_ = buttons->addButton(sharedtext::YesButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(sharedtext::CancelButton, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!current_)
            return;
        choice_ = current_;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(table_, 1);
    layout->addWidget(summary_);
    layout->addWidget(buttons);

    connect(percent_, &QLineEdit::textChanged, this, [this] { refresh(); });
    for (QComboBox *box : {unit_, rounding_, scope_})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    const int em = fontMetrics().horizontalAdvance(QChar(0x3042));
    resize(em * 50, em * 34);
    refresh();
}

void RevisionDialog::refresh()
{
    current_.reset();
    table_->setRowCount(0);
    run_->setEnabled(false);
    if (percent_->text().trimmed().isEmpty()) {
        summary_->setText("改定率を入力してください（例: 3、-2.5）。");
        return;
    }
    try {
        RevisionChoice c;
        c.revision = parseRevision(percent_->text().trimmed().toStdString(), unit_->currentData().toString().toStdString(),
                                   RevisionRoundingNames[static_cast<size_t>(rounding_->currentIndex())]);
        c.scope = scope_->currentIndex();
        const RevisionPreview p = preview_(c);
        table_->setRowCount(static_cast<int>(p.prices.size()));
        for (int i = 0; i < static_cast<int>(p.prices.size()); ++i) {
            const RevisedPrice &x = p.prices[static_cast<size_t>(i)];
            table_->setItem(i, 0, new QTableWidgetItem(QString::number(x.block)));
            table_->setItem(i, 1, new QTableWidgetItem(q(x.name)));
            table_->setItem(i, 2, new QTableWidgetItem(q(x.row)));
            table_->setItem(i, 3, figure(x.before));
            table_->setItem(i, 4, figure(x.after));
        }
        table_->resizeColumnToContents(0);
        table_->resizeColumnToContents(2);
        summary_->setText(q(p.refusal.empty() ? revisionSummaryText(p, blockWord_.c_str()) : p.refusal));
        current_ = c;
        run_->setEnabled(p.changed > 0 && p.refusal.empty());
    } catch (const VelmoError &e) {
        summary_->setText(q(e.what()));
    }
}

} // namespace velmo
