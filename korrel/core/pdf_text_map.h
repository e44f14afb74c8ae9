#pragma once
// The text layer of a PDF written by Qt: the ToUnicode map of each embedded font tells a PDF
// reader which character each glyph stands for, and so decides what a search finds and what a
// copy gives. Qt's writer names a glyph by the lowest code point its font maps to that glyph,
// and the Noto CJK fonts map many characters to one glyph: a space is written as a tab, 水 as
// the Kangxi radical ⽔ (U+2F54), 工 as ⼯, ・ as ‧ (U+2027), the ideographic space as an em
// space. This puts the characters the page drew back in their place.
#include <map>
#include <string>

namespace velmo::print {

// `pdf` with every code point of its ToUnicode maps that is a key of `replace` replaced by its
// value. Only uncompressed maps of 16-bit code points are rewritten, and each code point keeps
// its four hex digits, so no offset of the file moves. Keys and values are at most U+FFFF.
std::string withToUnicodeReplaced(std::string pdf, const std::map<char32_t, char32_t> &replace);

} // namespace velmo::print
