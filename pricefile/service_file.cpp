#include "pricefile/service_file.h"

#include "base/shared_texts.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "pricefile/text_damage.h"

namespace velmo {

ServiceFile::ServiceFile() : blocks_(std::make_unique<std::array<PipeBlock, PipesPerFile>>()) {}

ServiceFile::ServiceFile(const ServiceFile &other)
    : blocks_(std::make_unique<std::array<PipeBlock, PipesPerFile>>(*other.blocks_)), read_(other.read_),
      undecoded_(other.undecoded_), serialBase_(other.serialBase_), stamp_(other.stamp_),
      hashPending_(other.hashPending_), damage_(other.damage_), readOnly_(other.readOnly_)
{
}

ServiceFile &ServiceFile::operator=(const ServiceFile &other)
{
    if (this != &other) {
        *blocks_ = *other.blocks_;
        read_ = other.read_;
        undecoded_ = other.undecoded_;
        serialBase_ = other.serialBase_;
        stamp_ = other.stamp_;
        hashPending_ = other.hashPending_;
        damage_ = other.damage_;
        readOnly_ = other.readOnly_;
    }
    return *this;
}

void ServiceFile::clear()
{
    for (PipeBlock &b : *blocks_)
        b.fill(PriceRecord{});
    undecoded_ = 0;
}

void ServiceFile::decode(int pipe) const
{
    const auto *p = reinterpret_cast<const unsigned char *>(read_->data()) + static_cast<size_t>(pipe) * RecordsPerPipe * RecordSize;
    PipeBlock &block = (*blocks_)[pipe];
    for (int i = 0; i < RecordsPerPipe; ++i)
        PriceRecord::decodeInto(block[i], p + static_cast<size_t>(i) * RecordSize);
    undecoded_ &= ~(1u << pipe);
}

bool ServiceFile::changedSince(const std::filesystem::path &path) const
{
    return changedOnDisk(stamp(), path);
}

FileStamp ServiceFile::stamp() const
{
    if (hashPending_) {
        stamp_.hash = contentHash(*read_);
        hashPending_ = false;
    }
    return stamp_;
}

void ServiceFile::adopt(FileContents &&contents, const std::filesystem::path &path, int serialBase)
{
    checkServiceFileSize(path, contents.bytes.size());
    damage_ = damagedPriceTexts(reinterpret_cast<const unsigned char *>(contents.bytes.data()), RecordsPerFile);
    read_ = std::make_shared<const std::string>(std::move(contents.bytes));
    undecoded_ = (1u << PipesPerFile) - 1;
    serialBase_ = serialBase;
    stamp_ = contents.stamp;
    hashPending_ = true;
    try {
        readOnly_ = isReadOnlyFile(path);
    } catch (const IoError &) {
        readOnly_ = false; // a save says what is wrong
    }
}

void ServiceFile::load(const std::filesystem::path &path)
{
    adopt(readServiceFile(path, StampHash::Later), path, 0);
}

bool ServiceFile::createEmpty(const std::filesystem::path &path)
{
    ServiceFile empty;
    empty.serialBase_ = -1200;
    return writeSharedFile(path, empty.serialize(), Overwrite::Never);
}

void ServiceFile::loadOrCreate(const std::filesystem::path &path)
{
    removeAbandonedSaves(path);
    if (auto contents = readServiceFileIfPresent(path, StampHash::Later)) {
        adopt(std::move(*contents), path, 0);
        return;
    }
    const bool created = createEmpty(path);
    // What another program put there between the look and the write is read as it is.
    adopt(readServiceFile(path, StampHash::Later), path, created ? -1200 : 0);
}

void ServiceFile::parse(std::string_view data, const std::filesystem::path &source)
{
    FileContents contents;
    contents.bytes = std::string(data);
    adopt(std::move(contents), source, 0);
    hashPending_ = false; // bytes that were not read from a file have no stamp
    stamp_ = FileStamp{};
    readOnly_ = false;
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

void ServiceFile::save(const std::filesystem::path &path, SaveCheck check)
{
    const std::string data = serialize();
    if (check == SaveCheck::None) {
        writeSharedFile(path, data, Overwrite::Allowed);
    } else {
        const FileStamp read = stamp();
        writeSharedFile(path, [&](uintmax_t size) { checkServiceFileSize(path, size); },
                        [&](const std::optional<FileContents> &now) {
                            const bool same = now ? read.exists && now->stamp.size == read.size &&
                                                        now->stamp.hash == read.hash
                                                  : !read.exists;
                            if (!same)
                                throw ChangedOnDiskError(sharedtext::changedOnDiskWriteText(path));
                            return data;
                        });
    }
    stamp_ = stampOf(path, data);
    hashPending_ = false;
    readOnly_ = false;
    read_.reset(); // serialize() decoded every block and the stamp is taken
}

} // namespace velmo
