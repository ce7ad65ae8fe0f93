// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"

#include "sampledocuments.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace rich;
using sample::addLine;
using sample::format;

class TestRtfWriter : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void singleEmptyLineIsAnEmptyText();
    void headerAndParagraphs();
    void characters_data();
    void characters();
    void colourTable();
    void fontsNumberedByFirstUse();
    void damagedModelStillWrites();
    void writesFiles();
};

void TestRtfWriter::roundTrip_data()
{
    QTest::addColumn<RichDocument>("doc");
    for (const auto& [name, doc] : sample::documents())
        QTest::newRow(name) << doc;
}

void TestRtfWriter::roundTrip()
{
    QFETCH(RichDocument, doc);
    const QByteArray written = writeRtf(doc);
    RichDocument back;
    QString error;
    QVERIFY2(readRtf(written, back, &error), qPrintable(error));

    QCOMPARE(back.plainLines(), doc.plainLines());
    for (int i = 0; i < doc.lineCount(); ++i) {
        const RichLine& expected = doc.lines().at(i);
        const RichLine& actual = back.lines().at(i);
        for (qsizetype k = 0; k < expected.text.size(); ++k) {
            if (!(back.format(actual.formats[k]) == doc.format(expected.formats[k])))
                QFAIL(qPrintable(
                    QStringLiteral("format differs at line %1, column %2").arg(i).arg(k)));
        }
        QVERIFY(back.format(actual.endFormat) == doc.format(expected.endFormat));
    }
    QVERIFY(back.defaultFormat() == doc.defaultFormat());
    // Saved twice without changes, the bytes are the same.
    QCOMPARE(writeRtf(back), written);
}

void TestRtfWriter::singleEmptyLineIsAnEmptyText()
{
    // A rich edit control holding no text has one empty paragraph; both the model's
    // empty document and a document of one empty line are written that way.
    RichDocument oneLine;
    const CharFormat end = format("Verdana", 9, Italic);
    addLine(oneLine, {}, &end);
    RichDocument empty;
    empty.setDefaultFormat(end);
    QCOMPARE(writeRtf(oneLine), writeRtf(empty));

    RichDocument back;
    QVERIFY(readRtf(writeRtf(oneLine), back));
    QVERIFY(back.isEmpty());
    QVERIFY(back.defaultFormat() == end);
}

void TestRtfWriter::headerAndParagraphs()
{
    RichDocument doc;
    addLine(doc, {{"one", format()}});
    addLine(doc, {{"two", format()}});
    const QByteArray rtf = writeRtf(doc);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl"
                           "{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}}\r\n"));
    QVERIFY(rtf.contains("\\viewkind4\\uc1\\pard\\f0\\fs20 one\\par\r\ntwo\\par\r\n}"));
    QVERIFY(rtf.endsWith("}\r\n"));
    QVERIFY(!rtf.contains("colortbl"));
    QCOMPARE(rtf.count("\\par\r\n"), 2);

    // The last line being empty adds a paragraph mark; so does each empty line.
    addLine(doc, {});
    QCOMPARE(writeRtf(doc).count("\\par\r\n"), 3);
    QCOMPARE(writeRtf(RichDocument()).count("\\par\r\n"), 1);
}

