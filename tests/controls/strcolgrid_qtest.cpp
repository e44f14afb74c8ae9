// TStrColGrid: drawing rules, cell parameters, named fonts, selection events, the in-cell
// editor and the key signal, driven offscreen.
#include "QtKeys.h"
#include "TStrColGrid.h"
#include "VelmoApplication.h"
#include "errors.h"

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
private slots:
    void bandsSplitTheCellAndTheLastTakesTheRemainder();
    void linesSplitAtCrLfAndCrLf();
    void captionTypesCombineTextAndCaption();
    void textPlacementFollowsAlignmentAndLayout();
    void focusFramePixelStaysVisible();
    void virtualKeysOfTheKeysTheProgramsTest();

    void laterParameterWinsAndRangesChangeAsAWhole();
    void createdParameterTakesGridColours();
    void positionAndRangeErrorsCarryTheirTexts();
    void fontNameRules();

    void rangeParameterRecoloursTheWholeRangeOnScreen();
    void selectedRangeIsHighlightedExceptTheCurrentCell();
    void fontWidthThickensTheText();
    void twoLineCellDrawsInnerLineAtTheBandEdge();
    void unknownFontNameDrawsWithGridFont();

    void keypadDigitsReachTheEditor();
    void enterStoresTheTextBeforeTheHandlerReadsIt();
    void handlerClosingTheEditorStopsTheKey();
    void consumedKeyIsNotHandledByTheGrid();
    void enterOutsideTheEditorReachesTheDialog();
    void cellWithoutEditingIsReadOnlyWhileSelected();
    void escapeRestoresTheText();
    void settingTheEditedCellUpdatesTheEditor();

    void selectionEventsRunInOrderAndARaiseRefuses();
    void clicksSelectNormalCellsOnly();
    void fixedCellsStayInViewWhenScrolling();
    void keyHandlerExceptionShowsErrorBoxAndGridGoesOn();
    void columnWidthsKeepNegativeValues();

    void screenshot();
};

// --- drawing rules ---------------------------------------------------------------------------------

void StrColGridTest::bandsSplitTheCellAndTheLastTakesTheRemainder()
{
    QCOMPARE(CellBands(0, 34, 2), (std::vector<CellBand>{{0, 17}, {17, 34}}));
    QCOMPARE(CellBands(0, 35, 2), (std::vector<CellBand>{{0, 17}, {17, 35}}));
    QCOMPARE(CellBands(10, 30, 3), (std::vector<CellBand>{{10, 16}, {16, 22}, {22, 30}}));
    QCOMPARE(CellBands(5, 25, 1), (std::vector<CellBand>{{5, 25}}));
    QCOMPARE(CellBands(0, 20, 0), (std::vector<CellBand>{{0, 20}})); // never divides by zero
}

void StrColGridTest::linesSplitAtCrLfAndCrLf()
{
    QCOMPARE(SplitCellLines(""), QStringList{""});
    QCOMPARE(SplitCellLines("abc"), QStringList{"abc"});
    QCOMPARE(SplitCellLines("a\rb"), (QStringList{"a", "b"}));
    QCOMPARE(SplitCellLines("a\r\nb\nc"), (QStringList{"a", "b", "c"}));
    QCOMPARE(SplitCellLines("a\r"), QStringList{"a"});           // a final break adds no line
    QCOMPARE(SplitCellLines("a\r\rb"), (QStringList{"a", "", "b"})); // an inner empty line stays
    QCOMPARE(SplitCellLines("\n\r"), (QStringList{"", ""}));
}

void StrColGridTest::captionTypesCombineTextAndCaption()
{
    QCOMPARE(CombineCaption(ctCaption, "C", "P", false), QString("P"));
    QCOMPARE(CombineCaption(ctCaption, "C", "", false), QString("C"));
    QCOMPARE(CombineCaption(ctCellText, "C", "P", false), QString("C"));
    QCOMPARE(CombineCaption(ctCellText, "", "P", false), QString("P"));
    QCOMPARE(CombineCaption(ctHeader, "C", "P", false), QString("PC"));
    QCOMPARE(CombineCaption(ctFooter, "C", "P", false), QString("CP"));
    QCOMPARE(CombineCaption(ctTop, "C", "P", false), QString("C\rP"));
    QCOMPARE(CombineCaption(ctTop, "C", "P", true), QString("C\rP\r"));
    QCOMPARE(CombineCaption(ctBottom, "C", "P", false), QString("P\rC"));
}

