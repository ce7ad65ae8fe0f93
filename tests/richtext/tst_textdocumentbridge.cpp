// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/fonttransfer.h"
#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"
#include "platform/richtext/textdocumentbridge.h"

#include "sampledocuments.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

using namespace rich;
using sample::addLine;
using sample::format;

namespace {

QList<QTextFragment> fragments(const QTextBlock& block)
{
    QList<QTextFragment> out;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        out.append(it.fragment());
    return out;
}

} // namespace

class TestTextDocumentBridge : public QObject {
    Q_OBJECT

private slots:
    void toTextDocumentBlocksAndFormats();
    void fromTextDocumentReadsEditedContent();
    void proportionalFontEndsFixedPitch();
    void roundTrip_data();
    void roundTrip();
    void emptyDocument();
    void selectionMapsBothWays();
    void editorRoundTripKeepsRtfBytes();
    void mergingFontParts_data();
    void mergingFontParts();
};

void TestTextDocumentBridge::toTextDocumentBlocksAndFormats()
{
    RichDocument doc;
    const CharFormat italicEnd = format("Arial", 10, Italic);
    addLine(doc, {{"Hello ", format()},
                  {"bold", format("Courier New", 14, Bold, 0xffff0000, Pitch::Fixed)}});
    addLine(doc, {}, &italicEnd);
    addLine(doc, {{"x", format("Times New Roman", 12, Underline | StrikeOut, 0xff0000ff,
                               Pitch::Variable, 204)}});

    QTextDocument target;
    target.setPlainText(QStringLiteral("old content"));
    toTextDocument(doc, &target);
    QCOMPARE(target.blockCount(), 3);
    QCOMPARE(target.toPlainText(), QStringLiteral("Hello bold\n\nx"));
    QVERIFY(!target.isUndoAvailable());

    const QList<QTextFragment> first = fragments(target.begin());
    QCOMPARE(first.size(), 2);
    const QTextCharFormat plain = first[0].charFormat();
    QCOMPARE(plain.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    QCOMPARE(plain.fontPointSize(), 10.0);
    QCOMPARE(plain.fontWeight(), int(QFont::Normal));
    const QTextCharFormat bold = first[1].charFormat();
    QCOMPARE(bold.fontFamilies().toStringList(), QStringList{QStringLiteral("Courier New")});
    QCOMPARE(bold.fontPointSize(), 14.0);
    QCOMPARE(bold.fontWeight(), int(QFont::Bold));
    QVERIFY(bold.fontFixedPitch());
    QCOMPARE(bold.foreground().color(), QColor(255, 0, 0));

    const QTextBlock empty = target.begin().next();
    QVERIFY(empty.charFormat().fontItalic());
    const QTextCharFormat last = fragments(empty.next()).first().charFormat();
    QVERIFY(last.fontUnderline());
    QVERIFY(last.fontStrikeOut());
    QVERIFY(!last.fontItalic());
    QVERIFY(!last.fontFixedPitch());
    QCOMPARE(last.foreground().color(), QColor(0, 0, 255));
}

void TestTextDocumentBridge::fromTextDocumentReadsEditedContent()
{
    // Content as a QTextEdit leaves it after typing, formatting and pasting.
    QTextDocument source;
    source.setDefaultFont(QFont(QStringLiteral("Verdana"), 11));
    QTextCursor cursor(&source);
    cursor.insertText(QStringLiteral("plain "));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(0, 128, 0));
    cursor.insertText(QStringLiteral("bold"), bold);
    QFont courier(QStringLiteral("Courier New"), 14);
    courier.setFixedPitch(true);
    QTextCharFormat fixed;
    fixed.setFont(courier);
    cursor.insertBlock();
    cursor.insertText(QString::fromUtf16(u"first\u2028second"), fixed);
    cursor.insertImage(QStringLiteral("no-such-picture.png"));
    cursor.insertText(QStringLiteral("!"), fixed);
    QTextCharFormat pixels;
    pixels.setProperty(QTextFormat::FontPixelSize, 20);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("px"), pixels);

    const RichDocument doc = fromTextDocument(&source);
    QCOMPARE(doc.plainLines(), (QStringList{QStringLiteral("plain bold"), QStringLiteral("first"),
                                            QStringLiteral("second!"), QStringLiteral("px")}));
    const CharFormat p = doc.formatAt(0);
    QCOMPARE(p.fontName, QStringLiteral("Verdana"));
    QCOMPARE(p.halfPoints, 22);
    QCOMPARE(p.heightPx, heightForHalfPoints(22));
    QCOMPARE(p.style, quint8(0));
    QCOMPARE(p.color, qRgb(0, 0, 0));
    const CharFormat b = doc.formatAt(6);
    QCOMPARE(b.fontName, QStringLiteral("Verdana"));
    QCOMPARE(b.style, quint8(Bold));
    QCOMPARE(b.color, qRgb(0, 128, 0));
    const CharFormat c = doc.formatAt(doc.lineStart(1));
    QCOMPARE(c.fontName, QStringLiteral("Courier New"));
    QCOMPARE(c.halfPoints, 28);
    QCOMPARE(c.pitch, Pitch::Fixed);
    QCOMPARE(doc.formatAt(doc.lineStart(3)).halfPoints, 30); // 20 px at 96 dpi = 15 pt
    QCOMPARE(doc.defaultFormat(), p);
}

