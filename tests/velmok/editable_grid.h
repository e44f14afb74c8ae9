#pragma once
// One of the main window's two editable grids in a test: the session's own grid model, with its
// keys and editor events forwarded to the session as the window forwards them.
#include "base/errors.h"
#include "velmok/session/main_session.h"
#include "grid/core/virtual_keys.h"

#include <string>

namespace velmo::test {

enum class Grid { Rate, Price };

struct EditableGrid : StrColGridObserver {
    MainSession &s;
    bool rate;
    StrColGridModel &model;
    bool consumed = false; // whether the last key ended in the session
    std::string error;     // the text of the last key's conversion error, as its box shows it
    MainEditing::EditorLeft left; // what the session said when the editor was last left

    EditableGrid(MainSession &session, Grid g)
        : s(session), rate(g == Grid::Rate), model(rate ? session.grids().rate : session.grids().price)
    {
        model.setObserver(this);
        session.showGrids(); // as the window shows the session's state
    }
    ~EditableGrid() override { model.setObserver(nullptr); }
    EditableGrid(const EditableGrid &) = delete;
    EditableGrid &operator=(const EditableGrid &) = delete;

    // ---- the window's side ----
    void keyDown(int &vk, ShiftState shift, bool &keyConsumed) override
    {
        keyConsumed = true;
        try {
            keyConsumed = rate ? s.editing().rateGridKeyDown(vk, shift) : s.editing().priceGridKeyDown(vk, shift);
        } catch (const VelmoError &e) {
            error = e.what();
        }
        consumed = keyConsumed;
    }
    void editorTextStored(int col, int row) override { s.editing().editorTextStored(col, row); }
    void editorClosed(bool kept) override
    {
        if (kept)
            left = s.editing().editorLeft(rate, model.editCol(), model.editRow());
    }

    // ---- the person's side ----
    // Double-click on (c, r), then type t.
    EditableGrid &type(int c, int r, const std::string &t)
    {
        model.SelectCell(c, r);
        model.ShowEditor();
        model.editorTextChanged(t);
        return *this;
    }
    EditableGrid &key(int vk, bool shift = false) { return key(vk, ShiftState{shift, false, false}); }
    EditableGrid &key(int vk, ShiftState mods)
    {
        error.clear();
        model.keyDown(vk, mods, false, model.EditorMode());
        return *this;
    }
    EditableGrid &enter(bool shift = false) { return key(vkey::Return, shift); }
    // The mouse or the focus moves on while the editor is open.
    MainEditing::EditorLeft leave()
    {
        left = {};
        model.CloseEditor();
        return left;
    }
    bool editing() const { return model.EditorMode(); }
    std::string text(int c, int r) const { return model.Cells(c, r); }
    GridCoord selected() const { return {model.Col(), model.Row()}; }
};

} // namespace velmo::test
