// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>

// The printers the program can print on: the system's printers (Qt PrintSupport, CUPS
// on Linux) and the built-in "Print to PDF" printer. Everything that asks about a
// printer goes through one interface, so tests can stand for "no printer" or for a
// printer of a fixed page size.

/// Name of the built-in PDF printer.
inline constexpr char kPdfPrinterName[] = "Print to PDF";
/// Resolution of the built-in PDF printer.
inline constexpr int kPdfPrinterDpi = 600;

class PrinterInterface {
public:
    virtual ~PrinterInterface() = default;

    /// The printer list, in the system's order.
    virtual QStringList printerNames() const = 0;
    /// The system's default printer; empty when there is none.
    virtual QString defaultPrinter() const = 0;
    /// Whether the printer can be opened (and is closed again at once).
    virtual bool openPrinter(const QString& name) const = 0;
    /// The printable area of the printer's page in printer pixels, in the orientation
    /// given. paperCm is the paper of the preview's format (portrait); only printers that
    /// take their paper from the preview (the PDF printer) use it.
    virtual QSize pageSize(const QString& name, QSizeF paperCm, bool landscape) const = 0;
    /// Printer pixels per inch.
    virtual int resolution(const QString& name) const = 0;
};

/// The system's printers followed by the built-in PDF printer.
class SystemPrinters : public PrinterInterface {
public:
    QStringList printerNames() const override;
    QString defaultPrinter() const override;
    bool openPrinter(const QString& name) const override;
    QSize pageSize(const QString& name, QSizeF paperCm, bool landscape) const override;
    int resolution(const QString& name) const override;

private:
    // The system's list is asked for once: asking CUPS is slow.
    const QStringList& systemNames() const;
    mutable std::unique_ptr<QStringList> m_systemNames;
};

/// No printer at all.
class NoPrinters : public PrinterInterface {
public:
    QStringList printerNames() const override { return {}; }
    QString defaultPrinter() const override { return {}; }
    bool openPrinter(const QString&) const override { return false; }
    QSize pageSize(const QString&, QSizeF, bool) const override { return {}; }
    int resolution(const QString&) const override { return 0; }
};

/// One printer whose printable area is a fixed size in portrait (turned for landscape).
class FixedPagePrinter : public PrinterInterface {
public:
    FixedPagePrinter(const QString& name, QSize portraitPage, int dpi, bool opens = true)
        : m_name(name), m_page(portraitPage), m_dpi(dpi), m_opens(opens)
    {
    }
    QStringList printerNames() const override { return {m_name}; }
    QString defaultPrinter() const override { return m_name; }
    bool openPrinter(const QString& name) const override { return m_opens && name == m_name; }
    QSize pageSize(const QString&, QSizeF, bool landscape) const override
    {
        return landscape ? m_page.transposed() : m_page;
    }
    int resolution(const QString&) const override { return m_dpi; }

private:
    QString m_name;
    QSize m_page;
    int m_dpi;
    bool m_opens;
};

/// Only the built-in PDF printer: no system printer is asked (the command line).
class PdfPrinterOnly : public PrinterInterface {
public:
    QStringList printerNames() const override { return {QString::fromLatin1(kPdfPrinterName)}; }
    QString defaultPrinter() const override { return QString::fromLatin1(kPdfPrinterName); }
    bool openPrinter(const QString& name) const override
    {
        return name == QLatin1String(kPdfPrinterName);
    }
    QSize pageSize(const QString& name, QSizeF paperCm, bool landscape) const override;
    int resolution(const QString&) const override { return kPdfPrinterDpi; }
};

/// Page size of the built-in PDF printer: the whole paper at 600 dpi.
QSize pdfPageSize(QSizeF paperCm, bool landscape);

/// The printers in use: the system's unless a test installed others.
PrinterInterface& Printers();
/// Installs printers (tests, benchmarks); nullptr goes back to the system's.
void SetPrinters(std::unique_ptr<PrinterInterface> printers);

/// The current printer's name; empty until one is chosen.
QString& CurrentPrinterName();

/// True when a printer can be used. With selectDefault the system's default printer
/// becomes the current printer first; a current printer that is not (or no longer)
/// listed gives way to the default printer, or to the first one listed.
bool PrinterAvailable(bool selectDefault = false);
