#include "calc.h"

#include "errors.h"

namespace velmo {

void WorkingTable::clear()
{
    rows_.fill(WorkingRow{});
}

void WorkingTable::load(const PipeBlock &block)
{
    for (int a = 1; a <= WorkingRows; ++a) {
        WorkingRow &w = row(a);
        w = WorkingRow{};
        w.rec = block[a - 1];
        w.rec.reserved0 = 0;
        w.rec.reserved144 = 0;
        w.rec.serial = Currency();
    }
}

void WorkingTable::store(int a, PipeBlock &block) const
{
    PriceRecord &r = block[a - 1];
    const PriceRecord &w = row(a).rec;
    r.name = w.name;
    r.caption = w.caption;
    r.size = w.size;
    r.unit = w.unit;
    r.rowTag = w.rowTag;
    r.slots = w.slots;
}

int componentDecimals(Currency code)
{
    if (code == Currency::fromInt(1)) return 1;
    if (code == Currency::fromInt(2)) return 2;
    if (code == Currency::fromInt(3)) return 3;
    return 0;
}

void WorkingTable::calculateRow(int a)
{
    if (a == SettingsRow)
        return;
    try {
        calculate(a);
    } catch (const RangeError &e) {
        throw RangeError(rowLabel(a) + ": " + e.what());
    }
}

void WorkingTable::calculateRow(int a, PipeBlock &block)
{
    if (a == SettingsRow)
        return;
    calculateRow(a);
    store(a, block);
}

std::string WorkingTable::rowLabel(int a) const
{
    const std::string pipe = row(1).rec.name.text();
    const int location = (a - 1) / RowsPerLocation;
    const int k = (a - 1) % RowsPerLocation + 1;
    std::string place = row(workingRow(location, RowsPerLocation)).rec.caption.text();
    if (place.empty())
        place = "場所" + std::to_string(location + 1);
    std::string label = (pipe.empty() ? std::string("名称のない管材") : "管材「" + pipe + "」") + " " + place + " " +
                        std::to_string(k) + " 行目";
    if (!row(a).rec.size.empty())
        label += "（" + row(a).rec.size.text() + "）";
    return label;
}

void WorkingTable::calculate(int a)
{
    PriceRecord &st = settings();
    PriceRecord &r = row(a).rec;

    if (st.D(4) == Currency::fromInt(1)) {
        for (int i = 0; i <= 5; ++i)
            r.A(i) = derivedPrice(r.A(6), st.A(i), st.D(2), st.D(1), st.D(3));
    }
    // The material prices are entered on location 0 only; every location uses them.
    if (a >= 1 && a <= SizeRowsPerLocation) {
        for (int loc = 1; loc < LocationsPerPipe; ++loc)
            for (int i = 0; i <= 6; ++i)
                row(a + loc * RowsPerLocation).rec.A(i) = r.A(i);
    }

    if (st.B(1).isZero())
        st.B(1) = Currency::fromInt(1);
    const int d = componentDecimals(st.B(3));
    if (d == 0)
        st.B(3) = Currency();

    const Currency z = st.B(2);
    const bool refrigerant = this->refrigerant();
    const PriceRecord &labour = row(LabourRow).rec;
    for (int i = 1; i <= BasisCount; ++i) {
        const Currency m = r.slots[materialSlot(basisAt(i))];
        const Currency w = labour.slots[labourSlot(basisAt(i))];
        BasisResult &res = row(a).basis[i - 1];
        auto &K = res.K;
        K[0] = ComponentRule(m, r.B(1), d, z);
        K[1] = ComponentRule(m, r.B(2), d, z);
        K[2] = ComponentRule(m, r.B(3), d, z);
        K[4] = ComponentRule(w, r.B(5), d, z);
        if (refrigerant) {
            K[3] = ComponentRule(K[0] + K[1] + K[2], r.B(4), d, z);
            K[5] = Currency();
        } else {
            K[3] = ComponentRule(m, r.B(4), d, z);
            K[5] = ComponentRule(K[4], r.B(6), d, z);
        }
        K[6] = ComponentRule(K[4] + K[5], r.B(7), d, z);
        Currency sum;
        for (const Currency &k : K)
            sum += k;
        res.total = Frac(sum, z);
        res.adopted = i == 6 ? Currency() : RoundSignificant(st.B(6), st.B(1), res.total);
        if (i <= 5) {
            r.C(i) = res.total;
            r.D(i) = res.adopted;
        } else if (i == 6) {
            r.C(0) = res.total;
        }
    }
}

void WorkingTable::recalculateAll()
{
    for (int a = 1; a < WorkingRows; ++a)
        calculateRow(a);
}

void WorkingTable::recalculateAll(PipeBlock &block)
{
    for (int a = 1; a < WorkingRows; ++a)
        calculateRow(a, block);
    // The settings row may have been corrected (B1 0 → 1, B3 reset); keep the file in step.
    store(SettingsRow, block);
}

BasicSettings WorkingTable::basicSettings() const
{
    const PriceRecord &st = settings();
    const PriceRecord &lab = row(LabourRow).rec;
    BasicSettings s;
    s.priceCode = st.D(1);
    s.priceFracAddend = st.D(2);
    s.priceSigAddend = st.D(3);
    s.useRates = st.D(4) == Currency::fromInt(1);
    for (int i = 0; i <= 5; ++i) {
        s.percent[i] = st.A(i);
        s.labour[i] = lab.C(i);
    }
    return s;
}

void WorkingTable::applyBasicSettings(const BasicSettings &s, PipeBlock &block)
{
    PriceRecord &st = settings();
    PriceRecord &lab = row(LabourRow).rec;
    st.D(1) = s.priceCode;
    st.D(2) = s.priceFracAddend;
    st.D(3) = s.priceSigAddend;
    st.D(4) = s.useRates ? Currency::fromInt(1) : Currency();
    for (int i = 0; i <= 5; ++i) {
        st.A(i) = s.percent[i];
        lab.C(i) = s.labour[i];
    }
    store(SettingsRow, block);
    store(LabourRow, block);
    recalculateAll(block);
}

Currency levelRate(Currency level, LevelCalcParams::Method m)
{
    // level/100 with ties to even at 0.0001: raw = level_raw / 100.
    const int64_t raw = level.raw();
    int64_t q = raw / 100;
    const int64_t rem = raw % 100;
    if (rem > 50 || (rem == 50 && (q & 1)))
        ++q;
    else if (rem < -50 || (rem == -50 && (q & 1)))
        --q;
    Currency r = Currency::fromRaw(q);
    if (m == LevelCalcParams::Method::FromCost)
        r += Currency::fromInt(1);
    return r;
}

void WorkingTable::applyLevelCalc(const LevelCalcParams &p, PipeBlock &block)
{
    std::array<Currency, 5> rates;
    for (int n = 0; n < 5; ++n)
        rates[n] = levelRate(p.levels[n], p.method);
    for (int a = 1; a <= WorkingRows; ++a) {
        if (isTailRow(a))
            continue;
        PriceRecord &r = row(a).rec;
        const Currency base = p.method == LevelCalcParams::Method::FromList ? r.A(6) : r.A(0);
        for (int n = 1; n <= 5; ++n)
            r.A(n) = RoundToUnit(int128(base.raw()) * rates[n - 1].raw(), pow10i(8), p.unit, p.addend);
    }
    recalculateAll(block);
}

} // namespace velmo
