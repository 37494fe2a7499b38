#include "designers/ImageViewer.h"

#include "app/AppCore.h"
#include "templates/TemplateCatalog.h"

#include <QEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QVBoxLayout>

namespace moque::ui {

ImageViewer::ImageViewer(app::AppCore &core, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
{
    setObjectName(QStringLiteral("frmImageShow"));
    setWindowTitle(QStringLiteral("墨雀软件-图片查看"));
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("imgShow"));
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setToolTip(QStringLiteral("单击关闭"));
    m_picture->installEventFilter(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_picture);
}

QString ImageViewer::shownText() const
{
    return m_picture->text();
}

void ImageViewer::loadPictureByFullName(const QString &fullName)
{
    m_picture->clear();
    setWindowTitle(QStringLiteral("墨雀软件-模板图片查看【") + fullName + QStringLiteral("】"));
    templates::TemplateCatalog catalog(m_core.db(), m_core.dialogs(), m_core.store());
    const std::optional<templates::TemplateRow> row = catalog.templateByFullName(fullName);
    if (!row || row->imageFile.trimmed().isEmpty()) {
        m_picture->setText(QStringLiteral("没有有效的图片文件~"));
        resize(360, 120);
        return;
    }
    QImageReader reader(m_core.dir().imageDir() + row->imageFile);
    const QImage image = reader.read();
    if (image.isNull()) {
        m_picture->setText(reader.errorString() + QLatin1Char('\n') + reader.fileName());
        resize(480, 120);
        return;
    }
    m_picture->setPixmap(QPixmap::fromImage(image));
    resize(image.size());
}

void ImageViewer::loadPicture(const QString &path, const QSize &size)
{
    m_picture->clear();
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        m_picture->setText(QStringLiteral("没有有效的图片文件~") + QLatin1Char('\n') + QFileInfo(path).fileName());
    else
        m_picture->setPixmap(QPixmap::fromImage(image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    resize(size);
}

bool ImageViewer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_picture
        && (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonDblClick)) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace moque::ui
