#pragma once
// What velmok's main session asks of the person and of the window beyond the questions every
// program asks: the output level dialog, today's date, the display layout file and an early
// redisplay in the middle of a command. The window implements it with its dialogs and its
// layout, the tests with a scripted fake.
#include "velmok/exports/output_level.h"
#include "velmok/exports/print_handoff.h"
#include "pricework/price_revision.h"
#include "base/user_interface.h"

namespace velmo {

class FileComparison;

class MainUserInterface : public UserInterface {
public:
    // The output level dialog Tflevel_select; `withOptions` false hides its two check boxes.
    virtual OutputLevelChoice askOutputLevel(bool withOptions) = 0;
    // The date of print_header.dat.
    virtual CalendarDate today() = 0;
    // Writes the display layout (bars, tree width, column widths) at close; raises IoError
    // naming the file when it cannot.
    virtual void writeLayout() = 0;
    // Shows the session's state at once, in the middle of a command: the basis chosen in the
    // output level dialog before the save dialog and the notice.
    virtual void showNow() = 0;
    // An open-file dialog for the pipe price file to compare the service file with; nothing
    // when cancelled.
    virtual std::optional<std::filesystem::path> chooseFileToCompare() = 0;
    // The comparison dialog, modal, until "閉じる"; its buttons call the comparison's exports.
    virtual void showComparison(FileComparison &comparison) = 0;
};

// A MainUserInterface whose questions, notices, dialogs, clipboard and programs are those of
// another UserInterface (the desktop's, or a test's), so that only velmok's own questions are
// left to a subclass.
class DesktopForwardingUi : public MainUserInterface {
public:
    explicit DesktopForwardingUi(UserInterface &desktop) : desktop_(desktop) {}

    Answer confirm(const std::string &message, const std::string &yes, const std::string &no,
                   Answer defaultButton = Answer::Yes) override
    {
        return desktop_.confirm(message, yes, no, defaultButton);
    }
    Answer confirmOrBack(const std::string &message, const std::string &yes, const std::string &no,
                         const std::string &back, Answer defaultButton = Answer::Yes) override
    {
        return desktop_.confirmOrBack(message, yes, no, back, defaultButton);
    }
    void notice(const std::string &message, const std::string &button) override { desktop_.notice(message, button); }
    std::optional<std::string> askText(const std::string &caption, const std::string &prompt,
                                       const std::string &initial, size_t maxBytes) override
    {
        return desktop_.askText(caption, prompt, initial, maxBytes);
    }
    std::optional<std::filesystem::path> chooseFolder(const std::string &title) override { return desktop_.chooseFolder(title); }
    std::optional<std::filesystem::path> chooseSaveFile(const std::string &filter, const std::string &defaultSuffix,
                                                        const std::string &suggestedName) override
    {
        return desktop_.chooseSaveFile(filter, defaultSuffix, suggestedName);
    }
    std::optional<std::filesystem::path> chooseOpenFile(const std::string &title, const std::string &filter) override
    {
        return desktop_.chooseOpenFile(title, filter);
    }
    bool reviewPriceImport(PriceImportChoice &choice) override { return desktop_.reviewPriceImport(choice); }
    void setClipboardContent(const ClipboardContent &content) override { desktop_.setClipboardContent(content); }
    ClipboardContent clipboardContent() const override { return desktop_.clipboardContent(); }
    bool startProgram(const std::string &program, const std::vector<std::string> &arguments,
                      const std::string &workingFolder) override
    {
        return desktop_.startProgram(program, arguments, workingFolder);
    }
    bool openAddress(const std::string &address) override { return desktop_.openAddress(address); }
    void beep() override { desktop_.beep(); }
    Rect screen() const override { return desktop_.screen(); }
    Rect workArea() const override { return desktop_.workArea(); }
    MemoryStatus memoryStatus() const override { return desktop_.memoryStatus(); }
    std::optional<RevisionChoice> askRevision(const RevisionDialogText &text, const RevisionPreviewer &preview) override
    {
        return desktop_.askRevision(text, preview);
    }
    std::optional<size_t> chooseEarlierVersion(const VersionListView &list, const VersionComparer &compare) override
    {
        return desktop_.chooseEarlierVersion(list, compare);
    }

private:
    UserInterface &desktop_;
};

} // namespace velmo
