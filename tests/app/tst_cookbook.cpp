// SPDX-License-Identifier: GPL-2.0-or-later

#include "tests/pdftools.h"
#include "tests/testfiles.h"

#include "app/F_main.h"
#include "app/commandline.h"
#include "app/cookbook.h"
#include "app/recipelistmodel.h"
#include "app/startup.h"
#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/session.h"
#include "preview/openpreview.h"
#include "preview/pagegeometry.h"
#include "preview/printdialog.h"
#include "preview/printers.h"
#include "preview/printjob.h"
#include "preview/streamedpdfjob.h"
#include "recipes/recipelist.h"

#include <QBuffer>
#include <QDir>
#include <QHash>
#include <QPrinter>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

// The cookbook of the demo collection, made by --print-book in-process and read back
// with poppler-utils and from the PDF's own objects.

namespace {

int runBook(const QString& folder, const QStringList& arguments, QString* err)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    QBuffer output;
    output.open(QIODevice::WriteOnly);
    QTextStream out(&output);
    QTextStream errors(err);
    const int code =
        runCommandLine(QStringList{QStringLiteral("dilboscan")} + arguments, out, errors);
    QDir::setCurrent(previous);
    return code;
}

// The objects of a PDF file as its last update leaves them: number -> text.
QHash<int, QByteArray> pdfObjects(const QByteArray& file)
{
    QHash<int, QByteArray> objects;
    static const QRegularExpression object(QStringLiteral("(?:^|\\n)(\\d+) 0 obj\\n(.*?)\\nendobj"),
                                           QRegularExpression::DotMatchesEverythingOption);
    const QString text = QString::fromLatin1(file);
    for (auto it = object.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        objects.insert(m.captured(1).toInt(), m.captured(2).toLatin1()); // later ones win
    }
    return objects;
}

QList<int> refsIn(const QByteArray& text)
{
    static const QRegularExpression ref(QStringLiteral("(\\d+) 0 R"));
    QList<int> refs;
    for (auto it = ref.globalMatch(QString::fromLatin1(text)); it.hasNext();)
        refs.append(it.next().captured(1).toInt());
    return refs;
}

QString capture(const QByteArray& text, const char* pattern)
{
    return QRegularExpression(QString::fromLatin1(pattern))
        .match(QString::fromLatin1(text))
        .captured(1);
}

// A link of the document: the page it is on, its rectangle (points from the top-left
// corner) and the page it leads to.
struct FoundLink {
    int page = -1;
    QRectF rect;
    int target = -1;
};

QList<FoundLink> linksOf(const QHash<int, QByteArray>& objects, QList<int>* pages)
{
    for (const QByteArray& body : objects) {
        if (body.contains("/Type /Pages"))
            *pages = refsIn(capture(body, "/Kids\\s*\\[([^\\]]*)\\]").toLatin1());
    }
    QList<FoundLink> links;
    for (int p = 0; p < pages->size(); ++p) {
        const QByteArray page = objects.value(pages->at(p));
        const double height = capture(page, "/MediaBox \\[0 0 [\\d.]+ ([\\d.]+)\\]").toDouble();
        const int annots = capture(page, "/Annots (\\d+) 0 R").toInt();
        for (int ref : refsIn(objects.value(annots))) {
            const QByteArray link = objects.value(ref);
            if (!link.contains("/Subtype /Link") || !link.contains("/Dest"))
                continue;
            const QStringList r = capture(link, "/Rect \\[([^\\]]*)\\]").split(QLatin1Char(' '));
            const QRectF rect(QPointF(r[0].toDouble(), height - r[3].toDouble()),
                              QPointF(r[2].toDouble(), height - r[1].toDouble()));
            const int target = capture(link, "/Dest \\[(\\d+) 0 R").toInt();
            links.append({p, rect, int(pages->indexOf(target))});
        }
    }
    return links;
}

