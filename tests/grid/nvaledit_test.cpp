#include "grid/core/nvaledit_state.h"

#include <gtest/gtest.h>

#include <limits>

using namespace velmo;

namespace {

// Types the characters one by one with nothing selected.
void type(NValEditState &s, std::string_view keys)
{
    for (char c : keys)
        s.KeyPress(static_cast<char32_t>(c), false);
}

} // namespace

TEST(NValEdit, TypingBuildsGroupedNumberWithinMaxDigits)
{
    NValEditState s;
    type(s, "12345");
    EXPECT_EQ(s.Text(), "12,345");
    type(s, ".");
    EXPECT_EQ(s.Text(), "12,345.");
    type(s, "6");
    EXPECT_EQ(s.Text(), "12,345.6");
    EXPECT_DOUBLE_EQ(static_cast<double>(s.Value()), 12345.6);

    type(s, "789"); // nine digits: full
    EXPECT_EQ(s.Text(), "12,345.6789");
    const auto before = s.BeepCount();
    const NValKeyResult r = s.KeyPress(U'1', false);
    EXPECT_TRUE(r.beep);
    EXPECT_EQ(s.BeepCount(), before + 1);
    EXPECT_EQ(s.Text(), "12,345.6789");
    EXPECT_EQ(s.DigitCount(), 9);
    EXPECT_EQ(s.DecimalCount(), 4);

    // A point when all digits are used is refused as well, and so is a second point.
    NValEditState full;
    type(full, "123456789");
    EXPECT_TRUE(full.KeyPress(U'.', false).beep);
    EXPECT_EQ(full.Text(), "123,456,789");
    NValEditState twice;
    type(twice, "1.");
    EXPECT_TRUE(twice.KeyPress(U'.', false).beep);
    EXPECT_EQ(twice.Text(), "1.");
}

TEST(NValEdit, ZeroAndLeadingPointDecimals)
{
    NValEditState s;
    type(s, "0");
    EXPECT_EQ(s.Text(), "");
    type(s, ".");
    EXPECT_EQ(s.Text(), "0.");
    type(s, "0");
    EXPECT_EQ(s.Text(), "0.0");
    type(s, "5");
    EXPECT_EQ(s.Text(), "0.05");
    EXPECT_DOUBLE_EQ(static_cast<double>(s.Value()), 0.05);

    NValEditState z;
    z.SetZeroDisplay(true);
    EXPECT_EQ(z.Text(), "0");
    type(z, "07");
    EXPECT_EQ(z.Text(), "7");
    z.SetZeroDisplay(false);
    z.SetValue(0);
    EXPECT_EQ(z.Text(), "");
    // A value too small to show is a zero, even though it stays in Value.
    z.SetValue(1e-12L);
    EXPECT_EQ(z.Text(), "");
    EXPECT_GT(z.Value(), 0);
}

TEST(NValEdit, FixedDecimalsLimitIntegerAndDecimalDigits)
{
    NValEditState s;
    s.SetFixDecimal(2);
    ASSERT_TRUE(s.SetMaxDigits(5));
    type(s, "123");
    EXPECT_TRUE(s.KeyPress(U'4', false).beep); // at most three integer digits
    EXPECT_EQ(s.Text(), "123");
    type(s, ".45");
    EXPECT_EQ(s.Text(), "123.45");
    EXPECT_TRUE(s.KeyPress(U'6', false).beep);
    EXPECT_EQ(s.Text(), "123.45");

    NValEditState t;
    t.SetFixDecimal(2);
    type(t, "1.2");
    EXPECT_FALSE(t.KeyPress(U'3', false).beep);
    EXPECT_TRUE(t.KeyPress(U'4', false).beep); // third decimal
    EXPECT_EQ(t.Text(), "1.23");
    t.FocusLost();
    EXPECT_EQ(t.Text(), "1.23");
    t.SetValue(7);
    EXPECT_EQ(t.Text(), "7.00");

    NValEditState none;
    none.SetFixDecimal(0);
    type(none, "12");
    EXPECT_TRUE(none.KeyPress(U'.', false).beep);
    EXPECT_EQ(none.Text(), "12");
    EXPECT_FALSE(none.PointEntered());
}

