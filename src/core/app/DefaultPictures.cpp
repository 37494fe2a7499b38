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

QImage DefaultPictures::paperFeed(bool landscape)
{
    QImage img(400, 400, QImage::Format_RGB32);
    img.fill(QColor(0xfb, 0xfa, 0xf6));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // The printer seen from above, its paper guide (挡板) on the left of the slot.
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), 2));
    p.setBrush(QColor(0xc8, 0xcd, 0xd6));
    p.drawRoundedRect(QRect(40, 40, 320, 90), 10, 10);
    p.setBrush(QColor(0x33, 0x33, 0x33));
    p.drawRect(QRect(70, 120, 260, 8));
    p.setBrush(QColor(0xb0, 0x2a, 0x2a));
    p.drawRect(QRect(70, 112, 10, 26));
    // The form on its way in, the edge that goes first at the top.
    const QRect sheet = landscape ? QRect(80, 150, 240, 130) : QRect(80, 150, 140, 200);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0x4a, 0x55, 0x6e), 2));
    p.drawRect(sheet);
    p.setPen(QPen(QColor(0xd5, 0xdb, 0xe5), 1));
    for (int y = sheet.top() + 20; y < sheet.bottom(); y += 20)
        p.drawLine(sheet.left() + 10, y, sheet.right() - 10, y);
    p.setPen(QPen(QColor(0xb0, 0x2a, 0x2a), 4));
    const int ax = sheet.right() + 30;
    p.drawLine(ax, sheet.bottom(), ax, sheet.top());
    p.drawLine(ax, sheet.top(), ax - 10, sheet.top() + 14);
    p.drawLine(ax, sheet.top(), ax + 10, sheet.top() + 14);
    if (canDrawText()) {
        QFont f(QStringLiteral("Noto Sans CJK SC"));
        f.setPixelSize(16);
        p.setFont(f);
        p.setPen(QColor(0x1f, 0x2a, 0x44));
        p.drawText(QRect(20, 60, 360, 40), Qt::AlignCenter, QStringLiteral("打印机（俯视）"));
        p.drawText(QRect(10, 360, 380, 30), Qt::AlignCenter,
                   landscape ? QStringLiteral("横向进纸：票据的长边先进入，左边靠挡板")
                             : QStringLiteral("纵向进纸：票据的短边先进入，左边靠挡板"));
    }
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
    for (const bool landscape : {false, true}) {
        const QString path = dir.filePath(landscape ? QStringLiteral("sys_exHX.jpg") : QStringLiteral("sys_exZX.jpg"));
        if (pictureNeedsDrawing(path))
            savePictureWhole(paperFeed(landscape), path, "JPG", 90);
    }
}

} // namespace moque::app
