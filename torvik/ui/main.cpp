// torvik: the pipe unit price registration program.
#include "torvik/ui/Tftorvik.h"
#include "desktop/VelmoApplication.h"
#include "torvik/core/torvik_texts.h"

#include <memory>
#include <string>

int main(int argc, char **argv)
{
    velmo::VelmoApplication app(argc, argv);
    app.setApplicationDisplayName(velmo::torvik::Title);
    QFont font("ＭＳ Ｐゴシック");
    font.setPointSize(9);
    app.setFont(font);

    // The program folder holds ex_data/ with the default file and the icons. Which file is
    // edited is decided by the argument, never by the name the program was started under
    // (torvik or net_torvik).
    const QString dir = QCoreApplication::applicationDirPath();
    // The argument stays bytes: a path in it opens that very file, whatever its encoding.
    const std::string argument = argc > 1 ? std::string(argv[1]) : std::string();
    return velmo::runMainWindow(app, [&] { return std::make_unique<velmo::Tftorvik>(dir, argument); });
}
