#pragma once
// The main window of the equipment unit price registration program. It holds the widgets,
// forwards every event to SelvanSession and shows the session's state; it decides nothing
// itself. Construction and events here, the widgets and menus in TfselvanBuild.cpp, showing
// the state in TfselvanShow.cpp.
#include "selvan/core/selvan_session.h"
#include "registration/ui/RegistrationWindow.h"

#include <array>
#include <functional>
#include <memory>

class QAction;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabBar;
class QToolButton;

namespace velmo {

class ChangedOutsideBar;
class TFSelect_Data_K;
class TNValEdit;
class TStrColGrid;

class Tfselvan : public RegistrationWindow {
    Q_OBJECT
public:
    // programPath: the program file as started (its name chooses the grid's menu); argument:
    // the first command-line parameter ("1;3;1;;/data/kigu1.dxa;"); ui: who answers the
    // session's questions (the window's own dialogs when null).
    Tfselvan(const QString &programPath, const std::string &argument, UserInterface *ui = nullptr,
             QWidget *parent = nullptr);
    ~Tfselvan() override;

    SelvanSession &session() { return *session_; }
    TFSelect_Data_K &selectDialog() { return *selectDialog_; }
    void showState() override;

    // Widgets, for tests and screenshots; the shared ones are RegistrationWindow's (Button3:
    // 資材名称編集).
    QToolButton *IconButton3 = nullptr;
    std::array<QLabel *, 2 * RegistrationRateFields> percentLabels{}; // the label and "(%)" of each edit
    QGroupBox *RadioGroup1 = nullptr;
    std::array<QRadioButton *, 2> labourModes{};
    QMenu *gridMenu = nullptr;  // the piping or the duct menu, by edition
    QMenu *otherMenu = nullptr; // "終了", for every other control and the window
    QAction *exitAction = nullptr; // Esc

protected:
    void showEvent(QShowEvent *e) override;
    bool activatedAgain() override { return session_->windowActivated(); }
    void rateFieldLeft(int tag, long double value) override
    {
        session_->percentageLeft(tag, Currency::fromDouble(value));
    }
    bool gridKeyDown(int vk, ShiftState mods) override { return session_->gridKeyDown(vk, mods); }
    void closeEvent(QCloseEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;

private Q_SLOTS:
    void FormShow();
    void user_selClick();
    void IconButton3Click();
    void TabControl1Change(int index);
    void StrColGrid1TextStored(int col, int row);
    void StrColGrid1Click(int col, int row);
    void NValEdit1KeyPress(int tag); // Enter in any of the six edits
    void RadioGroup1Click(int index);
    void CheckGroupBox1CheckBoxClick(bool checked);
    void ComboBox1Click(int index);
    void ComboBox2Click(int index);
    void ComboBox3Click(int index);
    void ciClick(int index);            // an item chosen from the unit list
    void ciChange(const QString &text); // text typed into the unit box
    void Button1Click();
    void Button3Click();
    // The grid's pop-up menus: N1 サイズセット(13スタート), N2 サイズセット(15スタート),
    // N5 表示中のデータをすべてコピー, N8 コピーしたすべてのデータを…貼り付け, N9 表示中の取付費を
    // コピー, N13 コピーした取付費を表示中の取付費に貼付, N131 表示中の取付費で統一する.
    void N1Click();
    void N2Click();
    void N5Click();
    void N8Click();
    void N9Click();
    void N13Click();
    void N131Click();

private:
    void buildWidgets();
    QWidget *buildTitleStrip();
    QWidget *buildInfoStrip();
    QWidget *buildRightPanel();
    void buildMenus();
    void showControls();
    // Forwards a command to the session, then shows the state. closeEditor: the grid's editor
    // closes first, as another control is used.
    void run(const std::function<void()> &command, bool closeEditor = true);

    std::unique_ptr<SelvanSession> session_;
    std::unique_ptr<TFSelect_Data_K> selectDialog_;
    bool showing_ = false; // the widgets are being filled from the session
};

} // namespace velmo
