#include "selvan/ui/TFSelect_Data_K.h"
#include "desktop/WindowFit.h"

#include "grid/ui/QtGridTypes.h"
#include "desktop/VelmoApplication.h"
#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "selvan/core/selvan_grid.h"
#include "selvan/core/selvan_session.h"
#include "selvan/core/selvan_texts.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmo {

TFSelect_Data_K::TFSelect_Data_K(SelvanSession &session, QWidget *parent) : SelectBlockDialog(parent), session_(session)
{
    setModal(true);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 8);
    outer->setSpacing(4);

    auto *header = new QLabel(sharedtext::SelectHeader, this);
    header->setObjectName("selectHeader");
    header->setContentsMargins(8, 4, 8, 4);
    QFont hf = header->font();
    hf.setBold(true);
    header->setFont(hf);
    header->setStyleSheet(QString("#selectHeader { color: blue; background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
                                  "stop:0 white, stop:1 %1); }")
                              .arg(toQColor(RegistrationGridFixedColor).name()));
    outer->addWidget(header);

    auto *strip = new QLabel(sharedtext::ChooseBlockButton, this);
    strip->setObjectName("selectStrip");
    strip->setContentsMargins(8, 3, 8, 3);
    strip->setStyleSheet(QString("#selectStrip { color: white; font-weight: bold; background: %1; }")
                             .arg(toQColor(TColor(8677478)).name()));
    outer->addWidget(strip);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(8, 0, 8, 0);
    body->setSpacing(4);
    const QFont lf = ListBox1->font();
    ListBox1->setUniformItemSizes(true);
    // All 20 names in view without scrolling where the screen has room (execFor asks for it);
    // on a short screen the list scrolls itself, and the hint and the buttons stay in view.
    const int rowHeight = QFontMetrics(lf).height() + 4;
    ListBox1->setMinimumSize(380, ShortestListRows * rowHeight + 2 * ListBox1->frameWidth() + 4);
    fullListHeight_ = EquipmentBlockCount * rowHeight + 2 * ListBox1->frameWidth() + 4;
    body->addWidget(ListBox1, 1);
    body->addWidget(new QLabel(selvan::SelectHint, this));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    Button3->setProperty("cancel", true);
    for (QPushButton *b : {Button1, Button3}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    outer->addLayout(body, 1);
    buttons->setContentsMargins(8, 0, 8, 0);
    outer->addLayout(buttons);
}

int TFSelect_Data_K::execFor()
{
    fillList();
    // The size with every name in view, which fitToScreen cuts to the work area.
    const int shortest = ListBox1->minimumHeight();
    ListBox1->setMinimumHeight(fullListHeight_);
    layout()->activate();
    const QSize wanted = minimumSizeHint();
    ListBox1->setMinimumHeight(shortest);
    fitToScreen(this, wanted);
    return exec();
}

void TFSelect_Data_K::fillList()
{
    ListBox1->clear();
    const int rowHeight = QFontMetrics(ListBox1->font()).height() + 4;
    for (const std::string &name : session_.names()) {
        auto *item = new QListWidgetItem(QString::fromStdString(name), ListBox1);
        item->setSizeHint(QSize(0, rowHeight));
    }
    ListBox1->setCurrentRow(-1);
    ListBox1->clearSelection();
}

std::optional<int> TFSelect_Data_K::selectedEntry() const
{
    const QList<QListWidgetItem *> items = ListBox1->selectedItems();
    if (items.isEmpty())
        return std::nullopt;
    return ListBox1->row(items.front());
}

void TFSelect_Data_K::takeEntry(QListWidgetItem *, bool doubleClick)
{
    runCommand([&] {
        if (session_.entryChosen(selectedEntry(), doubleClick))
            accept();
    });
}

void TFSelect_Data_K::moveEntry(MoveDirection direction)
{
    runCommand([&] { session_.moveBlock(selectedEntry(), direction); });
    fillList();
}

} // namespace velmo
