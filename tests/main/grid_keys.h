#pragma once
// One of the main window's two editable grids as the session sees it: the texts it shows, what
// its in-cell editor holds, and the keys pressed in it. It carries out each decision as the
// window does: closing the editor, showing rows again, selecting a cell.
#include "main_session.h"
#include "virtual_keys.h"

#include <map>
#include <string>
#include <utility>

namespace velmo::test {

enum class Grid { Rate, Price };

struct GridKeys {
    MainSession &s;
    Grid grid;
    std::map<std::pair<int, int>, std::string> typed; // cells whose text the editor changed
    bool editing = false;
    int col = 1, row = 1; // the selected cell, where the editor opens
    GridKeyDecision last;

    GridKeys(MainSession &session, Grid g) : s(session), grid(g) {}

    std::string shown(int c, int r) const
    {
        return grid == Grid::Rate ? s.rateGridText(c, r) : s.priceGridText(c, r);
    }
    std::string text(int c, int r) const
    {
        const auto it = typed.find({c, r});
        return it != typed.end() ? it->second : shown(c, r);
    }
    // Double-click on (c, r), then type t: the editor stores its text at every change.
    GridKeys &type(int c, int r, const std::string &t)
    {
        col = c;
        row = r;
        editing = true;
        typed[{c, r}] = t;
        s.editorTextStored(c, r);
        return *this;
    }
    GridKeyDecision key(int vk, bool shift = false)
    {
        GridKeyEvent e;
        e.vk = vk;
        e.shift = shift;
        e.editorShown = editing;
        e.editorCol = col;
        e.editorRow = row;
        e.selectedCol = col;
        e.cellText = [this](int c, int r) { return text(c, r); };
        last = grid == Grid::Rate ? s.rateGridKeyDown(e) : s.priceGridKeyDown(e);
        if (last.closeEditor)
            editing = false;
        showAgain(last);
        if (last.select) {
            col = last.select->col;
            row = last.select->row;
        }
        return last;
    }
    GridKeyDecision enter(bool shift = false) { return key(vkey::Return, shift); }
    // The mouse or the focus moves on while the editor is open on (col, row).
    MainSession::EditorLeft leave()
    {
        GridKeyEvent e;
        e.editorCol = col;
        e.editorRow = row;
        e.cellText = [this](int c, int r) { return text(c, r); };
        editing = false;
        const MainSession::EditorLeft left = s.editorLeft(grid == Grid::Rate, e);
        showAgain(left.show);
        return left;
    }
    // The rows a decision shows again give up what was typed into them.
    void showAgain(const GridKeyDecision &d)
    {
        for (int r = 1; r < GridRows; ++r)
            if (d.allRows || d.rows.test(static_cast<size_t>(r)))
                for (int c = 0; c < RateCols; ++c)
                    typed.erase({c, r});
    }
};

} // namespace velmo::test
