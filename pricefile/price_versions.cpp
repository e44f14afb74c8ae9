#include "pricefile/price_versions.h"

#include "base/errors.h"
#include "base/fileio.h"
#include "base/shared_texts.h"
#include "pricefile/equipment_file.h"
#include "pricefile/pipe_block.h"
#include "pricefile/service_file.h"

namespace velmo {

namespace fs = std::filesystem;

uintmax_t priceFileBytes(PriceFileKind kind)
{
    return kind == PriceFileKind::Pipe ? static_cast<uintmax_t>(RecordsPerFile) * RecordSize : EquipmentFileBytes;
}

void checkPriceFileSize(PriceFileKind kind, const fs::path &name, uintmax_t size)
{
    if (kind == PriceFileKind::Pipe)
        checkServiceFileSize(name, size);
    else
        checkRecordFileSize(name, size, EquipmentRecordSize, EquipmentRecordsPerFile);
}

std::string versionLabel(const fs::path &file, int number) { return file.string() + "@" + std::to_string(number); }

std::string priceFileVersion(const fs::path &file, int number, PriceFileKind kind)
{
    std::string bytes = versionContent(file, number, priceFileBytes(kind));
    checkPriceFileSize(kind, versionLabel(file, number), bytes.size());
    return bytes;
}

std::vector<PriceChange> compareContents(PriceFileKind kind, const std::string &older, const std::string &olderName,
                                         const std::string &newer, const std::string &newerName)
{
    checkPriceFileSize(kind, olderName, older.size());
    checkPriceFileSize(kind, newerName, newer.size());
    if (kind == PriceFileKind::Pipe) {
        ServiceFile a, b;
        a.parse(older, olderName);
        b.parse(newer, newerName);
        return comparePipeFiles(a, b);
    }
    return compareEquipmentFiles(equipmentRecordsOf(older), equipmentRecordsOf(newer));
}

PriceFileHistory priceFileHistory(const fs::path &file, PriceFileKind kind)
{
    const HistoryListing listing = listHistory(file);
    PriceFileHistory out{listing.folder, {}, listing.skipped};
    std::optional<std::string> before;
    int beforeNumber = 0;
    for (const HistoryVersion &v : listing.versions) {
        PriceFileVersion pv{v, std::nullopt, std::nullopt};
        std::optional<std::string> content;
        try {
            content = priceFileVersion(file, v.number, kind);
        } catch (const IoError &e) {
            pv.error = e.what();
        }
        if (before && content)
            pv.changes = compareContents(kind, *before, versionLabel(file, beforeNumber), *content,
                                         versionLabel(file, v.number))
                             .size();
        out.versions.push_back(std::move(pv));
        before = std::move(content);
        beforeNumber = v.number;
    }
    return out;
}

void restoreContent(const fs::path &file, PriceFileKind kind, const std::string &content,
                    const std::optional<std::string> &asRead)
{
    writeSharedFile(file, [&](uintmax_t size) { checkPriceFileSize(kind, file, size); },
                    [&](const std::optional<FileContents> &onDisk) {
                        if (asRead && (!onDisk || onDisk->bytes != *asRead))
                            throw ChangedOnDiskError(sharedtext::changedOnDiskWriteText(file));
                        return content;
                    });
}

} // namespace velmo
