#include "layoutsupport.h"

#include "platform/richtext/devicefont.h"
#include "platform/richtext/richlayout.h"

#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace rich;
using namespace layouttest;

namespace {

QString str(const char* text)
{
    return QString::fromUtf8(text);
}

// True when break is at a position where the wrapping rule may break a line: right
// after a blank that is followed by a non-blank.
bool isBlankBreak(const QString& before, const QString& after)
{
    return before.endsWith(QLatin1Char(' ')) && !after.startsWith(QLatin1Char(' '));
}

// First position j >= 1 inside text where text[j - 1] is a blank and text[j] is not.
qsizetype firstBreakCandidate(const QString& text)
{
    for (qsizetype j = 1; j < text.size(); ++j) {
        if (text.at(j - 1) == QLatin1Char(' ') && text.at(j) != QLatin1Char(' '))
            return j;
    }
    return -1;
}

} // namespace

class TestRichLayout : public QObject
{
    Q_OBJECT

    RenderTarget m_screen;
    CharFormat m_mono = format("Courier New", 10);
    int m_column = 0; // advance of one character of m_mono on the screen

    int width(const RichDocument& doc, const RichLine& line)
    {
        return MeasureLineWidth(m_screen, withLine(doc, line), 0);
    }

private slots:
    void initTestCase()
    {
        // The break rules are checked in a fixed-pitch font, where a limit of n columns
        // is exact whatever the substitute face's advance is.
        // Differences of two widths leave the line-end mark out.
        auto advance = [this](const char* c) {
            const QString one = str(c);
            return MeasureLineWidth(m_screen, documentOf({one + one}, m_mono), 0)
                - MeasureLineWidth(m_screen, documentOf({one}, m_mono), 0);
        };
        m_column = advance("x");
        QVERIFY(m_column > 0);
        for (const char* c : {"i", "W", " ", "."}) {
            if (advance(c) != m_column)
                QSKIP("the substitute for Courier New is not of fixed pitch");
        }
    }

    void measuresCharactersInTheirOwnFormats()
    {
        const CharFormat small = format("Arial", 8);
        const CharFormat big = format("Arial", 20, Bold);
        RichDocument doc;
        appendRun(doc, 0, str("abc"), small);
        appendRun(doc, 0, str("DEF"), big);
        appendRun(doc, 1, QString(), small);
        const int smallPart = MeasureLineWidth(m_screen, documentOf({str("abc")}, small), 0);
        const int bigPart = MeasureLineWidth(m_screen, documentOf({str("DEF")}, big), 0);
        QVERIFY(bigPart > smallPart);
        QCOMPARE(MeasureLineWidth(m_screen, doc, 0), smallPart + bigPart);
        QCOMPARE(MeasureLineWidth(m_screen, doc, 1), kLineEndWidth);
        QCOMPARE(MeasureLineWidth(m_screen, doc, 2), 0);
        QCOMPARE(MeasureLineWidth(m_screen, doc, -1), 0);
    }

    void controlCharactersShowNothing()
    {
        const CharFormat arial = format("Arial", 10);
        auto w = [&](const QString& text) {
            return MeasureLineWidth(m_screen, documentOf({text}, arial), 0);
        };
        QCOMPARE(w(str("a\x01" "b")), w(str("ab")));
        QCOMPARE(w(str("a\tb")), w(str("a b")));
        QCOMPARE(w(QStringLiteral("a\u00adb")), w(str("ab")));
    }

    void surrogatePairIsOneCharacter()
    {
        // Whatever font draws it, the pair is measured once: the second half adds
        // nothing, and wrapping never separates the halves.
        const CharFormat arial = format("Arial", 10);
        const QString pair = QStringLiteral("\U0001F600");
        const int pairWidth = MeasureLineWidth(m_screen, documentOf({pair}, arial), 0);
        const int a = MeasureLineWidth(m_screen, documentOf({str("a")}, arial), 0);
        QCOMPARE(MeasureLineWidth(m_screen, documentOf({str("a") + pair}, arial), 0), a + pairWidth);

        RichDocument doc = documentOf({pair + pair + pair}, arial);
        WrapText(m_screen, doc, -1, -1, PrinterStatus::Available);
        QCOMPARE(doc.plainLines(), QStringList({pair, pair, pair}));
    }

