// torvik: the pipe unit price registration program.
#include "torvik/ui/Tftorvik.h"
#include "registration/ui/window_parts.h"
#include "torvik/core/torvik_texts.h"

int main(int argc, char **argv)
{
    // The program folder holds ex_data/ with the default file and the icons. Which file is
    // edited is decided by the argument, never by the name the program was started under
    // (torvik or net_torvik).
    return velmo::runRegistrationProgram(
        argc, argv, velmo::torvik::Title, [](QFont &font) { font.setPointSize(9); },
        [](const velmo::ProgramStart &s) { return std::make_unique<velmo::Tftorvik>(s.dir, s.argument); });
}
