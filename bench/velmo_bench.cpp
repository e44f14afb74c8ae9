// Timings of the price file and the calculation on the sample price files:
//  - reading one service file into records (ServiceFile::load) against reading its 432,000
//    bytes and nothing else, in the same run, with their ratio (the load should stay within
//    three times the raw read);
//  - calculating the 59 rows of one pipe;
//  - recalculating every pipe of the ten sample services.
#include "velmok/core/calc.h"
#include "base/errors.h"
#include "tests/common/extreme_file.h"
#include "base/fileio.h"
#include "pricefile/service_file.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace velmo;
namespace fs = std::filesystem;

fs::path sample(int n) { return fs::path(VELMO_SAMPLE_DIR) / ("haikan" + std::to_string(n) + ".fda"); }

bool samplesPresent(benchmark::State &state)
{
    if (fs::exists(sample(1)))
        return true;
    state.SkipWithError("sample price files missing; build the target sample_data first");
    return false;
}

void RawRead(benchmark::State &state)
{
    if (!samplesPresent(state))
        return;
    const fs::path path = sample(1);
    for (auto _ : state) {
        std::string data = readWholeFile(path);
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(state.iterations() * RecordsPerFile * RecordSize);
}
BENCHMARK(RawRead);

void LoadAndParse(benchmark::State &state)
{
    if (!samplesPresent(state))
        return;
    const fs::path path = sample(1);
    ServiceFile file;
    for (auto _ : state) {
        file.load(path);
        benchmark::DoNotOptimize(&file.record(RecordsPerFile - 1));
    }
    state.SetBytesProcessed(state.iterations() * RecordsPerFile * RecordSize);
}
BENCHMARK(LoadAndParse);

// Both in one loop, taking turns at going first, so that they see the same cache, allocator
// and machine state; the counter "load/raw" is the ratio of their total times.
void LoadAgainstRawRead(benchmark::State &state)
{
    if (!samplesPresent(state))
        return;
    using Clock = std::chrono::steady_clock;
    const fs::path path = sample(1);
    ServiceFile file;
    Clock::duration raw{}, load{};
    bool rawFirst = true;
    auto timeRaw = [&] {
        const auto t0 = Clock::now();
        std::string data = readWholeFile(path);
        benchmark::DoNotOptimize(data.data());
        raw += Clock::now() - t0;
    };
    auto timeLoad = [&] {
        const auto t0 = Clock::now();
        file.load(path);
        benchmark::DoNotOptimize(&file.record(RecordsPerFile - 1));
        load += Clock::now() - t0;
    };
    for (auto _ : state) {
        if (rawFirst) {
            timeRaw();
            timeLoad();
        } else {
            timeLoad();
            timeRaw();
        }
        rawFirst = !rawFirst;
    }
    state.counters["raw_us"] = std::chrono::duration<double, std::micro>(raw).count() / double(state.iterations());
    state.counters["load_us"] = std::chrono::duration<double, std::micro>(load).count() / double(state.iterations());
    state.counters["load/raw"] = double(load.count()) / double(raw.count());
}
BENCHMARK(LoadAgainstRawRead);

// The decoding part of a load alone: 1200 records from bytes already in memory.
void DecodeRecords(benchmark::State &state)
{
    if (!samplesPresent(state))
        return;
    const std::string data = readWholeFile(sample(1));
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.data());
    std::vector<PriceRecord> records(RecordsPerFile);
    for (auto _ : state) {
        for (int i = 0; i < RecordsPerFile; ++i)
            records[i] = PriceRecord::decode(bytes + static_cast<size_t>(i) * RecordSize);
        benchmark::DoNotOptimize(records.data());
    }
    state.SetBytesProcessed(state.iterations() * RecordsPerFile * RecordSize);
}
BENCHMARK(DecodeRecords);

void CalculateOnePipe(benchmark::State &state)
{
    if (!samplesPresent(state))
        return;
    ServiceFile file;
    file.load(sample(1));
    PipeBlock &block = file.pipeBlock(0);
    auto table = std::make_unique<WorkingTable>();
    for (auto _ : state) {
        table->load(block);
        table->recalculateAll(block);
        benchmark::DoNotOptimize(block);
    }
    state.SetItemsProcessed(state.iterations() * (WorkingRows - 1));
}
BENCHMARK(CalculateOnePipe);

void RecalculateAllSamples(benchmark::State &state)
{
    if (!samplesPresent(state))
        return;
    std::vector<std::unique_ptr<ServiceFile>> files;
    for (int n = 1; n <= 10; ++n) {
        files.push_back(std::make_unique<ServiceFile>());
        files.back()->load(sample(n));
    }
    auto table = std::make_unique<WorkingTable>();
    for (auto _ : state) {
        for (auto &f : files)
            for (int p = 0; p < PipesPerFile; ++p) {
                table->load(f->pipeBlock(p));
                table->recalculateAll(f->pipeBlock(p));
            }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 10 * PipesPerFile);
}
BENCHMARK(RecalculateAllSamples);

// A file filled to the limits (every record, full texts, ±922 trillion): read it, calculate
// every pipe (half of them end in a range error), write it.
void ExtremeFileOpenRecalculateSave(benchmark::State &state)
{
    const fs::path path = fs::temp_directory_path() / "velmo-bench-extreme.fda";
    velmo::test::extremeServiceFile().save(path);
    auto table = std::make_unique<WorkingTable>();
    int refused = 0;
    for (auto _ : state) {
        ServiceFile f;
        f.load(path);
        for (int p = 0; p < PipesPerFile; ++p) {
            table->load(f.pipeBlock(p));
            try {
                table->recalculateAll(f.pipeBlock(p));
            } catch (const RangeError &) {
                ++refused;
            }
        }
        f.save(path);
    }
    benchmark::DoNotOptimize(refused);
    fs::remove(path);
}
BENCHMARK(ExtremeFileOpenRecalculateSave)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
