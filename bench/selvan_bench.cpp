// Timings of the equipment registration program's file and arithmetic:
//  - reading one block (the whole 153,600-byte file is read);
//  - saving one block in place (read, replace 7,680 bytes, atomic write with fsync);
//  - recalculating a block: 14 rows × 6 derived prices;
//  - a typed price committed through the session (store, recalculate, show).
#include "pricefile/equipment_file.h"
#include "tests/common/fake_ui.h"
#include "selvan/core/selvan_calc.h"
#include "selvan/core/selvan_session.h"
#include "tests/common/temp_dir.h"

#include <benchmark/benchmark.h>

namespace {

using namespace velmo;
namespace fs = std::filesystem;

EquipmentBlock sampleBlock()
{
    EquipmentBlock b{};
    for (int row = 0; row < EquipmentSizeRows; ++row)
        b[row].values[materialSlot(Basis::List)] = Currency::fromInt(1234 + 977 * row);
    EquipmentRecord &s = b[EquipmentSettingsRow];
    for (int n = 1; n <= 6; ++n)
        s.values[materialSlot(basisAt(n))] = Currency::fromInt(50 + 5 * n);
    return b;
}

void ReadBlock(benchmark::State &state)
{
    test::TempDir dir;
    const fs::path p = dir.path / "kigu1.dxa";
    createEquipmentFile(p);
    for (auto _ : state) {
        EquipmentBlock b = readEquipmentBlock(p, 7);
        benchmark::DoNotOptimize(&b);
    }
}
BENCHMARK(ReadBlock);

void SaveBlock(benchmark::State &state)
{
    test::TempDir dir;
    const fs::path p = dir.path / "kigu1.dxa";
    createEquipmentFile(p);
    const EquipmentBlock b = sampleBlock();
    for (auto _ : state)
        writeEquipmentBlock(p, 7, b);
}
BENCHMARK(SaveBlock)->Unit(benchmark::kMillisecond);

void RecalculateBlock(benchmark::State &state)
{
    const EquipmentBlock start = sampleBlock();
    const EquipmentControls controls{4, 0, 2, 1, true}; // 有効3桁, the most work per price
    for (auto _ : state) {
        EquipmentBlock b = start;
        recalculateBlock(b, controls);
        benchmark::DoNotOptimize(&b);
    }
}
BENCHMARK(RecalculateBlock);

void CommitTypedPrice(benchmark::State &state)
{
    test::TempDir dir;
    test::FakeUi ui;
    StrColGridModel grid;
    setupEquipmentGrid(grid);
    SelvanSession s(ui, grid, dir.path / "selvan", "");
    s.start();
    s.useRatesClicked(true);
    int n = 0;
    for (auto _ : state) {
        s.cellTextStored(2, 1 + n % 14, std::to_string(1000 + n));
        s.commitTypedCell();
        ++n;
    }
}
BENCHMARK(CommitTypedPrice);

} // namespace

BENCHMARK_MAIN();
