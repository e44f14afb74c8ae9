#pragma once
// The main window of the composite unit price manager. It holds the widgets, forwards every
// event to MainSession and shows the session's state; it decides nothing itself.
#include "desktop/QtUserInterface.h"
#include "velmok/ui/TFtankaregistUi.h"
#include "velmok/core/display_layout.h"
#include "velmok/session/main_session.h"

#include <QMainWindow>
#include <array>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmo {

class ChangedOutsideBar;
class LayoutSession;
class TNValEdit;
class TStrColGrid;
struct DisplayLayout;

class TFtankaregist : public QMainWindow {
    Q_OBJECT
public:
    // programPath: the program file as started (its name chooses the edition);
    // argument: the first command-line parameter ("3;5;"); ui: who answers the session's
    // questions (the window's own dialogs when null).
    TFtankaregist(const QString &programPath, const std::string &argument, UserInterface *ui = nullptr,
                  QWidget *parent = nullptr);
    ~TFtankaregist() override;

    MainSession &session() { return *session_; }
    LayoutSession &layout() { return *layout_; }
    // Everything the window shows, redone from the session.
    void showState();

    // Widgets, for tests and screenshots.
    QTreeWidget *TreeView1 = nullptr;
    QTabBar *TabControl1 = nullptr;
    TStrColGrid *StrColGrid1 = nullptr; // rate grid 歩掛表
    TStrColGrid *StrColGrid2 = nullptr; // material price grid 提出単価表
    TStrColGrid *StrColGrid3 = nullptr; // composite grid 複合単価表
    QComboBox *ComboBox1 = nullptr, *ComboBox2 = nullptr, *ComboBox3 = nullptr;
    QCheckBox *CheckGroupBox1 = nullptr; // "単価に掛け率を使用"
    std::array<TNValEdit *, 6> avr{};     // avr_N, avr_1 … avr_5
    std::array<TNValEdit *, 6> GPAYDAY{}; // GPAYDAY_N, GPAYDAY1 … GPAYDAY5
    QLabel *titlePanel = nullptr, *kanname = nullptr;
    QPushButton *user_sel = nullptr, *IconButton11 = nullptr;
    std::array<QLabel *, StatusPanelCount> statusPanels{};
    ChangedOutsideBar *changedBar = nullptr; // above the tree and the grids: another program changed the file
    QAction *saveAction = nullptr, *exitAction = nullptr;
    QAction *N8 = nullptr;                         // "印  刷"
    std::vector<QAction *> exportActions;          // 外部デ－タ入出力: one for each of exportFormats()
    QAction *compareAction = nullptr;              // 外部デ－タ入出力: 別のファイルと比較…
    QAction *estimateAction = nullptr;             // 外部デ－タ入出力: 数量表から見積…
    QAction *exportAction(std::string_view formatName) const; // nullptr when there is none
    std::array<QAction *, 6> basisActions{};
    QAction *showFactorsAction = nullptr, *showResultsAction = nullptr;
    QAction *showCompositesAction = nullptr, *showAdoptedAction = nullptr;
    std::array<QMenu *, ServiceCount> serviceMenus{};
    std::array<std::array<QAction *, PipesPerFile>, ServiceCount> pipeActions{};
    // The display layout (TFtankaregistLayout.cpp): the bars, the border between the tree and
    // the grids, the bar toggles and column-width commands of 表  示, the small commands.
    QWidget *title_panel = nullptr, *top_panel = nullptr;
    QSplitter *Splitter1 = nullptr;
    QMenu *fileMenu = nullptr, *viewMenu = nullptr, *informationMenu = nullptr;
    QAction *title_bar = nullptr, *top_bar = nullptr, *tree_list = nullptr, *status_bar = nullptr;
    QAction *N12 = nullptr, *N14 = nullptr, *N16 = nullptr; // uniform column widths
    QAction *N13 = nullptr, *N28 = nullptr, *N30 = nullptr, *N31 = nullptr, *N36 = nullptr, *N38 = nullptr;
    QAction *N23 = nullptr, *About1 = nullptr;
    // The edit menus 編　 集1 and 編   集2 (TFtankaregistEdit.cpp).
    QAction *undoAction = nullptr;       // N2 "取り消し"
    QAction *undoStepAction = nullptr;   // "元に戻す" (Ctrl+Z)
    QAction *redoStepAction = nullptr;   // "やり直し" (Ctrl+Y)
    QAction *sheetSetupAction = nullptr; // N37
    QAction *levelCalcAction = nullptr;  // K17
    QAction *labourRevisionAction = nullptr;
    QAction *clearAction = nullptr;      // N22
    std::vector<std::pair<CopyKind, QAction *>> copyActions, pasteActions;
    QAction *copyLocationAction = nullptr; // item_paste_5

protected:
    void showEvent(QShowEvent *e) override;
    // The window activated again asks the session whether another program changed the file.
    void changeEvent(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private Q_SLOTS:
    void TreeView1Click(QTreeWidgetItem *item);
    void TabControl1Change(int index);
    void StrColGrid2Click(int col, int row);
    void StrColGrid3Click(int col, int row);
    void settingsChanged(); // combo boxes, check box, Enter in a percentage field
    // A percentage or labour price field left holding a number typed and not entered.
    void settingsFieldLeft();
    // The same for the field that has the focus when a command begins.
    void applyTypedSettings();
    void GPAYDAYEnter(int index);
    // Editing (TFtankaregistEdit.cpp).
    void StrColGrid1KeyDown(int &vk, Qt::KeyboardModifiers shift, bool &consumed);
    void StrColGrid2KeyDown(int &vk, Qt::KeyboardModifiers shift, bool &consumed);
    void StrColGrid1Click(int col, int row);
    void user_selClick(); // also N37
    void K17Click();
    void N2Click();
    void showUndoCommands(); // 取り消し, 元に戻す and やり直し enabled as the session says
    void N22Click();          // 現在の管材をクリア－
    void item_paste_5Click(); // location 0 to the others
    void copyClick(CopyKind kind);
    void pasteClick(CopyKind kind);
    void gridEditorTextStored(int col, int row);
    // Menus and buttons (TFtankaregistBuild.cpp).
    void saveClick();            // 保  存, Ctrl+S
    void IconButton11Click();    // the save button of the title strip
    void loadFromFolderClick();  // 指定フォルダーからデータを読込
    void saveToFolderClick();    // 指定フォルダーにデータを保存
    void dataFileSettingClick(); // ネットワーク設定 → データファイル設定
    void serviceMenuShow(int service);
    void pipeMenuClick(int pipe); // F1 … F10, Shift+F1 … Shift+F10 for the first service
    void renameServiceClick(int service);
    void basisMenuClick(int basis); // Ctrl+F1 … Ctrl+F6
    void showFactorsClick();
    void showResultsClick();
    void showCompositesClick();
    void showAdoptedClick();
    void TreeView1ShiftRelease(); // Shift held as the mouse is released: rename the node
    // The display layout and the small commands (TFtankaregistLayout.cpp).
    void Splitter1Moved(); // the border between the tree and the grids
    void barToggleClick(LayoutBar bar);
    void uniformWidthClick(LayoutGrid grid);
    void N23Click(); // リリースバージョン
    void N30Click(); // メモ帳を起動

private:
    void informationClick(void (InformationCommands::*command)()); // Information(&I)
    void buildMenus();
    void addPrintItem(QMenu *file); // TFtankaregistExport.cpp
    void buildExportMenu();         // 外部デ－タ入出力
    void buildEditMenus(); // and the editing of the grids (TFtankaregistEdit.cpp)
    void gridKeyDown(TStrColGrid *grid, int &vk, Qt::KeyboardModifiers shift, bool &consumed);
    // An editor closed without a key of its grid (a click, the focus moving on): the session
    // stores what it holds.
    void gridEditorFinished(TStrColGrid *grid, int col, int row);
    // Closes an open editor of the two editable grids, so that a command meets what was typed.
    void showEditCommands();
    void buildWidgets();
    QWidget *buildSettingsPanel();
    void setupGrid(TStrColGrid *g, const std::array<int, 11> &widths);
    void showSettingsControls();
    void showTree();
    SettingsControls readSettingsControls() const;
    int nodeOf(QTreeWidgetItem *item) const; // 0 … 209, services at multiples of 21
    void run(const std::function<void()> &command); // forward, then show the state
    // The display layout (TFtankaregistLayout.cpp).
    void buildLayout(UserInterface &ui); // after the widgets and menus: reads the layout, shows it
    void buildLayoutMenus();
    DisplayLayout designLayout() const;
    void showLayout();
    void showTreeWidth();
    void fitGrid(TStrColGrid *g, int height);
    void gridColumnsDragged(TStrColGrid *g);

    QtUserInterface dialogs_;
    TFtankaregistUi windowUi_; // what the session asks of the window, over dialogs_ or the given UserInterface
    std::unique_ptr<MainSession> session_;
    Rect openedRect_; // where and how large the window opened, after the work area's cut
    std::unique_ptr<LayoutSession> layout_;
    bool started_ = false;
    int shownReloadStatus_ = 0; // the last reload whose status line was shown
    bool showing_ = false; // the controls are being filled from the session
    int shownControlsRevision_ = -1;
};

} // namespace velmo
