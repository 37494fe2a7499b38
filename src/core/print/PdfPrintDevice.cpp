#include "print/PdfPrintDevice.h"

#include "print/PainterCanvas.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace moque::print {

PdfPrintDevice::PdfPrintDevice(const QString &outputPath)
    : m_path(outputPath)
{
}

PdfPrintDevice::~PdfPrintDevice()
{
    abort();
}

bool PdfPrintDevice::begin(const PageSetup &setup)
{
    abort();
    m_error.clear();
    // The file is written beside its place and renamed over it: through a link that
    // is its target; a device, pipe or folder is no place for a PDF and is never replaced.
    QString path = m_path;
    const QFileInfo named(m_path);
    if (named.isSymLink())
        path = named.exists() ? named.canonicalFilePath() : named.symLinkTarget();
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        m_error = QStringLiteral("无法写入文件：%1（不是普通文件）").arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    m_file = std::make_unique<QSaveFile>(path);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("无法写入文件：%1（%2）").arg(QDir::toNativeSeparators(m_path), m_file->errorString());
        m_file.reset();
        return false;
    }
    m_writer = std::make_unique<QPdfWriter>(m_file.get());
    m_writer->setResolution(resolution);
    m_writer->setTitle(setup.title);
    m_writer->setCreator(QStringLiteral("墨雀票据打印"));
    // A landscape form is as wide as its longer side, however its size was entered;
    // the page size is given upright and the orientation turns it.
    QSizeF paper(setup.paperWidth / 10.0, setup.paperHeight / 10.0);
    if (setup.landscape && paper.width() > paper.height())
        paper.transpose();
    const QPageSize size(paper, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    m_writer->setPageLayout(QPageLayout(size, setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                        QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_writer.get())) {
        m_error = QStringLiteral("无法开始PDF文件：%1").arg(QDir::toNativeSeparators(m_path));
        abort();
        return false;
    }
    m_canvas = std::make_unique<PainterCanvas>(*m_painter, DeviceFacts{resolution, resolution, 0, 0});
    return true;
}

Canvas *PdfPrintDevice::canvas()
{
    return m_canvas.get();
}

bool PdfPrintDevice::newPage()
{
    return m_writer && m_writer->newPage();
}

bool PdfPrintDevice::end()
{
    if (!m_painter)
        return false;
    m_canvas.reset();
    m_painter->end();
    m_painter.reset();
    m_writer.reset();
    const bool ok = m_file->commit();
    if (!ok)
        m_error = QStringLiteral("无法写入文件：%1（%2）").arg(QDir::toNativeSeparators(m_path), m_file->errorString());
    m_file.reset();
    return ok;
}

void PdfPrintDevice::abort()
{
    m_canvas.reset();
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    m_writer.reset();
    if (m_file)
        m_file->cancelWriting();
    m_file.reset();
}

} // namespace moque::print
