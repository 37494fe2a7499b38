#pragma once

#include <QImage>
#include <QString>

namespace moque {

// Writes a picture whole or not at all: it is written beside its place under a
// temporary name and renamed over it only when complete, so that a program
// killed while drawing leaves the old file or none, never half a picture.
bool savePictureWhole(const QImage &image, const QString &path, const char *format, int quality);

// True for a picture of ours that a killed program left behind: an empty
// file, or a JPEG that starts but never reaches its end-of-image marker.
// Anything else, whatever is in it, is somebody's file and counts as whole.
bool isCutShortPicture(const QString &path);

} // namespace moque
