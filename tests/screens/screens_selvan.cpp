#include "selvan/ui/TFSelect_Data_K.h"
#include "selvan/ui/Tfselvan.h"
#include "tests/screens/screens_programs.h"

namespace velmo::test {

std::unique_ptr<QMainWindow> makeSelvan(const std::filesystem::path &folder, UserInterface &ui)
{
    return std::make_unique<Tfselvan>(QString::fromStdString((folder / "selvan").string()), "", &ui);
}

void chooseSelvanBlock(QMainWindow &selvan)
{
    static_cast<Tfselvan &>(selvan).selectDialog().execFor();
}

} // namespace velmo::test
