// SPDX-License-Identifier: GPL-2.0-or-later

#include "layoutsupport.h"

#include "platform/richtext/richlayout.h"

#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace rich;
using namespace layouttest;

namespace {

// First position j >= 1 of text where a blank is followed by a non-blank: where the
// wrapping rule may break.
qsizetype firstBreakChance(const QString& text)
{
    for (qsizetype j = 1; j < text.size(); ++j) {
        if (text.at(j - 1) == QLatin1Char(' ') && text.at(j) != QLatin1Char(' '))
            return j;
    }
    return -1;
}

} // namespace

class TestRichLayout : public QObject {
    Q_OBJECT

    RenderTarget m_screen;
    CharFormat m_mono = format("Courier New", 10);
    int m_column = 0; // advance of one character of m_mono on the screen

    int width(const RichDocument& doc) { return MeasureLineWidth(m_screen, doc, 0); }
    int width(const QString& text, const CharFormat& f) { return width(documentOf({text}, f)); }

private slots:
    void initTestCase()
    {
        // The break rule is checked in a fixed-pitch face, where a limit of n columns
        // is exact whatever the substitute's advance. Differences of two widths leave
        // the line-end mark out.
        auto advance = [this](const char* c) {
            return width(str(c) + str(c), m_mono) - width(str(c), m_mono);
        };
        m_column = advance("x");
        QVERIFY(m_column > 0);
        for (const char* c : {"i", "W", " ", "."}) {
            if (advance(c) != m_column)
                QSKIP("the substitute for Courier New is not of fixed pitch");
        }
    }

    void measuresEachCharacterInItsFormat()
    {
        const CharFormat small = format("Arial", 8);
        const CharFormat big = format("Arial", 20, Bold);
        RichDocument doc;
        appendRun(doc, 0, str("abc"), small);
        appendRun(doc, 0, str("DEF"), big);
        QVERIFY(width(str("DEF"), big) > width(str("abc"), small));
        // Widths add up: the line-end mark takes no room.
        QCOMPARE(width(doc), width(str("abc"), small) + width(str("DEF"), big));
        QCOMPARE(width(QString(), small), 0);
        QCOMPARE(MeasureLineWidth(m_screen, doc, 1), 0);

        // Control characters show nothing, a tab is a blank, a surrogate pair counts once.
        const CharFormat arial = format("Arial", 10);
        QCOMPARE(width(str("a\x01"
                           "b\u00ad"),
                       arial),
                 width(str("ab"), arial));
        QCOMPARE(width(str("a\tb"), arial), width(str("a b"), arial));
        const QString pair = QStringLiteral("\U0001F600");
        QCOMPARE(width(str("a") + pair, arial), width(str("a"), arial) + width(pair, arial));
    }

    void breaksByTheRule_data()
    {
        QTest::addColumn<QStringList>("text");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("expected");
        auto row = [](const char* name, const char* text, int columns, QStringList expected) {
            QTest::newRow(name) << str(text).split(QLatin1Char('|')) << columns << expected;
        };
        row("fits exactly", "abcd", 4, {str("abcd")});
        row("after the last single blank", "alpha beta gamma", 12,
            {str("alpha beta "), str("gamma")});
        row("overflow on a blank", "alpha beta gamma", 10, {str("alpha "), str("beta gamma")});
        row("two blanks stay with the first part", "alpha  beta gamma", 9,
            {str("alpha  "), str("beta "), str("gamma")});
        row("overflow inside a run of blanks", "ab   cd", 3, {str("ab "), str("  "), str("cd")});
        row("word longer than the line is cut", "abcdefghij", 4,
            {str("abcd"), str("efgh"), str("ij")});
        row("long word after a short one", "ab cdefghijk", 5,
            {str("ab "), str("cdefg"), str("hijk")});
        row("line starting with a blank", " abcdefgh", 4, {str(" "), str("abcd"), str("efgh")});
        row("every paragraph", "one two|three", 4,
            {str("one "), str("two"), str("thre"), str("e")});
        row("empty lines stay", "|abcdef|", 3, {QString(), str("abc"), str("def"), QString()});
        row("deluxe column", "250|g|flour, sifted", 2,
            {str("25"), str("0"), str("g"), str("fl"), str("ou"), str("r,"), str(" "), str("si"),
             str("ft"), str("ed")});
        // A character wider than the limit stands alone; wrapping still ends.
        row("zero width", "ab cd", 0, {str("a"), str("b"), str(" "), str("c"), str("d")});
        row("negative width", "x y", -3, {str("x"), str(" "), str("y")});
        row("single character", "W", 0, {str("W")});
    }
    void breaksByTheRule()
    {
        QFETCH(QStringList, text);
        QFETCH(int, columns);
        QFETCH(QStringList, expected);
        RichDocument doc = documentOf(text, m_mono);
        const int height =
            WrapText(m_screen, doc, columns * m_column, -1, PrinterStatus::Available);
        QCOMPARE(doc.plainLines(), expected);
        QCOMPARE(height, m_screen.font(m_mono).height() * int(expected.size()));
    }

