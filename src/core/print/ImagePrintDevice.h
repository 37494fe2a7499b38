#pragma once

#include "print/PrintDevice.h"

#include <QImage>
#include <QList>
#include <QPainter>
#include <QRect>

#include <memory>

namespace moque::print {

class PainterCanvas;

// A page drawn into a picture at the screen's resolution, from the sheet's
// corner (a screen has no printable-area margins): the print preview shows
// what the print engine draws, and keeps where each text went.
class ImagePrintDevice : public PrintDevice
{
public:
    // The picture covers this much of the sheet whatever the paper, so that
    // items placed beyond a small paper still show.
    static constexpr int coveredWidth = 3000;  // 0.1 mm
    static constexpr int coveredHeight = 3200;

    explicit ImagePrintDevice(int dpi);
    ~ImagePrintDevice() override;

    bool makesCopies() const override { return true; }
    bool isPrinter() const override { return false; }
    bool begin(const PageSetup &setup) override;
    Canvas *canvas() override;
    bool newPage() override { return true; }
    bool end() override;
    void abort() override;
    QString errorText() const override { return {}; }

    const QImage &image() const { return m_image; }
    // Every text drawn so far, in drawing order, in pixels of the picture.
    const QList<QRect> &textRects() const { return m_rects; }

private:
    class MeasuringCanvas;

    int m_dpi;
    QImage m_image;
    QList<QRect> m_rects;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<MeasuringCanvas> m_canvas;
};

} // namespace moque::print
