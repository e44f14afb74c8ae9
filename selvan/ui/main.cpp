// selvan: the equipment unit price registration program.
#include "selvan/ui/Tfselvan.h"
#include "desktop/VelmoApplication.h"
#include "selvan/core/selvan_texts.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <string>

int main(int argc, char **argv)
{
    velmo::VelmoApplication app(argc, argv);
    app.setApplicationDisplayName(velmo::selvan::AppTitle);
    QFont font("ＭＳ Ｐゴシック");
    font.setPixelSize(12);
    app.setFont(font);

    // The program file as started, not resolved through links, so that "dx_selvan" selects
    // the duct edition; its folder holds dx_data/ and the icons.
    const QString started = QString::fromLocal8Bit(argv[0]);
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QFileInfo(started).fileName());
    // The argument stays bytes: a path in it opens that very file, whatever its encoding.
    const std::string argument = argc > 1 ? std::string(argv[1]) : std::string();

    return velmo::runMainWindow(app, [&] { return std::make_unique<velmo::Tfselvan>(program, argument); });
}
