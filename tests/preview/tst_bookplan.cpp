// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/pdfnavigation.h"
#include "preview/bookplan.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTest>

// The cookbook's plan (order, contents pages, page numbers), where a page number goes,
// and links and outline added to a PDF document as Qt writes it.

namespace {

// "name/category/pages" items separated by blanks.
QList<BookRecipe> recipes(const char* items)
{
    QList<BookRecipe> list;
    for (const QString& item :
         QString::fromLatin1(items).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QLatin1Char('/'));
        list.append({parts[0], parts[1], parts[2].toInt()});
    }
    return list;
}

// The contents as text: pages separated by "|", headings in brackets, entries as
// name=page index.
QString contentsText(const BookPlan& plan)
{
    QStringList pages;
    for (const QList<ContentsLine>& page : plan.contents) {
        QStringList lines;
        for (const ContentsLine& line : page)
            lines << (line.heading
                          ? QString(QLatin1Char('[') + line.text + QLatin1Char(']'))
                          : QString(line.text + QLatin1Char('=') + QString::number(line.page)));
        pages << lines.join(QLatin1Char(' '));
    }
    return pages.join(QLatin1String(" | "));
}

QByteArray threePages()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    QPainter painter(&writer);
    for (int i = 0; i < 3; ++i) {
        painter.drawText(100, 100, QStringLiteral("page %1").arg(i + 1));
        if (i < 2)
            writer.newPage();
    }
    painter.end();
    return buffer.data();
}

} // namespace

class BookPlanTest : public QObject {
    Q_OBJECT

private slots:
    void plan_data();
    void plan();
    void pageNumberBox_data();
    void pageNumberBox();
    void navigation();
    void navigationRefused_data();
    void navigationRefused();
};

void BookPlanTest::plan_data()
{
    QTest::addColumn<QString>("listed");
    QTest::addColumn<bool>("grouped");
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<QString>("contents");
    QTest::addColumn<int>("pageCount");
    // Title page 0, contents page 1, recipes from page 2 on, each as long as its layout.
    QTest::newRow("list order") << "b/Soups/2 a/Cakes/1 c//1" << false << 10 << "b=2 a=4 c=5" << 6;
    // Categories alphabetical whatever their case, the recipes without one last, each
    // group in list order; the book's pages follow the contents.
    QTest::newRow("grouped") << "b/soups/1 a/Cakes/2 x//1 c/Soups/1 d/cakes/1" << true << 20
                             << "[Cakes] a=2 d=4 [soups] b=5 c=6 [Other recipes] x=7" << 8;
    // A full page starts the next; a heading never ends a page.
    QTest::newRow("two contents pages")
        << "a/A/1 b/A/1 c/B/1 d/B/1" << true << 4 << "[A] a=3 b=4 | [B] c=5 d=6" << 7;
    QTest::newRow("three lines a page")
        << "a//1 b//1 c//1 d//1" << false << 3 << "a=3 b=4 c=5 | d=6" << 7;
    QTest::newRow("no recipes") << "" << true << 5 << "" << 2;
}

void BookPlanTest::plan()
{
    QFETCH(QString, listed);
    QFETCH(bool, grouped);
    QFETCH(int, linesPerPage);
    QFETCH(QString, contents);
    QFETCH(int, pageCount);
    const BookPlan plan = PlanBook(recipes(listed.toLatin1().constData()), grouped, linesPerPage);
    QCOMPARE(contentsText(plan), contents);
    QCOMPARE(plan.pageCount, pageCount);
}

void BookPlanTest::pageNumberBox_data()
{
    QTest::addColumn<QList<QRectF>>("elements");
    QTest::addColumn<double>("printableBottom");
    QTest::addColumn<QRectF>("box");
    const QRectF sheet(100, 100, 800, 1000); // bottom 1100
    // Centred under the sheet in the middle of the band up to the printable bottom.
    QTest::newRow("below the sheet")
        << QList<QRectF>{QRectF(100, 200, 300, 100)} << 1200.0 << QRectF(490, 1140, 20, 20);
    // An element hanging below the sheet pushes the number below it.
    QTest::newRow("below an element")
        << QList<QRectF>{QRectF(450, 1000, 100, 150)} << 1200.0 << QRectF(490, 1165, 20, 20);
    // No room left: right under the element, never over it.
    QTest::newRow("no room") << QList<QRectF>{QRectF(450, 1000, 100, 195)} << 1200.0
                             << QRectF(490, 1195, 20, 20);
}

