// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/textfile.h"

#include <QTest>

class TestTextFile : public QObject {
    Q_OBJECT
private slots:
    void linesEndAtCrLfLfOrCr()
    {
        LineReader in(QByteArray("one\r\ntwo\nthree\rfour\r\n\r\nsix"));
        QByteArrayList lines;
        while (!in.atEnd())
            lines << in.readLine();
        QCOMPARE(lines, (QByteArrayList{"one", "two", "three", "four", "", "six"}));
        QCOMPARE(in.readLine(), QByteArray());
        QVERIFY(in.ok());
    }

    // Every line end convention splits in linear time: a search for LF alone crossed a
    // whole file of bare CRs for every line, which took minutes for a few megabytes.
    void longFilesSplitInLinearTime_data()
    {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CR") << QByteArray("\r");
    }

    void longFilesSplitInLinearTime()
    {
        QFETCH(QByteArray, lineEnd);
        constexpr int kLines = 800'000;
        QByteArray data;
        for (int i = 0; i < kLines; ++i)
            data += "line " + QByteArray::number(i) + lineEnd;
        LineReader in(data);
        int count = 0;
        QByteArray last;
        while (!in.atEnd()) {
            last = in.readLine();
            ++count;
        }
        QCOMPARE(count, kLines);
        QCOMPARE(last, "line " + QByteArray::number(kLines - 1));
    }

    void integers_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("nextLine");
        QTest::newRow("plain") << QByteArray("42\r\nnext\r\n") << true << 42 << QByteArray("next");
        QTest::newRow("negative") << QByteArray("-3\r\nnext") << true << -3 << QByteArray("next");
        QTest::newRow("plus sign") << QByteArray("+7\nnext") << true << 7 << QByteArray("next");
        QTest::newRow("rest of line skipped")
            << QByteArray("12 portions\r\nnext") << true << 12 << QByteArray("next");
        QTest::newRow("blank lines skipped")
            << QByteArray("\r\n  \r\n 5\r\nnext") << true << 5 << QByteArray("next");
        QTest::newRow("end of data reads 0") << QByteArray("") << true << 0 << QByteArray();
        QTest::newRow("letters after digits")
            << QByteArray("12a\r\n") << false << 0 << QByteArray();
        QTest::newRow("word") << QByteArray("many\r\n") << false << 0 << QByteArray();
        QTest::newRow("beyond 32 bits")
            << QByteArray("99999999999\r\n") << false << 0 << QByteArray();
        QTest::newRow("lone sign") << QByteArray("-\r\n") << false << 0 << QByteArray();
        QTest::newRow("decimal") << QByteArray("1.5\r\n") << false << 0 << QByteArray();
    }
    void integers()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, valid);
        QFETCH(int, value);
        QFETCH(QByteArray, nextLine);
        LineReader in(data);
        QCOMPARE(in.readInteger(), value);
        QCOMPARE(in.ok(), valid);
        QCOMPARE(in.readLine(), nextLine);
    }

    void errorNamesTheLineOfTheToken()
    {
        LineReader in(QByteArray("text\r\n\r\n\r\nx1\r\n"));
        in.readLine();
        in.readInteger();
        QVERIFY(!in.ok());
        QCOMPARE(in.errorLine(), 4);
        QVERIFY(in.error().contains(QLatin1String("x1")));
        // After an error every read is empty.
        QCOMPARE(in.readLine(), QByteArray());
        QCOMPARE(in.readInteger(), 0);
    }

    void negativeCountIsAnError()
    {
        LineReader in(QByteArray("2\r\n-1\r\n"));
        QCOMPARE(in.readCount(), 2);
        QCOMPARE(in.readCount(), 0);
        QVERIFY(!in.ok());
        QCOMPARE(in.errorLine(), 2);
    }

    void doubles_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("written form") << QByteArray(" 1.50000000000000E+0000\r\n") << true << 1.5;
        QTest::newRow("large") << QByteArray(" 4.51234567890000E+0004") << true << 45123.456789;
        QTest::newRow("no exponent") << QByteArray("44000.25") << true << 44000.25;
        QTest::newRow("integer") << QByteArray("3") << true << 3.0;
        QTest::newRow("negative") << QByteArray("-2.5E-1") << true << -0.25;
        QTest::newRow("leading point") << QByteArray(".5") << true << 0.5;
        QTest::newRow("comma") << QByteArray("1,5") << false << 0.0;
        QTest::newRow("nan") << QByteArray("nan") << false << 0.0;
        QTest::newRow("inf") << QByteArray("inf") << false << 0.0;
        QTest::newRow("overflow") << QByteArray("1E+9999") << false << 0.0;
        QTest::newRow("bare exponent") << QByteArray("1E") << false << 0.0;
    }
    void doubles()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, valid);
        QFETCH(double, value);
        LineReader in(data);
        QCOMPARE(in.readDouble(), value);
        QCOMPARE(in.ok(), valid);
    }

    void dateTimeForm_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("noon 31 Dec 1899") << 1.5 << QByteArray(" 1.50000000000000E+0000");
        QTest::newRow("zero") << 0.0 << QByteArray(" 0.00000000000000E+0000");
        QTest::newRow("negative zero") << -0.0 << QByteArray(" 0.00000000000000E+0000");
        QTest::newRow("negative") << -1.25 << QByteArray("-1.25000000000000E+0000");
        QTest::newRow("a day in 2023") << 45000.75 << QByteArray(" 4.50007500000000E+0004");
        QTest::newRow("small") << 0.000125 << QByteArray(" 1.25000000000000E-0004");
        QTest::newRow("rounded to 15 digits")
            << 45000.123456789012345 << QByteArray(" 4.50001234567890E+0004");
    }
    void dateTimeForm()
    {
        QFETCH(double, value);
        QFETCH(QByteArray, text);
        const QByteArray written = formatDateTimeValue(value);
        QCOMPARE(written, text);
        QCOMPARE(written.size(), 23);
        LineReader in(written);
        QCOMPARE(in.readDouble(), qFuzzyIsNull(value) ? 0.0 : text.trimmed().toDouble());
    }

    void lineBreaksInsideAValueAreLeftOut()
    {
        // A deluxe column's mirrored new line is a lone CR: written as it is, it would
        // shift every later value of a recipe file.
        LineWriter out;
        out.writeText("\r");
        out.writeText("two\r\nlines\n");
        out.writeInteger(3);
        QCOMPARE(out.data(), QByteArray("\r\ntwolines\r\n3\r\n"));
        LineReader in(out.data());
        QCOMPARE(in.readLine(), QByteArray());
        QCOMPARE(in.readLine(), QByteArray("twolines"));
        QCOMPARE(in.readInteger(), 3);
    }

    void writerEndsEveryLineWithCrLf()
    {
        LineWriter out;
        out.writeText("a");
        out.writeInteger(-12);
        out.writeDateTime(1.5);
        out.writeEmptyLines(2);
        QCOMPARE(out.data(), QByteArray("a\r\n-12\r\n 1.50000000000000E+0000\r\n\r\n\r\n"));
    }
};

QTEST_APPLESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
