#include "design/TestPages.h"

#include "print/Units.h"

namespace moque::design {

namespace {

const QString pageFace = QStringLiteral("宋体");

// A millimetre value as the page writes it: "12", "-7", "2.5".
QString millimetres(int tenths)
{
    return QString::number(tenths / 10.0);
}

void lineOnSheet(print::Canvas &canvas, int x1, int y1, int x2, int y2, int penTenths)
{
    const print::DeviceFacts f = canvas.facts();
    const print::DevicePoint a = print::sheetToDevice(x1, y1, f);
    const print::DevicePoint b = print::sheetToDevice(x2, y2, f);
    canvas.drawLine(a.x, a.y, b.x, b.y, qMax(1, print::tenthsToDevice(penTenths, f.dpiX)));
}

void textOnSheet(print::Canvas &canvas, int x, int y, const QString &text)
{
    const print::DevicePoint p = print::sheetToDevice(x, y, canvas.facts());
    canvas.drawText(p.x, p.y, text);
}

} // namespace

QList<TestPageText> calibrationTexts()
{
    static const int places[][2] = {{-70, -10}, {0, 0},     {10, 50},    {20, 100},
                                    {50, 150},  {100, 200}, {100, 1000}, {100, 1200}};
    QList<TestPageText> texts;
    for (const auto &p : places)
        texts.append({p[0], p[1],
                      QStringLiteral("这里是向右偏移:") + millimetres(p[0]) + QStringLiteral("mm向下偏移：")
                          + millimetres(p[1]) + QStringLiteral("mm的起始位")});
    return texts;
}

void drawCalibrationPage(print::Canvas &canvas)
{
    canvas.setFont({pageFace, 10});
    for (const TestPageText &t : calibrationTexts())
        textOnSheet(canvas, t.x, t.y, t.text);
}

void drawAlignmentGrid(print::Canvas &canvas, const templates::TemplateRow &row,
                       const QList<templates::PrintItem> &items)
{
    const int width = row.effectivePaperWidth();
    const int height = row.effectivePaperHeight();
    // A line every 5 mm, heavier every centimetre; the millimetres are ticks
    // along the centimetre lines, so that the items' boxes stay readable on
    // a dot-matrix printer.
    for (int x = 0; x <= width; x += 50)
        lineOnSheet(canvas, x, 0, x, height, x % 100 == 0 ? 2 : 0);
    for (int y = 0; y <= height; y += 50)
        lineOnSheet(canvas, 0, y, width, y, y % 100 == 0 ? 2 : 0);
    constexpr int tick = 8;
    for (int x = 0; x <= width; x += 100)
        for (int y = 10; y < height; y += 10)
            if (y % 50 != 0)
                lineOnSheet(canvas, x - tick, y, x + tick, y, 0);
    for (int y = 0; y <= height; y += 100)
        for (int x = 10; x < width; x += 10)
            if (x % 50 != 0)
                lineOnSheet(canvas, x, y - tick, x, y + tick, 0);
    canvas.setFont({pageFace, 7});
    for (int x = 100; x < width; x += 100)
        textOnSheet(canvas, x + 5, 5, QString::number(x / 100));
    for (int y = 100; y < height; y += 100)
        textOnSheet(canvas, 5, y + 5, QString::number(y / 100));

    canvas.setFont({pageFace, 7, false, false, false, Qt::darkRed});
    for (const templates::PrintItem &item : items) {
        if (item.needPrint != 1)
            continue;
        const int left = item.x + row.xMove;
        const int top = item.y + row.yMove;
        // An item without a print box still shows where it starts.
        const int right = left + qMax(item.width, 20);
        const int bottom = top + qMax(item.height, 20);
        lineOnSheet(canvas, left, top, right, top, 3);
        lineOnSheet(canvas, right, top, right, bottom, 3);
        lineOnSheet(canvas, right, bottom, left, bottom, 3);
        lineOnSheet(canvas, left, bottom, left, top, 3);
        textOnSheet(canvas, left + 5, top + 5, item.caption.trimmed().isEmpty() ? item.name : item.caption);
    }
}

} // namespace moque::design
