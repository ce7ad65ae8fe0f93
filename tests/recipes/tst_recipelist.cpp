#include "recipes/recipelist.h"

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
