#pragma once
// What a session may ask of the person at the window, and of the desktop around it. Sessions
// never touch widgets; the windows implement this with real dialogs (QtUserInterface), the
// tests with a scripted fake.

#include "base/sheet_text.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

class PriceImportChoice;

// The answer of a question box. The values are the modal results the boxes return: the first
// button ("実行"), the second ("キャンセル") or Escape, the window frame, and the third button
// ("戻る") of a question that offers a way back.
enum class Answer : int { Yes = 6, No = 7, Closed = 2, Back = 3 };

// A rectangle of the screen in pixels.
struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const Rect &) const = default;
};

// The physical memory as the system reports it, in bytes.
struct MemoryStatus {
    uint64_t available = 0;
    uint64_t total = 0;
};

struct RevisionChoice;
struct RevisionDialogText;
struct RevisionPreview;

// The maxBytes of askText for a text that goes into no fixed-size field.
constexpr size_t AnyLength = 0;

// The dialog of a file's earlier versions as the window shows it: the list of versions (one
// row each, newest first), what could not be read, and for the row chosen its comparison with
// the file (cli/earlier_versions.h makes them).
struct VersionListView {
    std::string title;
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> skipped;
    std::string prompt; // shown in place of the comparison until a row is chosen
};
struct VersionComparisonView {
    std::string text; // the count of differences, or why the version cannot be compared
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::vector<bool>> figures; // which cells are figures (shown right-aligned)
    bool canRestore = false;
};
using VersionComparer = std::function<VersionComparisonView(size_t row)>;

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A modal question with two buttons. `defaultButton` names the button Enter presses
    // (Answer::Yes the first, Answer::No the second): a question whose first button overwrites
    // or discards names the second, so that Enter never destroys anything.
    // Every implementation repeats the same default.
    virtual Answer confirm(const std::string &message, const std::string &yes, const std::string &no,
                           Answer defaultButton = Answer::Yes) = 0;
    // A modal question with three buttons: the first answers Yes, the second No, the third
    // Back. Escape and the window frame answer Back too, so that only a button discards.
    // `defaultButton` as above; Answer::Back names the third.
    virtual Answer confirmOrBack(const std::string &message, const std::string &yes, const std::string &no,
                                 const std::string &back, Answer defaultButton = Answer::Yes) = 0;
    // A modal notice with one button.
    virtual void notice(const std::string &message, const std::string &button) = 0;
    // A one-line input box with a caption, a prompt and an initial text; nothing when cancelled.
    // maxBytes: the most bytes the text takes in CP932 (the file field it goes into), the box
    // taking no more while typed; 0 for a text without such a field.
    virtual std::optional<std::string> askText(const std::string &caption, const std::string &prompt,
                                               const std::string &initial, size_t maxBytes) = 0;
    // A folder selection dialog; nothing when cancelled.
    virtual std::optional<std::filesystem::path> chooseFolder(const std::string &title) = 0;
    // A save-file dialog with a filter ("*.CSV"), a default suffix added to a name typed without
    // one ("CSV") and the name it suggests (see suggestedFileName), in the folder of the last
    // save or else the person's documents folder; nothing when cancelled.
    virtual std::optional<std::filesystem::path> chooseSaveFile(const std::string &filter, const std::string &defaultSuffix,
                                                                const std::string &suggestedName) = 0;
    // A file dialog to open an existing file, with a title and a filter ("価格表 (*.csv *.xlsx)");
    // nothing when cancelled.
    virtual std::optional<std::filesystem::path> chooseOpenFile(const std::string &title, const std::string &filter) = 0;
    // The price list import dialog over `choice`: the person chooses the sheet and the columns
    // (each choice goes into `choice`, which gives the preview shown); true for 取り込み, false
    // for キャンセル.
    virtual bool reviewPriceImport(PriceImportChoice &choice) = 0;
    // Puts text (and, when not empty, an HTML table beside it) on the system clipboard.
    virtual void setClipboardContent(const ClipboardContent &content) = 0;
    // The plain text and the HTML on the system clipboard (UTF-8); each empty when it holds none.
    virtual ClipboardContent clipboardContent() const = 0;
    // Starts a program as a new process without waiting for it; false when it could not start.
    virtual bool startProgram(const std::string &program, const std::vector<std::string> &arguments,
                              const std::string &workingFolder) = 0;
    // Opens a file or an address with the desktop's program for it; false when none opened it.
    virtual bool openAddress(const std::string &address) = 0;
    virtual void beep() = 0;
    // The whole screen and the part of it that windows may take (without panels and docks).
    virtual Rect screen() const = 0;
    virtual Rect workArea() const = 0;
    virtual MemoryStatus memoryStatus() const = 0;
    // The price revision dialog: a percentage, a unit, a rounding rule and a scope, with the
    // preview `preview` computes shown as they change; nothing when cancelled.
    // (The types are those of pricework/price_revision.h.)
    virtual std::optional<RevisionChoice>
    askRevision(const RevisionDialogText &text, const std::function<RevisionPreview(const RevisionChoice &)> &preview) = 0;
    // "以前の版…": the list of versions; choosing a row shows `compare(row)`. The row 元に戻す
    // was pressed for (only while its comparison allows it); nothing when closed.
    virtual std::optional<size_t> chooseEarlierVersion(const VersionListView &list, const VersionComparer &compare) = 0;
};

// askText for a text that goes into a file field of `bytes` bytes: the box takes no more, and the
// answer is cut to them (between characters) whatever the box let through, so that what is
// stored is what was seen.
// The name a save dialog suggests for what is shown: the names that say it ("給水",
// "水道用硬質塩化ビニルライニング鋼管"), trimmed, the empty ones left out, joined by "_", with
// the characters no file name may hold made "_", and the suffix: "給水_水道用….csv". "出力"
// when no name is left.
std::string suggestedFileName(const std::vector<std::string> &names, const std::string &suffix);

std::optional<std::string> askFieldText(UserInterface &ui, const std::string &caption, const std::string &prompt,
                                        const std::string &initial, size_t bytes);

} // namespace velmo
