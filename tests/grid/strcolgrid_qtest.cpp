// TStrColGrid's wiring, driven offscreen: the Qt key map, the colours and fonts that reach the
// screen, keys and clicks reaching the grid model and the editor, the signals, scrolling of the
// sections. The rules themselves are tested without a window (strcolgrid_*_test.cpp).
#include "grid/ui/QtGridTypes.h"
#include "grid/ui/QtKeys.h"
#include "grid/ui/TStrColGrid.h"
#include "desktop/VelmoApplication.h"
#include "base/errors.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <string>
#include <vector>

using namespace velmo;

namespace {

template <typename E, typename F>
QString messageOf(F &&f)
{
    try {
        f();
    } catch (const E &e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("<no exception>");
}

// A grid laid out as the programs lay theirs out: 8 columns x 15 rows, one fixed row and column,
// range selection and editing.
struct GridFixture {
    QWidget window;
    TStrColGrid *grid;
    GridFixture()
    {
        window.resize(700, 420);
        grid = new TStrColGrid(&window);
        grid->setGeometry(0, 0, 700, 420);
        grid->SetColCount(8);
        grid->SetRowCount(15);
        grid->SetDefaultRowHeight(20);
        grid->SetDefaultColWidth(80);
        grid->SetOptions(DefaultGridOptions | goEditing);
        window.show();
        grid->setFocus();
        QApplication::setActiveWindow(&window);
    }
    // Sends a key to whatever has the focus (the grid or its editor), as the keyboard does.
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget *target = QApplication::focusWidget();
        QTest::keyClick(target ? target : grid, k, mods);
    }
    QColor pixel(int col, int row, int dx = 3, int dy = 3)
    {
        const QImage image = grid->viewport()->grab().toImage();
        return image.pixelColor(grid->columnViewportPosition(col) + dx, grid->rowViewportPosition(row) + dy);
    }
    QPoint cellCentre(int col, int row)
    {
        return QPoint(grid->columnViewportPosition(col) + grid->columnWidth(col) / 2,
                      grid->rowViewportPosition(row) + grid->rowHeight(row) / 2);
    }
};

} // namespace

class StrColGridTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void virtualKeysOfTheKeysTheProgramsTest();
    void coloursAndNamedFontsConvertToQt();

    void rangeParameterRecoloursTheWholeRangeOnScreen();
    void selectedRangeIsHighlightedExceptTheCurrentCell();
    void fontWidthThickensTheText();
    void twoLineCellDrawsInnerLineAtTheBandEdge();
    void unknownFontNameDrawsWithGridFont();

    void keypadDigitsReachTheEditor();
    void enterStoresTheTextBeforeTheHandlerReadsIt();
    void enterOutsideTheEditorReachesTheDialog();
    void settingTheEditedCellUpdatesTheEditor();

    void clicksSelectNormalCellsOnly();
    void fixedCellsStayInViewWhenScrolling();
    void keyHandlerExceptionShowsErrorBoxAndGridGoesOn();
    void columnWidthsKeepNegativeValues();
    void tabReachesTheGridBeforeTheFocusMoves();
};

// --- Qt types ----------------------------------------------------------------------------------------

void StrColGridTest::virtualKeysOfTheKeysTheProgramsTest()
{
    QCOMPARE(virtualKeyFromQt(Qt::Key_5, Qt::KeypadModifier), 101);
    QCOMPARE(virtualKeyFromQt(Qt::Key_0, Qt::KeypadModifier), 96);
    QCOMPARE(virtualKeyFromQt(Qt::Key_Period, Qt::KeypadModifier), 110);
    QCOMPARE(virtualKeyFromQt(Qt::Key_5, Qt::NoModifier), 53);
    QCOMPARE(virtualKeyFromQt(Qt::Key_Enter, Qt::KeypadModifier), 13);
    QCOMPARE(virtualKeyFromQt(Qt::Key_Return, Qt::NoModifier), 13);
    QCOMPARE(virtualKeyFromQt(Qt::Key_Backspace, Qt::NoModifier), 8);
    QCOMPARE(virtualKeyFromQt(Qt::Key_Up, Qt::KeypadModifier), 38); // keypad arrows are arrows
    QCOMPARE(virtualKeyFromQt(Qt::Key_Delete, Qt::NoModifier), 46);
    QCOMPARE(virtualKeyFromQt(Qt::Key_F12, Qt::NoModifier), 123);
    QCOMPARE(virtualKeyFromQt(Qt::Key_Minus, Qt::NoModifier), 189);
    QCOMPARE(virtualKeyFromQt(Qt::Key_Period, Qt::NoModifier), 190);
    QCOMPARE(virtualKeyFromQt(Qt::Key_Q, Qt::ShiftModifier), 81);
    QCOMPARE(virtualKeyFromQt(Qt::Key_Backtab, Qt::ShiftModifier), 9);
    const QKeyEvent backtab(QEvent::KeyPress, Qt::Key_Backtab, Qt::NoModifier);
    QVERIFY(shiftStateFromQt(backtab).shift); // Shift+Tab is a shifted Tab whatever the modifiers say
    QVERIFY(shiftStateFromQt(Qt::ControlModifier | Qt::KeypadModifier).ctrl);
}

