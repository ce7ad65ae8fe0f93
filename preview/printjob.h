// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QBuffer>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <memory>

class QPainter;
class QPdfWriter;
class QPrinter;

// One print job: the pages of one print command on one printer. Everything that prints
// goes through this interface, so a job can be a system printer, a PDF file or (in
// tests) anything else at a fixed resolution. A job either ends with every page
// delivered or reports why not; it never reports success for pages that were lost.

class PrintJob {
public:
    virtual ~PrintJob() = default;

    /// The device the pages are drawn on; text is measured on it too.
    virtual QPagedPaintDevice* device() = 0;
    /// The printable area of a page in device pixels; its top-left corner is the
    /// painter's origin.
    virtual QSize pageSize() const = 0;
    /// Device pixels per inch.
    virtual int resolution() { return device()->logicalDpiX(); }
    /// The printable area on the paper, in device pixels from the paper's top-left
    /// corner: by default the whole paper.
    virtual QRect printableArea() { return QRect(QPoint(0, 0), pageSize()); }
    /// Starts the job with painter drawing on the first page.
    virtual bool begin(QPainter& painter, QString* error) = 0;
    /// Starts the next page.
    virtual bool newPage(QString* error) = 0;
    /// Ends the painter and delivers the pages. On failure nothing is left behind
    /// that looks like a finished print.
    virtual bool end(QPainter& painter, QString* error) = 0;
    /// Ends the painter without delivering anything (after an error).
    virtual void abort(QPainter& painter) = 0;
};

/// A PDF file at a fixed resolution whose pages are the whole paper. The document is
/// built in memory and written to path only when the job ends well, through a
/// temporary file that is renamed over path, so path never holds a half-written file.
class PdfPrintJob : public PrintJob {
public:
    /// paperCm is the paper in portrait; title goes into the document's information.
    PdfPrintJob(const QString& path, QSizeF paperCm, bool landscape, int dpi,
                const QString& title = QString());
    ~PdfPrintJob() override;

    QPagedPaintDevice* device() override;
    QSize pageSize() const override;
    int resolution() override;
    bool begin(QPainter& painter, QString* error) override;
    bool newPage(QString* error) override;
    bool end(QPainter& painter, QString* error) override;
    void abort(QPainter& painter) override;

private:
    QString m_path;
    QBuffer m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;
};

/// A printer of the system (a CUPS queue on Linux), set up by the print dialog. A
/// printer that is stopped, that does not accept jobs or that reports an error is an
/// error of the job, and so is a job the queue did not take, or cancelled or gave up
/// before waitMs milliseconds passed (the job is named by the printer's docName).
class SystemPrintJob : public PrintJob {
public:
    explicit SystemPrintJob(std::shared_ptr<QPrinter> printer, int waitMs = 0);
    ~SystemPrintJob() override;

    QPagedPaintDevice* device() override;
    QSize pageSize() const override;
    int resolution() override;
    QRect printableArea() override;
    bool begin(QPainter& painter, QString* error) override;
    bool newPage(QString* error) override;
    bool end(QPainter& painter, QString* error) override;
    void abort(QPainter& painter) override;

private:
    QString failure(const QString& what) const;
    bool toQueue() const;
    QString queue() const;
    std::shared_ptr<QPrinter> m_printer;
    int m_waitMs = 0;
    bool m_queueKnown = false;
    int m_lastJob = 0; ///< the queue's newest job before this one
};

/// The page layout of a paper of paperCm (portrait) in the orientation given, without
/// margins.
QPageLayout paperLayout(QSizeF paperCm, bool landscape);
