#pragma once

#include "print/Canvas.h"
#include "templates/PrintItem.h"
#include "templates/TemplateRow.h"

#include <QList>
#include <QString>

namespace moque::design {

// One text of the calibration test page, at a sheet place in 0.1 mm.
struct TestPageText
{
    int x = 0;
    int y = 0;
    QString text;
};

// The calibration page: texts at known places that say where they should
// start, so that a ruler on the printed sheet shows how far the printer is off.
QList<TestPageText> calibrationTexts();
void drawCalibrationPage(print::Canvas &canvas);

// The "对齐网格" page: a grid over the template's paper with a line every
// 5 mm, a heavier line and its number every centimetre and millimetre ticks
// along the centimetre lines, and the box of every printed
// item at its print place (shifted by the whole-template offset) with its
// name. Laid on the pre-printed form against the light, it shows by how much
// and in which direction the template is off.
void drawAlignmentGrid(print::Canvas &canvas, const templates::TemplateRow &row,
                       const QList<templates::PrintItem> &items);

} // namespace moque::design
