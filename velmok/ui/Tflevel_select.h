#pragma once
// The output level dialog: which price basis the CSV, clipboard, Excel or print output takes,
// and for the CSV and the clipboard whether a heading line and the calculated components go
// with it. It only gathers the choices; the session acts on them.
#include "velmok/exports/output_level.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace velmo {

class Tflevel_select : public QDialog {
    Q_OBJECT
public:
    // withOptions false hides the two check boxes (the print data and the workbook).
    explicit Tflevel_select(bool withOptions, QWidget *parent = nullptr);

    // The choices as they stand; confirmed only after "実　行".
    OutputLevelChoice choice() const;

    // Shows the dialog modally, centred on the screen, and returns what it was closed with.
    static OutputLevelChoice ask(QWidget *parent, bool withOptions);

    std::array<QRadioButton *, OutputLevelCount> level{}; // level1 … level6
    QCheckBox *CheckBox7 = nullptr; // "見出しを出力"
    QCheckBox *CheckBox8 = nullptr; // "計算結果を出力"
    QPushButton *Button1 = nullptr; // "実　行"
    QPushButton *Button2 = nullptr; // "キャンセル"

private Q_SLOTS:
    void Button1Click();
    void Button2Click();

private:
    bool withOptions_;
    bool confirmed_ = false;
};

} // namespace velmo
