#include "grid/ui/TNValEdit.h"

#include "grid/ui/QtKeys.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

namespace velmo {

namespace {

// The virtual-key code of the keys the field handles before the edit does; 0 for the others.
int virtualKey(const QKeyEvent *e)
{
    switch (const int vk = virtualKeyFromQt(*e)) {
    case vkey::Back:
    case vkey::Return:
    case vkey::Escape:
    case vkey::Home:
    case vkey::Left:
    case vkey::Up:
    case vkey::Down:
    case vkey::Delete: return vk;
    default: return 0;
    }
}

// Whether a dialog has a cancel button for Escape to press: a reject button of a button box,
// or a button marked with the property "cancel" (the forms' own Cancel buttons).
bool hasCancelButton(QWidget *window)
{
    if (!qobject_cast<QDialog *>(window))
        return false;
    for (const QDialogButtonBox *box : window->findChildren<QDialogButtonBox *>())
        for (QAbstractButton *b : box->buttons())
            if (box->buttonRole(b) == QDialogButtonBox::RejectRole && b->isEnabled())
                return true;
    for (const QAbstractButton *b : window->findChildren<QAbstractButton *>())
        if (b->property("cancel").toBool() && b->isEnabled())
            return true;
    return false;
}

std::optional<std::string> clipboardText()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return std::nullopt;
    return data->text().toStdString();
}

} // namespace

TNValEdit::TNValEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    normalColor_ = minusColor_ = palette().color(QPalette::Active, QPalette::Text);
    shownRenders_ = state_.RenderCount();
    writeOwnText(QString::fromStdString(state_.Text()));
    undoText_ = text();
    // Text put into the edit by code that reaches QLineEdit directly is read as a number.
    connect(this, &QLineEdit::textChanged, this, [this](const QString &t) {
        if (writingOwnText_)
            return;
        state_.TextSet(t.toStdString());
        sync();
    });
}

// ---------------------------------------------------------------------------------------------
// Properties

void TNValEdit::setMaxDigits(int n)
{
    state_.SetMaxDigits(n);
    sync();
}

void TNValEdit::setPrmtNegative(bool on)
{
    state_.SetPrmtNegative(on);
    sync();
}

void TNValEdit::setFixDecimal(int n)
{
    state_.SetFixDecimal(n);
    sync();
}

void TNValEdit::setLeadingChar(QChar c)
{
    state_.SetLeadingChar(c.unicode());
    sync();
}

void TNValEdit::setZeroDisplay(bool on)
{
    state_.SetZeroDisplay(on);
    sync();
}

void TNValEdit::setValue(long double v)
{
    state_.SetValue(v);
    sync();
}

void TNValEdit::setPutAComma(bool on)
{
    state_.SetPutAComma(on);
    sync();
}

void TNValEdit::setMinusColor(const QColor &c)
{
    minusColor_ = c;
    state_.DisplayText();
    sync();
}

void TNValEdit::setReadOnly(bool on)
{
    QLineEdit::setReadOnly(on);
    state_.SetReadOnly(on);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void TNValEdit::setText(const QString &text)
{
    state_.TextSet(text.toStdString());
    sync();
}

// ---------------------------------------------------------------------------------------------
// Showing the state

void TNValEdit::sync()
{
    if (state_.RenderCount() != shownRenders_) {
        shownRenders_ = state_.RenderCount();
        writeOwnText(QString::fromStdString(state_.Text()));
        applyColour();
    }
    if (state_.BeepCount() != heardBeeps_) {
        heardBeeps_ = state_.BeepCount();
        QApplication::beep();
    }
    if (state_.Value() != emittedValue_) {
        emittedValue_ = state_.Value();
        Q_EMIT valueChanged(static_cast<double>(emittedValue_));
    }
}

void TNValEdit::writeOwnText(const QString &t)
{
    writingOwnText_ = true;
    if (t != QLineEdit::text()) {
        undoText_ = QLineEdit::text();
        QLineEdit::setText(t);
        setModified(true);
    }
    setCursorPosition(static_cast<int>(t.size()));
    writingOwnText_ = false;
}

void TNValEdit::carryOut(const NValKeyResult &r)
{
    sync();
    if (r.selectAll)
        selectAll();
    if (r.focus != FocusMove::None)
        focusNextPrevChild(r.focus == FocusMove::Next);
}

void TNValEdit::applyColour()
{
    setTextColour(state_.ShowsMinusColor() ? minusColor_ : normalColor_);
}

void TNValEdit::setTextColour(const QColor &c)
{
    QPalette p = palette();
    if (p.color(QPalette::Active, QPalette::Text) == c && p.color(QPalette::Inactive, QPalette::Text) == c)
        return;
    p.setColor(QPalette::Active, QPalette::Text, c);
    p.setColor(QPalette::Inactive, QPalette::Text, c);
    changingOwnColour_ = true;
    setPalette(p);
    changingOwnColour_ = false;
}

// A text colour set from outside becomes the normal colour; the minus colour follows it while
// the two were the same, and a negative value keeps showing in the minus colour.
void TNValEdit::textColourChanged(const QColor &c)
{
    const bool negative = state_.ShowsMinusColor();
    if (c == normalColor_ && !negative)
        return;
    if (minusColor_ == normalColor_) {
        minusColor_ = c;
        normalColor_ = c;
    } else if (negative) {
        if (c == minusColor_)
            return;
        setTextColour(minusColor_);
        normalColor_ = c;
    } else {
        normalColor_ = c;
    }
}

void TNValEdit::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::PaletteChange && !changingOwnColour_)
        textColourChanged(palette().color(QPalette::Active, QPalette::Text));
    QLineEdit::changeEvent(e);
}