TEST(NValEdit, MinusSignAndColour)
{
    NValEditState s;
    type(s, "-");
    EXPECT_EQ(s.Text(), "-");
    EXPECT_TRUE(s.ShowsMinusColor());
    type(s, "5");
    EXPECT_EQ(s.Text(), "-5");
    EXPECT_EQ(s.Value(), -5);
    type(s, "0.2");
    EXPECT_EQ(s.Text(), "-50.2");
    EXPECT_DOUBLE_EQ(static_cast<double>(s.Value()), -50.2);
    type(s, "-");
    EXPECT_EQ(s.Text(), "50.2");
    EXPECT_FALSE(s.ShowsMinusColor());

    NValEditState z;
    z.SetZeroDisplay(true);
    type(z, "-");
    EXPECT_EQ(z.Text(), "-0");
    // Losing the focus on a lone minus leaves a plain zero.
    z.FocusLost();
    EXPECT_EQ(z.Text(), "0");
    EXPECT_FALSE(z.ShowsMinusColor());

    NValEditState p;
    p.SetPrmtNegative(false);
    EXPECT_TRUE(p.KeyPress(U'-', false).beep);
    EXPECT_EQ(p.Text(), "");
    p.SetValue(-42);
    EXPECT_EQ(p.Value(), 42);
    EXPECT_EQ(p.Text(), "42");

    NValEditState q;
    q.SetValue(-1234);
    EXPECT_EQ(q.Text(), "-1,234");
    q.SetPrmtNegative(false);
    EXPECT_EQ(q.Value(), 1234);
}

TEST(NValEdit, BackspaceDropsTheLastDigit)
{
    NValEditState s;
    type(s, "12.5");
    s.KeyDown(vkey::Back, false);
    EXPECT_EQ(s.Text(), "12.");
    s.KeyDown(vkey::Back, false);
    EXPECT_EQ(s.Text(), "1");
    EXPECT_EQ(s.Value(), 1);
    s.KeyDown(vkey::Back, false);
    EXPECT_EQ(s.Text(), "");
    s.KeyDown(vkey::Back, false);
    EXPECT_EQ(s.Text(), "");
    EXPECT_EQ(s.Value(), 0);

    // A fixed-decimal value loses its decimals first.
    NValEditState f;
    f.SetFixDecimal(2);
    f.SetValue(5);
    f.KeyDown(vkey::Back, false);
    EXPECT_EQ(f.Text(), "5.0");

    // "-12" → "-1" stays negative, and "-" then turns it positive instead of showing "-1"
    // for a value of +1.
    NValEditState n;
    type(n, "-12");
    n.KeyDown(vkey::Back, false);
    EXPECT_EQ(n.Text(), "-1");
    EXPECT_EQ(n.Value(), -1);
    type(n, "-");
    EXPECT_EQ(n.Text(), "1");
    EXPECT_EQ(n.Value(), 1);

    // With text selected Backspace empties the field.
    NValEditState sel;
    type(sel, "987");
    sel.KeyDown(vkey::Back, true);
    EXPECT_EQ(sel.Text(), "");
    EXPECT_EQ(sel.Value(), 0);
}

TEST(NValEdit, DeleteEscapeAndSelection)
{
    NValEditState s;
    type(s, "123");
    EXPECT_TRUE(s.KeyDown(vkey::Delete, false).consumed);
    EXPECT_EQ(s.Text(), "123");
    s.KeyDown(vkey::Delete, true);
    EXPECT_EQ(s.Text(), "");

    NValEditState all;
    all.SetDelAllClear(true);
    type(all, "123");
    all.KeyDown(vkey::Delete, false);
    EXPECT_EQ(all.Value(), 0);

    // Escape returns to the value the field had when it got the focus.
    NValEditState e;
    e.SetValue(250);
    e.FocusGained();
    type(e, "9");
    EXPECT_EQ(e.Text(), "2,509");
    EXPECT_TRUE(e.KeyDown(vkey::Escape, false).consumed);
    EXPECT_EQ(e.Text(), "250");

    // A selection makes the next digit, "-" or "." start over; "." keeps a typed minus.
    NValEditState t;
    type(t, "-77");
    t.KeyPress(U'.', true);
    EXPECT_EQ(t.Text(), "-0.");
    type(t, "5");
    EXPECT_DOUBLE_EQ(static_cast<double>(t.Value()), -0.5);
    t.KeyPress(U'3', true);
    EXPECT_EQ(t.Text(), "3");
    t.KeyPress(U'-', true);
    EXPECT_EQ(t.Text(), "-");

    // Read-only: keys change nothing, copy still passes on.
    NValEditState ro;
    ro.SetValue(5);
    ro.SetReadOnly(true);
    ro.KeyPress(U'7', false);
    ro.KeyDown(vkey::Delete, true);
    ro.KeyDown(vkey::Back, false);
    EXPECT_EQ(ro.Text(), "5");
    EXPECT_FALSE(ro.KeyPress(3, false).consumed);
    EXPECT_TRUE(ro.KeyPress(22, false).consumed);
}

