// SPDX-License-Identifier: GPL-2.0-or-later

#include "layoutsupport.h"

#include "platform/richtext/fonttransfer.h"
#include "platform/richtext/rendertarget.h"

#include <QTest>

using namespace rich;
using namespace layouttest;

namespace {

const QRgb kRed = qRgb(200, 0, 0);
const QRgb kBlue = qRgb(0, 0, 200);

// The formats of every character of every line, end marks included.
QList<CharFormat> formatsOf(const RichDocument& doc)
{
    QList<CharFormat> out;
    for (const RichLine& line : doc.lines()) {
        for (quint16 id : line.formats)
            out.append(doc.format(id));
        out.append(doc.format(line.endFormat));
    }
    return out;
}

// original with face name, size, height, style and pitch of font.
CharFormat transferred(CharFormat original, const CharFormat& font)
{
    original.fontName = font.fontName;
    original.halfPoints = font.halfPoints;
    original.heightPx = font.heightPx;
    original.style = font.style;
    original.pitch = font.pitch;
    return original;
}

} // namespace

class TestFontTransfer : public QObject {
    Q_OBJECT

private slots:
    void appliesToTheSelectionOnly_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("changed"); // per position of "one two", end mark last
        QTest::newRow("a word") << 4 << 3 << str("....xxx.");
        QTest::newRow("a word and the blank") << 3 << 4 << str("...xxxx.");
        QTest::newRow("the whole text") << 0 << 7 << str("xxxxxxx.");
    }
    void appliesToTheSelectionOnly()
    {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, changed);
        const CharFormat original = format("Arial", 10, Italic, kRed);
        const CharFormat dialog = format("Courier New", 14, Bold, kBlue);
        RichDocument doc = documentOf({str("one two")}, original);
        doc.setSelection(start, length);
        ApplyFontToSelection(nullptr, dialog, doc);

        // The colour stays the text's, whatever the dialog chose.
        const QList<CharFormat> after = formatsOf(doc);
        QCOMPARE(after.size(), changed.size());
        for (int i = 0; i < after.size(); ++i)
            QCOMPARE(after.at(i),
                     changed.at(i) == QLatin1Char('x') ? transferred(original, dialog) : original);
    }

    void deluxeColumnsShareFaceAndSizeButKeepTheirStyle()
    {
        // "Select font" in the quantity column with nothing selected: that column takes
        // the whole dialog font, every column its face, size and pitch only.
        RichDocument quantity = documentOf({str("250"), str("2")}, format("Arial", 10));
        RichDocument unit = documentOf({str("g"), str("tbsp")}, format("Arial", 10, Bold));
        RichDocument name;
        appendRun(name, 0, str("flour "), format("Arial", 10, Italic, kRed));
        appendRun(name, 0, str("(fine)"), format("Verdana", 9, Underline | StrikeOut));
        appendRun(name, 1, str("sugar"), format("Arial", 10));
        const CharFormat dialog = format("Courier New", 14, Bold);
        const QList<CharFormat> unitBefore = formatsOf(unit);
        const QList<CharFormat> nameBefore = formatsOf(name);

        quantity.selectAll();
        ApplyFontToSelection(nullptr, dialog, quantity);
        for (RichDocument* column : {&name, &quantity, &unit}) {
            column->selectAll();
            ApplyFontToSelectionKeepStyle(dialog, *column);
        }

        // Whole text selected: every character, but not the last line's end mark.
        for (const RichDocument* column : {&quantity, &unit, &name}) {
            const QList<CharFormat> after = formatsOf(*column);
            const QList<CharFormat> before = column == &quantity
                                                 ? QList<CharFormat>(after.size(), dialog)
                                             : column == &unit ? unitBefore
                                                               : nameBefore;
            for (qsizetype i = 0; i + 1 < after.size(); ++i) {
                CharFormat expected = transferred(before.at(i), dialog);
                expected.style = column == &quantity ? dialog.style : before.at(i).style;
                QCOMPARE(after.at(i), expected);
            }
        }
    }

    void readsTheSelection_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("face");
        QTest::newRow("first character decides") << 3 << 5 << str("Verdana");
        QTest::newRow("caret takes the character before it") << 3 << 0 << str("Arial");
        QTest::newRow("second line") << 7 << 1 << str("Times New Roman");
    }
    void readsTheSelection()
    {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, face);
        RichDocument doc;
        appendRun(doc, 0, str("abc"), format("Arial", 10, 0, kRed));
        appendRun(doc, 0, str("def"), format("Verdana", 16, Bold | Underline, kBlue));
        appendRun(doc, 1, str("ghi"), format("Times New Roman", 7, Italic));
        doc.setSelection(start, length);
        const CharFormat source = doc.selectionFormat();
        QCOMPARE(source.fontName, face);

        CharFormat font = format("Courier New", 30, StrikeOut, kBlue);
        font.charset = 2;
        CharFormat expected = transferred(font, source);
        FontFromSelection(font, doc);
        QCOMPARE(font, expected);

        QFont dialogFont(QStringLiteral("Courier New"), 30);
        dialogFont.setStrikeOut(true);
        FontFromSelection(dialogFont, doc);
        QCOMPARE(fromQFont(dialogFont, source), source);
    }

    void dialogFontRoundTrip_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("style");
        QTest::newRow("plain") << str("Arial") << 10.0 << 0;
        QTest::newRow("half point") << str("Verdana") << 8.5 << int(Italic);
        QTest::newRow("every style")
            << str("Times New Roman") << 24.0 << int(Bold | Italic | Underline | StrikeOut);
        QTest::newRow("fixed pitch") << str("Courier New") << 14.0 << int(Bold);
    }
    void dialogFontRoundTrip()
    {
        QFETCH(QString, face);
        QFETCH(double, points);
        QFETCH(int, style);
        const CharFormat f = format(face.toLatin1().constData(), points, quint8(style), kRed);
        QCOMPARE(fromQFont(toQFont(f), f), f);

        // What a font dialog hands back applies like our own font, colour excepted.
        const CharFormat original = format("Arial", 9, 0, kBlue);
        RichDocument doc = documentOf({str("salt")}, original);
        doc.setSelection(0, 2);
        ApplyFontToSelection(nullptr, toQFont(f), doc);
        QCOMPARE(formatsOf(doc).at(0), transferred(original, f));
        QCOMPARE(formatsOf(doc).at(2), original);
    }

    void dialogFamilies_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("family");
        QTest::newRow("Arial") << str("Arial") << str("Liberation Sans");
        QTest::newRow("Times New Roman") << str("Times New Roman") << str("Liberation Serif");
        QTest::newRow("Courier New") << str("Courier New") << str("Liberation Mono");
        QTest::newRow("MS Sans Serif") << str("MS Sans Serif") << str("DejaVu Sans");
        QTest::newRow("Verdana") << str("Verdana") << str("DejaVu Sans");
        QTest::newRow("installed") << str("Liberation Serif") << str("Liberation Serif");
    }
    void dialogFamilies()
    {
        QFETCH(QString, name);
        QFETCH(QString, family);
        QCOMPARE(dialogFontFamily(name), family);
        QCOMPARE(storedFontName(family, name), name); // left as shown, stored as before
    }

    void storedFontNames_data()
    {
        QTest::addColumn<QString>("chosen"); // empty: the family the text's name shows as
        QTest::addColumn<QString>("textName");
        QTest::addColumn<QString>("stored");
        QTest::newRow("substitute of another Windows face")
            << str("Liberation Serif") << str("Arial") << str("Times New Roman");
        QTest::newRow("fixed-pitch substitute")
            << str("Liberation Mono") << str("Verdana") << str("Courier New");
        QTest::newRow("shared substitute, the text's name kept")
            << str("DejaVu Sans") << str("MS Sans Serif") << str("MS Sans Serif");
        QTest::newRow("shared substitute, chosen from another face")
            << str("DejaVu Sans") << str("Arial") << str("Verdana");
        QTest::newRow("no text name") << str("Liberation Sans") << QString() << str("Arial");
        QTest::newRow("a face missing here, left as shown")
            << QString() << str("Tahoma") << str("Tahoma");
        QTest::newRow("Windows name handed back as such")
            << str("Courier New") << str("Arial") << str("Courier New");
        QTest::newRow("face of its own")
            << str("DejaVu Serif") << str("Arial") << str("DejaVu Serif");
    }
    void storedFontNames()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, textName);
        QFETCH(QString, stored);
        QCOMPARE(storedFontName(chosen.isEmpty() ? dialogFontFamily(textName) : chosen, textName),
                 stored);
    }

    void dialogKeepsTheTextsSize_data()
    {
        QTest::addColumn<double>("textPoints");
        QTest::addColumn<double>("dialogPoints"); // dialogs hand back whole points
        QTest::addColumn<double>("points");
        QTest::newRow("size left") << 9.5 << 10.0 << 9.5;
        QTest::newRow("size changed") << 9.5 << 12.0 << 12.0;
        QTest::newRow("whole size left") << 10.0 << 10.0 << 10.0;
    }
    void dialogKeepsTheTextsSize()
    {
        QFETCH(double, textPoints);
        QFETCH(double, dialogPoints);
        QFETCH(double, points);
        QFont text(str("Arial"));
        text.setPointSizeF(textPoints);
        text.setBold(true);
        QFont chosen = fontForDialog(text);
        chosen.setPointSizeF(dialogPoints);
        const QFont stored = fontFromDialog(chosen, text);
        QCOMPARE(stored.family(), str("Arial"));
        QCOMPARE(stored.pointSizeF(), points);
        QVERIFY(stored.bold());
    }

    void alsoPrinterSetsTheCanvasFontFirst()
    {
        QImage page(10, 10, QImage::Format_ARGB32_Premultiplied);
        RenderTarget printer(&page, TargetKind::Printer);
        const CharFormat canvas = format("Arial", 10, Underline, kBlue);
        printer.setCanvasFont(canvas);
        const CharFormat dialog = format("Verdana", 20, Bold, kRed);
        RichDocument doc = documentOf({str("x")}, format("Arial", 10));
        doc.selectAll();

        ApplyFontToSelection(nullptr, dialog, doc);
        QCOMPARE(printer.canvasFont(), canvas);
        ApplyFontToSelection(&printer, dialog, doc);
        QCOMPARE(printer.canvasFont(), transferred(canvas, dialog));
    }
};

QTEST_MAIN(TestFontTransfer)
#include "tst_fonttransfer.moc"
