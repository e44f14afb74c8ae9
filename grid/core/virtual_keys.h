#pragma once
// Windows virtual-key codes: the key codes that the controls' key events carry and that the
// sessions' key filters compare against. The window layer maps its toolkit's keys onto these
// (grid/ui/QtKeys.h), so both layers speak of keys in one set of numbers.

namespace velmo {

namespace vkey {
constexpr int Back = 8; // Backspace
constexpr int Tab = 9;
constexpr int Clear = 12;
constexpr int Return = 13; // Enter, on the main keyboard and on the keypad
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Menu = 18; // Alt
constexpr int Pause = 19;
constexpr int Capital = 20; // Caps Lock
constexpr int Escape = 27;
constexpr int Convert = 28;    // 変換
constexpr int NonConvert = 29; // 無変換
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Snapshot = 44; // Print Screen
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int Key0 = 48; // the digits of the main keyboard: Key0 + digit
constexpr int Key9 = 57;
constexpr int KeyA = 65; // the letters: KeyA + letter - 'A'
constexpr int KeyC = 67;
constexpr int KeyP = 80;
constexpr int KeyS = 83;
constexpr int KeyV = 86;
constexpr int KeyX = 88;
constexpr int KeyY = 89;
constexpr int KeyZ = 90;
constexpr int LWin = 91;
constexpr int Apps = 93; // the context-menu key
constexpr int Numpad0 = 96; // the keypad digits: Numpad0 + digit
constexpr int Numpad9 = 105;
constexpr int Multiply = 106; // keypad *
constexpr int Add = 107;      // keypad +
constexpr int Subtract = 109; // keypad -
constexpr int Decimal = 110;  // keypad decimal point
constexpr int Divide = 111;   // keypad /
constexpr int F1 = 112;       // function keys: F1 + n - 1
constexpr int F2 = 113;
constexpr int F12 = 123;
constexpr int F24 = 135;
constexpr int NumLock = 144;
constexpr int Scroll = 145;
constexpr int OemSemicolon = 186; // ; :
constexpr int OemPlus = 187;      // = +
constexpr int OemComma = 188;     // , <
constexpr int OemMinus = 189;     // - _
constexpr int OemPeriod = 190;    // . >
constexpr int OemSlash = 191;     // / ?
constexpr int OemTilde = 192;     // ` ~
constexpr int OemOpenBracket = 219;  // [ {
constexpr int OemBackslash = 220;    // \ | ¥
constexpr int OemCloseBracket = 221; // ] }
constexpr int OemQuote = 222;        // ' "
constexpr int KatakanaHiragana = 242;
constexpr int ZenkakuHankaku = 244;

constexpr bool isNumpadDigit(int vk) { return vk >= Numpad0 && vk <= Numpad9; }
constexpr bool isArrow(int vk) { return vk >= Left && vk <= Down; }
// Shift, Ctrl, Alt, Caps Lock and Num Lock pressed alone type nothing; they change what the next
// key does (Shift is half of Shift+Enter, Ctrl of Ctrl+S). The editable price grids let them
// pass without a sound or a store, so that the keypad types whatever the lock state and a
// shortcut neither beeps nor replaces the undo of the last edit.
constexpr bool onlyChangesLaterKeys(int vk)
{
    return vk == Shift || vk == Control || vk == Menu || vk == Capital || vk == NumLock;
}
} // namespace vkey

// The control characters the clipboard shortcuts type into an edit, as a key press carries them.
namespace ctrlchar {
constexpr char32_t Copy = 3;   // Ctrl+C
constexpr char32_t Paste = 22; // Ctrl+V
constexpr char32_t Cut = 24;   // Ctrl+X
constexpr char32_t Undo = 26;  // Ctrl+Z
} // namespace ctrlchar

// The modifier keys held with a key or a mouse button.
struct ShiftState {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// Shift+F10 opens the pop-up menu of the control with the focus, as the context-menu key does
// (that key the platform turns into the menu itself).
constexpr bool opensContextMenu(int vk, ShiftState mods)
{
    return vk == vkey::F1 + 9 && mods.shift && !mods.ctrl && !mods.alt;
}

// Where a key asks the focus to go: to the next or the previous control of the window.
enum class FocusMove { None, Next, Previous };

} // namespace velmo
