#include "fileio.h"

#include "cp932.h"
#include "errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmo {

std::string systemErrorText(int err)
{
    return std::strerror(err);
}

std::string readWholeFile(const std::filesystem::path &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw IoError("ファイル " + path.string() + " を開けません: " + systemErrorText(errno));
    // Read straight into a string one byte longer than the file, so that the read that finds
    // the end needs no growth; keep reading past it in case the file grew meanwhile.
    struct stat st {};
    std::string data(::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<size_t>(st.st_size) + 1 : 1, '\0');
    size_t used = 0;
    for (;;) {
        if (used == data.size())
            data.resize(data.size() + 65536);
        const ssize_t n = ::read(fd, data.data() + used, data.size() - used);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            throw IoError("ファイル " + path.string() + " を読めません: " + systemErrorText(err));
        }
        if (n == 0)
            break;
        used += static_cast<size_t>(n);
    }
    data.resize(used);
    ::close(fd);
    return data;
}

std::vector<std::string> readTextLines(const std::filesystem::path &path)
{
    const std::string text = cp932::decode(readWholeFile(path));
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        pos = end + 1;
    }
    return lines;
}

void writeFileAtomically(const std::filesystem::path &path, std::string_view bytes)
{
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::string tmpl = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        throw IoError("ファイル " + path.string() + " に書き込めません: " + systemErrorText(errno));
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(tmpl.c_str());
        throw IoError("ファイル " + path.string() + " に書き込めません: " + systemErrorText(err));
    };
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0)
        fail(errno);
    // mkstemp creates the file readable by its owner only; keep the permissions of the file
    // being replaced, or give a new file the usual ones.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        throw IoError("ファイル " + path.string() + " に書き込めません: " + systemErrorText(err));
    }
    if (::rename(tmpl.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        throw IoError("ファイル " + path.string() + " に書き込めません: " + systemErrorText(err));
    }
}

} // namespace velmo
