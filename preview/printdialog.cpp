// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/printdialog.h"

#include "common/errorreport.h"
#include "common/hook.h"
#include "common/session.h"
#include "preview/listprint.h"
#include "preview/pagegeometry.h"
#include "preview/printers.h"
#include "preview/printjob.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include <functional>

namespace {

QString pdfName()
{
    return QString::fromLatin1(kPdfPrinterName);
}

// Qt's dialog lists its own PDF output as "Print to File (PDF)": it is the built-in
// PDF printer, so it carries that printer's name.
void nameThePdfPrinter(QPrintDialog& dialog)
{
    for (QComboBox* box : dialog.findChildren<QComboBox*>()) {
        for (int i = 0; i < box->count(); ++i) {
            if (box->itemText(i).contains(QLatin1String("(PDF)")))
                box->setItemText(i, pdfName());
        }
    }
}

bool askPdfFile(QWidget* parent, const QString& suggested, QString* file)
{
    *file = QFileDialog::getSaveFileName(parent, pdfName(), suggested,
                                         QStringLiteral("PDF files (*.pdf)"));
    return !file->isEmpty();
}

bool showDialog(QWidget* parent, QSizeF paperCm, bool landscape, const QString& suggestedPdf,
                PrinterChoice* choice)
{
    const QString current = CurrentPrinterName();
    const bool pdf = current.isEmpty() || current == pdfName();
    auto printer = SystemPrinterFor(pdf ? QString() : current, paperCm, landscape);
    if (pdf) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(suggestedPdf);
    }
    QPrintDialog dialog(printer.get(), parent);
    dialog.setWindowModality(Qt::ApplicationModal);
    // The printer list is filled when the dialog shows.
    QTimer::singleShot(0, &dialog, [&dialog] { nameThePdfPrinter(dialog); });
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (printer->outputFormat() == QPrinter::PdfFormat) {
        choice->printer = pdfName();
        choice->pdfFile = printer->outputFileName();
        return !choice->pdfFile.isEmpty() || askPdfFile(parent, suggestedPdf, &choice->pdfFile);
    }
    choice->printer = printer->printerName();
    choice->system = std::move(printer);
    return true;
}

QString suggestedFile(const QString& title)
{
    QString name = title.isEmpty() ? QStringLiteral("Recipe") : title;
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    return QDir::homePath() + QLatin1Char('/') + name + QStringLiteral(".pdf");
}

// Asks for a printer or PDF file for the print named title and prints on it with print,
// which returns false with an error; the error is reported over parent.
void printOnChosen(QWidget* parent, const QString& title, const QString& jobName,
                   const std::function<bool(PrintJob&, const TDrucker&, QString*)>& print)
{
    PrinterChoice choice;
    if (!ChoosePrinter(parent, currentPaperCm(), CurrentDrucker().PageLandscape,
                       suggestedFile(title), &choice))
        return;
    const TDrucker& d = CurrentDrucker();
    const auto job = MakePrintJob(choice, currentPaperCm(), d.PageLandscape, title, jobName);
    QString error;
    if (!print(*job, d, &error))
        ReportError(parent, error);
}

} // namespace

void SetPrintDialogHook(PrintDialogHook hook)
{
    hookSlot<SetPrintDialogHook>() = std::move(hook);
}

bool ChoosePrinter(QWidget* parent, QSizeF paperCm, bool landscape, const QString& suggestedPdf,
                   PrinterChoice* choice)
{
    *choice = PrinterChoice();
    const bool chosen = hookSlot<SetPrintDialogHook>() ? hookSlot<SetPrintDialogHook>()(*choice)
                                     : showDialog(parent, paperCm, landscape, suggestedPdf, choice);
    if (chosen && Printers().printerNames().contains(choice->printer))
        CurrentPrinterName() = choice->printer;
    return chosen;
}

std::shared_ptr<QPrinter> SystemPrinterFor(const QString& name, QSizeF paperCm, bool landscape)
{
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    if (!name.isEmpty())
        printer->setPrinterName(name);
    printer->setPageSize(paperLayout(paperCm, landscape).pageSize());
    printer->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    return printer;
}

QString PrintJobName(const QString& title)
{
    return QStringLiteral("Dilboscan: ") + title;
}

std::unique_ptr<PrintJob> MakePrintJob(const PrinterChoice& choice, QSizeF paperCm, bool landscape,
                                       const QString& title, const QString& jobName, int waitMs)
{
    if (choice.system) {
        choice.system->setDocName(jobName.isEmpty() ? PrintJobName(title) : jobName);
        return std::make_unique<SystemPrintJob>(choice.system, waitMs);
    }
    return std::make_unique<PdfPrintJob>(choice.pdfFile, paperCm, landscape, kPdfPrinterDpi, title);
}

QSizeF currentPaperCm()
{
    const TDrucker& d = CurrentDrucker();
    return d.PageLandscape ? QSizeF(d.PageHeightCm, d.PageWidthCm)
                           : QSizeF(d.PageWidthCm, d.PageHeightCm);
}

void PrintLayout(QWidget* parent, const ElementArray& elements, const RichEditOf& richEdit,
                 int lastPageIndex)
{
    QStringList name;
    for (const rich::RichLine& line : richEdit(kRecipeName).lines())
        name << line.text.trimmed();
    const QString title = name.join(QLatin1Char(' ')).trimmed();
    printOnChosen(parent, title, QString(), [&](PrintJob& job, const TDrucker& d, QString* error) {
        return PrintPages(job, d, elements, richEdit, lastPageIndex, error);
    });
}

void PrintListedRecipes(QWidget* parent, const TKV& kv)
{
    printOnChosen(parent, QStringLiteral("Recipe list"), PrintJobName(QStringLiteral("recipe list")),
                  [&kv](PrintJob& job, const TDrucker& d, QString* error) {
                      return PrintRecipeList(job, d, kv, ListedRecipes(kv), BaseFolder(), error);
                  });
}
