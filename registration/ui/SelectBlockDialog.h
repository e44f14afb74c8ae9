#pragma once
// The selection dialog both registration programs open from "資材選択": the 20 block names of
// the file in a list, "選択実行" and "キャンセル", and a pop-up menu that moves the selected
// block up or down in the file. The dialog builds these and routes their events; what taking an
// entry and moving a block do, and how the dialog is laid out around them, is the program's
// (TFSelect_Data for torvik, TFSelect_Data_K for selvan).
#include "registration/core/block_session.h"

#include <QDialog>

#include <optional>

class QAction;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;

namespace velmo {

class SelectBlockDialog : public QDialog {
    Q_OBJECT
public:
    QListWidget *ListBox1 = nullptr;
    QPushButton *Button1 = nullptr; // 選択実行
    QPushButton *Button3 = nullptr; // キャンセル
    QMenu *PopupMenu1 = nullptr;
    QAction *N2 = nullptr, *N1 = nullptr; // "上へ移動", "下へ移動"

protected:
    explicit SelectBlockDialog(QWidget *parent);

    // "選択実行" (double: a double click on `item` of the list).
    virtual void takeEntry(QListWidgetItem *item, bool doubleClick) = 0;
    // "上へ移動" or "下へ移動" on the selected entry.
    virtual void moveEntry(MoveDirection direction) = 0;
};

} // namespace velmo