    void breaksByTheRule_data()
    {
        QTest::addColumn<QStringList>("text");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("fits exactly") << QStringList{str("abcd")} << 4 << QStringList{str("abcd")};
        QTest::newRow("after the last single blank")
            << QStringList{str("alpha beta gamma")} << 12
            << QStringList{str("alpha beta "), str("gamma")};
        QTest::newRow("overflow on the blank itself")
            << QStringList{str("alpha beta gamma")} << 10
            << QStringList{str("alpha "), str("beta gamma")};
        QTest::newRow("two blanks stay with the first part")
            << QStringList{str("alpha  beta gamma")} << 9
            << QStringList{str("alpha  "), str("beta "), str("gamma")};
        QTest::newRow("overflow inside a run of blanks")
            << QStringList{str("ab   cd")} << 3 << QStringList{str("ab "), str("  "), str("cd")};
        QTest::newRow("word longer than the line is cut")
            << QStringList{str("abcdefghij")} << 4
            << QStringList{str("abcd"), str("efgh"), str("ij")};
        QTest::newRow("long word after a short one")
            << QStringList{str("ab cdefghijk")} << 5
            << QStringList{str("ab "), str("cdefg"), str("hijk")};
        QTest::newRow("line starting with a blank")
            << QStringList{str(" abcdefgh")} << 4
            << QStringList{str(" "), str("abcd"), str("efgh")};
        QTest::newRow("one column")
            << QStringList{str("a bc")} << 1
            << QStringList{str("a"), str(" "), str("b"), str("c")};
        QTest::newRow("every paragraph wrapped")
            << QStringList{str("one two"), str("three")} << 4
            << QStringList{str("one "), str("two"), str("thre"), str("e")};
        QTest::newRow("empty lines stay")
            << QStringList{QString(), str("abcdef"), QString()} << 3
            << QStringList{QString(), str("abc"), str("def"), QString()};
        QTest::newRow("deluxe column")
            << QStringList{str("250"), str("g"), str("flour, sifted twice")} << 2
            << QStringList{str("25"), str("0"), str("g"), str("fl"), str("ou"), str("r,"), str(" "),
                           str("si"), str("ft"), str("ed"), str(" "), str("tw"), str("ic"), str("e")};
    }
    void breaksByTheRule()
    {
        QFETCH(QStringList, text);
        QFETCH(int, columns);
        QFETCH(QStringList, expected);
        RichDocument doc = documentOf(text, m_mono);
        const int lineHeight = m_screen.font(m_mono).height();
        const int height = WrapText(m_screen, doc, columns * m_column, -1, PrinterStatus::Available);
        QCOMPARE(doc.plainLines(), expected);
        QCOMPARE(height, lineHeight * int(expected.size()));
    }