// Each page's lowest text is its number, in the bottom margin (the sheet ends at least
// 1 cm above the paper's edge; the number sits in the band below it) and clear of every
// other text.
bool pageNumbersAtTheBottom(const QString& file, const QList<pdf::Word>& words)
{
    const double height = pdf::pageSize(file).height();
    for (int p = 0; p < pdf::pageCount(file); ++p) {
        const pdf::Word* lowest = nullptr;
        for (const pdf::Word& word : words) {
            if (word.page == p && (!lowest || word.box.bottom() > lowest->box.bottom()))
                lowest = &word;
        }
        if (!lowest || lowest->text != QString::number(p + 1) ||
            lowest->box.top() < height - 2 * 72 / 2.54 || lowest->box.bottom() > height) {
            qWarning("page %d: no number at the bottom", p + 1);
            return false;
        }
        for (const pdf::Word& word : words) {
            if (word.page == p && &word != lowest && word.box.intersects(lowest->box))
                return false;
        }
    }
    return true;
}

} // namespace

class CookbookTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void demoCookbook();
    void filteredBookOutlinesTheRecipesAlone();
    void cancellingLeavesNoFile_data();
    void cancellingLeavesNoFile();
    void menuPrintsTheSelectedRows();
    void menuCancelLeavesNoFile();
    void printerGetsTheSamePages();

private:
    // The main window on the demo collection, the print dialog answered with pdf.
    std::unique_ptr<TFMain> openMainWindow(Catalogue& catalogue, const QString& pdf);
    QStringList m_errors;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
};

void CookbookTest::init()
{
    if (!pdf::available())
        QSKIP("poppler-utils (pdftotext, pdftoppm) are not installed");
    m_dir = std::make_unique<QTemporaryDir>();
    m_base = m_dir->path() + QLatin1Char('/');
    QVERIFY(copyTree(QStringLiteral(DILBO_DATA_DIR), m_dir->path()));
}

void CookbookTest::cleanup()
{
    SetPrintDialogHook({});
    SetErrorReportHook({});
    SetShowMsgHook({});
    SetPrinters({});
    m_dir.reset();
}

// Every recipe is where the contents say, the contents link there, every page shows its
// number below everything else, and the outline leads to the same pages.
void CookbookTest::demoCookbook()
{
    const QString out = m_base + QStringLiteral("book.pdf");
    QString err;
    QCOMPARE(runBook(m_base,
                     {QStringLiteral("--print-book"), out, QStringLiteral("--title"),
                      QStringLiteral("Family Cookbook")},
                     &err),
             0);
    const int pageCount = pdf::pageCount(out);
    const QList<pdf::Word> words = pdf::words(out);
    QVERIFY(pdf::texts(words, 0).join(QLatin1Char(' ')).contains(QLatin1String("Family Cookbook")));
    QVERIFY(pdf::texts(words, 1).contains(QStringLiteral("Contents")));

    QByteArray bytes = fileBytes(out);
    QList<int> pages;
    const QList<FoundLink> links = linksOf(pdfObjects(bytes), &pages);
    QCOMPARE(pages.size(), pageCount);
    // One link per recipe of the demo collection (22), each on a contents line that
    // names the recipe and the page number it leads to.
    QCOMPARE(links.size(), 22);
    QHash<QString, int> pageOfRecipe;
    for (const FoundLink& link : links) {
        QStringList line;
        for (const pdf::Word& word : words) {
            if (word.page == link.page && link.rect.contains(word.box.center()))
                line << word.text;
        }
        QVERIFY2(line.size() >= 2, qPrintable(line.join(QLatin1Char(' '))));
        const int number = line.takeLast().toInt();
        QCOMPARE(link.target, number - 1);
        const QString name = line.join(QLatin1Char(' '));
        QVERIFY2(pdf::texts(words, link.target).join(QLatin1Char(' ')).contains(name),
                 qPrintable(name));
        pageOfRecipe.insert(name, link.target);
    }
    QVERIFY(pageNumbersAtTheBottom(out, words));
    // The outline as poppler reads it: the contents, then categories with their recipes.
    const QString xml = QString::fromUtf8(
        pdf::run(QStringLiteral("pdftohtml"), {QStringLiteral("-xml"), QStringLiteral("-stdout"),
                                               QStringLiteral("-i"), QStringLiteral("-q"), out}));
    static const QRegularExpression item(QStringLiteral("<item page=\"(\\d+)\">([^<]*)</item>"));
    int recipesInOutline = 0;
    for (auto it = item.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        QString title = m.captured(2);
        title.replace(QLatin1String("&apos;"), QLatin1String("'"))
            .replace(QLatin1String("&amp;"), QLatin1String("&"));
        if (pageOfRecipe.contains(title)) {
            QCOMPARE(m.captured(1).toInt(), pageOfRecipe.value(title) + 1);
            ++recipesInOutline;
        }
    }
    QCOMPARE(recipesInOutline, 22);
    QVERIFY(xml.contains(QLatin1String("<item page=\"2\">Contents</item>")));
    QVERIFY(xml.contains(QLatin1String(">Baking</item>\n<outline>")));
}

