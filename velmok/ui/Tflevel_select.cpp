#include "base/shared_texts.h"
#include "desktop/WindowFit.h"

#include "velmok/ui/Tflevel_select.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace velmo {

Tflevel_select::Tflevel_select(bool withOptions, QWidget *parent) : QDialog(parent), withOptions_(withOptions)
{
    setWindowTitle(QStringLiteral("Velmaro"));
    setModal(true);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 8);
    outer->setSpacing(6);

    // White title strip with the program's icon and the product title.
    auto *title = new QWidget(this);
    title->setObjectName(QStringLiteral("titleStrip"));
    title->setAttribute(Qt::WA_StyledBackground);
    title->setStyleSheet(QStringLiteral("#titleStrip { background: white; }"));
    auto *tl = new QHBoxLayout(title);
    tl->setContentsMargins(8, 4, 8, 4);
    auto *icon = new QLabel(title);
    const QIcon programIcon = parent ? parent->windowIcon() : QApplication::windowIcon();
    icon->setPixmap(programIcon.pixmap(24, 24));
    auto *product = new QLabel(QStringLiteral("Velmaro"), title);
    product->setStyleSheet(QStringLiteral("QLabel { color: #2c2a58; font-size: 12pt; font-weight: bold; }"));
    tl->addWidget(icon);
    tl->addWidget(product);
    tl->addStretch();
    outer->addWidget(title);

    auto *strip = new QLabel(QStringLiteral("外部出力"), this);
    strip->setStyleSheet(QStringLiteral("QLabel { color: white; font-weight: bold; padding: 3px 10px; background: "
                                        "qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #2c2a58, stop:1 #8e8ca2); }"));
    outer->addWidget(strip);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(12, 0, 12, 0);
    body->setSpacing(6);
    auto *box = new QGroupBox(QStringLiteral("出力得意先単価"), this);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(18);
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < OutputLevelCount; ++i) {
        level[i] = new QRadioButton(QString::fromUtf8(OutputLevelCaptions[i]), box);
        level[i]->setObjectName(QStringLiteral("level%1").arg(i + 1));
        group->addButton(level[i], i + 1);
        grid->addWidget(level[i], i % 3, i / 3);
    }
    level[0]->setChecked(true);
    body->addWidget(box);

    CheckBox7 = new QCheckBox(QStringLiteral("見出しを出力"), this);
    CheckBox8 = new QCheckBox(QStringLiteral("計算結果を出力"), this);
    body->addWidget(CheckBox7);
    body->addWidget(CheckBox8);
    CheckBox7->setVisible(withOptions);
    CheckBox8->setVisible(withOptions);
    outer->addLayout(body);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 4, 12, 0);
    Button1 = new QPushButton(QStringLiteral("実　行"), this);
    Button2 = new QPushButton(sharedtext::CancelButton, this);
    for (QPushButton *b : {Button1, Button2}) {
        b->setCursor(Qt::PointingHandCursor);
        b->setMinimumWidth(90);
    }
    Button1->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    outer->addLayout(buttons);
    connect(Button1, &QPushButton::clicked, this, &Tflevel_select::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tflevel_select::Button2Click);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    level[0]->setFocus();
}

OutputLevelChoice Tflevel_select::choice() const
{
    OutputLevelChoice c;
    for (int i = 0; i < OutputLevelCount; ++i)
        if (level[i]->isChecked())
            c.basis = basisAt(i + 1);
    // Hidden check boxes count as unchecked.
    c.heading = withOptions_ && CheckBox7->isChecked();
    c.results = withOptions_ && CheckBox8->isChecked();
    c.confirmed = confirmed_;
    return c;
}

void Tflevel_select::Button1Click()
{
    confirmed_ = true;
    accept();
}

void Tflevel_select::Button2Click()
{
    confirmed_ = false;
    reject();
}

OutputLevelChoice Tflevel_select::ask(QWidget *parent, bool withOptions)
{
    Tflevel_select dialog(withOptions, parent);
    fitToScreen(&dialog);
    dialog.exec();
    return dialog.choice();
}

} // namespace velmo
