#pragma once
// A scripted user interface whose clipboard is the system's, through the programs' own Qt user
// interface: window tests put a spreadsheet's text there, paste it with Ctrl+V and read back
// what Ctrl+C copied.
#include "desktop/QtUserInterface.h"
#include "tests/common/fake_ui.h"

namespace velmo::test {

struct SystemClipboardUi : FakeUi {
    QtUserInterface system;
    void setClipboardContent(const ClipboardContent &content) override { system.setClipboardContent(content); }
    ClipboardContent clipboardContent() const override { return system.clipboardContent(); }
};

} // namespace velmo::test