TEST(NValEdit, KeyDownFocusMovesAndSwallowedKeys)
{
    NValEditState s;
    EXPECT_FALSE(s.KeyDown(vkey::Return, false).consumed);
    EXPECT_FALSE(s.KeyDown(vkey::Up, false).consumed);
    EXPECT_FALSE(s.KeyDown(39, false).consumed); // Right: the edit's own
    EXPECT_TRUE(s.KeyDown(vkey::Left, false).consumed);
    EXPECT_TRUE(s.KeyDown(vkey::Home, false).selectAll);

    s.SetEnterNext(true);
    s.SetArrowNext(true);
    EXPECT_EQ(s.KeyDown(vkey::Return, false).focus, FocusMove::Next);
    EXPECT_EQ(s.KeyDown(vkey::Up, false).focus, FocusMove::Previous);
    EXPECT_EQ(s.KeyDown(vkey::Down, false).focus, FocusMove::Next);

    // Letters and control characters are swallowed without a beep; paste passes on.
    const NValKeyResult letter = s.KeyPress(U'a', false);
    EXPECT_TRUE(letter.consumed);
    EXPECT_FALSE(letter.beep);
    EXPECT_TRUE(s.KeyPress(13, false).consumed);
    EXPECT_FALSE(s.KeyPress(22, false).consumed);
    EXPECT_EQ(s.Text(), "");
}

TEST(NValEdit, ParseTextGroupingSignsAndFullWidth)
{
    NValEditState s;
    EXPECT_EQ(s.ParseText("1,234.5"), 1234.5L);
    EXPECT_EQ(s.ParseText("1234,5"), 0);
    EXPECT_EQ(s.ParseText("1,234,567"), 1234567);
    EXPECT_EQ(s.ParseText("1234,567"), 0); // a group is missing
    EXPECT_EQ(s.ParseText("12,34"), 0);
    EXPECT_EQ(s.ParseText(",123"), 0);
    EXPECT_EQ(s.ParseText("1.234,5"), 0);
    // Ungrouped numbers are numbers too, and a sign is not one of the grouped digits.
    EXPECT_EQ(s.ParseText("1234"), 1234);
    EXPECT_EQ(s.ParseText("-123,456"), -123456);
    EXPECT_EQ(s.ParseText("+7"), 7);
    EXPECT_EQ(s.ParseText("12."), 12);
    // Full-width digits, comma and point; the yen sign and "$" in front.
    EXPECT_EQ(s.ParseText("１，２３４．５"), 1234.5L);
    EXPECT_EQ(s.ParseText("￥1,000"), 1000);
    EXPECT_EQ(s.ParseText("\\1,000"), 1000);
    EXPECT_EQ(s.ParseText("$5"), 5);
    // Not numbers.
    for (const char *bad : {"", "-", ".", "abc", "1e5", "1-2", "1 2", "0x10", "inf", "１２あ", "\xff"})
        EXPECT_EQ(s.ParseText(bad), 0) << bad;
    // Blanks around a number are not part of it (a copied spreadsheet cell ends in a line break).
    for (const char *padded : {" 12", "12 ", "\t12\r\n", "　１２"})
        EXPECT_EQ(s.ParseText(padded), 12) << padded;

    NValEditState lead;
    lead.SetLeadingChar(U'¥');
    EXPECT_EQ(lead.ParseText("¥1,000"), 1000);
    EXPECT_EQ(lead.ParseText("$5"), 0); // only the field's own leading character
}

TEST(NValEdit, PasteUndoAndTextSet)
{
    NValEditState s;
    s.Paste(std::string("1,234.5"));
    EXPECT_EQ(s.Text(), "1,234.5");
    s.Paste(std::string("1234,5"));
    EXPECT_EQ(s.Value(), 0);
    s.Paste(std::string("９８７６"));
    EXPECT_EQ(s.Text(), "9,876");
    // A spreadsheet cell comes with a line break; blanks inside a number still make it 0.
    s.Paste(std::string(" 12,345\r\n"));
    EXPECT_EQ(s.Text(), "12,345");
    s.Paste(std::string("12 345"));
    EXPECT_EQ(s.Value(), 0);
    s.Paste(std::nullopt);
    EXPECT_EQ(s.Value(), 0);
    s.TextSet("1,000.25");
    EXPECT_EQ(s.Text(), "1,000.25");
    s.Undo("12,345.");
    EXPECT_EQ(s.Text(), "12,345");
    s.Cut();
    EXPECT_EQ(s.Text(), "");

    // A pasted number is held to the field's limits.
    NValEditState f;
    f.SetFixDecimal(1);
    f.SetMaxDigits(4);
    f.Paste(std::string("123,456"));
    EXPECT_EQ(f.Text(), "999.9");
}