// Filtered by a category, the book is not grouped: the outline lists the contents and
// then the recipes themselves, each leading to its page.
void CookbookTest::filteredBookOutlinesTheRecipesAlone()
{
    const QString out = m_base + QStringLiteral("cakes.pdf");
    QString err;
    QCOMPARE(runBook(m_base,
                     {QStringLiteral("--print-book"), out, QStringLiteral("--category"),
                      QStringLiteral("Cakes")},
                     &err),
             0);
    const QList<pdf::Word> words = pdf::words(out);
    const QString xml = QString::fromUtf8(
        pdf::run(QStringLiteral("pdftohtml"), {QStringLiteral("-xml"), QStringLiteral("-stdout"),
                                               QStringLiteral("-i"), QStringLiteral("-q"), out}));
    static const QRegularExpression item(QStringLiteral("<item page=\"(\\d+)\">([^<]*)</item>"));
    QStringList titles;
    for (auto it = item.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        titles << m.captured(2);
        if (m.captured(2) != QLatin1String("Contents"))
            QVERIFY2(pdf::texts(words, m.captured(1).toInt() - 1)
                         .join(QLatin1Char(' '))
                         .contains(m.captured(2)),
                     qPrintable(m.captured(2)));
    }
    QCOMPARE(titles, (QStringList{QStringLiteral("Contents"), QStringLiteral("Lemon tart"),
                                  QStringLiteral("Strawberry Birthday Cake")}));
    QVERIFY(!xml.contains(QLatin1String("</item>\n<outline>"))); // nothing nested
}

void CookbookTest::cancellingLeavesNoFile_data()
{
    QTest::addColumn<int>("cancelAt"); // the step whose report answers Cancel
    QTest::newRow("while counting pages") << 1;
    QTest::newRow("after the last recipe") << 6;
}

// An earlier book stays as it was, and no temporary file is left beside it.
void CookbookTest::cancellingLeavesNoFile()
{
    QFETCH(int, cancelAt);
    const QString out = m_base + QStringLiteral("book.pdf");
    putFile(out, "earlier book");
    setBaseFolder(m_base);
    SetPrinters(std::make_unique<PdfPrinterOnly>());
    CurrentPrinterName() = QString::fromLatin1(kPdfPrinterName);
    Catalogue catalogue;
    QList<FileProblem> problems;
    loadCatalogueAtStartup(m_base, catalogue.recipes, &problems);
    ComputeDefaultPageMetrics();
    StreamedPdfPrintJob job(out, currentPaperCm(), CurrentDrucker().PageLandscape, kPdfPrinterDpi);
    int reported = 0;
    QString error;
    QStringList skipped;
    const BookResult result = PrintBook(
        job, catalogue, {{0, 1, 2}, QStringLiteral("Book"), true},
        [&](int done, int total) {
            reported = done;
            return !(done == cancelAt && total == 6);
        },
        &error, &skipped);
    QCOMPARE(int(result), int(BookResult::Cancelled));
    QCOMPARE(reported, cancelAt);
    QCOMPARE(fileBytes(out), QByteArray("earlier book"));
    QCOMPARE(QDir(m_base).entryList({QStringLiteral("book.pdf*")}, QDir::Files),
             QStringList{QStringLiteral("book.pdf")});
}

