#include "grid_entry.h"

#include "support.h"

namespace velmo {

KeyFilter commonKeyFilter(int vk, bool editorShown)
{
    if (vkey::onlyChangesLaterKeys(vk))
        return {};
    if (vkey::isArrow(vk) && !editorShown)
        return {};
    if (typesIntoNumber(vk))
        return {};
    KeyFilter f;
    f.store = true;
    f.closeEditor = true;
    f.beep = vk != vkey::Return && vk != vkey::Up && vk != vkey::Down;
    return f;
}

Currency entryValue(const std::string &text, bool removeCommas)
{
    const std::string t = removeCommas ? CleanNumberText(text) : text;
    const size_t first = t.find_first_not_of(' ');
    if (first == std::string::npos)
        return t.empty() ? Currency() : Currency::parse(t); // only spaces: not a number
    return Currency::parse(t.substr(first, t.find_last_not_of(' ') - first + 1));
}

} // namespace velmo
