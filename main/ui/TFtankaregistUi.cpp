#include "TFtankaregistUi.h"

#include "TFtankaregist.h"
#include "Tflevel_select.h"
#include "display_layout.h"

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

} // namespace velmo
