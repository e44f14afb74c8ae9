#pragma once
// A line edit whose text goes into a text field of a price file holds no more than that field:
// the bytes are counted in CP932, as the file stores them (a double-byte character counts two).
#include <cstddef>

class QLineEdit;

namespace velmo {

// A character typed beyond `bytes` is refused and a text pasted beyond it is cut at once, with
// the beep, so that the box never shows more than will be stored. 0: no limit.
void limitToFieldBytes(QLineEdit *edit, size_t bytes);

} // namespace velmo
