// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace rich;

namespace {

QByteArray rtfWith(const QByteArray& body)
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}"
           "{\\f1\\fmodern\\fprq1\\fcharset0 Courier New;}{\\f2\\ftech\\fprq2\\fcharset2 Symbol;}}"
           "{\\colortbl ;\\red0\\green0\\blue255;\\red255\\green0\\blue0;}" +
           body + "}";
}

QString toQString(const char* text)
{
    return QString::fromUtf8(text);
}

QString toQString(const QString& text)
{
    return text;
}

// A list of lines from UTF-8 literals and strings.
template <typename... Items> QStringList L(const Items&... items)
{
    return QStringList{toQString(items)...};
}

QStringList linesOf(const RichDocument& doc)
{
    return doc.plainLines();
}

// Format of the last character of the first line.
CharFormat lastCharFormat(const RichDocument& doc)
{
    const RichLine& line = doc.lines().first();
    return doc.format(line.formats.last());
}

} // namespace

class TestRtfReader : public QObject {
    Q_OBJECT

private slots:
    void paragraphs_data();
    void paragraphs();
    void endMarkTakesFormatOfItsPar();
    void attributes_data();
    void attributes();
    void codepages_data();
    void codepages();
    void fixtures_data();
    void fixtures();
    void fixtureAttributes();
    void emptyControlKeepsItsFormat();
    void malformed_data();
    void malformed();
    void binaryJunkReadsBackStable();
    void manyFormatsStayBounded();
    void hugeInputsStayLinear();
    void notRtfReadsAsPlainText();
    void readsFiles();
};

void TestRtfReader::paragraphs_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("closing par ends the last line")
        << QByteArray("{\\rtf1 Hello\\par}") << L("Hello");
    QTest::newRow("no final par") << QByteArray("{\\rtf1 Hello}") << L("Hello");
    QTest::newRow("last line empty") << QByteArray("{\\rtf1 Hello\\par\\par}") << L("Hello", "");
    QTest::newRow("single par is an empty text") << QByteArray("{\\rtf1\\pard\\par}") << L();
    QTest::newRow("no content") << QByteArray("{\\rtf1}") << L();
    QTest::newRow("two empty lines") << QByteArray("{\\rtf1\\par\\par}") << L("", "");
    QTest::newRow("text after last par") << QByteArray("{\\rtf1 A\\par B}") << L("A", "B");
    QTest::newRow("line break") << QByteArray("{\\rtf1 A\\line B\\par}") << L("A", "B");
    QTest::newRow("backslash before newline") << QByteArray("{\\rtf1 A\\\nB}") << L("A", "B");
    QTest::newRow("raw line breaks are ignored")
        << QByteArray("{\\rtf1 A\r\nB\\par\r\n}") << L("AB");
    QTest::newRow("bytes after the closing brace")
        << (QByteArray("{\\rtf1 A\\par}\r\n") + QByteArray(2, '\0') + "junk{\\par") << L("A");
    QTest::newRow("one delimiter space only") << QByteArray("{\\rtf1\\b  two}") << L(" two");
    QTest::newRow("special characters")
        << QByteArray("{\\rtf1 a\\tab "
                      "b\\~c\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\_\\-d}")
        << L(QString::fromUtf16(u"a\tb\u00a0c\u2014\u2013\u2022\u2018\u2019\u201c\u201d\u2011d"));
    QTest::newRow("escaped braces and backslash")
        << QByteArray("{\\rtf1 \\{x\\}\\\\}") << L("{x}\\");
    QTest::newRow("table cells and rows")
        << QByteArray("{\\rtf1 a\\cell b\\cell\\row c\\par}") << L("a\tb\t", "c");
    QTest::newRow("field result is text, instruction is not")
        << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt Link}}\\par}")
        << L("Link");
    QTest::newRow("hidden text is dropped")
        << QByteArray("{\\rtf1 a{\\v b}c\\v d\\v0 e}") << L("ace");
    QTest::newRow("destination word at top level is ignored")
        << QByteArray("{\\rtf1\\pict A\\par}") << L("A");
    QTest::newRow("unknown control words are ignored")
        << QByteArray("{\\rtf1\\foo\\bar12 A\\baz-3 B}") << L("AB");
    QTest::newRow("unknown ignorable destination")
        << QByteArray("{\\rtf1 A{\\*\\foo {B}C}D}") << L("AD");
    QTest::newRow("leading blanks before the header") << QByteArray("\r\n {\\rtf1 A}") << L("A");
}

