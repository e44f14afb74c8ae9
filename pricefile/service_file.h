#pragma once
// The whole file of one pipe service, held in memory as 20 pipe blocks of 60 records.
#include "fileio.h"
#include "pipe_block.h"

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

class ServiceFile {
public:
    ServiceFile();
    ServiceFile(const ServiceFile &other);
    ServiceFile &operator=(const ServiceFile &other);
    ServiceFile(ServiceFile &&) noexcept = default;
    ServiceFile &operator=(ServiceFile &&) noexcept = default;

    // Reads the 1200 records of `path`. A missing file, a file of another size or anything but
    // a regular file raises IoError naming the file (a file too short says how many whole
    // records it holds); the records in memory then stay as they were.
    void load(const std::filesystem::path &path);
    // The same, but a file that does not exist (and only that: a failed look-up is an error) is
    // first created empty and then read; from then until the next read of an existing file,
    // saves number their records from −1199. Something that appears at the path meanwhile is
    // read, never written over. Temporary files that killed saves of the file left beside it
    // are removed first.
    void loadOrCreate(const std::filesystem::path &path);
    // Creates the empty file a missing service file becomes (records numbered from −1199);
    // false, with nothing written, when something already has the name.
    static bool createEmpty(const std::filesystem::path &path);
    // The same from a file's bytes already read; `source` names the file in messages.
    void parse(std::string_view data, const std::filesystem::path &source);
    // Writes all 1200 records, numbering each record's Serial, through a temporary file.
    void save(const std::filesystem::path &path);
    // The file bytes that save() would write.
    std::string serialize() const;

    void clear(); // all records empty and zero

    PriceRecord &record(int r) { return (*blocks_)[r / RecordsPerPipe][r % RecordsPerPipe]; }
    const PriceRecord &record(int r) const { return (*blocks_)[r / RecordsPerPipe][r % RecordsPerPipe]; }
    PipeBlock &pipeBlock(int pipe) { return (*blocks_)[pipe]; }
    const PipeBlock &pipeBlock(int pipe) const { return (*blocks_)[pipe]; }

    int serialBase() const { return serialBase_; }
    // The damaged texts the last read found, one Japanese line each. They are read as far as
    // they can be; a save writes what was read.
    const std::vector<std::string> &damagedTexts() const { return damage_; }
    // Whether another program changed the file at `path` since this one last read or wrote it;
    // IoError when the file cannot be read to tell.
    bool changedSince(const std::filesystem::path &path) const { return changedOnDisk(stamp_, path); }

private:
    void adopt(const FileContents &contents, const std::filesystem::path &path, int serialBase);

    std::unique_ptr<std::array<PipeBlock, PipesPerFile>> blocks_;
    int serialBase_ = 0;
    FileStamp stamp_; // of the file last read or written
    std::vector<std::string> damage_;
};

} // namespace velmo
