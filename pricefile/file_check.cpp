#include "pricefile/file_check.h"

#include "pricefile/equipment_record.h"
#include "pricefile/pricing_rules.h"
#include "pricefile/record_codec.h"
#include "pricefile/registration_lists.h"
#include "pricefile/text_damage.h"

#include <algorithm>
#include <functional>

namespace velmo {
namespace {

// The values a settings field may hold, as their text.
using ValueList = std::vector<std::string>;

std::string textOf(int64_t raw) { return Currency::fromRaw(raw).toString(); }

// The codes of the rounding lists, and 0, which is what a new file holds.
ValueList significantCodes()
{
    ValueList v{"0"};
    for (const int64_t code : SignificantCodes)
        v.push_back(std::to_string(code));
    return v;
}

ValueList addends()
{
    ValueList v;
    for (const int64_t raw : AddendRaws)
        v.push_back(textOf(raw));
    return v;
}

// What tells the two kinds of file apart.
struct Format {
    int recordSize;
    int records;
    int rowsPerBlock;
    int settingsRow;
    int firstBlockNumber; // what the program calls block 0
    const char *blockWord;
    std::function<void(class Checker &, int record, const unsigned char *rec)> settings;
};

class Checker {
public:
    Checker(const Format &format, std::string file, std::string_view data)
        : format_(format), file_(std::move(file)), data_(data)
    {
    }

    std::vector<std::string> run()
    {
        const size_t expected = static_cast<size_t>(format_.records) * static_cast<size_t>(format_.recordSize);
        if (data_.size() != expected)
            problem("大きさが " + std::to_string(data_.size()) + " バイトです (" + std::to_string(format_.records) +
                    " レコード × " + std::to_string(format_.recordSize) + " バイト = " + std::to_string(expected) +
                    " バイト)");
        const size_t records = std::min(data_.size() / static_cast<size_t>(format_.recordSize),
                                        static_cast<size_t>(format_.records));
        for (size_t r = 0; r < records; ++r) {
            const auto *rec = reinterpret_cast<const unsigned char *>(data_.data()) + r * static_cast<size_t>(format_.recordSize);
            const int at = static_cast<int>(r);
            text(at, rec, offset::Name, 80, "Name");
            text(at, rec, offset::Caption, 40, "Caption");
            text(at, rec, offset::Size, 6, "Size");
            text(at, rec, offset::Unit, 4, "Unit");
            if (at % format_.rowsPerBlock == format_.settingsRow)
                format_.settings(*this, at, rec);
        }
        return problems_;
    }

    // A settings field at byte `offset` of record `r` must hold one of `allowed`.
    void value(int r, const unsigned char *rec, int offset, const std::string &what, const ValueList &allowed)
    {
        const std::string v = textOf(codec::getI64(rec + offset));
        if (std::find(allowed.begin(), allowed.end(), v) != allowed.end())
            return;
        std::string list;
        for (const std::string &a : allowed)
            list += (list.empty() ? "" : ", ") + a;
        problem(where(r) + " " + std::to_string(offset) + " " + what + ": " + v + " は " + list + " のどれでもありません");
    }

    // A percentage at byte `offset` must lie within 0 … 1000.
    void percentage(int r, const unsigned char *rec, int offset, const std::string &what)
    {
        const Currency p = Currency::fromRaw(codec::getI64(rec + offset));
        if (p < Currency() || p > Currency::fromInt(1000))
            problem(where(r) + " " + std::to_string(offset) + " " + what + ": " + p.toString() + " は 0 から 1000 (%) の外です");
    }

private:
    void problem(const std::string &what) { problems_.push_back(file_ + ": " + what); }

    std::string where(int r) const
    {
        return "レコード " + std::to_string(r) + " (" + format_.blockWord + " " +
               std::to_string(r / format_.rowsPerBlock + format_.firstBlockNumber) + " の " +
               std::to_string(r % format_.rowsPerBlock) + " 行目)";
    }

    void text(int r, const unsigned char *rec, int at, size_t capacity, const char *field)
    {
        switch (shortStringDamage(rec + at, capacity)) {
        case TextDamage::None: break;
        case TextDamage::LengthBeyondField:
            problem(where(r) + " " + field + ": 長さ " + std::to_string(rec[at]) + " が欄の " + std::to_string(capacity) +
                    " バイトを超えています");
            break;
        case TextDamage::NotShiftJis: problem(where(r) + " " + field + ": シフトJIS の文字列ではありません"); break;
        case TextDamage::LoneLeadByte: problem(where(r) + " " + field + ": 2 バイト文字の 1 バイト目で終わっています"); break;
        }
    }

    const Format &format_;
    std::string file_;
    std::string_view data_;
    std::vector<std::string> problems_;
};

int slotOffset(int slot) { return offset::Slots + 8 * slot; }

} // namespace

std::vector<std::string> checkServiceFile(const std::string &name, std::string_view data)
{
    static const Format pipe{RecordSize, RecordsPerFile, RecordsPerPipe, SettingsRecord, 1, "管材",
                             [](Checker &c, int r, const unsigned char *rec) {
                                 const ValueList codes = significantCodes(), adds = addends();
                                 c.value(r, rec, slotOffset(slot::B(1)), "B1 有効桁", codes);
                                 c.value(r, rec, slotOffset(slot::B(2)), "B2 端数処理", adds);
                                 c.value(r, rec, slotOffset(slot::B(3)), "B3 金額の小数桁", {"0", "1", "2", "3"});
                                 c.value(r, rec, slotOffset(slot::B(4)), "B4 管材の種類", {"0", "2"});
                                 c.value(r, rec, slotOffset(slot::B(6)), "B6 有効桁以下の処理", adds);
                                 c.value(r, rec, slotOffset(slot::D(1)), "D1 有効桁", codes);
                                 c.value(r, rec, slotOffset(slot::D(2)), "D2 小数以下の処理", adds);
                                 c.value(r, rec, slotOffset(slot::D(3)), "D3 有効桁以下の処理", adds);
                                 c.value(r, rec, slotOffset(slot::D(4)), std::string("D4 ") + UseRatesCaption, {"0", "1"});
                             }};
    return Checker(pipe, name, data).run();
}

std::vector<std::string> checkEquipmentFile(const std::string &name, std::string_view data)
{
    static const Format equipment{
        EquipmentRecordSize, EquipmentRecordsPerFile, EquipmentRowsPerBlock, EquipmentSettingsRow, 0, "ブロック",
        [](Checker &c, int r, const unsigned char *rec) {
            for (const Basis b : {Basis::Net, Basis::Level1, Basis::Level2, Basis::Level3, Basis::Level4, Basis::Level5})
                c.percentage(r, rec, slotOffset(materialSlot(b)), std::string(basisLabel(b)) + " の割合");
            const ValueList adds = addends();
            c.value(r, rec, slotOffset(eqslot::LabourMode), "労務費の区分", {"0", "1"});
            c.value(r, rec, slotOffset(eqslot::SignificantCode), "有効桁", significantCodes());
            c.value(r, rec, slotOffset(eqslot::FractionAddend), "小数以下の処理", adds);
            c.value(r, rec, slotOffset(eqslot::SignificantAddend), "有効桁以下の処理", adds);
            c.value(r, rec, slotOffset(eqslot::UseRates), UseRatesCaption, {"0", "1"});
        }};
    return Checker(equipment, name, data).run();
}

} // namespace velmo
