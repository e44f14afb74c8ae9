#pragma once
// A program folder for the equipment registration program's tests: the program file and a
// scripted user interface, a session started on an argument, and the keys of the grid.
#include "equipment_file.h"
#include "fake_ui.h"
#include "selvan_session.h"
#include "temp_dir.h"
#include "virtual_keys.h"

#include <memory>

namespace velmo::test {

namespace fs = std::filesystem;

struct SelvanFolder {
    TempDir dir;
    FakeUi ui;

    fs::path program(const std::string &name = "selvan") const { return dir.path / name; }
    fs::path defaultFile() const { return dir.path / "dx_data" / "kigu1.dxa"; }

    std::unique_ptr<SelvanSession> start(const std::string &argument = "", const std::string &name = "selvan")
    {
        auto s = std::make_unique<SelvanSession>(ui, program(name), argument);
        s->start();
        return s;
    }
};

// A key in the grid as the window hands it on: the plan, the editor closed, then the rest.
inline void gridKey(SelvanSession &s, int vk, int col, int row, bool editorOpen = false)
{
    const GridKeyPlan plan = planGridKey(vk, col, editorOpen);
    if (plan.finish)
        s.finishGridKey(vk, col, row, plan);
}

// Text typed into a cell on the keypad, then Enter.
inline void typeCell(SelvanSession &s, int col, int row, const std::string &text)
{
    s.cellTextStored(col, row, text);
    gridKey(s, vkey::Return, col, row, true);
}

inline Currency slotOf(const EquipmentRecord &r, int offset) { return r.values[equipmentSlot(offset)]; }

} // namespace velmo::test
