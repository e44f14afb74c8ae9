// Showing the session's state in the main window's widgets.
#include "selvan/ui/Tfselvan.h"
#include "registration/ui/window_parts.h"
#include "desktop/ChangedOutsideBar.h"

#include "grid/ui/TNValEdit.h"
#include "grid/ui/TStrColGrid.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>

namespace velmo {

namespace {
QString q(const std::string &s) { return QString::fromStdString(s); }
} // namespace

void Tfselvan::showState()
{
    const SelvanSession &s = *session_;
    showing_ = true;
    titleLabel->setText(q(s.titleStrip()));
    data_name->setText(q(s.materialName()));
    showBlockStatus(this, s, StatusBar1, changedBar, shownReloadStatus_);
    {
        const QSignalBlocker block(TabControl1);
        TabControl1->setCurrentIndex(s.tab());
    }
    showControls();
    // The grid shows the session's cells itself (its model is the session's).
    if (s.revision() != shownRevision_) {
        shownRevision_ = s.revision();
        for (int tag = 1; tag <= 6; ++tag)
            NValEdit[tag - 1]->setValue(s.percentage(tag).toLongDouble());
    }
    showing_ = false;
}

void Tfselvan::showControls()
{
    const SelvanSession &s = *session_;
    const EquipmentControls &c = s.controls();
    const QSignalBlocker b1(ComboBox1), b2(ComboBox2), b3(ComboBox3), b4(CheckGroupBox1);
    ComboBox1->setCurrentIndex(c.codeIndex);
    ComboBox2->setCurrentIndex(c.fractionIndex);
    ComboBox3->setCurrentIndex(c.significantIndex);
    labourModes[c.labourMode]->setChecked(true);
    // The group box enables its edits with its check box; the labels stay readable, and the
    // lists take part only while it is checked.
    CheckGroupBox1->setChecked(c.useRates);
    for (QLabel *l : percentLabels)
        l->setEnabled(true);
    for (QComboBox *list : {ComboBox1, ComboBox2, ComboBox3})
        list->setEnabled(s.roundingEnabled());
    // Text being typed into the unit box stays as typed.
    if (!ci->lineEdit()->hasFocus() && ci->currentText() != q(s.unitText())) {
        const QSignalBlocker b5(ci);
        ci->setEditText(q(s.unitText()));
    }
}

} // namespace velmo
