#pragma once
// The equipment price file (kigu1.dxa): 300 records of 512 bytes, 20 material blocks of 15.
// The operations of the equipment registration program: list the 20 material names, read a
// block (creating a missing file), write a block in place, exchange two blocks.
//
// Every operation needs the whole file: 300 records, 153,600 bytes (more is kept as it is). A
// shorter file is an IoError naming the file and the records it holds; nothing repairs it.
// Every write goes through a temporary file in the same folder, so the file is never left
// half-written, and every byte outside the blocks written stays identical.
#include "pricefile/equipment_record.h"
#include "pricefile/pipe_block.h" // BlocksAsRead

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmo {

// The 15 records of a material block: record k = file record block·15 + k.
using EquipmentBlock = std::array<EquipmentRecord, EquipmentRowsPerBlock>;

// Writes a new file of 300 empty records (every string empty, every number 0). The folder must
// exist: a missing folder, or a path through something that is not a folder, is an IoError
// saying so.
// Never over a file: false when something has the name already (it stays as it is).
bool createEquipmentFile(const std::filesystem::path &path);

// The whole bytes of an equipment file, which must be exactly 300 records (a shorter or longer
// file raises IoError saying what it holds, before a byte is read). A missing file, a failed
// look-up or anything but a regular file raises IoError too.
std::string readEquipmentFileBytes(const std::filesystem::path &path);
// The same, but nothing when no file exists at the path.
std::optional<std::string> readEquipmentFileIfPresent(const std::filesystem::path &path);
// The same, but a file that does not exist (and only that) is first created empty.
std::string readOrCreateEquipmentFile(const std::filesystem::path &path);
// Block `block` of a whole file's bytes.
EquipmentBlock equipmentBlockOf(const std::string &data, int block);

// Reads block `block` (0 … 19). When no file exists at the path it is created empty first
// (only then: a failed look-up is an IoError).
EquipmentBlock readEquipmentBlock(const std::filesystem::path &path, int block);

// Writes a block in place. Each record gets Serial 0 and the Unit of record 0 of the block (a
// block carries one unit), and keeps the slots at 456 and 504 of the record on disk, which are
// never written from memory. The file must exist; every other block stays as it now is. With
// `asRead`, a block another program changed since the caller read it is refused
// (writeBlocksShared). Returns the bytes written.
std::string writeEquipmentBlock(const std::filesystem::path &path, int block, const EquipmentBlock &records,
                                const BlocksAsRead &asRead = {});
// The same for several blocks in one write.
std::string writeEquipmentBlocks(const std::filesystem::path &path,
                                 const std::vector<std::pair<int, EquipmentBlock>> &blocks,
                                 const BlocksAsRead &asRead = {});

// Exchanges blocks a and b whole in one write: every byte of each block moves with it, only
// Serial becomes 0 in all 30 records.
void swapEquipmentBlocks(const std::filesystem::path &path, int a, int b);

// The Name of the first record of each of the 20 blocks.
std::vector<std::string> listEquipmentNames(const std::filesystem::path &path);
std::vector<std::string> equipmentNamesOf(const std::string &fileBytes);

// The whole file as its 300 records (for the batch command line).
std::vector<EquipmentRecord> readEquipmentFile(const std::filesystem::path &path);
std::vector<EquipmentRecord> equipmentRecordsOf(const std::string &fileBytes);

} // namespace velmo