void TestTextDocumentBridge::proportionalFontEndsFixedPitch()
{
    RichDocument doc;
    addLine(doc, {{"mono", format("Courier New", 10, 0, 0xff000000, Pitch::Fixed)},
                  {"var", format("Arial", 10, 0, 0xff000000, Pitch::Variable, 238)}});
    QTextDocument target;
    toTextDocument(doc, &target);

    // The user picks a proportional font for the whole text, as a font dialog does.
    QTextCursor cursor(&target);
    cursor.select(QTextCursor::Document);
    QTextCharFormat arial;
    arial.setFont(QFont(QStringLiteral("Arial"), 12));
    cursor.mergeCharFormat(arial);

    const RichDocument back = fromTextDocument(&target);
    QCOMPARE(back.formatAt(0).fontName, QStringLiteral("Arial"));
    QCOMPARE(back.formatAt(0).pitch, Pitch::Default);
    QCOMPARE(back.formatAt(4).pitch, Pitch::Variable);
    QCOMPARE(back.formatAt(4).charset, quint8(238));
    QCOMPARE(back.formatAt(4).halfPoints, 24);
}

void TestTextDocumentBridge::roundTrip_data()
{
    QTest::addColumn<RichDocument>("doc");
    for (const auto& [name, doc] : sample::documents())
        QTest::newRow(name) << doc;
}

void TestTextDocumentBridge::roundTrip()
{
    QFETCH(RichDocument, doc);
    QTextDocument text;
    toTextDocument(doc, &text);
    const RichDocument back = fromTextDocument(&text);
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
    QCOMPARE(back.textLength(), text.characterCount() - 1);
}

void TestTextDocumentBridge::emptyDocument()
{
    RichDocument doc;
    const CharFormat f = format("Courier New", 13, Bold, 0xff0000ff, Pitch::Fixed);
    doc.setDefaultFormat(f);
    QTextDocument text;
    toTextDocument(doc, &text);
    QCOMPARE(text.blockCount(), 1);
    QVERIFY(text.isEmpty());
    QCOMPARE(text.begin().charFormat().fontPointSize(), 13.0);
    QCOMPARE(text.defaultFont().family(), QStringLiteral("Courier New"));

    const RichDocument back = fromTextDocument(&text);
    QVERIFY(back.isEmpty());
    QVERIFY(back.defaultFormat() == f);
}