void StrColGridTest::coloursAndNamedFontsConvertToQt()
{
    QCOMPARE(toQColor(TColor(10652814)), QColor(142, 140, 162));
    QCOMPARE(toTColor(QColor(142, 140, 162)), TColor(10652814));

    TStrColGrid grid;
    QFont base("Noto Sans CJK JP");
    base.setPixelSize(15);
    grid.setFont(base);
    TSCGCellFont &heading = grid.Fonts().Add(); // a copy of the grid's font, in pixels
    QCOMPARE(heading.Font().pixelSize, 15);
    QCOMPARE(QString::fromStdString(heading.Font().family), base.family());
    GridFont big = heading.Font();
    big.pixelSize = 30;
    big.bold = true;
    heading.SetFont(big);
    grid.SetCellAlignment(2, 2, taCenter);
    grid.FindCellParam(2, 2, false)->SetFontName(heading.Name());
    QCOMPARE(grid.CellFont(2, 2).pixelSize(), 30);
    QVERIFY(grid.CellFont(2, 2).bold());
    QCOMPARE(grid.CellFont(3, 3), grid.font());
}

// --- painting --------------------------------------------------------------------------------------

void StrColGridTest::rangeParameterRecoloursTheWholeRangeOnScreen()
{
    GridFixture f;
    TSCGCellParam &range = f.grid->CellParams().Add();
    range.SetColMax(3);
    range.SetRowMax(4);
    range.SetRangeEnabled(true);
    range.SetCol(2);
    range.SetRow(3);
    f.grid->SetCellColor(3, 4, QColor(0, 200, 0)); // one cell of the range
    for (int c = 2; c <= 3; ++c)
        for (int r = 3; r <= 4; ++r)
            QCOMPARE(f.pixel(c, r), QColor(0, 200, 0));
    QCOMPARE(f.pixel(4, 4), f.grid->Color());
    QCOMPARE(f.pixel(2, 5), f.grid->Color());

    // A later single-cell parameter wins on screen too.
    f.grid->CellParams().Add();
    TSCGCellParam &single = f.grid->CellParams()[1];
    single.SetCol(2);
    single.SetRow(3);
    single.SetCellColor(TColor::fromRgb(200, 0, 0));
    single.SetCellColorEnabled(true);
    QCOMPARE(f.pixel(2, 3), QColor(200, 0, 0));
    QCOMPARE(f.pixel(3, 3), QColor(0, 200, 0));

    // Fixed cells without a parameter are painted in the fixed colour.
    f.grid->SetFixedColor(QColor(142, 140, 162));
    QCOMPARE(f.pixel(3, 0, 10, 10), QColor(142, 140, 162));
}

void StrColGridTest::selectedRangeIsHighlightedExceptTheCurrentCell()
{
    GridFixture f;
    f.grid->SetFocusCellColor(QColor(10, 20, 200));
    f.grid->SetCellColor(3, 3, QColor(0, 200, 0));
    QVERIFY(f.grid->SelectRange(2, 2, 3, 3));
    QCOMPARE(f.pixel(3, 3), QColor(10, 20, 200)); // the highlight covers the cell's own colour
    QCOMPARE(f.pixel(2, 3), QColor(10, 20, 200));
    QCOMPARE(f.pixel(2, 2, 5, 5), f.grid->Color()); // the current cell keeps its colour
    QCOMPARE(f.pixel(4, 4), f.grid->Color());
    f.grid->SetOptions(f.grid->Options() | goDrawFocusSelected);
    QCOMPARE(f.pixel(2, 2, 5, 5), QColor(10, 20, 200));
    f.grid->SetFocusDraw(false);
    f.grid->clearFocus();
    QCOMPARE(f.pixel(3, 3), QColor(0, 200, 0)); // no focus, no FocusDraw: no highlight
}

