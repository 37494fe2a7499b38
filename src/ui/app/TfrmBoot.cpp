#include "app/TfrmBoot.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace moque::ui {

TfrmBoot::TfrmBoot(const QString &picturePath, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_picture(picturePath)
{
    setObjectName(QStringLiteral("frmBoot"));
    setFixedSize(370, 249);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TfrmBoot::showBriefly(int milliseconds)
{
    show();
    raise();
    repaint();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    hide();
}

void TfrmBoot::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!m_picture.isNull())
        p.drawPixmap(rect(), m_picture);
}

} // namespace moque::ui
