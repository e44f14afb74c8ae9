#pragma once
// The three kinds of failure that end a command. Each carries a Japanese message that names
// the file, text or value concerned; the application shows it in an error box.
#include <stdexcept>
#include <string>

namespace velmo {

struct VelmoError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A file could not be opened, read, written or is too short.
struct IoError : VelmoError {
    using VelmoError::VelmoError;
};

// A write found that another program changed what it was about to replace since it was read:
// nothing was written. The batch programs end with status 3, the windows ask again.
struct ChangedOnDiskError : IoError {
    using IoError::IoError;
};

// A text is not a number.
struct ConversionError : VelmoError {
    using VelmoError::VelmoError;
};

// A position, range or width is outside what a control allows.
struct RangeError : VelmoError {
    using VelmoError::VelmoError;
};

} // namespace velmo
