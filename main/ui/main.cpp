// velmok: the composite unit price manager.
#include "TFtankaregist.h"
#include "VelmoApplication.h"

#include <QDir>
#include <QFileInfo>

int main(int argc, char **argv)
{
    velmo::VelmoApplication app(argc, argv);
    app.setApplicationDisplayName("Velmaro");
    QFont font("ＭＳ Ｐゴシック");
    font.setPointSize(10);
    app.setFont(font);

    // The program file as started, not resolved through links, so that "net_velmok" selects
    // the network edition; its folder holds kanzai/, ex_data/ and the icons.
    const QString started = QString::fromLocal8Bit(argv[0]);
    const QString dir = QCoreApplication::applicationDirPath();
    const QString program = QDir(dir).filePath(QFileInfo(started).fileName());
    const QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    velmo::TFtankaregist window(program, argument);
    window.show();
    return app.exec();
}
