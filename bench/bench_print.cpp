// SPDX-License-Identifier: GPL-2.0-or-later
// Printing to PDF through the built-in 600-dpi PDF printer, against QTextDocument::print
// of the same text (same fonts, same pictures) to a PDF of the same paper at the same
// resolution in the same run. Two cases: a two-page recipe laid out in the preview
// (ingredients, comments, notes and pictures on page 1, 5,000 characters of formatted
// instructions fitted to the sheet's width on page 2), and the recipe list of 1,000 generated
// recipes. Prints the medians of wall and CPU time and the file sizes, and their ratios. Both sides
// write their file the same way (temporary file, sync, rename), so the ratios compare the printing.
//
//   QT_QPA_PLATFORM=offscreen bench_print [repetitions [recipe|list]]

#include "benchsupport.h"
#include "previewbench.h"
#include "recipegenerator.h"

#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/session.h"
#include "platform/cp1252.h"
#include "platform/richtext/devicefont.h"
#include "platform/richtext/rtfwriter.h"
#include "platform/safefile.h"
#include "preview/F_Vor.h"
#include "preview/listprint.h"
#include "preview/openpreview.h"
#include "preview/pagegeometry.h"
#include "preview/printdialog.h"
#include "preview/printers.h"
#include "preview/printjob.h"
#include "preview/recipefill.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <functional>
#include <ctime>

using namespace rich;

namespace {

const QSizeF kLetterCm(21.59, 27.94);

/// Page 1: name, ingredients, comments, notes, stars, picture and devices one below the
/// other; page 2: the instructions.
TDruckvorlage twoPageDraft()
{
    TDruckvorlage draft;
    const int tops[kElementCount] = {320, 60, 0, 0, 0, 0, 0, 0, 420, 480, 520, 760, 0};
    for (int i = 0; i < kElementCount; ++i) {
        const int page = i == kDescription ? 1 : (isColumn(i) || i == kShoppingList ? -1 : 0);
        draft.Placements.append({10, tops[i], page});
    }
    draft.LastPage = 1;
    return draft;
}

QTextCharFormat qtFormat(const CharFormat& f)
{
    QTextCharFormat out;
    QFont font = fontForDevice(f, 72);
    font.setPointSizeF(f.pointSize());
    out.setFont(font);
    out.setForeground(QColor::fromRgba(f.color));
    return out;
}

void appendText(QTextCursor& cursor, const RichDocument& doc)
{
    for (const RichLine& line : doc.lines()) {
        cursor.insertBlock(QTextBlockFormat());
        for (qsizetype i = 0; i < line.text.size();) {
            qsizetype end = i + 1;
            while (end < line.text.size() && line.formats.at(end) == line.formats.at(i))
                ++end;
            cursor.insertText(line.text.mid(i, end - i), qtFormat(doc.format(line.formats.at(i))));
            i = end;
        }
    }
}

/// QTextDocument::print of doc to a PDF like ours; returns wall and CPU time.
std::pair<double, double> qtPrint(QTextDocument& doc, const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = cpuMs();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfPrinterDpi);
        writer.setPageLayout(paperLayout(kLetterCm, false));
        doc.print(&writer);
    }
    writeFileAtomically(path, buffer.data());
    return {timer.nsecsElapsed() / 1e6, cpuMs() - cpuStart};
}

/// Pages of a PDF file written by Qt: its page objects.
int pdfPages(const QString& path)
{
    QByteArray bytes;
    readWholeFile(path, &bytes, nullptr, kPictureFileLimit);
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return int(QString::fromLatin1(bytes).count(page));
}

struct Figures {
    QList<double> ours, qt, oursCpu, qtCpu;
    qint64 oursBytes = 0;
    qint64 qtBytes = 0;
    int oursPages = 0;
    int qtPages = 0;

    void report(const char* name) const
    {
        const double a = median(ours);
        const double b = median(qt);
        const double ac = median(oursCpu);
        const double bc = median(qtCpu);
        std::printf("%-24s print %8.2f ms  QTextDocument %8.2f ms  ratio %.2f  (CPU %.2f / %.2f, "
                    "ratio %.2f)  size %lld / %lld bytes, ratio %.2f  (%d / %d pages)\n",
                    name, a, b, b > 0 ? a / b : 0.0, ac, bc, bc > 0 ? ac / bc : 0.0,
                    qlonglong(oursBytes), qlonglong(qtBytes),
                    qtBytes > 0 ? double(oursBytes) / qtBytes : 0.0, oursPages, qtPages);
    }
};

/// Prints repetitions times through print (our side, into ours) and through
/// QTextDocument::print of doc (into theirs), each pair in turn, and reports the
/// medians, sizes and page counts under name.
void compare(const char* name, int repetitions, const QString& ours, const QString& theirs,
             QTextDocument& doc, const std::function<bool(PdfPrintJob&, QString*)>& print)
{
    Figures f;
    for (int r = 0; r < repetitions; ++r) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = cpuMs();
        PdfPrintJob job(ours, kLetterCm, false, kPdfPrinterDpi, QString::fromLatin1(name));
        QString error;
        if (!print(job, &error))
            std::printf("%s\n", qPrintable(error));
        f.ours << timer.nsecsElapsed() / 1e6;
        f.oursCpu << cpuMs() - cpuStart;
        const auto [wall, cpu] = qtPrint(doc, theirs);
        f.qt << wall;
        f.qtCpu << cpu;
    }
    f.oursBytes = QFileInfo(ours).size();
    f.qtBytes = QFileInfo(theirs).size();
    f.oursPages = pdfPages(ours);
    f.qtPages = pdfPages(theirs);
    f.report(name);
}

