#include "velmok/core/calc.h"
#include "pricefile/pricefile_texts.h"
#include "velmok/core/velmok_texts.h"

#include "base/errors.h"

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
        place = changetext::locationNumberText(location);
    const PriceRecord &rec = row(a).rec;
    return velmoktext::rowLabelText(pipe, place, k, rec.size.empty() ? std::nullopt : std::optional(rec.size.text()));
}

namespace {

// How every cost component of a pipe is cut: to `decimals` places of a currency unit after
// adding `addend`, the pipe's composite fraction addend. The total is formed from the cut
// components, so that the components shown add up to the composite up to its final cut.
struct ComponentCut {
    int decimals = 0;
    Currency addend;
    Currency operator()(Currency price, Currency factor) const
    {
        return ComponentRule(price, factor, decimals, addend);
    }
};

// Fills `k` with the seven cost components of one unit of pipe for one price basis: four
// material parts priced from the material price (pipe, joints, jointing material, supports) and
// three labour parts priced from the labour price of one man-day (pipe-fitter, chipping and
// repair, other). `factors` is the size row with its factors B1 … B7, one per component. The
// components are written in place one by one, so that a figure out of range leaves those
// before it calculated.
void costComponents(const PriceRecord &factors, Currency material, Currency labour, bool refrigerant,
                    const ComponentCut &cut, std::array<Currency, ComponentCount> &k)
{
    Currency &pipe = k[0], &joints = k[1], &jointing = k[2], &supports = k[3];
    Currency &fitter = k[4], &chipping = k[5], &other = k[6];
    pipe = cut(material, factors.B(1));
    joints = cut(material, factors.B(2));
    jointing = cut(material, factors.B(3));
    fitter = cut(labour, factors.B(5));
    if (refrigerant) {
        // A refrigerant pipe has no chipping and repair part, and its fourth part is
        // miscellaneous material, priced as a share of the three material parts before it
        // rather than of the material price.
        supports = cut(pipe + joints + jointing, factors.B(4));
        chipping = Currency();
    } else {
        supports = cut(material, factors.B(4));
        chipping = cut(fitter, factors.B(6));
    }
    // Other costs are a share of the labour that goes into the pipe.
    other = cut(fitter + chipping, factors.B(7));
}

Currency sumOf(const std::array<Currency, ComponentCount> &components)
{
    Currency sum;
    for (const Currency &k : components)
        sum += k;
    return sum;
}

// Where a basis keeps its composites in the stored row: LEVELn its unrounded composite in Cn
// and the adopted one in Dn, NET its unrounded composite in C0 (a cost price is never rounded
// for adoption). The list-price composites have no slot and live in the working row only.
void storeComposites(PriceRecord &row, Basis basis, const BasisResult &result)
{
    if (basis == Basis::Net) {
        row.C(0) = result.total;
    } else if (basis != Basis::List) {
        row.C(basisNumber(basis)) = result.total;
        row.D(basisNumber(basis)) = result.adopted;
    }
}

// With "単価に掛け率を使用" on, the material prices of LEVEL1 … LEVEL5 and NET are not typed
// but derived from the row's list price by the pipe's percentages and price rounding; they are
// derived anew on every calculation so that they follow a changed list price or percentage.
void deriveMaterialPrices(PriceRecord &prices, const PriceRecord &pipe)
{
    if (!usesRates(pipe))
        return;
    for (int i = 0; i <= 5; ++i)
        prices.A(i) = derivedPrice(prices.A(6), pipe.A(i), pipe.D(2), pipe.D(1), pipe.D(3));
}

// The pipe's component cut, read from its settings. Two stored codes are corrected first, so
// that the settings show the rule actually applied: a composite significant-digit code of 0
// rounds like 1 and becomes 1, and a component-decimals code other than 1, 2 or 3 means whole
// units and becomes 0.
ComponentCut componentCut(PriceRecord &pipe)
{
    if (pipe.B(1).isZero())
        pipe.B(1) = Currency::fromInt(1);
    const int decimals = componentDecimals(pipe.B(3));
    if (decimals == 0)
        pipe.B(3) = Currency();
    return ComponentCut{decimals, pipe.B(2)};
}

} // namespace

// Material prices do not depend on where the pipe is laid: they are kept on the rows of
// location 0, and a size row there hands all seven to the same size row of the other locations.
void WorkingTable::shareMaterialPrices(int a)
{
    if (a < 1 || a > SizeRowsPerLocation)
        return;
    const PriceRecord &prices = row(a).rec;
    for (int location = 1; location < LocationsPerPipe; ++location)
        for (int i = 0; i <= 6; ++i)
            row(a + location * RowsPerLocation).rec.A(i) = prices.A(i);
}

void WorkingTable::calculate(int a)
{
    WorkingRow &working = row(a);
    PriceRecord &prices = working.rec;
    deriveMaterialPrices(prices, settings());
    shareMaterialPrices(a);

    const ComponentCut cut = componentCut(settings());
    const PriceRecord &pipe = settings();
    const PriceRecord &labourPrices = row(LabourRow).rec;
    const bool refrigerant = this->refrigerant();
    for (int i = 1; i <= BasisCount; ++i) {
        const Basis basis = basisAt(i);
        BasisResult &result = working.basis[i - 1];
        costComponents(prices, prices.slots[materialSlot(basis)], labourPrices.slots[labourSlot(basis)], refrigerant,
                       cut, result.K);
        // The composite is cut to whole currency units with the same addend as the components;
        // the adopted price rounds it further by the pipe's significant-digit rule, except for
        // NET, the cost price, which is used as it is.
        result.total = Frac(sumOf(result.K), cut.addend);
        result.adopted = basis == Basis::Net ? Currency() : RoundSignificant(pipe.B(6), pipe.B(1), result.total);
        storeComposites(prices, basis, result);
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
    s.useRates = usesRates(st);
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

WorkingTable::ZeroedByLevels WorkingTable::zeroedByLevels(const LevelCalcParams &p) const
{
    ZeroedByLevels z;
    for (int n = 1; n <= 5; ++n) {
        if (!levelRate(p.levels[n - 1], p.method).isZero())
            continue;
        int prices = 0;
        for (int a = 1; a <= WorkingRows; ++a)
            if (!isTailRow(a) && !row(a).rec.A(n).isZero())
                ++prices;
        if (prices > 0) {
            z.prices += prices;
            z.levels.push_back(n);
        }
    }
    return z;
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
