// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/streamedpdfjob.h"

#include "platform/atomicfilestream.h"

#include <QPainter>
#include <QPdfWriter>

StreamedPdfPrintJob::StreamedPdfPrintJob(const QString& path, QSizeF paperCm, bool landscape,
                                         int dpi, const QString& title)
    : m_path(path), m_paperCm(paperCm), m_landscape(landscape), m_dpi(dpi), m_title(title),
      m_file(std::make_unique<AtomicFileStream>(path))
{
    // A writer without a file yet, so the page can be measured before the job begins.
    m_writer = std::make_unique<QPdfWriter>(static_cast<QIODevice*>(nullptr));
    m_writer->setResolution(dpi);
    m_writer->setPageLayout(paperLayout(paperCm, landscape));
}

StreamedPdfPrintJob::~StreamedPdfPrintJob() = default;

QPagedPaintDevice* StreamedPdfPrintJob::device()
{
    return m_writer.get();
}

QSize StreamedPdfPrintJob::pageSize() const
{
    return QSize(m_writer->width(), m_writer->height());
}

int StreamedPdfPrintJob::resolution()
{
    return m_writer->resolution();
}

bool StreamedPdfPrintJob::begin(QPainter& painter, QString* error)
{
    if (!m_file->open(error))
        return false;
    m_writer = std::make_unique<QPdfWriter>(m_file->device());
    m_writer->setResolution(m_dpi);
    m_writer->setPageLayout(paperLayout(m_paperCm, m_landscape));
    m_writer->setCreator(QStringLiteral("Dilboscan"));
    m_writer->setTitle(m_title);
    if (painter.begin(m_writer.get()))
        return true;
    m_file->discard();
    if (error)
        *error = QStringLiteral("%1: the PDF document cannot be started").arg(m_path);
    return false;
}

bool StreamedPdfPrintJob::newPage(QString* error)
{
    if (m_writer->newPage() && m_file->device()->error() == QFileDevice::NoError)
        return true;
    if (error)
        *error = QStringLiteral("%1: no new page can be written (%2)")
                     .arg(m_path, m_file->device()->errorString());
    return false;
}

bool StreamedPdfPrintJob::end(QPainter& painter, QString* error)
{
    QFile& file = *m_file->device();
    if (!painter.end() || file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("%1: the PDF document cannot be finished (%2)")
                         .arg(m_path, file.errorString());
        m_file->discard();
        return false;
    }
    QString why;
    if (m_finish && (!file.flush() || !m_finish(file, &why))) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(m_path, why.isEmpty() ? file.errorString() : why);
        m_file->discard();
        return false;
    }
    return m_file->commit(error);
}

void StreamedPdfPrintJob::abort(QPainter& painter)
{
    if (painter.isActive())
        painter.end();
    m_file->discard();
}
