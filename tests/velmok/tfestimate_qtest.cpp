// The dialog 数量表から見積, driven offscreen on velmok's window: it shows the priced rows, the
// subtotal, the total and the rows not priced in red; its choices price the list again; it
// prices the service shown with its unsaved edits; its buttons save; the menu item is there.
#include "tests/velmok/program_folder.h" // before any Qt header
#include "velmok/ui/TFtankaregist.h"
#include "velmok/ui/TfEstimate.h"
#include "velmok/core/velmok_texts.h"
#include "velmok/estimate/estimate_session.h"
#include "base/cp932.h"
#include "base/fileio.h"
#include "tests/common/fake_ui.h"
#include "tests/common/temp_dir.h"
#include "tests/velmok/window_menus.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace velmo;
namespace fs = std::filesystem;

class TfEstimateTest : public QObject {
    Q_OBJECT

private:
    // The amount column's text of preview line `row`.
    static QString amountAt(const TfEstimate &d, int row) { return d.table->item(row, 7)->text(); }

private Q_SLOTS:
    void showsTheEstimateAndPricesTheScreensEdits()
    {
        velmo::test::TempDir dir;
        velmo::test::FakeUi ui;
        TFtankaregist w(QString::fromStdString(velmo::test::withSampleTemplates(dir.path).string()), "", &ui);
        w.show(); // showing the window reads the data folder
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const fs::path list = dir.path / "list.csv";
        writeFileAtomically(list, cp932::encode("設備,管材,施工場所,口径,数量\r\n給水,1,屋内一般,25A,10\r\n給水,1,1,99A,1\r\n"));
        estimate::EstimateSession session(w.session().outputs().source(), ui, dir.path);
        ui.openFiles.push_back(list);

        TfEstimate d(session);
        QCOMPARE(d.listLabel->text(), QString(velmoktext::EstimateNoList));
        QVERIFY(!d.csvButton->isEnabled());
        d.chooseButton->click();
        QCOMPARE(d.listLabel->text(), QString::fromStdString(list.string()));
        // The row, the subtotal of 給水 and the total; below, the row not priced.
        QCOMPARE(d.table->rowCount(), 3);
        QCOMPARE(d.table->item(0, 1)->text(), QString::fromStdString(w.session().outputs().source().table().row(1).rec.name.text()));
        QCOMPARE(d.table->item(1, 1)->text(), QString("小計"));
        QCOMPARE(d.table->item(2, 1)->text(), QString("合計"));
        QCOMPARE(amountAt(d, 2), amountAt(d, 0));
        QCOMPARE(d.unmatchedTable->rowCount(), 1);
        QCOMPARE(d.unmatchedTable->item(0, 0)->text(), QString("3 行目"));
        QVERIFY(d.unmatchedTable->item(0, 1)->text().contains("99A"));
        QCOMPARE(d.unmatchedTable->item(0, 1)->foreground().color(), TfEstimate::unmatchedColor());
        QCOMPARE(d.countLabel->text(), QString("計上 1 行、計上できない行 1 行"));
        const QString level1 = amountAt(d, 0);

        // 原価 prices it again; the cost columns add three columns.
        d.basisBox->setCurrentIndex(5);
        Q_EMIT d.basisBox->activated(5);
        QVERIFY(amountAt(d, 0) != level1);
        d.basisBox->setCurrentIndex(0);
        Q_EMIT d.basisBox->activated(0);
        QCOMPARE(amountAt(d, 0), level1);
        const int columns = d.table->columnCount();
        d.costCheck->click();
        QCOMPARE(d.table->columnCount(), columns + 3);
        d.costCheck->click();

        // An edit not saved: the pipe factor of 25A raised in the service file velmok holds.
        PriceRecord &r = w.session().outputs().source().loadedFile().pipeBlock(0)[2];
        r.B(1) = r.B(1) + Currency::fromInt(1);
        Q_EMIT d.roundBox->activated(0);
        QVERIFY(amountAt(d, 0) != level1);

        const fs::path csv = dir.path / "estimate.csv";
        ui.saveFiles.push_back(csv);
        d.csvButton->click();
        QCOMPARE(ui.notices.size(), size_t{1});
        QVERIFY(readWholeFile(csv).find(cp932::encode("小計")) != std::string::npos);

        d.show();
        d.closeButton->click();
        QVERIFY(!d.isVisible());
    }

    void theMenuItemSitsInTheExportMenu()
    {
        velmo::test::TempDir dir;
        velmo::test::FakeUi ui;
        TFtankaregist w(QString::fromStdString((dir.path / "velmok").string()), "", &ui);
        QAction *item = velmo::test::menuItem(w, "外部デ－タ入出力", velmoktext::EstimateCaption);
        QVERIFY(item);
        QCOMPARE(item, w.estimateAction);
    }
};

QTEST_MAIN(TfEstimateTest)
#include "tfestimate_qtest.moc"