void TestTextDocumentBridge::selectionMapsBothWays()
{
    RichDocument doc;
    addLine(doc, {{"abc", format()}});
    addLine(doc, {{"de", format()}});
    QTextDocument text;
    toTextDocument(doc, &text);

    doc.setSelection(2, 3);
    QTextCursor cursor(&text);
    selectionToCursor(doc, cursor);
    QCOMPARE(cursor.selectedText(), QString::fromUtf16(u"c\u2029d"));

    cursor.setPosition(1);
    cursor.setPosition(6, QTextCursor::KeepAnchor);
    selectionFromCursor(cursor, doc);
    QCOMPARE(doc.selectionStart(), 1);
    QCOMPARE(doc.selectionLength(), 5);
    QCOMPARE(doc.selectionFormat(), format());

    // A selection past the end of the text is clamped on both sides.
    doc.setSelection(0, 99);
    RichDocument shorter;
    addLine(shorter, {{"a", format()}});
    QTextDocument small;
    toTextDocument(shorter, &small);
    QTextCursor smallCursor(&small);
    selectionToCursor(doc, smallCursor);
    QCOMPARE(smallCursor.selectedText(), QStringLiteral("a"));
}

void TestTextDocumentBridge::editorRoundTripKeepsRtfBytes()
{
    // Loading a side file into the editor and saving it unchanged rewrites the same file.
    for (const char* file : {"data/wordpad_formats.rtf", "data/libreoffice_style.rtf",
                             "data/richedit_empty.rtf", "data/richedit_lastlineempty.rtf"}) {
        RichDocument doc;
        QVERIFY(readRtfFile(QFINDTESTDATA(QString::fromLatin1(file)), doc));
        QTextDocument text;
        toTextDocument(doc, &text);
        QCOMPARE(writeRtf(fromTextDocument(&text)), writeRtf(doc));
    }
}

void TestTextDocumentBridge::mergingFontParts_data()
{
    QTest::addColumn<int>("parts");
    QTest::newRow("nothing") << 0;
    QTest::newRow("face") << int(FacePart);
    QTest::newRow("size") << int(SizePart);
    QTest::newRow("style") << int(StylePart);
    QTest::newRow("pitch") << int(PitchPart);
    QTest::newRow("face and size keep the style") << int(FacePart | SizePart);
    QTest::newRow("deluxe columns") << int(FacePart | SizePart | PitchPart);
    QTest::newRow("everything") << int(AllFontParts);
}

void TestTextDocumentBridge::mergingFontParts()
{
    // A font merged into formatted text, as the font command does: only the requested
    // parts change; colour and character set never travel.
    QFETCH(int, parts);
    const CharFormat text =
        format("Arial", 10, Bold | Italic | Underline, 0xff0000ff, Pitch::Variable, 238);
    const CharFormat font = format("Courier New", 14, StrikeOut, 0xffff0000, Pitch::Fixed, 2);
    RichDocument doc;
    addLine(doc, {{"first", text}});
    addLine(doc, {{"second", text}});
    QTextDocument target;
    toTextDocument(doc, &target);
    QTextCursor cursor(&target);
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(toTextCharFormatParts(font, quint8(parts)));

    CharFormat expected = text;
    if (parts & FacePart)
        expected.fontName = font.fontName;
    if (parts & SizePart) {
        expected.halfPoints = font.halfPoints;
        expected.heightPx = font.heightPx;
    }
    if (parts & StylePart)
        expected.style = font.style;
    if (parts & PitchPart)
        expected.pitch = font.pitch;
    const RichDocument back = fromTextDocument(&target);
    QCOMPARE(back.plainText(), QStringLiteral("first\nsecond"));
    for (const RichLine& line : back.lines()) {
        for (quint16 id : line.formats) {
            const CharFormat& f = back.format(id);
            QCOMPARE(f.fontName, expected.fontName);
            QCOMPARE(f.halfPoints, expected.halfPoints);
            QCOMPARE(f.heightPx, expected.heightPx);
            QCOMPARE(int(f.style), int(expected.style));
            QCOMPARE(f.pitch, expected.pitch);
            QCOMPARE(f.color, expected.color);
            QCOMPARE(int(f.charset), int(expected.charset));
        }
    }
}

QTEST_MAIN(TestTextDocumentBridge)
#include "tst_textdocumentbridge.moc"
