// SPDX-License-Identifier: GPL-2.0-or-later

#include "tests/pdftools.h"
#include "tests/testfiles.h"

#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/session.h"
#include "platform/richtext/devicefont.h"
#include "preview/F_Vor.h"
#include "preview/listprint.h"
#include "preview/openpreview.h"
#include "preview/pagegeometry.h"
#include "preview/previewstate.h"
#include "preview/printdialog.h"
#include "preview/printers.h"
#include "preview/printing.h"
#include "preview/printjob.h"
#include "preview/servingsscale.h"
#include "recipes/recipefile.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QPainter>
#include <QTemporaryDir>

#include <array>

// Printing to PDF files through the built-in 600-dpi PDF printer on "Letter (US)"
// paper, read back with poppler-utils: pages, words and where they stand, picture
// sizes, the list's page break. No system printer is ever asked.

namespace {

/// The words of a text separated by single blanks.
QStringList list(const char* words)
{
    return QString::fromUtf8(words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

constexpr int kDpi = kPdfPrinterDpi;

double toPixels(double points)
{
    return points * kDpi / 72.0;
}

/// A layout made by hand: elements with their rich edits.
struct Layout {
    ElementArray elements;
    std::array<rich::RichDocument, kElementCount> docs;

    Layout() { ResetElements(elements, ResetMode::Create); }

    void text(int i, int page, QPoint at, const QString& line)
    {
        place(i, page, at);
        rich::CharFormat f;
        f.fontName = QStringLiteral("Arial");
        f.setPointSize(12);
        docs[size_t(i)].appendLine(line, docs[size_t(i)].intern(f));
    }
    void place(int i, int page, QPoint at)
    {
        TGFXL& e = elements[i];
        e.Page = page;
        e.Shown = page >= 0;
        e.Left = at.x();
        e.Top = at.y();
    }
    RichEditOf edits()
    {
        return [this](int i) -> rich::RichDocument& { return docs[size_t(i)]; };
    }
};

QImage solid(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pictureScale_data();
    void pictureScale();
    void pictureLandsAtItsPrintedSize_data();
    void pictureLandsAtItsPrintedSize();
    void pagesAndElements_data();
    void pagesAndElements();
    void sheetPositionsScaleToThePrintArea_data();
    void sheetPositionsScaleToThePrintArea();
    void sheetOnPrintersOfTheirOwn_data();
    void sheetOnPrintersOfTheirOwn();
    void previewPrintsEveryWordWithEmbeddedFonts();
    void pictureLargerThanTheSheetPrintsAt600Dpi_data();
    void pictureLargerThanTheSheetPrintsAt600Dpi();
    void failingPrintIsReported_data();
    void failingPrintIsReported();
    void listLinesFitTheirWidth_data();
    void listLinesFitTheirWidth();
    void listEntryLines_data();
    void listEntryLines();
    void listPrintout();
    void listModePrintsTheListedRows();
    void previewPrintsForOtherServings_data();
    void previewPrintsForOtherServings();

private:
    QString file(const QString& name) const { return m_base + name; }
    bool printLayout(Layout& layout, int lastPage, const QString& path, QString* error = nullptr);
    TKV listRecipes(int count) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
    TDrucker m_geometry;
    QStringList m_errors;
};

void PrintingTest::init()
{
    if (!pdf::available())
        QSKIP("poppler-utils (pdftotext, pdftoppm) are not installed");
    m_dir = std::make_unique<QTemporaryDir>();
    m_base = m_dir->path() + QLatin1Char('/');
    QVERIFY(
        copyTree(QStringLiteral(DILBO_DATA_DIR "/Graphic"), m_base + QStringLiteral("Graphic")));
    setBaseFolder(m_base);
    SetPrinters(std::make_unique<PdfPrinterOnly>());
    CurrentPrinterName() = QString::fromLatin1(kPdfPrinterName);
    InitPaperFormats(CurrentPaperFormats());
    // The paper a preview without a standard draft lays out on: Letter, portrait.
    CurrentSettings().formatIndex = kDefaultFormatIndex;
    CurrentSettings().landscape = false;
    ComputePageMetrics(CurrentDrucker(), CurrentPaperFormats(), 2, false, false);
    m_geometry = CurrentDrucker();
    QCOMPARE(m_geometry.SheetWidth, 722);
    QCOMPARE(m_geometry.SheetHeight, 981);
    m_errors.clear();
    SetErrorReportHook([this](const QString& text) { m_errors << text; });
}

void PrintingTest::cleanup()
{
    SetErrorReportHook({});
    SetPrintDialogHook({});
    SetShowMsgHook({});
    SetPreviewShownHook({});
    SetPrinters({});
    m_dir.reset();
}

bool PrintingTest::printLayout(Layout& layout, int lastPage, const QString& path, QString* error)
{
    PdfPrintJob job(path, QSizeF(21.59, 27.94), false, kDpi);
    return PrintPages(job, m_geometry, layout.elements, layout.edits(), lastPage, error);
}

void PrintingTest::pictureScale_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<int>("tenths");
    QTest::newRow("strip in 400 x 200") << QSize(64, 32) << QSize(400, 200) << 62;
    QTest::newRow("strip in 1000 x 1000, never above 15")
        << QSize(64, 32) << QSize(1000, 1000) << 150;
    QTest::newRow("the height lowers it further") << QSize(64, 32) << QSize(2000, 100) << 31;
    // 36 x 6.2 = 223.2 is over the box although it rounds to 223: lowering goes on.
    QTest::newRow("lowered once the height is over") << QSize(64, 36) << QSize(400, 223) << 61;
    QTest::newRow("box smaller than the picture: 1.0") << QSize(64, 32) << QSize(50, 20) << 10;
    QTest::newRow("height alone too small: 1.0") << QSize(10, 40) << QSize(1000, 30) << 10;
}

void PrintingTest::pictureScale()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, box);
    QFETCH(int, tenths);
    QCOMPARE(PictureScaleTenths(picture, box.width(), box.height()), tenths);
}

