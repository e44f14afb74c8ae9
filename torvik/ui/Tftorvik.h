#pragma once
// The main window of the pipe unit price registration program. It holds the widgets, forwards
// every event to TorvikSession and shows the session's state; it decides nothing itself.
//
// The session comes before any Qt header: its price records have a member named like Qt's
// keyword macro "slots".
#include "torvik/core/torvik_session.h"

#include "registration/ui/RegistrationWindow.h"

#include <array>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTabBar;

namespace velmo {

class ChangedOutsideBar;
class TFSelect_Data;
class TNValEdit;
class TStrColGrid;

class Tftorvik : public RegistrationWindow {
    Q_OBJECT
public:
    // programDir: the folder of the program (its ex_data/kanzai1.fda is the default file);
    // argument: the first command-line parameter ("1;0;/path/kanzai1.fda;"); ui: who answers
    // the session's questions (the window's own dialogs when null).
    Tftorvik(const QString &programDir, const std::string &argument, UserInterface *ui = nullptr,
             QWidget *parent = nullptr);
    ~Tftorvik() override;

    TorvikSession &session() { return *session_; }
    TFSelect_Data &selectDialog() { return *FSelect_Data; }
    void showState() override;

    // Widgets, for tests and screenshots; the shared ones are RegistrationWindow's.
    QLabel *select_data = nullptr, *sizename = nullptr, *Label3 = nullptr;
    std::array<QLabel *, 2 * RateFieldCount> rateLabels{};
    QLabel *StaticText1 = nullptr, *StaticText2 = nullptr;
    QMenu *PopupMenu1 = nullptr, *PopupMenu2 = nullptr;
    QAction *N131 = nullptr, *N151 = nullptr, *N152 = nullptr, *N21 = nullptr, *N5 = nullptr, *N4 = nullptr;
    QAction *N8 = nullptr, *N9 = nullptr, *N11 = nullptr, *MenuItem1 = nullptr;

protected:
    void showEvent(QShowEvent *e) override;
    bool activatedAgain() override { return session_->windowActivated(); }
    void rateFieldLeft(int tag, long double value) override { session_->rateFieldLeft(tag, value); }
    bool gridKeyDown(int vk, ShiftState mods) override { return session_->gridKeyDown(vk, mods); }
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private Q_SLOTS:
    void user_selClick();
    void TabControl1Change(int index);
    void CheckGroupBox1Click(bool checked);

private:
    void buildWidgets();
    QWidget *buildTitleBand();
    QWidget *buildNameBand();
    QWidget *nameBand_ = nullptr; // the changed-outside bar lies over it while shown
    QWidget *buildPage();
    QWidget *buildRatesAndSettings();
    void buildMenus();
    QComboBox *roundingList(RoundingList list, QWidget *parent);
    QComboBox *comboOf(RoundingList list) const;
    void run(const std::function<void()> &command); // forward, then show the state

    std::unique_ptr<TorvikSession> session_;
    TFSelect_Data *FSelect_Data = nullptr;
};

} // namespace velmo
