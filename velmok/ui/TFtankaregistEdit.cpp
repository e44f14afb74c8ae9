// The main window's editing: the edit menus 編　 集1 and 編   集2, the keys of the rate grid and
// the material price grid, and the two dialogs. The keys go to the session, which types into
// the grids' models and shows what it stored; the window says what went wrong.
// The GUI-free headers come before Qt's, whose "slots" keyword would clash with a record field.
#include "base/shared_texts.h"
#include "velmok/session/level_calc_dialog.h"

#include "velmok/ui/TFtankaregist.h"

#include "velmok/ui/TFtankaregistParts.h"
#include "grid/ui/QtKeys.h"
#include "grid/ui/TStrColGrid.h"
#include "velmok/ui/Tfsheetset.h"
#include "velmok/ui/Tftankacalc.h"
#include "desktop/VelmoApplication.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

namespace velmo {

using namespace mainwindow;

namespace {

struct ClipboardItem {
    CopyKind kind;
    const char *copyCaption;
    const char *pasteCaption;
};

// The copy and paste commands of 編　 集1 (the whole pipe) and 編   集2 (the selected sheet).
constexpr ClipboardItem PipeItems[] = {
    {{CopyScope::Pipe, FieldGroup::Whole}, "現在の管材の全内容をコピ－", "現在の管材へ全内容を貼付"},
    {{CopyScope::Pipe, FieldGroup::Prices}, "現在の管材の単価をコピ－", "現在の管材へ単価を貼付"},
    {{CopyScope::Pipe, FieldGroup::Factors}, "現在の管材の全歩掛をコピ－", "現在の管材へ全歩掛を貼付"},
    {{CopyScope::Pipe, FieldGroup::Labour}, "現在の管材の歩掛（工費）をコピ－", "現在の管材へ歩掛（工費）を貼付"},
};
constexpr ClipboardItem SheetItems[] = {
    {{CopyScope::Sheet, FieldGroup::Whole}, "現在のシ－ト(細目)の全内容をコピ－", "現在のシ－ト(細目)の全内容を貼付"},
    {{CopyScope::Sheet, FieldGroup::Factors}, "現在のシ－ト(細目)の全歩掛をコピ－", "現在のシ－ト(細目)へ全歩掛を貼付"},
    {{CopyScope::Sheet, FieldGroup::Labour}, "現在のシ－ト(細目)の歩掛（工費）をコピ－", "現在のシ－ト(細目)へ歩掛（工費）を貼付"},
};

} // namespace

void TFtankaregist::buildEditMenus()
{
    auto addClipboard = [this](QMenu *menu, const auto &items) {
        for (const ClipboardItem &item : items) {
            QAction *a = menu->addAction(item.copyCaption, this, [this, k = item.kind] { copyClick(k); });
            copyActions.emplace_back(item.kind, a);
        }
        menu->addSeparator();
        for (const ClipboardItem &item : items) {
            QAction *a = menu->addAction(item.pasteCaption, this, [this, k = item.kind] { pasteClick(k); });
            pasteActions.emplace_back(item.kind, a);
        }
    };

    QMenu *edit1 = menuBar()->addMenu("編　 集1");
    undoAction = edit1->addAction("取り消し", this, &TFtankaregist::N2Click);
    undoAction->setShortcut(QKeySequence(Qt::Key_Escape));
    undoStepAction = edit1->addAction(sharedtext::UndoStepItem, this, [this] { run([this] { session_->editing().undoStep(); }); });
    undoStepAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoStepAction = edit1->addAction(sharedtext::RedoStepItem, this, [this] { run([this] { session_->editing().redoStep(); }); });
    redoStepAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    edit1->addSeparator();
    sheetSetupAction = edit1->addAction("管材別基本データ設定", this, &TFtankaregist::user_selClick);
    levelCalcAction = edit1->addAction("現在の管材単価計算", this, &TFtankaregist::K17Click);
    labourRevisionAction = edit1->addAction(velmoktext::LabourRevisionItem, this,
                                            [this] { run([this] { session_->editing().reviseLabour(); }); });
    clearAction = edit1->addAction("現在の管材をクリア－", this, &TFtankaregist::N22Click);
    edit1->addSeparator();
    addClipboard(edit1, PipeItems);

    QMenu *edit2 = menuBar()->addMenu("編   集2");
    addClipboard(edit2, SheetItems);
    edit2->addSeparator();
    copyLocationAction = edit2->addAction("", this, &TFtankaregist::item_paste_5Click);

    connect(user_sel, &QPushButton::clicked, this, &TFtankaregist::user_selClick);

    // Typing into the rate grid and the material price grid; the composite grid is never edited.
    StrColGrid1->setToolTip(velmoktext::RateGridHint);
    for (TStrColGrid *g : {StrColGrid1, StrColGrid2}) {
        g->SetImeMode(imDisable); // numbers only: the keypad types digits whatever the input method
        connect(g, &TStrColGrid::editorTextStored, this, &TFtankaregist::gridEditorTextStored);
        connect(g, &TStrColGrid::editorFinished, this, [this, g](int col, int row) { gridEditorFinished(g, col, row); });
    }
    connect(StrColGrid1, &TStrColGrid::keyDown, this, &TFtankaregist::StrColGrid1KeyDown, Qt::DirectConnection);
    connect(StrColGrid2, &TStrColGrid::keyDown, this, &TFtankaregist::StrColGrid2KeyDown, Qt::DirectConnection);
    connect(StrColGrid1, &TStrColGrid::gridClick, this, &TFtankaregist::StrColGrid1Click);

    // Spreadsheet cells: Ctrl+V and the pop-up item paste into the two editable grids, Ctrl+C
    // copies from any of the three.
    for (TStrColGrid *g : {StrColGrid1, StrColGrid2}) {
        QMenu *popup = new QMenu(g);
        popup->addAction(sharedtext::PasteFromSheetItem, this, [this, g] {
            runCommand([&] { session_->editing().pasteFromSheet(g == StrColGrid1); });
            showUndoCommands();
        });
        g->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(g, &QWidget::customContextMenuRequested, this, [g, popup](const QPoint &at) { popup->exec(g->mapToGlobal(at)); });
    }
    connect(StrColGrid3, &TStrColGrid::keyDown, this,
            [this](int &vk, Qt::KeyboardModifiers mods, bool &consumed) {
                if (sheetKeyOf(vk, mods & Qt::ControlModifier, false) == SheetKey::Copy) {
                    session_->editing().copyComposites();
                    consumed = true;
                }
            },
            Qt::DirectConnection);
}

void TFtankaregist::showEditCommands()
{
    const MainSession &s = *session_;
    const bool pipe = s.pipeLoaded();
    showUndoCommands();
    for (QAction *a : {sheetSetupAction, levelCalcAction, clearAction})
        a->setEnabled(pipe);
    user_sel->setEnabled(pipe);
    for (const auto &[kind, a] : copyActions)
        a->setEnabled(pipe);
    for (const auto &[kind, a] : pasteActions)
        a->setEnabled(s.editing().pasteEnabled(kind));
    copyLocationAction->setText(q(s.copyLocationCaption()));
    copyLocationAction->setEnabled(pipe && s.editing().copyLocationEnabled());
}

void TFtankaregist::showUndoCommands()
{
    const MainEditing &e = session_->editing();
    undoAction->setEnabled(e.undoEnabled());
    undoStepAction->setEnabled(e.canUndoStep());
    redoStepAction->setEnabled(e.canRedoStep());
}

// ---------------------------------------------------------------- grid keys

void TFtankaregist::StrColGrid1KeyDown(int &vk, Qt::KeyboardModifiers shift, bool &consumed)
{
    gridKeyDown(StrColGrid1, vk, shift, consumed);
}

void TFtankaregist::StrColGrid2KeyDown(int &vk, Qt::KeyboardModifiers shift, bool &consumed)
{
    gridKeyDown(StrColGrid2, vk, shift, consumed);
}

void TFtankaregist::gridKeyDown(TStrColGrid *grid, int &vk, Qt::KeyboardModifiers shift, bool &consumed)
{
    // The session decides the key with the entry engine and shows what it stored; a key whose
    // handling failed (a text that is no number) does nothing more, and the box says why.
    consumed = true;
    runCommand([&] {
        const ShiftState mods = shiftStateFromQt(shift);
        consumed = grid == StrColGrid1 ? session_->editing().rateGridKeyDown(vk, mods)
                                       : session_->editing().priceGridKeyDown(vk, mods);
    });
    showUndoCommands();
}

void TFtankaregist::gridEditorFinished(TStrColGrid *grid, int col, int row)
{
    runCommand([&] {
        const MainEditing::EditorLeft left = session_->editing().editorLeft(grid == StrColGrid1, col, row);
        showUndoCommands();
        // No box may open in the middle of a click or a focus change: after it.
        if (!left.notice.empty())
            QTimer::singleShot(0, this, [this, notice = left.notice] { windowUi_.notice(notice, sharedtext::NoticeButton); });
        if (!left.error.empty())
            PostErrorBox(q(left.error));
    });
}

void TFtankaregist::gridEditorTextStored(int col, int row)
{
    session_->editing().editorTextStored(col, row);
}

void TFtankaregist::StrColGrid1Click(int col, int row)
{
    runCommand([&] { session_->editing().rateGridClicked(col, row); });
}

// ---------------------------------------------------------------- commands

void TFtankaregist::copyClick(CopyKind kind)
{
    run([this, kind] { session_->editing().copy(kind); });
}

void TFtankaregist::pasteClick(CopyKind kind)
{
    run([this, kind] { session_->editing().paste(kind); });
}

void TFtankaregist::N22Click()
{
    run([this] { session_->editing().clearPipe(); });
}

void TFtankaregist::item_paste_5Click()
{
    run([this] { session_->editing().copyLocationToOthers(); });
}

void TFtankaregist::N2Click()
{
    // Escape while typing drops the text typed and undoes the last stored edit.
    StrColGrid1->CancelEditor();
    StrColGrid2->CancelEditor();
    run([this] { session_->editing().undo(); });
}

void TFtankaregist::user_selClick()
{
    std::optional<SheetSetup> setup;
    run([&] { setup = session_->editing().openSheetSetup(); });
    if (!setup)
        return;
    bool registered = false;
    auto dialog = std::make_unique<Tfsheetset>(std::move(*setup), windowUi_, this);
    runCommand([&] { registered = dialog->exec() == QDialog::Accepted; });
    run([&] { session_->editing().closeSheetSetup(registered ? &dialog->setup() : nullptr); });
}

void TFtankaregist::K17Click()
{
    if (!session_->pipeLoaded()) {
        run([this] { session_->editing().levelCalc({}); }); // says that no pipe is selected
        return;
    }
    Tftankacalc dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        run([&] { session_->editing().levelCalc(dialog.state().params()); });
}

} // namespace velmo
