// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/daycount.h"
#include "recipes/recipe.h"

#include <QTest>

class TestRecipe : public QObject {
    Q_OBJECT
private slots:
    void recipeTypes_data()
    {
        QTest::addColumn<QByteArrayList>("instructions");
        QTest::addColumn<QByteArrayList>("units");
        QTest::addColumn<QByteArray>("binder");
        QTest::addColumn<QByteArray>("magazine");
        QTest::addColumn<QByteArray>("book");
        QTest::addColumn<QList<int>>("types");
        const QByteArrayList none;
        const QByteArrayList one{"Stir."};
        QTest::newRow("instructions and binder")
            << one << none << QByteArray("Red binder") << QByteArray() << QByteArray()
            << QList<int>{0, 2, -1};
        QTest::newRow("book only") << none << none << QByteArray() << QByteArray()
                                   << QByteArray("Baking") << QList<int>{4, -1, -1};
        QTest::newRow("nothing at all") << none << none << QByteArray() << QByteArray()
                                        << QByteArray() << QList<int>{0, -1, -1};
        QTest::newRow("deluxe, magazine, book")
            << none << one << QByteArray() << QByteArray("Cook monthly") << QByteArray("B")
            << QList<int>{1, 3, 4};
        QTest::newRow("all five") << one << one << QByteArray("a") << QByteArray("b")
                                  << QByteArray("c") << QList<int>{0, 1, 2};
    }
    void recipeTypes()
    {
        QFETCH(QByteArrayList, instructions);
        QFETCH(QByteArrayList, units);
        QFETCH(QByteArray, binder);
        QFETCH(QByteArray, magazine);
        QFETCH(QByteArray, book);
        QFETCH(QList<int>, types);
        TKV kv(1);
        kv[0].Instructions = LineList::fromList(instructions);
        kv[0].Units = LineList::fromList(units);
        kv[0].Binder = binder;
        kv[0].Magazine = magazine;
        kv[0].Book = book;
        QCOMPARE((QList<int>{RecipeType(kv, 0), SecondRecipeType(kv, 0), ThirdRecipeType(kv, 0)}),
                 types);
    }

    void lineListsKeepEveryLine()
    {
        // Empty lines, bytes above 127 and a line appended past an exact reservation
        // must all stay where they are: the lines share one buffer.
        const QByteArrayList lines{"", "first", "", "K\xe4se \xdf", ""};
        LineList assigned{"old"};
        qsizetype next = 0;
        assigned.assign(lines.size(), lines.join().size(), [&] { return lines[next++]; });
        QCOMPARE(assigned.size(), 5);
        QCOMPARE(assigned.toList(), lines);
        QCOMPARE(assigned, LineList::fromList(lines));
        assigned.append(assigned.at(1)); // a line of its own, while the list grows
        QCOMPARE(assigned.last(), QByteArrayView("first"));
        QCOMPARE(assigned.at(3), QByteArrayView("K\xe4se \xdf"));
        QVERIFY(!(assigned == LineList::fromList(lines)));
        // The same text split differently is a different list.
        QVERIFY(!(LineList{"ab", "c"} == LineList{"a", "bc"}));
        QByteArrayList iterated;
        for (QByteArrayView line : LineList{"x", "", "y"})
            iterated << line.toByteArray();
        QCOMPARE(iterated, (QByteArrayList{"x", "", "y"}));
        assigned.clear();
        QVERIFY(assigned.isEmpty());
    }

    void invalidIndexesHaveNoType()
    {
        TKV kv(2);
        for (int index : {-1, 2, 100}) {
            QCOMPARE(RecipeType(kv, index), -1);
            QCOMPARE(SecondRecipeType(kv, index), -1);
            QCOMPARE(ThirdRecipeType(kv, index), -1);
        }
    }

    void newRecipeIsResetAndCurrent()
    {
        Catalogue catalogue;
        catalogue.recipes.resize(2);
        catalogue.recipes[1].Name = "Old";
        const double before = currentDayCount();
        QCOMPARE(catalogue.newRecipe(), 2);
        QCOMPARE(catalogue.CurrentRecipe, 2);
        const TKVG& r = catalogue.recipes[2];
        QCOMPARE(r.Kind, 0);
        QCOMPARE(r.Difficulty, -1);
        QCOMPARE(r.ListIndex, -1);
        QVERIFY(r.Name.isEmpty() && r.Ingredients.isEmpty() && r.CommentsRtf.isEmpty());
        QVERIFY(r.LastCooked >= before && r.LastCooked - before < 1.0 / 24);
        QCOMPARE(r.Reserve.size(), 100);
        QVERIFY(r.Reserve.at(99).isEmpty());
        QCOMPARE(catalogue.recipes[1].Name, QByteArray("Old"));

        catalogue.reset();
        QVERIFY(catalogue.recipes.isEmpty());
        QCOMPARE(catalogue.CurrentRecipe, -1);
    }

    void resetClearsEverything()
    {
        TKV kv(1);
        TKVG& r = kv[0];
        r.Kind = 1;
        r.Name = "Soup";
        r.Units = {"g"};
        r.CookedDates = {1.0};
        r.PictureFile = QStringLiteral("/x.png");
        r.ListIndex = 4;
        ResetRecipe(kv, 0);
        ResetRecipe(kv, 5); // ignored
        QCOMPARE(r.Kind, 0);
        QVERIFY(r.Name.isEmpty() && r.Units.isEmpty() && r.CookedDates.isEmpty());
        QVERIFY(r.PictureFile.isEmpty());
        QCOMPARE(r.ListIndex, -1);
    }

    void rowsMapBackThroughListIndex()
    {
        TKV kv(3);
        kv[0].ListIndex = -2;
        kv[1].ListIndex = 2;
        kv[2].ListIndex = 1;
        QCOMPARE(IndexOfListRow(kv, 1), 2);
        QCOMPARE(IndexOfListRow(kv, 2), 1);
        QCOMPARE(IndexOfListRow(kv, 3), -1);
    }

    void sortIsByBytesAndStable()
    {
        // Names alike in their first eight bytes are told apart by the rest.
        const QByteArrayList names{"apple",         "Zucchini pie", "\xc4pfel", "Apple",
                                   "Zucchini bake", "apple",        "Zucchini"};
        TKV kv(names.size());
        for (int i = 0; i < kv.size(); ++i) {
            kv[i].Name = names[i];
            kv[i].ListIndex = i;
        }
        SortByName(kv);
        QByteArrayList sorted;
        QList<int> origins;
        for (const TKVG& r : kv) {
            sorted << r.Name;
            origins << r.ListIndex;
        }
        QCOMPARE(sorted, (QByteArrayList{"Apple", "Zucchini", "Zucchini bake", "Zucchini pie",
                                         "apple", "apple", "\xc4pfel"}));
        QCOMPARE(origins, (QList<int>{3, 6, 4, 1, 0, 5, 2}));
    }
};

QTEST_APPLESS_MAIN(TestRecipe)
#include "tst_recipe.moc"
