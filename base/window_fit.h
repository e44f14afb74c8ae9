#pragma once
// Where a top-level window or dialog opens and how large it is, from the size it wants and the
// screen's work area, all in logical (device-independent) pixels. A window that fits opens
// whole; one that does not is cut to the work area and its content scrolls.
#include "base/user_interface.h"

#include <optional>

namespace velmo {

// A size in logical pixels.
struct Size {
    int width = 0, height = 0;
    bool operator==(const Size &) const = default;
};

// The smallest logical work area on which every window of the programs opens whole.
inline constexpr Size WholeWindowWorkArea{1280, 680};

// What to do with a window.
struct WindowFit {
    Rect client;         // position of the frame's corner and the client size
    bool scroll = false; // the content is larger than the client area and must scroll
    bool operator==(const WindowFit &) const = default;
};

// Fits a window that wants `wanted` (client size) into `workArea`. `frame` is what the
// window manager adds around the client (borders and title bar, width and height). The client
// never exceeds the work area less the frame and never falls below `minimum` where the work
// area allows it. Without a position the window is centred; a position is kept where the whole
// frame fits and otherwise moved the least distance that makes it fit.
WindowFit fitWindow(Size wanted, const Rect &workArea, Size frame = {}, std::optional<Rect> position = std::nullopt,
                    Size minimum = {});

// The same rectangle pulled into the work area: size cut to it, corner moved into it.
Rect clampIntoWorkArea(const Rect &r, const Rect &workArea, Size frame = {});

} // namespace velmo
