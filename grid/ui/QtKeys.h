#pragma once
// The one map from Qt keys to the virtual-key codes of grid/core/virtual_keys.h, for every
// control of the library.
#include "grid/core/virtual_keys.h"

#include <Qt>

class QKeyEvent;

namespace velmo {

// The virtual-key code of a Qt key: keypad digits 96-105 and the keypad point 110 when the
// keypad modifier is set, the key's own code otherwise; 0 when the key has none.
int virtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers);
int virtualKeyFromQt(const QKeyEvent &e);

// The modifier keys of an event. Shift+Tab arrives as Qt::Key_Backtab; it counts as shifted
// whatever the modifiers say.
ShiftState shiftStateFromQt(Qt::KeyboardModifiers modifiers);
ShiftState shiftStateFromQt(const QKeyEvent &e);

} // namespace velmo
