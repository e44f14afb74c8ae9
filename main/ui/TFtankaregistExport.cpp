// The main window's commands that take the table out: the menu 外部デ－タ入出力, the print
// item of the file menu and the output level dialog they ask.
#include "TFtankaregist.h"

#include "Tflevel_select.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace velmo {

void TFtankaregist::addPrintItem(QMenu *file)
{
    file->addSeparator();
    N8 = file->addAction("印  刷", this, [this] { run([this] { session_->print(); }); });
    N8->setShortcut(QKeySequence("Ctrl+P"));
}

void TFtankaregist::buildExportMenu()
{
    QMenu *m = menuBar()->addMenu("外部デ－タ入出力");
    CSV1 = m->addAction("表示中の管材データをCSVファイルとして出力", this, [this] { run([this] { session_->exportCsv(); }); });
    N19 = m->addAction("表示中の管材データをクリップボ－ドへＣＳＶ形式で取り出す", this,
                       [this] { run([this] { session_->copyCsv(); }); });
    m->addSeparator();
    excelAction = m->addAction("表示中の管材データをExcelファイルとして出力", this,
                               [this] { run([this] { session_->exportExcel(); }); });
    session_->askOutputLevel = [this](bool withOptions) { return Tflevel_select::ask(this, withOptions); };
    session_->showNow = [this] { showState(); };
}

} // namespace velmo