void TestRtfWriter::characters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("charset");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("ASCII after a control word")
        << QStringLiteral("a") << 0 << QByteArray("\\fs20 xay");
    QTest::newRow("Windows-1252 letter") << sample::u8("\xc3\xa4") << 0 << QByteArray("x\\'e4y");
    QTest::newRow("euro sign") << sample::u8("\xe2\x82\xac") << 0 << QByteArray("x\\'80y");
    QTest::newRow("default charset is ANSI")
        << sample::u8("\xc3\xa4") << 1 << QByteArray("x\\'e4y");
    QTest::newRow("Greek") << sample::u8("\xce\xb1") << 0 << QByteArray("x\\u945?y");
    QTest::newRow("above 32767") << sample::u8("\xef\x82\xb7") << 0 << QByteArray("x\\u-3913?y");
    QTest::newRow("surrogate pair")
        << sample::u8("\xf0\x9f\x98\x80") << 0 << QByteArray("x\\u-10179?\\u-8704?y");
    QTest::newRow("non-ANSI font charset")
        << sample::u8("\xc3\xa4") << 204 << QByteArray("x\\u228?y");
    QTest::newRow("open brace") << QStringLiteral("{") << 0 << QByteArray("x\\{y");
    QTest::newRow("close brace") << QStringLiteral("}") << 0 << QByteArray("x\\}y");
    QTest::newRow("backslash") << QStringLiteral("\\") << 0 << QByteArray("x\\\\y");
    QTest::newRow("tab") << QStringLiteral("\t") << 0 << QByteArray("x\\tab y");
    QTest::newRow("control characters dropped")
        << QStringLiteral("\r\n\x01") << 0 << QByteArray(" xy\\par");
}

void TestRtfWriter::characters()
{
    QFETCH(QString, text);
    QFETCH(int, charset);
    QFETCH(QByteArray, expected);
    RichDocument doc;
    const CharFormat f = format("Arial", 10, 0, 0xff000000, Pitch::Default, quint8(charset));
    RichLine line;
    line.text = QStringLiteral("x") + text + QStringLiteral("y");
    line.formats.fill(doc.intern(f), line.text.size());
    line.endFormat = line.formats.first();
    doc.lines().append(line);
    const QByteArray rtf = writeRtf(doc);
    QVERIFY2(rtf.contains(expected), rtf.constData());
}

void TestRtfWriter::colourTable()
{
    RichDocument doc;
    addLine(doc, {{"black ", format()},
                  {"red", format("Arial", 10, 0, 0xffff0000)},
                  {" black", format()},
                  {" blue", format("Arial", 10, 0, 0xff0000ff)}});
    const QByteArray rtf = writeRtf(doc);
    QVERIFY(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"));
    QVERIFY(rtf.contains("black \\cf1 red\\cf0  black\\cf2  blue\\par"));
}

void TestRtfWriter::fontsNumberedByFirstUse()
{
    RichDocument doc;
    const CharFormat arial = format();
    const CharFormat times = format("Times New Roman", 12);
    doc.intern(arial); // the format table order must not matter
    addLine(doc, {{"t", times}, {"a", arial}, {"t", times}});
    const QByteArray rtf = writeRtf(doc);
    QVERIFY(rtf.contains("{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
                         "{\\f1\\fswiss\\fprq2\\fcharset0 Arial;}}"));
    QVERIFY(rtf.contains("\\pard\\f0\\fs24 t\\f1\\fs20 a\\f0\\fs24 t\\par"));
}

void TestRtfWriter::damagedModelStillWrites()
{
    // Format ids past the table and missing format entries fall back instead of
    // crashing: the model is shared with editing code that may leave such lines.
    RichDocument doc;
    RichLine line;
    line.text = QStringLiteral("abc");
    line.formats = {0, 999};
    line.endFormat = 12345;
    doc.lines().append(line);
    RichDocument back;
    QVERIFY(readRtf(writeRtf(doc), back));
    QCOMPARE(back.plainText(), QStringLiteral("abc"));
}

void TestRtfWriter::writesFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Rezept.vrez.001"));
    RichDocument doc;
    addLine(doc, {{"Teig ", format()}, {"kneten", format("Arial", 10, Bold)}});
    QString error;
    QVERIFY2(writeRtfFile(path, doc, &error), qPrintable(error));

    RichDocument back;
    QVERIFY(readRtfFile(path, back, &error));
    QCOMPARE(back.plainText(), QStringLiteral("Teig kneten"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), writeRtf(back));

    QVERIFY(!writeRtfFile(dir.filePath(QStringLiteral("missing/x.rtf")), doc, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestRtfWriter)
#include "tst_rtfwriter.moc"
