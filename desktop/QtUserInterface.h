#pragma once
// The sessions' questions, notices, input boxes, dialogs, clipboard and outside programs as the
// real desktop gives them.
#include "base/child_reaper.h"
#include "base/user_interface.h"

#include <memory>

class QString;
class QTimer;
class QWidget;

namespace velmo {

// The save dialog of every program: the filter, the suffix added to a name typed without one,
// and the suggested name, in the folder of the last file saved through it in this run, else
// the person's documents folder, else their home. An empty text when cancelled.
QString askSaveFile(QWidget *parent, const QString &caption, const QString &filter, const QString &suffix,
                    const QString &suggestedName);

class QtUserInterface : public UserInterface {
public:
    explicit QtUserInterface(QWidget *owner = nullptr);
    ~QtUserInterface() override;
    void setOwner(QWidget *owner) { owner_ = owner; }

    Answer confirm(const std::string &message, const std::string &yes, const std::string &no,
                   Answer defaultButton = Answer::Yes) override;
    Answer confirmOrBack(const std::string &message, const std::string &yes, const std::string &no,
                         const std::string &back, Answer defaultButton = Answer::Yes) override;
    void notice(const std::string &message, const std::string &button) override;
    std::optional<std::string> askText(const std::string &caption, const std::string &prompt,
                                       const std::string &initial, size_t maxBytes) override;
    std::optional<std::filesystem::path> chooseFolder(const std::string &title) override;
    std::optional<std::filesystem::path> chooseSaveFile(const std::string &filter, const std::string &defaultSuffix,
                                                        const std::string &suggestedName) override;
    std::optional<std::filesystem::path> chooseOpenFile(const std::string &title, const std::string &filter) override;
    bool reviewPriceImport(PriceImportChoice &choice) override;
    void setClipboardContent(const ClipboardContent &content) override;
    ClipboardContent clipboardContent() const override;
    bool startProgram(const std::string &program, const std::vector<std::string> &arguments,
                      const std::string &workingFolder) override;
    bool openAddress(const std::string &address) override;
    void beep() override;
    Rect screen() const override;
    Rect workArea() const override;
    MemoryStatus memoryStatus() const override;
    std::optional<RevisionChoice>
    askRevision(const RevisionDialogText &text,
                const std::function<RevisionPreview(const RevisionChoice &)> &preview) override;
    std::optional<size_t> chooseEarlierVersion(const VersionListView &list, const VersionComparer &compare) override;

private:
    QWidget *owner_;
    // The programs started, reaped once a second until each has ended.
    ChildReaper reaper_;
    std::unique_ptr<QTimer> reapTimer_;
};

} // namespace velmo
