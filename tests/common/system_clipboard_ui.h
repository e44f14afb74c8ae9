#pragma once
// A scripted user interface whose clipboard is the system's, through the programs' own Qt user
// interface: window tests put a spreadsheet's text there, paste it with Ctrl+V and read back
// what Ctrl+C copied.
#include "controls/ui/QtUserInterface.h"
#include "tests/common/fake_ui.h"

namespace velmo::test {

struct SystemClipboardUi : FakeUi {
    QtUserInterface system;
    void setClipboardText(const std::string &text) override { system.setClipboardText(text); }
    std::string clipboardText() const override { return system.clipboardText(); }
};

} // namespace velmo::test
