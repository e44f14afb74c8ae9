#pragma once
// A program folder for the equipment registration program's tests: the program file and a
// scripted user interface, a session started on an argument, and the keys of the grid.
#include "pricefile/equipment_file.h"
#include "tests/common/fake_ui.h"
#include "selvan/core/selvan_grid.h"
#include "selvan/core/selvan_session.h"
#include "tests/common/temp_dir.h"
#include "grid/core/virtual_keys.h"

#include <memory>

namespace velmo::test {

namespace fs = std::filesystem;

struct SelvanFolder {
    TempDir dir;
    FakeUi ui;
    StrColGridModel grid; // the window's grid StrColGrid1

    SelvanFolder() { setupEquipmentGrid(grid); }

    fs::path program(const std::string &name = "selvan") const { return dir.path / name; }
    fs::path defaultFile() const { return dir.path / "dx_data" / "kigu1.dxa"; }

    std::unique_ptr<SelvanSession> start(const std::string &argument = "", const std::string &name = "selvan")
    {
        auto s = std::make_unique<SelvanSession>(ui, grid, program(name), argument);
        s->start();
        return s;
    }
};

// A key in the grid on (col, row), its editor open or not, as the window hands it on before
// the grid handles it; true when the grid is to do nothing more with it.
inline bool gridKey(SelvanSession &s, int vk, int col, int row, bool editorOpen = false)
{
    StrColGridModel &g = s.grid();
    if (g.Col() != col || g.Row() != row)
        g.SelectCell(col, row);
    if (editorOpen && !g.EditorMode())
        g.ShowEditor();
    if (!editorOpen && g.EditorMode())
        g.CancelEditor();
    return s.gridKeyDown(vk, ShiftState{});
}

// The grid's current cell.
inline GridCoord at(const SelvanSession &s) { return {s.grid().Col(), s.grid().Row()}; }

// Text typed into a cell on the keypad, then Enter.
inline void typeCell(SelvanSession &s, int col, int row, const std::string &text)
{
    s.cellTextStored(col, row, text);
    gridKey(s, vkey::Return, col, row, true);
}

inline Currency slotOf(const EquipmentRecord &r, int offset) { return r.values[equipmentSlot(offset)]; }

} // namespace velmo::test
