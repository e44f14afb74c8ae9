// Writes an application icon in the sizes of the freedesktop icon theme:
// OUTPUT_ROOT/<size>x<size>/apps/NAME.png for each SIZE, scaled from SOURCE (the largest
// picture of the icon; mkicons draws it). A HUE_SHIFT other than 0 turns the colours of every
// pixel by that many degrees, so that the three programs share one drawing and still tell
// apart in a menu.
// Usage: mkiconset SOURCE.png OUTPUT_ROOT NAME HUE_SHIFT SIZE...
#include <QColor>
#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

QImage turnedHue(const QImage &source, int degrees)
{
    QImage img = source.convertToFormat(QImage::Format_ARGB32);
    if (degrees % 360 == 0)
        return img;
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            QColor c = QColor::fromRgba(line[x]);
            int h = 0, s = 0, v = 0, a = 0;
            c.getHsv(&h, &s, &v, &a);
            if (h >= 0) // grey has no hue and stays grey
                c.setHsv((h + degrees) % 360, s, v, a);
            line[x] = c.rgba();
        }
    }
    return img;
}

bool parseNumber(const char *text, int low, int high, int &out)
{
    char *end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || n < low || n > high)
        return false;
    out = static_cast<int>(n);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    int shift = 0;
    if (argc < 6 || !parseNumber(argv[4], 0, 359, shift)) {
        std::fprintf(stderr, "usage: mkiconset SOURCE.png OUTPUT_ROOT NAME HUE_SHIFT SIZE...\n");
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull()) {
        std::fprintf(stderr, "mkiconset: cannot read %s\n", argv[1]);
        return 1;
    }
    const QImage turned = turnedHue(source, shift);
    const QString root = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 5; i < argc; ++i) {
        int size = 0;
        if (!parseNumber(argv[i], 8, 1024, size)) {
            std::fprintf(stderr, "mkiconset: '%s' is not an icon size\n", argv[i]);
            return 2;
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QString file = dir + QLatin1Char('/') + name + QStringLiteral(".png");
        const QImage scaled = size == turned.width() && size == turned.height()
            ? turned
            : turned.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!QDir().mkpath(dir) || !scaled.save(file, "PNG")) {
            std::fprintf(stderr, "mkiconset: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
