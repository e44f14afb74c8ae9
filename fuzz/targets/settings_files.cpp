// The settings text files and the INI file read from any bytes: CP932 decoding, line splitting,
// keys and values.
#include "fuzz/fuzz_input.h"
#include "base/ini_file.h"
#include "base/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    velmo::fuzz::Input in(data, size);
    const std::string_view bytes = in.rest();
    const velmo::SettingsFile settings = velmo::SettingsFile::parse(bytes);
    for (const auto &[key, value] : settings.entries())
        (void)settings.value(key);
    (void)settings.value("[Folder_Name]");
    const velmo::IniFile ini = velmo::IniFile::parse(bytes);
    (void)ini.intValue("velmot_k", "Top", 0);
    (void)ini.value("VELMOT_K", "width");
    return 0;
}