void PrintingTest::pictureLandsAtItsPrintedSize_data()
{
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QSize>("printed");
    QTest::newRow("scale 6.2") << QSize(400, 200) << QSize(397, 198);
    QTest::newRow("scale 15") << QSize(1000, 1000) << QSize(960, 480);
    QTest::newRow("scale 1, larger than its box") << QSize(50, 20) << QSize(64, 32);
}

void PrintingTest::pictureLandsAtItsPrintedSize()
{
    QFETCH(QSize, box);
    QFETCH(QSize, printed);
    const QString path = file(QStringLiteral("picture.pdf"));
    PdfPrintJob job(path, QSizeF(21.59, 27.94), false, kDpi);
    QPainter painter;
    QVERIFY(job.begin(painter, nullptr));
    int x = 100;
    int y = 50;
    PrintPicture(painter, m_geometry, x, y, solid(QSize(64, 32), qRgb(255, 0, 0)), box.height(),
                 box.width());
    QString error;
    QVERIFY2(job.end(painter, &error), qPrintable(error));
    QCOMPARE(QPoint(x, y), QPoint(100, 50) + QPoint(printed.width(), printed.height()));

    const QPoint corner(m_geometry.PrintOffsetX + 100, m_geometry.PrintOffsetY + 50);
    const QRect region(corner - QPoint(10, 10), printed + QSize(20, 20));
    const QImage page = pdf::render(path, 0, kDpi, region);
    QVERIFY(!page.isNull());
    // The rasteriser may take in the pixel row or column an edge touches.
    const QRect found = pdf::boxOf(page, qRgb(255, 0, 0));
    const QRect expected(QPoint(10, 10), printed);
    QVERIFY2(qAbs(found.left() - expected.left()) <= 1 && qAbs(found.top() - expected.top()) <= 1 &&
                 qAbs(found.right() - expected.right()) <= 1 &&
                 qAbs(found.bottom() - expected.bottom()) <= 1,
             qPrintable(QStringLiteral("%1,%2 %3 x %4")
                            .arg(found.x())
                            .arg(found.y())
                            .arg(found.width())
                            .arg(found.height())));
}

void PrintingTest::pagesAndElements_data()
{
    QTest::addColumn<int>("namePage");
    QTest::addColumn<int>("commentsPage");
    QTest::addColumn<int>("lastPage");
    QTest::addColumn<QList<QStringList>>("pages"); // words of each printed page
    const QStringList name = list("Tomato soup");
    const QStringList comments = list("Serve hot");
    QTest::newRow("one page") << 0 << 0 << 0 << QList<QStringList>{comments + name};
    QTest::newRow("two pages") << 0 << 1 << 1 << QList<QStringList>{name, comments};
    QTest::newRow("empty second page") << 0 << 0 << 1 << QList<QStringList>{comments + name, {}};
    QTest::newRow("hidden element") << 0 << -1 << 0 << QList<QStringList>{name};
    QTest::newRow("element above the last page") << 0 << 1 << 0 << QList<QStringList>{name};
}

