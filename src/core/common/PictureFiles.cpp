#include "common/PictureFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace moque {

bool savePictureWhole(const QImage &image, const QString &path, const char *format, int quality)
{
    QSaveFile file(path);
    if (image.isNull() || !file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, format);
    writer.setQuality(quality);
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool pictureNeedsDrawing(const QString &path)
{
    if (!QFileInfo::exists(path))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() == 0)
        return true;
    if (file.read(2) != QByteArrayLiteral("\xFF\xD8"))
        return false;
    // Some writers pad after the end marker; look at the last few bytes.
    const qint64 tail = qMin<qint64>(file.size() - 2, 16);
    return !file.seek(file.size() - tail) || !file.read(tail).contains(QByteArrayLiteral("\xFF\xD9"));
}

} // namespace moque
