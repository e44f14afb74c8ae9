// The yardstick of start-up time: the least a Qt Widgets program does before its first window
// is on screen, a label with a Japanese text. start_ratio compares the programs against it.
#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel label("複合単価管理");
    label.resize(320, 120);
    label.show();
    return app.exec();
}
