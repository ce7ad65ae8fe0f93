// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/cookbookcommand.h"

#include "app/cookbook.h"
#include "common/errorreport.h"
#include "preview/openpreview.h"
#include "preview/pagegeometry.h"
#include "preview/printdialog.h"
#include "preview/printers.h"
#include "preview/printjob.h"
#include "preview/streamedpdfjob.h"

#include <QDir>
#include <QProgressDialog>

void PrintCookbook(QWidget* parent, Catalogue& catalogue, const QList<int>& recipes, bool grouped)
{
    if (recipes.isEmpty())
        return;
    ComputeDefaultPageMetrics();
    const QString title = QString::fromLatin1(kDefaultBookTitle);
    PrinterChoice choice;
    if (!ChoosePrinter(parent, currentPaperCm(), CurrentDrucker().PageLandscape,
                       QDir::homePath() + QLatin1Char('/') + title + QStringLiteral(".pdf"),
                       &choice))
        return;
    std::unique_ptr<PrintJob> job;
    if (choice.system) {
        job = MakePrintJob(choice, currentPaperCm(), CurrentDrucker().PageLandscape, title,
                           PrintJobName(QStringLiteral("cookbook")));
    } else {
        job = std::make_unique<StreamedPdfPrintJob>(choice.pdfFile, currentPaperCm(),
                                                    CurrentDrucker().PageLandscape, kPdfPrinterDpi,
                                                    title);
    }
    QProgressDialog progress(QStringLiteral("Printing the cookbook..."), QStringLiteral("Cancel"),
                             0, 2 * int(recipes.size()), parent);
    progress.setObjectName(QStringLiteral("CookbookProgress"));
    progress.setWindowTitle(QStringLiteral("Print cookbook"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    const BookProgress report = [&progress](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
        return !progress.wasCanceled();
    };
    // Shown at once: while it is up, changes to the recipe folder wait for the book.
    progress.show();
    BookRequest request{recipes, title, grouped};
    QString error;
    QStringList problems;
    const BookResult result = PrintBook(*job, catalogue, request, report, &error, &problems);
    progress.reset();
    if (!problems.isEmpty())
        ReportError(parent, problems.join(QLatin1Char('\n')));
    if (result == BookResult::Failed)
        ReportError(parent, error);
}
