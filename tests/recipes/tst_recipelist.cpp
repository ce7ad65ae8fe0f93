// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/recipelist.h"
#include "recipes/recipesummary.h"

#include <QTest>

namespace {

TKVG recipe(const QByteArray& name, const QByteArray& categories = {}, int difficulty = 1)
{
    TKVG r;
    r.Name = name;
    r.Categories = categories;
    r.Difficulty = difficulty;
    r.LastCooked = 45000;
    return r;
}

QByteArrayList listedNames(TKV& kv, const ListFilter& filter)
{
    SearchIndex index;
    index.rebuild(kv);
    QByteArrayList names;
    const QList<int> rows = FilterRecipeRows(kv, index, filter);
    for (int row = 0; row < rows.size(); ++row) {
        const TKVG& r = kv[rows[row]];
        if (r.ListIndex != row + 1)
            return {"wrong ListIndex"};
        names << r.Name;
    }
    return names;
}

} // namespace

class TestRecipeList : public QObject {
    Q_OBJECT
private slots:
    void categoryRule_data()
    {
        QTest::addColumn<QByteArray>("category");
        QTest::addColumn<QByteArrayList>("listed");
        QTest::newRow("Fish") << QByteArray("Fish")
                              << QByteArrayList{"Fishcakes soup", "Starter fish"};
        // Case-sensitive, and a plain substring test: "Catfish," holds "fish,".
        QTest::newRow("lower case") << QByteArray("fish") << QByteArrayList{"Catfish"};
        QTest::newRow("Soups") << QByteArray("Soups") << QByteArrayList{"Fishcakes soup"};
    }
    void categoryRule()
    {
        QFETCH(QByteArray, category);
        QFETCH(QByteArrayList, listed);
        TKV kv{recipe("Starter fish", "Starters,Fish,"), recipe("Catfish", "Catfish,"),
               recipe("Fishcakes soup", "Soups,Fishcakes,")};
        ListFilter filter;
        filter.categoryEntry = 4;
        filter.categoryName = category;
        QCOMPARE(listedNames(kv, filter), listed);
        for (const TKVG& r : kv)
            QVERIFY(r.ListIndex > 0 || r.ListIndex == -2);
    }

    void typeEntries()
    {
        TKV kv(4);
        kv[0].Name = "a normal";
        kv[0].Instructions = {"Stir."};
        kv[1].Name = "b deluxe";
        kv[1].Units = {"g"};
        kv[2].Name = "c binder";
        kv[2].Binder = "Red";
        kv[3].Name = "d book";
        kv[3].Book = "Baking";
        ListFilter filter;
        QCOMPARE(listedNames(kv, filter).size(), 4);
        filter.categoryEntry = NormalRecipes;
        QCOMPARE(listedNames(kv, filter), QByteArrayList{"a normal"});
        filter.categoryEntry = DeluxeRecipes;
        QCOMPARE(listedNames(kv, filter), QByteArrayList{"b deluxe"});
        filter.categoryEntry = PrintedRecipes;
        QCOMPARE(listedNames(kv, filter), (QByteArrayList{"c binder", "d book"}));
        filter.categoryEntry = AllTypes;
        filter.sourceEntry = 1;
        filter.sourceName = "Baking";
        QCOMPARE(listedNames(kv, filter), QByteArrayList{"d book"});
    }

