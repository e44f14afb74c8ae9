#include "file_check.h"

#include "calc.h"
#include "text_damage.h"

namespace velmo {
namespace {

int64_t rawSlot(const unsigned char *rec, int slot)
{
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | rec[offset::Slots + 8 * slot + i];
    return static_cast<int64_t>(v);
}

struct ValueSet {
    const char *what;
    std::vector<const char *> values;
};

const ValueSet Codes{"significant-digit code", {"0", "1", "10", "100", "1000", "3", "4"}};
const ValueSet Addends{"rounding addend", {"0.9", "0", "0.5"}};
const ValueSet Decimals{"component decimals", {"0", "1", "2", "3"}};
const ValueSet Modes{"pipe mode", {"0", "2"}};
const ValueSet Flags{"flag", {"0", "1"}};

class Checker {
public:
    Checker(std::string file, std::string_view data) : file_(std::move(file)), data_(data) {}

    std::vector<std::string> run()
    {
        const size_t expected = static_cast<size_t>(RecordsPerFile) * RecordSize;
        if (data_.size() != expected)
            problem("size " + std::to_string(data_.size()) + " bytes, expected " + std::to_string(expected) +
                    " (1200 records of 360 bytes)");
        const int records = static_cast<int>(std::min(data_.size() / RecordSize, size_t(RecordsPerFile)));
        for (int r = 0; r < records; ++r) {
            const auto *rec = reinterpret_cast<const unsigned char *>(data_.data()) + static_cast<size_t>(r) * RecordSize;
            text(r, rec, offset::Name, 80, "Name");
            text(r, rec, offset::Caption, 40, "Caption");
            text(r, rec, offset::Size, 6, "Size");
            text(r, rec, offset::Unit, 4, "Unit");
            if (r % RecordsPerPipe == SettingsRow - 1)
                settings(r, rec);
        }
        return problems_;
    }

private:
    void problem(const std::string &what) { problems_.push_back(file_ + ": " + what); }

    static std::string where(int r)
    {
        return "record " + std::to_string(r) + " (pipe " + std::to_string(r / RecordsPerPipe + 1) + ")";
    }

    void text(int r, const unsigned char *rec, int at, size_t capacity, const char *field)
    {
        switch (shortStringDamage(rec + at, capacity)) {
        case TextDamage::None:
            break;
        case TextDamage::LengthBeyondField:
            problem(where(r) + " " + field + ": length byte " + std::to_string(rec[at]) + " exceeds the field's " +
                    std::to_string(capacity) + " bytes");
            break;
        case TextDamage::NotShiftJis:
            problem(where(r) + " " + field + ": not valid Shift-JIS text");
            break;
        case TextDamage::LoneLeadByte:
            problem(where(r) + " " + field + ": ends in the first byte of a double-byte character");
            break;
        }
    }

    void value(int r, const unsigned char *rec, int slot, const char *field, const ValueSet &set)
    {
        const Currency v = Currency::fromRaw(rawSlot(rec, slot));
        std::string list;
        for (const char *s : set.values) {
            if (v == Currency::parse(s))
                return;
            list += (list.empty() ? "" : ", ") + std::string(s);
        }
        problem(where(r) + " settings " + field + ": " + v.toString() + " is not a " + set.what + " (" + list + ")");
    }

    void settings(int r, const unsigned char *rec)
    {
        value(r, rec, slot::B(1), "B1", Codes);
        value(r, rec, slot::B(2), "B2", Addends);
        value(r, rec, slot::B(3), "B3", Decimals);
        value(r, rec, slot::B(4), "B4", Modes);
        value(r, rec, slot::B(6), "B6", Addends);
        value(r, rec, slot::D(1), "D1", Codes);
        value(r, rec, slot::D(2), "D2", Addends);
        value(r, rec, slot::D(3), "D3", Addends);
        value(r, rec, slot::D(4), "D4", Flags);
    }

    std::string file_;
    std::string_view data_;
    std::vector<std::string> problems_;
};

} // namespace

std::vector<std::string> checkServiceFile(const std::string &name, std::string_view data)
{
    return Checker(name, data).run();
}

} // namespace velmo
