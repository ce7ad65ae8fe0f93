// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/printcommands.h"

#include "app/cookbook.h"
#include "app/startup.h"
#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/session.h"
#include "platform/cp1252.h"
#include "preview/F_Vor.h"
#include "preview/listprint.h"
#include "preview/openpreview.h"
#include "preview/pagegeometry.h"
#include "preview/printdialog.h"
#include "preview/printers.h"
#include "preview/printjob.h"
#include "preview/recipefill.h"
#include "preview/streamedpdfjob.h"
#include "recipes/recipelist.h"

#include <QTextStream>

namespace {

constexpr int kDeluxeQuestion = 13;

void reportProblems(const QList<FileProblem>& problems, QTextStream& err)
{
    for (const FileProblem& problem : problems)
        err << problem.toString() << Qt::endl;
}

// How long a command waits for a print queue to finish its job, to report a job the
// print system gave up.
constexpr int kQueueWaitMs = 120000;

// The built-in PDF printer for a file, whose page geometry is the same on every
// machine; the system's printers for a queue, which must be one of them. False with
// a line on err for an unknown queue.
bool usePrinterOf(const PrintTarget& target, QTextStream& err)
{
    if (target.queue.isEmpty()) {
        SetPrinters(std::make_unique<PdfPrinterOnly>());
        CurrentPrinterName() = QString::fromLatin1(kPdfPrinterName);
        return true;
    }
    SetPrinters(std::make_unique<SystemPrinters>());
    if (target.queue == QLatin1String(kPdfPrinterName) ||
        !Printers().printerNames().contains(target.queue)) {
        err << QStringLiteral("No printer \"%1\"; nothing was printed.").arg(target.queue)
            << Qt::endl;
        return false;
    }
    CurrentPrinterName() = target.queue;
    return true;
}

// The job of the target for the current page geometry.
std::unique_ptr<PrintJob> jobFor(const PrintTarget& target, const QString& title,
                                 const QString& jobName = QString())
{
    const TDrucker& d = CurrentDrucker();
    PrinterChoice choice;
    choice.printer = target.queue.isEmpty() ? QString::fromLatin1(kPdfPrinterName) : target.queue;
    choice.pdfFile = target.pdfFile;
    if (!target.queue.isEmpty())
        choice.system = SystemPrinterFor(target.queue, currentPaperCm(), d.PageLandscape);
    return MakePrintJob(choice, currentPaperCm(), d.PageLandscape, title, jobName, kQueueWaitMs);
}

// Questions get the answers of the command line, errors go to err; both are restored
// when the command ends.
class Unattended {
public:
    Unattended(bool deluxe, QTextStream& err)
    {
        SetShowMsgHook([deluxe](int number, int, int) {
            return number == kDeluxeQuestion && deluxe ? kAnswerYes : kAnswerNo;
        });
        SetErrorReportHook([&err](const QString& text) { err << text << Qt::endl; });
    }
    ~Unattended()
    {
        SetShowMsgHook({});
        SetErrorReportHook({});
    }
    Unattended(const Unattended&) = delete;
    Unattended& operator=(const Unattended&) = delete;
};

bool printPreviewPages(TFVor& preview, const PrintTarget& target, const QString& title,
                       QString* error)
{
    const auto job = jobFor(target, title);
    return PrintPages(
        *job, CurrentDrucker(), preview.elements(),
        [&preview](int i) -> rich::RichDocument& { return preview.richEdit(i); },
        preview.state().LastPageIndex, error);
}

} // namespace

int findRecipeByName(const TKV& kv, const QString& name)
{
    for (int i = 0; i < kv.size(); ++i) {
        if (cp1252::toUnicode(kv.at(i).Name) == name)
            return i;
    }
    return -1;
}

