#pragma once
// What the main program's dialogs share: a group box of radio buttons bound to a choice.
#include "VelmoApplication.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>

#include <array>
#include <functional>

namespace velmo::dialogparts {

// A group box of radio buttons, captions in order, laid out in `columns` columns (a row when
// columns is N); button `checked` is checked and `chosen` hears the index of every click.
template <size_t N>
QGroupBox *radioGroup(const QString &title, const std::array<const char *, N> &captions,
                      std::array<QRadioButton *, N> &radios, int checked, int columns, QWidget *parent,
                      const std::function<void(int)> &chosen)
{
    auto *box = new QGroupBox(title, parent);
    auto *l = new QGridLayout(box);
    l->setHorizontalSpacing(12);
    l->setVerticalSpacing(2);
    auto *group = new QButtonGroup(box);
    const int rows = static_cast<int>((N + static_cast<size_t>(columns) - 1) / static_cast<size_t>(columns));
    for (size_t i = 0; i < N; ++i) {
        radios[i] = new QRadioButton(captions[i], box);
        group->addButton(radios[i], static_cast<int>(i));
        l->addWidget(radios[i], static_cast<int>(i) % rows, static_cast<int>(i) / rows);
    }
    l->setColumnStretch(columns, 1);
    if (checked >= 0 && checked < static_cast<int>(N))
        radios[static_cast<size_t>(checked)]->setChecked(true);
    ConnectCommand(group, &QButtonGroup::idClicked, box, chosen);
    return box;
}

} // namespace velmo::dialogparts
