#pragma once
// Whole-file reads and safe whole-file writes.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// What a file held when a program read or wrote it: its size, modification time and a hash of
// its contents. Before a save overwrites the file, the program compares it with the file on
// disk, so that what another program wrote meanwhile is not thrown away without a word.
struct FileStamp {
    bool exists = false;
    uintmax_t size = 0;
    int64_t modifiedNs = 0;
    uint64_t hash = 0;
    bool operator==(const FileStamp &) const = default;
};

// A file read whole, with the stamp of what was read.
struct FileContents {
    std::string bytes;
    FileStamp stamp;
};

// The hash of a stamp (XXH3, 64 bits): to tell whether a file's bytes changed, not a
// cryptographic one.
uint64_t contentHash(std::string_view bytes);
// Whether a read hashes what it read at once, or leaves the stamp's hash 0 for the reader to
// fill in with contentHash when it needs it (a reader that keeps the bytes anyway).
enum class StampHash { Now, Later };

// Checks the size a file has before a byte of it is read; raises IoError to refuse it.
using SizeCheck = std::function<void(uintmax_t size)>;

// The words of a refusal of a file larger than a reader takes: "ファイル … は大きすぎます: N
// バイトあります", with " (E バイトのはず)" when an exact size `expected` is known (0: none).
std::string tooLargeText(const std::filesystem::path &path, uintmax_t size, uintmax_t expected = 0);

// The largest file a reader without a size check of its own reads (settings, layouts, texts).
constexpr uintmax_t MaxTextFileBytes = uintmax_t{64} << 20;

// Opens `path` once for reading and decides from the open file alone (no look-up before the
// open, so nothing can change between the two): a file that does not exist (ENOENT on open,
// and only that) gives nothing; a folder, FIFO, device or socket is refused without being read
// (opening one cannot block); the size is checked by `checkSize` before a byte is read. Any
// other failure, a stale network handle or a permission error as much as a read error, raises
// IoError naming the file and the cause: a failed look-up never counts as a missing file.
std::optional<FileContents> readFileIfPresent(const std::filesystem::path &path, const SizeCheck &checkSize,
                                              StampHash hash = StampHash::Now);
// The same for a file that must exist: a missing one raises IoError "ファイル … がありません".
FileContents readExistingFile(const std::filesystem::path &path, const SizeCheck &checkSize,
                              StampHash hash = StampHash::Now);

// Reads the whole file (at most MaxTextFileBytes); raises IoError naming the file when it
// cannot be read, is missing or is not a regular file.
std::string readWholeFile(const std::filesystem::path &path);
// The same, but nothing when no file exists at the path (ENOENT, and only that).
std::optional<std::string> readWholeFileIfPresent(const std::filesystem::path &path);
// Whether something exists at `path` (links followed). Only ENOENT means it does not; any other
// failure of the look-up raises IoError, so that a failed look-up never leads to a file being
// created or copied over one that is there.
bool pathExists(const std::filesystem::path &path);
// Why `path` cannot be read as a file, in Japanese ("… がありません", "ファイルではなくフォルダー
// です", the cause of a failed look-up), or nothing when it names a regular file.
std::optional<std::string> notAFileReason(const std::filesystem::path &path);

// Reads a CP932 text file as UTF-8 lines, without their CR LF or LF ends.
std::vector<std::string> readTextLines(const std::filesystem::path &path);
// The same for text already read: CP932 bytes split into UTF-8 lines.
std::vector<std::string> splitTextLines(std::string_view cp932Bytes);

// Writes `bytes` to a temporary file in the same folder, flushes it to disk, renames it over
// `path` and flushes the folder, so a failed or interrupted write never leaves a half-written
// file. A symbolic link is followed: its target is replaced and the link stays. The new file
// keeps the mode, owner and group of the old one where the process may set them. A hard link
// cannot survive the rename: the other names keep the old contents. Only a look-up that
// answers ENOENT makes a new file: any other failure to look at the name (is it a link, what
// mode has it) ends the write before anything is replaced.
// A file the person may not write is never replaced (isReadOnlyFile).
// Raises IoError naming the file and the cause; the old file then stays as it was.
enum class Overwrite { Allowed, Never };
bool writeFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                         Overwrite overwrite = Overwrite::Allowed);
// With Overwrite::Never the new file takes the name only while nothing has it: when something
// appeared there meanwhile it stays as it is and writeFileAtomically returns false.

// ---- price files shared by our programs ----
// Every program of ours that replaces a price file holds an exclusive lock on a lock file beside
// it (".kanzai1.fda.lock", an fcntl lock of the open file description; the file is there only
// while a writer holds or waits for the lock) from the moment it reads
// what it is about to replace, through the rename of the new file and the flush of the folder.
// Two writers of ours therefore never interleave: the second waits for the first, then reads
// the file the first wrote. The lock is advisory: a program that is not ours does not ask for
// it; against such a program the file is compared again immediately before the rename.

