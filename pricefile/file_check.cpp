#include "pricefile/file_check.h"
#include "base/shared_texts.h"
#include "pricefile/pricefile_texts.h"

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
            problem(sharedtext::fileSizeProblemText(data_.size(), format_.records, format_.recordSize, expected));
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
        problem(where(r) + " " + std::to_string(offset) + " " + what + ": " + sharedtext::valueNotListedText(v, list));
    }

    // A percentage at byte `offset` must lie within 0 … 1000.
    void percentage(int r, const unsigned char *rec, int offset, const std::string &what)
    {
        const Currency p = Currency::fromRaw(codec::getI64(rec + offset));
        if (p < Currency() || p > Currency::fromInt(1000))
            problem(where(r) + " " + std::to_string(offset) + " " + what + ": " + sharedtext::percentageOutsideText(p.toString()));
    }

private:
    void problem(const std::string &what) { problems_.push_back(file_ + ": " + what); }

    std::string where(int r) const
    {
        return sharedtext::recordPlaceText(r, format_.blockWord, r / format_.rowsPerBlock + format_.firstBlockNumber,
                                           r % format_.rowsPerBlock);
    }

    void text(int r, const unsigned char *rec, int at, size_t capacity, const char *field)
    {
        switch (shortStringDamage(rec + at, capacity)) {
        case TextDamage::None: break;
        case TextDamage::LengthBeyondField:
            problem(where(r) + " " + field + ": " + sharedtext::lengthBeyondFieldProblem(rec[at], capacity));
            break;
        case TextDamage::NotShiftJis: problem(where(r) + " " + field + ": " + sharedtext::NotShiftJisProblem); break;
        case TextDamage::LoneLeadByte: problem(where(r) + " " + field + ": " + sharedtext::LoneLeadByteProblem); break;
        }
    }

    const Format &format_;
    std::string file_;
    std::string_view data_;
    std::vector<std::string> problems_;
};

int slotOffset(int slot) { return offset::Slots + 8 * slot; }

} // namespace

namespace fieldname = sharedtext::fieldname;

std::vector<std::string> checkServiceFile(const std::string &name, std::string_view data)
{
    static const Format pipe{RecordSize, RecordsPerFile, RecordsPerPipe, SettingsRecord, 1, sharedtext::PipeBlockWord,
                             [](Checker &c, int r, const unsigned char *rec) {
                                 const ValueList codes = significantCodes(), adds = addends();
                                 c.value(r, rec, slotOffset(slot::B(1)), fieldname::B1, codes);
                                 c.value(r, rec, slotOffset(slot::B(2)), fieldname::B2, adds);
                                 c.value(r, rec, slotOffset(slot::B(3)), fieldname::B3, {"0", "1", "2", "3"});
                                 c.value(r, rec, slotOffset(slot::B(4)), fieldname::B4, {"0", "2"});
                                 c.value(r, rec, slotOffset(slot::B(6)), fieldname::B6, adds);
                                 c.value(r, rec, slotOffset(slot::D(1)), fieldname::D1, codes);
                                 c.value(r, rec, slotOffset(slot::D(2)), fieldname::D2, adds);
                                 c.value(r, rec, slotOffset(slot::D(3)), fieldname::D3, adds);
                                 c.value(r, rec, slotOffset(slot::D(4)), std::string("D4 ") + UseRatesCaption, {"0", "1"});
                             }};
    return Checker(pipe, name, data).run();
}

std::vector<std::string> checkEquipmentFile(const std::string &name, std::string_view data)
{
    static const Format equipment{
        EquipmentRecordSize, EquipmentRecordsPerFile, EquipmentRowsPerBlock, EquipmentSettingsRow, 0, sharedtext::EquipmentBlockWord,
        [](Checker &c, int r, const unsigned char *rec) {
            for (const Basis b : {Basis::Net, Basis::Level1, Basis::Level2, Basis::Level3, Basis::Level4, Basis::Level5})
                c.percentage(r, rec, slotOffset(materialSlot(b)), std::string(basisLabel(b)) + fieldname::ShareOf);
            const ValueList adds = addends();
            c.value(r, rec, slotOffset(eqslot::LabourMode), fieldname::LabourMode, {"0", "1"});
            c.value(r, rec, slotOffset(eqslot::SignificantCode), fieldname::Significant, significantCodes());
            c.value(r, rec, slotOffset(eqslot::FractionAddend), fieldname::Fraction, adds);
            c.value(r, rec, slotOffset(eqslot::SignificantAddend), fieldname::BelowSignificant, adds);
            c.value(r, rec, slotOffset(eqslot::UseRates), UseRatesCaption, {"0", "1"});
        }};
    return Checker(equipment, name, data).run();
}

} // namespace velmo
