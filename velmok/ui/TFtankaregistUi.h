#pragma once
// What the main session asks of the main window: the desktop's questions and dialogs go to the
// window's UserInterface; the output level dialog, today's date, the layout file and the early
// redisplay are the window's own.
#include "velmok/session/main_user_interface.h"

namespace velmo {

class LayoutSession;
class TFtankaregist;

class TFtankaregistUi : public DesktopForwardingUi {
public:
    TFtankaregistUi(TFtankaregist &window, UserInterface &desktop) : DesktopForwardingUi(desktop), window_(window) {}
    // The window's layout, once it is built; until then there is no layout to write.
    void setLayout(LayoutSession *layout) { layout_ = layout; }

    OutputLevelChoice askOutputLevel(bool withOptions) override;
    CalendarDate today() override;
    void writeLayout() override;
    void showNow() override;
    std::optional<std::filesystem::path> chooseFileToCompare() override;
    void showComparison(FileComparison &comparison) override;

private:
    TFtankaregist &window_;
    LayoutSession *layout_ = nullptr;
};

} // namespace velmo
