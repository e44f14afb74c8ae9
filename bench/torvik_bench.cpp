// Timings of the pipe registration session on a copy of the first sample price file:
//  - one grid commit with the check box on (store, derive the six prices of 14 rows, show the
//    90 cells of the grid);
//  - one block save (read the 432,000-byte file, replace one block, write it through a
//    temporary file flushed to disk);
//  - one block move (the same write, two blocks exchanged, the moved block read and shown).
#include "pricework/price_revision.h"
#include "base/fileio.h"
#include "tests/common/temp_dir.h"
#include "torvik/core/torvik_session.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

using namespace velmo;
namespace fs = std::filesystem;

struct NoUi : UserInterface {
    Answer confirm(const std::string &, const std::string &, const std::string &, Answer = Answer::Yes) override
    {
        return Answer::No;
    }
    Answer confirmOrBack(const std::string &, const std::string &, const std::string &, const std::string &,
                         Answer = Answer::Yes) override
    {
        return Answer::No;
    }
    void notice(const std::string &, const std::string &) override {}
    std::optional<std::string> askText(const std::string &, const std::string &, const std::string &, size_t) override
    {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> chooseFolder(const std::string &) override { return std::nullopt; }
    std::optional<std::filesystem::path> chooseSaveFile(const std::string &, const std::string &, const std::string &) override
    {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> chooseOpenFile(const std::string &, const std::string &) override { return std::nullopt; }
    bool reviewPriceImport(PriceImportChoice &) override { return false; }
    void setClipboardContent(const ClipboardContent &) override {}
    ClipboardContent clipboardContent() const override { return {}; }
    bool startProgram(const std::string &, const std::vector<std::string> &, const std::string &) override { return false; }
    bool openAddress(const std::string &) override { return false; }
    void beep() override {}
    Rect screen() const override { return {}; }
    Rect workArea() const override { return {}; }
    MemoryStatus memoryStatus() const override { return {}; }
    std::optional<RevisionChoice> askRevision(const RevisionDialogText &, const RevisionPreviewer &) override
    {
        return std::nullopt;
    }
    std::optional<size_t> chooseEarlierVersion(const VersionListView &, const VersionComparer &) override
    {
        return std::nullopt;
    }
};

// A program folder holding the first sample as ex_data/kanzai1.fda, and a session on it.
struct Folder {
    velmo::test::TempDir dir;
    NoUi ui;
    StrColGridModel grid;
    std::unique_ptr<TorvikSession> session;
    bool ok = false;
    explicit Folder(benchmark::State &state)
    {
        const fs::path sample = fs::path(VELMO_SAMPLE_DIR) / "haikan1.fda";
        if (!fs::exists(sample)) {
            state.SkipWithError("sample price files missing; build the target sample_data first");
            return;
        }
        fs::create_directories(dir.path / "ex_data");
        fs::copy_file(sample, dir.path / "ex_data" / "kanzai1.fda");
        setUpPriceGrid(grid);
        session = std::make_unique<TorvikSession>(ui, grid, dir.path, "");
        session->start();
        session->checkBoxClicked(true);
        ok = true;
    }
};

void CommitPrice(benchmark::State &state)
{
    Folder f(state);
    if (!f.ok)
        return;
    int n = 0;
    for (auto _ : state) {
        f.grid.SelectCell(PriceColumn, 1 + n % 14);
        f.grid.SetCells(PriceColumn, 1 + n % 14, std::to_string(1000 + n % 997));
        f.session->CommitCell(false);
        ++n;
    }
}
BENCHMARK(CommitPrice);

void SaveBlock(benchmark::State &state)
{
    Folder f(state);
    if (!f.ok)
        return;
    for (auto _ : state)
        f.session->saveBlock(true);
    state.SetBytesProcessed(state.iterations() * RecordsPerFile * RecordSize);
}
BENCHMARK(SaveBlock)->Unit(benchmark::kMicrosecond);

void MoveBlock(benchmark::State &state)
{
    Folder f(state);
    if (!f.ok)
        return;
    f.session->beginChooseBlock();
    int n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(f.session->moveBlock(1, n++ % 2 ? MoveDirection::Up : MoveDirection::Down));
}
BENCHMARK(MoveBlock)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
