#include "preview/printjob.h"

#include "platform/safefile.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

QPageLayout paperLayout(QSizeF paperCm, bool landscape)
{
    const QPageSize size(paperCm * 10.0, QPageSize::Millimeter, QString(),
                         QPageSize::FuzzyOrientationMatch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

PdfPrintJob::PdfPrintJob(const QString& path, QSizeF paperCm, bool landscape, int dpi,
                         const QString& title)
    : m_path(path)
{
    m_buffer.open(QIODevice::WriteOnly);
    m_writer = std::make_unique<QPdfWriter>(&m_buffer);
    m_writer->setResolution(dpi);
    m_writer->setPageLayout(paperLayout(paperCm, landscape));
    m_writer->setCreator(QStringLiteral("Dilboscan"));
    m_writer->setTitle(title);
}

PdfPrintJob::~PdfPrintJob() = default;

QPagedPaintDevice* PdfPrintJob::device()
{
    return m_writer.get();
}

QSize PdfPrintJob::pageSize() const
{
    return QSize(m_writer->width(), m_writer->height());
}

bool PdfPrintJob::begin(QPainter& painter, QString* error)
{
    if (painter.begin(m_writer.get()))
        return true;
    if (error)
        *error = QStringLiteral("%1: the PDF document cannot be started").arg(m_path);
    return false;
}

bool PdfPrintJob::newPage(QString* error)
{
    if (m_writer->newPage())
        return true;
    if (error)
        *error = QStringLiteral("%1: no new page can be started").arg(m_path);
    return false;
}

bool PdfPrintJob::end(QPainter& painter, QString* error)
{
    if (!painter.end()) {
        if (error)
            *error = QStringLiteral("%1: the PDF document cannot be finished").arg(m_path);
        return false;
    }
    m_buffer.close();
    return writeFileAtomically(m_path, m_buffer.data(), error);
}

void PdfPrintJob::abort(QPainter& painter)
{
    if (painter.isActive())
        painter.end();
    m_buffer.close();
    m_buffer.setData(QByteArray());
}

SystemPrintJob::SystemPrintJob(std::shared_ptr<QPrinter> printer) : m_printer(std::move(printer)) {}

SystemPrintJob::~SystemPrintJob() = default;

QPagedPaintDevice* SystemPrintJob::device()
{
    return m_printer.get();
}

QSize SystemPrintJob::pageSize() const
{
    return m_printer->pageRect(QPrinter::DevicePixel).size().toSize();
}

QString SystemPrintJob::failure(const QString& what) const
{
    return QStringLiteral("Printer \"%1\": %2").arg(m_printer->printerName(), what);
}

bool SystemPrintJob::begin(QPainter& painter, QString* error)
{
    // A stopped queue takes a job without a word and never prints it: say so now.
    const QPrinterInfo info = QPrinterInfo::printerInfo(m_printer->printerName());
    if (m_printer->outputFormat() == QPrinter::NativeFormat && !info.isNull() &&
        info.state() == QPrinter::Error) {
        if (error)
            *error = failure(QStringLiteral("the printer is stopped or out of order; nothing "
                                            "was printed."));
        return false;
    }
    if (painter.begin(m_printer.get()) && m_printer->printerState() != QPrinter::Error)
        return true;
    if (painter.isActive())
        painter.end();
    if (error)
        *error = failure(QStringLiteral("the print job cannot be started; nothing was printed."));
    return false;
}

bool SystemPrintJob::newPage(QString* error)
{
    if (m_printer->newPage() && m_printer->printerState() != QPrinter::Error)
        return true;
    if (error)
        *error = failure(QStringLiteral("no new page can be started; the print job was "
                                        "cancelled."));
    return false;
}

bool SystemPrintJob::end(QPainter& painter, QString* error)
{
    const bool ended = painter.end();
    if (ended && m_printer->printerState() != QPrinter::Error &&
        m_printer->printerState() != QPrinter::Aborted)
        return true;
    if (error)
        *error = failure(QStringLiteral("the print job failed; the pages may not have been "
                                        "printed."));
    return false;
}

void SystemPrintJob::abort(QPainter& painter)
{
    m_printer->abort();
    if (painter.isActive())
        painter.end();
}
