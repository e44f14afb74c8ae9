#include "text_damage.h"

#include "cp932.h"
#include "price_record.h"

#include <algorithm>
#include <string_view>

namespace velmo {
namespace {

bool endsInLoneLeadByte(std::string_view bytes)
{
    size_t i = 0;
    while (i < bytes.size())
        i += cp932::isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    return i > bytes.size();
}

} // namespace

TextDamage shortStringDamage(const unsigned char *field, size_t capacity)
{
    const size_t len = field[0];
    if (len > capacity)
        return TextDamage::LengthBeyondField;
    const std::string_view bytes(reinterpret_cast<const char *>(field + 1), std::min(len, capacity));
    bool clean = true;
    cp932::decode(bytes, &clean);
    if (!clean)
        return TextDamage::NotShiftJis;
    if (endsInLoneLeadByte(bytes) && bytes.size() < capacity)
        return TextDamage::LoneLeadByte;
    return TextDamage::None;
}

std::vector<std::string> damagedPriceTexts(const unsigned char *data, int records)
{
    struct Field {
        int at;
        size_t capacity;
        const char *name;
    };
    static const Field fields[] = {{offset::Name, 80, "名称"}, {offset::Caption, 40, "場所名"},
                                   {offset::Size, 6, "呼び径"}, {offset::Unit, 4, "単位"}};
    std::vector<std::string> lines;
    for (int r = 0; r < records; ++r) {
        const unsigned char *rec = data + static_cast<size_t>(r) * RecordSize;
        for (const Field &f : fields) {
            const char *what = nullptr;
            switch (shortStringDamage(rec + f.at, f.capacity)) {
            case TextDamage::None: continue;
            case TextDamage::LengthBeyondField: what = "長さのバイトが欄の大きさを超えています"; break;
            case TextDamage::NotShiftJis: what = "シフトJISとして読めない文字があります"; break;
            case TextDamage::LoneLeadByte: what = "2バイト文字の前半で切れています"; break;
            }
            lines.push_back("レコード " + std::to_string(r) + " (管材 " + std::to_string(r / RecordsPerPipe + 1) + ") の" +
                            f.name + ": " + what);
        }
    }
    return lines;
}

} // namespace velmo
