// SPDX-License-Identifier: GPL-2.0-or-later

#include "layoutsupport.h"

#include "platform/richtext/richlayout.h"
#include "platform/richtext/richpainter.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace rich;
using namespace layouttest;

namespace {

int widestLine(RenderTarget& target, const RichDocument& doc)
{
    int widest = 0;
    for (int i = 0; i < doc.lineCount(); ++i)
        widest = qMax(widest, MeasureLineWidth(target, doc, i));
    return widest;
}

// Draws doc on image from (x, y) and returns where x and y ended.
QPoint draw(RenderTarget& target, QImage& image, RichDocument& doc, int x, int y,
            QPoint printerOffset = QPoint())
{
    QPainter painter(&image);
    DrawRichText(target, painter, x, y, doc, printerOffset);
    return QPoint(x, y);
}

// Pixels of rect whose colour is mostly the one channel named: 'r' or 'b'.
int inkOfColour(const QImage& image, const QRect& rect, char channel)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int strong = channel == 'r' ? qRed(p) : qBlue(p);
            const int other = channel == 'r' ? qBlue(p) : qRed(p);
            count += strong > 150 && other < 100 && qGreen(p) < 100;
        }
    }
    return count;
}

} // namespace

class TestRichPainter : public QObject {
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
        appendRun(doc, 0, str("Melt the butter in a saucepan, "), format("Arial", 10));
        appendRun(doc, 0, str("stir in the flour "), format("Times New Roman", 14, Bold));
        appendRun(doc, 0, str("and cook gently for two minutes."), format("Verdana", 9));
        appendRun(doc, 1, str("Serve gently, piping hot."), format("Courier New", 12));
        const int height = WrapText(m_screen, doc, maxWidth, -1, PrinterStatus::Available);
        const int widest = widestLine(m_screen, doc);

        // On the screen the printer offset plays no part.
        QImage image = newScreenImage(QSize(500, 400));
        const QPoint end = draw(m_screen, image, doc, 20, 30, QPoint(200, 200));
        QCOMPARE(end,
                 QPoint(20 + MeasureLineWidth(m_screen, doc, doc.lineCount() - 1), 30 + height));
        const Ink ink = inkOf(image);
        QVERIFY(ink.count > 0);
        // Glyphs may reach a pixel past their advance (side bearings, smoothing).
        QVERIFY2(QRect(19, 30, widest + 2, height).contains(ink.bounds),
                 qPrintable(QStringLiteral("ink reaches x %1..%2, y %3..%4")
                                .arg(ink.bounds.left())
                                .arg(ink.bounds.right())
                                .arg(ink.bounds.top())
                                .arg(ink.bounds.bottom())));

        // A document without lines draws nothing and leaves the position alone.
        RichDocument none;
        QImage blank = newScreenImage(QSize(50, 50));
        QCOMPARE(draw(m_screen, blank, none, 3, 4), QPoint(3, 4));
        QCOMPARE(inkOf(blank).count, 0);
    }

    void eachCharacterInItsOwnColour()
    {
        const CharFormat red = format("Arial", 20, Bold, qRgb(255, 0, 0));
        const CharFormat blue = format("Arial", 20, Bold, qRgb(0, 0, 255));
        RichDocument doc;
        appendRun(doc, 0, str("HHHH"), red);
        appendRun(doc, 0, str("HHHH"), blue);
        const int split = MeasureLineWidth(m_screen, documentOf({str("HHHH")}, red), 0);
        QImage image = newScreenImage(QSize(300, 60));
        const QPoint end = draw(m_screen, image, doc, 0, 0);
        const QRect redPart(0, 0, split - 2, end.y());
        const QRect bluePart(split + 2, 0, end.x() - split - 2, end.y());
        QVERIFY(inkOfColour(image, redPart, 'r') > 20);
        QVERIFY(inkOfColour(image, bluePart, 'b') > 20);
        QCOMPARE(inkOfColour(image, redPart, 'b'), 0);
        QCOMPARE(inkOfColour(image, bluePart, 'r'), 0);
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
        const int gapStart = MeasureLineWidth(m_screen, documentOf({str("a ")}, f), 0);
        const int gapEnd = MeasureLineWidth(m_screen, documentOf({str("a          ")}, f), 0);
        QImage image = newScreenImage(QSize(300, 60));
        const QPoint end = draw(m_screen, image, doc, 0, 0);
        QCOMPARE(inkOf(image, QRect(gapStart, 0, gapEnd - gapStart, end.y())).count > 0, inked);
        QCOMPARE(inkOf(image, QRect(0, end.y(), 300, 60 - end.y())).count, 0);
    }

    void emptyLineIsABlankInItsEndFont()
    {
        const CharFormat small = format("Arial", 10);
        const CharFormat big = format("Arial", 28);
        RichDocument doc;
        appendRun(doc, 0, str("abc"), small);
        appendRun(doc, 1, QString(), big);
        appendRun(doc, 2, str("def"), small);
        const int smallHeight = m_screen.font(small).height();
        const int bigHeight = m_screen.font(big).height();
        QImage image = newScreenImage(QSize(200, 200));
        QCOMPARE(draw(m_screen, image, doc, 5, 7).y(), 7 + 2 * smallHeight + bigHeight);
        // On the screen the empty line stays empty and shows nothing.
        QCOMPARE(doc.lines().at(1).text, QString());
        QCOMPARE(inkOf(image, QRect(0, 7 + smallHeight, 200, bigHeight)).count, 0);
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
        const QPoint end = draw(printer, page, doc, 10, 20, offset);

        QCOMPARE(doc.plainLines(), QStringList({str("First line"), str(" "), str("Third")}));
        QCOMPARE(doc.format(doc.lines().at(1).formats.at(0)), endFont);
        const int height = 2 * printer.font(f).height() + printer.font(endFont).height();
        QCOMPARE(end.y(), 20 + height);
        const Ink ink = inkOf(page);
        QVERIFY(ink.count > 0);
        QVERIFY(QRect(offset.x() + 8, offset.y() + 20, widestLine(printer, doc) + 4, height)
                    .contains(ink.bounds));
    }

    void drawsOnAPdfPrinter()
    {
        // The routine draws on a PDF page too, laid out on the writer itself: about
        // 600 / 96 times the screen's height.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.pdf"));
        RichDocument doc = documentOf({str("Preheat the oven."), QString(), str("Bake.")},
                                      format("Arial", 10, Underline));
        int sx = 0, sy = 0;
        QPainter idle; // inactive: positions move, nothing is drawn
        DrawRichText(m_screen, idle, sx, sy, doc);
        int px = 0, py = 0;
        {
            QPdfWriter writer(path);
            writer.setResolution(600);
            RenderTarget printer(&writer, TargetKind::Printer);
            QPainter painter(&writer);
            DrawRichText(printer, painter, px, py, doc, QPoint(100, 100));
        }
        QVERIFY(qAbs(double(py) / sy / (600.0 / 96) - 1) < 0.15);
        QCOMPARE(doc.lines().at(1).text, str(" "));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(5), QByteArray("%PDF-"));
        QVERIFY(file.size() > 1000);
    }
};

QTEST_MAIN(TestRichPainter)
#include "tst_richpainter.moc"
