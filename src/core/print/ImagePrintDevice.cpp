#include "print/ImagePrintDevice.h"

#include "print/PainterCanvas.h"
#include "print/Units.h"

#include <cmath>

namespace moque::print {

class ImagePrintDevice::MeasuringCanvas : public PainterCanvas
{
public:
    MeasuringCanvas(QPainter &painter, const DeviceFacts &facts, QList<QRect> &rects)
        : PainterCanvas(painter, facts)
        , m_rects(rects)
    {
    }

    void drawText(int x, int y, const QString &text) override
    {
        PainterCanvas::drawText(x, y, text);
        m_rects << QRect(x, y, textWidth(text), textHeight());
    }

private:
    QList<QRect> &m_rects;
};

ImagePrintDevice::ImagePrintDevice(int dpi)
    : m_dpi(dpi > 0 ? dpi : 96)
{
}

ImagePrintDevice::~ImagePrintDevice()
{
    abort();
}

bool ImagePrintDevice::begin(const PageSetup &)
{
    abort();
    m_rects.clear();
    m_image = QImage(tenthsToScreen(coveredWidth, m_dpi), tenthsToScreen(coveredHeight, m_dpi),
                     QImage::Format_ARGB32_Premultiplied);
    // Fonts are sized in points: the picture must say how many pixels an inch has.
    const int dotsPerMetre = int(std::lround(m_dpi / 0.0254));
    m_image.setDotsPerMeterX(dotsPerMetre);
    m_image.setDotsPerMeterY(dotsPerMetre);
    m_image.fill(Qt::transparent);
    m_painter = std::make_unique<QPainter>(&m_image);
    m_painter->setRenderHint(QPainter::TextAntialiasing);
    m_canvas = std::make_unique<MeasuringCanvas>(*m_painter, DeviceFacts{m_dpi, m_dpi, 0, 0}, m_rects);
    return true;
}

Canvas *ImagePrintDevice::canvas()
{
    return m_canvas.get();
}

bool ImagePrintDevice::end()
{
    m_canvas.reset();
    if (m_painter)
        m_painter->end();
    m_painter.reset();
    return true;
}

void ImagePrintDevice::abort()
{
    end();
}

} // namespace moque::print
