#pragma once
// The number entry field of the three programs: a right-aligned one-line edit whose text is
// always rendered from its value. Every key, focus, mouse and clipboard event goes through
// velmo::NValEditState; this class only shows its text and colour and carries out what the
// state asks for (focus moves, select all, beep).
#include "grid/core/nvaledit_state.h"

#include <QColor>
#include <QLineEdit>

namespace velmo {

class TNValEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TNValEdit(QWidget *parent = nullptr);

    int maxDigits() const { return state_.MaxDigits(); }
    void setMaxDigits(int n);
    bool prmtNegative() const { return state_.PrmtNegative(); }
    void setPrmtNegative(bool on);
    int fixDecimal() const { return state_.FixDecimal(); }
    void setFixDecimal(int n);
    bool delAllClear() const { return state_.DelAllClear(); }
    void setDelAllClear(bool on) { state_.SetDelAllClear(on); }
    QChar leadingChar() const { return QChar(static_cast<char16_t>(state_.LeadingChar())); }
    void setLeadingChar(QChar c);
    bool zeroDisplay() const { return state_.ZeroDisplay(); }
    void setZeroDisplay(bool on);
    long double value() const { return state_.Value(); }
    void setValue(long double v);
    bool putAComma() const { return state_.PutAComma(); }
    void setPutAComma(bool on);
    bool enterNext() const { return state_.EnterNext(); }
    void setEnterNext(bool on) { state_.SetEnterNext(on); }
    bool arrowNext() const { return state_.ArrowNext(); }
    void setArrowNext(bool on) { state_.SetArrowNext(on); }
    QColor minusColor() const { return minusColor_; }
    void setMinusColor(const QColor &c);
    // The text colour for values that are not negative; follows palette changes.
    QColor normalColor() const { return normalColor_; }
    bool autoSelect() const { return state_.AutoSelect(); }
    void setAutoSelect(bool on) { state_.SetAutoSelect(on); }
    // These hide the QLineEdit functions of the same name so that they go through the value.
    void setReadOnly(bool on);
    void setText(const QString &text);

    const NValEditState &state() const { return state_; }
    // Whether the value differs from the one the field had when it gained the focus: a number
    // typed and not yet entered, which the window applies before any command.
    bool typedSinceFocus() const { return state_.Value() != state_.SavedValue(); }

public Q_SLOTS:
    // Pastes the clipboard text as a number (0 when it is none).
    void paste();
    // Copies the selection to the clipboard and sets the value to 0.
    void cut();
    // Sets the value to 0.
    void clear();
    // Returns to the text before the last change, read as a number.
    void undo();

Q_SIGNALS:
    void valueChanged(double value);
    // Enter was pressed in the field, whether or not it moved the focus on.
    void enterPressed();
    // The field lost the focus holding another value than when it gained it.
    void leftTyped();

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    // Shows what the last state operation changed: text, colour, beep, valueChanged.
    void sync();
    void carryOut(const NValKeyResult &r);
    void typeCharacters(const QString &text);
    void writeOwnText(const QString &text);
    void applyColour();
    void setTextColour(const QColor &c);
    void textColourChanged(const QColor &c);

    NValEditState state_;
    QColor normalColor_;
    QColor minusColor_;
    QString undoText_;            // the text before the last change
    uint64_t shownRenders_ = 0;
    uint64_t heardBeeps_ = 0;
    long double emittedValue_ = 0;
    bool writingOwnText_ = false;
    bool changingOwnColour_ = false;
};

} // namespace velmo
