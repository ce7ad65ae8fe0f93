// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "preview/printing.h"
#include "recipes/recipe.h"

#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>

class PrintJob;
class QPrinter;
class QWidget;

// Choosing a printer in the print dialog and running a print command on it: the
// system's printers and the built-in "Print to PDF" printer, which asks for the file
// name. A job that fails is reported to the user; cancelling prints nothing.

/// What the user chose in the print dialog.
struct PrinterChoice {
    QString printer;                  ///< the printer's name
    QString pdfFile;                  ///< the file of the built-in PDF printer
    std::shared_ptr<QPrinter> system; ///< a system printer as the dialog set it up
};

/// Called instead of the print dialog (tests): fills the choice and returns true, or
/// returns false for a cancelled dialog. An empty hook shows the dialog.
using PrintDialogHook = std::function<bool(PrinterChoice& choice)>;
void SetPrintDialogHook(PrintDialogHook hook);

/// Shows the print dialog for a paper of paperCm (portrait) in the orientation given,
/// with the current printer selected; the PDF printer asks for its file, suggesting
/// suggestedPdf. Returns false when the user cancelled. The chosen printer becomes
/// the current printer.
bool ChoosePrinter(QWidget* parent, QSizeF paperCm, bool landscape, const QString& suggestedPdf,
                   PrinterChoice* choice);

/// A system printer (the system's default for an empty name) set up for a paper of
/// paperCm (portrait) in the orientation given, as the print dialog starts.
std::shared_ptr<QPrinter> SystemPrinterFor(const QString& name, QSizeF paperCm, bool landscape);

/// The name of a print job on a system printer: "Dilboscan: " and the title.
QString PrintJobName(const QString& title);

/// The job that prints on the chosen printer: the PDF printer at its 600 dpi with the
/// whole paper as its page (title in the document), or the system printer as set up,
/// its job named jobName (PrintJobName(title) when empty) and waited for up to waitMs
/// milliseconds.
std::unique_ptr<PrintJob> MakePrintJob(const PrinterChoice& choice, QSizeF paperCm, bool landscape,
                                       const QString& title, const QString& jobName = QString(),
                                       int waitMs = 0);

/// The paper of the current page geometry in portrait, and its orientation.
QSizeF currentPaperCm();

/// "Print recipe" of the preview: the print dialog, then the pages 0 to lastPageIndex
/// of the layout on the chosen printer, the document named after the recipe name's
/// text. A failure is reported over parent.
void PrintLayout(QWidget* parent, const ElementArray& elements, const RichEditOf& richEdit,
                 int lastPageIndex);

/// "Print recipe list": the print dialog, then the recipe rows of the list (in list
/// order, found through ListIndex) on the chosen printer. A failure is reported over
/// parent.
void PrintListedRecipes(QWidget* parent, const TKV& kv);
