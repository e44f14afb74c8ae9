#include "grid/core/nvaledit_state.h"
#include "base/utf8_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

// Numbers are formatted and read with <charconv>, never with printf/strtod: a window program
// runs with the desktop's locale, whose decimal separator may not be ".".

namespace velmo {

namespace {

// v with exactly `decimals` decimals, no grouping ("-1234.50").
std::string fixedText(long double v, int decimals)
{
    std::string buf(96, '\0');
    for (;;) {
        const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, decimals);
        if (r.ec == std::errc()) {
            buf.resize(static_cast<size_t>(r.ptr - buf.data()));
            return buf;
        }
        buf.resize(buf.size() * 8);
    }
}

// A plain decimal number ("-12.5", "12.", ".5"); nothing else.
std::optional<long double> readNumber(std::string_view s)
{
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty() || s.find_first_not_of("0123456789.-") != std::string_view::npos)
        return std::nullopt;
    long double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

long double readOrZero(std::string_view s) { return readNumber(s).value_or(0.0L); }

// 10^e, read from its text so that it is the nearest long double.
long double tenPow(int e)
{
    const std::string t = "1e" + std::to_string(e);
    long double v = 0;
    std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::scientific);
    return v;
}

// a >= 0 as the shortest text with at most 14 decimals and 15 significant digits
// ("0.##############"): 1234.5 → "1234.5", 12 → "12", 0.05 → "0.05".
std::string plainText(long double a)
{
    if (a == 0)
        return "0";
    const int exponent = static_cast<int>(std::floor(std::log10(a)));
    const int decimals = std::clamp(14 - exponent, 0, 14);
    std::string t = fixedText(a, decimals);
    if (t.find('.') != std::string::npos) {
        t.erase(t.find_last_not_of('0') + 1);
        if (t.back() == '.')
            t.pop_back();
    }
    return t;
}

// v with `decimals` decimals, the integer part grouped by "," when asked.
std::string groupedText(long double v, int decimals, bool grouping)
{
    std::string t = fixedText(std::fabs(v), decimals);
    const bool negative = v < 0 && t.find_first_not_of("0.") != std::string::npos;
    if (grouping) {
        const size_t intEnd = std::min(t.find('.'), t.size());
        for (size_t i = intEnd; i > 3; i -= 3)
            t.insert(i - 3, 1, ',');
    }
    if (negative)
        t.insert(0, 1, '-');
    return t;
}

std::u32string decodeUtf8(std::string_view s)
{
    std::u32string out;
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + static_cast<size_t>(len) > s.size()) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        char32_t c = len == 1 ? b : b & (0x3F >> (len - 1));
        bool ok = true;
        for (int k = 1; k < len; ++k) {
            const auto cb = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            ok = ok && (cb & 0xC0) == 0x80;
            c = (c << 6) | (cb & 0x3F);
        }
        out += ok ? c : U'\uFFFD';
        i += ok ? static_cast<size_t>(len) : 1;
    }
    return out;
}

} // namespace

NValEditState::NValEditState()
{
    SetValue(0);
    savedValue_ = value_;
}

char32_t NValEditState::HalfWidth(char32_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E)
        return c - 0xFEE0;
    if (c == 0x3000)
        return U' ';
    if (c == 0xFFE5 || c == 0x00A5)
        return U'\\';
    return c;
}

// ---------------------------------------------------------------------------------------------
// Value and text

