#include "pricefile/price_changes.h"
#include "base/shared_texts.h"
#include "pricefile/pricefile_texts.h"

#include "base/errors.h"
#include "pricefile/equipment_file.h"
#include "pricefile/pricing_rules.h"
#include "pricefile/service_file.h"

#include <cmath>

namespace velmo {

namespace fs = std::filesystem;

std::optional<Currency> PriceChange::difference() const
{
    if (kind != ChangeKind::Figure || !oldValue || !newValue)
        return std::nullopt;
    try {
        return *newValue - *oldValue;
    } catch (const RangeError &) {
        return std::nullopt;
    }
}

std::optional<Currency> PriceChange::percent() const
{
    if (kind != ChangeKind::Figure || !oldValue || !newValue || oldValue->isZero())
        return std::nullopt;
    const long double oldRaw = static_cast<long double>(oldValue->raw());
    const long double ratio = (static_cast<long double>(newValue->raw()) - oldRaw) / oldRaw * 100;
    const long double rounded = std::round(ratio * 100) / 100;
    // A change from a tiny figure can be larger than any Currency holds.
    if (!(std::fabs(rounded) < 9.0e14L))
        return std::nullopt;
    return Currency::fromDouble(rounded);
}

namespace {

// One thing a block holds that the report compares: a figure or a text, with the labels of its
// row. Every block of a kind of file gives its facts in the same order, so that two blocks are
// compared fact by fact.
struct Fact {
    std::string field, size, location;
    std::optional<Currency> value; // a figure; a text when empty
    std::string text;

    bool sameAs(const Fact &o) const { return value ? value == o.value : text == o.text; }
    bool blank() const { return value ? value->isZero() : text.empty(); }
};

struct BlockFacts {
    std::string name;
    std::vector<Fact> facts;

    bool sameAs(const BlockFacts &o) const
    {
        for (size_t k = 0; k < facts.size(); ++k)
            if (!facts[k].sameAs(o.facts[k]))
                return false;
        return true;
    }
    bool blank() const
    {
        for (const Fact &f : facts)
            if (!f.blank())
                return false;
        return true;
    }

