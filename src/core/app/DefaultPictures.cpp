#include "app/DefaultPictures.h"

#include "app/AppVersion.h"
#include "common/PictureFiles.h"

#include <QDir>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>

namespace moque::app {

namespace {

// Text needs a running GUI application for its fonts; without one the
// pictures keep their plain design.
bool canDrawText()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

void drawBrand(QPainter &p, const QRect &area, int titleSize, int subtitleSize, const QString &subtitle)
{
    QFont title(QStringLiteral("Noto Sans CJK SC"));
    title.setPixelSize(titleSize);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0x1f, 0x2a, 0x44));
    const QRect top(area.left(), area.top(), area.width(), area.height() / 2);
    p.drawText(top, Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("墨雀票据打印"));
    QFont sub(QStringLiteral("Noto Sans CJK SC"));
    sub.setPixelSize(subtitleSize);
    p.setFont(sub);
    p.setPen(QColor(0x4a, 0x55, 0x6e));
    const QRect bottom(area.left(), area.center().y() + subtitleSize / 2, area.width(), area.height() / 2);
    p.drawText(bottom, Qt::AlignHCenter | Qt::AlignTop, subtitle);
}

} // namespace

QImage DefaultPictures::splash(const QString &version)
{
    QImage img(370, 249, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, img.height());
    g.setColorAt(0, QColor(0xf4, 0xf1, 0xe8));
    g.setColorAt(1, QColor(0xdc, 0xe3, 0xee));
    p.fillRect(img.rect(), g);
    p.setPen(QPen(QColor(0xb0, 0x2a, 0x2a), 3));
    p.drawRect(img.rect().adjusted(6, 6, -7, -7));
    if (canDrawText()) {
        drawBrand(p, img.rect().adjusted(10, 10, -10, -60), 34, 14,
                  QStringLiteral("快递单 · 收据 · 发票 套打"));
        QFont small(QStringLiteral("Noto Sans CJK SC"));
        small.setPixelSize(12);
        p.setFont(small);
        p.setPen(QColor(0x4a, 0x55, 0x6e));
        p.drawText(img.rect().adjusted(10, 0, -10, -18), Qt::AlignHCenter | Qt::AlignBottom,
                   QStringLiteral("版本 %1  正在启动……").arg(version));
    }
    return img;
}

QImage DefaultPictures::background()
{
    QImage img(1280, 800, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, img.width(), img.height());
    g.setColorAt(0, QColor(0xf7, 0xf5, 0xef));
    g.setColorAt(1, QColor(0xe1, 0xe8, 0xf1));
    p.fillRect(img.rect(), g);
    p.setPen(QPen(QColor(0xd5, 0xdb, 0xe5), 1));
    for (int y = 40; y < img.height(); y += 40)
        p.drawLine(0, y, img.width(), y);
    if (canDrawText())
        drawBrand(p, img.rect(), 64, 22, QStringLiteral("把数据准确地打印在预印的票据上"));
    return img;
}

void DefaultPictures::writeMissing(const QString &imageDir)
{
    const QDir dir(imageDir);
    const QString splashPath = dir.filePath(QStringLiteral("Sys_boot.jpg"));
    if (pictureNeedsDrawing(splashPath))
        savePictureWhole(splash(getAppVersion(2)), splashPath, "JPG", 92);
    const QString bgPath = dir.filePath(QStringLiteral("sys_bg.jpg"));
    if (pictureNeedsDrawing(bgPath))
        savePictureWhole(background(), bgPath, "JPG", 90);
}

} // namespace moque::app
