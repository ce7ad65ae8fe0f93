// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/pagegeometry.h"
#include "preview/printers.h"

#include <QTest>

// Paper formats, printer availability and the page geometry of the sheet.
class PageGeometryTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        SetPrinters(std::make_unique<NoPrinters>());
        CurrentPrinterName().clear();
    }

    void geometry_data()
    {
        QTest::addColumn<bool>("pdf"); // the built-in PDF printer, or a fixed page
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QList<int>>("expected"); // sheet w, h; print w, h; offset x, y
        QTest::newRow("A4 portrait, PDF")
            << true << 0 << false << QList<int>{699, 1047, 4371, 6544, 591, 236};
        QTest::newRow("A4 landscape, PDF")
            << true << 0 << true << QList<int>{1028, 718, 6426, 4489, 591, 236};
        QTest::newRow("Letter portrait, PDF")
            << true << 2 << false << QList<int>{722, 981, 4510, 6128, 591, 236};
        // Worked by hand from the paper table: the page in 600-dpi pixels, 236.22 pixels
        // a centimetre, 1 + 1.5 cm off the width and 2 cm off the height.
        QTest::newRow("A5 portrait, PDF")
            << true << 1 << false << QList<int>{465, 718, 2906, 4489, 591, 236};
        QTest::newRow("Legal portrait, PDF")
            << true << 3 << false << QList<int>{722, 1269, 4510, 7928, 591, 236};
        QTest::newRow("Executive portrait, PDF")
            << true << 4 << false << QList<int>{602, 933, 3761, 5828, 591, 236};
        QTest::newRow("Letter landscape, PDF")
            << true << 2 << true << QList<int>{962, 741, 6010, 4628, 591, 236};
        // A printer's own page: its printable area is measured, but the sheet is the
        // paper's, as on the PDF printer.
        QTest::newRow("Letter, fixed page")
            << false << 2 << false << QList<int>{722, 981, 4333, 5942, 567, 229};
        // No row to read: nothing is measured, nothing is read past the table.
        QTest::newRow("format outside the table")
            << true << 5 << false << QList<int>{0, 0, 0, 0, 0, 0};
        // A4 on a page of 21 x 300 pixels: one pixel a centimetre across, so the offset
        // of 2.5 cm is a tie, rounded to the even 2 (and the 1.5 cm margin to 2).
        QTest::newRow("A4, a tie rounds to even")
            << false << 0 << false << QList<int>{699, 1047, 18, 280, 2, 10};
    }
    void geometry()
    {
        QFETCH(bool, pdf);
        QFETCH(int, format);
        QFETCH(bool, landscape);
        QFETCH(QList<int>, expected);
        if (pdf)
            SetPrinters(std::make_unique<FixedPdfOnly>());
        else
            SetPrinters(std::make_unique<FixedPagePrinter>(
                QStringLiteral("Laser"),
                format == 0 ? QSize(21, 300) : QSize(4900, 6400), 600));
        PaperFormats formats;
        InitPaperFormats(formats);
        QCOMPARE(formats.size(), 5);
        TDrucker d;
        ComputePageMetrics(d, formats, format, landscape, true);
        QCOMPARE((QList<int>{d.SheetWidth, d.SheetHeight, d.PrintWidth, d.PrintHeight,
                             d.PrintOffsetX, d.PrintOffsetY}),
                 expected);
        QCOMPARE(d.LeftMarginCm, 1.5);
    }

    void noPrinter_data()
    {
        QTest::addColumn<bool>("listed"); // a printer is listed but cannot be opened
        QTest::newRow("none listed") << false;
        QTest::newRow("cannot be opened") << true;
    }
    void noPrinter()
    {
        QFETCH(bool, listed);
        if (listed)
            SetPrinters(std::make_unique<FixedPagePrinter>(QStringLiteral("Gone"),
                                                           QSize(4900, 6400), 600, false));
        QVERIFY(!PrinterAvailable(true));
        PaperFormats formats;
        InitPaperFormats(formats);
        QVERIFY(formats.isEmpty());
        // The preview opened from the editor without a printer: an empty table, format 2.
        TDrucker d;
        d.SheetWidth = 99;
        ComputePageMetrics(d, formats, 2, false, false);
        QCOMPARE((QList<int>{d.SheetWidth, d.SheetHeight, d.PrintWidth, d.PrintHeight}),
                 (QList<int>{0, 0, 0, 0}));
        QVERIFY(d.PrinterName.isEmpty());
        QCOMPARE(d.FontName, QStringLiteral("Arial"));
    }

private:
    // The built-in PDF printer as the system's printers offer it, without asking CUPS.
    class FixedPdfOnly : public SystemPrinters {
    public:
        QStringList printerNames() const override { return {QString::fromLatin1(kPdfPrinterName)}; }
        QString defaultPrinter() const override { return QString::fromLatin1(kPdfPrinterName); }
    };
};

QTEST_GUILESS_MAIN(PageGeometryTest)
#include "tst_pagegeometry.moc"