void TestRtfReader::paragraphs()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, lines);
    RichDocument doc;
    QString error;
    QVERIFY2(readRtf(rtf, doc, &error), qPrintable(error));
    QCOMPARE(linesOf(doc), lines);
}

void TestRtfReader::endMarkTakesFormatOfItsPar()
{
    RichDocument doc;
    QVERIFY(readRtf(rtfWith("\\b x\\b0\\par{\\i y\\par}\\fs40 z}"), doc));
    QCOMPARE(linesOf(doc), (L("x", "y", "z")));
    QCOMPARE(doc.format(doc.lines()[0].formats[0]).style, quint8(Bold));
    QCOMPARE(doc.format(doc.lines()[0].endFormat).style, quint8(0));
    QCOMPARE(doc.format(doc.lines()[1].endFormat).style, quint8(Italic));
    // A last line without \par ends in the attributes in force at the closing brace.
    QCOMPARE(doc.format(doc.lines()[2].endFormat).halfPoints, 40);
    QCOMPARE(doc.defaultFormat().style, quint8(Bold)); // the format at position 0
}

void TestRtfReader::attributes_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("font");
    QTest::addColumn<int>("halfPoints");
    QTest::addColumn<int>("style");
    QTest::addColumn<uint>("color");
    QTest::addColumn<int>("pitch");
    QTest::addColumn<int>("charset");

    const QString arial = QStringLiteral("Arial");
    const uint black = 0xff000000;
    QTest::newRow("defaults: deff font, 12 pt")
        << QByteArray("x") << arial << 24 << 0 << black << 2 << 0;
    QTest::newRow("size") << QByteArray("\\fs17 x") << arial << 17 << 0 << black << 2 << 0;
    QTest::newRow("bold") << QByteArray("\\b x") << arial << 24 << int(Bold) << black << 2 << 0;
    QTest::newRow("bold off") << QByteArray("\\b\\b0 x") << arial << 24 << 0 << black << 2 << 0;
    QTest::newRow("italic, underline, strike")
        << QByteArray("\\i\\ul\\strike x") << arial << 24 << int(Italic | Underline | StrikeOut)
        << black << 2 << 0;
    QTest::newRow("ulnone") << QByteArray("\\ul\\ulnone x") << arial << 24 << 0 << black << 2 << 0;
    QTest::newRow("ul0") << QByteArray("\\ul\\ul0 x") << arial << 24 << 0 << black << 2 << 0;
    QTest::newRow("double underline")
        << QByteArray("\\uldb x") << arial << 24 << int(Underline) << black << 2 << 0;
    QTest::newRow("underline colour is no underline")
        << QByteArray("\\ulc2 x") << arial << 24 << 0 << black << 2 << 0;
    QTest::newRow("double strike")
        << QByteArray("\\striked1 x") << arial << 24 << int(StrikeOut) << black << 2 << 0;
    QTest::newRow("group restores")
        << QByteArray("{\\b\\fs40\\cf2 a}x") << arial << 24 << 0 << black << 2 << 0;
    QTest::newRow("plain resets") << QByteArray("\\b\\i\\fs40\\f1\\cf2\\plain x") << arial << 24
                                  << 0 << black << 2 << 0;
    QTest::newRow("pard keeps character format")
        << QByteArray("\\b\\pard x") << arial << 24 << int(Bold) << black << 2 << 0;
    QTest::newRow("colour") << QByteArray("\\cf2 x") << arial << 24 << 0 << 0xffff0000u << 2 << 0;
    QTest::newRow("cf0 is automatic")
        << QByteArray("\\cf2\\cf0 x") << arial << 24 << 0 << black << 2 << 0;
    QTest::newRow("colour out of table")
        << QByteArray("\\cf99 x") << arial << 24 << 0 << black << 2 << 0;
    QTest::newRow("fixed pitch font")
        << QByteArray("\\f1 x") << QStringLiteral("Courier New") << 24 << 0 << black << 1 << 0;
    QTest::newRow("symbol charset")
        << QByteArray("\\f2 x") << QStringLiteral("Symbol") << 24 << 0 << black << 2 << 2;
    QTest::newRow("unknown font number uses deff")
        << QByteArray("\\f77 x") << arial << 24 << 0 << black << 2 << 0;
    QTest::newRow("huge size is clamped")
        << QByteArray("\\fs999999999999 x") << arial << 3276 << 0 << black << 2 << 0;
    QTest::newRow("zero size is ignored")
        << QByteArray("\\fs30\\fs0 x") << arial << 30 << 0 << black << 2 << 0;
    QTest::newRow("no font table") << QByteArray("{\\rtf1\\b x}") << QStringLiteral("Arial") << 24
                                   << int(Bold) << black << 0 << 0;
    QTest::newRow("deff names the default font")
        << QByteArray("{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1\\fnil\\fcharset238 B;}}x}")
        << QStringLiteral("B") << 24 << 0 << black << 0 << 238;
    QTest::newRow("font table without groups, name trimmed")
        << QByteArray("{\\rtf1{\\fonttbl\\f0\\froman  Times New Roman ;\\f1 Verdana;}\\f1 x}")
        << QStringLiteral("Verdana") << 24 << 0 << black << 0 << 0;
    QTest::newRow("font name with alternative and escapes")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fnil Caf\\'e9 {\\*\\falt Other} Sans;}}\\f0 x}")
        << QString::fromUtf16(u"Caf\u00e9  Sans") << 24 << 0 << black << 0 << 0;
    QTest::newRow("colour components clamped")
        << QByteArray("{\\rtf1{\\colortbl;\\red999\\green-5\\blue256;}\\cf1 x}")
        << QStringLiteral("Arial") << 24 << 0 << 0xffff00ffu << 0 << 0;
}

