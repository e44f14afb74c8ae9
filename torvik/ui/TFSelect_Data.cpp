#include "torvik/ui/TFSelect_Data.h"
#include "desktop/WindowFit.h"

#include "torvik/ui/TftorvikLooks.h"
#include "desktop/VelmoApplication.h"
#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmo {

using namespace torvikwindow;

TFSelect_Data::TFSelect_Data(TorvikSession &session, QWidget *parent) : SelectBlockDialog(parent), session_(session)
{
    setFixedSize(385, 394);
    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 8);
    l->setSpacing(0);

    QWidget *header = gradientBand(sharedtext::SelectHeader, Qt::black, this);
    header->setFixedHeight(36);
    l->addWidget(header);
    auto *title = new QLabel(sharedtext::ChooseBlockButton, this);
    title->setAutoFillBackground(true);
    QPalette p = title->palette();
    p.setColor(QPalette::Window, BandColor);
    p.setColor(QPalette::WindowText, Qt::white);
    title->setPalette(p);
    title->setStyleSheet("font-weight: bold; padding: 3px 8px;");
    l->addWidget(title);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(8, 8, 8, 0);
    body->setSpacing(8);
    ListBox1->viewport()->setCursor(Qt::PointingHandCursor);
    body->addWidget(ListBox1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {Button1, Button3}) {
        b->setFixedSize(96, 28);
        buttons->addWidget(b);
    }
    Button1->setDefault(true); // Enter takes the selected entry, Esc cancels
    l->addLayout(body, 1);
    buttons->setContentsMargins(8, 8, 8, 0);
    l->addLayout(buttons);
}

std::optional<int> TFSelect_Data::choose()
{
    chosen_.reset();
    showNames(session_.blockIndex());
    ListBox1->setFocus();
    fitToScreen(this);
    exec();
    return chosen_;
}

void TFSelect_Data::showNames(int current)
{
    ListBox1->clear();
    for (const std::string &name : session_.names())
        ListBox1->addItem(q(name));
    if (current >= 0 && current < ListBox1->count())
        ListBox1->setCurrentRow(current);
}

std::optional<int> TFSelect_Data::selectedEntry() const
{
    const int row = ListBox1->currentRow();
    if (row < 0 || !ListBox1->currentItem() || !ListBox1->currentItem()->isSelected())
        return std::nullopt;
    return row;
}

void TFSelect_Data::takeEntry(QListWidgetItem *item, bool doubleClick)
{
    const std::optional<int> entry =
        doubleClick ? (item ? std::optional<int>(ListBox1->row(item)) : std::nullopt) : selectedEntry();
    runCommand([&] {
        if (!session_.takeEntry(entry))
            return;
        chosen_ = entry;
        accept();
    });
}

void TFSelect_Data::moveEntry(MoveDirection direction)
{
    runCommand([&] {
        const auto moved = session_.moveBlock(selectedEntry(), direction);
        if (!moved)
            return;
        showNames(*moved);
        Q_EMIT blockMoved();
    });
}

} // namespace velmo
