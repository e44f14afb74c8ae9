#include "velmok/core/main_folders.h"

#include "base/shared_texts.h"
#include "base/errors.h"
#include "velmok/core/data_folder.h"
#include "velmok/core/main_session.h"

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
    const bool wasModified = s_.modified_;
    const std::optional<bool> asked = s_.askToSave(true);
    if (!asked)
        return; // 戻る
    const bool saved = *asked;
    const auto chosen = s_.ui_.chooseFolder(velmoktext::FolderDialogTitle);
    if (!chosen) {
        // Nothing was read: the edits not saved are still what is shown, and still to save.
        if (!saved)
            s_.modified_ = wasModified;
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
            s_.ui_.confirm(velmoktext::emptyFolderQuestion(folder), controltext::YesButton,
                           controltext::CancelButton) == Answer::Yes)
            datafolder::seedServiceFiles(s_.programDir_, folder);
        names = datafolder::readNames(folder, TreeNames{}, failures);
        next.loadOrCreate(folder / serviceFileName(s_.position_.service));
    } catch (const IoError &) {
        if (!saved)
            s_.modified_ = wasModified; // the edits of the old folder are still what is shown
        throw;
    }
    s_.dataFolder_ = folder;
    s_.names_ = std::move(names);
    s_.file_ = std::move(next);
    s_.serviceLoaded_ = true;
    s_.outside_.settled();
    s_.modified_ = false;
    s_.reportDamage();
    s_.loadPipe(0);
    s_.selectPipeNode();
    if (rememberFolder)
        datafolder::rememberNetworkFolder(s_.homes_.settings, folder);
    failures.raise();
}

void MainFolders::saveToFolder()
{
    s_.requireServiceLoaded();
    const auto chosen = s_.ui_.chooseFolder(velmoktext::FolderDialogTitle);
    if (!chosen)
        return;
    const fs::path folder = withoutTrailingSeparator(*chosen);
    s_.file_.save(folder / serviceFileName(s_.position_.service));
    std::vector<std::string> notCopied;
    if (!datafolder::sameFolder(folder, s_.dataFolder_))
        notCopied = datafolder::copyServiceFiles(s_.dataFolder_, folder, s_.position_.service);
    s_.dataFolder_ = folder;
    s_.modified_ = false;
    std::string message = std::string(velmoktext::SavedNotice) + "\n" + s_.currentFilePath().string();
    if (!notCopied.empty()) {
        message += velmoktext::NotCopiedHeading;
        for (const std::string &m : notCopied)
            message += "\n" + m;
    }
    s_.ui_.notice(message, controltext::NoticeButton);
}

} // namespace velmo
