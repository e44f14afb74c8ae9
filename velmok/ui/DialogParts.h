#pragma once
// What the main program's dialogs share: a group box of radio buttons bound to a choice.
#include "desktop/VelmoApplication.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <functional>

namespace velmo::dialogparts {

// Radio buttons with the captions in order, laid out in `columns` columns of a grid layout from
// row `firstRow` (a row of them when columns is N); button `checked` is checked and `chosen`
// hears the index of every click.
template <size_t N>
void addRadios(QGridLayout *l, QWidget *owner, const std::array<const char *, N> &captions,
               std::array<QRadioButton *, N> &radios, int checked, int columns, int firstRow,
               const std::function<void(int)> &chosen)
{
    auto *group = new QButtonGroup(owner);
    const int rows = static_cast<int>((N + static_cast<size_t>(columns) - 1) / static_cast<size_t>(columns));
    for (size_t i = 0; i < N; ++i) {
        radios[i] = new QRadioButton(captions[i], owner);
        group->addButton(radios[i], static_cast<int>(i));
        l->addWidget(radios[i], firstRow + static_cast<int>(i) % rows, static_cast<int>(i) / rows);
    }
    if (checked >= 0 && checked < static_cast<int>(N))
        radios[static_cast<size_t>(checked)]->setChecked(true);
    ConnectCommand(group, &QButtonGroup::idClicked, owner, chosen);
}

// A group box of such radio buttons.
template <size_t N>
QGroupBox *radioGroup(const QString &title, const std::array<const char *, N> &captions,
                      std::array<QRadioButton *, N> &radios, int checked, int columns, QWidget *parent,
                      const std::function<void(int)> &chosen)
{
    auto *box = new QGroupBox(title, parent);
    auto *l = new QGridLayout(box);
    l->setHorizontalSpacing(12);
    l->setVerticalSpacing(2);
    addRadios(l, box, captions, radios, checked, columns, 0, chosen);
    l->setColumnStretch(columns, 1);
    return box;
}

// The row of a dialog's two buttons at its right edge: the one that applies and "Exit", which
// is the cancel button (Escape, also in a number field, leaves through it). Neither is a
// default button, so that Enter in a field never applies by itself.
inline QHBoxLayout *buttonRow(QWidget *dialog, const char *applyCaption, const char *exitCaption, QPushButton *&apply,
                              QPushButton *&exit)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    apply = new QPushButton(applyCaption, dialog);
    exit = new QPushButton(exitCaption, dialog);
    exit->setProperty("cancel", true);
    for (QPushButton *b : {apply, exit}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setMinimumWidth(96);
        row->addWidget(b);
    }
    return row;
}

} // namespace velmo::dialogparts