namespace {
// Amount of text colour on a white cell.
int ink(const QImage &image, const QRect &rect)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += 255 - qGray(image.pixel(x, y));
    return n;
}
} // namespace

void StrColGridTest::fontWidthThickensTheText()
{
    GridFixture f;
    for (int r = 1; r <= 3; ++r)
        f.grid->SetCells(2, r, "|||");
    f.grid->SetCellFontWidth(2, 2, 2);
    f.grid->SetCellFontWidth(2, 3, 0);
    const QImage image = f.grid->viewport()->grab().toImage();
    auto cellRect = [&](int r) {
        return QRect(f.grid->columnViewportPosition(2), f.grid->rowViewportPosition(r), f.grid->ColWidths(2),
                     f.grid->RowHeights(r));
    };
    const int once = ink(image, cellRect(1));
    const int twice = ink(image, cellRect(2));
    QVERIFY(once > 0);
    QVERIFY2(twice > once * 3 / 2, qPrintable(QString("%1 vs %2").arg(twice).arg(once)));
    QCOMPARE(ink(image, cellRect(3)), 0);
}

void StrColGridTest::twoLineCellDrawsInnerLineAtTheBandEdge()
{
    GridFixture f;
    f.grid->SetRowHeights(2, 34);
    f.grid->SetRowHeights(3, 35);
    f.grid->SetCells(3, 2, "上\r下");
    f.grid->SetCells(3, 3, "上\r下");
    const QImage image = f.grid->viewport()->grab().toImage();
    const int x = f.grid->columnViewportPosition(3) + f.grid->ColWidths(3) - 3;
    const QColor silver(192, 192, 192);
    for (int r : {2, 3}) {
        const int top = f.grid->rowViewportPosition(r);
        QCOMPARE(image.pixelColor(x, top + 17), silver);
        QCOMPARE(image.pixelColor(x, top + 16), f.grid->Color());
        QCOMPARE(image.pixelColor(x, top + 18), f.grid->Color());
    }
}

void StrColGridTest::unknownFontNameDrawsWithGridFont()
{
    GridFixture f;
    f.grid->BeginLoad();
    TSCGCellParam &p = f.grid->CellParams().Add();
    p.SetCol(1);
    p.SetRow(1);
    p.SetFontName("未登録"); // accepted while loading
    f.grid->EndLoad();
    QCOMPARE(p.FontName(), std::string("未登録"));
    QStringList boxes;
    VelmoApplication::errorSink = [&](const QString &, const QString &m) { boxes << m; };
    f.grid->SetCells(1, 1, "x");
    f.grid->viewport()->grab(); // paints without raising out of the paint
    QCoreApplication::processEvents();
    VelmoApplication::errorSink = nullptr;
    QCOMPARE(boxes, QStringList());
}

// --- editor and keys ---------------------------------------------------------------------------------

void StrColGridTest::keypadDigitsReachTheEditor()
{
    GridFixture f;
    QVERIFY(f.grid->SelectCell(2, 3));
    QList<int> keys;
    connect(f.grid, &TStrColGrid::keyDown, [&](int &vk, Qt::KeyboardModifiers, bool &) { keys << vk; });
    f.key(Qt::Key_1, Qt::KeypadModifier); // opens the editor with the digit
    QVERIFY(f.grid->EditorMode());
    f.key(Qt::Key_2, Qt::KeypadModifier);
    f.key(Qt::Key_Period, Qt::KeypadModifier);
    f.key(Qt::Key_5, Qt::KeypadModifier);
    QCOMPARE(f.grid->InplaceEditor()->text(), QString("12.5"));
    QCOMPARE(keys, (QList<int>{97, 98, 110, 101}));
    f.key(Qt::Key_Backspace);
    QCOMPARE(f.grid->InplaceEditor()->text(), QString("12."));
    // F2 and a double click open the editor too.
    f.key(Qt::Key_Return);
    QVERIFY(!f.grid->EditorMode());
    f.key(Qt::Key_F2);
    QVERIFY(f.grid->EditorMode());
    f.key(Qt::Key_Escape);
    QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, {}, f.cellCentre(2, 3));
    QVERIFY(f.grid->EditorMode());
    // The editor opens with the cell's text selected: what is typed replaces it.
    QCOMPARE(f.grid->InplaceEditor()->selectedText(), QString("12."));
    f.key(Qt::Key_7, Qt::KeypadModifier);
    QCOMPARE(f.grid->InplaceEditor()->text(), QString("7"));
    f.key(Qt::Key_Return);
    f.key(Qt::Key_3, Qt::KeypadModifier);
    QCOMPARE(f.grid->InplaceEditor()->text(), QString("3"));
}