    void text(std::string field, std::string value, std::string size = {}, std::string location = {})
    {
        facts.push_back({std::move(field), std::move(size), std::move(location), std::nullopt, std::move(value)});
    }
    void figure(std::string field, Currency value, std::string size = {}, std::string location = {})
    {
        facts.push_back({std::move(field), std::move(size), std::move(location), value, {}});
    }
};

std::string withBasis(const char *prefix, Basis b) { return std::string(prefix) + " " + basisLabel(b); }

constexpr Basis MaterialOrder[] = {Basis::Level1, Basis::Level2, Basis::Level3, Basis::Level4,
                                   Basis::Level5, Basis::Net,    Basis::List};

// What a pipe block holds: its texts, its settings and labour prices, then location by
// location its name and size rows. The material prices are those of location 0 (the other
// locations carry copies of them); the tail records of locations 1 and 2 hold nothing anyone
// reads.
BlockFacts pipeFacts(const PipeBlock &b)
{
    namespace t = changetext;
    BlockFacts out;
    out.name = b[0].name.text();
    out.text(t::Name, b[0].name.text());
    out.text(t::Name2, b[1].name.text());
    out.text(t::Name3, b[2].name.text());
    out.text(t::PriceMemo, b[3].name.text());
    out.text(t::PageMemo, b[4].name.text());
    out.text(t::Unit, b[0].unit.text());

    const PriceRecord &s = b[SettingsRecord];
    for (const Basis basis : MaterialOrder)
        if (basis != Basis::List)
            out.figure(withBasis(t::Percentage, basis), s.slots[materialSlot(basis)]);
    out.figure(t::CompositeCode, s.B(1));
    out.figure(t::CompositeFraction, s.B(2));
    out.figure(t::ComponentDecimals, s.B(3));
    out.figure(t::PipeMode, s.B(4));
    out.figure(t::CompositeAddend, s.B(6));
    out.figure(t::PriceCode, s.D(1));
    out.figure(t::PriceFraction, s.D(2));
    out.figure(t::PriceAddend, s.D(3));
    out.figure(t::UseRates, s.D(4));

    const PriceRecord &labour = b[LabourRecord];
    for (const Basis basis : MaterialOrder)
        out.figure(withBasis(t::LabourPrice, basis), labour.slots[labourSlot(basis)]);

    for (int loc = 0; loc < LocationsPerPipe; ++loc) {
        const std::string caption = b[loc * RowsPerLocation + SizeRowsPerLocation].caption.text();
        const std::string location = caption.empty() ? t::locationNumberText(loc) : caption;
        out.text(t::LocationName, caption, {}, location);
        for (int row = 0; row < SizeRowsPerLocation; ++row) {
            const PriceRecord &r = b[loc * RowsPerLocation + row];
            const std::string size = r.size.text();
            out.text(t::Size, size, size, location);
            if (loc == 0)
                for (const Basis basis : MaterialOrder)
                    out.figure(withBasis(t::MaterialPrice, basis), r.slots[materialSlot(basis)], size);
            for (int i = 1; i <= 7; ++i)
                out.figure(std::string(t::Factor) + " " + t::FactorNames[i - 1], r.B(i), size, location);
            for (const Basis basis : MaterialOrder)
                if (basis != Basis::List) // the list-price composite is never stored
                    out.figure(withBasis(t::Composite, basis), basis == Basis::Net ? r.C(0) : r.C(basisNumber(basis)),
                               size, location);
            for (int n = 1; n <= 5; ++n)
                out.figure(withBasis(t::Adopted, basisAt(n)), r.D(n), size, location);
        }
    }
    return out;
}

// The hanger hardware price slot of a basis: LEVEL1 … LEVEL5 at 224 … 256, 原価 264, 定価 272.
int hangerSlot(Basis b)
{
    return b == Basis::Net ? equipmentSlot(264) : b == Basis::List ? equipmentSlot(272)
                                                                   : equipmentSlot(216) + basisNumber(b);
}

// What a material block of the equipment file holds: its name and unit, its settings, then
// its size rows.
BlockFacts equipmentFacts(const EquipmentRecord *b)
{
    namespace t = changetext;
    BlockFacts out;
    out.name = b[0].name.text();
    out.text(t::Name, b[0].name.text());
    out.text(t::Unit, b[0].unit.text());

    const EquipmentRecord &s = b[EquipmentSettingsRow];
    for (const Basis basis : MaterialOrder)
        if (basis != Basis::List)
            out.figure(withBasis(t::Percentage, basis), s.values[materialSlot(basis)]);
    out.figure(t::LabourMode, s.values[eqslot::LabourMode]);
    out.figure(t::PriceCode, s.values[eqslot::SignificantCode]);
    out.figure(t::PriceFraction, s.values[eqslot::FractionAddend]);
    out.figure(t::PriceAddend, s.values[eqslot::SignificantAddend]);
    out.figure(t::UseRates, s.values[eqslot::UseRates]);

    for (int row = 0; row < EquipmentSizeRows; ++row) {
        const EquipmentRecord &r = b[row];
        const std::string size = r.caption.text();
        out.text(t::Size, size, size);
        for (const Basis basis : MaterialOrder)
            out.figure(withBasis(t::MaterialPrice, basis), r.values[materialSlot(basis)], size);
        for (const Basis basis : MaterialOrder)
            out.figure(withBasis(t::HangerPrice, basis), r.values[hangerSlot(basis)], size);
        out.figure(t::Factor, r.values[eqslot::LabourRate], size);
        for (const Basis basis : MaterialOrder)
            out.figure(withBasis(t::InstallationCost, basis), r.values[installationSlot(basis)], size);
    }
    return out;
}

const std::string &eitherOf(const std::string &preferred, const std::string &other)
{
    return preferred.empty() ? other : preferred;
}

// The rows of one pair of blocks: the move when it was found at another number, then each fact
// that differs.
void addBlockChanges(const BlockFacts &older, int oldNumber, const BlockFacts &newer, int newNumber, bool moved,
                     std::vector<PriceChange> &out)
{
    const std::string &name = eitherOf(newer.name, older.name);
    if (moved) {
        PriceChange move;
        move.kind = ChangeKind::Moved;
        move.block = newNumber;
        move.movedFrom = oldNumber;
        move.name = name;
        move.field = changetext::Moved;
        move.oldText = std::to_string(oldNumber);
        move.newText = std::to_string(newNumber);
        out.push_back(std::move(move));
    }
    for (size_t k = 0; k < newer.facts.size(); ++k) {
        const Fact &o = older.facts[k], &n = newer.facts[k];
        if (o.sameAs(n))
            continue;
        PriceChange c;
        c.kind = n.value ? ChangeKind::Figure : ChangeKind::Text;
        c.block = newNumber;
        c.name = name;
        c.size = eitherOf(n.size, o.size);
        c.location = eitherOf(n.location, o.location);
        c.field = n.field;
        c.oldValue = o.value;
        c.newValue = n.value;
        c.oldText = o.text;
        c.newText = n.text;
        out.push_back(std::move(c));
    }
}

// Pairs each block of the new file with one of the old file, then reports each pair in the
// order of the new file. A block unchanged at its number is paired first; then one whose whole
// content (never an empty block's) lies at another number, then the same name at the same
// number, the same name found once at another number, the same number, and what is left in
// order of numbers. Only the content and the name make a move: what is left over is compared
// with what it was paired with, under its new number.
std::vector<PriceChange> compareBlocks(const std::vector<BlockFacts> &older, const std::vector<BlockFacts> &newer,
                                       int firstNumber)
{
    const size_t n = newer.size();
    std::vector<int> pairOf(n, -1); // new block → old block
    std::vector<bool> taken(older.size(), false), moved(n, false);
    auto pair = [&](size_t j, size_t i) {
        pairOf[j] = static_cast<int>(i);
        taken[i] = true;
    };
    for (size_t j = 0; j < n; ++j)
        if (newer[j].sameAs(older[j]))
            pair(j, j);
    for (size_t j = 0; j < n; ++j) {
        if (pairOf[j] >= 0 || newer[j].blank())
            continue;
        for (size_t i = 0; i < older.size(); ++i)
            if (!taken[i] && newer[j].sameAs(older[i])) {
                pair(j, i);
                moved[j] = true;
                break;
            }
    }
    for (size_t j = 0; j < n; ++j)
        if (pairOf[j] < 0 && !taken[j] && !newer[j].name.empty() && newer[j].name == older[j].name)
            pair(j, j);
    for (size_t j = 0; j < n; ++j) {
        if (pairOf[j] >= 0 || newer[j].name.empty())
            continue;
        int found = -1, count = 0, newCount = 0;
        for (size_t i = 0; i < older.size(); ++i)
            if (!taken[i] && older[i].name == newer[j].name) {
                found = static_cast<int>(i);
                ++count;
            }
        for (size_t k = 0; k < n; ++k)
            if (pairOf[k] < 0 && newer[k].name == newer[j].name)
                ++newCount;
        if (count == 1 && newCount == 1) {
            pair(j, static_cast<size_t>(found));
            moved[j] = found != static_cast<int>(j);
        }
    }
    for (size_t j = 0; j < n; ++j)
        if (pairOf[j] < 0 && !taken[j])
            pair(j, j);
    size_t next = 0;
    for (size_t j = 0; j < n; ++j) {
        if (pairOf[j] >= 0)
            continue;
        while (taken[next])
            ++next;
        pair(j, next);
    }

    std::vector<PriceChange> out;
    for (size_t j = 0; j < n; ++j) {
        const size_t i = static_cast<size_t>(pairOf[j]);
        addBlockChanges(older[i], static_cast<int>(i) + firstNumber, newer[j], static_cast<int>(j) + firstNumber,
                        moved[j], out);
    }
    return out;
}

std::vector<BlockFacts> pipeFactsOf(const ServiceFile &file)
{
    std::vector<BlockFacts> out;
    for (int p = 0; p < PipesPerFile; ++p)
        out.push_back(pipeFacts(file.pipeBlock(p)));
    return out;
}

std::vector<BlockFacts> equipmentFactsOf(const std::vector<EquipmentRecord> &records)
{
    if (records.size() != static_cast<size_t>(EquipmentRecordsPerFile))
        throw RangeError(sharedtext::equipmentRecordCountText(records.size()));
    std::vector<BlockFacts> out;
    for (int b = 0; b < EquipmentBlockCount; ++b)
        out.push_back(equipmentFacts(records.data() + b * EquipmentRowsPerBlock));
    return out;
}

} // namespace

std::vector<PriceChange> comparePipeFiles(const ServiceFile &older, const ServiceFile &newer)
{
    // Pipes are numbered 1 … 20, as in velmok's argument and the command lines' --pipe.
    return compareBlocks(pipeFactsOf(older), pipeFactsOf(newer), 1);
}

std::vector<PriceChange> comparePipeFiles(const fs::path &older, const fs::path &newer)
{
    ServiceFile a, b;
    a.load(older);
    b.load(newer);
    return comparePipeFiles(a, b);
}

std::vector<PriceChange> compareEquipmentFiles(const std::vector<EquipmentRecord> &older,
                                               const std::vector<EquipmentRecord> &newer)
{
    // Material blocks are numbered 0 … 19, as in selvan's argument and status bar.
    return compareBlocks(equipmentFactsOf(older), equipmentFactsOf(newer), 0);
}

std::vector<PriceChange> compareEquipmentFiles(const fs::path &older, const fs::path &newer)
{
    const std::vector<EquipmentRecord> a = readEquipmentFile(older);
    const std::vector<EquipmentRecord> b = readEquipmentFile(newer);
    return compareEquipmentFiles(a, b);
}

} // namespace velmo