TEST(NValEdit, SetValueClampsAndCounts)
{
    NValEditState s;
    s.SetValue(1e9L);
    EXPECT_EQ(s.Value(), 999999999);
    EXPECT_EQ(s.Text(), "999,999,999");
    s.SetValue(-1e30L);
    EXPECT_EQ(s.Text(), "-999,999,999");
    s.SetValue(std::numeric_limits<long double>::infinity());
    EXPECT_EQ(s.Value(), 999999999);
    s.SetValue(std::numeric_limits<long double>::quiet_NaN());
    EXPECT_EQ(s.Value(), 0);

    // More decimals than the field holds are shown rounded, the value stays.
    NValEditState m;
    m.SetMaxDigits(5);
    m.SetValue(1.234567L);
    EXPECT_EQ(m.Text(), "1.2346");
    EXPECT_EQ(m.DigitCount(), 5);
    EXPECT_EQ(m.DecimalCount(), 4);

    // A value that came from a double shows its short decimal form.
    NValEditState d;
    d.SetValue(static_cast<long double>(1234.1));
    EXPECT_EQ(d.Text(), "1,234.1");
    EXPECT_EQ(d.DecimalCount(), 1);

    NValEditState c;
    c.SetPutAComma(false);
    c.SetValue(1234567);
    EXPECT_EQ(c.Text(), "1234567");
    c.SetLeadingChar(U'\\');
    EXPECT_EQ(c.Text(), "\\1234567");
    c.SetValue(0);
    EXPECT_EQ(c.Text(), "");
    c.SetZeroDisplay(true);
    EXPECT_EQ(c.Text(), "\\0");
}

TEST(NValEdit, PropertySettersAtRunTime)
{
    NValEditState s;
    EXPECT_FALSE(s.SetMaxDigits(0));
    EXPECT_FALSE(s.SetMaxDigits(16));
    s.SetFixDecimal(3);
    EXPECT_FALSE(s.SetMaxDigits(3)); // not above FixDecimal
    EXPECT_EQ(s.MaxDigits(), 9);
    s.SetFixDecimal(20);
    EXPECT_EQ(s.FixDecimal(), 8);
    s.SetFixDecimal(-5);
    EXPECT_EQ(s.FixDecimal(), -1);

    // Fewer digits clamp the value to what fits.
    NValEditState m;
    m.SetValue(123456);
    ASSERT_TRUE(m.SetMaxDigits(4));
    EXPECT_EQ(m.Value(), 9999);
    EXPECT_EQ(m.Text(), "9,999");

    // FixDecimal cuts extra decimals (no rounding) and pads whole numbers.
    NValEditState f;
    f.SetValue(12.399L);
    f.SetFixDecimal(1);
    EXPECT_EQ(f.Text(), "12.3");
    f.SetValue(-12);
    f.SetFixDecimal(2);
    EXPECT_EQ(f.Text(), "-12.00");
    EXPECT_EQ(f.Value(), -12);
}

TEST(NValEdit, FocusAndMouseSelection)
{
    NValEditState s;
    s.SetValue(12);
    EXPECT_TRUE(s.FocusGained());
    s.MouseActivate();
    EXPECT_FALSE(s.FocusGained()); // a click places the caret instead
    EXPECT_TRUE(s.FocusGained());
    s.SetAutoSelect(false);
    EXPECT_FALSE(s.FocusGained());

    type(s, ".");
    EXPECT_EQ(s.Text(), "12.");
    s.FocusLost(); // a dangling point goes
    EXPECT_EQ(s.Text(), "12");
    EXPECT_FALSE(s.PointEntered());

    using Up = NValEditState::MouseUpAction;
    EXPECT_EQ(s.MouseUp(false), Up::CaretToEnd);
    EXPECT_EQ(s.MouseUp(true), Up::Keep);
    s.DoubleClick();
    EXPECT_EQ(s.MouseUp(false), Up::Keep); // the double click's word selection stays
    EXPECT_EQ(s.MouseUp(false), Up::CaretToEnd);

    // A click into the field selects its text at the release, so that typing 90 over 80 gives
    // 90, not 8090; a later click in the focused field places the caret again.
    s.SetAutoSelect(true);
    s.MouseActivate();
    s.FocusGained();
    EXPECT_EQ(s.MouseUp(false), Up::SelectAll);
    EXPECT_EQ(s.MouseUp(false), Up::CaretToEnd);
    type(s, "90");
    EXPECT_EQ(s.Value(), 1290); // the caret was at the end: digits go on
    s.MouseActivate();
    s.FocusGained();
    EXPECT_EQ(s.MouseUp(false), Up::SelectAll);
    s.KeyPress(U'9', true);
    EXPECT_EQ(s.Value(), 9); // over the selection: replaced
}
