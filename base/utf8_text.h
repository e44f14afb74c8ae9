#pragma once
// Bytes of unknown code as text: UTF-8 when they are valid UTF-8, otherwise CP932 (the code of
// the files and of names written on Windows). Lists, file names in JSON and other texts that
// come from outside are read the same way.
#include <string>
#include <string_view>

namespace velmo {

// Whether `s` is valid UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool validUtf8(std::string_view s);

// The text of bytes: as they are when valid UTF-8, else decoded as CP932 (a byte that is not
// valid CP932 becomes U+FFFD and sets `clean`, when given, to false).
std::string textOfBytes(std::string_view bytes, bool *clean = nullptr);

// `s` with every byte that is not part of a valid UTF-8 sequence replaced by U+FFFD.
std::string validUtf8Only(std::string_view s);

// One code point as UTF-8; a surrogate, 0 or a value beyond U+10FFFF gives U+FFFD.
std::string encodeUtf8(char32_t c);

} // namespace velmo
