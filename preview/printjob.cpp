// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/printjob.h"

#include "platform/printqueue.h"
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

int PdfPrintJob::resolution()
{
    return m_writer->resolution();
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

SystemPrintJob::SystemPrintJob(std::shared_ptr<QPrinter> printer, int waitMs)
    : m_printer(std::move(printer)), m_waitMs(waitMs)
{
}

SystemPrintJob::~SystemPrintJob() = default;

QPagedPaintDevice* SystemPrintJob::device()
{
    return m_printer.get();
}

QSize SystemPrintJob::pageSize() const
{
    return m_printer->pageRect(QPrinter::DevicePixel).size().toSize();
}

int SystemPrintJob::resolution()
{
    return m_printer->resolution();
}

QRect SystemPrintJob::printableArea()
{
    const QRectF paper = m_printer->paperRect(QPrinter::DevicePixel);
    return m_printer->pageRect(QPrinter::DevicePixel).translated(-paper.topLeft()).toRect();
}

QString SystemPrintJob::failure(const QString& what) const
{
    return QStringLiteral("Printer \"%1\": %2").arg(m_printer->printerName(), what);
}

// A job that goes to a print queue, not to a file the dialog chose.
bool SystemPrintJob::toQueue() const
{
    return m_printer->outputFormat() == QPrinter::NativeFormat &&
           m_printer->outputFileName().isEmpty();
}

// The queue of the printer, without an instance ("Office/duplex" is queue "Office").
QString SystemPrintJob::queue() const
{
    return m_printer->printerName().section(QLatin1Char('/'), 0, 0);
}

bool SystemPrintJob::begin(QPainter& painter, QString* error)
{
    // A stopped queue takes a job without a word and never prints it, and one that
    // rejects jobs drops it without a word: say so now.
    if (toQueue()) {
        const printqueue::QueueState queue = printqueue::queueState(this->queue());
        QString why;
        if (queue.known && queue.stopped)
            why = QStringLiteral("the printer is stopped or out of order; nothing was printed.");
        else if (queue.known && !queue.accepting)
            why = QStringLiteral("the printer does not accept jobs now; nothing was printed.");
        if (!why.isEmpty()) {
            if (error)
                *error = failure(why);
            return false;
        }
        m_queueKnown = queue.known;
        m_lastJob = printqueue::lastJobId(this->queue());
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
    QString why;
    if (!ended || m_printer->printerState() == QPrinter::Error ||
        m_printer->printerState() == QPrinter::Aborted) {
        why = QStringLiteral("the print job failed; the pages may not have been printed.");
    } else if (toQueue() && m_queueKnown) {
        // Qt hands the pages over without telling whether the queue took them.
        const printqueue::JobOutcome job =
            printqueue::jobAfter(queue(), m_lastJob, m_printer->docName(), m_waitMs);
        switch (job.kind) {
        case printqueue::JobOutcome::Missing:
            why = QStringLiteral("the printer did not take the print job; nothing was printed.");
            break;
        case printqueue::JobOutcome::Cancelled:
            why = QStringLiteral("the print job was cancelled; nothing was printed.");
            break;
        case printqueue::JobOutcome::Aborted:
            why = QStringLiteral("the print system gave the print job up; it was not printed.");
            break;
        case printqueue::JobOutcome::Pending:
        case printqueue::JobOutcome::Completed:
            break;
        }
    }
    if (why.isEmpty())
        return true;
    if (error)
        *error = failure(why);
    return false;
}

void SystemPrintJob::abort(QPainter& painter)
{
    m_printer->abort();
    if (painter.isActive())
        painter.end();
}
