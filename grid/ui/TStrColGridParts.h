#pragma once
// The two Qt helpers inside TStrColGrid: the item model that shows the grid model's cells to
// the view, and the delegate that paints every cell through the grid and hosts the editor.
#include "base/flag_scope.h"
#include "grid/core/strcolgrid_model.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

namespace velmo {

class TStrColGrid;


// Qt's view of the cells. The counts it reports follow the grid model's when told
// (followCounts), so that the view sees columns and rows come and go in its own order.
class StrColGridItemModel final : public QAbstractTableModel {
public:
    StrColGridItemModel(const StrColGridModel &grid, QObject *parent);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void cellChanged(int col, int row);
    void followCounts();

private:
    const StrColGridModel &grid_;
    int cols_, rows_;
};

class TStrColGridDelegate final : public QStyledItemDelegate {
public:
    explicit TStrColGridDelegate(TStrColGrid *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &) const override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // The grid is going away: its editor may still send events while Qt deletes it.
    void detach() { grid_ = nullptr; }

private:
    TStrColGrid *grid_;
};

} // namespace velmo
