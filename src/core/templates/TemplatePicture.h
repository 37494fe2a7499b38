#pragma once

#include "templates/PrintItem.h"
#include "templates/TemplateRow.h"

#include <QImage>
#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace moque::templates {

// Draws the background picture of a template as a pre-printed paper form at
// the template's screen size (TWidth × THeight): paper, border, the form's
// title, and for every shown print item a box at its screen place with its
// caption, the parties' blocks framed. Drawn from the items themselves, the
// picture always agrees with where the entry controls sit. Text needs a
// QGuiApplication; without one only the boxes and frames are drawn.
QImage drawFormPicture(const TemplateRow &row, const QList<PrintItem> &items);

// Draws and writes, for every template of the data file whose picture file
// (ImgFile) is missing from imageDir or was cut short, its picture, whole
// or not at all. Whole files are never touched; a picture that cannot be
// written is skipped.
void writeMissingPictures(QSqlDatabase db, const QString &imageDir);

} // namespace moque::templates
