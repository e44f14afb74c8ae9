#pragma once
// Small routines shared by the three programs.
#include "base/currency.h"
#include "base/rounding.h"

#include <string>
#include <string_view>

namespace velmo {

// The n-th ";"-terminated field of a command-line argument. With fewer terminated fields it is
// the last terminated one; text after the last ";" is never returned; no ";" gives "".
std::string SplitField(std::string_view text, int n);

// The text without the spaces, tabs and line ends around it.
std::string trimmedText(std::string_view text);

// Removes every "," from a typed number; an empty result becomes "0".
std::string CleanNumberText(std::string_view text);

// Money text, Japanese conventions: whole yen, "," grouping, no currency sign, a negative
// amount keeps its minus ("-1,234"). Fractions are rounded half away from zero.
std::string FormatMoney(Currency value);
// A stored price as an editable cell shows it: "," grouping and exactly the decimals the value
// holds ("1,234.6", "1,234", "-0.05"), so that the cell shows what is stored and Enter over it
// stores the same value again.
std::string FormatStoredMoney(Currency value);

// An absolute path with each existing component spelled as it is on disk (a component that
// matches an entry only when case is ignored takes the entry's spelling).
std::string LongPathName(const std::string &path);

} // namespace velmo
