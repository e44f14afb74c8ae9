// Draws the programs' icons and writes them as .ico files: the message box icon "dialog.ico"
// and the application icon "velmok.ico". Usage: mkicons OUTPUT_FOLDER
#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cstdio>

namespace {

QImage canvas(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

// A blue rounded tile with a white exclamation mark: questions and notices.
QImage dialogIcon(int size)
{
    QImage img = canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QLinearGradient g(0, 0, 0, s);
    g.setColorAt(0, QColor(96, 120, 200));
    g.setColorAt(1, QColor(40, 56, 140));
    p.setBrush(g);
    p.setPen(QPen(QColor(24, 32, 90), s / 32));
    p.drawRoundedRect(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88), s * 0.18, s * 0.18);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(s * 0.43, s * 0.2, s * 0.14, s * 0.42), s * 0.05, s * 0.05);
    p.drawEllipse(QRectF(s * 0.42, s * 0.68, s * 0.16, s * 0.16));
    return img;
}

// A grey-violet tile crossed by a copper pipe with a flange: the composite unit price manager.
QImage appIcon(int size)
{
    QImage img = canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setBrush(QColor(142, 140, 162));
    p.setPen(QPen(QColor(70, 68, 96), s / 32));
    p.drawRoundedRect(QRectF(s * 0.05, s * 0.05, s * 0.9, s * 0.9), s * 0.16, s * 0.16);
    QLinearGradient pipe(0, s * 0.38, 0, s * 0.62);
    pipe.setColorAt(0, QColor(240, 180, 120));
    pipe.setColorAt(0.5, QColor(200, 110, 50));
    pipe.setColorAt(1, QColor(120, 60, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(pipe);
    p.drawRect(QRectF(s * 0.1, s * 0.4, s * 0.8, s * 0.2));
    p.setBrush(QColor(90, 90, 110));
    p.drawRect(QRectF(s * 0.44, s * 0.3, s * 0.12, s * 0.4));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawRect(QRectF(s * 0.1, s * 0.42, s * 0.8, s * 0.03));
    return img;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkicons OUTPUT_FOLDER\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    bool ok = dialogIcon(32).save(dir + "/dialog.ico", "ICO");
    ok = appIcon(48).save(dir + "/velmok.ico", "ICO") && ok;
    ok = appIcon(256).save(dir + "/velmok.png", "PNG") && ok;
    if (!ok) {
        std::fprintf(stderr, "mkicons: cannot write the icons into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