    void surrogatePairsStayWhole()
    {
        const QString pair = QStringLiteral("\U0001F600");
        RichDocument doc = documentOf({pair + pair + pair}, format("Arial", 10));
        WrapText(m_screen, doc, -1, -1, PrinterStatus::Available);
        QCOMPARE(doc.plainLines(), QStringList({pair, pair, pair}));
    }

    void wrappingKeepsEveryRule_data()
    {
        QTest::addColumn<int>("maxWidth");
        QTest::addColumn<quint32>("seed");
        for (int w : {20, 45, 120, 300})
            for (quint32 seed : {1u, 2u, 3u})
                QTest::addRow("width %d seed %u", w, seed) << w << seed;
    }
    void wrappingKeepsEveryRule()
    {
        // A random paragraph of real words in mixed faces, sizes and styles, with single
        // and double blanks and words longer than narrow lines.
        QFETCH(int, maxWidth);
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const QStringList words = str("flour sugar a butter Schwarzwälder Kirschtorte of "
                                      "tablespoonfuls W x bake")
                                      .split(QLatin1Char(' '));
        const CharFormat formats[] = {format("Arial", 10), format("Times New Roman", 14, Italic),
                                      format("Courier New", 9, Bold), format("Verdana", 18),
                                      format("Arial", 7, Underline)};
        RichDocument original;
        for (int word = 0; word < 60; ++word) {
            const QString blanks = random.bounded(5) == 0 ? str("  ") : str(" ");
            appendRun(original, 0, words.at(random.bounded(int(words.size()))) + blanks,
                      formats[random.bounded(int(std::size(formats)))]);
        }
        RichDocument doc = original;
        WrapText(m_screen, doc, maxWidth, -1, PrinterStatus::Available);

        // Only line breaks were inserted: the same characters in the same formats.
        RichLine joined;
        for (const RichLine& l : doc.lines()) {
            joined.text += l.text;
            joined.formats += l.formats;
        }
        QCOMPARE(joined.text, original.lines().at(0).text);
        QCOMPARE(joined.formats, original.lines().at(0).formats);

        // widthOf(p, n): width of the first n characters from the start of line p.
        const QStringList lines = doc.plainLines();
        qsizetype lineStart = 0;
        auto widthOf = [&](qsizetype start, qsizetype count) {
            RichDocument part = doc;
            part.lines() = {
                RichLine{joined.text.mid(start, count), joined.formats.mid(start, count), 0}};
            return width(part);
        };
        for (int i = 0; i < lines.size(); ++i) {
            const QString& line = lines.at(i);
            QVERIFY(!line.isEmpty());
            QVERIFY2(widthOf(lineStart, line.size()) <= maxWidth || line.size() == 1,
                     qPrintable(line));
            if (i + 1 < lines.size()) {
                const QString& next = lines.at(i + 1);
                if (line.endsWith(QLatin1Char(' ')) && !next.startsWith(QLatin1Char(' '))) {
                    // After a blank: not premature, the overflow came before the next
                    // chance to break.
                    const qsizetype chance = firstBreakChance(next);
                    if (chance > 0)
                        QVERIFY(widthOf(lineStart, line.size() + chance) > maxWidth);
                } else {
                    // A cut: there was no blank to break after, and the cut is right
                    // before the character that overflowed.
                    QCOMPARE(firstBreakChance(line), qsizetype(-1));
                    QVERIFY(widthOf(lineStart, line.size() + 1) > maxWidth);
                }
            }
            lineStart += line.size();
        }
    }

