#pragma once
// The whole file of one pipe service, held in memory as 1200 records.
#include "price_record.h"

#include <array>
#include <filesystem>
#include <memory>

namespace velmo {

class ServiceFile {
public:
    ServiceFile();

    // Reads the 1200 records of `path`. A missing file is first created empty (and then read);
    // from then until the next read of an existing file, saves number their records from −1199.
    // A file too short raises IoError naming the file and its whole records; the records in
    // memory then stay as they were.
    void load(const std::filesystem::path &path);
    // Writes all 1200 records, numbering each record's Serial, through a temporary file.
    void save(const std::filesystem::path &path) const;
    // The file bytes that save() would write.
    std::string serialize() const;

    void clear(); // all records empty and zero

    PriceRecord &record(int r) { return (*records_)[r]; }
    const PriceRecord &record(int r) const { return (*records_)[r]; }
    // The 60 records of a pipe, contiguous.
    PriceRecord *pipeBlock(int pipe) { return records_->data() + pipe * RecordsPerPipe; }
    const PriceRecord *pipeBlock(int pipe) const { return records_->data() + pipe * RecordsPerPipe; }

    int serialBase() const { return serialBase_; }

private:
    std::unique_ptr<std::array<PriceRecord, RecordsPerFile>> records_;
    int serialBase_ = 0;
};

} // namespace velmo
