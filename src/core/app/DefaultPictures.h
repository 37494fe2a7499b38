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
    // The help pictures of paper fed upright (纵向) or sideways (横向).
    static QImage paperFeed(bool landscape);

    // Writes Sys_boot.jpg, sys_bg.jpg and the paper feed pictures into the folder where they are missing
    // or cut short (a start killed while drawing them).
    static void writeMissing(const QString &imageDir);
};

} // namespace moque::app
