#include "torvik/ui/TftorvikLooks.h"

#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>

namespace velmo::torvikwindow {

QString iconPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath("velmok.png");
}

QWidget *gradientBand(const QString &caption, const QColor &captionColor, QWidget *parent)
{
    auto *band = new QWidget(parent);
    band->setObjectName("gradientBand");
    band->setAttribute(Qt::WA_StyledBackground, true);
    band->setStyleSheet("#gradientBand { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
                        "stop:0 #ffffff, stop:0.45 #ffffff, stop:1 #8e8ca2); }");
    auto *l = new QHBoxLayout(band);
    l->setContentsMargins(6, 2, 6, 2);
    l->setSpacing(6);
    auto *icon = new QLabel(band);
    const QPixmap pixmap(iconPath());
    if (!pixmap.isNull())
        icon->setPixmap(pixmap.scaled(24, 24, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setFixedSize(24, 24);
    auto *text = new QLabel(caption, band);
    text->setObjectName("bandCaption");
    text->setStyleSheet(QString("color: %1; font-weight: bold; font-size: 11pt;").arg(captionColor.name()));
    l->addWidget(icon);
    l->addWidget(text);
    l->addStretch();
    return band;
}

QLabel *bandLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setStyleSheet("color: white; font-weight: bold;");
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace velmo::torvikwindow
