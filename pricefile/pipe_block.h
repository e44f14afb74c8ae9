#pragma once
// One pipe block of a pipe price file, and the block operations of the registration program:
// list the 20 pipe names, read a block, write a block in place, exchange two blocks.
#include "base/fileio.h"
#include "pricefile/price_record.h"

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmo {

// The 60 records of a pipe: record k = file record pipe·60 + k.
using PipeBlock = std::array<PriceRecord, RecordsPerPipe>;
constexpr size_t PipeBlockBytes = static_cast<size_t>(RecordsPerPipe) * RecordSize;

// Pipe block `pipe` (0 … 19) of a whole file's bytes, which must hold it.
PipeBlock pipeBlockOf(std::string_view fileBytes, int pipe);

// Reads pipe block `pipe` (0 … 19). A file too short raises IoError naming the file and how
// many whole records it holds.
PipeBlock readPipeBlock(const std::filesystem::path &path, int pipe);

// The blocks a writer read before it changed them: each block's index and its bytes then.
using BlocksAsRead = std::vector<std::pair<int, std::string>>;
// Those of the blocks `indexes` (of `blockBytes` bytes each) of a whole file's bytes.
BlocksAsRead blocksAsRead(std::string_view fileBytes, const std::vector<int> &indexes, size_t blockBytes);

// Replaces blocks of a file of fixed blocks under the write lock of our programs
// (writeSharedFile): the file is read as it now is (`checkSize` checks it; a missing file is an
// error). When a block of `asRead` now differs from the bytes the writer read, another program
// changed that very block since: ChangedOnDiskError, nothing written. Otherwise `encode` puts
// the writer's blocks into the bytes now read, so that what other writers put in the other
// blocks meanwhile stays. Returns the bytes written.
std::string writeBlocksShared(const std::filesystem::path &path, const SizeCheck &checkSize, size_t blockBytes,
                              const BlocksAsRead &asRead, const std::function<void(std::string &)> &encode);

// Writes the 60 records of pipe block `pipe` with Serial 0; every other byte of the file stays
// as it now is. The file must exist and hold all 1200 records; it is rewritten through a
// temporary file, so it is never half-written. With `asRead`, a block another program changed
// since the caller read it is refused (writeBlocksShared). Returns the bytes written.
std::string writePipeBlock(const std::filesystem::path &path, int pipe, const PipeBlock &block,
                           const BlocksAsRead &asRead = {});
// The same for several blocks in one write.
std::string writePipeBlocks(const std::filesystem::path &path, const std::vector<std::pair<int, PipeBlock>> &blocks,
                            const BlocksAsRead &asRead = {});

// Exchanges pipe blocks a and b whole in one write of the file as it now is; both get Serial 0.
void swapPipeBlocks(const std::filesystem::path &path, int a, int b);

// The Name of the first record of each of the 20 pipe blocks.
std::vector<std::string> listPipeNames(const std::filesystem::path &path);
std::vector<std::string> pipeNamesOf(std::string_view fileBytes);

// The text of IoError for a file holding fewer records than a read needs.
std::string shortFileMessage(const std::filesystem::path &path, uintmax_t bytes, int recordSize, int needed);

// A file of fixed records must hold exactly `records` of them: a shorter one raises IoError
// saying how many whole records it holds, a longer one how many bytes it has.
void checkRecordFileSize(const std::filesystem::path &path, uintmax_t bytes, int recordSize, int records);

// The whole bytes of a pipe price file, which must be exactly 1200 records: a shorter file
// raises IoError saying how many whole records it holds, a longer one how many bytes it has
// (it may be a file of another kind, and a save would cut it). The size is checked before a
// byte is read; a missing file raises IoError too.
std::string readServiceFileBytes(const std::filesystem::path &path);
// The same with the stamp of what was read.
FileContents readServiceFile(const std::filesystem::path &path, StampHash hash = StampHash::Now);
// The same, but nothing when no file exists at the path.
std::optional<FileContents> readServiceFileIfPresent(const std::filesystem::path &path,
                                                     StampHash hash = StampHash::Now);
void checkServiceFileSize(const std::filesystem::path &path, uintmax_t bytes);

} // namespace velmo