void StrColGridTest::textPlacementFollowsAlignmentAndLayout()
{
    QCOMPARE(TextLeft(taLeftJustify, 10, 110, 30), 12);
    QCOMPARE(TextLeft(taRightJustify, 10, 110, 30), 78);
    QCOMPARE(TextLeft(taCenter, 10, 110, 30), 45);
    QCOMPARE(TextTop(tlTop, 0, 20, 15), 2);
    QCOMPARE(TextTop(tlCenter, 0, 20, 15), 3);
    QCOMPARE(TextTop(tlBottom, 0, 20, 15), 4);
}

void StrColGridTest::focusFramePixelStaysVisible()
{
    QCOMPARE(FocusFramePixel(qRgb(255, 255, 255)), qRgb(0, 0, 0));
    QCOMPARE(FocusFramePixel(qRgb(10, 20, 30)), qRgb(245, 235, 225));
    // Mid grey inverts to nearly itself: it becomes white below silver, black above.
    QCOMPARE(FocusFramePixel(qRgb(128, 128, 128)), qRgb(255, 255, 255));
    QCOMPARE(FocusFramePixel(qRgb(130, 127, 126)), qRgb(255, 255, 255));
}

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
}

// --- parameters ------------------------------------------------------------------------------------

void StrColGridTest::laterParameterWinsAndRangesChangeAsAWhole()
{
    TStrColGrid grid;
    grid.SetColCount(6);
    grid.SetRowCount(6);
    TSCGCellParam &range = grid.CellParams().Add();
    range.SetColMax(4);
    range.SetRowMax(4);
    range.SetRangeEnabled(true);
    range.SetCol(2);
    range.SetRow(2);
    QCOMPARE(range.Name(), QString("パラメータ1"));
    QCOMPARE(grid.FindCellParam(3, 3, false), &range);
    QCOMPARE(grid.FindCellParam(1, 3, false), nullptr);

    // A per-cell operation inside the range changes the range, not one cell.
    grid.SetCellFontColor(3, 4, Qt::red);
    QCOMPARE(grid.CellParams().Count(), 1);
    for (int c = 2; c <= 4; ++c)
        for (int r = 2; r <= 4; ++r)
            QCOMPARE(grid.FindCellParam(c, r, false)->FontColor(), QColor(Qt::red));

    // A single-cell parameter added later wins for its cell only.
    grid.SetCellColor(5, 5, Qt::blue); // outside: creates one
    TSCGCellParam &single = grid.CellParams().Add();
    single.SetCol(3);
    single.SetRow(3);
    single.SetAlignment(taRightJustify);
    QCOMPARE(single.Name(), QString("パラメータ3"));
    QCOMPARE(grid.FindCellParam(3, 3, false), &single);
    QCOMPARE(grid.FindCellParam(2, 2, false), &range);
    grid.SetCellAlignment(3, 3, taCenter);
    QCOMPARE(single.Alignment(), taCenter);
    QCOMPARE(range.Alignment(), taLeftJustify);
}

void StrColGridTest::createdParameterTakesGridColours()
{
    TStrColGrid grid;
    grid.SetColor(QColor(1, 2, 3));
    grid.SetFixedColor(QColor(142, 140, 162));
    grid.SetFontColor(QColor(4, 5, 6));
    TSCGCellParam *fixed = grid.FindCellParam(0, 2, true);
    TSCGCellParam *normal = grid.FindCellParam(2, 2, true);
    QCOMPARE(fixed->CellColor(), QColor(142, 140, 162));
    QCOMPARE(normal->CellColor(), QColor(1, 2, 3));
    QCOMPARE(normal->FontColor(), QColor(4, 5, 6));
    QVERIFY(normal->CellColorEnabled() && normal->FontColorEnabled());
    QCOMPARE(normal->DisplayName(), QString("パラメータ2 (  2,  2)-(  0,  0)"));
    QCOMPARE(TColorToQColor(10652814), QColor(142, 140, 162));
}

