#include "app/SplashScreen.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace moque::ui {

SplashScreen::SplashScreen(const QString &picturePath, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_picture(picturePath)
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("frmBoot"));
    setObjectName(QStringLiteral("frmBoot"));
    setFixedSize(370, 249);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void SplashScreen::showBriefly(int milliseconds)
{
    show();
    raise();
    repaint();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    hide();
}

void SplashScreen::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!m_picture.isNull())
        p.drawPixmap(rect(), m_picture);
}

} // namespace moque::ui