void TestRtfReader::attributes()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, font);
    QFETCH(int, halfPoints);
    QFETCH(int, style);
    QFETCH(uint, color);
    QFETCH(int, pitch);
    QFETCH(int, charset);

    RichDocument doc;
    QVERIFY(readRtf(body.startsWith("{\\rtf") ? body : rtfWith(body), doc));
    QVERIFY(!doc.isEmpty());
    const CharFormat f = lastCharFormat(doc);
    QCOMPARE(f.fontName, font);
    QCOMPARE(f.halfPoints, halfPoints);
    QCOMPARE(f.heightPx, heightForHalfPoints(halfPoints));
    QCOMPARE(int(f.style), style);
    QCOMPARE(uint(f.color), color);
    QCOMPARE(int(f.pitch), pitch);
    QCOMPARE(int(f.charset), charset);
}

void TestRtfReader::codepages_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("Windows-1252 hex")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252 \\'e4\\'80\\'9f\\'C4}")
        << QString::fromUtf16(u"\u00e4\u20ac\u0178\u00c4");
    QTest::newRow("raw 8-bit bytes")
        << QByteArray("{\\rtf1\\ansi \xe4\x80}") << QString::fromUtf16(u"\u00e4\u20ac");
    QTest::newRow("ansicpg1251") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0}")
                                 << QString::fromUtf16(u"\u041f\u0440");
    QTest::newRow("font charset 238")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fnil\\fcharset238 Arial "
                      "CE;}}\\f0 \\'b9}")
        << QString::fromUtf16(u"\u0105");
    QTest::newRow("double-byte charset")
        << QByteArray(
               "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset128 MS Mincho;}}\\f0 \\'82\\'a0!}")
        << QString::fromUtf16(u"\u3042!");
    QTest::newRow("UTF-8 code page")
        << QByteArray("{\\rtf1\\ansi\\ansicpg65001 \\'c3\\'a4\\'e2\\'82\\'ac}")
        << QString::fromUtf16(u"\u00e4\u20ac");
    QTest::newRow("symbol charset keeps bytes")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\ftech\\fcharset2 Symbol;}}\\f0 \\'b7}")
        << QString::fromUtf16(u"\u00b7");
    QTest::newRow("mac") << QByteArray("{\\rtf1\\mac \\'8a}") << QString::fromUtf16(u"\u00e4");
    QTest::newRow("pc") << QByteArray("{\\rtf1\\pc \\'84}") << QString::fromUtf16(u"\u00e4");
    QTest::newRow("negative u") << QByteArray("{\\rtf1\\u-3913?}") << QString::fromUtf16(u"\uf0b7");
    QTest::newRow("surrogate pair")
        << QByteArray("{\\rtf1\\u-10179?\\u-8704?}") << QString::fromUtf16(u"\U0001F600");
    QTest::newRow("uc2 skips two")
        << QByteArray("{\\rtf1\\uc2\\u8364 EUx}") << QString::fromUtf16(u"\u20acx");
    QTest::newRow("uc0 skips none")
        << QByteArray("{\\rtf1\\uc0\\u8364 x}") << QString::fromUtf16(u"\u20acx");
    QTest::newRow("hex fallback") << QByteArray("{\\rtf1\\u8364\\'80x}")
                                  << QString::fromUtf16(u"\u20acx");
    QTest::newRow("uc is restored with the group")
        << QByteArray("{\\rtf1{\\uc2\\u945 ab}\\u946 ?c}") << QString::fromUtf16(u"\u03b1\u03b2c");
    QTest::newRow("fallback ends at a brace")
        << QByteArray("{\\rtf1{\\uc3\\u945 a}b}") << QString::fromUtf16(u"\u03b1b");
    QTest::newRow("control characters dropped")
        << QByteArray("{\\rtf1 a\\'01\\u7?b\\'09c}") << QStringLiteral("ab\tc");
}

