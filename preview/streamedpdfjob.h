// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "preview/printjob.h"

#include <functional>
#include <memory>

class AtomicFileStream;
class QIODevice;

/// A PDF file as PdfPrintJob makes it, but written to disk page by page, so a long
/// document does not build up in memory: the pages go to a temporary file beside path
/// that replaces path only when the job ends well, after finish (when set) has worked
/// on the complete document (open for reading and writing). An aborted or failed job
/// leaves no file behind and path as it was.
class StreamedPdfPrintJob : public PrintJob {
public:
    using Finisher = std::function<bool(QIODevice& document, QString* error)>;

    StreamedPdfPrintJob(const QString& path, QSizeF paperCm, bool landscape, int dpi,
                        const QString& title = QString());
    ~StreamedPdfPrintJob() override;

    void setFinisher(Finisher finish) { m_finish = std::move(finish); }

    QPagedPaintDevice* device() override;
    QSize pageSize() const override;
    int resolution() override;
    bool begin(QPainter& painter, QString* error) override;
    bool newPage(QString* error) override;
    bool end(QPainter& painter, QString* error) override;
    void abort(QPainter& painter) override;

private:
    QString m_path;
    QSizeF m_paperCm;
    bool m_landscape = false;
    int m_dpi = 0;
    QString m_title;
    std::unique_ptr<AtomicFileStream> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    Finisher m_finish;
};
