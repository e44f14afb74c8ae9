#include "controls/core/user_interface.h"

#include "controls/core/cp932.h"

namespace velmo {

std::optional<std::string> askFieldText(UserInterface &ui, const std::string &caption, const std::string &prompt,
                                        const std::string &initial, size_t bytes)
{
    std::optional<std::string> text = ui.askText(caption, prompt, initial, bytes);
    if (text && bytes > 0)
        *text = cp932::fit(*text, bytes);
    return text;
}

} // namespace velmo
