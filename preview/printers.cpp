// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/printers.h"

#include "preview/printjob.h"
#include "preview/rounding.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

std::unique_ptr<PrinterInterface>& installed()
{
    static std::unique_ptr<PrinterInterface> printers;
    return printers;
}

QString pdfName()
{
    return QString::fromLatin1(kPdfPrinterName);
}

} // namespace

QSize pdfPageSize(QSizeF paperCm, bool landscape)
{
    const QSize portrait(roundEven(paperCm.width() / 2.54 * kPdfPrinterDpi),
                         roundEven(paperCm.height() / 2.54 * kPdfPrinterDpi));
    return landscape ? portrait.transposed() : portrait;
}

QSize PdfPrinterOnly::pageSize(const QString& name, QSizeF paperCm, bool landscape) const
{
    return openPrinter(name) ? pdfPageSize(paperCm, landscape) : QSize();
}

const QStringList& SystemPrinters::systemNames() const
{
    if (!m_systemNames)
        m_systemNames = std::make_unique<QStringList>(QPrinterInfo::availablePrinterNames());
    return *m_systemNames;
}

QStringList SystemPrinters::printerNames() const
{
    QStringList names = systemNames();
    names.removeAll(pdfName());
    names << pdfName();
    return names;
}

QString SystemPrinters::defaultPrinter() const
{
    if (systemNames().isEmpty())
        return pdfName();
    const QString name = QPrinterInfo::defaultPrinterName();
    return name.isEmpty() ? pdfName() : name;
}

bool SystemPrinters::openPrinter(const QString& name) const
{
    if (name == pdfName())
        return true;
    if (!systemNames().contains(name))
        return false;
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull())
        return false;
    QPrinter printer(info, QPrinter::HighResolution);
    return printer.isValid();
}

QSize SystemPrinters::pageSize(const QString& name, QSizeF paperCm, bool landscape) const
{
    if (name == pdfName())
        return pdfPageSize(paperCm, landscape);
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull())
        return {};
    // The paper of the preview's format, not the queue's default paper: the job is
    // printed on that paper.
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageSize(paperLayout(paperCm, landscape).pageSize());
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    return printer.pageRect(QPrinter::DevicePixel).size().toSize();
}

int SystemPrinters::resolution(const QString& name) const
{
    if (name == pdfName())
        return kPdfPrinterDpi;
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull())
        return 0;
    QPrinter printer(info, QPrinter::HighResolution);
    return printer.resolution();
}

PrinterInterface& Printers()
{
    if (!installed())
        installed() = std::make_unique<SystemPrinters>();
    return *installed();
}

void SetPrinters(std::unique_ptr<PrinterInterface> printers)
{
    installed() = std::move(printers);
}

QString& CurrentPrinterName()
{
    static QString name;
    return name;
}

bool PrinterAvailable(bool selectDefault)
{
    PrinterInterface& printers = Printers();
    const QStringList names = printers.printerNames();
    if (names.isEmpty())
        return false;
    QString& current = CurrentPrinterName();
    if (selectDefault || !names.contains(current)) {
        const QString fallback = printers.defaultPrinter();
        current = names.contains(fallback) ? fallback : names.first();
    }
    return printers.openPrinter(current);
}
