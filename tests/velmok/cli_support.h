#pragma once
// velmok-cli run as a program, and helpers for its answers.
#include "tests/common/cli_run.h"
#include "pricefile/service_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace velmo::test {

namespace fs = std::filesystem;

inline Result cli(const std::vector<std::string> &args) { return runProgram(VELMO_CLI, args); }

// The row k (1 … 14) of location loc in the n-th pipe of a calc answer.
inline const Json &rowOf(const Json &calc, size_t n, int loc, int k) { return calc["pipes"][n]["locations"][loc]["rows"][k - 1]; }

// Slots of a record of a dump answer, by name.
inline std::string slotOf(const Json &dump, size_t n, const char *name) { return dump["records"][n][name].str(); }

inline void setFactors(PriceRecord &r, std::initializer_list<const char *> b)
{
    int i = 1;
    for (const char *v : b)
        r.B(i++) = Cur(v);
}

// Settings record and labour record of pipe p (0-based) of a file.
inline PriceRecord &settingsOf(ServiceFile &f, int p) { return f.pipeBlock(p)[14]; }
inline PriceRecord &labourOf(ServiceFile &f, int p) { return f.pipeBlock(p)[59]; }

} // namespace velmo::test
