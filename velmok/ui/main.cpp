// velmok: the composite unit price manager.
#include "velmok/ui/TFtankaregist.h"
#include "base/shared_texts.h"
#include "desktop/VelmoApplication.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <string>

int main(int argc, char **argv)
{
    velmo::VelmoApplication app(argc, argv);
    app.setApplicationDisplayName("Velmaro");
    QFont font(velmo::sharedtext::ProportionalGothicFont);
    font.setPointSize(10);
    app.setFont(font);

    // The program file as started, not resolved through links, so that "net_velmok" selects
    // the network edition; its folder holds kanzai/, ex_data/ and the icons.
    const QString started = QString::fromLocal8Bit(argv[0]);
    const QString dir = QCoreApplication::applicationDirPath();
    const QString program = QDir(dir).filePath(QFileInfo(started).fileName());
    // The argument stays bytes: a path in it opens that very file, whatever its encoding.
    const std::string argument = argc > 1 ? std::string(argv[1]) : std::string();

    return velmo::runMainWindow(app, [&] { return std::make_unique<velmo::TFtankaregist>(program, argument); });
}
