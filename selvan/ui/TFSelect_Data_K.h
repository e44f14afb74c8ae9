#pragma once
// The selection dialog of the equipment registration program: the 20 material names of the
// file, "選択実行" and "キャンセル", and a pop-up menu that moves the selected block up or down
// in the file. What each does is the session's; the dialog shows its list.
// The price records name a member `slots`, which Qt defines as a keyword: the session comes
// before the first Qt header.
#include "selvan/core/selvan_session.h"

#include <QDialog>

#include <optional>

class QLabel;
class QListWidget;
class QMenu;
class QPushButton;

namespace velmo {

class TFSelect_Data_K : public QDialog {
    Q_OBJECT
public:
    TFSelect_Data_K(SelvanSession &session, QWidget *parent = nullptr);

    // Fills the list from the session and shows the dialog modally.
    int execFor();
    // The list as the session last listed it, nothing selected.
    void fillList();

    QListWidget *ListBox1 = nullptr;
    QPushButton *Button1 = nullptr; // 選択実行
    QPushButton *Button3 = nullptr; // キャンセル
    QMenu *PopupMenu1 = nullptr;

private Q_SLOTS:
    void Button1Click();
    void ListBox1DblClick();
    void Button3Click();
    void N2Click(); // 上へ移動
    void N1Click(); // 下へ移動

private:
    std::optional<int> selectedEntry() const;

    SelvanSession &session_;
    static constexpr int ShortestListRows = 8; // the list's least height, in names
    int fullListHeight_ = 0;                   // the list's height with all names in view
};

} // namespace velmo