    void splittingAtSeveralColumnsEqualsSplittingOneByOne()
    {
        RichDocument doc;
        appendRun(doc, 0, str("one"), format("Arial", 10));
        appendRun(doc, 0, str(" two"), format("Arial", 12, Bold));
        appendRun(doc, 0, str(" three"), format("Verdana", 9));
        appendRun(doc, 1, str("next"), format("Arial", 8));
        const QList<int> columns{1, 3, 7, 8, 13};
        RichDocument oneByOne = doc;
        for (qsizetype i = columns.size() - 1; i >= 0; --i)
            oneByOne.splitLine(0, columns.at(i));
        doc.splitLineAtColumns(0, columns);
        QCOMPARE(doc.lineCount(), oneByOne.lineCount());
        for (int i = 0; i < doc.lineCount(); ++i) {
            QCOMPARE(doc.lines().at(i).text, oneByOne.lines().at(i).text);
            QCOMPARE(doc.lines().at(i).formats, oneByOne.lines().at(i).formats);
            QCOMPARE(doc.lines().at(i).endFormat, oneByOne.lines().at(i).endFormat);
        }
    }

    void lineHeights()
    {
        const CharFormat small = format("Arial", 10);
        const CharFormat big = format("Arial", 24);
        const int smallHeight = m_screen.font(small).height();
        const int bigHeight = m_screen.font(big).height();
        QVERIFY(bigHeight > smallHeight);

        // The tallest character decides; an empty line counts a blank in the current
        // attributes: those of the last character measured (here the big end mark of the
        // line before), not the empty line's own.
        RichDocument doc;
        doc.setDefaultFormat(small);
        appendRun(doc, 0, str("small "), small);
        appendRun(doc, 0, str("BIG"), big);
        appendRun(doc, 1, QString(), small);
        appendRun(doc, 2, str("small"), small);
        QCOMPARE(WrapText(m_screen, doc, 10000, -1, PrinterStatus::Available),
                 2 * bigHeight + smallHeight);

        // From an empty first line on, the current attributes are the default ones.
        QCOMPARE(WrapText(m_screen, doc, 10000, 1, PrinterStatus::Available), 2 * smallHeight);
        doc.setDefaultFormat(big);
        QCOMPARE(WrapText(m_screen, doc, 10000, 1, PrinterStatus::Available),
                 bigHeight + smallHeight);
        QCOMPARE(doc.plainLines(), QStringList({str("small BIG"), QString(), str("small")}));
    }

    void wrapsFromTheGivenLineAndKeepsTheSelectionStart()
    {
        const QString longLine = str("abc def ghi jkl");
        RichDocument doc = documentOf({longLine, longLine, longLine}, m_mono);
        doc.setSelection(20, 4);
        const int lineHeight = m_screen.font(m_mono).height();
        QCOMPARE(WrapText(m_screen, doc, 8 * m_column, 1, PrinterStatus::Available),
                 4 * lineHeight);
        QCOMPARE(doc.plainLines(), QStringList({longLine, str("abc def "), str("ghi jkl"),
                                                str("abc def "), str("ghi jkl")}));
        QCOMPARE(doc.selectionStart(), 20);
        QCOMPARE(doc.selectionLength(), 0);
    }

