#pragma once
// The command line of the composite unit price manager: "service;pipe;" (for example "3;5;").
#include <string>

namespace velmo {

struct MainArgument {
    int service = 0; // 0 … 9
    int pipe = 0;    // 0 … 19
    // A number given outside its range, in Japanese for a notice; empty when there is none.
    std::string refused;
};

// Field 1 is the service 1–10, field 2 the pipe 1–20, each taken with SplitField; a field that
// is missing, not a number or out of range takes 1, and a number out of range is named in
// `refused` (so a calling program's mistake does not open the wrong pipe unseen). SplitField
// gives field 1's text for field 2 of "3;": the pipe is then 3.
MainArgument parseMainArgument(const std::string &argument);

} // namespace velmo
