#pragma once
// The whole file of one pipe service, held in memory as 20 pipe blocks of 60 records.
#include "base/fileio.h"
#include "pricefile/pipe_block.h"

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
    // The same from bytes already read; `source` names the file in messages. There is no file
    // stamp then: changedSince counts any file as changed.
    void parse(std::string_view data, const std::filesystem::path &source);
    // Writes all 1200 records, numbering each record's Serial, through a temporary file, under
    // the write lock of our programs. With SaveCheck::Unchanged the file must still hold what
    // this one last read or wrote, compared under the lock: otherwise ChangedOnDiskError and
    // nothing is written (a whole-file writer cannot merge). With SaveCheck::None it replaces
    // whatever is there.
    enum class SaveCheck { None, Unchanged };
    void save(const std::filesystem::path &path, SaveCheck check = SaveCheck::None);
    // The file bytes that save() would write.
    std::string serialize() const;

    void clear(); // all records empty and zero

    PriceRecord &record(int r) { return pipeBlock(r / RecordsPerPipe)[r % RecordsPerPipe]; }
    const PriceRecord &record(int r) const { return pipeBlock(r / RecordsPerPipe)[r % RecordsPerPipe]; }
    PipeBlock &pipeBlock(int pipe) { return decoded(pipe); }
    const PipeBlock &pipeBlock(int pipe) const { return decoded(pipe); }

    int serialBase() const { return serialBase_; }
    // The damaged texts the last read found, one Japanese line each. They are read as far as
    // they can be; a save writes what was read.
    const std::vector<std::string> &damagedTexts() const { return damage_; }
    // Whether another program changed the file at `path` since this one last read or wrote it;
    // IoError when the file cannot be read to tell.
    bool changedSince(const std::filesystem::path &path) const;
    // What the file held when this one last read or wrote it (no file stamp after parse).
    FileStamp stamp() const;
    // Whether the file was read-only for this user (by its mode bits) when last read: a save
    // would be refused.
    bool readOnly() const { return readOnly_; }

private:
    void adopt(FileContents &&contents, const std::filesystem::path &path, int serialBase);
    // Pipe block `pipe`, decoded from the bytes read the first time it is asked for: velmok
    // shows one pipe at a time, and a load need not decode the other nineteen.
    PipeBlock &decoded(int pipe) const
    {
        if (undecoded_ & (1u << pipe))
            decode(pipe);
        return (*blocks_)[pipe];
    }
    void decode(int pipe) const;

    std::unique_ptr<std::array<PipeBlock, PipesPerFile>> blocks_;
    // The bytes last read, from which blocks are decoded and the stamp's hash is taken when
    // first needed; shared by copies, dropped at a save.
    std::shared_ptr<const std::string> read_;
    mutable uint32_t undecoded_ = 0; // bit p: block p is still in read_ only
    int serialBase_ = 0;
    mutable FileStamp stamp_; // of the file last read or written
    mutable bool hashPending_ = false; // stamp_.hash is still to be taken of read_
    std::vector<std::string> damage_;
    bool readOnly_ = false;
};

} // namespace velmo
