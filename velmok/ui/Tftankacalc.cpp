// The GUI-free headers come before Qt's, whose "slots" keyword would clash with a record field.
#include "velmok/session/level_calc_dialog.h"
#include "desktop/WindowFit.h"
#include "velmok/session/main_session.h"

#include "velmok/ui/Tftankacalc.h"

#include "velmok/ui/DialogParts.h"
#include "base/errors.h"
#include "grid/ui/TNValEdit.h"
#include "desktop/VelmoApplication.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmo {

using dialogparts::radioGroup;

Tftankacalc::Tftankacalc(QWidget *parent) : QDialog(parent), state_(std::make_unique<LevelCalcDialog>())
{
    setWindowTitle(velmoktext::Title);
    setModal(true);
    auto *outer = new QVBoxLayout(this);
    outer->setSpacing(8);

    auto *rounding = new QHBoxLayout;
    rounding->addWidget(radioGroup("端数処理", LevelCalcDialog::AddendCaptions, addendRadios, state_->addendChoice(),
                                   3, this, [this](int i) { state_->chooseAddend(i); }));
    rounding->addWidget(radioGroup("有効桁", LevelCalcDialog::UnitCaptions, unitRadios, state_->unitChoice(), 5,
                                   this, [this](int i) { state_->chooseUnit(i); }),
                        1);
    outer->addLayout(rounding);

    auto *method = new QGroupBox("計算方法と掛率", this);
    auto *ml = new QHBoxLayout(method);
    auto *levels = new QGridLayout;
    levels->setHorizontalSpacing(6);
    levels->setVerticalSpacing(3);
    for (int n = 0; n < 5; ++n) {
        auto *e = new TNValEdit(method);
        e->setObjectName(LevelCalcDialog::LevelCaptions[static_cast<size_t>(n)]);
        e->setMaxDigits(6);
        e->setFixDecimal(-1);
        e->setZeroDisplay(true);
        e->setPrmtNegative(false);
        e->setFixedWidth(80);
        Level[static_cast<size_t>(n)] = e;
        levels->addWidget(new QLabel(LevelCalcDialog::LevelCaptions[static_cast<size_t>(n)], method), n, 0);
        levels->addWidget(e, n, 1);
        levels->addWidget(new QLabel("％", method), n, 2);
        // Enter goes on to the next field, from the last to "実 行", so that a keypad user
        // types the five rates in a row and confirms.
        ConnectCommand(e, &TNValEdit::enterPressed, this, [this, n] {
            readLevels();
            if (n < 4)
                Level[static_cast<size_t>(n + 1)]->setFocus();
            else
                executeButton->setFocus();
        });
    }
    ml->addLayout(levels);
    ml->addSpacing(16);
    auto *mv = new QGridLayout;
    dialogparts::addRadios(mv, method, LevelCalcDialog::MethodCaptions, methodRadios, state_->methodChoice(), 1, 0,
                           [this](int i) { state_->chooseMethod(i); });
    mv->setRowStretch(2, 1);
    ml->addLayout(mv, 1);
    outer->addWidget(method);

    QHBoxLayout *buttons = dialogparts::buttonRow(this, LevelCalcDialog::ExecuteCaption, LevelCalcDialog::ExitCaption,
                                                  executeButton, exitButton);
    executeButton->installEventFilter(this);
    ConnectCommand(executeButton, &QPushButton::clicked, this, [this](bool) {
        readLevels();
        accept();
    });
    ConnectCommand(exitButton, &QPushButton::clicked, this, [this](bool) { reject(); });
    outer->addLayout(buttons);
    Level[0]->setFocus();
    fitToScreen(this);
}

Tftankacalc::~Tftankacalc() = default;

void Tftankacalc::readLevels()
{
    for (int n = 0; n < 5; ++n) {
        TNValEdit *field = Level[static_cast<size_t>(n)];
        try {
            state_->setLevel(n, Currency::fromDouble(field->value()));
        } catch (const RangeError &) {
            field->setValue(state_->level(n).toLongDouble()); // what the field shows is what is kept
            field->setFocus();
            throw;
        }
    }
}

namespace {

bool isEnter(const QEvent *e)
{
    if (e->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(e)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

bool Tftankacalc::eventFilter(QObject *watched, QEvent *e)
{
    // Enter on the focused "実 行" presses it.
    if (watched == executeButton && isEnter(e)) {
        executeButton->click();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void Tftankacalc::keyPressEvent(QKeyEvent *e)
{
    // Enter that a field passed on (after moving the focus) does nothing more.
    if (isEnter(e)) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

} // namespace velmo