void PrintingTest::pagesAndElements()
{
    QFETCH(int, namePage);
    QFETCH(int, commentsPage);
    QFETCH(int, lastPage);
    QFETCH(QList<QStringList>, pages);
    Layout layout;
    // Index order: the comments (0) are drawn, and found, before the name (7).
    layout.text(kRecipeName, namePage, QPoint(10, 200), QStringLiteral("Tomato soup"));
    layout.text(kComments, commentsPage, QPoint(10, 20), QStringLiteral("Serve hot"));
    const QString path = file(QStringLiteral("pages.pdf"));
    QString error;
    QVERIFY2(printLayout(layout, lastPage, path, &error), qPrintable(error));
    QCOMPARE(pdf::pageCount(path), pages.size());
    const QList<pdf::Word> words = pdf::words(path);
    for (int p = 0; p < pages.size(); ++p)
        QCOMPARE(pdf::texts(words, p), pages.at(p));
}

void PrintingTest::sheetOnPrintersOfTheirOwn_data()
{
    // Letter: 21.59 x 27.94 cm, a sheet of 722 x 981 pixels; margins 2.5 cm left, 1 cm
    // top and bottom, 0.5 cm right, so the sheet's width fills 18.59 cm.
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QRectF>("printableCm"); // on the paper
    QTest::addColumn<QPointF>("originCm");   // the sheet's corner, from the printable corner
    QTest::addColumn<double>("sheetCm");     // the printed width of the sheet
    QTest::newRow("the whole paper, 600 dpi")
        << 600 << QRectF(0, 0, 21.59, 27.94) << QPointF(2.5, 1.0) << 18.59;
    QTest::newRow("small margins of its own, 300 dpi")
        << 300 << QRectF(0.5, 0.5, 20.59, 26.94) << QPointF(2.0, 0.5) << 18.59;
    // It prints no further right than 19 cm: the sheet shrinks to 16.5 cm, both ways.
    QTest::newRow("a narrow printable area, 1200 dpi")
        << 1200 << QRectF(0.3, 0.3, 18.7, 27.34) << QPointF(2.2, 0.7) << 16.5;
    // Its printable area begins 3 cm down: the sheet starts there and must end 1 cm
    // above the bottom, so its 25.94 cm of height at true size get 23.94 cm, and its
    // 19.09 cm of width as much less.
    QTest::newRow("a deep top margin, 600 dpi")
        << 600 << QRectF(0, 3.0, 21.59, 24.94) << QPointF(2.5, 0.0) << 19.09 * 23.94 / 25.94;
}

// The sheet lands between the layout's margins and inside the printer's printable area,
// with one scale both ways.
void PrintingTest::sheetOnPrintersOfTheirOwn()
{
    QFETCH(int, dpi);
    QFETCH(QRectF, printableCm);
    QFETCH(QPointF, originCm);
    QFETCH(double, sheetCm);
    const double cm = dpi / 2.54;
    const QRect printable(qRound(printableCm.x() * cm), qRound(printableCm.y() * cm),
                          qRound(printableCm.width() * cm), qRound(printableCm.height() * cm));
    const SheetOnPage at = PlaceSheetOnPage(m_geometry, dpi, printable);
    // Within a pixel of the printer's own rounding of the printable area.
    QVERIFY2(qAbs(at.origin.x() - originCm.x() * cm) <= 1 &&
                 qAbs(at.origin.y() - originCm.y() * cm) <= 1,
             qPrintable(QStringLiteral("%1, %2").arg(at.origin.x()).arg(at.origin.y())));
    QVERIFY2(qAbs(at.scale * 722 / cm - sheetCm) <= 0.01,
             qPrintable(QString::number(at.scale * 722 / cm)));
}

void PrintingTest::sheetPositionsScaleToThePrintArea_data()
{
    QTest::addColumn<QPointF>("sheetFraction");
    QTest::newRow("top-left corner") << QPointF(0, 0);
    QTest::newRow("middle of the sheet") << QPointF(0.5, 0.5);
    QTest::newRow("a quarter across, three quarters down") << QPointF(0.25, 0.75);
}

