#include "base/window_fit.h"

#include <algorithm>

namespace velmo {

namespace {

// Moves [start, start + length) into [lo, hi) by the least distance; a span longer than the
// range starts at lo.
int clampSpan(int start, int length, int lo, int hi)
{
    if (start + length > hi)
        start = hi - length;
    return std::max(start, lo);
}

} // namespace

Rect clampIntoWorkArea(const Rect &r, const Rect &workArea, Size frame)
{
    Rect out;
    const int roomW = std::max(1, workArea.width - frame.width);
    const int roomH = std::max(1, workArea.height - frame.height);
    out.width = std::clamp(r.width, 1, roomW);
    out.height = std::clamp(r.height, 1, roomH);
    out.left = clampSpan(r.left, out.width + frame.width, workArea.left, workArea.right());
    out.top = clampSpan(r.top, out.height + frame.height, workArea.top, workArea.bottom());
    return out;
}

WindowFit fitWindow(Size wanted, const Rect &workArea, Size frame, std::optional<Rect> position, Size minimum)
{
    const int roomW = std::max(1, workArea.width - frame.width);
    const int roomH = std::max(1, workArea.height - frame.height);
    WindowFit fit;
    const int wantW = std::max(wanted.width, minimum.width);
    const int wantH = std::max(wanted.height, minimum.height);
    fit.scroll = wantW > roomW || wantH > roomH;
    Rect r{0, 0, wantW, wantH};
    if (position) {
        r.left = position->left;
        r.top = position->top;
    } else {
        r.left = workArea.left + (workArea.width - std::min(wantW, roomW) - frame.width) / 2;
        r.top = workArea.top + (workArea.height - std::min(wantH, roomH) - frame.height) / 2;
    }
    fit.client = clampIntoWorkArea(r, workArea, frame);
    return fit;
}

} // namespace velmo
