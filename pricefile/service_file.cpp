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

void ServiceFile::adopt(const FileContents &contents, const std::filesystem::path &path, int serialBase)
{
    parse(contents.bytes, path);
    serialBase_ = serialBase;
    stamp_ = contents.stamp;
}

void ServiceFile::load(const std::filesystem::path &path) { adopt(readServiceFile(path), path, 0); }

bool ServiceFile::createEmpty(const std::filesystem::path &path)
{
    ServiceFile empty;
    empty.serialBase_ = -1200;
    return writeFileAtomically(path, empty.serialize(), Overwrite::Never);
}

void ServiceFile::loadOrCreate(const std::filesystem::path &path)
{
    removeAbandonedSaves(path);
    if (auto contents = readServiceFileIfPresent(path)) {
        adopt(*contents, path, 0);
        return;
    }
    const bool created = createEmpty(path);
    // What another program put there between the look and the write is read as it is.
    adopt(readServiceFile(path), path, created ? -1200 : 0);
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
