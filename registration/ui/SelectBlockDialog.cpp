#include "registration/ui/SelectBlockDialog.h"

#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "registration/core/registration_grid.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

namespace velmo {

SelectBlockDialog::SelectBlockDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(sharedtext::SelectCaption);
    ListBox1 = new QListWidget(this);
    QFont fixed(RegistrationGridFont); // the grid's font
    fixed.setPixelSize(RegistrationGridFontPixels);
    ListBox1->setFont(fixed);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) { takeEntry(item, true); });

    PopupMenu1 = new QMenu(this);
    N2 = PopupMenu1->addAction(sharedtext::MoveUpItem, this, [this] { moveEntry(MoveDirection::Up); });
    N1 = PopupMenu1->addAction(sharedtext::MoveDownItem, this, [this] { moveEntry(MoveDirection::Down); });
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1->exec(ListBox1->viewport()->mapToGlobal(at)); });

    Button1 = new QPushButton(sharedtext::SelectButton, this);
    Button3 = new QPushButton(sharedtext::CancelButton, this);
    for (QPushButton *b : {Button1, Button3})
        b->setCursor(Qt::PointingHandCursor);
    connect(Button1, &QPushButton::clicked, this, [this] { takeEntry(nullptr, false); });
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace velmo