void PrintingTest::sheetPositionsScaleToThePrintArea()
{
    QFETCH(QPointF, sheetFraction);
    const TDrucker& g = m_geometry;
    const QPoint sheet(qRound(g.SheetWidth * sheetFraction.x()),
                       qRound(g.SheetHeight * sheetFraction.y()));
    Layout layout;
    layout.text(kRecipeName, 0, sheet, QStringLiteral("Marker"));
    const QString path = file(QStringLiteral("position.pdf"));
    QVERIFY(printLayout(layout, 0, path));
    const QList<pdf::Word> words = pdf::words(path);
    QCOMPARE(words.size(), 1);
    // On Letter the sheet's 722 pixels of width fill the 18.59 cm between the 2.5-cm left
    // margin and the 0.5-cm right one, and the same scale goes down from the 1-cm top.
    const double cm = kDpi / 2.54;
    const double perSheetPixel = 18.59 * cm / 722;
    const QPointF expected(2.5 * cm + perSheetPixel * sheet.x(),
                           1.0 * cm + perSheetPixel * sheet.y());
    const QPointF found(toPixels(words.first().box.left()), toPixels(words.first().box.top()));
    // Within a point: the glyph's own side bearing and the font's stated ascent.
    QVERIFY2(qAbs(found.x() - expected.x()) <= toPixels(1) &&
                 qAbs(found.y() - expected.y()) <= toPixels(1),
             qPrintable(QStringLiteral("found (%1, %2), expected (%3, %4)")
                            .arg(found.x())
                            .arg(found.y())
                            .arg(expected.x())
                            .arg(expected.y())));
}

// The preview's "Print recipe": every element shown, every word of the recipe found as
// text in the PDF, every font embedded.
void PrintingTest::previewPrintsEveryWordWithEmbeddedFonts()
{
    TKVG r;
    r.FileName = QStringLiteral("Soup.vrez");
    r.FilePath = m_base + QStringLiteral("prepared_recipes/Soup.vrez");
    r.Name = "Tomato soup";
    r.Categories = "Soups,";
    r.Servings = "4";
    r.Difficulty = 3;
    r.Devices = "cooking pot,";
    r.Comments = {"Serve hot with bread."};
    r.Ingredients = {"tomatoes", "onion"};
    r.Instructions = {"Chop the tomatoes and the onion.", "", "Simmer for twenty minutes."};
    r.PictureFile = m_base + QStringLiteral("Graphic/PNG/Pancakes.png");
    Catalogue catalogue;
    catalogue.recipes = {r};
    catalogue.CurrentRecipe = 0;
    const QString path = file(QStringLiteral("Tomato soup.pdf"));
    int dialogs = 0;
    SetPrintDialogHook([&](PrinterChoice& choice) {
        ++dialogs;
        choice.printer = QString::fromLatin1(kPdfPrinterName);
        choice.pdfFile = path;
        return true;
    });
    // No standard draft: the default layout shows every element, none over another.
    SetPreviewShownHook([](TFVor& preview) {
        preview.Drucken1->trigger();
        preview.close();
    });
    OpenPreview(catalogue, true, false);
    QCOMPARE(dialogs, 1);
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(QLatin1Char('\n'))));
    QCOMPARE(pdf::pageCount(path), 1);
    const QStringList found = pdf::texts(pdf::words(path));
    for (const QString& word :
         QStringLiteral("Tomato soup Serve hot with bread. tomatoes onion Chop the and Simmer for "
                        "twenty minutes. Recipe information: Soups, Number of Servings: 4 "
                        "Cooking date:")
             .split(QLatin1Char(' ')))
        QVERIFY2(found.contains(word), qPrintable(word));
    const QStringList fonts = pdf::fonts(path);
    QVERIFY(!fonts.isEmpty());
    for (const QString& font : fonts) {
        // name, type, encoding, then emb sub uni object generation
        const QStringList columns = font.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QVERIFY2(columns.size() >= 5 && columns.at(columns.size() - 5) == QLatin1String("yes"),
                 qPrintable(font));
    }
}

void PrintingTest::pictureLargerThanTheSheetPrintsAt600Dpi_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("laidOut"); // fitted to the sheet's width, with the border
    QTest::addColumn<QSize>("kept");    // within 600 dpi of the sheet, either way round
    // The fitted size at 6.2 times, on a page that prints the 19.09 cm of the sheet's
    // width in 18.59 cm (the right margin): 4464 x 18.59 / 19.09 = 4344.
    QTest::addColumn<QSize>("printed");
    QTest::newRow("6000 x 1000") << QSize(6000, 1000) << QSize(722, 122) << QSize(6000, 1000)
                                 << QSize(4344, 724);
    QTest::newRow("8000 x 1000, kept 6131 wide: 981 sheet pixels at 600 dpi")
        << QSize(8000, 1000) << QSize(722, 91) << QSize(6131, 766) << QSize(4344, 537);
}