    void refusesWithoutChange_data()
    {
        QTest::addColumn<QStringList>("text");
        QTest::addColumn<int>("fromLine");
        QTest::addColumn<bool>("printer");
        const QStringList text{str("abc def ghi"), str("jkl mno")};
        QTest::newRow("no printer") << text << -1 << false;
        QTest::newRow("line past the end") << text << 2 << true;
        QTest::newRow("line before the start") << text << -2 << true;
        QTest::newRow("empty text") << QStringList() << -1 << true;
    }
    void refusesWithoutChange()
    {
        QFETCH(QStringList, text);
        QFETCH(int, fromLine);
        QFETCH(bool, printer);
        RichDocument doc = documentOf(text, m_mono);
        doc.setSelection(5, 3);
        QCOMPARE(WrapText(m_screen, doc, 2 * m_column, fromLine,
                          printer ? PrinterStatus::Available : PrinterStatus::Missing),
                 0);
        QCOMPARE(doc.plainLines(), text);
        QCOMPARE(doc.selectionLength(), text.isEmpty() ? 0 : 3);
    }

    void measuresOnEachDevice_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("pdf");
        QTest::newRow("image at 300 dpi") << 300 << false;
        QTest::newRow("pdf at 600 dpi") << 600 << true;
    }
    void measuresOnEachDevice()
    {
        // Widths and heights scale roughly with the resolution, and text wrapped on the
        // printer fits the printer's own measure.
        QFETCH(int, dpi);
        QFETCH(bool, pdf);
        QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
        setImageDpi(image, dpi);
        QTemporaryDir dir;
        QPdfWriter writer(dir.filePath(QStringLiteral("measure.pdf")));
        writer.setResolution(dpi);
        RenderTarget printer(pdf ? static_cast<QPaintDevice*>(&writer) : &image,
                             TargetKind::Printer);
        QCOMPARE(printer.dpiY(), dpi);

        const double ratio = dpi / double(kScreenDpi);
        const QString text = str("The quick brown fox jumps over the lazy dog, 1234567890.");
        for (const CharFormat& f : {format("Arial", 10), format("Times New Roman", 12, Bold),
                                    format("Courier New", 8), format("Verdana", 16, Italic)}) {
            const RichDocument doc = documentOf({text}, f);
            const double widthRatio = double(MeasureLineWidth(printer, doc, 0)) / width(doc);
            QVERIFY2(qAbs(widthRatio / ratio - 1) < 0.1, qPrintable(f.fontName));
            const double heightRatio = double(printer.font(f).height()) / m_screen.font(f).height();
            QVERIFY2(qAbs(heightRatio / ratio - 1) < 0.15, qPrintable(f.fontName));
        }
        RichDocument doc = documentOf({text + str(" ") + text}, format("Arial", 10));
        const int maxWidth = qRound(150 * ratio);
        const int height = WrapText(printer, doc, maxWidth, -1, PrinterStatus::Available);
        QCOMPARE(height, doc.lineCount() * printer.font(format("Arial", 10)).height());
        QVERIFY(doc.lineCount() > 2);
        for (int i = 0; i < doc.lineCount(); ++i)
            QVERIFY(MeasureLineWidth(printer, doc, i) <= maxWidth);
    }

    void followsADeviceWhoseResolutionChanges()
    {
        // A printer set up anew keeps its object but not its resolution.
        QImage page(8, 8, QImage::Format_ARGB32_Premultiplied);
        setImageDpi(page, 96);
        RenderTarget printer(&page, TargetKind::Printer);
        const RichDocument doc =
            documentOf({str("Whisk the egg whites until stiff.")}, format("Arial", 10));
        const double at96 = MeasureLineWidth(printer, doc, 0);
        QCOMPARE(at96, double(width(doc)));
        setImageDpi(page, 480);
        QVERIFY(qAbs(MeasureLineWidth(printer, doc, 0) / at96 - 5.0) < 0.5);
    }
};

QTEST_MAIN(TestRichLayout)
#include "tst_richlayout.moc"