void NValEditState::SetValue(long double v)
{
    if (std::isnan(v))
        v = 0;
    minusEntered_ = false;
    long double a = v;
    if (v < 0) {
        a = -v;
        if (prmtNegative_)
            minusEntered_ = true;
    }

    // The smallest magnitude that still shows a digit, and the largest that fits.
    long double lower, upper;
    if (fixDecimal_ == -1) {
        lower = 5 * tenPow(-maxDigits_);
        upper = tenPow(maxDigits_) - 1;
        decimalCount_ = 0;
    } else {
        lower = 5 * tenPow(-(fixDecimal_ + 1));
        upper = tenPow(maxDigits_ - fixDecimal_) - tenPow(-fixDecimal_);
        decimalCount_ = fixDecimal_;
    }
    digitCount_ = maxDigits_;

    if (a < lower) {
        // Zero at this precision; a tiny magnitude stays in Value.
        digitCount_ = zeroDisplay_ ? 1 : 0;
        decimalCount_ = 0;
        pointEntered_ = false;
        value_ = minusEntered_ ? -a : a;
        DisplayText();
        return;
    }
    if (a >= upper)
        a = upper;

    // Count the digits of a; more decimals than the field holds only shorten the counts.
    std::string t = plainText(a);
    digitCount_ = static_cast<int>(t.size());
    if (t.find('.') != std::string::npos && t.size() > static_cast<size_t>(maxDigits_) + 1) {
        t = plainText(readOrZero(t.substr(0, static_cast<size_t>(maxDigits_) + 1)));
        digitCount_ = static_cast<int>(t.size());
    }
    const size_t point = t.find('.');
    if (point == std::string::npos) {
        decimalCount_ = fixDecimal_ == -1 ? 0 : fixDecimal_;
        digitCount_ += decimalCount_;
    } else {
        const int p = static_cast<int>(point) + 1;
        decimalCount_ = fixDecimal_ == -1 ? digitCount_ - p : fixDecimal_;
        digitCount_ = p + decimalCount_ - 1;
    }
    pointEntered_ = decimalCount_ > 0;
    value_ = minusEntered_ ? -a : a;
    DisplayText();
}

void NValEditState::DisplayText()
{
    const long double v = value_;
    // Without a point the value shows with no decimals; below one half that is a zero.
    const bool zero = !pointEntered_ && std::fabs(v) < 0.5L;
    std::string text;
    if (!zero) {
        text = groupedText(v, decimalCount_, putAComma_);
        if (pointEntered_ && decimalCount_ == 0 && digitCount_ < maxDigits_)
            text += '.'; // the point just typed
    } else {
        digitCount_ = 0;
        decimalCount_ = 0;
        text = zeroDisplay_ ? "0" : "";
    }
    if (minusEntered_ && text.find('-') == std::string::npos)
        text.insert(0, 1, '-');
    if (leadingChar_ >= 33 && (zeroDisplay_ || !zero || minusEntered_))
        text.insert(0, encodeUtf8(leadingChar_));
    text_ = std::move(text);
    ++renders_;
}

