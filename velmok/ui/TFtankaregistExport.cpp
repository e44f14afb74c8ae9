// The main window's commands that take the table out: the menu 外部デ－タ入出力, one item for
// each export format, the comparison with another file and the estimate from a quantity list,
// and the print item of the file menu.
#include "velmok/ui/TFtankaregist.h"

#include "velmok/core/velmok_texts.h"
#include "velmok/estimate/estimate_session.h"
#include "velmok/ui/TfEstimate.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace velmo {

void TFtankaregist::addPrintItem(QMenu *file)
{
    file->addSeparator();
    N8 = file->addAction("印  刷", this, [this] { run([this] { session_->outputs().print(); }); });
    N8->setShortcut(QKeySequence("Ctrl+P"));
}

void TFtankaregist::buildExportMenu()
{
    QMenu *m = menuBar()->addMenu("外部デ－タ入出力");
    for (const ExportFormat *f : exportFormats()) {
        if (f->separatedAbove())
            m->addSeparator();
        exportActions.push_back(
            m->addAction(f->menuCaption(), this, [this, f] { run([this, f] { session_->outputs().exportTable(*f); }); }));
    }
    m->addSeparator();
    compareAction = m->addAction(velmoktext::CompareCaption, this,
                                 [this] { run([this] { session_->outputs().compareWithFile(); }); });
    estimateAction = m->addAction(velmoktext::EstimateCaption, this, [this] {
        run([this] {
            estimate::EstimateSession estimate(session_->outputs().source(), windowUi_, session_->homes().program);
            TfEstimate::showModal(this, estimate);
        });
    });
}

QAction *TFtankaregist::exportAction(std::string_view formatName) const
{
    const std::vector<const ExportFormat *> &formats = exportFormats();
    for (size_t i = 0; i < formats.size() && i < exportActions.size(); ++i)
        if (formatName == formats[i]->name())
            return exportActions[i];
    return nullptr;
}

} // namespace velmo
