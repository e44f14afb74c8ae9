// TStrColGrid: the in-cell editor. The grid model decides when it opens and closes and keeps
// its text; the line edit shows it and passes on what is typed.
#include "grid/ui/TStrColGrid.h"

#include "grid/core/grid_entry.h"
#include "grid/ui/QtKeys.h"

#include "grid/ui/TStrColGridParts.h"
#include "desktop/VelmoApplication.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace velmo {

// ---------------------------------------------------------------------------------------------
// Delegate: paints every cell through the grid and hosts the in-cell editor.

TStrColGridDelegate::TStrColGridDelegate(TStrColGrid *grid) : QStyledItemDelegate(grid), grid_(grid) {}

void TStrColGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (grid_)
        grid_->PaintCell(*painter, option.rect, index.column(), index.row());
}

QWidget *TStrColGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    if (grid_)
        grid_->setupEditor(editor);
    return editor;
}

void TStrColGridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    // Called when the cell changes under the editor; keep the caret when nothing differs.
    auto *lineEdit = static_cast<QLineEdit *>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    if (lineEdit->text() != text)
        lineEdit->setText(text);
}

void TStrColGridDelegate::setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const
{
    // The grid model stores the editor text itself, at every change.
}

void TStrColGridDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                               const QModelIndex &) const
{
    editor->setGeometry(option.rect.adjusted(0, 0, -1, -1)); // without the grid line
}

bool TStrColGridDelegate::eventFilter(QObject *watched, QEvent *event)
{
    // Not QStyledItemDelegate's: Enter, Escape, Tab and the focus leaving are the grid's.
    return grid_ && grid_->editorEvent(static_cast<QWidget *>(watched), event);
}

// ---------------------------------------------------------------------------------------------
// The grid's side of the editor.

QLineEdit *TStrColGrid::InplaceEditor() const
{
    return model_.EditorMode() ? editor_.data() : nullptr;
}

bool TStrColGrid::ShowEditor()
{
    return isEnabled() && model_.ShowEditor();
}

void TStrColGrid::openEditorWidget()
{
    const QModelIndex index = itemModel_->index(model_.editRow(), model_.editCol());
    if (!edit(index, QAbstractItemView::AllEditTriggers, nullptr) || !editor_) {
        editor_ = nullptr;
        model_.CancelEditor();
        return;
    }
    // As in a Windows string grid, the editor opens with its whole text selected: what is typed
    // first replaces it.
    editor_->selectAll();
}

void TStrColGrid::closeEditorWidget()
{
    QPointer<QLineEdit> editor = editor_;
    editor_ = nullptr;
    if (editor && state() == QAbstractItemView::EditingState)
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    viewport()->update();
}

void TStrColGrid::setupEditor(QLineEdit *editor)
{
    editor_ = editor;
    editor->setFont(fontOf(model_.editorFont()));
    applyImeModeTo(editor, model_.editorImeMode(true));
    connect(editor, &QLineEdit::textChanged, this, [this](const QString &text) {
        try {
            model_.editorTextChanged(text.toStdString());
        } catch (...) {
            reportCurrentException();
        }
    });
}

void TStrColGrid::showCutEditorText()
{
    if (QLineEdit *editor = InplaceEditor()) {
        const QString text = QString::fromStdString(model_.editorText());
        if (editor->text() != text)
            editor->setText(text);
    }
    QApplication::beep();
}

void TStrColGrid::refreshEditor()
{
    if (QLineEdit *editor = InplaceEditor()) {
        editor->setFont(fontOf(model_.editorFont()));
        applyImeModeTo(editor, model_.editorImeMode(false));
    }
}

void TStrColGrid::forwardToEditor(QEvent *e)
{
    QLineEdit *editor = InplaceEditor();
    if (!editor)
        return;
    const FlagScope forwarding(forwarding_);
    if (e->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(e);
        QKeyEvent copy(QEvent::KeyPress, k->key(), k->modifiers(), k->text(), k->isAutoRepeat(),
                       static_cast<quint16>(k->count()));
        QCoreApplication::sendEvent(editor, &copy);
    } else if (e->type() == QEvent::InputMethod) {
        const auto *ime = static_cast<QInputMethodEvent *>(e);
        QInputMethodEvent copy(ime->preeditString(), ime->attributes());
        copy.setCommitString(ime->commitString(), ime->replacementStart(), ime->replacementLength());
        QCoreApplication::sendEvent(editor, &copy);
    }
}

bool TStrColGrid::editorEvent(QWidget *editor, QEvent *e)
{
    try {
        switch (e->type()) {
        case QEvent::KeyPress:
            if (forwarding_ || editor != editor_)
                return false;
            return handleKey(static_cast<QKeyEvent *>(e), true);
        case QEvent::ShortcutOverride: {
            // Esc and Ctrl+Z belong to an open edit (they cancel it), not to the window's
            // shortcuts that would otherwise close the window or undo a step over it.
            const auto *k = static_cast<QKeyEvent *>(e);
            if (editor == editor_ && model_.EditorMode() && editorKeepsKey(virtualKeyFromQt(*k), shiftStateFromQt(*k))) {
                e->accept();
                return true;
            }
            return false;
        }
        case QEvent::FocusOut: {
            // Focus moved to another control of the window: the edit ends. A dialog, a menu or
            // another application taking the focus leaves the editor open.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(e)->reason();
            if (editor == editor_ && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                const QWidget *focus = QApplication::focusWidget();
                if (!focus || !editor->isAncestorOf(focus))
                    model_.CloseEditor();
            }
            return false;
        }
        default:
            return false;
        }
    } catch (...) {
        reportCurrentException();
        return true;
    }
}

void TStrColGrid::applyImeModeTo(QWidget *w, TImeMode mode)
{
    switch (mode) {
    case imDisable:
        w->setAttribute(Qt::WA_InputMethodEnabled, false);
        break;
    case imClose:
    case imSAlpha:
    case imAlpha:
        w->setAttribute(Qt::WA_InputMethodEnabled, true);
        w->setInputMethodHints(Qt::ImhPreferLatin);
        break;
    default:
        w->setAttribute(Qt::WA_InputMethodEnabled, true);
        w->setInputMethodHints(Qt::ImhNone);
        break;
    }
}

} // namespace velmo
