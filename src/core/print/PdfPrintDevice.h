#pragma once

#include "print/PrintDevice.h"

#include <QPainter>
#include <QSaveFile>

#include <memory>

class QPdfWriter;

namespace moque::print {

class PainterCanvas;

// The "PDF" printer: pages of the template's paper size in a PDF file. The
// file appears only when the job ends; an aborted or failed job leaves none.
class PdfPrintDevice : public PrintDevice
{
public:
    static inline const QString printerName = QStringLiteral("PDF");
    static constexpr int resolution = 1200;

    explicit PdfPrintDevice(const QString &outputPath);
    ~PdfPrintDevice() override;

    bool makesCopies() const override { return false; }
    bool isPrinter() const override { return false; }
    bool begin(const PageSetup &setup) override;
    Canvas *canvas() override;
    bool newPage() override;
    bool end() override;
    void abort() override;
    QString errorText() const override { return m_error; }

private:
    QString m_path;
    QString m_error;
    std::unique_ptr<QSaveFile> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<PainterCanvas> m_canvas;
};

} // namespace moque::print