void TestRtfReader::codepages()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    RichDocument doc;
    QVERIFY(readRtf(rtf, doc));
    QCOMPARE(doc.plainText(), text);
}

void TestRtfReader::fixtures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("rich edit, two lines")
        << QStringLiteral("richedit_plain.rtf") << L("500 g Mehl", "2 Eier");
    QTest::newRow("rich edit, empty") << QStringLiteral("richedit_empty.rtf") << L();
    QTest::newRow("rich edit, last line empty")
        << QStringLiteral("richedit_lastlineempty.rtf") << L("Zutaten:", "");
    QTest::newRow("WordPad with formats")
        << QStringLiteral("wordpad_formats.rtf")
        << L("Schnitzel Wiener Art mit Kartoffelsalat", "unterstrichen, durchgestrichen, rot, blau",
             "Courier: 1\t2", QString::fromUtf16(u"Gr\u00fc\u00dfe \u20ac 5"),
             QString::fromUtf16(u"\u041f\u0440\u0438\u0432\u0435\u0442"),
             QString::fromUtf16(u"\u03b1\u03b2-\U0001F600"), "");
    QTest::newRow("destinations skipped") << QStringLiteral("destinations.rtf")
                                          << L("Vor dem Bild", QString::fromUtf16(u"Bin\u00e4rx"),
                                               "Link", "Erster Punkt", "sichtbar ok");
    QTest::newRow("LibreOffice style") << QStringLiteral("libreoffice_style.rtf")
                                       << L("Plain bold under red", "Courier big",
                                            QString::fromUtf16(u"Gr\u00fc\u00dfe \u20ac \u03b1"));
}

void TestRtfReader::fixtures()
{
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    const QString path = QFINDTESTDATA(QStringLiteral("data/") + file);
    QVERIFY(!path.isEmpty());
    RichDocument doc;
    QString error;
    QVERIFY2(readRtfFile(path, doc, &error), qPrintable(error));
    QCOMPARE(linesOf(doc), lines);

    // Written again and read back, the text stays and the bytes settle at once.
    const QByteArray written = writeRtf(doc);
    RichDocument again;
    QVERIFY(readRtf(written, again));
    QCOMPARE(linesOf(again), lines);
    QCOMPARE(writeRtf(again), written);
}

void TestRtfReader::fixtureAttributes()
{
    RichDocument doc;
    QVERIFY(readRtfFile(QFINDTESTDATA(QStringLiteral("data/wordpad_formats.rtf")), doc));
    auto fmt = [&](int line, int column) { return doc.format(doc.lines()[line].formats[column]); };
    QCOMPARE(fmt(0, 0).fontName, QStringLiteral("Calibri"));
    QCOMPARE(fmt(0, 0).halfPoints, 22);
    QCOMPARE(fmt(0, 0).style, quint8(0));
    QCOMPARE(fmt(0, 10).style, quint8(Bold));   // "Wiener"
    QCOMPARE(fmt(0, 25).style, quint8(Italic)); // "Kartoffelsalat"
    QCOMPARE(fmt(1, 0).style, quint8(Underline));
    QCOMPARE(fmt(1, 15).style, quint8(StrikeOut));
    QCOMPARE(fmt(1, 32).color, qRgb(255, 0, 0));  // "rot"
    QCOMPARE(fmt(1, 37).color, qRgb(0, 77, 187)); // "blau"
    QCOMPARE(fmt(1, 37).fontName, QStringLiteral("Arial"));
    QCOMPARE(fmt(1, 37).pitch, Pitch::Variable);
    QCOMPARE(fmt(1, 37).halfPoints, 28);
    QCOMPARE(fmt(2, 0).fontName, QStringLiteral("Courier New"));
    QCOMPARE(fmt(2, 0).pitch, Pitch::Fixed);
    QCOMPARE(fmt(4, 0).charset, quint8(204));
    QCOMPARE(doc.format(doc.lines()[1].endFormat).fontName, QStringLiteral("Calibri"));

    QVERIFY(readRtfFile(QFINDTESTDATA(QStringLiteral("data/libreoffice_style.rtf")), doc));
    QCOMPARE(fmt(0, 0).fontName, QStringLiteral("Liberation Serif"));
    QCOMPARE(fmt(0, 0).halfPoints, 24);
    QCOMPARE(fmt(0, 6).style, quint8(Bold));
    QCOMPARE(fmt(0, 11).style, quint8(Underline));
    QCOMPARE(fmt(0, 17).color, qRgb(255, 0, 0));
    QCOMPARE(fmt(1, 0).fontName, QStringLiteral("Courier New"));
    QCOMPARE(fmt(1, 0).halfPoints, 36);
    QCOMPARE(fmt(2, 0).halfPoints, 28);
}

