#include "velmok/core/sheet_setup.h"

#include "base/errors.h"
#include "velmok/core/velmok_texts.h"
#include "pricefile/pricing_rules.h"
#include "pricefile/size_sets.h"

namespace velmo {

const std::vector<const char *> SheetSetup::PipeNameEntries = {
    "ステンレス鋼鋼管",
    "ﾌﾗﾝｼﾞ付ﾎﾟﾘｴﾁﾚﾝ粉体ﾗｲﾆﾝｸﾞ鋼管FPA",
    "ﾌﾗﾝｼﾞ付ﾎﾟﾘｴﾁﾚﾝ粉体ﾗｲﾆﾝｸﾞ鋼管FPB",
    "ﾌﾗﾝｼﾞ付ﾎﾟﾘｴﾁﾚﾝ粉体ﾗｲﾆﾝｸﾞ鋼管FPD",
    "ﾌﾗﾝｼﾞ付硬質塩化ﾋﾞﾆﾙﾗｲﾆﾝｸﾞ鋼管(FVA)",
    "ﾌﾗﾝｼﾞ付硬質塩化ﾋﾞﾆﾙﾗｲﾆﾝｸﾞ鋼管(FVB)",
    "ﾌﾗﾝｼﾞ付硬質塩化ﾋﾞﾆﾙﾗｲﾆﾝｸﾞ鋼管(FVD)",
    "圧力配管用炭素鋼鋼管(黒)",
    "圧力配管用炭素鋼鋼管(白)",
    "遠心力鉄筋ｺﾝｸﾘ-ﾄ管",
    "鉛管",
    "給湯用塩化ﾋﾞﾆﾙﾗｲﾆﾝｸﾞ鋼管",
    "硬質塩化ﾋﾞﾆﾙ管(VP)",
    "消火配管用炭素鋼鋼管（白）　SGP",
    "消火用ﾎﾟﾘｴﾁﾚﾝ外面被覆銅管(PS)",
    "消火用ﾎﾟﾘｴﾁﾚﾝ外面被覆銅管(STPG-PS)",
    "消火用硬質塩化ﾋﾞﾆﾙ外面被覆銅管(STPG-VS)",
    "消火用硬質塩化ﾋﾞﾆﾙ外面被覆銅管(VS)",
    "水道用ﾎﾟﾘｴﾁﾚﾝ粉体ﾗｲﾆﾝｸﾞ鋼管PA",
    "水道用ﾎﾟﾘｴﾁﾚﾝ粉体ﾗｲﾆﾝｸﾞ鋼管PB",
    "水道用ﾎﾟﾘｴﾁﾚﾝ粉体ﾗｲﾆﾝｸﾞ鋼管PD",
    "水道用硬質塩化ﾋﾞﾆﾙﾗｲﾆﾝｸﾞ鋼管",
    "水道用硬質塩化ﾋﾞﾆﾙﾗｲﾆﾝｸﾞ鋼管(VA)",
    "水道用硬質塩化ﾋﾞﾆﾙﾗｲﾆﾝｸﾞ鋼管(VB)",
    "水道用硬質塩化ﾋﾞﾆﾙﾗｲﾆﾝｸﾞ鋼管(VD)",
    "水道用硬質塩化ﾋﾞﾆﾙ管",
    "水道用耐衝撃性硬質塩化ﾋﾞﾆﾙ管(HIVP)",
    "鋳鉄管",
    "銅管（Ｍ）",
    "排水用ﾀ-ﾙｴﾎﾟｷｼ塗装鋼管",
    "排水用塩化ﾋﾞﾆﾙｺ-ﾃｨﾝｸﾞ鋼管",
    "排水用硬質塩化ﾋﾞﾆﾙﾗｲﾆﾝｸﾞ鋼管（黒）",
    "配管用炭素鋼鋼管（白）",
    "被覆銅管",
    "保温付被覆銅管",
    "冷媒用銅管",
    "冷媒用被覆銅管",
};

const std::vector<const char *> SheetSetup::UsesEntries = {
    "ガス",
    "プロパン",
    "給水",
    "給水、給湯",
    "給水、給湯、蒸気還管、冷温水",
    "給水、冷温水",
    "給水、冷却水",
    "給湯",
    "消火、冷却水、冷温水",
    "蒸気、油",
    "蒸気給気管、蒸気還管",
    "通気",
    "通気、消火、給湯、ﾌﾟﾛﾊﾟﾝ、冷却水、冷温水",
    "低圧蒸気用",
    "排水",
    "冷温水",
    "冷却水",
    "冷媒",
};

const std::vector<const char *> SheetSetup::JointEntries = {
    "ＭＤ継手",
    "ねじ接合",
    "ねじ接合（管端防食継手）",
    "ハウジング形管継手",
    "フランジ接合",
    "メカニカル形継手",
    "圧縮、プレス",
    "拡管式",
    "溶接接合",
};

const std::vector<const char *> SheetSetup::UnitEntries = {
    "ｍ",
    "本",
    "kg",
    "枚",
};

namespace {

// The sizes each size-set button puts into rows 1–14; the second refrigerant set leaves row 1
// without a size.
constexpr std::array<SizeRows, 5> SizeSets = {
    SizesFrom13, SizesFrom15, SizesFrom20, RefrigerantSizes, withEmptyRow(RefrigerantSizes, 0)};

constexpr const char *LocationNamePrompt = "単価種別";
constexpr const char *MemoPrompt = "材料単価建物";

} // namespace

SheetSetup SheetSetup::load(WorkingTable &table, int pipe)
{
    SheetSetup d;
    d.pipe = pipe;
    for (size_t i = 0; i < TextCount; ++i)
        d.texts[i] = table.row(static_cast<int>(i) + 1).rec.name.text();
    d.unit = table.row(1).rec.unit.text();
    for (int k = 1; k <= SizeRowsPerLocation; ++k)
        d.sizes[static_cast<size_t>(k - 1)] = table.row(k).rec.size.text();
    for (int loc = 0; loc < LocationsPerPipe; ++loc)
        d.locationNames[static_cast<size_t>(loc)] = table.row(workingRow(loc, RowsPerLocation)).rec.caption.text();

    PriceRecord &st = table.settings();
    if (st.B(1).isZero())
        st.B(1) = Currency::fromInt(1);
    if (const auto i = significantCodeIndex(st.B(1)))
        d.code = *i;
    if (const auto i = addendIndex(st.B(2)))
        d.fracAddend = *i;
    if (const auto i = addendIndex(st.B(6)))
        d.sigAddend = *i;
    const int64_t scale = st.B(3).intPart();
    if (scale >= 0 && scale <= 3)
        d.scale = static_cast<int>(scale);
    if (st.B(4) < Currency::fromInt(2))
        d.mode = 0;
    else if (st.B(4) == Currency::fromInt(2))
        d.mode = 1;
    return d;
}

void SheetSetup::registerInto(WorkingTable &table) const
{
    for (size_t i = 0; i < TextCount; ++i)
        table.row(static_cast<int>(i) + 1).rec.name.assignText(texts[i]);
    for (int a = 1; a <= WorkingRows; ++a) {
        PriceRecord &r = table.row(a).rec;
        r.unit.assignText(unit);
        const int k = (a - 1) % RowsPerLocation + 1;
        r.size.assignText(isTailRow(a) ? std::string() : sizes[static_cast<size_t>(k - 1)]);
        r.caption.assignText(locationNames[static_cast<size_t>((a - 1) / RowsPerLocation)]);
    }
    PriceRecord &st = table.settings();
    st.B(1) = significantCode(code);
    st.B(6) = addend(sigAddend);
    st.B(2) = addend(fracAddend);
    st.B(3) = Currency::fromInt(scale);
    st.B(4) = Currency::fromInt(mode == 1 ? 2 : 0);
}

void SheetSetup::applySizeSet(SizeSet set)
{
    const int i = static_cast<int>(set);
    for (size_t k = 0; k < sizes.size(); ++k)
        sizes[k] = set == SizeSet::Clear ? "" : SizeSets[static_cast<size_t>(i)][k];
}

void SheetSetup::setDefaultLocationNames()
{
    for (size_t loc = 0; loc < locationNames.size(); ++loc)
        locationNames[loc] = ProposedLocationNames[loc];
}

void SheetSetup::clearLocationNames()
{
    locationNames.fill("");
}

void SheetSetup::editLocationName(int location, UserInterface &ui)
{
    std::string &name = locationNames.at(static_cast<size_t>(location));
    if (const auto text = askFieldText(ui, velmoktext::Title, LocationNamePrompt, name, RecordHead::CaptionBytes))
        name = *text;
}

void SheetSetup::editMemo(Text memo, UserInterface &ui)
{
    if (memo != Text::MaterialMemo && memo != Text::PageMemo)
        throw RangeError("メモ欄 " + std::to_string(static_cast<int>(memo)) + " はありません。");
    std::string &memoText = text(memo);
    if (const auto t = askFieldText(ui, velmoktext::Title, MemoPrompt, memoText, RecordHead::NameBytes))
        memoText = *t;
}

} // namespace velmo
