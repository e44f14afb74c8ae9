#include "main/ui/TFtankaregistUi.h"

#include "main/ui/TFtankaregist.h"
#include "main/ui/Tflevel_select.h"
#include "main/core/display_layout.h"

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