// ---------------------------------------------------------------------------------------------
// Keys

bool TNValEdit::event(QEvent *e)
{
    // The caret always stands at the end, so End means nothing to the field: it is left to the
    // window's shortcuts (the main window closes on End).
    if (e->type() == QEvent::ShortcutOverride) {
        const auto *k = static_cast<QKeyEvent *>(e);
        if (k->key() == Qt::Key_End && !(k->modifiers() & ~Qt::KeypadModifier)) {
            e->ignore();
            return true;
        }
        // Ctrl+Z and Ctrl+Y undo the field's own typing while there is any; otherwise they are
        // the window's 元に戻す and やり直し.
        const bool historyKey = (k->key() == Qt::Key_Z || k->key() == Qt::Key_Y) && k->modifiers() == Qt::ControlModifier;
        if (historyKey && !typedSinceFocus()) {
            e->ignore();
            return true;
        }
        // In a main window, Escape over a number typed and not yet entered returns the field to
        // its value before the typing; only then is it the field's and not the window's (close,
        // undo). In a dialog Escape stays the dialog's.
        if (k->key() == Qt::Key_Escape && !(k->modifiers() & ~Qt::KeypadModifier) && !isReadOnly() &&
            typedSinceFocus() && !qobject_cast<QDialog *>(window())) {
            e->accept();
            return true;
        }
    }
    return QLineEdit::event(e);
}

void TNValEdit::keyPressEvent(QKeyEvent *e)
{
    state_.SetReadOnly(isReadOnly());
    if (const int key = virtualKey(e)) {
        // Without EnterNext the field leaves Escape to the cancel button of its dialog, where
        // there is one; otherwise Escape returns the field to its saved value.
        if (key == vkey::Escape && !state_.EnterNext() && hasCancelButton(window())) {
            e->ignore();
            return;
        }
        const NValKeyResult r = state_.KeyDown(key, hasSelectedText());
        carryOut(r);
        if (r.consumed)
            e->accept();
        else
            QLineEdit::keyPressEvent(e); // Enter: returnPressed, then a dialog's default button
        if (key == vkey::Return)
            Q_EMIT enterPressed();
        return;
    }

    // The clipboard shortcuts arrive as their control characters, as typed on the platform edit.
    char32_t control = 0;
    if (e->matches(QKeySequence::Copy))
        control = ctrlchar::Copy;
    else if (e->matches(QKeySequence::Paste))
        control = ctrlchar::Paste;
    else if (e->matches(QKeySequence::Cut))
        control = ctrlchar::Cut;
    else if (e->matches(QKeySequence::Undo))
        control = ctrlchar::Undo;
    if (control) {
        const NValKeyResult r = state_.KeyPress(control, hasSelectedText());
        if (!r.consumed) {
            switch (control) {
            case ctrlchar::Copy: copy(); break;
            case ctrlchar::Paste: paste(); break;
            case ctrlchar::Cut: cut(); break;
            default: undo(); break;
            }
        }
        e->accept();
        return;
    }
    if (e->matches(QKeySequence::SelectAll)) {
        selectAll();
        e->accept();
        return;
    }

    QString text = e->text();
    if ((e->modifiers() & Qt::KeypadModifier) && (e->key() == Qt::Key_Period || e->key() == Qt::Key_Comma))
        text = QStringLiteral("."); // the keypad point, whatever the keyboard layout
    if (!text.isEmpty()) {
        // Every character is the field's; with Ctrl held none is typed.
        if (!(e->modifiers() & Qt::ControlModifier))
            typeCharacters(text);
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e); // caret keys, Tab and the like
}

