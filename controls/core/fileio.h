#pragma once
// Whole-file reads and safe whole-file writes.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// Reads the whole file; raises IoError naming the file when it cannot be read.
std::string readWholeFile(const std::filesystem::path &path);

// Reads a CP932 text file as UTF-8 lines, without their CR LF or LF ends.
std::vector<std::string> readTextLines(const std::filesystem::path &path);
// The same for text already read: CP932 bytes split into UTF-8 lines.
std::vector<std::string> splitTextLines(std::string_view cp932Bytes);

// Writes `bytes` to a temporary file in the same folder, flushes it to disk, renames it over
// `path` and flushes the folder, so a failed or interrupted write never leaves a half-written
// file. A symbolic link is followed: its target is replaced and the link stays. The new file
// keeps the mode, owner and group of the old one where the process may set them. A hard link
// cannot survive the rename: the other names keep the old contents.
// Raises IoError naming the file and the cause; the old file then stays as it was.
void writeFileAtomically(const std::filesystem::path &path, std::string_view bytes);

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

// The stamp of a file whose contents were just read or written.
FileStamp stampOf(const std::filesystem::path &path, std::string_view contents);
// Whether the file on disk now holds other contents than those of the stamp (a file that was
// only touched, or written again with the same bytes, has not changed). A file that cannot be
// read counts as changed.
bool changedOnDisk(const FileStamp &stamp, const std::filesystem::path &path);

// A fault for the next whole-file writes to meet, so that tests can show that no save loses or
// corrupts a file: the n-th call of writeFileAtomically from now fails at the given stage with
// the given errno (a failing write lets half of the bytes reach the temporary file first).
struct WriteFault {
    enum class Stage { None, Create, Write, Fsync, Rename };
    Stage stage = Stage::None;
    int nthWrite = 1;
    int error = 0; // for example ENOSPC, EIO, EROFS, EACCES
};
void planWriteFault(const WriteFault &fault);
void clearWriteFault();

// The cause of a failed file operation in Japanese, for the messages of IoError.
std::string systemErrorText(int err);

} // namespace velmo