int selectListRows(const ListOptions& options, TKV& kv, QList<int>* rows, QTextStream& err)
{
    QList<FileProblem> problems;
    loadCatalogueAtStartup(currentBaseFolder(), kv, &problems);
    reportProblems(problems, err);
    ListFilter filter;
    QString error;
    if (!filterFromEntries(kv, options.category, options.difficulty, options.source, &filter,
                           &error)) {
        err << error << Qt::endl;
        return 2;
    }
    filter.searchText = cp1252::fromUnicode(options.search);
    // One search: indexing the lines' pieces would cost more than checking every record.
    SearchIndex index(SearchIndex::Options{0, false});
    *rows = FilterRecipeRows(kv, index, filter);
    return 0;
}

int printRecipe(const PrintTarget& target, const QString& name, bool deluxe,
                const QString& draftFile, QTextStream& err)
{
    const QString base = currentBaseFolder();
    setBaseFolder(base);
    if (!usePrinterOf(target, err))
        return 1;
    Catalogue catalogue;
    QList<FileProblem> problems;
    loadCatalogueAtStartup(base, catalogue.recipes, &problems);
    reportProblems(problems, err);
    catalogue.CurrentRecipe = findRecipeByName(catalogue.recipes, name);
    if (catalogue.CurrentRecipe < 0) {
        err << QStringLiteral("No recipe named \"%1\" in %2prepared_recipes; nothing was printed.")
                   .arg(name, base)
            << Qt::endl;
        return 1;
    }
    const Unattended unattended(deluxe, err);
    QString error;
    if (!LayOutRecipe(catalogue, draftFile, &error, DamagedDraft::Abandon)) {
        if (!error.isEmpty())
            err << error << Qt::endl;
        return 1;
    }
    TFVor& preview = *PreviewWindow();
    const bool printed = printPreviewPages(preview, target, name, &error);
    DeletePreviewFiles(preview.elements(), BaseFolder());
    preview.ReleaseElements();
    if (!printed) {
        err << error << Qt::endl;
        return 1;
    }
    return 0;
}

int printListTo(const PrintTarget& target, const ListOptions& options, QTextStream& err)
{
    TKV kv;
    QList<int> rows;
    if (const int code = selectListRows(options, kv, &rows, err))
        return code;
    const QString base = currentBaseFolder();
    setBaseFolder(base);
    if (!usePrinterOf(target, err))
        return 1;
    PaperFormats& formats = CurrentPaperFormats();
    InitPaperFormats(formats);
    TDrucker& d = CurrentDrucker();
    ComputePageMetrics(d, formats, 2, false, false);
    const auto job = jobFor(target, QStringLiteral("Recipe list"),
                            PrintJobName(QStringLiteral("recipe list")));
    QString error;
    if (!PrintRecipeList(*job, d, kv, rows, base, &error)) {
        err << error << Qt::endl;
        return 1;
    }
    return 0;
}

int printBookTo(const QString& pdfFile, const QString& title, const ListOptions& options,
                QTextStream& err)
{
    const QString base = currentBaseFolder();
    setBaseFolder(base);
    Catalogue catalogue;
    BookRequest request;
    if (const int code = selectListRows(options, catalogue.recipes, &request.recipes, err))
        return code;
    const PrintTarget target{pdfFile, QString()};
    if (!usePrinterOf(target, err))
        return 1;
    request.title = title.isEmpty() ? QString::fromLatin1(kDefaultBookTitle) : title;
    request.grouped = options.category.isEmpty();
    ComputeDefaultPageMetrics();
    StreamedPdfPrintJob job(pdfFile, currentPaperCm(), CurrentDrucker().PageLandscape,
                            kPdfPrinterDpi, request.title);
    QString error;
    QStringList problems;
    const BookResult result = PrintBook(job, catalogue, request, {}, &error, &problems);
    for (const QString& problem : problems)
        err << problem << Qt::endl;
    if (result != BookResult::Printed) {
        err << error << Qt::endl;
        return 1;
    }
    return 0;
}