void BookPlanTest::pageNumberBox()
{
    QFETCH(QList<QRectF>, elements);
    QFETCH(double, printableBottom);
    QFETCH(QRectF, box);
    QCOMPARE(PageNumberBox(QRectF(100, 100, 800, 1000), elements, printableBottom, QSizeF(20, 20)),
             box);
}

// Two updates in a row: the second reads the first one's objects, and poppler reads
// the links and the outline of both.
void BookPlanTest::navigation()
{
    QByteArray bytes = threePages();
    // A document identifier in the trailer is carried into the updates' trailers.
    bytes.insert(bytes.lastIndexOf("/Root"), "/ID [<0A0B> <0A0B>]\n");
    QBuffer document(&bytes);
    QVERIFY(document.open(QIODevice::ReadWrite));
    QString error;
    QVERIFY2(pdfnav::addNavigation(document, {{0, QRectF(72, 72, 100, 20), 2}},
                                   {{QStringLiteral("First"), 0, {}},
                                    {QStringLiteral("Group"), 1, {{QStringLiteral("Süß"), 2, {}}}}},
                                   &error),
             qPrintable(error));
    QVERIFY2(pdfnav::addNavigation(document, {{0, QRectF(72, 200, 100, 20), 1}}, {}, &error),
             qPrintable(error));
    document.close();
    // The newest annotation array of page 1 holds both links, leading to pages 3 and 2.
    const qsizetype last = bytes.lastIndexOf("[ ");
    QCOMPARE(bytes.mid(last, bytes.indexOf(']', last) - last + 1).count(" R"), 2);
    const QList<QByteArray> rects{"/Rect [72.00 750.00 172.00 770.00]",
                                  "/Rect [72.00 622.00 172.00 642.00]"};
    for (const QByteArray& rect : rects)
        QVERIFY(bytes.contains(rect));
    QVERIFY(bytes.contains("/Outlines"));
    QVERIFY(bytes.contains("/Title <FEFF005300FC00DF>"));
    QVERIFY(bytes.contains("/Count 3"));
    QCOMPARE(bytes.count("/Next "), 1); // from the first entry to the second, the last has none
    QCOMPARE(bytes.count("/ID [<0A0B> <0A0B>]"), 3);
    QCOMPARE(bytes.count("/Prev "), 3); // both trailers and the second outline entry
}

void BookPlanTest::navigationRefused_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<int>("linkPage");
    QTest::addColumn<int>("outlinePage");
    QTest::addColumn<QString>("error");
    QTest::newRow("not a PDF") << QByteArray("just text\n") << 0 << 0
                               << "the PDF document has no cross-reference table";
    QTest::newRow("a link from a page it lacks")
        << threePages() << 3 << 0 << "a link names a page the PDF document does not have";
    QTest::newRow("an outline entry to a page it lacks")
        << threePages() << 0 << -1
        << "an outline entry names a page the PDF document does not have";
}

void BookPlanTest::navigationRefused()
{
    QFETCH(QByteArray, document);
    QFETCH(int, linkPage);
    QFETCH(int, outlinePage);
    QFETCH(QString, error);
    const QByteArray before = document;
    QBuffer device(&document);
    QVERIFY(device.open(QIODevice::ReadWrite));
    QString why;
    QVERIFY(!pdfnav::addNavigation(
        device, {{linkPage, QRectF(0, 0, 10, 10), 0}},
        {{QStringLiteral("x"), 0, {{QStringLiteral("y"), outlinePage, {}}}}}, &why));
    QCOMPARE(why, error);
    QCOMPARE(document, before);
}

QTEST_MAIN(BookPlanTest)
#include "tst_bookplan.moc"
