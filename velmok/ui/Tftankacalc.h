#pragma once
// The price-level dialog "現在の管材単価計算": LEVEL1 … LEVEL5 of the pipe from the list price
// by a rate or from the cost price by a surcharge, rounded to a unit. Made afresh for each use,
// so it always opens with its defaults; the choices live in a LevelCalcDialog.
#include <QDialog>
#include <array>
#include <memory>

class QPushButton;
class QRadioButton;

namespace velmo {

class LevelCalcDialog;
class TNValEdit;

class Tftankacalc : public QDialog {
    Q_OBJECT
public:
    explicit Tftankacalc(QWidget *parent = nullptr);
    ~Tftankacalc() override;

    // What "実 行" applies; the dialog is accepted on "実 行" and rejected on "Exit" or Escape.
    const LevelCalcDialog &state() const { return *state_; }

    // Widgets, for tests and screenshots.
    std::array<QRadioButton *, 3> addendRadios{}; // 端数処理
    std::array<QRadioButton *, 5> unitRadios{};   // 有効桁
    std::array<QRadioButton *, 2> methodRadios{}; // 計算方法
    std::array<TNValEdit *, 5> Level{};           // Level1 … Level5
    QPushButton *executeButton = nullptr, *exitButton = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void readLevels();

    std::unique_ptr<LevelCalcDialog> state_;
};

} // namespace velmo