    void search_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArrayList>("listed");
        QTest::newRow("both words") << QByteArray("tomato onion") << QByteArrayList{"Soup"};
        QTest::newRow("case-insensitive") << QByteArray("ONION") << QByteArrayList{"Soup", "Tart"};
        QTest::newRow("sauce spellings")
            << QByteArray("sauce") << QByteArrayList{"Pasta", "Roast", "Soup"};
        QTest::newRow("folded") << QByteArray("creme") << QByteArrayList{"Tart"};
        QTest::newRow("accent typed") << QByteArray("cr\xe8me") << QByteArrayList{"Tart"};
        QTest::newRow("binder name") << QByteArray("green") << QByteArrayList{"Roast"};
        QTest::newRow("book is not searched") << QByteArray("Baking") << QByteArrayList{};
        QTest::newRow("difficulty stars") << QByteArray("****") << QByteArrayList{"Tart"};
        QTest::newRow("blanks only")
            << QByteArray("   ") << QByteArrayList{"Pasta", "Roast", "Soup", "Tart"};
        QTest::newRow("no match") << QByteArray("chocolate") << QByteArrayList{};
    }
    void search()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArrayList, listed);
        TKV kv(4);
        kv[0].Name = "Tart";
        kv[0].Ingredients = {"Cr\xe8me fra\xee"
                             "che",
                             "1 onion"};
        kv[0].Difficulty = 4;
        kv[0].Book = "Baking";
        kv[1].Name = "Soup";
        kv[1].Instructions = {"Chop the tomato and the onion.", "Add the So\xdf"
                                                                "e."};
        kv[2].Name = "Pasta";
        kv[2].Ingredients = {"Tomato SAUCE"};
        kv[3].Name = "Roast";
        kv[3].Comments = {"with Sosse"};
        kv[3].Binder = "Green binder";
        ListFilter filter;
        filter.searchText = text;
        QCOMPARE(listedNames(kv, filter), listed);
    }

    void difficulty()
    {
        TKV kv{recipe("Two", {}, 2), recipe("Zero", {}, 0)};
        ListFilter filter;
        filter.difficultyEntry = 2;
        QCOMPARE(listedNames(kv, filter), QByteArrayList{"Two"});
        filter.difficultyEntry = 3;
        QCOMPARE(listedNames(kv, filter), QByteArrayList{});
        QCOMPARE(kv[1].ListIndex, -2);
        QCOMPARE(difficultyStars(kv[0]), QStringLiteral("**"));
        QCOMPARE(difficultyStars(kv[1]), QString());
    }

    void summary_data()
    {
        QTest::addColumn<QByteArrayList>("quantities");
        QTest::addColumn<QByteArrayList>("units");
        QTest::addColumn<QByteArrayList>("names");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("single row")
            << QByteArrayList{"2"} << QByteArrayList{"tbsp"} << QByteArrayList{"sugar"}
            << QStringList{QStringLiteral("2 tbsp sugar")};
        QTest::newRow("empty unit keeps two blanks")
            << QByteArrayList{"200"} << QByteArrayList{""} << QByteArrayList{"flour"}
            << QStringList{QStringLiteral("200  flour")};
        QTest::newRow("no quantity") << QByteArrayList{""} << QByteArrayList{"g"}
                                     << QByteArrayList{} << QStringList{QStringLiteral("g")};
        QTest::newRow("columns of different length")
            << QByteArrayList{"1"} << QByteArrayList{} << QByteArrayList{"egg", "salt"}
            << QStringList{QStringLiteral("1 egg"), QStringLiteral("salt")};
    }
    void summary()
    {
        QFETCH(QByteArrayList, quantities);
        QFETCH(QByteArrayList, units);
        QFETCH(QByteArrayList, names);
        QFETCH(QStringList, lines);
        TKVG r;
        r.Quantities = LineList::fromList(quantities);
        r.Units = LineList::fromList(units);
        r.IngredientNames = LineList::fromList(names);
        QCOMPARE(SummaryLines(r, DeluxeType), lines);
    }

    void summaryOfPrintedMatter()
    {
        TKVG r;
        r.Binder = "Red";
        r.Page = "14";
        QCOMPARE(SummaryLines(r, BinderType),
                 (QStringList{QStringLiteral("Ring binder: Red"), QStringLiteral("Page: 14")}));
        r.Book = "Baking";
        r.Page.clear();
        r.Remark = "Crusty";
        QCOMPARE(SummaryLines(r, BookType),
                 (QStringList{QStringLiteral("Book: Baking"), QStringLiteral("Crusty")}));
        r.Instructions = {"Stir.", "Bake."};
        QCOMPARE(SummaryLines(r, NormalType),
                 (QStringList{QStringLiteral("Stir."), QStringLiteral("Bake.")}));
    }

    void filterFromEntryTexts()
    {
        TKV kv{recipe("Soup", "Soups,"), recipe("Pie", "Cakes,")};
        kv[1].Magazine = "Bake it";
        ListFilter filter;
        QString error;
        QVERIFY(filterFromEntries(kv, QStringLiteral("Soups"), 0, QString(), &filter, &error));
        QCOMPARE(filter.categoryEntry, 5); // after the four fixed entries and "Cakes"
        QCOMPARE(filter.categoryName, QByteArray("Soups"));
        QVERIFY(filterFromEntries(kv, QStringLiteral("printed recipes"), 2,
                                  QStringLiteral("Bake it"), &filter, &error));
        QCOMPARE(filter.categoryEntry, int(PrintedRecipes));
        QCOMPARE(filter.difficultyEntry, 2);
        QCOMPARE(filter.sourceEntry, 1);
        QVERIFY(!filterFromEntries(kv, QStringLiteral("soups"), 0, QString(), &filter, &error));
        QVERIFY(error.contains(QLatin1String("soups")));
        QVERIFY(!filterFromEntries(kv, QString(), 6, QString(), &filter, &error));
        QVERIFY(!filterFromEntries(kv, QString(), 0, QStringLiteral("Nope"), &filter, &error));
    }

    void equalNamesKeepTheirOrder()
    {
        TKV kv{recipe("b"), recipe("a"), recipe("a"), recipe("A")};
        kv[1].Remark = "first";
        kv[2].Remark = "second";
        listedNames(kv, ListFilter());
        QCOMPARE(kv[0].Name, QByteArray("A"));
        QCOMPARE(kv[1].Remark, QByteArray("first"));
        QCOMPARE(kv[2].Remark, QByteArray("second"));
        QCOMPARE(kv[3].ListIndex, 4);
    }
};

QTEST_APPLESS_MAIN(TestRecipeList)
#include "tst_recipelist.moc"