void TestRtfReader::emptyControlKeepsItsFormat()
{
    RichDocument doc;
    QVERIFY(readRtfFile(QFINDTESTDATA(QStringLiteral("data/richedit_empty.rtf")), doc));
    QVERIFY(doc.isEmpty());
    QCOMPARE(doc.defaultFormat().fontName, QStringLiteral("Courier New"));
    QCOMPARE(doc.defaultFormat().halfPoints, 28);
    QCOMPARE(doc.defaultFormat().style, quint8(Bold));
    QCOMPARE(doc.defaultFormat().pitch, Pitch::Fixed);

    // Written back, it is again one paragraph mark in that format.
    RichDocument again;
    QVERIFY(readRtf(writeRtf(doc), again));
    QVERIFY(again.isEmpty());
    QCOMPARE(again.defaultFormat(), doc.defaultFormat());
}

void TestRtfReader::malformed_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("complete");

    QTest::newRow("truncated in text")
        << QByteArray("{\\rtf1\\ansi Hello wor") << L("Hello wor") << false;
    QTest::newRow("truncated in control word")
        << QByteArray("{\\rtf1 Hello\\pa") << L("Hello") << false;
    QTest::newRow("truncated in hex") << QByteArray("{\\rtf1 Hi\\'e") << L("Hi") << false;
    QTest::newRow("backslash at the end") << QByteArray("{\\rtf1 Hi\\") << L("Hi") << false;
    QTest::newRow("bad hex digits") << QByteArray("{\\rtf1 a\\'zzb}") << L("azzb") << true;
    QTest::newRow("truncated font table")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Ari") << L() << false;
    QTest::newRow("truncated skipped group")
        << QByteArray("{\\rtf1 A\\par{\\pict 0123") << L("A") << false;
    QTest::newRow("extra closing braces") << QByteArray("{\\rtf1 A}}}}B") << L("A") << true;
    QTest::newRow("unclosed groups") << QByteArray("{\\rtf1{{{A\\par") << L("A") << false;
    QTest::newRow("deep nesting is cut") << (QByteArray("{\\rtf1 A") + QByteArray(100000, '{') +
                                             "B" + QByteArray(100000, '}') + "C}")
                                         << L("AC") << false;
    QTest::newRow("deep skipped nesting")
        << (QByteArray("{\\rtf1 A{\\*\\x") + QByteArray(100000, '{') + QByteArray(100000, '}') +
            "}B}")
        << L("AB") << true;
    QTest::newRow("huge unicode value")
        << QByteArray("{\\rtf1\\u99999999999 AB}") << L("B") << true;
    QTest::newRow("huge uc") << QByteArray("{\\rtf1{\\uc99999999999\\u65 ABC}D}") << L("AD")
                             << true;
    QTest::newRow("bin past the end")
        << QByteArray("{\\rtf1 A\\bin99999999999 BCD}") << L("A") << false;
    QTest::newRow("negative bin") << QByteArray("{\\rtf1 A\\bin-5 B}") << L("AB") << true;
    QTest::newRow("NUL bytes in text") << QByteArray("{\\rtf1 A\0B\0\\par}", 16) << L("AB") << true;
    QTest::newRow("endless control word")
        << (QByteArray("{\\rtf1 A\\") + QByteArray(100000, 'x') + " B}") << L("AB") << true;
    QTest::newRow("endless number")
        << (QByteArray("{\\rtf1\\fs") + QByteArray(100000, '9') + " A}") << L("A") << true;
    QTest::newRow("font table junk")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset999\\fprq77 A;B;;{;}\\par}}\\f0 x}")
        << L("x") << true;
    QTest::newRow("lone star") << QByteArray("{\\rtf1 a\\*b}") << L("ab") << true;
}

