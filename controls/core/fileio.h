#pragma once
// Whole-file reads and safe whole-file writes.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
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
// Raises IoError naming the file and the cause; the old file then stays as it was.
enum class Overwrite { Allowed, Never };
bool writeFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                         Overwrite overwrite = Overwrite::Allowed);
// With Overwrite::Never the new file takes the name only while nothing has it: when something
// appeared there meanwhile it stays as it is and writeFileAtomically returns false.

// Removes the hidden temporary files (".kanzai1.fda.XXXXXX") that saves of `path` killed
// half-way left beside it, once they are older than `minimumAge`, so that a running save of
// another program keeps its own. Failures are ignored: the litter is only litter.
void removeAbandonedSaves(const std::filesystem::path &path,
                          std::chrono::seconds minimumAge = std::chrono::minutes(10));

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
