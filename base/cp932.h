#pragma once
// Shift-JIS (Windows code page 932) text: every string in the data files and every settings
// text file is in this code page. In memory, text is UTF-8; file strings are kept as CP932 bytes.
#include <string>
#include <string_view>

namespace velmo::cp932 {

// UTF-8 → CP932. A character the code page cannot hold becomes "?".
std::string encode(std::string_view utf8);

// CP932 → UTF-8. A lone lead byte at the end is what cutting a text to its field leaves: it is
// dropped quietly. Any other byte that is not valid CP932 becomes U+FFFD and, when `clean` is
// given, sets it to false.
std::string decode(std::string_view bytes, bool *clean = nullptr);

// What decode() would find in CP932 bytes: all valid; valid but for a lone lead byte at the
// end, which a cut leaves (decode drops it quietly); or a byte that is not valid CP932. Answers
// from what the converter said of each byte and byte pair the first time it was met, so that
// checking every text of a price file costs microseconds, not a conversion each.
enum class TextState { Valid, CutAfterLeadByte, Invalid };
TextState inspect(std::string_view bytes);

// Cuts CP932 bytes to at most n bytes. The cut is by bytes, so it may split a double-byte
// character and leave its lead byte alone at the end, as the files do.
std::string cut(std::string_view bytes, size_t n);

// The longest beginning of a UTF-8 text whose CP932 form holds at most n bytes, cut between
// characters (never inside a double-byte one), as UTF-8. A text that fits comes back as it is;
// a cut one comes back as the field will hold it (a character the code page cannot hold is
// "?" there as in the file). A text field shows this, so that it shows what is stored.
std::string fit(std::string_view utf8, size_t n);

// What a field of n bytes holds after an edit changed its text from `before` to `typed`: the
// typed text when it fits; `before` when one typed character would go beyond the field (the key
// is refused, wherever the caret was); otherwise (a paste) fit(typed, n).
std::string fitEdit(std::string_view before, std::string_view typed, size_t n);

// The number of bytes a UTF-8 text takes in CP932.
size_t length(std::string_view utf8);

// True when b starts a double-byte character in CP932.
constexpr bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

} // namespace velmo::cp932
