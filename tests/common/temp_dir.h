#pragma once
// A temporary folder removed with everything in it when the test ends.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace velmo::test {

struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        std::string t = (std::filesystem::temp_directory_path() / "velmo-test-XXXXXX").string();
        path = ::mkdtemp(t.data());
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
};

} // namespace velmo::test