// A picture larger than the sheet is laid out fitted to it and printed from its own
// pixels, as many as the printed size holds at 600 dpi: neither the 96-dpi pixels the
// sheet shows nor all of its own.
void PrintingTest::pictureLargerThanTheSheetPrintsAt600Dpi()
{
    QFETCH(QSize, size);
    QFETCH(QSize, laidOut);
    QFETCH(QSize, kept);
    QFETCH(QSize, printed);
    QImage photo(size, QImage::Format_RGB32);
    photo.fill(qRgb(200, 30, 30));
    TKVG r;
    r.FileName = QStringLiteral("Stew.vrez");
    r.FilePath = m_base + QStringLiteral("prepared_recipes/Stew.vrez");
    r.Name = "Stew";
    r.Ingredients = {"beef"};
    r.PictureFile = file(QStringLiteral("photo.png"));
    QVERIFY(photo.save(r.PictureFile));
    Catalogue catalogue;
    catalogue.recipes = {r};
    catalogue.CurrentRecipe = 0;
    CurrentDraft() = TDruckvorlage();
    const QString path = file(QStringLiteral("Stew.pdf"));
    SetPrintDialogHook([&](PrinterChoice& choice) {
        choice.printer = QString::fromLatin1(kPdfPrinterName);
        choice.pdfFile = path;
        return true;
    });
    TGFXL shown;
    SetPreviewShownHook([&](TFVor& preview) {
        shown = preview.elements().at(kRecipeGraphic);
        preview.Drucken1->trigger();
        preview.close();
    });
    OpenPreview(catalogue, true, false);
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(QLatin1Char('\n'))));
    QCOMPARE(shown.Bitmap.size(), laidOut);
    QCOMPARE(shown.Picture.size(), kept);
    const QList<pdf::Image> images = pdf::images(path);
    QCOMPARE(images.size(), 1);
    QCOMPARE(images.first().pixels, printed);
    QCOMPARE(images.first().ppi, QSize(kDpi, kDpi));
}

void PrintingTest::failingPrintIsReported_data()
{
    QTest::addColumn<QString>("target"); // "": the dialog is cancelled
    QTest::addColumn<bool>("reported");
    QTest::newRow("cancelled") << QString() << false;
    QTest::newRow("a folder at the PDF path") << QStringLiteral("folder.pdf") << true;
    QTest::newRow("a missing folder") << QStringLiteral("missing/out.pdf") << true;
}

void PrintingTest::failingPrintIsReported()
{
    QFETCH(QString, target);
    QFETCH(bool, reported);
    QVERIFY(QDir().mkpath(file(QStringLiteral("folder.pdf"))));
    const QString path = target.isEmpty() ? QString() : file(target);
    SetPrintDialogHook([&](PrinterChoice& choice) {
        choice.printer = QString::fromLatin1(kPdfPrinterName);
        choice.pdfFile = path;
        return !path.isEmpty();
    });
    Layout layout;
    layout.text(kRecipeName, 0, QPoint(0, 0), QStringLiteral("Tomato soup"));
    PrintLayout(nullptr, layout.elements, layout.edits(), 0);
    QCOMPARE(m_errors.size(), reported ? 1 : 0);
    if (reported)
        QVERIFY2(m_errors.first().contains(path), qPrintable(m_errors.first()));
    QVERIFY(QFileInfo(file(QStringLiteral("folder.pdf"))).isDir());
    // Nothing but the folder: no PDF and no temporary file anywhere.
    QDirIterator it(m_base, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString found = it.next();
        QVERIFY2(found.startsWith(m_base + QStringLiteral("Graphic/")), qPrintable(found));
    }
}

void PrintingTest::listLinesFitTheirWidth_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("spare"); // pixels added to the text's own width
    QTest::addColumn<bool>("cut");
    const QString remark = QStringLiteral("Comments: whipped cream \U0001F353 and berries");
    QTest::newRow("wider than the text") << remark << 1 << false;
    QTest::newRow("exactly as wide") << remark << 0 << false;
    QTest::newRow("a pixel narrower") << remark << -1 << true;
    QTest::newRow("half as wide") << remark << -1000 << true;
}

