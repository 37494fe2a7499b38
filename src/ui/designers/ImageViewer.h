#pragma once

#include <QDialog>

class QLabel;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The picture viewer ("frmImageShow"): a template's background picture, or a
// help picture at a given size. A click on the picture closes it.
class ImageViewer : public QDialog
{
    Q_OBJECT
public:
    explicit ImageViewer(app::AppCore &core, QWidget *parent = nullptr);

    // The background picture of the template of that full name.
    void loadPictureByFullName(const QString &fullName);
    // A picture file shown at the size given; a missing file says so.
    void loadPicture(const QString &path, const QSize &size);

    QString shownText() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    app::AppCore &m_core;
    QLabel *m_picture = nullptr;
};

} // namespace moque::ui
