#include "base/fileio.h"

#include "base/file_history.h"

#include "base/shared_texts.h"
#include "base/cp932.h"
#include "base/errors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__x86_64__) || defined(__i386__)
#include <xxh_x86dispatch.h> // XXH3 with the widest vector unit the processor has
#else
#include <xxhash.h>
#endif

namespace velmo {

std::string systemErrorText(int err)
{
    const char *words = sharedtext::systemErrorWords(err);
    return words ? words : sharedtext::otherSystemErrorText(err, std::strerror(err));
}

std::string tooLargeText(const std::filesystem::path &path, uintmax_t size, uintmax_t expected)
{
    return sharedtext::tooLargeFileText(path, std::to_string(size), expected != 0 ? std::to_string(expected) : "");
}

uint64_t contentHash(std::string_view bytes) { return XXH3_64bits(bytes.data(), bytes.size()); }

std::string_view errorCause(const std::exception &e)
{
    const std::string_view text = e.what();
    const size_t colon = text.find(": ");
    return colon == std::string_view::npos ? text : text.substr(colon + 2);
}

namespace {

[[noreturn]] void readError(const std::filesystem::path &path, int err)
{
    if (err == ENOENT)
        throw IoError(sharedtext::missingFileText(path));
    throw IoError(sharedtext::unreadableFileText(path, systemErrorText(err)));
}

std::string notRegularText(mode_t mode)
{
    if (S_ISDIR(mode))
        return sharedtext::IsFolderText;
    if (S_ISFIFO(mode))
        return sharedtext::IsPipeText;
    if (S_ISSOCK(mode))
        return sharedtext::IsSocketText;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return sharedtext::IsDeviceText;
    return sharedtext::NotRegularText;
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd;
    explicit Descriptor(int d) : fd(d) {}
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

int64_t modifiedNsOf(const struct stat &st)
{
    return static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// Opens a file for reading and fstat()s the open file; -1 when it does not exist. Anything but
// a regular file is refused; O_NONBLOCK keeps the open of a FIFO from waiting for a writer.
int openRegular(const std::filesystem::path &path, struct stat &st)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return -1;
        readError(path, errno);
    }
    Descriptor guard{fd};
    if (::fstat(fd, &st) != 0)
        readError(path, errno);
    if (!S_ISREG(st.st_mode))
        throw IoError(sharedtext::notRegularFileText(path, notRegularText(st.st_mode)));
    guard.fd = -1;
    return fd;
}

// Reads `size` bytes, fewer when the file is shorter now, one byte more when it grew.
std::string readUpTo(int fd, const std::filesystem::path &path, size_t size)
{
    std::string data(size + 1, '\0');
    size_t used = 0;
    while (used < data.size()) {
        const ssize_t n = ::read(fd, data.data() + used, data.size() - used);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            readError(path, errno);
        }
        if (n == 0)
            break;
        used += static_cast<size_t>(n);
    }
    data.resize(used);
    return data;
}

} // namespace

std::optional<FileContents> readFileIfPresent(const std::filesystem::path &path, const SizeCheck &checkSize,
                                              StampHash hash)
{
    struct stat st {};
    const int fd = openRegular(path, st);
    if (fd < 0)
        return std::nullopt;
    Descriptor guard{fd};
    const auto size = static_cast<uintmax_t>(st.st_size);
    checkSize(size);
    FileContents c;
    c.bytes = readUpTo(fd, path, static_cast<size_t>(size));
    if (c.bytes.size() != size) // changed while it was read: its size is checked again
        checkSize(c.bytes.size());
    c.stamp.exists = true;
    c.stamp.size = c.bytes.size();
    c.stamp.modifiedNs = modifiedNsOf(st);
    if (hash == StampHash::Now)
        c.stamp.hash = contentHash(c.bytes);
    return c;
}

FileContents readExistingFile(const std::filesystem::path &path, const SizeCheck &checkSize, StampHash hash)
{
    if (auto c = readFileIfPresent(path, checkSize, hash))
        return std::move(*c);
    readError(path, ENOENT);
}

std::optional<std::string> readWholeFileIfPresent(const std::filesystem::path &path)
{
    auto c = readFileIfPresent(path, [&](uintmax_t size) {
        if (size > MaxTextFileBytes)
            throw IoError(tooLargeText(path, size));
    });
    if (!c)
        return std::nullopt;
    return std::move(c->bytes);
}

std::string readWholeFile(const std::filesystem::path &path)
{
    if (auto bytes = readWholeFileIfPresent(path))
        return std::move(*bytes);
    readError(path, ENOENT);
}

bool pathExists(const std::filesystem::path &path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return true;
    if (errno == ENOENT)
        return false;
    throw IoError(sharedtext::notInspectedText(path, systemErrorText(errno)));
}

