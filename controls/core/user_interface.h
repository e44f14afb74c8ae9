#pragma once
// What a session may ask of the person at the window. Sessions never touch widgets; the
// window implements this with real dialogs, tests with a scripted fake.
#include <optional>
#include <string>

namespace velmo {

// Results of a question box.
constexpr int ResultYes = 6;    // the first button ("実行")
constexpr int ResultNo = 7;     // the second button ("キャンセル") or Escape
constexpr int ResultClosed = 2; // closed by the window frame

class UserInterface {
public:
    virtual ~UserInterface() = default;
    // A modal question with two buttons; returns ResultYes, ResultNo or ResultClosed.
    virtual int confirm(const std::string &message, const std::string &yes, const std::string &no) = 0;
    // A modal notice with one button.
    virtual void notice(const std::string &message, const std::string &button) = 0;
    // A one-line input box; nothing when cancelled.
    virtual std::optional<std::string> askText(const std::string &title, const std::string &prompt,
                                               const std::string &initial) = 0;
    // A folder selection dialog; nothing when cancelled.
    virtual std::optional<std::string> chooseFolder(const std::string &title) = 0;
    virtual void beep() = 0;
};

} // namespace velmo
