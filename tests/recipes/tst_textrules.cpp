// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/textrules.h"

#include <QTest>

class TestTextRules : public QObject {
    Q_OBJECT
private slots:
    void commaLists_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("normal");
        QTest::addColumn<QByteArray>("strict");
        QTest::addColumn<QByteArray>("old");
        QTest::newRow("empty") << QByteArray() << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("one name") << QByteArray("Soups") << QByteArray("Soups,")
                                  << QByteArray("Soups,") << QByteArray("Soups");
        QTest::newRow("blanks and doubled commas")
            << QByteArray("  Soups , Starters,,Cakes") << QByteArray("Soups,Starters,Cakes,")
            << QByteArray("Soups,Starters,Cakes,") << QByteArray("Soups,Starters,Cakes");
        QTest::newRow("runs of blanks around a comma") << QByteArray("a ,  b") << QByteArray("a,b,")
                                                       << QByteArray("a,b,") << QByteArray("a,b");
        QTest::newRow("two commas")
            << QByteArray(",,") << QByteArray(",") << QByteArray(",") << QByteArray(",");
        QTest::newRow("comma between blanks")
            << QByteArray(" , ") << QByteArray(",") << QByteArray(",") << QByteArray(",");
        QTest::newRow("blanks only")
            << QByteArray("   ") << QByteArray(",") << QByteArray(",") << QByteArray();
        QTest::newRow("leading comma") << QByteArray(",Soups") << QByteArray(",Soups,")
                                       << QByteArray("Soups,") << QByteArray(",Soups");
        QTest::newRow("leading commas") << QByteArray(",,Fish") << QByteArray(",Fish,")
                                        << QByteArray("Fish,") << QByteArray(",Fish");
        QTest::newRow("tabs are blanks")
            << QByteArray("\tFish\t,\tMeat") << QByteArray("Fish,Meat,") << QByteArray("Fish,Meat,")
            << QByteArray("Fish,Meat");
        QTest::newRow("comma tab comma") << QByteArray("a,\t,b") << QByteArray("a,b,")
                                         << QByteArray("a,b,") << QByteArray("a,,b");
        QTest::newRow("inner blanks stay")
            << QByteArray("Main dishes ,Quick  meals") << QByteArray("Main dishes,Quick  meals,")
            << QByteArray("Main dishes,Quick  meals,") << QByteArray("Main dishes,Quick  meals");
        QTest::newRow("leading blank, tidy otherwise")
            << QByteArray(" Soups,") << QByteArray("Soups,") << QByteArray("Soups,")
            << QByteArray("Soups,");
        QTest::newRow("old: trailing comma kept")
            << QByteArray(" Soups , Starters,") << QByteArray("Soups,Starters,")
            << QByteArray("Soups,Starters,") << QByteArray("Soups,Starters,");
    }
    void commaLists()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, normal);
        QFETCH(QByteArray, strict);
        QFETCH(QByteArray, old);
        QCOMPARE(NormaliseCommaList(text), normal);
        QCOMPARE(NormaliseCommaListStrict(text), strict);
        QCOMPARE(NormaliseOldCategories(text), old);
        // Normalising twice changes nothing.
        QCOMPARE(NormaliseCommaList(normal), normal);
        QCOMPARE(NormaliseCommaListStrict(strict), strict);
    }

    void longRunsStayFast()
    {
        // A damaged line of a million blanks and commas must not take quadratic time.
        const QByteArray junk = QByteArray(500000, ',') + QByteArray(500000, ' ') + "x";
        QCOMPARE(NormaliseCommaList(junk), QByteArray(",x,"));
    }

    void collectCategories()
    {
        TKV kv(4);
        kv[0].Categories = "Soups,Fish,";
        kv[1].Categories = "Fish,Cakes,";
        kv[2].Categories = " , ,";
        kv[3].Categories = ",soup, Soup ,";
        QCOMPARE(CollectCategories(kv, -1),
                 (QByteArrayList{"Cakes", "Fish", "Soup", "Soups", "soup"}));
        QCOMPARE(kv[2].Categories, QByteArray(","));
        QCOMPARE(kv[3].Categories, QByteArray("soup,Soup,"));
        QCOMPARE(CollectCategories(kv, 1), (QByteArrayList{"Cakes", "Fish"}));
        QVERIFY(CollectCategories(kv, 2).isEmpty());
        QVERIFY(CollectCategories(kv, 9).isEmpty());
        TKV empty;
        QVERIFY(CollectCategories(empty, -1).isEmpty());
    }

    void collectDevicesAndSources()
    {
        TKV kv(2);
        kv[0].Devices = ",Oven , Hob";
        kv[1].Devices = "Hob,Blender,";
        kv[0].Binder = "Red";
        kv[0].Book = "Baking";
        kv[1].Magazine = "Red";
        kv[1].Book = "Apples";
        QCOMPARE(CollectDevices(kv, -1), (QByteArrayList{"Blender", "Hob", "Oven"}));
        QCOMPARE(kv[0].Devices, QByteArray(",Oven,Hob,"));
        QCOMPARE(CollectSources(kv, -1), (QByteArrayList{"Apples", "Baking", "Red"}));
        QCOMPARE(CollectSources(kv, 1), (QByteArrayList{"Apples", "Red"}));
    }

    void splitting_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QByteArrayList>("names");
        QTest::newRow("normalised") << QByteArray("a,b,") << QByteArrayList{"a", "b"};
        QTest::newRow("rest after the last comma is dropped")
            << QByteArray("a,b") << QByteArrayList{"a"};
        QTest::newRow("empty names dropped") << QByteArray(",,a,,") << QByteArrayList{"a"};
        QTest::newRow("no comma") << QByteArray("abc") << QByteArrayList{};
    }
    void splitting()
    {
        QFETCH(QByteArray, list);
        QFETCH(QByteArrayList, names);
        QCOMPARE(SplitCommaList(list), names);
    }

    void folding_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("folded");
        QTest::newRow("sharp s") << QByteArray("So\xdf"
                                               "e")
                                 << QByteArray("Sosse");
        QTest::newRow("umlauts stay")
            << QByteArray("K\xe4se \xd6l \xfc") << QByteArray("K\xe4se \xd6l \xfc");
        QTest::newRow("french") << QByteArray("cr\xe8me br\xfbl\xe9"
                                              "e fra\xee"
                                              "che")
                                << QByteArray("creme brulee fraiche");
        QTest::newRow("capitals") << QByteArray("\xc0\xc1\xc2\xc8\xc9\xce\xd4\xdb")
                                  << QByteArray("AAAEEIOU");
        QTest::newRow("not in the set") << QByteArray("\xea\xe7\xf1") << QByteArray("\xea\xe7\xf1");
    }
    void folding()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, folded);
        QCOMPARE(FoldAccents(text), folded);
    }

    void searchWords_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArrayList>("words");
        QTest::addColumn<int>("marker");
        QTest::newRow("sauce") << QByteArray("  tomato   sauce ")
                               << QByteArrayList{"TOMATO", "SAUCE", "SOSSE",
                                                 "SO\xdf"
                                                 "E"}
                               << 2;
        QTest::newRow("folded before upper-casing") << QByteArray("cr\xe8me br\xfbl\xe9"
                                                                  "e")
                                                    << QByteArrayList{"CREME", "BRULEE"} << 0;
        QTest::newRow("typed sharp s is folded first") << QByteArray("So\xdf"
                                                                     "e")
                                                       << QByteArrayList{"SOSSE", "SAUCE",
                                                                         "SO\xdf"
                                                                         "E"}
                                                       << 2;
        QTest::newRow("two sauce words count once") << QByteArray("Sauce sosse")
                                                    << QByteArrayList{"SAUCE",
                                                                      "SOSSE",
                                                                      "SOSSE",
                                                                      "SO\xdf"
                                                                      "E",
                                                                      "SAUCE",
                                                                      "SO\xdf"
                                                                      "E"}
                                                    << 2;
        QTest::newRow("tabs belong to words")
            << QByteArray("a\tb c") << QByteArrayList{"A\tB", "C"} << 0;
        QTest::newRow("blanks only") << QByteArray("   ") << QByteArrayList{} << 0;
        QTest::newRow("empty") << QByteArray() << QByteArrayList{} << 0;
        QTest::newRow("saucepan is no synonym")
            << QByteArray("saucepan") << QByteArrayList{"SAUCEPAN"} << 0;
    }
    void searchWords()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArrayList, words);
        QFETCH(int, marker);
        const SearchWords split = SplitSearchWords(text, true, true, true);
        QCOMPARE(split.words, words);
        QCOMPARE(split.synonymMarker, marker);
    }

    void searchWordSwitches()
    {
        const SearchWords plain = SplitSearchWords("Cr\xe8me sauce", false, false, false);
        QCOMPARE(plain.words, (QByteArrayList{"Cr\xe8me", "sauce"}));
        QCOMPARE(plain.synonymMarker, 0);
        const SearchWords upper = SplitSearchWords("Cr\xe8me", false, false, true);
        QCOMPARE(upper.words, (QByteArrayList{"CR\xc8ME"}));
    }

    void helpers_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::newRow("windows") << QStringLiteral("C:\\Pics\\cake.png")
                                 << QStringLiteral("cake.png") << QStringLiteral("C:\\Pics\\");
        QTest::newRow("unix") << QStringLiteral("/home/a/cake.png") << QStringLiteral("cake.png")
                              << QStringLiteral("/home/a/");
        QTest::newRow("mixed") << QStringLiteral("C:\\x/y\\z") << QStringLiteral("z")
                               << QStringLiteral("C:\\x/y\\");
        QTest::newRow("bare name")
            << QStringLiteral("cake.png") << QStringLiteral("cake.png") << QString();
        QTest::newRow("folder only") << QStringLiteral("/a/") << QString() << QStringLiteral("/a/");
    }
    void helpers()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QCOMPARE(FileNamePart(path), name);
        QCOMPARE(FolderPart(path), folder);
    }

    void formatFixed()
    {
        QCOMPARE(FormatFixed(21, 2, 2), QStringLiteral("21.00"));
        QCOMPARE(FormatFixed(2.5, 2, 2), QStringLiteral("2.50"));
        QCOMPARE(FormatFixed(29.7, 2, 2), QStringLiteral("29.70"));
        QCOMPARE(FormatFixed(0.125, 8, 1), QStringLiteral("0.1"));
    }

    void trimLeadingBlanks()
    {
        QCOMPARE(TrimLeadingBlanks("   a b "), QByteArray("a b "));
        QCOMPARE(TrimLeadingBlanks("\ta"), QByteArray("\ta"));
        QCOMPARE(TrimLeadingBlanks("   "), QByteArray());
    }
};

QTEST_APPLESS_MAIN(TestTextRules)
#include "tst_textrules.moc"
