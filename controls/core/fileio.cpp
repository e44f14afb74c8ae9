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
    switch (err) {
    case ENOENT: return "ファイルまたはフォルダーがありません";
    case EACCES: return "アクセスが拒否されました";
    case EPERM: return "この操作は許可されていません";
    case ENOSPC: return "ディスクの空き容量が足りません";
    case EDQUOT: return "ディスクの使用量の制限を超えました";
    case EROFS: return "読み取り専用のドライブです";
    case EISDIR: return "ファイルではなくフォルダーです";
    case ENOTDIR: return "パスの途中にフォルダーでないものがあります";
    case EEXIST: return "同じ名前のものがすでにあります";
    case EIO: return "ディスクの読み書きでエラーが発生しました";
    case EMFILE:
    case ENFILE: return "開いているファイルが多すぎます";
    case ENAMETOOLONG: return "名前が長すぎます";
    case ELOOP: return "シンボリックリンクが多すぎるか循環しています";
    case EBUSY: return "ほかのプログラムが使用中です";
    case EXDEV: return "別のドライブへは移せません";
    case ENOTEMPTY: return "フォルダーが空ではありません";
    case ESTALE: return "ネットワーク上のファイルが無効になりました";
    case ETIMEDOUT: return "応答がなく時間切れになりました";
    case EFBIG: return "ファイルが大きすぎます";
    case EINVAL: return "無効な引数です";
    default: return std::string("システムエラー ") + std::to_string(err) + " (" + std::strerror(err) + ")";
    }
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

namespace {

uint64_t rotl(uint64_t x, int r) { return (x << r) | (x >> (64 - r)); }

// One step is a bijection of the lane for a fixed word and of the word for a fixed lane, so a
// change of any one word always changes the hash.
uint64_t mixWord(uint64_t lane, uint64_t word) { return rotl((lane ^ word) * 0x9e3779b97f4a7c15ULL, 29); }

uint64_t finalMix(uint64_t h)
{
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    return h ^ (h >> 33);
}

// A hash to tell whether a file's bytes changed, not a cryptographic one: eight-byte words in
// four independent lanes, so that a 432,000-byte price file hashes in a few tens of
// microseconds instead of the half millisecond a byte-at-a-time hash takes.
uint64_t contentHash(std::string_view bytes)
{
    uint64_t lane[4] = {0x9e3779b97f4a7c15ULL, 0xbf58476d1ce4e5b9ULL, 0x94d049bb133111ebULL, 0x2545f4914f6cdd1dULL};
    const char *p = bytes.data();
    const size_t n = bytes.size();
    size_t i = 0;
    for (; i + 32 <= n; i += 32)
        for (int k = 0; k < 4; ++k) {
            uint64_t w;
            std::memcpy(&w, p + i + 8 * k, 8);
            lane[k] = mixWord(lane[k], w);
        }
    uint64_t tail = 0;
    int shift = 0;
    for (; i < n; ++i, shift = (shift + 8) % 64) {
        tail ^= static_cast<uint64_t>(static_cast<unsigned char>(p[i])) << shift;
        if (shift == 56) {
            lane[0] = mixWord(lane[0], tail);
            tail = 0;
        }
    }
    uint64_t h = n;
    for (const uint64_t l : lane)
        h = mixWord(h, l);
    return finalMix(mixWord(h, tail));
}

} // namespace

FileStamp stampOf(const std::filesystem::path &path, std::string_view contents)
{
    FileStamp s;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return s;
    s.exists = true;
    s.size = contents.size();
    s.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.hash = contentHash(contents);
    return s;
}

bool changedOnDisk(const FileStamp &stamp, const std::filesystem::path &path)
{
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (!exists || !stamp.exists)
        return exists != stamp.exists;
    if (static_cast<uintmax_t>(st.st_size) != stamp.size)
        return true;
    try {
        return contentHash(readWholeFile(path)) != stamp.hash;
    } catch (const IoError &) {
        return true;
    }
}

std::vector<std::string> readTextLines(const std::filesystem::path &path)
{
    return splitTextLines(readWholeFile(path));
}

std::vector<std::string> splitTextLines(std::string_view cp932Bytes)
{
    const std::string text = cp932::decode(cp932Bytes);
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

namespace {

[[noreturn]] void writeError(const std::filesystem::path &path, int err)
{
    throw IoError("ファイル " + path.string() + " に書き込めません: " + systemErrorText(err));
}

// The file that `path` names once symbolic links are followed, so that a save replaces the
// link's target and the link stays a link. A link to a file that does not exist yet names
// that file.
std::filesystem::path followLinks(const std::filesystem::path &path)
{
    namespace fs = std::filesystem;
    fs::path p = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec)))
            return p;
        const fs::path target = fs::read_symlink(p, ec);
        if (ec)
            writeError(path, ec.value());
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    writeError(path, ELOOP);
}

// Flushes a folder's entries, so that a rename in it survives a power cut.
int syncFolder(const std::filesystem::path &folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int rc = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno; // some file systems cannot
    ::close(fd);
    return rc;
}

WriteFault plannedFault;
int writesSeen = 0;

// The errno the planned fault gives at `stage` of the current write, or 0.
int injected(WriteFault::Stage stage)
{
    if (plannedFault.stage != stage || writesSeen != plannedFault.nthWrite)
        return 0;
    return plannedFault.error;
}

} // namespace

void planWriteFault(const WriteFault &fault)
{
    plannedFault = fault;
    writesSeen = 0;
}

void clearWriteFault()
{
    plannedFault = WriteFault{};
    writesSeen = 0;
}

void writeFileAtomically(const std::filesystem::path &path, std::string_view bytes)
{
    ++writesSeen;
    const std::filesystem::path target = followLinks(path);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    // A hidden name beside the target: ".kanzai1.fda.XXXXXX".
    std::string name(1, '.');
    name.append(target.filename().string()).append(".XXXXXX");
    std::string tmpl = (folder / name).string();
    if (const int err = injected(WriteFault::Stage::Create))
        writeError(path, err);
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        writeError(path, errno);
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(tmpl.c_str());
        writeError(path, err);
    };
    // A planned write fault lets half of the bytes reach the disk first, as a disk that fills
    // up does.
    const int writeFault = injected(WriteFault::Stage::Write);
    const size_t reach = writeFault ? bytes.size() / 2 : bytes.size();
    size_t done = 0;
    while (done < reach) {
        const ssize_t n = ::write(fd, bytes.data() + done, reach - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        done += static_cast<size_t>(n);
    }
    if (writeFault)
        fail(writeFault);
    if (const int err = injected(WriteFault::Stage::Fsync))
        fail(err);
    if (::fsync(fd) != 0)
        fail(errno);
    // mkstemp creates the file readable by its owner only. The new file takes the mode, owner
    // and group of the file it replaces, as far as this process may give them (a user may give
    // a file only a group of their own); a new file gets the usual mode.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        writeError(path, err);
    }
    if (const int err = injected(WriteFault::Stage::Rename)) {
        ::unlink(tmpl.c_str());
        writeError(path, err);
    }
    if (::rename(tmpl.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        writeError(path, err);
    }
    if (const int err = syncFolder(folder))
        writeError(path, err);
}

} // namespace velmo
