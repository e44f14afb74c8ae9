#pragma once
// The scripted person of FakeUi, and what velmok's main window answers besides: the output
// level dialog, today's date, the display layout, the early redisplay and the comparison
// dialog with its file chooser.
#include "tests/common/fake_ui.h"
#include "velmok/exports/file_comparison.h"
#include "velmok/session/main_user_interface.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmo::test {

struct FakeMainUi : FakeUi, DesktopForwardingUi {
    FakeMainUi() : DesktopForwardingUi(static_cast<FakeUi &>(*this)) {}
    FakeMainUi(const FakeMainUi &) = delete;
    FakeMainUi &operator=(const FakeMainUi &) = delete;

    // The scripted person as the UserInterface other sessions take.
    FakeUi &desktop() { return *this; }

    // The answer of every output level dialog. Like an unscripted question of FakeUi, a dialog
    // nobody scripted fails the test and is cancelled, so that a new question in a code path
    // cannot pass unnoticed. `outputLevelAsked` records each question's withOptions.
    std::optional<OutputLevelChoice> outputLevel;
    std::vector<bool> outputLevelAsked;
    CalendarDate date{2019, 5, 1};       // today
    std::function<void()> layoutWriter;  // the display layout written at close, when set
    int layoutWrites = 0;
    std::function<void()> onShowNow;     // runs at each early redisplay, when set
    int shownNow = 0;
    // The file chosen to compare with (nothing: cancelled), and what the test does with each
    // comparison dialog shown. `comparisonsShown` counts them.
    std::optional<std::filesystem::path> fileToCompare;
    int compareFileAsked = 0;
    std::function<void(FileComparison &)> onComparison;
    int comparisonsShown = 0;

    OutputLevelChoice askOutputLevel(bool withOptions) override
    {
        outputLevelAsked.push_back(withOptions);
        if (!outputLevel) {
            failTest(std::string("output level dialog the test did not script (") +
                     (withOptions ? "with" : "without") + " its check boxes)");
            return OutputLevelChoice{};
        }
        return *outputLevel;
    }
    CalendarDate today() override { return date; }
    void writeLayout() override
    {
        ++layoutWrites;
        if (layoutWriter)
            layoutWriter();
    }
    void showNow() override
    {
        ++shownNow;
        if (onShowNow)
            onShowNow();
    }
    std::optional<std::filesystem::path> chooseFileToCompare() override
    {
        ++compareFileAsked;
        return fileToCompare;
    }
    void showComparison(FileComparison &comparison) override
    {
        ++comparisonsShown;
        if (!onComparison) {
            failTest("comparison dialog the test did not script");
            return;
        }
        onComparison(comparison);
    }
};

} // namespace velmo::test