// What is left of a cut line ends in "...", fits, and is the longest start that does.
void PrintingTest::listLinesFitTheirWidth()
{
    QFETCH(QString, text);
    QFETCH(int, spare);
    QFETCH(bool, cut);
    QImage device(10, 10, QImage::Format_RGB32);
    device.setDotsPerMeterX(23622); // 600 dpi
    device.setDotsPerMeterY(23622);
    rich::CharFormat arial;
    arial.fontName = QStringLiteral("Arial");
    arial.setPointSize(10);
    rich::DeviceFont font(arial, &device);
    const auto widthOf = [&font](const QString& s) {
        int w = 0;
        for (qsizetype i = 0; i < s.size(); ++i)
            w += font.advanceAt(s, i);
        return w;
    };
    const int full = widthOf(text);
    const int width = spare == -1000 ? full / 2 : full + spare;
    const QString fitted = FitListLine(font, text, width);
    if (!cut) {
        QCOMPARE(fitted, text);
        return;
    }
    QVERIFY(fitted.endsWith(QLatin1String("...")));
    const QString start = fitted.chopped(3);
    QVERIFY(text.startsWith(start));
    QVERIFY2(widthOf(fitted) <= width, qPrintable(fitted));
    QVERIFY2(widthOf(text.left(start.size() + 1) + QStringLiteral("...")) > width,
             qPrintable(fitted));
    QVERIFY(start.isEmpty() || !start.back().isHighSurrogate());
}

void PrintingTest::listEntryLines_data()
{
    QTest::addColumn<QByteArrayList>("fields"); // Binder, Magazine, Book, Page, Remark
    QTest::addColumn<bool>("normalText");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("info");
    QTest::newRow("ring binder with a page") << QByteArrayList{"Red", "", "", "12", ""} << false
                                             << QStringLiteral("Red page 12") << QStringLiteral("");
    QTest::newRow("binder and magazine with a page")
        << QByteArrayList{"Red", "Cooking", "", "12", ""} << false
        << QStringLiteral("Red page 12 - Cooking (page 12)") << QStringLiteral("");
    QTest::newRow("binder beside a typed recipe")
        << QByteArrayList{"Red", "", "", "12", ""} << true << QStringLiteral("Red page 12")
        << QStringLiteral("");
    QTest::newRow("book and a remark")
        << QByteArrayList{"", "", "Baking", "", "from Gran"} << false << QStringLiteral("Baking")
        << QStringLiteral("Comments: from Gran");
    QTest::newRow("kept nowhere: categories, servings, time")
        << QByteArrayList{"", "", "", "", "ignored"} << true << QStringLiteral("Categories: Soups,")
        << QStringLiteral("Number of Servings: 4 - cooking time: 20 min");
}

void PrintingTest::listEntryLines()
{
    QFETCH(QByteArrayList, fields);
    QFETCH(bool, normalText);
    QFETCH(QString, source);
    QFETCH(QString, info);
    TKVG r;
    r.Binder = fields[0];
    r.Magazine = fields[1];
    r.Book = fields[2];
    r.Page = fields[3];
    r.Remark = fields[4];
    r.Categories = "Soups,";
    r.Servings = "4";
    r.PrepTime = "20 min";
    if (normalText)
        r.Instructions = {"Stir."};
    const ListEntryText lines = ListEntryLines(TKV{r}, 0);
    QCOMPARE(lines.source, source);
    QCOMPARE(lines.info, info);
}

TKV PrintingTest::listRecipes(int count) const
{
    TKV kv;
    for (int i = 0; i < count; ++i) {
        TKVG r;
        r.Name = QStringLiteral("Dish%1").arg(i, 3, 10, QLatin1Char('0')).toLatin1();
        r.Instructions = {"Stir."};
        if (i == 1) {
            r.Binder = "Red";
            r.Page = "12";
            r.Remark = QByteArray("Serve with whipped cream and fresh berries. ").repeated(6);
        }
        r.ListIndex = count - i; // the list shows them in reverse
        kv << r;
    }
    return kv;
}