std::optional<std::string> notAFileReason(const std::filesystem::path &path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? sharedtext::missingFileText(path)
                               : sharedtext::unreadableFileText(path, systemErrorText(errno));
    if (!S_ISREG(st.st_mode))
        return sharedtext::notRegularFileText(path, notRegularText(st.st_mode));
    return std::nullopt;
}

FileStamp stampOf(const std::filesystem::path &path, std::string_view contents)
{
    FileStamp s;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return s;
    s.exists = true;
    s.size = contents.size();
    s.modifiedNs = modifiedNsOf(st);
    s.hash = contentHash(contents);
    return s;
}

bool changedOnDisk(const FileStamp &stamp, const std::filesystem::path &path)
{
    struct stat st {};
    const int fd = openRegular(path, st);
    if (fd < 0)
        return stamp.exists;
    Descriptor guard{fd};
    if (!stamp.exists || static_cast<uintmax_t>(st.st_size) != stamp.size)
        return true;
    const std::string now = readUpTo(fd, path, static_cast<size_t>(stamp.size));
    return now.size() != stamp.size || contentHash(now) != stamp.hash;
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
    throw IoError(sharedtext::unwritableFileText(path, systemErrorText(err)));
}

// The file that `path` names once symbolic links are followed, so that a save replaces the
// link's target and the link stays a link. A link to a file that does not exist yet names
// that file. Only ENOENT means that nothing is there: when the look-up fails otherwise, it is
// not known whether the name is a link, and a save must not put a file in place of one.
std::filesystem::path linkTarget(const std::filesystem::path &path)
{
    namespace fs = std::filesystem;
    fs::path p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0) {
            if (errno == ENOENT)
                return p;
            writeError(path, errno);
        }
        if (!S_ISLNK(st.st_mode))
            return p;
        std::error_code ec;
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

// Gives the temporary file `tmpl` the name `target` unless something has that name; then the
// temporary file goes and the answer is false.
bool renameUnlessTaken(const std::string &tmpl, const std::filesystem::path &target)
{
    int err = 0;
    if (::renameat2(AT_FDCWD, tmpl.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    err = errno;
    if (err == EINVAL || err == ENOSYS || err == ENOTSUP) {
        // A file system without the no-replace rename: a hard link is refused the same way.
        if (::link(tmpl.c_str(), target.c_str()) == 0) {
            ::unlink(tmpl.c_str());
            return true;
        }
        err = errno;
    }
    ::unlink(tmpl.c_str());
    if (err == EEXIST)
        return false;
    writeError(target, err);
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

namespace {

std::filesystem::path folderOf(const std::filesystem::path &target)
{
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

// Raises when the existing file `target` may not be written by this process (named `path`).
void refuseReadOnly(const std::filesystem::path &path, const std::filesystem::path &target)
{
    if (isReadOnlyFile(target))
        throw IoError(sharedtext::readOnlyFileText(path));
}

// Writes `bytes` to a new hidden temporary file beside `target`, flushed to disk, with the
// mode, owner and group of the file it is to replace; returns its name. On failure the
// temporary file is gone and IoError names `path`.
std::string writeTemporary(const std::filesystem::path &path, const std::filesystem::path &target,
                           std::string_view bytes)
{
    // A hidden name beside the target: ".kanzai1.fda.XXXXXX".
    std::string name(1, '.');
    name.append(target.filename().string()).append(".XXXXXX");
    std::string tmpl = (folderOf(target) / name).string();
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
    // a file only a group of their own); a new file gets the usual mode. Only ENOENT means a
    // new file: when the look-up fails otherwise, the usual mode could open a private file to
    // everyone, so nothing is replaced.
    struct stat old {};
    const int looked = injected(WriteFault::Stage::Look);
    if (looked == 0 && ::stat(target.c_str(), &old) == 0) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
    } else if (const int err = looked ? looked : errno; err == ENOENT) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    } else {
        fail(err);
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        writeError(path, err);
    }
    return tmpl;
}

// Renames the temporary file `tmp` over `target` (or to it only while nothing has the name)
// and flushes the folder. False, with the temporary file gone, when the name was taken.
bool putInPlace(const std::filesystem::path &path, const std::filesystem::path &target, const std::string &tmp,
                Overwrite overwrite)
{
    if (const int err = injected(WriteFault::Stage::Rename)) {
        ::unlink(tmp.c_str());
        writeError(path, err);
    }
    if (overwrite == Overwrite::Never) {
        if (!renameUnlessTaken(tmp, target))
            return false;
    } else if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        writeError(path, err);
    }
    // The new file is in place by now; only its survival of a power cut is in doubt.
    const std::filesystem::path folder = folderOf(target);
    if (const int err = syncFolder(folder))
        throw IoError(sharedtext::folderNotFlushedText(path, folder, systemErrorText(err)));
    return true;
}

std::chrono::milliseconds lockWait = DefaultLockWait;
thread_local std::function<void()> beforeReplace;

std::filesystem::path lockFileOf(const std::filesystem::path &target)
{
    return folderOf(target) / ("." + target.filename().string() + ".lock");
}

// Whether the hidden name `name` is one of mkstemp's temporary files of `target`.
bool isTemporaryOf(const std::string &name, const std::filesystem::path &target)
{
    const std::string prefix = "." + target.filename().string() + ".";
    return name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0;
}

// Removes the temporary files of `target` older than `minimumAge` (every one with 0).
void removeTemporaries(const std::filesystem::path &target, std::chrono::seconds minimumAge)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
        if (!isTemporaryOf(it->path().filename().string(), target))
            continue;
        std::error_code e;
        if (!it->is_regular_file(e) || it->is_symlink(e))
            continue;
        if (minimumAge.count() > 0) {
            const auto written = fs::last_write_time(it->path(), e);
            if (e || now - written < minimumAge)
                continue;
        }
        fs::remove(it->path(), e);
    }
}

} // namespace

