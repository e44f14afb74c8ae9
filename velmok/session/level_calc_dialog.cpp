#include "velmok/session/level_calc_dialog.h"
#include "velmok/core/velmok_texts.h"

#include "base/errors.h"
#include "grid/core/field_range.h"

#include <string>

namespace velmo {

namespace {

int checkedChoice(int i, size_t count)
{
    if (i < 0 || i >= static_cast<int>(count))
        throw RangeError(velmoktext::noSuchChoiceText(i));
    return i;
}

} // namespace

void LevelCalcDialog::chooseAddend(int i)
{
    addend_ = checkedChoice(i, AddendValues.size());
}

void LevelCalcDialog::chooseUnit(int i)
{
    unit_ = checkedChoice(i, UnitValues.size());
}

void LevelCalcDialog::chooseMethod(int i)
{
    method_ = checkedChoice(i, MethodCaptions.size());
}

void LevelCalcDialog::setLevel(int n, Currency percent)
{
    const size_t i = static_cast<size_t>(checkedChoice(n, levels_.size()));
    checkFieldValue(LevelCaptions[i], percent, PercentRange);
    levels_[i] = percent;
}

LevelCalcParams LevelCalcDialog::params() const
{
    LevelCalcParams p;
    p.method = method_ == 0 ? LevelCalcParams::Method::FromList : LevelCalcParams::Method::FromCost;
    p.addend = Currency::fromRaw(AddendValues[static_cast<size_t>(addend_)]);
    p.unit = UnitValues[static_cast<size_t>(unit_)];
    p.levels = levels_;
    return p;
}

} // namespace velmo