void recipeCase(const QString& base, int repetitions)
{
    Catalogue catalogue;
    catalogue.recipes = {normalBenchRecipe(base)};
    catalogue.CurrentRecipe = 0;
    CurrentDraft() = twoPageDraft();
    if (!LayOutRecipe(catalogue)) {
        std::printf("the recipe cannot be laid out\n");
        return;
    }
    TFVor& preview = *PreviewWindow();
    const ElementArray& elements = preview.elements();
    // A text wider than the sheet is fitted to it, as a user lays it out before printing.
    const int sheetWidth = CurrentDrucker().SheetWidth;
    for (int i = 0; i < elements.size(); ++i) {
        TGFXL& e = preview.elements()[i];
        if (e.Shown && !e.IsPicture && e.Left + e.width() > sheetWidth - 4) {
            e.Bitmap = newScreenImage(QSize(sheetWidth - 4 - e.Left, e.height()));
            preview.RenderElement(false, i);
        }
    }

    // The same texts and pictures for QTextDocument, page by page.
    QTextDocument doc;
    QTextCursor cursor(&doc);
    const TDrucker& d = CurrentDrucker();
    const double scale = double(d.PrintWidth) / d.SheetWidth;
    for (int page = 0; page <= preview.state().LastPageIndex; ++page) {
        if (page > 0) {
            QTextBlockFormat breakBefore;
            breakBefore.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.insertBlock(breakBefore);
        }
        for (int i = 0; i < elements.size(); ++i) {
            const TGFXL& e = elements.at(i);
            if (e.Page != page)
                continue;
            if (e.IsPicture) {
                const QString name = QStringLiteral("picture%1").arg(i);
                doc.addResource(QTextDocument::ImageResource, QUrl(name), e.Bitmap);
                QTextImageFormat image;
                image.setName(name);
                image.setWidth(e.width() * scale * 72.0 / kPdfPrinterDpi);
                image.setHeight(e.height() * scale * 72.0 / kPdfPrinterDpi);
                cursor.insertBlock(QTextBlockFormat());
                cursor.insertImage(image);
            } else {
                appendText(cursor, preview.richEdit(i));
            }
        }
    }

    const QString ours = base + QStringLiteral("recipe.pdf");
    const QString theirs = base + QStringLiteral("recipe-qt.pdf");
    compare("two-page recipe", repetitions, ours, theirs, doc,
            [&](PdfPrintJob& job, QString* error) {
                return PrintPages(
                    job, d, elements, [&](int i) -> RichDocument& { return preview.richEdit(i); },
                    preview.state().LastPageIndex, error);
            });
    DeletePreviewFiles(preview.elements(), BaseFolder());
    preview.ReleaseElements();
}

void listCase(const QString& base, int repetitions)
{
    RecipeGenerator generator;
    TKV kv;
    for (int i = 0; i < 1000; ++i) {
        kv << generator.recipe(i, base + QStringLiteral("prepared_recipes/"));
        kv.last().ListIndex = i + 1;
    }
    const QList<int> rows = ListedRecipes(kv);

    // The same blocks for QTextDocument: the icons, the bold name and the two lines.
    QTextDocument doc;
    QTextCursor cursor(&doc);
    CharFormat regular;
    regular.setPointSize(10);
    CharFormat bold = regular;
    bold.style = Bold;
    const double iconPoints = 235 * 72.0 / kPdfPrinterDpi; // 48 pixels at scale 4.9
    for (int type = 0; type < 5; ++type) {
        const QImage icon(base + QStringLiteral("Graphic/PNG/") + listIconFile(type));
        doc.addResource(QTextDocument::ImageResource, QUrl(listIconFile(type)), icon);
    }
    for (int index : rows) {
        cursor.insertBlock();
        for (int type :
             {RecipeType(kv, index), SecondRecipeType(kv, index), ThirdRecipeType(kv, index)}) {
            if (type < 0)
                continue;
            QTextImageFormat image;
            image.setName(listIconFile(type));
            image.setWidth(iconPoints);
            image.setHeight(iconPoints);
            cursor.insertImage(image);
        }
        const ListEntryText text = ListEntryLines(kv, index);
        cursor.insertText(cp1252::toUnicode(kv.at(index).Name), qtFormat(bold));
        cursor.insertText(QStringLiteral("\n") + text.source + QStringLiteral("\n") + text.info,
                          qtFormat(regular));
    }

    const QString ours = base + QStringLiteral("list.pdf");
    const QString theirs = base + QStringLiteral("list-qt.pdf");
    const TDrucker& d = CurrentDrucker();
    compare("list of 1,000 recipes", repetitions, ours, theirs, doc,
            [&](PdfPrintJob& job, QString* error) {
                return PrintRecipeList(job, d, kv, rows, base, error);
            });
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QTemporaryDir dir;
    const QString base = dir.path() + QLatin1Char('/');
    setUpPreviewBase(base, std::make_unique<PdfPrinterOnly>());
    CurrentPrinterName() = QString::fromLatin1(kPdfPrinterName);
    InitPaperFormats(CurrentPaperFormats());
    ComputePageMetrics(CurrentDrucker(), CurrentPaperFormats(), 2, false, false);
    if (only != QLatin1String("list"))
        recipeCase(base, repetitions);
    if (only != QLatin1String("recipe"))
        listCase(base, repetitions);
    return 0;
}
