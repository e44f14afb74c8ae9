// The comparison dialog, driven offscreen: it shows the comparison's rows, its buttons reach
// the comparison's exports, and the main window's menu item opens it.
#include "velmok/ui/TFtankaregist.h"
#include "velmok/ui/Tfcompare.h"
#include "velmok/exports/file_comparison.h"
#include "velmok/core/velmok_texts.h"
#include "base/cp932.h"
#include "base/fileio.h"
#include "pricefile/service_file.h"
#include "tests/common/fake_ui.h"
#include "tests/common/temp_dir.h"
#include "tests/velmok/window_menus.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace velmo;
namespace fs = std::filesystem;

namespace {

// A price raised and a name changed.
std::vector<PriceChange> twoChanges()
{
    PriceChange price;
    price.block = 3;
    price.name = "SGP白";
    price.size = "15A";
    price.field = "資材単価 定価";
    price.oldValue = Cur("1200");
    price.newValue = Cur("1260");
    PriceChange name;
    name.kind = ChangeKind::Text;
    name.block = 4;
    name.name = "VP管";
    name.field = "名称";
    name.oldText = "VP";
    name.newText = "VP管";
    return {price, name};
}

} // namespace

class TfcompareTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsTheRowsAndItsButtonsExport()
    {
        velmo::test::TempDir dir;
        velmo::test::FakeUi ui;
        FileComparison comparison(ui, "old.fda", "kanzai1.fda", twoChanges());
        Tfcompare d(comparison);
        QCOMPARE(d.windowTitle(), QString::fromStdString(comparison.title()));
        QCOMPARE(d.countLabel->text(), QString("違い: 2 件"));
        QCOMPARE(d.table->rowCount(), 2);
        QCOMPARE(d.table->columnCount(), 9);
        QCOMPARE(d.table->horizontalHeaderItem(4)->text(), QString("項目"));
        QCOMPARE(d.table->item(0, 6)->text(), QString("1260"));
        QVERIFY(d.table->item(0, 6)->textAlignment() & Qt::AlignRight);
        QCOMPARE(d.table->item(1, 6)->text(), QString("VP管"));
        QVERIFY(d.table->item(1, 6)->textAlignment() & Qt::AlignLeft);

        const fs::path csv = dir.path / "c.CSV", book = dir.path / "c.xlsx";
        ui.saveFiles.push_back(csv);
        d.csvButton->click();
        ui.saveFiles.push_back(book);
        d.xlsxButton->click();
        QCOMPARE(ui.notices.size(), size_t{2});
        QVERIFY(readWholeFile(csv) == cp932::encode("管材,名称,サイズ,場所,項目,変更前,変更後,差,増減率(%)\r\n"
                                                    "3,SGP白,15A,,資材単価 定価,1200,1260,60,5\r\n"
                                                    "4,VP管,,,名称,VP,VP管,,\r\n"));
        QVERIFY(fs::file_size(book) > 0);

        d.show();
        d.closeButton->click();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }

    void theMenuItemSitsInTheExportMenu()
    {
        velmo::test::TempDir dir;
        velmo::test::FakeUi ui;
        TFtankaregist w(QString::fromStdString((dir.path / "velmok").string()), "", &ui);
        QAction *item = velmo::test::menuItem(w, "外部デ－タ入出力", velmoktext::CompareCaption);
        QVERIFY(item);
        QCOMPARE(item, w.compareAction);
    }
};

QTEST_MAIN(TfcompareTest)
#include "tfcompare_qtest.moc"
