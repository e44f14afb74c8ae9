#pragma once
// Where the main window opens: its position and size in the INI file beside the program
// (section "velmot_k", keys Top, Left, Width, Height), pulled back into the work area.
#include "base/user_interface.h"

#include <filesystem>

namespace velmo {

// The window's design size, used when the INI file gives none.
inline constexpr Rect DesignWindowSize{0, 0, 1280, 860};

// The INI file of a program: its path with the extension ".ini".
std::filesystem::path iniFileOf(const std::filesystem::path &programPath);

// The saved rectangle (frame position, client size). A missing file or key takes the work
// area's corner and the design size; a position off the work area (a left edge beyond its
// right edge less 100 or before its left edge, a top likewise) is pulled back to it, each axis
// on its own. An unreadable file raises IoError.
Rect readWindowPlacement(const std::filesystem::path &ini, const Rect &workArea);

// The rectangle to save at close. A window still at the size it opened at keeps the saved size:
// the work area may have cut it (a smaller screen, a larger scale), and the next start on a
// larger work area opens at the size the person left. A resized window saves its new size.
// The position is always the closing one.
Rect placementToSave(const Rect &saved, const Rect &opened, const Rect &closing);

// Writes the rectangle, keeping the file's other sections and keys.
void writeWindowPlacement(const std::filesystem::path &ini, const Rect &r);

} // namespace velmo