// How long a writer waits for another writer of ours before it gives up with IoError.
constexpr std::chrono::milliseconds DefaultLockWait{10000};
void setWriteLockWait(std::chrono::milliseconds wait); // for tests
std::chrono::milliseconds writeLockWait();

// Holds the write lock of `file` (links followed) while it lives. Waits at most `wait`, then
// raises IoError naming the file. On a file system that keeps no locks the writer goes on
// without one (the comparison before the rename still guards the file).
class WriteLock {
public:
    explicit WriteLock(const std::filesystem::path &file, std::chrono::milliseconds wait = writeLockWait());
    ~WriteLock();
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;
    // Whether a lock is held (false where the file system keeps no locks).
    bool held() const { return fd_ >= 0; }
    // Without waiting: the lock when no other writer of ours holds it, nothing when one does.
    static std::unique_ptr<WriteLock> tryHold(const std::filesystem::path &file);

private:
    WriteLock() = default;
    // Opens the lock file and takes the lock, waiting up to `wait`: false when another holds it.
    bool take(const std::filesystem::path &file, std::chrono::milliseconds wait);
    std::filesystem::path lockFile_;
    int fd_ = -1;
};

// What a shared write finds in the file once it holds the lock (nothing when there is no file),
// and returns the bytes to write: the caller merges its blocks into the file as it now is, or
// raises (ChangedOnDiskError) to refuse a change that would lose another's.
using ComposeWrite = std::function<std::string(const std::optional<FileContents> &now)>;
// Writes a price file under the lock: reads it (each read checked by `checkSize`), lets
// `compose` make the new bytes, writes them to a temporary file, compares the file with what
// was read immediately before the rename and, when a program that is not ours changed it
// meanwhile, reads and composes again (a few times, then IoError). Temporary files that earlier
// saves left beside the file are removed first: while the lock is held, no writer of ours owns
// one. A file the person may not write is never replaced (readOnlyFileText).
// What the file held is kept as its newest earlier version first (base/file_history.h); when
// that fails the write goes on, and once it is done the warning says so.
void writeSharedFile(const std::filesystem::path &path, const SizeCheck &checkSize, const ComposeWrite &compose);
// The same for bytes that replace whatever the file holds (Overwrite::Allowed), or take the name
// only while nothing has it (Overwrite::Never, then false when something had it).
bool writeSharedFile(const std::filesystem::path &path, std::string_view bytes, Overwrite overwrite);

// The file `path` names once symbolic links are followed (a link to a missing file names that
// file); IoError naming `path` when a look-up fails otherwise.
std::filesystem::path followLinks(const std::filesystem::path &path);

// Removes the hidden temporary files (".kanzai1.fda.XXXXXX") that saves of `path` killed
// half-way left beside it, when no writer of ours holds the lock of the file (then every such
// file is litter); while one does, nothing. Where the file system keeps no locks, only files
// older than ten minutes go. Failures are ignored: the litter is only litter.
void removeAbandonedSaves(const std::filesystem::path &path);

// Whether the person may not write the existing file `path`: the mode bits decide, for root
// too (root may write a file that has a write bit for anyone). A missing file is not
// read-only; a failed look-up raises IoError.
bool isReadOnlyFile(const std::filesystem::path &path);

// Called under the lock immediately before the comparison and the rename of a shared write, in
// the thread that writes: lets a test hold a writer there. Empty: none.
void setBeforeReplaceHook(std::function<void()> hook);

// The stamp of a file whose contents were just written.
FileStamp stampOf(const std::filesystem::path &path, std::string_view contents);
// Whether the file on disk now holds other contents than those of the stamp (a file that was
// only touched, or written again with the same bytes, has not changed; a file that is gone
// has). A file that cannot be read raises IoError: whether it changed is then not known.
bool changedOnDisk(const FileStamp &stamp, const std::filesystem::path &path);

// A fault for the next whole-file writes to meet, so that tests can show that no save loses or
// corrupts a file: the n-th call of writeFileAtomically from now fails at the given stage with
// the given errno (a failing write lets half of the bytes reach the temporary file first).
struct WriteFault {
    // Look: the look-up of the file being replaced (its mode, owner and group).
    enum class Stage { None, Create, Write, Fsync, Look, Rename };
    Stage stage = Stage::None;
    int nthWrite = 1;
    int error = 0; // for example ENOSPC, EIO, EROFS, EACCES
};
void planWriteFault(const WriteFault &fault);
void clearWriteFault();

// The cause of a failed file operation in Japanese, for the messages of IoError.
std::string systemErrorText(int err);
// The cause part of an error's message ("ファイル … に書き込めません: <cause>"): what follows
// its first ": ", or the whole message. Lets a caller name its own file with the same cause.
std::string_view errorCause(const std::exception &e);

} // namespace velmo
