// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/shoppinglist.h"

#include <QTest>

namespace {

// A normal recipe of free ingredient lines.
ShoppingRecipe normal(const QString& name, const QStringList& lines, double factor = 1)
{
    IngredientTexts texts;
    texts.lines = lines;
    return {name, shoppingItems(texts, factor)};
}

// A deluxe recipe of rows "quantity|unit|name".
ShoppingRecipe deluxe(const QString& name, const QStringList& rows)
{
    IngredientTexts texts;
    texts.deluxe = true;
    for (const QString& row : rows) {
        texts.quantities << row.section(u'|', 0, 0);
        texts.units << row.section(u'|', 1, 1);
        texts.names << row.section(u'|', 2, 2);
    }
    return {name, shoppingItems(texts, 1)};
}

// The merged lines as "text | recipe, recipe".
QStringList merged(const QList<ShoppingRecipe>& recipes)
{
    QStringList out;
    for (const ShoppingLine& line : mergeShoppingList(recipes))
        out << line.text() + QStringLiteral(" | ") + line.recipes.join(QStringLiteral(", "));
    return out;
}

} // namespace

Q_DECLARE_METATYPE(ShoppingRecipe)

class TestShoppingList : public QObject {
    Q_OBJECT
private slots:
    void ingredientKeys_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        auto row = [](const char* a, const char* b, bool same) {
            QTest::newRow(QByteArray(QByteArray(a) + " / " + b).constData())
                << QString::fromUtf8(a) << QString::fromUtf8(b) << same;
        };
        row("eggs", "egg", true);
        row("berries", "berry", true);
        row("tomatoes", "Tomato", true);
        row("peaches", "peach", true);
        row("boxes", "box", true);
        row("glasses", "glass", true);
        row("red onions", "red onion", true);
        row("chickens", "chicken", true);
        row("Tomaten", "Tomate", true);
        row("Zwiebeln", "Zwiebel", true);
        row("Nüsse", "Nuss", true);
        row("Soßen", "Soße", true);
        row("Eier", "Ei", true);
        row("Äpfel", "Apfel", true);
        row("Crème  fraîche", "creme fraiche", true);
        row("PLAIN FLOUR", "plain flour", true);
        row("  Plain \t\r flour ", "plain flour", true);
        row("hummus", "hummu", false);
        row("couscous", "couscou", false);
        row("egg", "eggplant", false);
        row("onions", "red onions", false);
        row("peas", "pears", false);
        row("cress", "cres", false);
        row("cooking gas", "cooking ga", false); // a word of three letters keeps its "s"
    }
    void ingredientKeys()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(ingredientKey(a) == ingredientKey(b), same);
    }

    void itemsOfLines()
    {
        IngredientTexts texts;
        texts.lines = {QStringLiteral("For the batter"),
                       QStringLiteral("200 g plain flour"),
                       QString(),
                       QStringLiteral("1 1/2 tsp salt"),
                       QStringLiteral("2 cups of milk"),
                       QStringLiteral("30 g butter, melted"),
                       QStringLiteral("1 clove of garlic"),
                       QStringLiteral("a pinch of sugar"),
                       QStringLiteral("SAUCE"),
                       QStringLiteral("Topping:"),
                       QStringLiteral("-----"),
                       QStringLiteral("Salz, Pfeffer"),
                       QStringLiteral("3 large eggs"),
                       QStringLiteral("2 Pck. Vanillezucker"),
                       QStringLiteral("500 g"),
                       QStringLiteral("Zum Servieren"),
                       QStringLiteral("To serve"),
                       QStringLiteral("3 potatoes, peeled"),
                       QStringLiteral("1 STÜCK Ingwer"),
                       QStringLiteral("1 CAN tomatoes")};
        QStringList got;
        for (const ShoppingItem& item : shoppingItems(texts, 2))
            got << item.quantityText + u'|' + item.unit + u'|' + item.name + u'|' +
                       (item.quantity ? QString::number(item.quantity->high) : QString());
        const QStringList expected = {
            QStringLiteral("400|g|plain flour|400"), QStringLiteral("3|tsp|salt|3"),
            QStringLiteral("4|cups|milk|4"),         QStringLiteral("60|g|butter|60"),
            QStringLiteral("2|clove|garlic|2"),      QStringLiteral("||a pinch of sugar|"),
            QStringLiteral("||Salz, Pfeffer|"),      QStringLiteral("6||large eggs|6"),
            QStringLiteral("4|Pck.|Vanillezucker|4"), QStringLiteral("1000||g|1000"),
            QStringLiteral("6||potatoes|6"),         QStringLiteral("2|STÜCK|Ingwer|2"),
            QStringLiteral("2|CAN|tomatoes|2")};
        QCOMPARE(got, expected);
    }

    void itemsOfColumns()
    {
        IngredientTexts texts;
        texts.deluxe = true;
        texts.quantities = {QString(), QStringLiteral("1 1/2"), QStringLiteral("2-3"),
                            QStringLiteral("a pinch"), QString(), QStringLiteral("2 large"),
                            QString(), QString()};
        texts.units = {QString(), QStringLiteral("lb"), QString(), QString(), QString(),
                       QString(), QStringLiteral("tbsp")};
        texts.names = {QStringLiteral("GLAZE"), QStringLiteral("Apples"), QStringLiteral("Eggs"),
                       QStringLiteral("salt"), QStringLiteral("Pepper"), QStringLiteral("onions"),
                       QString(), QString()};
        QStringList got;
        for (const ShoppingItem& item : shoppingItems(texts, 2))
            got << item.quantityText + u'|' + item.unit + u'|' + item.name + u'|' +
                       (item.quantity ? QString::number(item.quantity->low) : QString());
        const QStringList expected = {
            QStringLiteral("3|lb|Apples|3"), QStringLiteral("4-6||Eggs|4"),
            QStringLiteral("a pinch||salt|"), QStringLiteral("||Pepper|"),
            QStringLiteral("4 large||onions|"), QStringLiteral("|tbsp||")};
        QCOMPARE(got, expected);
    }

    void merging_data()
    {
        QTest::addColumn<QList<ShoppingRecipe>>("recipes");
        QTest::addColumn<QStringList>("lines");
        const QString a = QStringLiteral("A"), b = QStringLiteral("B"), c = QStringLiteral("C");
        auto l = [](std::initializer_list<const char*> texts) {
            QStringList out;
            for (const char* t : texts)
                out << QString::fromUtf8(t);
            return out;
        };
        QTest::newRow("same unit added, recipes named")
            << QList{normal(a, l({"200 g flour"})), normal(b, l({"300 g Flour"}))}
            << l({"500 g flour | A, B"});
        QTest::newRow("same unit stays even when large")
            << QList{normal(a, l({"800 g flour"})), normal(b, l({"700 g flour"}))}
            << l({"1500 g flour | A, B"});
        QTest::newRow("g and kg: kg when it writes well")
            << QList{normal(a, l({"500 g sugar"})), normal(b, l({"1 kg sugar"}))}
            << l({"1 1/2 kg sugar | A, B"});
        QTest::newRow("g and kg: g when kg would round")
            << QList{normal(a, l({"200 g sugar"})), normal(b, l({"1 kg sugar"}))}
            << l({"1200 g sugar | A, B"});
        QTest::newRow("ml and l")
            << QList{normal(a, l({"250 ml milk"})), normal(b, l({"1/4 l milk"}))}
            << l({"1/2 l milk | A, B"});
        QTest::newRow("tsp and tbsp")
            << QList{normal(a, l({"1 tbsp sugar"})), normal(b, l({"1 tsp sugar"}))}
            << l({"1 1/3 tbsp sugar | A, B"});
        QTest::newRow("tbsp and cup")
            << QList{normal(a, l({"1/2 cup oil"})), normal(b, l({"4 tbsp oil"}))}
            << l({"3/4 cup oil | A, B"});
        QTest::newRow("a cup made of spoons")
            << QList{normal(a, l({"15 tbsp sugar"})), normal(b, l({"3 tsp sugar"}))}
            << l({"1 cup sugar | A, B"});
        QTest::newRow("more than a cup made of spoons")
            << QList{normal(a, l({"18 tbsp sugar"})), normal(b, l({"6 tsp sugar"}))}
            << l({"1 1/4 cups sugar | A, B"});
        QTest::newRow("a quarter cup is a cup")
            << QList{normal(a, l({"1/8 cup oil"})), normal(b, l({"2 tbsp oil"}))}
            << l({"1/4 cup oil | A, B"});
        QTest::newRow("cup and tbsp that do not make a fraction")
            << QList{normal(a, l({"1 cup oil"})), normal(b, l({"1 tbsp oil"}))}
            << l({"17 tbsp oil | A, B"});
        QTest::newRow("oz and lb that do not make a fraction of a pound")
            << QList{normal(a, l({"1 lb cheese"})), normal(b, l({"3 oz cheese"}))}
            << l({"19 oz cheese | A, B"});
        QTest::newRow("dl and cl")
            << QList{normal(a, l({"1 dl cream"})), normal(b, l({"5 cl cream"}))}
            << l({"150 ml cream | A, B"});
        QTest::newRow("MealMaster ts and tb")
            << QList{deluxe(a, l({"1|ts|salt"})), deluxe(b, l({"1|tb|salt"}))}
            << l({"1 1/3 tb salt | A, B"});
        QTest::newRow("a line of its own as written")
            << QList{normal(a, l({"  2 eggs", "0.333 cup milk"}))}
            << l({"2 eggs | A", "0.333 cup milk | A"});
        QTest::newRow("oz and lb")
            << QList{normal(a, l({"8 oz cheese"})), normal(b, l({"1 lb cheese"}))}
            << l({"1 1/2 lb cheese | A, B"});
        QTest::newRow("German spoons with English")
            << QList{normal(a, l({"1 EL Zucker"})), normal(b, l({"1 TL Zucker"}))}
            << l({"1 1/3 EL Zucker | A, B"});
        QTest::newRow("MealMaster t and T")
            << QList{normal(a, l({"1 T oil"})), normal(b, l({"1 t oil"}))}
            << l({"1 1/3 T oil | A, B"});
        QTest::newRow("units that do not convert stay apart")
            << QList{normal(a, l({"200 g flour"})), normal(b, l({"1 cup flour"})),
                     normal(c, l({"2 oz flour"}))}
            << l({"200 g flour | A", "1 cup flour | B", "2 oz flour | C"});
        QTest::newRow("plural and singular, the plural for more than one")
            << QList{normal(a, l({"1 egg"})), normal(b, l({"2 eggs"}))}
            << l({"3 eggs | A, B"});
        QTest::newRow("the singular for one")
            << QList{normal(a, l({"1/2 Zwiebel"})), normal(b, l({"1/2 Zwiebeln"}))}
            << l({"1 Zwiebel | A, B"});
        QTest::newRow("count units compare folded")
            << QList{normal(a, l({"1 Dose Mais"})), normal(b, l({"2 Dosen Mais"}))}
            << l({"3 Dosen Mais | A, B"});
        QTest::newRow("ranges add both ends")
            << QList{normal(a, l({"2-3 eggs"})), normal(b, l({"1 egg"}))}
            << l({"3-4 eggs | A, B"});
        QTest::newRow("range word kept")
            << QList{normal(a, l({"1 egg"})), normal(b, l({"2 to 3 eggs"}))}
            << l({"3 to 4 eggs | A, B"});
        QTest::newRow("decimals as the first recipe wrote them")
            << QList{normal(a, l({"0,5 l Milch"})), normal(b, l({"0,25 l Milch"}))}
            << l({"0,75 l Milch | A, B"});
        QTest::newRow("no quantity merges with no quantity only")
            << QList{normal(a, l({"salt", "2 tsp salt"})), normal(b, l({"Salt"}))}
            << l({"salt | A, B", "2 tsp salt | A"});
        QTest::newRow("a free line without a number is a name")
            << QList{normal(a, l({"a pinch of salt"})), normal(b, l({"A pinch of salt"}))}
            << l({"a pinch of salt | A, B"});
        QTest::newRow("unreadable quantities keep their own lines")
            << QList{deluxe(a, l({"a pinch||salt", "1|tsp|salt"})),
                     deluxe(b, l({"a pinch||salt", "1|T|salt"}))}
            << l({"a pinch salt | A", "1 1/3 T salt | A, B", "a pinch salt | B"});
        QTest::newRow("millilitres that do not make a fraction of a litre")
            << QList{normal(a, l({"250 ml water"})), deluxe(b, l({"0.1|l|water"}))}
            << l({"350 ml water | A, B"});
        QTest::newRow("a recipe named once, order of first appearance")
            << QList{normal(a, l({"1 onion", "2 carrots", "1 onion"})),
                     normal(b, l({"1 carrot"}))}
            << l({"2 onion | A", "3 carrots | A, B"});
        QTest::newRow("scaled before merging")
            << QList{normal(a, l({"100 g butter"}), 3), normal(b, l({"1/2 cup sugar"}), 0.5)}
            << l({"300 g butter | A", "1/4 cup sugar | B"});
    }
    void merging()
    {
        QFETCH(QList<ShoppingRecipe>, recipes);
        QFETCH(QStringList, lines);
        QCOMPARE(merged(recipes), lines);
    }

    // A record's own lines are read as its texts are: a deluxe recipe's rows, a normal
    // one's lines, and those of a recipe marked deluxe without any row.
    void recordsReadAsTheirTexts()
    {
        TKVG plain;
        plain.Ingredients = {"For the dough", "250 g flour", "2 eggs, beaten", "salt"};
        TKVG deluxe;
        deluxe.Kind = 1;
        deluxe.Quantities = {"1 1/2", "", "a pinch"};
        deluxe.Units = {"lb"};
        deluxe.IngredientNames = {"Apples", "GLAZE", "salt", "Honey"};
        TKVG marked;
        marked.Kind = 1;
        marked.Ingredients = {"3 eggs"};
        const QList<std::pair<QString, const TKVG*>> recipes = {
            {QStringLiteral("Plain"), &plain},
            {QStringLiteral("Deluxe"), &deluxe},
            {QStringLiteral("Marked"), &marked}};
        ShoppingListMerger fromRecords, fromTexts;
        for (const auto& [name, record] : recipes) {
            fromRecords.add(name, *record, 2);
            fromTexts.add(name, ingredientTexts(*record, false), 2);
        }
        auto texts = [](const QList<ShoppingLine>& lines) {
            QStringList out;
            for (const ShoppingLine& line : lines)
                out << line.text() + QStringLiteral(" | ") + line.recipes.join(QStringLiteral(", "));
            return out;
        };
        const QStringList expected = {
            QStringLiteral("500 g flour | Plain"),      QStringLiteral("10 eggs | Plain, Marked"),
            QStringLiteral("salt | Plain"),             QStringLiteral("3 lb Apples | Deluxe"),
            QStringLiteral("a pinch salt | Deluxe"),    QStringLiteral("Honey | Deluxe")};
        QCOMPARE(texts(fromRecords.lines()), expected);
        QCOMPARE(texts(fromTexts.lines()), expected);
    }

    // Enough ingredients that their keys collide in the table and it grows several times.
    void manyIngredients()
    {
        QStringList lines, expected;
        for (int i = 0; i < 500; ++i) {
            lines << QStringLiteral("1 g spice %1").arg(i);
            expected << QStringLiteral("2 g spice %1 | A, B").arg(i);
        }
        QCOMPARE(merged({normal(QStringLiteral("A"), lines), normal(QStringLiteral("B"), lines)}),
                 expected);
    }

    void sectionHeadings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("heading");
        QTest::newRow("capitals") << QStringLiteral("FÜR DEN TEIG") << true;
        QTest::newRow("colon") << QStringLiteral("Topping:") << true;
        QTest::newRow("rule") << QStringLiteral("-- -- --") << true;
        QTest::newRow("for the") << QStringLiteral("for the sauce") << true;
        QTest::newRow("für") << QStringLiteral("Für die Füllung") << true;
        QTest::newRow("MealMaster's OR") << QStringLiteral("OR") << true;
        QTest::newRow("ingredient") << QStringLiteral("salt and pepper") << false;
        QTest::newRow("one capital letter") << QStringLiteral("X") << false;
        QTest::newRow("capital with a small letter") << QStringLiteral("Oil") << false;
        QTest::newRow("blank") << QStringLiteral("  ") << false;
    }
    void sectionHeadings()
    {
        QFETCH(QString, text);
        QFETCH(bool, heading);
        QCOMPARE(isSectionHeading(text), heading);
    }
};

QTEST_GUILESS_MAIN(TestShoppingList)
#include "tst_shoppinglist.moc"
