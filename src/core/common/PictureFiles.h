#pragma once

#include <QImage>
#include <QString>

namespace moque {

// Writes a picture whole or not at all: it is written beside its place under a
// temporary name and renamed over it only when complete, so that a program
// killed while drawing leaves the old file or none, never half a picture.
bool savePictureWhole(const QImage &image, const QString &path, const char *format, int quality);

// True where a picture of ours is to be drawn: the file is missing, or a
// killed program left it behind empty or as a JPEG that starts but never
// reaches its end-of-image marker. Anything else, whatever is in it, is
// somebody's file and is left alone.
bool pictureNeedsDrawing(const QString &path);

} // namespace moque
