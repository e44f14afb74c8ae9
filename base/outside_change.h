#pragma once
// What a window shows about another program's change to the file it edits: the bar above the
// grids (shown while this program holds unsaved edits, until the person closes it or the file
// is read again) and the status line after a reload. The session decides; the window only
// shows barText() and statusText().
#include "base/shared_texts.h"

#include <string>

namespace velmo {

class OutsideChange {
public:
    bool barShown() const { return !barText_.empty(); }
    const std::string &barText() const { return barText_; }
    // The status line after the last reload; the revision changes with each reload, so that the
    // window shows it once.
    const std::string &statusText() const { return statusText_; }
    int statusRevision() const { return statusRevision_; }

    // A change seen on disk while the edits are unsaved. `version` tells this change from a
    // later one (what the file or block now holds): a change whose bar was closed is not
    // offered again, a later one is. Returns whether the bar changed.
    bool offer(const std::string &version, const std::string &subject)
    {
        if (version == dismissed_ || (barShown() && version == barVersion_))
            return false;
        barVersion_ = version;
        barText_ = sharedtext::changedOutsideBarText(subject);
        failure_.clear();
        return true;
    }
    // 閉じる: the bar goes until another change comes. The save question still guards this one.
    void dismiss()
    {
        dismissed_ = barVersion_;
        barText_.clear();
    }
    // The file holds what this program read or wrote (a save, another block or file, or the
    // other program's change undone): nothing to show. Returns whether the bar went.
    bool settled()
    {
        const bool shown = barShown();
        barText_.clear();
        barVersion_.clear();
        dismissed_.clear();
        failure_.clear();
        return shown;
    }
    // Read again: the bar goes and the status line says so.
    void reloaded(const std::string &subject)
    {
        settled();
        statusText_ = sharedtext::reloadedStatusText(subject);
        ++statusRevision_;
    }
    // A read at activation failed with `message`. The error box comes once per failure: the
    // window becomes active again each time a box closes, and the same failure is not shown in
    // a loop. Returns whether this failure is new and is to be reported.
    bool newFailure(const std::string &message)
    {
        if (message == failure_)
            return false;
        failure_ = message;
        return true;
    }

private:
    std::string barText_, barVersion_, dismissed_, failure_, statusText_;
    int statusRevision_ = 0;
};

} // namespace velmo
