#pragma once

#include <QImage>
#include <QString>

namespace moque::app {

// The splash picture and the main window's background picture of a new data
// directory, drawn by the program so that a first start looks finished.
class DefaultPictures
{
public:
    static QImage splash(const QString &version);
    static QImage background();

    // Writes Sys_boot.jpg and sys_bg.jpg into the folder where they are missing
    // or cut short (a start killed while drawing them).
    static void writeMissing(const QString &imageDir);
};

} // namespace moque::app