void StrColGridTest::enterStoresTheTextBeforeTheHandlerReadsIt()
{
    // The programs' handlers: Enter with the editor open closes it, then read the cell at the
    // position where the editor last stored its text.
    GridFixture f;
    QStringList log;
    int editCol = 0, editRow = 0;
    connect(f.grid, &TStrColGrid::editorTextStored, [&](int c, int r) {
        editCol = c;
        editRow = r;
        log << QString("stored %1,%2 %3").arg(c).arg(r).arg(f.grid->Cells(c, r));
    });
    connect(f.grid, &TStrColGrid::keyDown, [&](int &vk, Qt::KeyboardModifiers, bool &) {
        if (vk != 13)
            return;
        if (f.grid->EditorMode())
            f.grid->CloseEditor();
        log << QString("enter %1,%2 %3").arg(editCol).arg(editRow).arg(f.grid->Cells(editCol, editRow));
    });
    QVERIFY(f.grid->SelectCell(4, 6));
    f.grid->SetCells(4, 6, "9");
    f.key(Qt::Key_F2);
    f.key(Qt::Key_Backspace);
    f.key(Qt::Key_7, Qt::KeypadModifier);
    f.key(Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(log.last(), QString("enter 4,6 7"));
    QCOMPARE(log.at(log.size() - 2), QString("stored 4,6 7"));
    QVERIFY(log.contains("stored 4,6 "));
    QCOMPARE(f.grid->Cells(4, 6), QString("7"));
    QVERIFY(!f.grid->EditorMode());
}

void StrColGridTest::enterOutsideTheEditorReachesTheDialog()
{
    QDialog dialog;
    auto *grid = new TStrColGrid(&dialog);
    grid->SetOptions(DefaultGridOptions | goEditing);
    auto *ok = new QPushButton("OK", &dialog);
    ok->move(0, 200);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.show();
    grid->setFocus();
    QApplication::setActiveWindow(&dialog);
    QTest::keyClick(grid, Qt::Key_5, Qt::KeypadModifier);
    QVERIFY(grid->EditorMode());
    QTest::keyClick(grid->InplaceEditor(), Qt::Key_Return); // ends the edit only
    QVERIFY(dialog.isVisible());
    QCOMPARE(grid->Cells(1, 1), QString("5"));
    QTest::keyClick(grid, Qt::Key_Return); // now the dialog's default button
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void StrColGridTest::settingTheEditedCellUpdatesTheEditor()
{
    // A handler empties the cell and closes the editor: the cell stays empty.
    GridFixture f;
    QVERIFY(f.grid->SelectCell(3, 3));
    f.key(Qt::Key_8, Qt::KeypadModifier);
    f.grid->SetCells(3, 3, "");
    QCOMPARE(f.grid->InplaceEditor()->text(), QString());
    f.grid->CloseEditor();
    QCOMPARE(f.grid->Cells(3, 3), QString());
}

// --- selection -----------------------------------------------------------------------------------

void StrColGridTest::clicksSelectNormalCellsOnly()
{
    GridFixture f;
    QSignalSpy clicks(f.grid, &TStrColGrid::gridClick);
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, f.cellCentre(4, 5));
    QCOMPARE(f.grid->Col(), 4);
    QCOMPARE(f.grid->Row(), 5);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), 4);
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, f.cellCentre(0, 7)); // size column
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, f.cellCentre(6, 0)); // heading row
    QCOMPARE(f.grid->Col(), 4);
    QCOMPARE(f.grid->Row(), 5);
    QVERIFY(!f.grid->SelectCell(0, 3));
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, f.cellCentre(6, 7));
    QCOMPARE(f.grid->Selection(), QRect(QPoint(4, 5), QPoint(6, 7)));
    // Code moves do not count as clicks.
    QVERIFY(f.grid->SelectRange(2, 2, 3, 3));
    QCOMPARE(f.grid->Selection(), QRect(QPoint(2, 2), QPoint(3, 3)));
    QCOMPARE(clicks.count(), 2);
}

