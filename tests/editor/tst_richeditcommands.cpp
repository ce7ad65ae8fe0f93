#include "editor/richeditcommands.h"
#include "platform/richtext/textdocumentbridge.h"

#include <QTest>
#include <QTextDocument>

namespace {

// A document of plain lines, each line in its own size (10 pt, 11 pt, ...), so that the
// format of an inserted line tells which line it came from.
rich::RichDocument numberedSizes(const QStringList& lines)
{
    rich::RichDocument doc;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        rich::CharFormat format = doc.defaultFormat();
        format.setPointSize(10 + double(i));
        doc.appendLine(lines.at(i), doc.intern(format));
    }
    return doc;
}

} // namespace

class RichEditCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void mirroredLine_data();
    void mirroredLine();
};

void RichEditCommandsTest::mirroredLine_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("expected");
    // The point size the new line takes (that of the line split from).
    QTest::addColumn<double>("newLineSize");
    const QString a = QStringLiteral("a"), b = QStringLiteral("bb"), c = QStringLiteral("ccc");
    const QString e;
    QTest::newRow("first row") << QStringList{a, b, c} << 0 << QStringList{e, a, b, c} << 10.0;
    QTest::newRow("middle row") << QStringList{a, b, c} << 1 << QStringList{a, e, b, c} << 11.0;
    QTest::newRow("last row") << QStringList{a, b, c} << 2 << QStringList{a, b, e, c} << 12.0;
    QTest::newRow("just past the end")
        << QStringList{a, b, c} << 3 << QStringList{a, b, c, e} << 12.0;
    QTest::newRow("far past the end") << QStringList{a, b} << 7 << QStringList{a, b, e} << 11.0;
    QTest::newRow("before an empty line")
        << QStringList{a, e, c} << 1 << QStringList{a, e, e, c} << 11.0;
    QTest::newRow("empty text") << QStringList{} << 1 << QStringList{e, e} << 10.0;
}

void RichEditCommandsTest::mirroredLine()
{
    QFETCH(QStringList, lines);
    QFETCH(int, row);
    QFETCH(QStringList, expected);
    QFETCH(double, newLineSize);
    QTextDocument qdoc;
    rich::toTextDocument(numberedSizes(lines), &qdoc);

    insertMirroredLine(&qdoc, row);
    const rich::RichDocument doc = rich::fromTextDocument(&qdoc);
    QCOMPARE(doc.plainLines(), expected);
    // The lines that were there keep their formats; the new one is alike its neighbour.
    const int inserted = qMin(row, int(lines.size()));
    for (int i = 0; i < doc.lineCount(); ++i) {
        const rich::RichLine& line = doc.lines().at(i);
        const double size = i == inserted ? newLineSize : 10 + (i < inserted ? i : i - 1);
        if (!lines.isEmpty() || i == inserted)
            QCOMPARE(doc.format(line.endFormat).pointSize(), size);
        for (quint16 id : line.formats)
            QCOMPARE(doc.format(id).pointSize(), size);
    }
}

QTEST_MAIN(RichEditCommandsTest)
#include "tst_richeditcommands.moc"
