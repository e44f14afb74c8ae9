#include "service_file.h"

#include "errors.h"
#include "fileio.h"
#include "text_damage.h"

namespace velmo {

ServiceFile::ServiceFile() : blocks_(std::make_unique<std::array<PipeBlock, PipesPerFile>>()) {}

ServiceFile::ServiceFile(const ServiceFile &other)
    : blocks_(std::make_unique<std::array<PipeBlock, PipesPerFile>>(*other.blocks_)), serialBase_(other.serialBase_),
      stamp_(other.stamp_), damage_(other.damage_)
{
}

ServiceFile &ServiceFile::operator=(const ServiceFile &other)
{
    if (this != &other) {
        *blocks_ = *other.blocks_;
        serialBase_ = other.serialBase_;
        stamp_ = other.stamp_;
        damage_ = other.damage_;
    }
    return *this;
}

void ServiceFile::clear()
{
    for (PipeBlock &b : *blocks_)
        b.fill(PriceRecord{});
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
    parse(data, path);
    serialBase_ = missing ? -1200 : 0;
    stamp_ = stampOf(path, data);
}

void ServiceFile::parse(std::string_view data, const std::filesystem::path &source)
{
    checkServiceFileSize(source, data.size());
    const auto *p = reinterpret_cast<const unsigned char *>(data.data());
    for (int i = 0; i < RecordsPerFile; ++i)
        PriceRecord::decodeInto(record(i), p + static_cast<size_t>(i) * RecordSize);
    damage_ = damagedPriceTexts(p, RecordsPerFile);
    serialBase_ = 0;
}

std::string ServiceFile::serialize() const
{
    std::string data(static_cast<size_t>(RecordsPerFile) * RecordSize, '\0');
    auto *p = reinterpret_cast<unsigned char *>(data.data());
    for (int i = 0; i < RecordsPerFile; ++i) {
        PriceRecord r = record(i);
        r.serial = Currency::fromInt(serialBase_ + i + 1);
        r.encode(p + static_cast<size_t>(i) * RecordSize);
    }
    return data;
}

void ServiceFile::save(const std::filesystem::path &path)
{
    const std::string data = serialize();
    writeFileAtomically(path, data);
    stamp_ = stampOf(path, data);
}

} // namespace velmo