// The list printout: every listed recipe once, in list order, name after its icons;
// a list longer than a page goes on at the top of the next page, and a list that fills
// its pages exactly adds no empty page.
void PrintingTest::listPrintout()
{
    // A plain blue icon for normal recipes; the ring binder's icon is missing.
    QImage icon = solid(QSize(48, 48), qRgb(0, 0, 255));
    QVERIFY(icon.save(file(QStringLiteral("Graphic/PNG/Normal_48.png"))));
    QVERIFY(QFile::remove(file(QStringLiteral("Graphic/PNG/Ordner_48.png"))));
    const auto print = [&](const TKV& kv, const QString& path) {
        PdfPrintJob job(path, QSizeF(21.59, 27.94), false, kDpi);
        QString error;
        QVERIFY2(PrintRecipeList(job, m_geometry, kv, ListedRecipes(kv), m_base, &error),
                 qPrintable(error));
    };
    const TKV kv = listRecipes(30);
    const QString path = file(QStringLiteral("list.pdf"));
    print(kv, path);
    QCOMPARE(pdf::pageCount(path), 2);
    const QList<pdf::Word> words = pdf::words(path);
    QList<pdf::Word> names;
    for (const pdf::Word& w : words) {
        if (w.text.startsWith(QLatin1String("Dish")))
            names << w;
    }
    QCOMPARE(names.size(), 30);
    for (int n = 0; n < names.size(); ++n)
        QCOMPARE(names.at(n).text, QStringLiteral("Dish%1").arg(29 - n, 3, 10, QLatin1Char('0')));
    const QStringList all = pdf::texts(words);
    const qsizetype binder = all.indexOf(QStringLiteral("Dish001"));
    QCOMPARE(all.mid(binder + 1, 3), (list("Red page 12")));
    // A remark longer than the page is cut with "..." half a centimetre before the
    // paper's right edge.
    QCOMPARE(all.at(binder + 4), QStringLiteral("Comments:"));
    const double rightEdge = 21.59 / 2.54 * 72 - 0.5 / 2.54 * 72;
    const pdf::Word* last = nullptr;
    for (const pdf::Word& w : words) {
        QVERIFY2(w.box.right() <= rightEdge, qPrintable(w.text));
        const pdf::Word& comments = words.at(binder + 4);
        if (w.page == comments.page && qAbs(w.box.top() - comments.box.top()) < 1)
            last = &w;
    }
    QVERIFY(last && last->text.endsWith(QLatin1String("...")));
    QVERIFY(last->box.right() > rightEdge - 72); // cut near the margin, not early
    // Rows follow at three and a half lines of the list font: the name, where it is
    // kept, the remark line, and half a line between rows.
    const double line = words.at(binder + 1).box.top() - words.at(binder).box.top();
    const double pitch = names.at(1).box.top() - names.at(0).box.top();
    QVERIFY2(qAbs(pitch / line - 3.5) < 0.02, qPrintable(QString::number(pitch / line)));

    int firstOnPage2 = 0;
    while (names.at(firstOnPage2).page == 0)
        ++firstOnPage2;
    const double top = names.first().box.top();
    QVERIFY(qAbs(names.at(firstOnPage2).box.top() - top) < 0.5);
    // Every name in one column, whether its icons were printed or left blank.
    for (const pdf::Word& name : names)
        QVERIFY2(qAbs(name.box.left() - names.first().box.left()) < 1, qPrintable(name.text));

    // The first icon sits at the print offset, left of the first name.
    const QImage corner = pdf::render(path, 0, kDpi, QRect(0, 0, 1500, 700));
    const QRect iconBox = pdf::boxOf(corner, qRgb(0, 0, 255));
    QCOMPARE(iconBox.topLeft(), QPoint(m_geometry.PrintOffsetX, m_geometry.PrintOffsetY));
    QVERIFY(toPixels(names.first().box.left()) > iconBox.right());

    // A printer without a page prints nothing and says so.
    {
        PdfPrintJob narrow(file(QStringLiteral("narrow.pdf")), QSizeF(0, 27.94), false, kDpi);
        QCOMPARE(narrow.pageSize().width(), 0);
        QString error;
        QVERIFY(!PrintRecipeList(narrow, m_geometry, kv, ListedRecipes(kv), m_base, &error));
        QVERIFY2(error.contains(QLatin1String("no printable page")), qPrintable(error));
    }
    // The icon files of the five recipe types, none for any other number.
    QCOMPARE(listIconFile(4), QStringLiteral("Buch_48.png"));
    QVERIFY(listIconFile(-1).isEmpty() && listIconFile(5).isEmpty());

    // Exactly two pages' worth of rows: two pages, the second one not empty.
    const TKV exact = listRecipes(2 * firstOnPage2);
    const QString exactPath = file(QStringLiteral("exact.pdf"));
    print(exact, exactPath);
    QCOMPARE(pdf::pageCount(exactPath), 2);
    QVERIFY(!pdf::texts(pdf::words(exactPath), 1).isEmpty());
}