bool writeFileAtomically(const std::filesystem::path &path, std::string_view bytes, Overwrite overwrite)
{
    ++writesSeen;
    const std::filesystem::path target = followLinks(path);
    if (overwrite == Overwrite::Allowed)
        refuseReadOnly(path, target);
    return putInPlace(path, target, writeTemporary(path, target, bytes), overwrite);
}

bool isReadOnlyFile(const std::filesystem::path &path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return false;
        throw IoError(sharedtext::notInspectedText(path, systemErrorText(errno)));
    }
    if (::geteuid() == 0)
        return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    // The kernel's own answer for this user, groups and access lists included.
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0)
        return false;
    if (errno == EACCES || errno == EROFS || errno == EPERM)
        return true;
    throw IoError(sharedtext::notInspectedText(path, systemErrorText(errno)));
}

std::filesystem::path followLinks(const std::filesystem::path &path) { return linkTarget(path); }

void setWriteLockWait(std::chrono::milliseconds wait) { lockWait = wait; }
std::chrono::milliseconds writeLockWait() { return lockWait; }
void setBeforeReplaceHook(std::function<void()> hook) { beforeReplace = std::move(hook); }

// The lock file exists only while a writer holds it or waits for it: the holder removes it
// before it lets go. A waiter that then gets the lock of the removed file sees that the name no
// longer leads to the file it locked and opens the name again, so two writers never hold the
// locks of two different files of the same name.
bool WriteLock::take(const std::filesystem::path &file, std::chrono::milliseconds wait)
{
    const std::filesystem::path target = followLinks(file);
    lockFile_ = lockFileOf(target);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const int fd = ::open(lockFile_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK, 0666);
        if (fd < 0) {
            const int err = errno;
            // No lock file can be made where the file is (no such folder, a folder this user may
            // not write, a read-only drive): no file can be written there either, and the write
            // itself says why in its own words.
            if (err == ENOENT || err == ENOTDIR || err == EROFS)
                return true;
            if (err == EACCES && ::access(folderOf(target).c_str(), W_OK) != 0)
                return true;
            throw IoError(sharedtext::lockFailedText(file, lockFile_, systemErrorText(err)));
        }
        Descriptor guard{fd};
        struct stat mine {};
        if (::fstat(fd, &mine) != 0)
            throw IoError(sharedtext::lockFailedText(file, lockFile_, systemErrorText(errno)));
        if (!S_ISREG(mine.st_mode))
            throw IoError(sharedtext::lockFailedText(file, lockFile_, sharedtext::NotRegularText));
        // Every user who may write the price file must be able to lock it: the lock file holds
        // no data, so it is writable by all whatever the creator's umask.
        if ((mine.st_mode & 0666) != 0666)
            (void)::fchmod(fd, 0666);
        for (;;) {
            struct flock fl {};
            fl.l_type = F_WRLCK;
            fl.l_whence = SEEK_SET;
            if (::fcntl(fd, F_OFD_SETLK, &fl) == 0)
                break;
            const int err = errno;
            if (err == ENOLCK || err == EINVAL || err == EOPNOTSUPP || err == ENOSYS)
                return true; // a file system that keeps no locks (the guard closes the file)
            if (err != EAGAIN && err != EACCES && err != EINTR)
                throw IoError(sharedtext::lockFailedText(file, lockFile_, systemErrorText(err)));
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            ::usleep(20000);
        }
        struct stat named {};
        if (::stat(lockFile_.c_str(), &named) == 0 && named.st_dev == mine.st_dev && named.st_ino == mine.st_ino) {
            fd_ = fd;
            guard.fd = -1;
            return true;
        }
        // The writer before removed the file this one locked: lock the name's file anew.
    }
}

