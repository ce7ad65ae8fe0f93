#include "layoutsupport.h"

#include "platform/richtext/fonttransfer.h"
#include "platform/richtext/rendertarget.h"

#include <QTest>

using namespace rich;
using namespace layouttest;

namespace {

QString str(const char* text)
{
    return QString::fromUtf8(text);
}

const QRgb kRed = qRgb(200, 0, 0);
const QRgb kBlue = qRgb(0, 0, 200);

// The format of every character of a line, and of its end mark last.
QList<CharFormat> formatsOf(const RichDocument& doc, int line)
{
    QList<CharFormat> out;
    for (quint16 id : doc.lines().at(line).formats)
        out.append(doc.format(id));
    out.append(doc.format(doc.lines().at(line).endFormat));
    return out;
}

// The format of the characters changed by a transfer of every part of font.
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

class TestFontTransfer : public QObject
{
    Q_OBJECT

private slots:
    void appliesToTheSelectionOnly_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QList<bool>>("changed"); // per character of "one two" and the end mark
        QTest::newRow("a word") << 4 << 3
                                << QList<bool>{false, false, false, false, true, true, true, false};
        QTest::newRow("a word and the blank") << 3 << 4
                                              << QList<bool>{false, false, false, true, true, true, true, false};
        QTest::newRow("the whole text") << 0 << 7
                                        << QList<bool>{true, true, true, true, true, true, true, false};
    }
    void appliesToTheSelectionOnly()
    {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QList<bool>, changed);
        const CharFormat original = format("Arial", 10, Italic, kRed);
        RichDocument doc = documentOf({str("one two")}, original);
        doc.setSelection(start, length);
        const CharFormat dialog = format("Courier New", 14, Bold, kBlue);

        ApplyFontToSelection(nullptr, dialog, doc);

