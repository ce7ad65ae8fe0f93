#include "layoutsupport.h"

#include "platform/richtext/richlayout.h"
#include "platform/richtext/richpainter.h"

#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace rich;
using namespace layouttest;

namespace {

QString str(const char* text)
{
    return QString::fromUtf8(text);
}

int widestLine(RenderTarget& target, const RichDocument& doc)
{
    int widest = 0;
    for (int i = 0; i < doc.lineCount(); ++i)
        widest = qMax(widest, MeasureLineWidth(target, doc, i));
    return widest;
}

// Number of pixels inside rect whose colour is closer to colour than to white and to
// the other primaries: red ink, blue ink.
int pixelsOf(const QImage& image, const QRect& rect, QRgb colour)
{
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    const QRect r = rect.intersected(img.rect());
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            const bool redInk = qRed(p) > 150 && qBlue(p) < 100 && qGreen(p) < 100;
            const bool blueInk = qBlue(p) > 150 && qRed(p) < 100 && qGreen(p) < 100;
            count += (colour == qRgb(255, 0, 0)) ? redInk : blueInk;
        }
    }
    return count;
}

} // namespace

class TestRichPainter : public QObject
{
    Q_OBJECT

    RenderTarget m_screen;

private slots:
    void inkStaysInsideTheLaidOutText_data()
    {
        QTest::addColumn<int>("maxWidth");
        QTest::newRow("narrow") << 60;
        QTest::newRow("medium") << 150;
        QTest::newRow("wide") << 350;
    }
    void inkStaysInsideTheLaidOutText()
    {
        QFETCH(int, maxWidth);
        RichDocument doc;
        doc.setDefaultFormat(format("Arial", 10));
        appendRun(doc, 0, str("Melt the butter in a saucepan, "), format("Arial", 10));
        appendRun(doc, 0, str("stir in the flour "), format("Times New Roman", 14, Bold));
        appendRun(doc, 0, str("and cook gently for two minutes."), format("Verdana", 9));
        appendRun(doc, 1, str("Serve hot."), format("Courier New", 12));
        const int height = WrapText(m_screen, doc, maxWidth, -1, PrinterStatus::Available);
        QVERIFY(height > 0);
        const int widest = widestLine(m_screen, doc);
        QVERIFY(widest <= maxWidth);

        QImage image = newScreenImage(QSize(500, 400));
        const int left = 20, top = 30;
        int x = left, y = top;
        {
            QPainter painter(&image);
            DrawRichText(m_screen, painter, x, y, doc);
        }
        QCOMPARE(y, top + height);
        QCOMPARE(x, left + MeasureLineWidth(m_screen, doc, doc.lineCount() - 1));

        const QRect ink = inkBounds(image);
        QVERIFY(!ink.isEmpty());
        // Glyphs may reach a pixel past their advance (side bearings, smoothing).
        const QRect laidOut(left - 1, top, widest + 2, height);
        QVERIFY2(laidOut.contains(ink),
                 qPrintable(QStringLiteral("ink %1,%2 %3x%4 outside %5,%6 %7x%8")
                                .arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())
                                .arg(laidOut.x()).arg(laidOut.y()).arg(laidOut.width()).arg(laidOut.height())));
        // Every line carries ink within its own band.
        int lineTop = top;
        for (int i = 0; i < doc.lineCount(); ++i) {
            RichDocument one = withLine(doc, doc.lines().at(i));
            int lx = left, ly = lineTop;
            QPainter idle; // not active: measures only
            DrawRichText(m_screen, idle, lx, ly, one);
            QVERIFY(inkIn(image, QRect(left, lineTop, widest, ly - lineTop)) > 0);
            lineTop = ly;
        }
        QCOMPARE(lineTop, top + height);
    }

    void eachCharacterInItsOwnColour()
    {
        const QRgb red = qRgb(255, 0, 0);
        const QRgb blue = qRgb(0, 0, 255);
        const CharFormat redFormat = format("Arial", 20, Bold, red);
        const CharFormat blueFormat = format("Arial", 20, Bold, blue);
        RichDocument doc;
        appendRun(doc, 0, str("HHHH"), redFormat);
        appendRun(doc, 0, str("HHHH"), blueFormat);
        const int redWidth = MeasureLineWidth(m_screen, documentOf({str("HHHH")}, redFormat), 0);

        QImage image = newScreenImage(QSize(300, 60));
        int x = 0, y = 0;
        {
            QPainter painter(&image);
            DrawRichText(m_screen, painter, x, y, doc);
        }
        const QRect redPart(0, 0, redWidth, y);
        const QRect bluePart(redWidth, 0, x - redWidth, y);
        QVERIFY(pixelsOf(image, redPart, red) > 20);
        QVERIFY(pixelsOf(image, bluePart, blue) > 20);
        QCOMPARE(pixelsOf(image, bluePart.adjusted(2, 0, 0, 0), red), 0);
        QCOMPARE(pixelsOf(image, redPart.adjusted(0, 0, -2, 0), blue), 0);
    }

    void decorationsSpanBlanks_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("inked");
        QTest::newRow("plain") << 0 << false;
        QTest::newRow("underline") << int(Underline) << true;
        QTest::newRow("strike-out") << int(StrikeOut) << true;
        QTest::newRow("bold") << int(Bold) << false;
    }
    void decorationsSpanBlanks()
    {
        QFETCH(int, style);
        QFETCH(bool, inked);
        const CharFormat f = format("Arial", 14, quint8(style));
        RichDocument doc = documentOf({str("a          b")}, f);
        const int aWidth = MeasureLineWidth(m_screen, documentOf({str("a ")}, f), 0);
        const int gapEnd = MeasureLineWidth(m_screen, documentOf({str("a          ")}, f), 0);
        QImage image = newScreenImage(QSize(300, 60));
        int x = 0, y = 0;
        {
            QPainter painter(&image);
            DrawRichText(m_screen, painter, x, y, doc);
        }
        const QRect gap(aWidth, 0, gapEnd - aWidth, y);
        QCOMPARE(inkIn(image, gap) > 0, inked);
        QVERIFY(inkIn(image, QRect(0, y, 300, 60 - y)) == 0);
    }

    void emptyLineIsABlankInItsEndFont()
    {
        const CharFormat small = format("Arial", 10);
        const CharFormat big = format("Arial", 28);
        RichDocument doc;
        doc.setDefaultFormat(small);
        appendRun(doc, 0, str("abc"), small);
        appendRun(doc, 1, QString(), big);
        appendRun(doc, 2, str("def"), small);
        const int smallHeight = m_screen.font(small).height();
        const int bigHeight = m_screen.font(big).height();

        QImage image = newScreenImage(QSize(200, 200));
        int x = 5, y = 7;
        {
            QPainter painter(&image);
            DrawRichText(m_screen, painter, x, y, doc);
        }
        QCOMPARE(y, 7 + 2 * smallHeight + bigHeight);
        // On the screen the empty line stays empty and shows nothing.
        QCOMPARE(doc.lines().at(1).text, QString());
        QCOMPARE(inkIn(image, QRect(0, 7 + smallHeight, 200, bigHeight)), 0);
    }

    void printerFillsEmptyLinesAndAppliesTheOffset()
    {
        QImage page(900, 900, QImage::Format_ARGB32_Premultiplied);
        setImageDpi(page, 300);
        page.fill(Qt::white);
        RenderTarget printer(&page, TargetKind::Printer);
        const CharFormat f = format("Arial", 10);
        const CharFormat endFont = format("Times New Roman", 16, Italic);
        RichDocument doc;
        appendRun(doc, 0, str("First line"), f);
        appendRun(doc, 1, QString(), endFont);
        appendRun(doc, 2, str("Third"), f);
        const QPoint offset(150, 200);
        int x = 10, y = 20;
        {
            QPainter painter(&page);
            DrawRichText(printer, painter, x, y, doc, offset);
        }
        QCOMPARE(doc.plainLines(), QStringList({str("First line"), str(" "), str("Third")}));
        QCOMPARE(doc.format(doc.lines().at(1).formats.at(0)), endFont);
        const int expectedHeight = 2 * printer.font(f).height() + printer.font(endFont).height();
        QCOMPARE(y, 20 + expectedHeight);

        const QRect ink = inkBounds(page);
        QVERIFY(!ink.isEmpty());
        const int widest = qMax(MeasureLineWidth(printer, doc, 0), MeasureLineWidth(printer, doc, 2));
        QVERIFY(QRect(offset.x() + 10 - 2, offset.y() + 20, widest + 4, expectedHeight).contains(ink));
    }

    void screenIgnoresThePrinterOffset()
    {
        RichDocument doc = documentOf({str("Salt")}, format("Arial", 12));
        QImage image = newScreenImage(QSize(200, 100));
        int x = 0, y = 0;
        {
            QPainter painter(&image);
            DrawRichText(m_screen, painter, x, y, doc, QPoint(100, 50));
        }
        const QRect ink = inkBounds(image);
        QVERIFY(!ink.isEmpty());
        QVERIFY(ink.right() < 100 && ink.bottom() < 50);
    }

    void nothingToDrawLeavesThePositionAlone()
    {
        RichDocument doc;
        QImage image = newScreenImage(QSize(50, 50));
        int x = 3, y = 4;
        {
            QPainter painter(&image);
            DrawRichText(m_screen, painter, x, y, doc);
        }
        QCOMPARE(QPoint(x, y), QPoint(3, 4));
        QVERIFY(inkBounds(image).isEmpty());
    }

    void drawsOnAPdfPrinter()
    {
        // The same routine draws on a PDF page at the printer's resolution; the layout
        // is measured on the writer, so the height is about 600 / 96 of the screen's.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("page.pdf"));
        RichDocument screenDoc = documentOf({str("Preheat the oven."), QString(), str("Bake.")},
                                            format("Arial", 10, Underline));
        RichDocument printerDoc = screenDoc;
        int sx = 0, sy = 0;
        QPainter idle;
        DrawRichText(m_screen, idle, sx, sy, screenDoc);
        int px = 0, py = 0;
        {
            QPdfWriter writer(path);
            writer.setResolution(600);
            RenderTarget printer(&writer, TargetKind::Printer);
            QPainter painter(&writer);
            DrawRichText(printer, painter, px, py, printerDoc, QPoint(100, 100));
        }
        const double ratio = double(py) / sy;
        QVERIFY(qAbs(ratio - 600.0 / 96) < 0.15 * 600 / 96);
        QCOMPARE(printerDoc.lines().at(1).text, str(" "));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
        QVERIFY(file.size() > 1000);
    }
};

QTEST_MAIN(TestRichPainter)
#include "tst_richpainter.moc"
