#include "velmok/session/window_placement.h"

#include "base/ini_file.h"

#include <string>

namespace velmo {

namespace {
const char *IniSection = "velmot_k";
} // namespace

std::filesystem::path iniFileOf(const std::filesystem::path &programPath)
{
    std::filesystem::path p = programPath;
    p.replace_extension(".ini");
    return p;
}

Rect readWindowPlacement(const std::filesystem::path &iniPath, const Rect &workArea)
{
    const IniFile ini = IniFile::read(iniPath);
    Rect r;
    r.top = ini.intValue(IniSection, "Top", workArea.top);
    r.left = ini.intValue(IniSection, "Left", workArea.left);
    r.width = ini.intValue(IniSection, "Width", DesignWindowSize.width);
    r.height = ini.intValue(IniSection, "Height", DesignWindowSize.height);
    if (r.left > workArea.right() - 100 || r.left < workArea.left)
        r.left = workArea.left;
    if (r.top < workArea.top || r.top > workArea.bottom() - 100)
        r.top = workArea.top;
    return r;
}

Rect placementToSave(const Rect &saved, const Rect &opened, const Rect &closing)
{
    Rect r = closing;
    if (closing.width == opened.width && closing.height == opened.height && saved.width > 0 && saved.height > 0) {
        r.width = saved.width;
        r.height = saved.height;
    }
    return r;
}

void writeWindowPlacement(const std::filesystem::path &iniPath, const Rect &r)
{
    IniFile ini = IniFile::read(iniPath);
    ini.set(IniSection, "Top", std::to_string(r.top));
    ini.set(IniSection, "Left", std::to_string(r.left));
    ini.set(IniSection, "Width", std::to_string(r.width));
    ini.set(IniSection, "Height", std::to_string(r.height));
    ini.write(iniPath);
}

} // namespace velmo
