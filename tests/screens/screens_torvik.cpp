#include "tests/torvik/torvik_fixture.h" // before any Qt header

#include "torvik/ui/TFSelect_Data.h"
#include "torvik/ui/Tftorvik.h"
#include "tests/screens/screens_programs.h"

namespace velmo::test {

std::unique_ptr<QMainWindow> makeTorvik(const std::filesystem::path &folder, UserInterface &ui)
{
    std::filesystem::create_directories(folder / "ex_data");
    seedPipeFile(folder / "ex_data" / "kanzai1.fda");
    return std::make_unique<Tftorvik>(QString::fromStdString(folder.string()), "", &ui);
}

void chooseTorvikBlock(QMainWindow &torvik)
{
    static_cast<Tftorvik &>(torvik).selectDialog().choose();
}

} // namespace velmo::test
