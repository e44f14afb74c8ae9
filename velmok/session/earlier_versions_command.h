#pragma once
// ファイル → "以前の版…" of velmok: the earlier versions of the service file shown, each compared
// with the file; 元に戻す puts the chosen one back as the file's save does (the whole file, kept
// from a second writer's change), refused while the data shown have edits not saved; the file
// is read again after it, as after another program's change.
#include "velmok/session/main_seams.h"

namespace velmo {

class UserInterface;

class EarlierVersionsCommand {
public:
    EarlierVersionsCommand(FolderHost &host, const bool &modified, UserInterface &ui)
        : host_(host), modified_(modified), ui_(ui)
    {
    }
    EarlierVersionsCommand(const EarlierVersionsCommand &) = delete;
    EarlierVersionsCommand &operator=(const EarlierVersionsCommand &) = delete;

    void earlierVersions();

private:
    FolderHost &host_;
    const bool &modified_;
    UserInterface &ui_;
};

} // namespace velmo
