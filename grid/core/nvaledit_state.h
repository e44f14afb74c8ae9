#pragma once
// The number edit without its window: the properties, the typing state and every key, focus,
// mouse and clipboard event of the field. The text of the field is always rendered from
// `Value`; the widget only shows `Text()` and carries out what the events ask for (move the
// focus, select all, beep).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "grid/core/virtual_keys.h"

namespace velmo {

// What the widget must do after a key.
struct NValKeyResult {
    bool consumed = true;                // false: let the edit's own handling run
    FocusMove focus = FocusMove::None;   // move the focus to the next or previous control
    bool selectAll = false;              // select the whole text
    bool beep = false;                   // the key was refused
};

class NValEditState {
public:
    NValEditState();

    // Properties. Setters that the field cannot honour leave the property as it is.
    int MaxDigits() const { return maxDigits_; }
    bool SetMaxDigits(int n); // false when n is outside 1-15 or not above FixDecimal
    bool PrmtNegative() const { return prmtNegative_; }
    void SetPrmtNegative(bool on);
    int FixDecimal() const { return fixDecimal_; }
    void SetFixDecimal(int n); // clamped to -1 ... MaxDigits - 1
    bool DelAllClear() const { return delAllClear_; }
    void SetDelAllClear(bool on) { delAllClear_ = on; }
    char32_t LeadingChar() const { return leadingChar_; }
    void SetLeadingChar(char32_t c);
    bool ZeroDisplay() const { return zeroDisplay_; }
    void SetZeroDisplay(bool on);
    long double Value() const { return value_; }
    void SetValue(long double v);
    bool PutAComma() const { return putAComma_; }
    void SetPutAComma(bool on);
    bool EnterNext() const { return enterNext_; }
    void SetEnterNext(bool on) { enterNext_ = on; }
    bool ArrowNext() const { return arrowNext_; }
    void SetArrowNext(bool on) { arrowNext_ = on; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on) { readOnly_ = on; }
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool on) { autoSelect_ = on; }

    // Typing state.
    int DigitCount() const { return digitCount_; }
    int DecimalCount() const { return decimalCount_; }
    bool PointEntered() const { return pointEntered_; }
    bool MinusEntered() const { return minusEntered_; }
    long double SavedValue() const { return savedValue_; }

    // The text of the field (UTF-8) and how often it was rendered; the caret belongs at its
    // end after every rendering.
    const std::string &Text() const { return text_; }
    uint64_t RenderCount() const { return renders_; }
    // Refused keys so far.
    uint64_t BeepCount() const { return beeps_; }
    // The value is shown in the minus colour: it is negative, or a minus has been typed.
    bool ShowsMinusColor() const { return value_ < 0 || minusEntered_; }

    // Renders the text from `Value` and the typing state.
    void DisplayText();
    // Reads a text as a number: full-width characters count as their half-width forms, a
    // leading character (or "$" / yen sign) is dropped, "," must group thousands correctly.
    // Anything that is not such a number reads as 0.
    long double ParseText(std::string_view text) const;

    // A typed character; `selected` tells whether text of the field is selected.
    NValKeyResult KeyPress(char32_t ch, bool selected);
    // A key (virtual-key code) before the edit's own handling.
    NValKeyResult KeyDown(int key, bool selected);

    // Focus gained: returns true when the whole text is to be selected.
    bool FocusGained();
    void FocusLost();
    // The focus comes from a mouse click.
    void MouseActivate() { mouseFocus_ = true; }
    void DoubleClick() { doubleClick_ = true; }
    // Mouse button released: returns true when the selection is to be dropped and the caret
    // put at the end.
    // A click that brought the focus selects the whole text, so that the first key typed
    // replaces the value, as Tab does.
    enum class MouseUpAction { Keep, CaretToEnd, SelectAll };
    MouseUpAction MouseUp(bool wholeTextSelected);

    // Clipboard and text events, after the edit has done its own part (copying the cut text,
    // its own undo).
    void Cut() { SetValue(0); }
    void Clear() { SetValue(0); }
    void Paste(const std::optional<std::string> &clipboardText);
    void Undo(std::string_view textAfterUndo) { SetValue(ParseText(textAfterUndo)); }
    void TextSet(std::string_view text) { SetValue(ParseText(text)); }

    // Full-width form to half-width: U+FF01-U+FF5E to ASCII, the ideographic space to a space,
    // the yen signs to "\" (the yen sign of the Japanese code page).
    static char32_t HalfWidth(char32_t c);

private:
    void ResetToZero();
    void TypeMinus(bool selected);
    void TypePoint(bool selected);
    void typeDigit(int d, bool selected);
    void Backspace(bool selected);
    void Beep() { ++beeps_; }

    int maxDigits_ = 9;
    bool prmtNegative_ = true;
    int fixDecimal_ = -1;
    bool delAllClear_ = false;
    char32_t leadingChar_ = U' ';
    bool zeroDisplay_ = false;
    long double value_ = 0;
    bool putAComma_ = true;
    bool enterNext_ = false;
    bool arrowNext_ = false;
    bool readOnly_ = false;
    bool autoSelect_ = true;

    int digitCount_ = 0;
    int decimalCount_ = 0;
    bool pointEntered_ = false;
    bool minusEntered_ = false;
    long double savedValue_ = 0;
    bool mouseFocus_ = false;
    bool focusedByClick_ = false; // the focus came with the click now being released
    bool doubleClick_ = false;

    std::string text_;
    uint64_t renders_ = 0;
    uint64_t beeps_ = 0;
};

} // namespace velmo
