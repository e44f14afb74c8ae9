#pragma once
// A private folder in the system's temporary folder for files that are assembled before they
// are written whole to their place; removed with everything in it at the end of its scope.
#include <filesystem>
#include <string>

namespace velmo {

class ScratchFolder {
public:
    // `what` names the work in the IoError raised when the folder cannot be made.
    explicit ScratchFolder(const std::string &what);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    const std::filesystem::path &path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace velmo
