// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/cp1252.h"

#include <QTest>

class TestCp1252 : public QObject {
    Q_OBJECT
private slots:
    void everyByteSurvivesARoundTrip()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = cp1252::toUnicode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(cp1252::fromUnicode(text), all);
    }

    void decodes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("euro") << QByteArray("\x80") << QStringLiteral("\u20ac");
        QTest::newRow("quotes") << QByteArray("\x93x\x94") << QStringLiteral("\u201cx\u201d");
        QTest::newRow("latin-1 range") << QByteArray("K\xe4se") << QStringLiteral("K\u00e4se");
        QTest::newRow("undefined byte") << QByteArray("\x81") << QStringLiteral("\u0081");
    }
    void decodes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(cp1252::toUnicode(bytes), text);
    }

    void unencodableCharactersBecomeQuestionMarks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("cyrillic") << QStringLiteral("\u0431\u043e\u0440\u0449")
                                  << QByteArray("????");
        QTest::newRow("emoji is one character")
            << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
        QTest::newRow("mixed") << QStringLiteral("Cr\u00e8me \u2013 \u03c0")
                               << QByteArray("Cr\xe8me \x96 ?");
    }
    void unencodableCharactersBecomeQuestionMarks()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(cp1252::fromUnicode(text), bytes);
    }

    void casing_data()
    {
        QTest::addColumn<QByteArray>("lower");
        QTest::addColumn<QByteArray>("upper");
        QTest::newRow("ascii") << QByteArray("tomato 12") << QByteArray("TOMATO 12");
        QTest::newRow("umlauts") << QByteArray("k\xe4se \xf6l \xfc")
                                 << QByteArray("K\xc4SE \xd6L \xdc");
        QTest::newRow("accents") << QByteArray("cr\xe8me br\xfbl\xe9")
                                 << QByteArray("CR\xc8ME BR\xdbL\xc9");
        QTest::newRow("y diaeresis to 0x9F") << QByteArray("\xff") << QByteArray("\x9f");
        QTest::newRow("oe ligature and caron")
            << QByteArray("\x9c\x9a\x9e") << QByteArray("\x8c\x8a\x8e");
    }
    void casing()
    {
        QFETCH(QByteArray, lower);
        QFETCH(QByteArray, upper);
        QCOMPARE(cp1252::toUpper(lower), upper);
        QCOMPARE(cp1252::toLower(upper), lower);
    }

    void charactersWithoutASingleCapitalStay()
    {
        // "ß" has no single capital and the micro sign's capital is Greek.
        QCOMPARE(cp1252::toUpper(QByteArray("so\xdf"
                                            "e \xb5")),
                 QByteArray("SO\xdf"
                            "E \xb5"));
        QCOMPARE(cp1252::toLower(QByteArray("\xdf")), QByteArray("\xdf"));
    }
};

QTEST_APPLESS_MAIN(TestCp1252)
#include "tst_cp1252.moc"
