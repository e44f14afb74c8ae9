#include "pricefile/equipment_file.h"
#include "base/shared_texts.h"
#include "pricefile/pricefile_texts.h"

#include "base/errors.h"
#include "base/fileio.h"
#include "pricefile/pipe_block.h" // checkRecordFileSize

#include <cstring>

namespace velmo {
namespace fs = std::filesystem;

namespace {

void checkBlock(const fs::path &path, int block)
{
    if (block < 0 || block >= EquipmentBlockCount)
        throw RangeError(sharedtext::noSuchBlockText(path, sharedtext::MaterialBlockWord, block));
}

unsigned char *bytesAt(std::string &data, size_t at) { return reinterpret_cast<unsigned char *>(data.data()) + at; }

const unsigned char *bytesAt(const std::string &data, size_t at)
{
    return reinterpret_cast<const unsigned char *>(data.data()) + at;
}

size_t blockStart(int block) { return static_cast<size_t>(block) * EquipmentBlockBytes; }

size_t slotStart(int slot) { return static_cast<size_t>(offset::Slots) + 8 * static_cast<size_t>(slot); }

// Writes the records of a block over its bytes in `data`, keeping the two slots that are
// never written from memory.
void encodeBlock(std::string &data, int block, const EquipmentBlock &records)
{
    unsigned char buffer[EquipmentRecordSize];
    for (int row = 0; row < EquipmentRowsPerBlock; ++row) {
        unsigned char *disk = bytesAt(data, blockStart(block) + static_cast<size_t>(row) * EquipmentRecordSize);
        EquipmentRecord r = records[row];
        r.serial = Currency();
        r.unit = records[0].unit;
        r.encode(buffer);
        for (const int kept : {eqslot::KeptA, eqslot::KeptB})
            std::memcpy(buffer + slotStart(kept), disk + slotStart(kept), 8);
        std::memcpy(disk, buffer, EquipmentRecordSize);
    }
}

void requireFolder(const fs::path &path)
{
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::error_code ec;
    const fs::file_status st = fs::status(folder, ec);
    if (fs::is_directory(st))
        return;
    if (st.type() == fs::file_type::not_found)
        throw IoError(sharedtext::fileNotCreatedText(path, sharedtext::missingFolderText(folder)));
    if (!ec)
        throw IoError(sharedtext::fileNotCreatedText(path, sharedtext::notFolderText(folder)));
    throw IoError(sharedtext::fileNotCreatedText(path, systemErrorText(ec.value())));
}

} // namespace

namespace {

void checkEquipmentFileSize(const fs::path &path, uintmax_t size)
{
    checkRecordFileSize(path, size, EquipmentRecordSize, EquipmentRecordsPerFile);
}

} // namespace

std::string readEquipmentFileBytes(const fs::path &path)
{
    return readExistingFile(path, [&](uintmax_t size) { checkEquipmentFileSize(path, size); }).bytes;
}

bool createEquipmentFile(const fs::path &path)
{
    requireFolder(path);
    return writeSharedFile(path, std::string(EquipmentFileBytes, '\0'), Overwrite::Never);
}

std::optional<std::string> readEquipmentFileIfPresent(const fs::path &path)
{
    if (auto c = readFileIfPresent(path, [&](uintmax_t size) { checkEquipmentFileSize(path, size); }))
        return std::move(c->bytes);
    return std::nullopt;
}

std::string readOrCreateEquipmentFile(const fs::path &path)
{
    if (auto bytes = readEquipmentFileIfPresent(path))
        return std::move(*bytes);
    createEquipmentFile(path); // what appeared there meanwhile stays and is read
    return readEquipmentFileBytes(path);
}

EquipmentBlock equipmentBlockOf(const std::string &data, int block)
{
    EquipmentBlock records;
    for (int row = 0; row < EquipmentRowsPerBlock; ++row)
        records[row] = EquipmentRecord::decode(bytesAt(data, blockStart(block) + static_cast<size_t>(row) * EquipmentRecordSize));
    return records;
}

EquipmentBlock readEquipmentBlock(const fs::path &path, int block)
{
    checkBlock(path, block);
    return equipmentBlockOf(readOrCreateEquipmentFile(path), block);
}

std::string writeEquipmentBlocks(const fs::path &path, const std::vector<std::pair<int, EquipmentBlock>> &blocks,
                                 const BlocksAsRead &asRead)
{
    for (const auto &[block, records] : blocks)
        checkBlock(path, block);
    return writeBlocksShared(path, [&](uintmax_t size) { checkEquipmentFileSize(path, size); }, EquipmentBlockBytes,
                             asRead, [&](std::string &data) {
                                 for (const auto &[block, records] : blocks)
                                     encodeBlock(data, block, records);
                             });
}

std::string writeEquipmentBlock(const fs::path &path, int block, const EquipmentBlock &records, const BlocksAsRead &asRead)
{
    return writeEquipmentBlocks(path, {{block, records}}, asRead);
}

void swapEquipmentBlocks(const fs::path &path, int a, int b)
{
    checkBlock(path, a);
    checkBlock(path, b);
    writeBlocksShared(path, [&](uintmax_t size) { checkEquipmentFileSize(path, size); }, EquipmentBlockBytes, {},
                      [&](std::string &data) {
                          if (a != b) {
                              std::string first(data, blockStart(a), EquipmentBlockBytes);
                              std::memmove(bytesAt(data, blockStart(a)), bytesAt(data, blockStart(b)), EquipmentBlockBytes);
                              std::memcpy(bytesAt(data, blockStart(b)), first.data(), EquipmentBlockBytes);
                          }
                          for (const int block : {a, b})
                              for (int row = 0; row < EquipmentRowsPerBlock; ++row)
                                  codec::putI64(bytesAt(data, blockStart(block) + static_cast<size_t>(row) * EquipmentRecordSize +
                                                                  offset::Serial),
                                                0);
                      });
}

std::vector<std::string> listEquipmentNames(const fs::path &path)
{
    return equipmentNamesOf(readEquipmentFileBytes(path));
}

std::vector<std::string> equipmentNamesOf(const std::string &data)
{
    std::vector<std::string> names;
    for (int block = 0; block < EquipmentBlockCount; ++block)
        names.push_back(EquipmentRecord::decode(bytesAt(data, blockStart(block))).name.text());
    return names;
}

std::vector<EquipmentRecord> readEquipmentFile(const fs::path &path)
{
    return equipmentRecordsOf(readEquipmentFileBytes(path));
}

std::vector<EquipmentRecord> equipmentRecordsOf(const std::string &data)
{
    std::vector<EquipmentRecord> records;
    records.reserve(EquipmentRecordsPerFile);
    for (int r = 0; r < EquipmentRecordsPerFile; ++r)
        records.push_back(EquipmentRecord::decode(bytesAt(data, static_cast<size_t>(r) * EquipmentRecordSize)));
    return records;
}

} // namespace velmo
