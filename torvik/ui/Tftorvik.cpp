// The main window: construction, its events, and showing the session's state.
#include "torvik/ui/Tftorvik.h"
#include "registration/ui/window_parts.h"
#include "desktop/WindowFit.h"
#include "desktop/ChangedOutsideBar.h"

#include "torvik/ui/TFSelect_Data.h"
#include "grid/ui/TNValEdit.h"
#include "grid/ui/QtKeys.h"
#include "grid/ui/TStrColGrid.h"
#include "torvik/ui/TftorvikLooks.h"
#include "desktop/VelmoApplication.h"
#include "torvik/core/torvik_texts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabBar>

namespace velmo {

using namespace torvikwindow;

static_assert(RateFieldCount == RegistrationRateFields);

Tftorvik::Tftorvik(const QString &programDir, const std::string &argument, UserInterface *ui, QWidget *parent)
    : RegistrationWindow(parent)
{
    setWindowTitle(torvik::WindowCaption);
    setWindowIcon(QIcon(iconPath()));
    buildWidgets();
    session_ = std::make_unique<TorvikSession>(ui ? *ui : dialogs_, StrColGrid1->Model(),
                                               std::filesystem::path(programDir.toStdString()), argument);
    session_->showNow = [this] { showState(); };
    buildMenus();
    FSelect_Data = new TFSelect_Data(*session_, this);
    connect(FSelect_Data, &TFSelect_Data::blockMoved, this, [this] { runCommand([this] { showState(); }); });

    // 757 × 481, centred in the work area; cut to it and scrolling on a smaller screen.
    fitToScreen(this, QSize(757, 481));
}

Tftorvik::~Tftorvik()
{
    disconnectFields();
}

void Tftorvik::run(const std::function<void()> &command)
{
    // A failure ends the command with its error box and never passes into Qt; what the
    // command did before it stays, and the window shows it.
    runCommand([&] {
        session_->commitOpenEdit();
        applyTypedRate();
        command();
    });
    runCommand([this] { showState(); });
}

// ---------------------------------------------------------------- events

void Tftorvik::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    if (started_)
        return;
    started_ = true;
    run([this] { session_->start(); });
    StrColGrid1->setFocus();
}

void Tftorvik::closeEvent(QCloseEvent *e)
{
    try {
        // A price in the grid's editor and a percentage typed and not entered are part of what
        // the close saves; a text that is no number keeps the window open with it.
        session_->commitOpenEdit();
        applyTypedRate();
        if (!session_->closeQuery()) { // "戻る": the window stays as it is
            e->ignore();
            return;
        }
    } catch (...) {
        // A save that failed keeps the window and its edits; the error box says why.
        e->ignore();
        reportCurrentException();
        runCommand([this] { showState(); });
        return;
    }
    e->accept();
}

bool Tftorvik::eventFilter(QObject *watched, QEvent *e)
{
    const bool memo = watched == StaticText1 || watched == StaticText2;
    bool opens = e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(e)->button() == Qt::LeftButton;
    if (memo && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        opens = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space || key == Qt::Key_F2;
    }
    if (memo && (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut)) {
        // The memo box with the focus shows it by a stronger frame.
        auto *label = static_cast<QLabel *>(watched);
        label->setFrameShape(e->type() == QEvent::FocusIn ? QFrame::Box : QFrame::Panel);
        label->setLineWidth(e->type() == QEvent::FocusIn ? 2 : 1);
    }
    if (memo && opens) {
        const BlockText which = watched == StaticText1 ? BlockText::SourceMemo : BlockText::PageMemo;
        run([this, which] { session_->editMemo(which); });
        return e->type() == QEvent::KeyPress;
    }
    if (watched == nameBand_ && (e->type() == QEvent::Resize || e->type() == QEvent::Move)) {
        changedBar->setGeometry(nameBand_->geometry());
        changedBar->raise();
    }
    if (e->type() == QEvent::MouseButtonPress && (watched == ci || watched == ci->lineEdit()))
        run([this] { session_->unitBoxClicked(); });
    return QMainWindow::eventFilter(watched, e);
}

void Tftorvik::user_selClick()
{
    try {
        session_->commitOpenEdit();
        applyTypedRate();
        if (!session_->beginChooseBlock()) { // "戻る": the block stays with its edits
            runCommand([this] { showState(); });
            return;
        }
    } catch (...) {
        // The save asked for failed: the dialog does not open and the edits stay.
        reportCurrentException();
        runCommand([this] { showState(); });
        return;
    }
    runCommand([this] { showState(); });
    const std::optional<int> chosen = FSelect_Data->choose();
    run([this, chosen] { session_->endChooseBlock(chosen); });
    activateWindow(); // back from the dialog, also where no window manager does it
    StrColGrid1->setFocus();
}

void Tftorvik::TabControl1Change(int index)
{
    run([this, index] { session_->tabChanged(index); });
}

void Tftorvik::CheckGroupBox1Click(bool checked)
{
    run([this, checked] { session_->checkBoxClicked(checked); });
}

// ---------------------------------------------------------------- showing

void Tftorvik::showState()
{
    const TorvikSession &s = *session_;
    data_name->setText(q(s.text(BlockText::Name)));
    select_data->setText(q(s.text(BlockText::Name2)));
    sizename->clear();
    Label3->setText(q(s.text(BlockText::Name3)));
    StaticText1->setText(q(s.text(BlockText::SourceMemo)));
    StaticText2->setText(q(s.text(BlockText::PageMemo)));
    showBlockStatus(this, s, StatusBar1, changedBar, shownReloadStatus_);
    {
        const QSignalBlocker block(TabControl1);
        TabControl1->setCurrentIndex(s.tab());
    }
    for (const RoundingList l : {RoundingList::SignificantCode, RoundingList::FractionAddend,
                                 RoundingList::SignificantAddend}) {
        QComboBox *combo = comboOf(l);
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(s.listIndex(l));
        combo->setEnabled(s.listsEnabled());
    }
    {
        const QSignalBlocker block(CheckGroupBox1);
        CheckGroupBox1->setChecked(s.useRates());
    }
    for (TNValEdit *e : NValEdit)
        e->setEnabled(s.ratesEnabled());
    for (QLabel *label : rateLabels)
        label->setEnabled(true);
    if (s.showRevision() != shownRevision_) {
        shownRevision_ = s.showRevision();
        for (int tag = 1; tag <= RateFieldCount; ++tag)
            NValEdit[tag - 1]->setValue(s.rateField(tag).toLongDouble());
        if (ci->currentText() != q(s.unitText()))
            ci->setEditText(q(s.unitText()));
    }
}

} // namespace velmo
