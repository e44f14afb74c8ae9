#include "pricefile/service_folder.h"
#include "base/shared_texts.h"

#include "base/errors.h"
#include "base/fileio.h"
#include "pricefile/pipe_block.h"

namespace velmo {
namespace fs = std::filesystem;

std::string serviceFileName(int service)
{
    return "kanzai" + std::to_string(service + 1) + ".fda";
}

namespace datafolder {

fs::path prepare(const ProgramHomes &homes)
{
    const fs::path data = homes.data / ServiceDataFolderName;
    std::error_code ec;
    const fs::file_status st = fs::status(data, ec);
    if (fs::exists(st) && !fs::is_directory(st))
        throw IoError(sharedtext::dataFolderNotMadeText(data, sharedtext::SameNameFileText));
    if (!fs::is_directory(st)) {
        fs::create_directories(data, ec);
        if (ec)
            throw IoError(sharedtext::dataFolderNotMadeText(data, systemErrorText(ec.value())));
    }
    if (pathExists(data / "haikan1.fda"))
        return data;
    seedServiceFiles(homes.program, data);
    return data;
}

std::optional<int> serviceOfFileName(const std::string &name)
{
    for (int n = 0; n < ServiceCount; ++n)
        if (name == serviceFileName(n))
            return n;
    return std::nullopt;
}

bool holdsServiceFiles(const fs::path &folder)
{
    // A look-up that fails is an error, not a folder without data to be seeded.
    for (int n = 0; n < ServiceCount; ++n)
        if (pathExists(folder / serviceFileName(n)))
            return true;
    return false;
}

void seedServiceFiles(const fs::path &programFolder, const fs::path &data)
{
    for (int n = 0; n < ServiceCount; ++n) {
        const fs::path target = data / serviceFileName(n);
        const fs::path tmpl = programFolder / "kanzai" / ("haikan" + std::to_string(n + 1) + ".fda");
        // Only a service file that is not there is seeded: a look-up that fails is an error,
        // and the copy never takes the name of a file that appeared meanwhile.
        if (pathExists(target))
            continue;
        try {
            const auto source = readServiceFileIfPresent(tmpl);
            if (!source)
                continue; // a missing template is not an error
            writeSharedFile(target, source->bytes, Overwrite::Never);
        } catch (const IoError &e) {
            throw IoError(sharedtext::fileNotCopiedText(tmpl, target, e.what()));
        }
    }
}

} // namespace datafolder
} // namespace velmo