void TestRtfReader::malformed()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, lines);
    QFETCH(bool, complete);
    RichDocument doc;
    QString error;
    QCOMPARE(readRtf(rtf, doc, &error), complete);
    QCOMPARE(error.isEmpty(), complete);
    QCOMPARE(linesOf(doc), lines);
}

void TestRtfReader::binaryJunkReadsBackStable()
{
    // Pseudo-random bytes after a valid header: whatever is read must write and read
    // back to the same text.
    quint32 seed = 12345;
    for (int round = 0; round < 50; ++round) {
        QByteArray junk("{\\rtf1\\ansi ");
        for (int i = 0; i < 2000; ++i) {
            seed = seed * 1103515245 + 12345;
            const char c = char(seed >> 16);
            // Bias towards the characters RTF gives meaning to.
            static const char special[] = "{}\\'*;uf0123456789 \r\n";
            junk.append((seed >> 8) % 3 == 0 ? special[(seed >> 4) % (sizeof special - 1)] : c);
        }
        RichDocument doc;
        readRtf(junk, doc);
        QVERIFY(doc.plainText().size() <= junk.size());
        const QByteArray written = writeRtf(doc);
        RichDocument again;
        QVERIFY(readRtf(written, again));
        QCOMPARE(again.plainText(), doc.plainText());
        QCOMPARE(writeRtf(again), written);
    }
}

void TestRtfReader::manyFormatsStayBounded()
{
    QByteArray rtf("{\\rtf1 ");
    int count = 0;
    for (int size = 1; size <= 3276; ++size) {
        for (const char* style : {"\\b0\\i0", "\\b\\i0", "\\b0\\i", "\\b\\i"}) {
            rtf += "\\fs" + QByteArray::number(size) + style + " x";
            ++count;
        }
    }
    rtf += "}";
    RichDocument doc;
    QVERIFY(readRtf(rtf, doc));
    QCOMPARE(doc.plainText().size(), count);
    QVERIFY(doc.formats().size() > 1000);
    QVERIFY(doc.formats().size() <= 4097);
}

void TestRtfReader::hugeInputsStayLinear()
{
    // 400,000 paragraphs and 4 MB of text each read in well under the test timeout;
    // quadratic behaviour would take minutes.
    QByteArray pars("{\\rtf1 ");
    pars.reserve(2'000'000);
    for (int i = 0; i < 400000; ++i)
        pars += "\\par ";
    pars += "}";
    QByteArray text = "{\\rtf1 " + QByteArray(4'000'000, 'a') + "\\par}";
    QElapsedTimer timer;
    timer.start();
    RichDocument doc;
    QVERIFY(readRtf(pars, doc));
    QCOMPARE(doc.lineCount(), 400000);
    QVERIFY(readRtf(text, doc));
    QCOMPARE(doc.lines().first().text.size(), 4'000'000);
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
}

void TestRtfReader::notRtfReadsAsPlainText()
{
    RichDocument doc;
    QString error;
    QVERIFY(!readRtf("Zeile 1\r\nZeile \xe4\nZeile 3\r\n", doc, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(linesOf(doc), (L("Zeile 1", QString::fromUtf16(u"Zeile \u00e4"), "Zeile 3")));
    QVERIFY(!readRtf(QByteArray(), doc, &error));
    QVERIFY(doc.isEmpty());
}

void TestRtfReader::readsFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    RichDocument doc;
    doc.appendLine(QStringLiteral("old"));
    QString error;
    QVERIFY(!readRtfFile(dir.filePath(QStringLiteral("missing.rtf")), doc, &error));
    QVERIFY(error.contains(QStringLiteral("missing.rtf")));
    QVERIFY(doc.isEmpty());

    const QString path = dir.filePath(QStringLiteral("cut.rtf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 cut off");
    file.close();
    QVERIFY(!readRtfFile(path, doc, &error));
    QVERIFY(error.contains(QStringLiteral("cut.rtf")));
    QCOMPARE(linesOf(doc), L("cut off"));
}

QTEST_GUILESS_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