void TNValEdit::typeCharacters(const QString &text)
{
    for (const char32_t c : text.toUcs4()) {
        carryOut(state_.KeyPress(c, hasSelectedText()));
    }
}

void TNValEdit::inputMethodEvent(QInputMethodEvent *e)
{
    // The input method stays closed; should text still be committed, full-width digits count.
    state_.SetReadOnly(isReadOnly());
    QString text;
    for (const char32_t c : e->commitString().toUcs4()) {
        const char32_t h = NValEditState::HalfWidth(c);
        text += QString::fromUcs4(&h, 1);
    }
    typeCharacters(text);
    e->accept();
}

// ---------------------------------------------------------------------------------------------
// Focus and mouse

void TNValEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    if (e->reason() == Qt::PopupFocusReason)
        return; // back from the context menu
    if (e->reason() == Qt::MouseFocusReason)
        state_.MouseActivate();
    if (state_.FocusGained())
        selectAll();
    else if (hasSelectedText() && e->reason() != Qt::MouseFocusReason)
        setCursorPosition(static_cast<int>(text().size())); // QLineEdit selects on Tab itself
}

void TNValEdit::focusOutEvent(QFocusEvent *e)
{
    bool typed = false;
    if (e->reason() != Qt::PopupFocusReason) {
        typed = typedSinceFocus();
        state_.FocusLost();
        sync();
    }
    QLineEdit::focusOutEvent(e);
    if (typed)
        Q_EMIT leftTyped();
}

void TNValEdit::mouseDoubleClickEvent(QMouseEvent *e)
{
    state_.DoubleClick();
    QLineEdit::mouseDoubleClickEvent(e);
}

void TNValEdit::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::MiddleButton) {
        e->accept(); // no pasting of the selection buffer past the value
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
    if (e->button() != Qt::LeftButton)
        return;
    const bool whole = !text().isEmpty() && selectedText() == text();
    switch (state_.MouseUp(whole)) {
    case NValEditState::MouseUpAction::CaretToEnd:
        setCursorPosition(static_cast<int>(text().size()));
        break;
    case NValEditState::MouseUpAction::SelectAll:
        selectAll();
        break;
    case NValEditState::MouseUpAction::Keep:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Clipboard

void TNValEdit::paste()
{
    state_.Paste(clipboardText());
    sync();
}

void TNValEdit::cut()
{
    copy();
    state_.Cut();
    sync();
}

void TNValEdit::clear()
{
    state_.Clear();
    sync();
}

void TNValEdit::undo()
{
    state_.Undo(undoText_.toStdString());
    sync();
}

void TNValEdit::contextMenuEvent(QContextMenuEvent *e)
{
    const bool writable = !isReadOnly();
    const bool selected = hasSelectedText();
    QMenu menu(this);
    menu.addAction(QStringLiteral("元に戻す(&U)"), this, &TNValEdit::undo)->setEnabled(writable && undoText_ != text());
    menu.addSeparator();
    menu.addAction(QStringLiteral("切り取り(&T)"), this, &TNValEdit::cut)->setEnabled(writable && selected);
    menu.addAction(QStringLiteral("コピー(&C)"), this, &QLineEdit::copy)->setEnabled(selected);
    menu.addAction(QStringLiteral("貼り付け(&P)"), this, &TNValEdit::paste)->setEnabled(writable && clipboardText().has_value());
    menu.addAction(QStringLiteral("削除(&D)"), this, &TNValEdit::clear)->setEnabled(writable && selected);
    menu.addSeparator();
    menu.addAction(QStringLiteral("すべて選択(&A)"), this, &QLineEdit::selectAll)->setEnabled(!text().isEmpty());
    menu.exec(e->globalPos());
    e->accept();
}

} // namespace velmo
