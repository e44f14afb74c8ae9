#include "pricefile/text_damage.h"
#include "base/shared_texts.h"
#include "pricefile/pricefile_texts.h"

#include "base/cp932.h"
#include "pricefile/price_record.h"

#include <algorithm>
#include <string_view>

namespace velmo {
TextDamage shortStringDamage(const unsigned char *field, size_t capacity)
{
    const size_t len = field[0];
    if (len > capacity)
        return TextDamage::LengthBeyondField;
    switch (cp932::inspect(std::string_view(reinterpret_cast<const char *>(field + 1), len))) {
    case cp932::TextState::Valid: return TextDamage::None;
    case cp932::TextState::Invalid: return TextDamage::NotShiftJis;
    case cp932::TextState::CutAfterLeadByte:
        // At full length the lone lead byte is what cutting a long text to the field leaves.
        return len < capacity ? TextDamage::LoneLeadByte : TextDamage::None;
    }
    return TextDamage::None;
}

std::vector<std::string> damagedPriceTexts(const unsigned char *data, int records)
{
    return damagedTexts(data, records, RecordSize, 0, RecordsPerPipe, sharedtext::PipeBlockWord, PriceTextNames);
}

std::string damageNotice(const std::string &file, const std::vector<std::string> &lines)
{
    if (lines.empty())
        return "";
    std::string m = sharedtext::damageNoticeHead(file);
    const size_t shown = std::min<size_t>(lines.size(), 5);
    for (size_t i = 0; i < shown; ++i)
        m += "\n" + lines[i];
    if (lines.size() > shown)
        m += sharedtext::moreDamageText(lines.size() - shown);
    return m;
}

std::vector<std::string> damagedTexts(const unsigned char *data, int records, int recordSize, int first, int perBlock,
                                      const char *blockWord, const std::array<const char *, 4> &fieldNames)
{
    struct Field {
        int at;
        size_t capacity;
        const char *name;
    };
    const Field fields[] = {{offset::Name, 80, fieldNames[0]}, {offset::Caption, 40, fieldNames[1]},
                            {offset::Size, 6, fieldNames[2]}, {offset::Unit, 4, fieldNames[3]}};
    std::vector<std::string> lines;
    for (int r = 0; r < records; ++r) {
        const unsigned char *rec = data + static_cast<size_t>(r) * recordSize;
        for (const Field &f : fields) {
            const char *what = nullptr;
            switch (shortStringDamage(rec + f.at, f.capacity)) {
            case TextDamage::None: continue;
            case TextDamage::LengthBeyondField: what = sharedtext::LengthBeyondFieldText; break;
            case TextDamage::NotShiftJis: what = sharedtext::NotShiftJisText; break;
            case TextDamage::LoneLeadByte: what = sharedtext::LoneLeadByteText; break;
            }
            const int index = first + r;
            lines.push_back(sharedtext::damagedTextLine(index, blockWord, index / perBlock + 1, f.name, what));
        }
    }
    return lines;
}

} // namespace velmo
