// SPDX-License-Identifier: GPL-2.0-or-later

#include "demo/demorecipes.h"
#include "demo/markup.h"
#include "platform/cp1252.h"
#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"

#include <QTest>

using rich::CharFormat;

Q_DECLARE_METATYPE(CharFormat)

namespace {

CharFormat body()
{
    CharFormat f;
    f.fontName = QStringLiteral("Arial");
    f.setPointSize(10);
    f.pitch = rich::Pitch::Variable;
    return f;
}

CharFormat with(CharFormat f, quint8 style)
{
    f.style = style;
    return f;
}

} // namespace

class TestDemoMarkup : public QObject {
    Q_OBJECT
private slots:
    void lines_data()
    {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("plain");
        // The format of the first and of the last character of the line, and of its
        // end mark (the format after the last marker).
        QTest::addColumn<CharFormat>("first");
        QTest::addColumn<CharFormat>("last");
        QTest::addColumn<CharFormat>("end");

        CharFormat heading = body();
        heading.fontName = QStringLiteral("Verdana");
        heading.setPointSize(11);
        heading.style = rich::Bold;
        heading.color = qRgb(0xb0, 0x3a, 0x22);
        CharFormat note = with(body(), rich::Italic);
        note.color = qRgb(0x2d, 0x4b, 0x73);
        CharFormat tip = body();
        tip.fontName = QStringLiteral("Courier New");
        tip.pitch = rich::Pitch::Fixed;

        const QString u = QString::fromUtf8("Crème – 60 °C");
        QTest::newRow("plain") << u << u << body() << body() << body();
        QTest::newRow("heading") << QStringLiteral("# The base") << QStringLiteral("The base")
                                 << heading << heading << heading;
        QTest::newRow("note") << QStringLiteral("> Serve hot") << QStringLiteral("Serve hot")
                              << note << note << note;
        QTest::newRow("tip") << QStringLiteral("~ Tip: rest it") << QStringLiteral("Tip: rest it")
                             << tip << tip << tip;
        QTest::newRow("bold run, then plain")
            << QStringLiteral("*just* mixed") << QStringLiteral("just mixed")
            << with(body(), rich::Bold) << body() << body();
        QTest::newRow("italic run at the end")
            << QStringLiteral("with _korma_") << QStringLiteral("with korma") << body()
            << with(body(), rich::Italic) << body();
        QTest::newRow("italic inside bold")
            << QStringLiteral("*a _b_*") << QStringLiteral("a b") << with(body(), rich::Bold)
            << with(body(), rich::Bold | rich::Italic) << body();
        QTest::newRow("a bold marker in a bold heading turns bold off")
            << QStringLiteral("# Hot *and* mild") << QStringLiteral("Hot and mild") << heading
            << heading << heading;
        QTest::newRow("prefix needs its blank")
            << QStringLiteral("#1 choice") << QStringLiteral("#1 choice") << body() << body()
            << body();
    }

    void lines()
    {
        QFETCH(QString, markup);
        QFETCH(QString, plain);
        QFETCH(CharFormat, first);
        QFETCH(CharFormat, last);
        QFETCH(CharFormat, end);
        const demo::MarkedText text = demo::parseMarkup(markup);
        QCOMPARE(text.plainLines, QStringList{plain});
        QCOMPARE(text.document.lineCount(), 1);
        const rich::RichLine& line = text.document.lines().first();
        QCOMPARE(line.text, plain);
        QCOMPARE(line.formats.size(), plain.size());
        QCOMPARE(text.document.format(line.formats.first()), first);
        QCOMPARE(text.document.format(line.formats.last()), last);
        QCOMPARE(text.document.format(line.endFormat), end);
    }

    void emptyTextHasNoLines()
    {
        const demo::MarkedText text = demo::parseMarkup(QString());
        QVERIFY(text.plainLines.isEmpty());
        QVERIFY(text.document.isEmpty());
        QVERIFY(demo::plainLines(QString()).isEmpty());
    }

    // Every demo text survives our RTF writer and reader with its lines and formats, so
    // the side files hold what the record's plain lines say.
    void demoTextsRoundTripThroughRtf()
    {
        int texts = 0;
        for (const demo::DemoRecipe& recipe : demo::demoRecipes()) {
            for (const char* source : {recipe.comments, recipe.ingredients, recipe.instructions}) {
                if (!*source || !recipe.richText)
                    continue;
                const demo::MarkedText text = demo::parseMarkup(QString::fromUtf8(source));
                rich::RichDocument read;
                QVERIFY(rich::readRtf(rich::writeRtf(text.document), read));
                QCOMPARE(read.plainLines(), text.plainLines);
                for (int i = 0; i < read.lineCount(); ++i) {
                    const rich::RichLine& a = text.document.lines().at(i);
                    const rich::RichLine& b = read.lines().at(i);
                    for (int c = 0; c < a.text.size(); ++c) {
                        const CharFormat& fa = text.document.format(a.formats.at(c));
                        const CharFormat& fb = read.format(b.formats.at(c));
                        QCOMPARE(fb.fontName, fa.fontName);
                        QCOMPARE(fb.halfPoints, fa.halfPoints);
                        QCOMPARE(fb.style, fa.style);
                    }
                }
                // Recipe lines are Windows-1252: every character must have a byte.
                for (const QString& line : text.plainLines) {
                    for (QChar ch : line)
                        QVERIFY2(cp1252::canEncode(ch), qPrintable(line));
                }
                ++texts;
            }
        }
        QVERIFY(texts >= 10);
    }
};

QTEST_GUILESS_MAIN(TestDemoMarkup)
#include "tst_demomarkup.moc"
