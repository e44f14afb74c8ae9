// The price list import dialog: it opens on the guesses (the sheet with headings, named in a
// note), its lists hand the choices to the session's choice, the preview follows, a size that
// two rows price offers both, and 取り込み is there only when something would be taken.
// The dialog's header (Qt) comes first: moc cannot read <compare> before a Qt header.
#include "desktop/PriceImportDialog.h"
#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "pricework/price_import.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <cstdlib>

using namespace velmo;

namespace {

PriceBook book()
{
    return {"list.xlsx",
            {{"表紙", {{"見積書"}, {"株式会社 サンプル"}}},
             {"鋼管", {{"定価", "品名", "サイズ"}, {"1,500", "白管", "15A"}, {"2,500", "白管", "２０Ａ"},
                       {"お問合せ", "白管", "25A"}, {"9,000", "白管", "350A"}, {"1,600", "白管", "15A"}}}}};
}

ImportTarget target()
{
    return {{"15A", "20A", "25A", "32A"}, {Cur("1000"), Cur("2000"), Cur("3000"), Cur("4000")}};
}

} // namespace

class PriceImportDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theListsDriveThePreviewAndTheImportButton()
    {
        PriceImportChoice choice(book(), target());
        PriceImportDialog d(choice);
        QCOMPARE(d.sheetList()->count(), 2);
        QVERIFY(d.sheetList()->isEnabled());
        // The cover has no headings: the dialog opens on 鋼管 with its columns, and says so.
        QCOMPARE(d.sheetList()->currentIndex(), 1);
        QVERIFY(!d.sheetNote()->isHidden());
        QCOMPARE(d.sheetNote()->text(), QString::fromStdString(sharedtext::headingSheetText("表紙", "鋼管")));
        QCOMPARE(d.sizeColumnList()->currentIndex(), 2);
        QCOMPARE(d.priceColumnList()->currentIndex(), 0);
        QCOMPARE(d.sizeColumnList()->itemText(2), QString("3: サイズ"));
        QCOMPARE(d.sizeTable()->rowCount(), 4);
        QCOMPARE(d.sizeTable()->item(0, 1)->text(), QString("1,000"));
        QCOMPARE(d.sizeTable()->item(1, 2)->text(), QString("2,500"));
        QCOMPARE(d.sizeTable()->item(2, 2)->text(), QString(""));
        QVERIFY(d.importButton()->isEnabled());

        // 15A in rows 2 and 6: the last is taken, and the list in its cell offers the other.
        QComboBox *rows = d.rowList(0);
        QVERIFY(rows);
        QVERIFY(!d.rowList(1));
        QCOMPARE(rows->count(), 2);
        QCOMPARE(rows->currentIndex(), 1);
        QCOMPARE(d.sizeTable()->item(0, 2)->text(), QString("1,600"));
        QVERIFY(d.counts()->text().contains("複数の行にあるサイズ 1 件"));
        rows->setCurrentIndex(0);
        QVERIFY(choice.preview().sizes[0].newPrice == Cur("1500"));
        QCOMPARE(d.sizeTable()->item(0, 2)->text(), QString("1,500"));

        d.sheetList()->setCurrentIndex(0);
        QVERIFY(d.sheetNote()->isHidden());
        QVERIFY(!d.importButton()->isEnabled()); // the cover has no prices
        d.sheetList()->setCurrentIndex(1);
        QCOMPARE(choice.sheet(), 1);
        QCOMPARE(d.sizeColumnList()->count(), 3);
        d.sizeColumnList()->setCurrentIndex(1);
        QVERIFY(!d.importButton()->isEnabled());
        d.sizeColumnList()->setCurrentIndex(2);
        QCOMPARE(choice.sizeColumn(), 2);
        QCOMPARE(choice.priceColumn(), 0);
        QVERIFY(d.importButton()->isEnabled());

        // Under a real screen (VELMO_SHOW_DIALOG=seconds) the dialog stays up for a screenshot.
        if (const char *wait = std::getenv("VELMO_SHOW_DIALOG")) {
            d.show();
            QTest::qWait(std::atoi(wait) * 1000);
        }
        QTest::mouseClick(d.importButton(), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(choice.preview().matched(), 2);
    }

    void aTextFileHasNoSheetToChooseAndCancelRejects()
    {
        PriceImportChoice choice(PriceBook{"list.csv", {{"", {{"15A", "100"}}}}}, target());
        PriceImportDialog d(choice);
        QVERIFY(!d.sheetList()->isEnabled());
        QVERIFY(d.importButton()->isEnabled());
        QPushButton *cancel = nullptr;
        for (QPushButton *b : d.findChildren<QPushButton *>())
            if (b != d.importButton())
                cancel = b;
        QVERIFY(cancel);
        QTest::mouseClick(cancel, Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(PriceImportDialogTest)
#include "price_import_dialog_qtest.moc"
