// SPDX-License-Identifier: GPL-2.0-or-later

#include "editor/richeditcommands.h"
#include "platform/richtext/textdocumentbridge.h"

#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

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
    void fontChangeIsUndoneInOneStep();
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

void RichEditCommandsTest::fontChangeIsUndoneInOneStep()
{
    // A font chosen from the dialog is an edit like typing: one undo takes it back whole,
    // in a single column and across the four deluxe columns.
    QTextEdit single;
    QTextEdit owned[4];
    const QList<QTextEdit*> columns{&owned[0], &owned[1], &owned[2], &owned[3]};
    QList<rich::RichDocument> before;
    for (QTextEdit* edit : QList<QTextEdit*>{&single} + columns) {
        rich::toTextDocument(numberedSizes({QStringLiteral("2 cups"), QStringLiteral("flour")}),
                             edit->document());
        edit->document()->clearUndoRedoStacks();
        before.append(rich::fromTextDocument(edit->document()));
    }
    QFont courier(QStringLiteral("Courier New"));
    courier.setPointSize(14);
    courier.setBold(true);
    applyFontToEdit(&single, courier);
    applyFontToColumns(columns, courier);

    qsizetype i = 0;
    for (QTextEdit* edit : QList<QTextEdit*>{&single} + columns) {
        const rich::RichDocument changed = rich::fromTextDocument(edit->document());
        QCOMPARE(changed.format(changed.lines().first().formats.first()).pointSize(), 14.0);
        edit->undo();
        const rich::RichDocument undone = rich::fromTextDocument(edit->document());
        QCOMPARE(undone.plainLines(), before.at(i).plainLines());
        for (int line = 0; line < undone.lineCount(); ++line) {
            for (quint16 id : undone.lines().at(line).formats)
                QCOMPARE(undone.format(id),
                         before.at(i).format(before.at(i).lines().at(line).formats.first()));
        }
        QVERIFY(!edit->document()->isUndoAvailable());
        ++i;
    }
}

QTEST_MAIN(RichEditCommandsTest)
#include "tst_richeditcommands.moc"