// "Print recipe list": the rows of the list, not the whole catalogue, after the dialog.
void PrintingTest::listModePrintsTheListedRows()
{
    Catalogue catalogue;
    catalogue.recipes = listRecipes(3);
    catalogue.recipes[1].ListIndex = -2; // excluded by a filter
    catalogue.recipes[0].ListIndex = 3;  // rows need not follow one another
    const QString path = file(QStringLiteral("list.pdf"));
    SetPrintDialogHook([&](PrinterChoice& choice) {
        choice.printer = QString::fromLatin1(kPdfPrinterName);
        choice.pdfFile = path;
        return true;
    });
    OpenPreview(catalogue, false, true);
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(QLatin1Char('\n'))));
    QCOMPARE(pdf::texts(pdf::words(path)), list("Dish002 Dish000"));
}

void PrintingTest::previewPrintsForOtherServings_data()
{
    QTest::addColumn<bool>("deluxe");
    QTest::addColumn<int>("people");
    QTest::addColumn<QStringList>("printed");
    QTest::addColumn<QStringList>("gone");
    // 500 g flour, 1 1/2 tsp salt, a pinch of nutmeg and 3 eggs for 4 people.
    const QStringList forThree = list("375 1/8 2 1/4");
    const QStringList forTwelve = list("1500 4 1/2 9");
    QTest::newRow("normal, 3 people") << false << 3 << forThree << list("500 1/2");
    QTest::newRow("normal, 12 people") << false << 12 << forTwelve << list("500 1/4");
    QTest::newRow("deluxe, 3 people") << true << 3 << forThree << list("500 1/2");
    QTest::newRow("deluxe, 12 people") << true << 12 << forTwelve << list("500 1/4");
}

void PrintingTest::previewPrintsForOtherServings()
{
    QFETCH(bool, deluxe);
    QFETCH(int, people);
    QFETCH(QStringList, printed);
    QFETCH(QStringList, gone);
    TKVG r;
    r.FileName = QStringLiteral("Cake.vrez");
    r.FilePath = m_base + QStringLiteral("prepared_recipes/Cake.vrez");
    r.Name = "Cake";
    r.Servings = "4 people";
    if (deluxe) {
        r.Kind = 1;
        r.Quantities = {"500", "1 1/2", "", "3"};
        r.Units = {"g", "tsp", "", ""};
        r.IngredientNames = {"flour", "salt", "a pinch of nutmeg", "eggs"};
    } else {
        r.Ingredients = {"500 g flour", "1 1/2 tsp salt", "For the glaze:", "a pinch of nutmeg",
                         "3 eggs"};
    }
    putFile(r.FilePath, recipeFileBytes(r));
    const QByteArray recipeBytes = fileBytes(r.FilePath);
    Catalogue catalogue;
    catalogue.recipes = {r};
    catalogue.CurrentRecipe = 0;
    const QString path = file(QStringLiteral("Cake.pdf"));
    SetPrintDialogHook([&](PrinterChoice& choice) {
        choice.printer = QString::fromLatin1(kPdfPrinterName);
        choice.pdfFile = path;
        return true;
    });
    // No standard draft: the default layout shows every element.
    SetPreviewShownHook([&](TFVor& preview) {
        preview.ServingsBox->setValue(people);
        preview.Drucken1->trigger();
        preview.close();
    });
    OpenPreview(catalogue, true, false);
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(QLatin1Char('\n'))));
    const QStringList words = pdf::texts(pdf::words(path));
    QVERIFY(!words.isEmpty());
    for (const QString& word : printed)
        QVERIFY2(words.contains(word), qPrintable(word + QLatin1Char('\n') + words.join(u' ')));
    for (const QString& word : gone)
        QVERIFY2(!words.contains(word), qPrintable(word));
    const qsizetype servings = words.indexOf(QStringLiteral("Servings:"));
    QVERIFY(servings > 0 && servings + 2 < words.size());
    QCOMPARE(words.mid(servings + 1, 2),
             (QStringList{QString::number(people), QStringLiteral("people")}));
    // The shopping list: a box for each ingredient, none for the heading.
    QCOMPARE(words.count(QString(QChar(kTickBox))), 4);
    QCOMPARE(fileBytes(r.FilePath), recipeBytes);
}

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
