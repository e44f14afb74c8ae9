#pragma once
// Programs started without waiting (the print program), reaped once they end. A program is
// started through a second process that ends at once, so its parent is whichever process
// collects orphans: normally the system's first process, but when this program is that
// process (the first process of a container) or has asked to collect its orphans, an ended
// program would stay a zombie until this one ends. The reaper collects exactly the processes
// it was given, never another child's exit.
#include <vector>

namespace velmo {

class ChildReaper {
public:
    // Watches the process `pid` (a positive process id).
    void watch(int pid);
    // Collects the exit of every watched process that has ended, and forgets the ones that are
    // not children of this process (the system collects those). Returns how many are still
    // watched.
    int reapEnded();
    int watched() const { return static_cast<int>(pids_.size()); }

private:
    std::vector<int> pids_;
};

} // namespace velmo
