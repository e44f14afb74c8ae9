#pragma once
// The sheet set-up dialog "管材別基本デ－タ設定": the pipe's names, memos, unit, sizes, location
// names, composite rounding and mode. It shows and edits a SheetSetup; "登  録" accepts it with
// what was typed, "Exit" rejects it.
#include <QDialog>
#include <array>
#include <memory>

class QButtonGroup;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace velmo {

class SheetSetup;
class TStrColGrid;
class UserInterface;

class Tfsheetset : public QDialog {
    Q_OBJECT
public:
    // ui answers the input boxes of the location names and memos.
    Tfsheetset(SheetSetup setup, UserInterface &ui, QWidget *parent = nullptr);
    ~Tfsheetset() override;

    const SheetSetup &setup() const { return *setup_; }

    // Widgets, for tests and screenshots.
    QComboBox *GOODSBOX = nullptr, *ComboBox2 = nullptr, *ComboBox3 = nullptr, *ComboBox1 = nullptr;
    QPushButton *StaticText1 = nullptr, *StaticText2 = nullptr; // the memos, clicked to edit
    std::array<QPushButton *, 4> kind{};                      // kind1 … kind4
    TStrColGrid *StrColGrid1 = nullptr;                         // the sizes
    // SpeedButton4, 1, 7, 2, 3, 8 in the order of SheetSetup::SizeSet.
    std::array<QPushButton *, 6> sizeSetButtons{};
    QPushButton *SpeedButton5 = nullptr, *SpeedButton6 = nullptr; // location names " Set  ", "Clear"
    QPushButton *IconButton6 = nullptr, *IconButton4 = nullptr;   // "登  録", "Exit"
    std::array<QRadioButton *, 4> scaleRadios{};      // BorRadio4 … 7
    std::array<QRadioButton *, 3> fracAddendRadios{}; // BorRadio8 … 10
    std::array<QRadioButton *, 3> sigAddendRadios{};  // BorRadio11 … 13
    std::array<QRadioButton *, 6> codeRadios{};       // BorRadio14 … 19
    std::array<QRadioButton *, 2> modeRadios{};       // BorRadio1, 2

private:
    void buildTexts(QWidget *page);
    QWidget *buildSizes(QWidget *page);
    QWidget *buildLocations(QWidget *page);
    QWidget *buildSettings(QWidget *page);
    void showSizes();
    void showLocationNames();
    void readWidgets();
    void IconButton6Click();

    std::unique_ptr<SheetSetup> setup_;
    UserInterface &ui_;
};

} // namespace velmo
