#include "service_file.h"

#include "errors.h"
#include "fileio.h"

namespace velmo {

ServiceFile::ServiceFile() : records_(std::make_unique<std::array<PriceRecord, RecordsPerFile>>()) {}

void ServiceFile::clear()
{
    records_->fill(PriceRecord{});
}

void ServiceFile::load(const std::filesystem::path &path)
{
    std::error_code ec;
    const bool missing = !std::filesystem::exists(path, ec);
    if (missing) {
        ServiceFile empty;
        empty.serialBase_ = -1200;
        empty.save(path);
    }
    const std::string data = readWholeFile(path);
    if (data.size() < static_cast<size_t>(RecordsPerFile) * RecordSize)
        throw IoError("ファイル " + path.string() + " が短すぎます: " + std::to_string(data.size() / RecordSize) +
                      " レコードしかありません (1200 レコード必要)");
    const auto *p = reinterpret_cast<const unsigned char *>(data.data());
    for (int i = 0; i < RecordsPerFile; ++i)
        PriceRecord::decodeInto((*records_)[i], p + static_cast<size_t>(i) * RecordSize);
    serialBase_ = missing ? -1200 : 0;
}

std::string ServiceFile::serialize() const
{
    std::string data(static_cast<size_t>(RecordsPerFile) * RecordSize, '\0');
    auto *p = reinterpret_cast<unsigned char *>(data.data());
    for (int i = 0; i < RecordsPerFile; ++i) {
        PriceRecord r = (*records_)[i];
        r.serial = Currency::fromInt(serialBase_ + i + 1);
        r.encode(p + static_cast<size_t>(i) * RecordSize);
    }
    return data;
}

void ServiceFile::save(const std::filesystem::path &path) const
{
    writeFileAtomically(path, serialize());
}

} // namespace velmo
