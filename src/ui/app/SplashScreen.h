#pragma once

#include <QWidget>

namespace moque::ui {

// The splash window: a borderless 370 × 249 picture centred on the screen
// (a missing picture leaves it blank).
class SplashScreen : public QWidget
{
    Q_OBJECT
public:
    explicit SplashScreen(const QString &picturePath, QWidget *parent = nullptr);

    // Shows the splash for about half a second while events are processed, then hides it.
    void showBriefly(int milliseconds = 500);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};

} // namespace moque::ui
