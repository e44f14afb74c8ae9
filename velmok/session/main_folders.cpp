#include "velmok/session/main_folders.h"

#include "base/shared_texts.h"
#include "base/errors.h"
#include "velmok/core/data_folder.h"
#include "velmok/core/velmok_texts.h"

namespace velmo {
namespace fs = std::filesystem;

namespace {

// A folder chosen as "/data/prices/" is the folder "/data/prices": it is stored and shown
// without the separator.
fs::path withoutTrailingSeparator(const fs::path &chosen)
{
    std::string path = chosen.string();
    if (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

} // namespace

void MainFolders::loadFromFolder(bool rememberFolder)
{
    const bool wasModified = modified_;
    const std::optional<bool> asked = host_.askToSave(true);
    if (!asked)
        return; // 戻る
    const bool saved = *asked;
    const auto chosen = ui_.chooseFolder(velmoktext::FolderDialogTitle);
    if (!chosen) {
        // Nothing was read: the edits not saved are still what is shown, and still to save.
        if (!saved)
            modified_ = wasModified;
        return;
    }
    const fs::path folder = withoutTrailingSeparator(*chosen);
    // The folder is adopted only once the current service's file there was read whole. The
    // tree shows this folder's names: a service without a file here shows no pipe names.
    Failures failures;
    TreeNames names;
    ServiceFile next;
    try {
        // A folder without any service file is offered the installation's initial data.
        if (!datafolder::holdsServiceFiles(folder) &&
            ui_.confirm(velmoktext::emptyFolderQuestion(folder), sharedtext::YesButton, sharedtext::CancelButton) ==
                Answer::Yes)
            datafolder::seedServiceFiles(homes_.program, folder);
        names = datafolder::readNames(folder, TreeNames{}, failures);
        next.loadOrCreate(folder / serviceFileName(host_.service()));
    } catch (const IoError &) {
        if (!saved)
            modified_ = wasModified; // the edits of the old folder are still what is shown
        throw;
    }
    host_.adoptFolder(folder, std::move(names), std::move(next));
    if (rememberFolder)
        datafolder::rememberNetworkFolder(homes_.settings, folder);
    failures.raise();
}

void MainFolders::saveToFolder()
{
    ServiceFile &file = host_.loadedFile();
    const auto chosen = ui_.chooseFolder(velmoktext::FolderDialogTitle);
    if (!chosen)
        return;
    const fs::path folder = withoutTrailingSeparator(*chosen);
    const int service = host_.service();
    file.save(folder / serviceFileName(service));
    std::vector<std::string> notCopied;
    if (!datafolder::sameFolder(folder, host_.dataFolder()))
        notCopied = datafolder::copyServiceFiles(host_.dataFolder(), folder, service);
    host_.savedInto(folder);
    modified_ = false;
    std::string message = std::string(velmoktext::SavedNotice) + "\n" + host_.filePath().string();
    if (!notCopied.empty()) {
        message += velmoktext::NotCopiedHeading;
        for (const std::string &m : notCopied)
            message += "\n" + m;
    }
    ui_.notice(message, sharedtext::NoticeButton);
}

} // namespace velmo