long double NValEditState::ParseText(std::string_view text) const
{
    std::u32string s = decodeUtf8(text);
    for (char32_t &c : s)
        c = HalfWidth(c);
    // A number copied from a spreadsheet cell or a document arrives with spaces, a tab or a
    // line break around it; they are not part of the number.
    auto blank = [](char32_t c) { return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n'; };
    while (!s.empty() && blank(s.back()))
        s.pop_back();
    while (!s.empty() && blank(s.front()))
        s.erase(0, 1);

    if (!s.empty()) {
        if (leadingChar_ != U' ') {
            if (s.front() == HalfWidth(leadingChar_))
                s.erase(0, 1);
        } else if (s.front() == U'$' || s.front() == U'\\') {
            s.erase(0, 1);
        }
    }

    std::string ascii;
    for (char32_t c : s) {
        if (!((c >= U'0' && c <= U'9') || c == U'+' || c == U'-' || c == U'.' || c == U','))
            return 0;
        ascii += static_cast<char>(c);
    }

    // Commas must group the integer part by three: each stands a multiple of four characters
    // before the point, none first or after the point, and there are as many as the integer
    // digits need. A leading sign is not one of the integer characters.
    const size_t sign = !ascii.empty() && (ascii[0] == '+' || ascii[0] == '-') ? 1 : 0;
    const std::string_view body = std::string_view(ascii).substr(sign);
    const size_t dot = body.find('.');
    const int c = dot == std::string_view::npos ? static_cast<int>(body.size()) + 1 : static_cast<int>(dot) + 1;
    int commas = 0;
    for (int pos = static_cast<int>(body.size()); pos >= 1; --pos) {
        if (body[static_cast<size_t>(pos - 1)] != ',')
            continue;
        if (pos >= c || pos == 1 || (c - pos) % 4 != 0)
            return 0;
        ++commas;
    }
    if (commas > 0 && commas != (c - commas - 2) / 3)
        return 0;

    std::string plain;
    for (char ch : ascii)
        if (ch != ',')
            plain += ch;
    return readOrZero(plain);
}

// ---------------------------------------------------------------------------------------------
// Keys

void NValEditState::ResetToZero()
{
    value_ = 0;
    digitCount_ = 0;
    decimalCount_ = 0;
    pointEntered_ = false;
    minusEntered_ = false;
    DisplayText();
}

NValKeyResult NValEditState::KeyPress(char32_t ch, bool selected)
{
    NValKeyResult r;
    const uint64_t beepsBefore = beeps_;
    if (ch == ctrlchar::Copy) {
        r.consumed = false;
        return r;
    }
    if (ch == ctrlchar::Paste || ch == ctrlchar::Cut || ch == ctrlchar::Undo) {
        r.consumed = readOnly_;
        return r;
    }
    if (readOnly_)
        return r;
    if (ch == U'-')
        TypeMinus(selected);
    else if (ch == U'.')
        TypePoint(selected);
    else if (ch >= U'0' && ch <= U'9')
        typeDigit(static_cast<int>(ch - U'0'), selected);
    r.beep = beeps_ != beepsBefore;
    return r;
}

void NValEditState::TypeMinus(bool selected)
{
    if (!prmtNegative_) {
        Beep();
        return;
    }
    if (selected) {
        value_ = 0;
        digitCount_ = 0;
        decimalCount_ = 0;
        pointEntered_ = false;
        minusEntered_ = false;
    }
    minusEntered_ = !minusEntered_;
    value_ = -value_;
    DisplayText();
}

void NValEditState::TypePoint(bool selected)
{
    if (fixDecimal_ == 0) {
        pointEntered_ = false;
        decimalCount_ = 0;
        Beep();
        return;
    }
    if (selected) { // start over, keeping a typed minus
        value_ = 0;
        digitCount_ = 0;
        decimalCount_ = 0;
        pointEntered_ = false;
    }
    if (digitCount_ >= maxDigits_) {
        Beep();
        return;
    }
    if (digitCount_ == 0)
        digitCount_ = 1;
    if (pointEntered_)
        Beep();
    else
        pointEntered_ = true;
    DisplayText();
}

void NValEditState::typeDigit(int d, bool selected)
{
    if (selected)
        ResetToZero();

    long double n;
    const int decimalsBefore = decimalCount_;
    if (!pointEntered_) {
        if (value_ >= 0) {
            value_ = std::trunc(value_ + 0.5L);
            n = minusEntered_ ? value_ * 10 - d : value_ * 10 + d;
        } else {
            value_ = std::trunc(value_ - 0.5L);
            n = value_ * 10 - d;
        }
        if (value_ == 0 && digitCount_ == 1)
            digitCount_ = 0; // a shown "0" is not a digit
    } else {
        ++decimalCount_;
        n = d / tenPow(decimalCount_);
        n = value_ >= 0 && !minusEntered_ ? value_ + n : value_ - n;
    }

    const int digitsBefore = digitCount_;
    digitCount_ = decimalCount_ == 1 && value_ == 0 ? 2 : digitCount_ + 1;

    if (digitCount_ > maxDigits_) {
        digitCount_ = maxDigits_;
        if (pointEntered_)
            decimalCount_ = decimalsBefore;
        Beep();
        return;
    }
    if (!pointEntered_ && fixDecimal_ >= 0 && digitCount_ > maxDigits_ - fixDecimal_) {
        digitCount_ = maxDigits_ - fixDecimal_; // integer part full
        Beep();
        return;
    }
    if (pointEntered_ && fixDecimal_ >= 0 && decimalCount_ > fixDecimal_) {
        decimalCount_ = fixDecimal_; // decimals full
        digitCount_ = digitsBefore;
        Beep();
        return;
    }
    value_ = readOrZero(fixedText(n, decimalCount_));
    DisplayText();
}

void NValEditState::Backspace(bool selected)
{
    if (selected)
        ResetToZero();
    if (digitCount_ <= 0) {
        ResetToZero();
        return;
    }
    std::string t = fixedText(value_, decimalCount_);
    t.pop_back();
    --digitCount_;
    const bool integerDigit = decimalCount_ == 0;
    if (decimalCount_ > 0) {
        --decimalCount_;
    } else {
        decimalCount_ = 0;
        pointEntered_ = false;
    }
    value_ = t.empty() || t == "-" ? 0 : readOrZero(t);
    // Dropping an integer digit of a negative number leaves it negative ("-12" → "-1"), so a
    // later "-" must turn it positive rather than only prefix a second sign.
    if (integerDigit)
        minusEntered_ = value_ < 0;
    DisplayText();
}

NValKeyResult NValEditState::KeyDown(int key, bool selected)
{
    NValKeyResult r;
    const uint64_t beepsBefore = beeps_;
    switch (key) {
    case vkey::Back:
        if (!readOnly_)
            Backspace(selected);
        break;
    case vkey::Return:
        if (enterNext_)
            r.focus = FocusMove::Next;
        else
            r.consumed = false;
        break;
    case vkey::Escape:
        if (!readOnly_)
            SetValue(savedValue_);
        break;
    case vkey::Home:
        r.selectAll = true;
        break;
    case vkey::Left: // the caret is not moved left by keyboard
        break;
    case vkey::Up:
    case vkey::Down:
        if (arrowNext_)
            r.focus = key == vkey::Up ? FocusMove::Previous : FocusMove::Next;
        else
            r.consumed = false;
        break;
    case vkey::Delete:
        if (!readOnly_ && (selected || delAllClear_))
            ResetToZero();
        break;
    default:
        r.consumed = false;
        break;
    }
    r.beep = beeps_ != beepsBefore;
    return r;
}

// ---------------------------------------------------------------------------------------------
// Focus, mouse, clipboard

bool NValEditState::FocusGained()
{
    savedValue_ = value_;
    // A click selects at its release (the press places the caret first).
    const bool selectAll = autoSelect_ && !mouseFocus_;
    focusedByClick_ = autoSelect_ && mouseFocus_;
    mouseFocus_ = false;
    return selectAll;
}

void NValEditState::FocusLost()
{
    savedValue_ = value_;
    mouseFocus_ = false;
    SetValue(value_); // drops a dangling point, recounts the digits
}

NValEditState::MouseUpAction NValEditState::MouseUp(bool wholeTextSelected)
{
    const bool focusing = focusedByClick_;
    focusedByClick_ = false;
    if (doubleClick_) {
        doubleClick_ = false;
        return MouseUpAction::Keep; // the double click's word selection stays
    }
    if (focusing)
        return MouseUpAction::SelectAll;
    return wholeTextSelected ? MouseUpAction::Keep : MouseUpAction::CaretToEnd;
}

void NValEditState::Paste(const std::optional<std::string> &clipboardText)
{
    SetValue(clipboardText ? ParseText(*clipboardText) : 0.0L);
}

// ---------------------------------------------------------------------------------------------
// Property setters

bool NValEditState::SetMaxDigits(int n)
{
    if (n < 1 || n > 15 || n <= fixDecimal_)
        return false;
    std::string digits = plainText(std::fabs(value_));
    const size_t point = digits.find('.');
    int decimals = 0;
    if (point != std::string::npos) {
        decimals = static_cast<int>(digits.size() - point - 1);
        digits.erase(point, 1);
    }
    if (fixDecimal_ > decimals)
        digits.append(static_cast<size_t>(fixDecimal_ - decimals), '0');
    maxDigits_ = n;
    if (digits.size() > static_cast<size_t>(n))
        SetValue(value_);
    return true;
}

void NValEditState::SetFixDecimal(int n)
{
    n = std::clamp(n, -1, maxDigits_ - 1);
    fixDecimal_ = n;
    if (n < 0)
        return;
    std::string t = plainText(std::fabs(value_));
    const size_t point = t.find('.');
    if (point != std::string::npos)
        t.resize(std::min(t.size(), point + 1 + static_cast<size_t>(n))); // cut, not rounded
    else if (n >= 1)
        t.append(1, '.').append(static_cast<size_t>(n), '0');
    const long double a = readOrZero(t);
    SetValue(value_ < 0 ? -a : a);
}

void NValEditState::SetPrmtNegative(bool on)
{
    prmtNegative_ = on;
    if (!on && (value_ < 0 || minusEntered_))
        SetValue(std::fabs(value_));
}

void NValEditState::SetLeadingChar(char32_t c)
{
    leadingChar_ = c < U' ' ? U' ' : c;
    SetValue(value_);
}

void NValEditState::SetZeroDisplay(bool on)
{
    zeroDisplay_ = on;
    DisplayText();
}

void NValEditState::SetPutAComma(bool on)
{
    putAComma_ = on;
    SetValue(value_);
}

} // namespace velmo
