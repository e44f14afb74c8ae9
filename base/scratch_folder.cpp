#include "base/scratch_folder.h"

#include "base/shared_texts.h"
#include "base/errors.h"
#include "base/fileio.h"

#include <cerrno>
#include <cstdlib>

namespace velmo {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(const std::string &what)
{
    std::error_code ec;
    const fs::path tmp = fs::temp_directory_path(ec);
    std::string t = ((ec ? fs::path("/tmp") : tmp) / "velmo-XXXXXX").string();
    if (!::mkdtemp(t.data())) {
        const int err = errno;
        throw IoError(sharedtext::scratchFolderText(what, fs::path(t).parent_path(), systemErrorText(err)));
    }
    path_ = t;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

} // namespace velmo