std::unique_ptr<TFMain> CookbookTest::openMainWindow(Catalogue& catalogue, const QString& pdf)
{
    setBaseFolder(m_base);
    SetPrinters(std::make_unique<PdfPrinterOnly>());
    m_errors.clear();
    SetErrorReportHook([this](const QString& text) { m_errors << text; });
    SetShowMsgHook([](int, int, int) { return kAnswerNo; });
    SetPrintDialogHook([pdf](PrinterChoice& choice) {
        choice.printer = QString::fromLatin1(kPdfPrinterName);
        choice.pdfFile = pdf;
        return true;
    });
    auto main = std::make_unique<TFMain>(catalogue);
    main->setOptionsRead(false); // closes without the question
    main->FillRecipeList(true);
    main->show();
    return main;
}

// Two selected rows make a book of those two, in list order.
void CookbookTest::menuPrintsTheSelectedRows()
{
    const QString pdf = m_base + QStringLiteral("selected.pdf");
    Catalogue catalogue;
    const auto main = openMainWindow(catalogue, pdf);
    QItemSelectionModel& selection = *main->LVRezepte->selectionModel();
    for (int row : {5, 2})
        selection.select(main->listModel()->index(row, 0),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QString second = main->listModel()->index(2, 0).data().toString();
    const QString fifth = main->listModel()->index(5, 0).data().toString();
    main->Kochbuchdrucken1->trigger();
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(QLatin1Char('\n'))));
    QList<int> pages;
    const QList<FoundLink> links = linksOf(pdfObjects(fileBytes(pdf)), &pages);
    QCOMPARE(links.size(), 2);
    const QList<pdf::Word> words = pdf::words(pdf);
    for (const QString& name : {second, fifth}) {
        const bool linked = std::any_of(links.cbegin(), links.cend(), [&](const FoundLink& link) {
            return pdf::texts(words, link.target).join(QLatin1Char(' ')).contains(name);
        });
        QVERIFY2(linked, qPrintable(name));
    }
}

// Cancel in the progress window, which is modal to the main window: no file.
void CookbookTest::menuCancelLeavesNoFile()
{
    const QString pdf = m_base + QStringLiteral("cancelled.pdf");
    Catalogue catalogue;
    const auto main = openMainWindow(catalogue, pdf);
    bool modalToMain = false;
    // Runs at the first progress report, which lets events through.
    QTimer::singleShot(0, main.get(), [&] {
        auto* progress = main->findChild<QProgressDialog*>(QStringLiteral("CookbookProgress"));
        QVERIFY(progress);
        modalToMain = progress->isVisible() && progress->windowModality() == Qt::WindowModal;
        progress->cancel();
    });
    main->Kochbuchdrucken1->trigger();
    QVERIFY(modalToMain);
    QVERIFY(m_errors.isEmpty());
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(QDir(m_base).entryList({QStringLiteral("cancelled.pdf*")}, QDir::Files),
             QStringList());
}

// On a printer of the system (here one that Qt's print system makes a PDF file of, with
// its own printable area) the book has the same pages and numbers as the PDF file.
void CookbookTest::printerGetsTheSamePages()
{
    const QString printed = m_base + QStringLiteral("printer.pdf");
    Catalogue catalogue;
    const auto main = openMainWindow(catalogue, QString());
    SetPrintDialogHook([&](PrinterChoice& choice) {
        choice.system = SystemPrinterFor(QString(), currentPaperCm(), false);
        choice.system->setOutputFormat(QPrinter::PdfFormat);
        choice.system->setOutputFileName(printed);
        choice.system->setPageMargins(QMarginsF(5, 5, 5, 12), QPageLayout::Millimeter);
        choice.printer = choice.system->printerName();
        return true;
    });
    main->Kochbuchdrucken1->trigger();
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(QLatin1Char('\n'))));
    QCOMPARE(pdf::pageCount(printed), 25);
    QVERIFY(pageNumbersAtTheBottom(printed, pdf::words(printed)));
}

QTEST_MAIN(CookbookTest)
#include "tst_cookbook.moc"
