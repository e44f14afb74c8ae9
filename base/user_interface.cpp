#include "base/user_interface.h"

#include "base/shared_texts.h"
#include "base/cp932.h"

#include <string_view>

namespace velmo {

std::optional<std::string> askFieldText(UserInterface &ui, const std::string &caption, const std::string &prompt,
                                        const std::string &initial, size_t bytes)
{
    std::optional<std::string> text = ui.askText(caption, prompt, initial, bytes);
    if (text && bytes > 0)
        *text = cp932::fit(*text, bytes);
    return text;
}

std::string suggestedFileName(const std::vector<std::string> &names, const std::string &suffix)
{
    std::string name;
    for (const std::string &raw : names) {
        std::string_view part = raw;
        // Half- and full-width spaces around a name (U+3000 is E3 80 80 in UTF-8).
        for (bool trimmed = false; !trimmed;) {
            trimmed = true;
            for (std::string_view space : {std::string_view(" "), std::string_view("\xE3\x80\x80")}) {
                if (part.substr(0, space.size()) == space) {
                    part.remove_prefix(space.size());
                    trimmed = false;
                }
                if (part.size() >= space.size() && part.substr(part.size() - space.size()) == space) {
                    part.remove_suffix(space.size());
                    trimmed = false;
                }
            }
        }
        if (part.empty())
            continue;
        if (!name.empty())
            name += '_';
        for (char c : part)
            name += static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos ? '_' : c;
    }
    if (name.empty())
        name = sharedtext::UnnamedOutputName;
    return suffix.empty() ? name : name + "." + suffix;
}

} // namespace velmo
