// selvan: the equipment unit price registration program.
#include "selvan/ui/Tfselvan.h"
#include "registration/ui/window_parts.h"
#include "selvan/core/selvan_texts.h"

int main(int argc, char **argv)
{
    // The name the program file was started under selects the duct edition ("dx_selvan"); its
    // folder holds dx_data/ and the icons.
    return velmo::runRegistrationProgram(
        argc, argv, velmo::selvan::AppTitle, [](QFont &font) { font.setPixelSize(12); },
        [](const velmo::ProgramStart &s) { return std::make_unique<velmo::Tfselvan>(s.program, s.argument); });
}
