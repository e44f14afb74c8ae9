#include "grid/ui/QtKeys.h"

#include <QKeyEvent>

namespace velmo {

namespace {

int keypadKey(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return vkey::Numpad0 + (key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Period:
    case Qt::Key_Comma: return vkey::Decimal; // the keypad point, whatever the layout prints
    case Qt::Key_Asterisk: return vkey::Multiply;
    case Qt::Key_Plus: return vkey::Add;
    case Qt::Key_Minus: return vkey::Subtract;
    case Qt::Key_Slash: return vkey::Divide;
    default: return 0; // keypad arrows, Home, Enter ... are the keys they name
    }
}

} // namespace

int virtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier)
        if (const int vk = keypadKey(key))
            return vk;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return vkey::Key0 + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return vkey::KeyA + (key - Qt::Key_A);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return vkey::F1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return vkey::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vkey::Tab;
    case Qt::Key_Clear: return vkey::Clear;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vkey::Return;
    case Qt::Key_Shift: return vkey::Shift;
    case Qt::Key_Control: return vkey::Control;
    case Qt::Key_Alt: return vkey::Menu;
    case Qt::Key_Pause: return vkey::Pause;
    case Qt::Key_CapsLock: return vkey::Capital;
    case Qt::Key_Hiragana_Katakana: return vkey::KatakanaHiragana;
    case Qt::Key_Henkan: return vkey::Convert;
    case Qt::Key_Muhenkan: return vkey::NonConvert;
    case Qt::Key_Escape: return vkey::Escape;
    case Qt::Key_Space: return vkey::Space;
    case Qt::Key_PageUp: return vkey::PageUp;
    case Qt::Key_PageDown: return vkey::PageDown;
    case Qt::Key_End: return vkey::End;
    case Qt::Key_Home: return vkey::Home;
    case Qt::Key_Left: return vkey::Left;
    case Qt::Key_Up: return vkey::Up;
    case Qt::Key_Right: return vkey::Right;
    case Qt::Key_Down: return vkey::Down;
    case Qt::Key_Print: return vkey::Snapshot;
    case Qt::Key_Insert: return vkey::Insert;
    case Qt::Key_Delete: return vkey::Delete;
    case Qt::Key_Meta: return vkey::LWin;
    case Qt::Key_Menu: return vkey::Apps;
    case Qt::Key_NumLock: return vkey::NumLock;
    case Qt::Key_ScrollLock: return vkey::Scroll;
    // Shifted digits of the main keyboard (US layout) keep the digit key's code.
    case Qt::Key_ParenRight: return vkey::Key0;
    case Qt::Key_Exclam: return vkey::Key0 + 1;
    case Qt::Key_At: return vkey::Key0 + 2;
    case Qt::Key_NumberSign: return vkey::Key0 + 3;
    case Qt::Key_Dollar: return vkey::Key0 + 4;
    case Qt::Key_Percent: return vkey::Key0 + 5;
    case Qt::Key_AsciiCircum: return vkey::Key0 + 6;
    case Qt::Key_Ampersand: return vkey::Key0 + 7;
    case Qt::Key_Asterisk: return vkey::Key0 + 8;
    case Qt::Key_ParenLeft: return vkey::Key9;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return vkey::OemSemicolon;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return vkey::OemPlus;
    case Qt::Key_Comma:
    case Qt::Key_Less: return vkey::OemComma;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return vkey::OemMinus;
    case Qt::Key_Period:
    case Qt::Key_Greater: return vkey::OemPeriod;
    case Qt::Key_Slash:
    case Qt::Key_Question: return vkey::OemSlash;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return vkey::OemTilde;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return vkey::OemOpenBracket;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
    case Qt::Key_yen: return vkey::OemBackslash;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return vkey::OemCloseBracket;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return vkey::OemQuote;
    case Qt::Key_Zenkaku_Hankaku: return vkey::ZenkakuHankaku;
    default: return 0;
    }
}

int virtualKeyFromQt(const QKeyEvent &e)
{
    return virtualKeyFromQt(e.key(), e.modifiers());
}

ShiftState shiftStateFromQt(Qt::KeyboardModifiers modifiers)
{
    return {(modifiers & Qt::ShiftModifier) != 0, (modifiers & Qt::ControlModifier) != 0,
            (modifiers & Qt::AltModifier) != 0};
}

ShiftState shiftStateFromQt(const QKeyEvent &e)
{
    ShiftState s = shiftStateFromQt(e.modifiers());
    if (e.key() == Qt::Key_Backtab)
        s.shift = true;
    return s;
}

} // namespace velmo
