#include "velmok/ui/TFtankaregistUi.h"

#include "velmok/ui/TFtankaregist.h"
#include "velmok/ui/Tfcompare.h"
#include "velmok/ui/Tflevel_select.h"
#include "velmok/core/velmok_texts.h"

#include <QFileDialog>
#include "velmok/core/display_layout.h"

namespace velmo {

OutputLevelChoice TFtankaregistUi::askOutputLevel(bool withOptions)
{
    return Tflevel_select::ask(&window_, withOptions);
}

CalendarDate TFtankaregistUi::today()
{
    return localToday();
}

void TFtankaregistUi::writeLayout()
{
    if (layout_)
        layout_->save();
}

void TFtankaregistUi::showNow()
{
    window_.showState();
}

std::optional<std::filesystem::path> TFtankaregistUi::chooseFileToCompare()
{
    const QString file = QFileDialog::getOpenFileName(&window_, velmoktext::CompareFileTitle, QString(),
                                                      QString::fromUtf8(velmoktext::CompareFileFilter));
    if (file.isEmpty())
        return std::nullopt;
    return std::filesystem::path(file.toStdString());
}

void TFtankaregistUi::showComparison(FileComparison &comparison)
{
    Tfcompare::showModal(&window_, comparison);
}

} // namespace velmo