        const QList<CharFormat> after = formatsOf(doc, 0);
        QCOMPARE(after.size(), changed.size());
        for (int i = 0; i < after.size(); ++i) {
            // The colour stays the text's, whatever the dialog chose.
            const CharFormat expected = changed.at(i) ? transferred(original, dialog) : original;
            QCOMPARE(after.at(i), expected);
        }
        QCOMPARE(doc.plainText(), str("one two"));
    }

    void selectAllReachesEveryLine()
    {
        RichDocument doc;
        appendRun(doc, 0, str("250"), format("Arial", 10, 0, kRed));
        appendRun(doc, 1, str("125"), format("Verdana", 8, Underline, kBlue));
        doc.selectAll();
        const CharFormat dialog = format("Times New Roman", 12, Bold | Italic);
        ApplyFontToSelection(nullptr, dialog, doc);
        for (int line = 0; line < 2; ++line) {
            const QList<CharFormat> after = formatsOf(doc, line);
            for (qsizetype i = 0; i < 3; ++i) {
                QCOMPARE(after.at(i).fontName, dialog.fontName);
                QCOMPARE(after.at(i).halfPoints, dialog.halfPoints);
                QCOMPARE(after.at(i).style, dialog.style);
                QCOMPARE(after.at(i).color, line == 0 ? kRed : kBlue);
            }
        }
    }

    void deluxeColumnsShareFaceAndSizeButKeepTheirStyle()
    {
        // "Select font" in the quantity column with nothing selected: that column gets
        // the whole dialog font, every other column its face, size and pitch only.
        RichDocument quantity = documentOf({str("250"), str("2")}, format("Arial", 10));
        RichDocument unit = documentOf({str("g"), str("tbsp")}, format("Arial", 10, Bold));
        RichDocument name;
        appendRun(name, 0, str("flour "), format("Arial", 10, Italic, kRed));
        appendRun(name, 0, str("(fine)"), format("Verdana", 9, Underline | StrikeOut));
        appendRun(name, 1, str("sugar"), format("Arial", 10));
        RichDocument description = documentOf({str("sifted")}, format("Arial", 11, Italic));
        const CharFormat dialog = format("Courier New", 14, Bold);

        QList<QList<quint8>> stylesBefore;
        for (RichDocument* column : {&unit, &name, &description}) {
            QList<quint8> styles;
            for (const RichLine& line : column->lines())
                for (quint16 id : line.formats)
                    styles.append(column->format(id).style);
            stylesBefore.append(styles);
        }

        quantity.selectAll();
        ApplyFontToSelection(nullptr, dialog, quantity);
        for (RichDocument* column : {&name, &quantity, &unit, &description}) {
            column->selectAll();
            ApplyFontToSelectionKeepStyle(dialog, *column);
        }

        for (const RichLine& line : quantity.lines())
            for (quint16 id : line.formats)
                QCOMPARE(quantity.format(id).style, quint8(Bold));
        int columnIndex = 0;
        for (RichDocument* column : {&unit, &name, &description}) {
            QList<quint8> styles;
            for (const RichLine& line : column->lines()) {
                for (quint16 id : line.formats) {
                    const CharFormat& f = column->format(id);
                    QCOMPARE(f.fontName, dialog.fontName);
                    QCOMPARE(f.halfPoints, dialog.halfPoints);
                    QCOMPARE(f.heightPx, dialog.heightPx);
                    QCOMPARE(f.pitch, Pitch::Fixed);
                    styles.append(f.style);
                }
            }
            QCOMPARE(styles, stylesBefore.at(columnIndex++));
        }
        // The red of "flour " survives.
        QCOMPARE(name.format(name.lines().at(0).formats.at(0)).color, kRed);
    }

    void readsTheSelection_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("face");
        QTest::newRow("first character decides") << 3 << 5 << str("Verdana");
        QTest::newRow("caret takes the character before it") << 3 << 0 << str("Arial");
        QTest::newRow("caret at the start") << 0 << 0 << str("Arial");
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
        FontFromSelection(font, doc);
        QCOMPARE(font.fontName, source.fontName);
        QCOMPARE(font.halfPoints, source.halfPoints);
        QCOMPARE(font.heightPx, source.heightPx);
        QCOMPARE(font.style, source.style);
        QCOMPARE(font.pitch, source.pitch);
        QCOMPARE(font.color, kBlue);
        QCOMPARE(font.charset, quint8(2));

        QFont dialogFont(QStringLiteral("Courier New"), 30);
        dialogFont.setStrikeOut(true);
        FontFromSelection(dialogFont, doc);
        QCOMPARE(dialogFont.family(), source.fontName);
        QCOMPARE(dialogFont.pointSizeF(), source.pointSize());
        QCOMPARE(dialogFont.bold(), bool(source.style & Bold));
        QCOMPARE(dialogFont.italic(), bool(source.style & Italic));
        QCOMPARE(dialogFont.underline(), bool(source.style & Underline));
        QCOMPARE(dialogFont.strikeOut(), false);
    }

    void dialogFontRoundTrip_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("style");
        QTest::newRow("plain") << str("Arial") << 10.0 << 0;
        QTest::newRow("half point") << str("Verdana") << 8.5 << int(Italic);
        QTest::newRow("every style") << str("Times New Roman") << 24.0
                                     << int(Bold | Italic | Underline | StrikeOut);
        QTest::newRow("fixed pitch") << str("Courier New") << 14.0 << int(Bold);
    }
    void dialogFontRoundTrip()
    {
        QFETCH(QString, face);
        QFETCH(double, points);
        QFETCH(int, style);
        CharFormat f = format(face.toLatin1().constData(), points, quint8(style), kRed);
        const CharFormat back = fromQFont(toQFont(f), f);
        QCOMPARE(back, f);
    }

    void dialogFontAppliesThroughQFont()
    {
        // What QFontDialog hands back: a face at a point size, with no pitch request.
        const CharFormat original = format("Arial", 10, 0, kRed);
        RichDocument doc = documentOf({str("Pinch of salt")}, original);
        doc.setSelection(0, 5);
        QFont chosen(QStringLiteral("Times New Roman"));
        chosen.setPointSizeF(13);
        chosen.setItalic(true);
        ApplyFontToSelection(nullptr, chosen, doc);
        const CharFormat changed = doc.format(doc.lines().at(0).formats.at(0));
        QCOMPARE(changed.fontName, str("Times New Roman"));
        QCOMPARE(changed.halfPoints, 26);
        QCOMPARE(changed.heightPx, heightForHalfPoints(26));
        QCOMPARE(changed.style, quint8(Italic));
        QCOMPARE(changed.color, kRed);
        QCOMPARE(doc.format(doc.lines().at(0).formats.at(5)), original);
    }

    void alsoPrinterSetsTheCanvasFontFirst()
    {
        QImage page(10, 10, QImage::Format_ARGB32_Premultiplied);
        setImageDpi(page, 600);
        RenderTarget printer(&page, TargetKind::Printer);
        CharFormat canvas = format("Arial", 10, Underline, kBlue);
        printer.setCanvasFont(canvas);
        RichDocument doc = documentOf({str("x")}, format("Arial", 10));
        doc.selectAll();
        const CharFormat dialog = format("Verdana", 20, Bold, kRed);

        ApplyFontToSelection(nullptr, dialog, doc);
        QCOMPARE(printer.canvasFont(), canvas);

        ApplyFontToSelection(&printer, dialog, doc);
        QCOMPARE(printer.canvasFont(), transferred(canvas, dialog));
        QCOMPARE(printer.canvasFont().color, kBlue);
    }

    void emptySelectionChangesTheAttributesOfNewText()
    {
        const CharFormat original = format("Arial", 10);
        RichDocument doc = documentOf({str("abc")}, original);
        doc.setSelection(2, 0);
        const CharFormat dialog = format("Verdana", 12, Bold);
        ApplyFontToSelection(nullptr, dialog, doc);
        for (const CharFormat& f : formatsOf(doc, 0))
            QCOMPARE(f, original);
        QCOMPARE(doc.defaultFormat(), transferred(original, dialog));
    }
};

QTEST_MAIN(TestFontTransfer)
#include "tst_fonttransfer.moc"
