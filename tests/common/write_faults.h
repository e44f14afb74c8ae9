#pragma once
// The faults of the write fault matrices: each stage of a whole-file write with a cause, and
// the Japanese words the error must hold for it.
#include "base/errors.h"
#include "base/fileio.h"

#include <cerrno>
#include <string>

namespace velmo::test {

struct PlannedFault {
    WriteFault::Stage stage;
    int error;
    const char *cause;
};

inline const PlannedFault PlannedFaults[] = {
    {WriteFault::Stage::Create, EROFS, "読み取り専用"},  {WriteFault::Stage::Create, EACCES, "アクセスが拒否"},
    {WriteFault::Stage::Write, ENOSPC, "空き容量"},      {WriteFault::Stage::Write, EIO, "読み書き"},
    {WriteFault::Stage::Fsync, EIO, "読み書き"},         {WriteFault::Stage::Fsync, ENOSPC, "空き容量"},
    {WriteFault::Stage::Look, EIO, "読み書き"},          {WriteFault::Stage::Look, ESTALE, "ネットワーク"},
    {WriteFault::Stage::Rename, EACCES, "アクセスが拒否"}, {WriteFault::Stage::Rename, EXDEV, "別のドライブ"},
};

// Plans a fault for the n-th write of its scope.
struct FaultScope {
    explicit FaultScope(const PlannedFault &f, int nthWrite = 1) { planWriteFault({f.stage, nthWrite, f.error}); }
    ~FaultScope() { clearWriteFault(); }
    FaultScope(const FaultScope &) = delete;
    FaultScope &operator=(const FaultScope &) = delete;
};

// The message of the IoError `command` raises; empty when it raises none.
template <typename F>
std::string ioErrorMessage(F &&command)
{
    try {
        command();
    } catch (const IoError &e) {
        return e.what();
    }
    return "";
}

} // namespace velmo::test