void StrColGridTest::positionAndRangeErrorsCarryTheirTexts()
{
    TStrColGrid grid;
    grid.SetColCount(4);
    grid.SetRowCount(3);
    const QString outside = "ｾﾙ位置がｸﾞﾘｯﾄﾞの範囲を超えました。";
    QCOMPARE(messageOf<RangeError>([&] { grid.CheckCellPos(4, 0); }), outside);
    QCOMPARE(messageOf<RangeError>([&] { grid.CheckCellPos(0, -1); }), outside);
    QCOMPARE(messageOf<RangeError>([&] { grid.SetCellColor(1, 3, Qt::red); }), outside);
    QCOMPARE(messageOf<RangeError>([&] { grid.SetCells(9, 1, "x"); }), outside);
    QCOMPARE(grid.CellParams().Count(), 0); // nothing was created
    grid.CheckCellPos(3, 2);

    TSCGCellParam &p = grid.CellParams().Add();
    p.SetCol(2);
    QCOMPARE(messageOf<RangeError>([&] { p.SetCol(-1); }), QString("パラメータ1 (  2,  0)-(  0,  0).Col の値が 0 を下まわりました"));
    QCOMPARE(p.Col(), 2);
    QCOMPARE(messageOf<RangeError>([&] { p.SetRow(-3); }), QString("パラメータ1 (  2,  0)-(  0,  0).Row の値が 0 を下まわりました"));
    QCOMPARE(messageOf<RangeError>([&] { p.SetFontWidth(-1); }), QString("パラメータ1 (  2,  0)-(  0,  0).FontWidth の値が範囲を超えました"));
    QCOMPARE(p.FontWidth(), 1);

    // ColMax below Col: refused, and the offending value is put back.
    QCOMPARE(messageOf<RangeError>([&] { p.SetRangeEnabled(true); }), QString("範囲が不正です"));
    QVERIFY(!p.RangeEnabled());
    p.SetColMax(3);
    p.SetRangeEnabled(true);
    QCOMPARE(messageOf<RangeError>([&] { p.SetColMax(1); }), QString("範囲が不正です"));
    QCOMPARE(p.ColMax(), 3);
    QCOMPARE(messageOf<RangeError>([&] { p.SetCol(4); }), QString("範囲が不正です"));
    QCOMPARE(p.Col(), 2);

    // While the grid loads, ranges are set piecewise without checks.
    grid.BeginLoad();
    TSCGCellParam &loaded = grid.CellParams().Add();
    loaded.SetRangeEnabled(true);
    loaded.SetCol(3);
    loaded.SetColMax(3);
    grid.EndLoad();
    QVERIFY(loaded.RangeEnabled());
}

