#pragma once
// A program folder with a seeded ex_data/kanzai1.fda and a pipe registration session on it,
// its price grid a plain grid model whose keys reach the session as the window's do.
#include "base/errors.h"
#include "tests/common/fake_ui.h"
#include "base/fileio.h"
#include "pricefile/service_file.h"
#include "tests/common/temp_dir.h"
#include "torvik/core/torvik_session.h"

#include <memory>

namespace velmo::test {

namespace fs = std::filesystem;

// Block p is named "管<p>", second name "継手<p>", memos "出典<p>" and "頁<p>"; its size
// rows are 15A, 20A …; list price of row k (100·(p+1) + k)·10, the other six prices 1 … 6,
// labour rate of location l, row k (l+1)·0.01 + k·0.001. Block 0 has location captions, block 1
// none, block 2 only the third. Settings: percentages 90, 80, 70, 60, 50 and 40 (purchase),
// D1 = 10, D2 = 0.5, D3 = 0, check box on; unit "本".
inline void seedPipeFile(const fs::path &path)
{
    ServiceFile f;
    f.clear();
    for (int p = 0; p < PipesPerFile; ++p) {
        PipeBlock &b = f.pipeBlock(p);
        const std::string n = std::to_string(p);
        b[0].name.assignText("管" + n);
        b[1].name.assignText("継手" + n);
        b[2].name.assignText("ねじ" + n);
        b[3].name.assignText("出典" + n);
        b[4].name.assignText("頁" + n);
        for (int r = 0; r < RecordsPerPipe; ++r) {
            b[r].unit.assignText("本");
            b[r].reserved0 = p * 1000 + r;
        }
        for (int k = 0; k < SizeRowsPerLocation; ++k) {
            b[k].size.assignText(std::to_string(15 + 5 * k) + "A");
            b[k].A(6) = Currency::fromInt((100 * (p + 1) + k) * 10);
            for (int i = 0; i <= 5; ++i)
                b[k].A(i) = Currency::fromInt(i + 1);
            for (int l = 0; l < LocationsPerPipe; ++l)
                b[l * RowsPerLocation + k].B(5) = Currency::fromRaw((l + 1) * 100 + k * 10);
        }
        PriceRecord &st = b[SettingsRecord];
        const int percents[] = {40, 90, 80, 70, 60, 50}; // A0, A1 … A5
        for (int i = 0; i <= 5; ++i)
            st.A(i) = Currency::fromInt(percents[i]);
        st.D(1) = Cur("10");
        st.D(2) = Cur("0.5");
        st.D(3) = Cur("0");
        st.D(4) = Cur("1");
        if (p == 0) {
            const char *caps[] = {"一般", "機械", "屋外", "地中"};
            for (int l = 0; l < LocationsPerPipe; ++l)
                b[l * RowsPerLocation + SizeRowsPerLocation].caption.assignText(caps[l]);
        }
        if (p == 2)
            b[2 * RowsPerLocation + SizeRowsPerLocation].caption.assignText("屋外のみ");
    }
    f.save(path); // Serial 1 … 1200
}

// Types a text into cell (col, row) of a grid and presses a key in its editor.
inline void typeInto(StrColGridModel &grid, int col, int row, const std::string &text, int vk = vkey::Return)
{
    grid.SelectCell(col, row);
    grid.ShowEditor();
    grid.editorTextChanged(text);
    grid.keyDown(vk, {}, false, true);
}

// Forwards the grid's keys to the session before the grid handles them, as the window does.
struct KeysToSession : StrColGridObserver {
    TorvikSession *session = nullptr;
    void keyDown(int &vk, ShiftState mods, bool &consumed) override { consumed = session->gridKeyDown(vk, mods); }
};

struct TorvikFixture {
    TempDir dir;
    FakeUi ui;
    StrColGridModel grid;
    KeysToSession keys;
    std::unique_ptr<TorvikSession> s;

    fs::path data() const { return dir.path / "ex_data" / "kanzai1.fda"; }

    explicit TorvikFixture(bool seed = true)
    {
        fs::create_directories(dir.path / "ex_data");
        if (seed)
            seedPipeFile(data());
        setUpPriceGrid(grid);
        grid.setObserver(&keys);
    }
    TorvikSession &open(const std::string &argument = "")
    {
        s = std::make_unique<TorvikSession>(ui, grid, dir.path, argument);
        keys.session = s.get();
        s->start();
        return *s;
    }
    void type(int col, int row, const std::string &text, int vk = vkey::Return) { typeInto(grid, col, row, text, vk); }
    PipeBlock onDisk(int pipe) const { return readPipeBlock(data(), pipe); }
};

} // namespace velmo::test
