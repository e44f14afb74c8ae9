#pragma once
// Opens top-level windows and dialogs inside the screen's work area (logical pixels), by the
// rule of base/window_fit.h, and labels that cut their text with "…".
#include "base/window_fit.h"

#include <QLabel>
#include <QSize>

#include <optional>

class QScrollArea;
class QWidget;

namespace velmo {

// The logical work area of the screen the widget is on, or of the primary screen.
Rect logicalWorkArea(const QWidget *widget);

// What the window manager adds around the client of this window: what it added when the
// window was last shown, or an allowance for borders and a title bar before the first show.
Size frameAllowance(const QWidget *window);

// Sizes and places a top-level window before it is shown: `wanted` (the window's size hint when
// empty) where it fits, else the work area, centred or at `position` pulled into the work area.
// When it does not fit, its content scrolls and its buttons stay in view:
// - a QMainWindow's central widget goes into a scroll area (menus and status bar stay);
// - otherwise every item of the window's top layout but the last `keptBelow` (the button row)
//   goes into a scroll area.
WindowFit fitToScreen(QWidget *window, QSize wanted = {}, std::optional<QPoint> position = std::nullopt,
                      int keptBelow = 1);

// The scroll area fitToScreen put the content into, or null when the window opened whole.
QScrollArea *fitScrollArea(const QWidget *window);

// Moves and, where needed, shrinks a shown top-level window so that its frame lies inside the
// work area (message boxes, input boxes and the other windows nobody sized).
void keepInsideWorkArea(QWidget *window);

// A label that never draws past its width: a text that is too wide is cut with "…" and the
// whole text is its tool tip. text() stays the whole text.
class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget *parent = nullptr);
    // The text as drawn in the current width.
    QString shownText() const;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *e) override;
    bool event(QEvent *e) override;
};

} // namespace velmo