void StrColGridTest::fixedCellsStayInViewWhenScrolling()
{
    GridFixture f;
    f.grid->resize(300, 200); // far narrower and lower than 8 x 80 and 15 x 20
    QCoreApplication::processEvents();
    f.grid->SetCells(0, 14, "最終");
    QVERIFY(f.grid->SelectCell(7, 14));
    QCoreApplication::processEvents();
    QVERIFY(f.grid->LeftCol() > 1);
    QVERIFY(f.grid->TopRow() > 1);
    QCOMPARE(f.grid->columnViewportPosition(0), 0);
    QCOMPARE(f.grid->rowViewportPosition(0), 0);
    QVERIFY(!f.grid->isColumnHidden(0) && !f.grid->isRowHidden(0));
    const QRect current = f.grid->visualRect(f.grid->model()->index(14, 7));
    QVERIFY(f.grid->viewport()->rect().contains(current));
    QCOMPARE(f.grid->horizontalScrollBar()->value(), f.grid->LeftCol() - 1);
    // The scroll bar scrolls back; the heading row is still at the top.
    f.grid->verticalScrollBar()->setValue(0);
    QCOMPARE(f.grid->TopRow(), 1);
    QCOMPARE(f.grid->rowViewportPosition(1), f.grid->RowHeights(0) + 1);
}

void StrColGridTest::keyHandlerExceptionShowsErrorBoxAndGridGoesOn()
{
    GridFixture f;
    QStringList boxes;
    VelmoApplication::errorSink = [&](const QString &, const QString &m) { boxes << m; };
    connect(f.grid, &TStrColGrid::keyDown, [&](int &vk, Qt::KeyboardModifiers, bool &) {
        if (vk == 13)
            throw ConversionError("'abc' は数値ではありません");
    });
    QVERIFY(f.grid->SelectCell(1, 1));
    f.key(Qt::Key_5, Qt::KeypadModifier);
    f.key(Qt::Key_Return);
    QCOMPARE(boxes, QStringList{"'abc' は数値ではありません"});
    f.key(Qt::Key_6, Qt::KeypadModifier); // the grid still works
    QCOMPARE(f.grid->InplaceEditor()->text(), QString("56"));
    VelmoApplication::errorSink = nullptr;
}

void StrColGridTest::columnWidthsKeepNegativeValues()
{
    TStrColGrid grid;
    grid.SetColWidths(2, -5);
    QCOMPARE(grid.ColWidths(2), -5);
    QCOMPARE(grid.columnWidth(2), 0);
    grid.SetColWidths(2, 60);
    QCOMPARE(grid.columnWidth(2), 61); // the cell plus its grid line
    QCOMPARE(messageOf<RangeError>([&] { grid.ColWidths(5); }), QString("ｾﾙ位置がｸﾞﾘｯﾄﾞの範囲を超えました。"));
}

void StrColGridTest::tabReachesTheGridBeforeTheFocusMoves()
{
    GridFixture f;
    auto *next = new QLineEdit(&f.window);
    next->move(0, 400);
    next->show();
    QList<int> keys;
    connect(f.grid, &TStrColGrid::keyDown, [&](int &vk, Qt::KeyboardModifiers, bool &) {
        if (vk != 16) // QTest presses Shift first
            keys << vk;
    });
    f.grid->SetOptions(f.grid->Options() | goTabs);
    QVERIFY(f.grid->SelectCell(7, 2));
    f.key(Qt::Key_Tab);
    QCOMPARE(f.grid->Col(), 1);
    QCOMPARE(f.grid->Row(), 3);
    f.key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(f.grid->Col(), 7);
    QCOMPARE(f.grid->Row(), 2);
    QCOMPARE(keys, (QList<int>{9, 9}));
    QVERIFY(f.grid->hasFocus());
    // Without goTabs the key still comes first to the grid, then moves the focus on.
    f.grid->SetOptions(DefaultGridOptions);
    f.key(Qt::Key_Tab);
    QCOMPARE(keys.size(), 3);
    QVERIFY(next->hasFocus());
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    VelmoApplication app(argc, argv);
    StrColGridTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "strcolgrid_qtest.moc"