WriteLock::WriteLock(const std::filesystem::path &file, std::chrono::milliseconds wait)
{
    if (!take(file, wait))
        throw IoError(sharedtext::lockTimeoutText(
            file, static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(wait).count())));
}

WriteLock::~WriteLock()
{
    if (fd_ < 0)
        return;
    ::unlink(lockFile_.c_str()); // while still held: see take()
    ::close(fd_);                // the last descriptor of the open file description: unlocked
}

std::unique_ptr<WriteLock> WriteLock::tryHold(const std::filesystem::path &file)
{
    std::unique_ptr<WriteLock> lock(new WriteLock());
    if (!lock->take(file, std::chrono::milliseconds(0)))
        return nullptr;
    return lock;
}

namespace {

// Keeps what `target` holds now as its newest version; the words of the failure, when it failed.
// A write of the very bytes the file holds replaces nothing and keeps nothing.
std::optional<std::string> keepOldContent(const std::filesystem::path &path, const std::filesystem::path &target,
                                          const std::optional<FileContents> &now, std::string_view next)
{
    if (!now || now->bytes == next)
        return std::nullopt;
    try {
        keepVersion(target, now->bytes);
    } catch (const IoError &e) {
        return sharedtext::versionNotKeptText(path, e.what());
    }
    historyStep(6);
    return std::nullopt;
}

// Tells a warning of the write once the lock is let go, and only when the write was done.
struct LaterWarning {
    std::optional<std::string> text;
    bool done = false;
    ~LaterWarning()
    {
        if (done && text)
            tellVersionNotKept(*text);
    }
};

std::optional<std::string> sharedWrite(const std::filesystem::path &path, const SizeCheck &checkSize,
                                       const ComposeWrite &compose)
{
    const std::filesystem::path target = followLinks(path);
    const WriteLock lock(target);
    removeTemporaries(target, lock.held() ? std::chrono::seconds(0) : std::chrono::minutes(10));
    std::optional<std::string> notKept;
    for (int attempt = 0; attempt < 3; ++attempt) {
        refuseReadOnly(path, target);
        const std::optional<FileContents> now = readFileIfPresent(target, checkSize);
        const std::string next = compose(now);
        const std::string tmp = writeTemporary(path, target, next);
        try {
            if (auto failed = keepOldContent(path, target, now, next))
                notKept = std::move(failed);
            if (beforeReplace)
                beforeReplace();
            // A program that is not ours may have changed the file while the new one was written.
            const bool changed = now ? changedOnDisk(now->stamp, target) : pathExists(target);
            if (!changed) {
                putInPlace(path, target, tmp, Overwrite::Allowed);
                return notKept;
            }
        } catch (...) {
            ::unlink(tmp.c_str());
            throw;
        }
        ::unlink(tmp.c_str());
    }
    throw IoError(sharedtext::keptChangingText(path));
}

} // namespace

void writeSharedFile(const std::filesystem::path &path, const SizeCheck &checkSize, const ComposeWrite &compose)
{
    ++writesSeen;
    LaterWarning warning;
    warning.text = sharedWrite(path, checkSize, compose);
    warning.done = true;
}

bool writeSharedFile(const std::filesystem::path &path, std::string_view bytes, Overwrite overwrite)
{
    ++writesSeen;
    LaterWarning warning;
    bool written = false;
    {
        const std::filesystem::path target = followLinks(path);
        const WriteLock lock(target);
        removeTemporaries(target, lock.held() ? std::chrono::seconds(0) : std::chrono::minutes(10));
        if (overwrite == Overwrite::Allowed)
            refuseReadOnly(path, target);
        const std::string tmp = writeTemporary(path, target, bytes);
        try {
            if (overwrite == Overwrite::Allowed) {
                // What is replaced is kept; a file too large to be a price file is not read for it.
                std::optional<FileContents> now;
                try {
                    now = readFileIfPresent(target, [&](uintmax_t size) {
                        if (size > MaxTextFileBytes)
                            throw IoError(tooLargeText(target, size));
                    });
                } catch (const IoError &e) {
                    warning.text = sharedtext::versionNotKeptText(path, e.what());
                }
                if (auto failed = keepOldContent(path, target, now, bytes))
                    warning.text = std::move(failed);
            }
            if (beforeReplace)
                beforeReplace();
        } catch (...) {
            ::unlink(tmp.c_str());
            throw;
        }
        written = putInPlace(path, target, tmp, overwrite);
    }
    warning.done = written;
    return written;
}

void removeAbandonedSaves(const std::filesystem::path &path)
{
    try {
        const std::filesystem::path target = followLinks(path);
        const auto lock = WriteLock::tryHold(target);
        if (lock)
            removeTemporaries(target, lock->held() ? std::chrono::seconds(0) : std::chrono::minutes(10));
    } catch (const IoError &) {
        // the litter is only litter: the next write says what is wrong with the folder
    }
}

} // namespace velmo