void StrColGridTest::fontNameRules()
{
    TStrColGrid grid;
    TSCGCellFont &f1 = grid.Fonts().Add();
    TSCGCellFont &f2 = grid.Fonts().Add();
    QCOMPARE(f1.Name(), QString("フォント1"));
    QCOMPARE(f2.Name(), QString("フォント2"));
    QCOMPARE(messageOf<VelmoError>([&] { f1.SetName("フォント1"); }), QString("このフォント名はすでに使用されています"));
    QCOMPARE(messageOf<VelmoError>([&] { f1.SetName("フォント2"); }), QString("このフォント名はすでに使用されています"));
    QCOMPARE(messageOf<VelmoError>([&] { f1.SetName(""); }), QString("フォント名は空にできません"));
    QCOMPARE(messageOf<VelmoError>([&] { grid.Fonts().IndexOfFontName("なし"); }),
             QString("CellParams で指定されたフォント名が Fonts に登録されていません"));
    QCOMPARE(grid.Fonts().IndexOfFontName("フォント2"), 1);

    TSCGCellParam &p = grid.CellParams().Add();
    p.SetFontName("なし"); // not registered: quietly emptied
    QCOMPARE(p.FontName(), QString());
    p.SetFontName("フォント1");
    QCOMPARE(p.FontName(), QString("フォント1"));
    f1.SetName("見出し"); // renaming follows into the parameters
    QCOMPARE(p.FontName(), QString("見出し"));
    QFont big = grid.font();
    big.setPixelSize(30);
    f1.SetFont(big);
    QCOMPARE(grid.CellFont(0, 0).pixelSize(), 30);
    grid.Fonts().Delete(0); // deleting clears the users
    QCOMPARE(p.FontName(), QString());
    QCOMPARE(grid.CellFont(0, 0), grid.font());
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
    single.SetCellColor(QColor(200, 0, 0));
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
    QCOMPARE(p.FontName(), QString("未登録"));
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

void StrColGridTest::handlerClosingTheEditorStopsTheKey()
{
    // "Any other key closes the editor and beeps": the key must not reopen the editor.
    GridFixture f;
    connect(f.grid, &TStrColGrid::keyDown, [&](int &vk, Qt::KeyboardModifiers, bool &) {
        if (f.grid->EditorMode() && vk >= 48 && vk <= 57)
            f.grid->CloseEditor();
    });
    QVERIFY(f.grid->SelectCell(1, 1));
    f.key(Qt::Key_4, Qt::KeypadModifier);
    f.key(Qt::Key_3); // main keyboard digit
    QVERIFY(!f.grid->EditorMode());
    QCOMPARE(f.grid->Cells(1, 1), QString("4"));
    // A move after the edit was closed still moves.
    f.key(Qt::Key_6, Qt::KeypadModifier);
    f.key(Qt::Key_Down);
    QCOMPARE(f.grid->Row(), 2);
    QCOMPARE(f.grid->Cells(1, 1), QString("6"));
}

void StrColGridTest::consumedKeyIsNotHandledByTheGrid()
{
    GridFixture f;
    QVERIFY(f.grid->SelectCell(1, 1));
    connect(f.grid, &TStrColGrid::keyDown, [](int &vk, Qt::KeyboardModifiers, bool &consumed) {
        if (vk == 40)
            consumed = true;
        if (vk == 65)
            vk = 0;
    });
    f.key(Qt::Key_Down);
    QCOMPARE(f.grid->Row(), 1);
    f.key(Qt::Key_A);
    QVERIFY(!f.grid->EditorMode());
    f.key(Qt::Key_Right);
    QCOMPARE(f.grid->Col(), 2);
    f.key(Qt::Key_Right, Qt::ShiftModifier); // range selection keeps the current cell
    QCOMPARE(f.grid->Col(), 2);
    QCOMPARE(f.grid->Selection(), QRect(QPoint(2, 1), QPoint(3, 1)));
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

void StrColGridTest::cellWithoutEditingIsReadOnlyWhileSelected()
{
    GridFixture f;
    TSCGCellParam &p = f.grid->CellParams().Add();
    p.SetCol(2);
    p.SetRow(2);
    p.SetOptions(DefaultGridOptions); // no goEditing
    p.SetOptionsEnabled(true);
    f.grid->SetCells(2, 2, "固定");
    QVERIFY(f.grid->SelectCell(2, 2));
    QVERIFY(!(f.grid->OptionsInForce() & goEditing));
    f.key(Qt::Key_F2);
    f.key(Qt::Key_5, Qt::KeypadModifier);
    QVERIFY(!f.grid->ShowEditor());
    QVERIFY(!f.grid->EditorMode());
    QCOMPARE(f.grid->Cells(2, 2), QString("固定"));
    f.key(Qt::Key_Right); // the neighbour has the base options again
    QVERIFY(f.grid->OptionsInForce() & goEditing);
    f.key(Qt::Key_5, Qt::KeypadModifier);
    QVERIFY(f.grid->EditorMode());
}

void StrColGridTest::escapeRestoresTheText()
{
    GridFixture f;
    f.grid->SetCells(1, 1, "100");
    QVERIFY(f.grid->SelectCell(1, 1));
    f.key(Qt::Key_9, Qt::KeypadModifier);
    QCOMPARE(f.grid->Cells(1, 1), QString("9")); // stored as typed
    f.key(Qt::Key_Escape);
    QVERIFY(!f.grid->EditorMode());
    QCOMPARE(f.grid->Cells(1, 1), QString("100"));
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

void StrColGridTest::selectionEventsRunInOrderAndARaiseRefuses()
{
    GridFixture f;
    QStringList log;
    TSCGCellParam &a = f.grid->CellParams().Add();
    a.SetCol(1);
    a.SetRow(1);
    TSCGCellParam &b = f.grid->CellParams().Add();
    b.SetCol(2);
    b.SetRow(2);
    a.OnExitCell = [&](TSCGCellParam &, TStrColGrid &, int oc, int orow, int nc, int nr) {
        log << QString("exitCell %1,%2>%3,%4").arg(oc).arg(orow).arg(nc).arg(nr);
    };
    a.OnExitCol = [&](TSCGCellParam &, TStrColGrid &, int, int) { log << "exitCol"; };
    a.OnExitRow = [&](TSCGCellParam &, TStrColGrid &, int, int) { log << "exitRow"; };
    b.OnEnterCell = [&](TSCGCellParam &, TStrColGrid &, int, int, int, int) { log << "enterCell"; };
    b.OnEnterCol = [&](TSCGCellParam &, TStrColGrid &, int, int) { log << "enterCol"; };
    b.OnEnterRow = [&](TSCGCellParam &, TStrColGrid &, int, int) { log << "enterRow"; };
    f.grid->OnCellChanged = [&](TStrColGrid &, int, int, int, int) { log << "cellChanged"; };
    f.grid->OnColChanged = [&](TStrColGrid &, int, int) { log << "colChanged"; };
    f.grid->OnRowChanged = [&](TStrColGrid &, int, int) { log << "rowChanged"; };
    QCOMPARE(f.grid->Col(), 1);
    QVERIFY(f.grid->SelectCell(2, 2));
    QCOMPARE(log, (QStringList{"exitCell 1,1>2,2", "exitCol", "exitRow", "enterCell", "enterCol", "enterRow",
                               "cellChanged", "colChanged", "rowChanged"}));

    // Same row: no row events.
    log.clear();
    QVERIFY(f.grid->SelectCell(3, 2));
    QCOMPARE(log, (QStringList{"cellChanged", "colChanged"}));

    // An event that raises refuses the move and keeps the previous cell.
    log.clear();
    f.grid->OnRowChanged = [&](TStrColGrid &, int, int newRow) {
        if (newRow == 5)
            throw RangeError("拒否");
    };
    QVERIFY(!f.grid->SelectCell(3, 5));
    QCOMPARE(f.grid->Row(), 2);
    f.key(Qt::Key_Down);
    f.key(Qt::Key_Down);
    f.key(Qt::Key_Down); // to row 5: refused
    QCOMPARE(f.grid->Row(), 4);
    // The exit events of the next move name the cell that really was selected.
    log.clear();
    QVERIFY(f.grid->SelectCell(1, 1));
    QCOMPARE(log.first(), QString("cellChanged"));
}

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

// A sample grid as the programs show their price tables; written to $VELMO_GRID_SHOT when set.
void StrColGridTest::screenshot()
{
    const QByteArray path = qgetenv("VELMO_GRID_SHOT");
    if (path.isEmpty())
        QSKIP("set VELMO_GRID_SHOT to a file name to save the sample grid");
    QWidget window;
    TStrColGrid grid(&window);
    QFont font("ＭＳ ゴシック");
    font.setPixelSize(15);
    grid.setFont(font);
    grid.SetColCount(8);
    grid.SetRowCount(15);
    grid.SetDefaultRowHeight(17);
    grid.SetColWidths(0, 50);
    for (int c = 1; c < 8; ++c)
        grid.SetColWidths(c, 84);
    grid.SetFixedColor(QColor(142, 140, 162));
    grid.SetOptions(DefaultGridOptions | goEditing);
    grid.SetFocusCellFontColorEnabled(true);
    const QStringList headings{"No", "LEVEL1", "LEVEL2", "LEVEL3", "原　価", "定　価", "継 手 類", "配 管 工"};
    for (int c = 0; c < 8; ++c) {
        grid.SetCells(c, 0, headings[c]);
        grid.SetCellFontColor(c, 0, Qt::white);
        grid.SetCellFontWidth(c, 0, 1);
        grid.SetCellAlignment(c, 0, taCenter);
    }
    const QStringList sizes{"15A", "20A", "25A", "32A", "40A", "50A", "65A", "80A", "100A", "125A", "150A", "200A", "250A", "300A"};
    for (int r = 1; r < 15; ++r) {
        grid.SetCells(0, r, sizes[r - 1]);
        grid.SetCellFontColor(0, r, Qt::white);
        grid.SetCellAlignment(0, r, taCenter);
        for (int c = 1; c < 8; ++c) {
            grid.SetCellAlignment(c, r, taRightJustify);
            grid.SetCellFontColor(c, r, Qt::black);
            grid.SetCells(c, r, r == 1 && c == 1 ? "1,234,567" : QString::number(1000 * r + 37 * c));
        }
    }
    for (int r = 1; r < 15; ++r)
        grid.SetCellColor(7, r, QColor(142, 140, 162));
    for (int r = 1; r < 15; ++r)
        grid.SetCellFontColor(7, r, Qt::white);
    grid.SetCells(6, 3, "上段\r下段");
    grid.SetRowHeights(3, 34);
    int width = 0, height = 0;
    for (int c = 0; c < 8; ++c)
        width += grid.columnWidth(c);
    for (int r = 0; r < 15; ++r)
        height += grid.rowHeight(r);
    grid.setGeometry(0, 0, width + 2 * grid.frameWidth(), height + 2 * grid.frameWidth());
    window.resize(grid.size());
    window.show();
    grid.setFocus();
    QApplication::setActiveWindow(&window);
    QVERIFY(grid.SelectCell(2, 4));
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(grid.LeftCol() == 1 && grid.TopRow() == 1); // all of it in view
    QVERIFY(grid.grab().save(QString::fromLocal8Bit(path)));
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