    void characterWiderThanTheLimitStandsAlone_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxWidth");
        QTest::newRow("narrower than one letter") << str("WWW") << 3;
        QTest::newRow("zero") << str("ab cd") << 0;
        QTest::newRow("negative") << str("x y") << -10;
        QTest::newRow("single character") << str("W") << 1;
    }
    void characterWiderThanTheLimitStandsAlone()
    {
        QFETCH(QString, text);
        QFETCH(int, maxWidth);
        RichDocument doc = documentOf({text}, format("Arial", 12));
        WrapText(m_screen, doc, maxWidth, -1, PrinterStatus::Available);
        QStringList oneEach;
        for (QChar c : text)
            oneEach.append(QString(c));
        QCOMPARE(doc.plainLines(), oneEach);
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
        // Random paragraphs of real words in mixed faces, sizes and styles, with single
        // and double blanks and words longer than narrow lines.
        QFETCH(int, maxWidth);
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const QStringList words = {str("flour"), str("sugar"), str("a"), str("butter"),
                                   str("Schwarzwälder"), str("Kirschtorte"), str("of"),
                                   str("tablespoonfuls"), str("W"), str("x"), str("bake")};
        const CharFormat formats[] = {format("Arial", 10), format("Times New Roman", 14, Italic),
                                      format("Courier New", 9, Bold), format("Verdana", 18),
                                      format("Arial", 7, Underline)};
        RichDocument original;
        original.setDefaultFormat(formats[0]);
        for (int word = 0; word < 60; ++word) {
            const CharFormat& f = formats[random.bounded(int(std::size(formats)))];
            QString run = words.at(random.bounded(int(words.size())));
            run += random.bounded(5) == 0 ? str("  ") : str(" ");
            appendRun(original, 0, run, f);
        }

        RichDocument doc = original;
        WrapText(m_screen, doc, maxWidth, -1, PrinterStatus::Available);

        // Nothing but line breaks is inserted.
        QCOMPARE(doc.plainLines().join(QString()), original.lines().at(0).text);
        QList<CharFormat> before, after;
        for (quint16 id : original.lines().at(0).formats)
            before.append(original.format(id));
        for (const RichLine& l : doc.lines())
            for (quint16 id : l.formats)
                after.append(doc.format(id));
        QVERIFY(after == before);

        for (int i = 0; i < doc.lineCount(); ++i) {
            const RichLine& line = doc.lines().at(i);
            QVERIFY(!line.text.isEmpty());
            const int w = width(doc, line);
            QVERIFY2(w <= maxWidth || line.text.size() == 1,
                     qPrintable(QStringLiteral("line %1 '%2' is %3 wide").arg(i).arg(line.text).arg(w)));
            if (i + 1 == doc.lineCount())
                continue;
            const RichLine& next = doc.lines().at(i + 1);
            RichLine joined = line;
            joined.text += next.text;
            joined.formats += next.formats;
            if (isBlankBreak(line.text, next.text)) {
                // Not premature: the overflow came before the next chance to break.
                const qsizetype candidate = firstBreakCandidate(next.text);
                if (candidate > 0)
                    QVERIFY(width(doc, prefix(joined, line.text.size() + candidate)) > maxWidth);
            } else {
                // A cut inside a word: there was no blank to break at, and the cut is at
                // the character that overflowed.
                QCOMPARE(firstBreakCandidate(line.text), qsizetype(-1));
                QVERIFY(width(doc, prefix(joined, line.text.size() + 1)) > maxWidth);
            }
        }
    }

    void splittingAtSeveralColumnsEqualsSplittingOneByOne_data()
    {
        QTest::addColumn<QList<int>>("columns");
        QTest::newRow("one") << QList<int>{4};
        QTest::newRow("several") << QList<int>{1, 5, 6, 11};
        QTest::newRow("at format changes") << QList<int>{3, 7};
        QTest::newRow("at the end") << QList<int>{2, 12};
    }
    void splittingAtSeveralColumnsEqualsSplittingOneByOne()
    {
        QFETCH(QList<int>, columns);
        RichDocument doc;
        appendRun(doc, 0, str("one"), format("Arial", 10));
        appendRun(doc, 0, str(" two"), format("Arial", 12, Bold));
        appendRun(doc, 0, str(" three"), format("Verdana", 9));
        appendRun(doc, 1, str("next"), format("Arial", 8));
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

    void lineHeightIsTheTallestCharacter()
    {
        const CharFormat small = format("Arial", 10);
        const CharFormat big = format("Arial", 24);
        const int smallHeight = m_screen.font(small).height();
        const int bigHeight = m_screen.font(big).height();
        QVERIFY(bigHeight > smallHeight);

        RichDocument doc;
        doc.setDefaultFormat(small);
        appendRun(doc, 0, str("small "), small);
        appendRun(doc, 0, str("BIG"), big);
        appendRun(doc, 0, str(" small"), small);
        appendRun(doc, 1, str("small"), small);
        QCOMPARE(WrapText(m_screen, doc, 10000, -1, PrinterStatus::Available), bigHeight + smallHeight);
    }

    void emptyLineCountsABlankInTheCurrentAttributes()
    {
        // The attributes of the last character measured, here the big first line's end
        // mark, not the empty line's own end mark.
        const CharFormat small = format("Arial", 10);
        const CharFormat big = format("Arial", 24);
        RichDocument doc;
        doc.setDefaultFormat(small);
        appendRun(doc, 0, str("big"), big);
        appendRun(doc, 1, QString(), small);
        const int bigHeight = m_screen.font(big).height();
        QCOMPARE(WrapText(m_screen, doc, 10000, -1, PrinterStatus::Available), 2 * bigHeight);

        // Alone, an empty line takes the document's default attributes.
        RichDocument emptyLine;
        emptyLine.setDefaultFormat(big);
        appendRun(emptyLine, 0, QString(), small);
        QCOMPARE(WrapText(m_screen, emptyLine, 10000, -1, PrinterStatus::Available), bigHeight);
        QCOMPARE(emptyLine.plainLines(), QStringList{QString()});
    }

    void wrapsFromTheGivenLine()
    {
        const QString longLine = str("abc def ghi jkl");
        RichDocument doc = documentOf({longLine, longLine, longLine}, m_mono);
        const int lineHeight = m_screen.font(m_mono).height();
        const int height = WrapText(m_screen, doc, 8 * m_column, 1, PrinterStatus::Available);
        QCOMPARE(doc.plainLines(), QStringList({longLine, str("abc def "), str("ghi jkl"),
                                                str("abc def "), str("ghi jkl")}));
        QCOMPARE(height, 4 * lineHeight);

        // Already wrapped lines are measured again and left alone.
        QCOMPARE(WrapText(m_screen, doc, 8 * m_column, 3, PrinterStatus::Available), 2 * lineHeight);
        QCOMPARE(doc.lineCount(), 5);
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
        QTest::newRow("empty text from line 0") << QStringList() << 0 << true;
    }
    void refusesWithoutChange()
    {
        QFETCH(QStringList, text);
        QFETCH(int, fromLine);
        QFETCH(bool, printer);
        RichDocument doc = documentOf(text, m_mono);
        doc.setSelection(5, 3);
        const int height = WrapText(m_screen, doc, 2 * m_column, fromLine,
                                    printer ? PrinterStatus::Available : PrinterStatus::Missing);
        QCOMPARE(height, 0);
        QCOMPARE(doc.plainLines(), text);
        QCOMPARE(doc.selectionStart(), text.isEmpty() ? 0 : 5);
        QCOMPARE(doc.selectionLength(), text.isEmpty() ? 0 : 3);
    }

    void keepsTheSelectionStart()
    {
        RichDocument doc = documentOf({str("abc def ghi jkl")}, m_mono);
        doc.setSelection(9, 4);
        WrapText(m_screen, doc, 4 * m_column, -1, PrinterStatus::Available);
        QCOMPARE(doc.lineCount(), 4);
        QCOMPARE(doc.selectionStart(), 9);
        QCOMPARE(doc.selectionLength(), 0);
    }

    void breakTakesTheFormatsAlong()
    {
        const CharFormat plain = format("Arial", 10);
        const CharFormat bold = format("Arial", 10, Bold);
        RichDocument doc;
        appendRun(doc, 0, str("plain "), plain);
        appendRun(doc, 0, str("bold words here"), bold);
        WrapText(m_screen, doc, MeasureLineWidth(m_screen, documentOf({str("plain b")}, plain), 0),
                 -1, PrinterStatus::Available);
        QVERIFY(doc.lineCount() > 1);
        QCOMPARE(doc.lines().at(0).text, str("plain "));
        for (int i = 1; i < doc.lineCount(); ++i)
            for (quint16 id : doc.lines().at(i).formats)
                QCOMPARE(doc.format(id), bold);
    }

    void pixelSizeFollowsTheResolution_data()
    {
        QTest::addColumn<int>("halfPoints");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("pixels");
        QTest::newRow("10 pt on screen") << 20 << 96 << 13;
        QTest::newRow("11 pt on screen") << 22 << 96 << 15;
        QTest::newRow("10 pt at 300 dpi") << 20 << 300 << 42;
        QTest::newRow("10 pt at 600 dpi") << 20 << 600 << 83;
        QTest::newRow("no size") << 0 << 96 << 13;
        QTest::newRow("huge size is held") << 100000 << 96 << 2184;
    }
    void pixelSizeFollowsTheResolution()
    {
        QFETCH(int, halfPoints);
        QFETCH(int, dpi);
        QFETCH(int, pixels);
        CharFormat f;
        f.halfPoints = halfPoints;
        QCOMPARE(pixelSizeFor(f, dpi), pixels);
    }

    void followsADeviceWhoseResolutionChanges()
    {
        // A printer set up anew keeps its object but not its resolution.
        QImage page(8, 8, QImage::Format_ARGB32_Premultiplied);
        setImageDpi(page, 96);
        RenderTarget printer(&page, TargetKind::Printer);
        const RichDocument doc = documentOf({str("Whisk the egg whites until stiff.")}, format("Arial", 10));
        const double at96 = MeasureLineWidth(printer, doc, 0);
        QCOMPARE(at96, double(MeasureLineWidth(m_screen, doc, 0)));
        setImageDpi(page, 480);
        const double at480 = MeasureLineWidth(printer, doc, 0);
        QVERIFY(qAbs(at480 / at96 - 5.0) < 0.5);
    }

    void measuresOnEachDevice_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("pdf");
        QTest::newRow("image at 300 dpi") << 300 << false;
        QTest::newRow("image at 600 dpi") << 600 << false;
        QTest::newRow("pdf at 600 dpi") << 600 << true;
    }
    void measuresOnEachDevice()
    {
        QFETCH(int, dpi);
        QFETCH(bool, pdf);
        QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
        setImageDpi(image, dpi);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QPdfWriter writer(dir.filePath(QStringLiteral("measure.pdf")));
        writer.setResolution(dpi);
        QPaintDevice* device = pdf ? static_cast<QPaintDevice*>(&writer) : &image;
        QCOMPARE(device->logicalDpiY(), dpi);
        RenderTarget printer(device, TargetKind::Printer);

        const double ratio = dpi / double(kScreenDpi);
        const QString text = str("The quick brown fox jumps over the lazy dog, 1234567890.");
        for (const CharFormat& f : {format("Arial", 10), format("Times New Roman", 12, Bold),
                                    format("Courier New", 8), format("Verdana", 16, Italic)}) {
            const RichDocument doc = documentOf({text}, f);
            const double screenWidth = MeasureLineWidth(m_screen, doc, 0);
            const double printerWidth = MeasureLineWidth(printer, doc, 0);
            QVERIFY2(qAbs(printerWidth / screenWidth - ratio) < 0.1 * ratio,
                     qPrintable(QStringLiteral("%1: %2 vs %3").arg(f.fontName).arg(printerWidth).arg(screenWidth)));
            const double screenHeight = m_screen.font(f).height();
            const double printerHeight = printer.font(f).height();
            QVERIFY(qAbs(printerHeight / screenHeight - ratio) < 0.15 * ratio);
        }

        // Wrapped on the printer, every line fits the printer's own measure.
        RichDocument doc = documentOf({text + str(" ") + text}, format("Arial", 10));
        const int maxWidth = qRound(150 * ratio);
        const int height = WrapText(printer, doc, maxWidth, -1, PrinterStatus::Available);
        QVERIFY(doc.lineCount() > 2);
        QCOMPARE(height, doc.lineCount() * printer.font(format("Arial", 10)).height());
        for (int i = 0; i < doc.lineCount(); ++i)
            QVERIFY(MeasureLineWidth(printer, doc, i) <= maxWidth);
    }
};

QTEST_MAIN(TestRichLayout)
#include "tst_richlayout.moc"
