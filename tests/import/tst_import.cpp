// SPDX-License-Identifier: GPL-2.0-or-later

#include "editor/recipefiles.h"
#include "import/importer.h"
#include "import/mealmaster.h"
#include "import/recipeml.h"
#include "import/schemaorg.h"
#include "platform/cp1252.h"
#include "recipes/recipefile.h"
#include "tests/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <sys/stat.h>

namespace {

struct Read {
    QList<TKVG> recipes;
    QList<ImportProblem> problems;
    QStringList problemTexts() const
    {
        QStringList out;
        for (const ImportProblem& p : problems)
            out << p.where + QStringLiteral(": ") + p.reason;
        return out;
    }
};

Read readWith(RecipeReader reader, const QString& path)
{
    Read read;
    reader(
        fileBytes(path), path, [&](ImportedRecipe& r) { read.recipes << r.toRecord(); },
        &read.problems);
    return read;
}

Read readData(RecipeReader reader, const char* name)
{
    const QString path = QFINDTESTDATA(QStringLiteral("data/") + QLatin1String(name));
    if (path.isEmpty())
        qWarning("test file %s is missing", name);
    return readWith(reader, path);
}

QByteArrayList lines(const TSTRING& list)
{
    return list.toList();
}

Read readBytes(RecipeReader reader, const QByteArray& bytes, const QString& path)
{
    Read read;
    reader(
        bytes, path, [&](ImportedRecipe& r) { read.recipes << r.toRecord(); }, &read.problems);
    return read;
}

// The first recipe read, as lines a test compares whole: the fields that are set, a
// line for each ingredient row ("quantity|unit|name|preparation"), ingredient, step and
// comment, then the problems of the whole file.
QStringList dump(const Read& read)
{
    QStringList out;
    const auto text = [](QByteArrayView bytes) { return cp1252::toUnicode(bytes); };
    if (!read.recipes.isEmpty()) {
        const TKVG& r = read.recipes.first();
        if (!r.Servings.isEmpty())
            out << QStringLiteral("servings: ") + text(r.Servings);
        if (!r.PrepTime.isEmpty())
            out << QStringLiteral("time: ") + text(r.PrepTime);
        if (!r.Remark.isEmpty())
            out << QStringLiteral("remark: ") + text(r.Remark);
        for (int i = 0; i < r.Quantities.size(); ++i)
            out << QStringLiteral("row: ") + text(r.Quantities.at(i)) + QLatin1Char('|') +
                       text(r.Units.at(i)) + QLatin1Char('|') + text(r.IngredientNames.at(i)) +
                       QLatin1Char('|') + text(r.Descriptions.at(i));
        for (const QByteArray& line : r.Ingredients.toList())
            out << QStringLiteral("ingredient: ") + text(line);
        for (const QByteArray& line : r.Instructions.toList())
            out << QStringLiteral("step: ") + text(line);
        for (const QByteArray& line : r.Comments.toList())
            out << QStringLiteral("comment: ") + text(line);
    }
    for (const ImportProblem& p : read.problems)
        out << QStringLiteral("problem: ") + p.where + QStringLiteral(": ") + p.reason;
    return out;
}

// Texts of UTF-8 literals.
QStringList utf8(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* text : texts)
        out << QString::fromUtf8(text);
    return out;
}

// An ingredient line in MealMaster's columns.
QByteArray ing(const QByteArray& quantity, const QByteArray& unit, const QByteArray& text)
{
    return quantity.rightJustified(7, ' ') + ' ' + unit.leftJustified(2, ' ') + ' ' + text;
}

// Two ingredients on one line.
QByteArray twoColumns(const QByteArray& left, const QByteArray& right)
{
    return left.leftJustified(41, ' ') + right;
}

QByteArray msRecipe(const QByteArray& body)
{
    return "MMMMM----- Recipe via Meal-Master (tm) v8.06\n      Title: Test\n\n" + body +
           "\nMMMMM\n";
}

QByteArray recipeMlFile(const QByteArray& recipe)
{
    return "<recipeml version=\"0.5\">\n<recipe>" + recipe + "</recipe>\n</recipeml>\n";
}

} // namespace

class TestImport : public QObject {
    Q_OBJECT
private slots:
    void mealMasterFramingsColumnsAndContinuations()
    {
        const Read read = readData(readMealMaster, "framings.mmf");
        QCOMPARE(read.problemTexts(), QStringList());
        QCOMPARE(read.recipes.size(), 2);

        const TKVG& bread = read.recipes[0];
        QCOMPARE(bread.Name, QByteArray("Banana Bread"));
        QCOMPARE(bread.Kind, 1);
        QCOMPARE(bread.Categories, QByteArray("Breads,Cakes,"));
        QCOMPARE(bread.Servings, QByteArray("1 loaf"));
        QCOMPARE(lines(bread.Quantities), (QByteArrayList{"1 1/2", "1", "1/2", "3", "", "2"}));
        QCOMPARE(lines(bread.Units), (QByteArrayList{"c", "ts", "c", "", "", "tb"}));
        QCOMPARE(lines(bread.IngredientNames),
                 (QByteArrayList{"Flour", "Baking soda", "Butter", "Bananas", "GLAZE", "Honey"}));
        QCOMPARE(lines(bread.Descriptions),
                 (QByteArrayList{"sifted", "", "softened or margarine", "very ripe", "", ""}));
        QCOMPARE(lines(bread.Instructions),
                 (QByteArrayList{"Heat the oven to 180 C. Mash the bananas and stir in the butter.",
                                 "Fold in the flour and the soda.", "1. Bake for one hour.",
                                 "2. Brush with the honey."}));

        // Two ingredients a line: the left column first; each column continues its own.
        const TKVG& soup = read.recipes[1];
        QCOMPARE(soup.Name, QByteArray("Lentil Soup"));
        QCOMPARE(soup.Servings, QByteArray("4"));
        QCOMPARE(lines(soup.IngredientNames),
                 (QByteArrayList{"Lentils", "Water or stock", "Onions", "Salt and pepper",
                                 "TOPPING", "Yogurt"}));
        QCOMPARE(lines(soup.Descriptions), (QByteArrayList{"", "", "chopped", "", "", ""}));
        QCOMPARE(lines(soup.Quantities), (QByteArrayList{"1", "1", "2", "1", "", "1/4"}));
        QCOMPARE(lines(soup.Instructions), (QByteArrayList{"Simmer everything for 40 minutes."}));
    }

    // Shapes of real collections, each read into the recipe it holds.
    void mealMasterShapes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("recipe");
        QTest::newRow("an indented underline is no end line")
            << QByteArray("---------- Recipe via Meal-Master (tm) v8.05\n"
                          "      Title: Maple Pancakes\n      Yield: 4\n\n" +
                          ing("2", "c", "Flour") +
                          "\n\n  Bake them.\n  ...until golden.\n\n  NOTE:\n  -----\n\n"
                          "  True maple syrup is the best if you have it.\n----\nServe warm.\n\n" +
                          QByteArray(77, '-') + "\n")
            << utf8({"servings: 4", "row: 2|c|Flour|", "step: Bake them. ...until golden.",
                     "step: NOTE:", "step: True maple syrup is the best if you have it.",
                     "step: Serve warm."});
        QTest::newRow("units outside MealMaster's list are kept as written")
            << msRecipe(ing("1 1/2", "st", "butter") + '\n' +
                        ing("1 1/4", "c", "all-purpose flour") + "\n    1-2\tsk yeast" +
                        "\n\n     1. In a bowl, knead.")
            << utf8({"row: 1 1/2|st|butter|", "row: 1 1/4|c|all-purpose flour|",
                     "row: 1-2|sk|yeast|", "step: 1. In a bowl, knead."});
        QTest::newRow("a sentence with a colon is no header field")
            << msRecipe("Serve with the sauce: mint and yogurt.")
            << utf8({"step: Serve with the sauce: mint and yogurt."});
        QTest::newRow("header fields it does not know are kept")
            << QByteArray("MMMMM----- Recipe via Meal-Master (tm) v8.06\n      Title: Cookies\n"
                          "Contributor: Jo Smith\n       Tags: chocolate, quick\n"
                          "       From: Grandma's recipe box\n      Yield: 24 cookies\n\n" +
                          ing("", "", "Dough: as for shortbread") + '\n' + ing("2", "c", "Flour") +
                          "\n\nBake.\nMMMMM\n")
            << utf8({"servings: 24 cookies", "remark: Contributor: Jo Smith",
                     "row: ||Dough: as for shortbread|", "row: 2|c|Flour|", "step: Bake.",
                     "comment: Tags: chocolate, quick", "comment: From: Grandma's recipe box"});
        QTest::newRow("labels heading the ingredients")
            << msRecipe("CRUST:\n" + ing("1", "c", "Flour") + "\nFILLING:\n" +
                        ing("2", "c", "Plums") + "\n\nBake at\n    180 C  for an hour.")
            << utf8({"row: ||CRUST|", "row: 1|c|Flour|", "row: ||FILLING|", "row: 2|c|Plums|",
                     "step: Bake at 180 C  for an hour."});
        // MealMaster fills the left column first; the right one starts with the rest of
        // the left column's last text, cut where the column ended.
        QTest::newRow("two columns: the left one first")
            << msRecipe(twoColumns(ing("2", "c", "Onion, chopped"), ing("", "", "-er")) + '\n' +
                        twoColumns(ing("1", "c", "Celery ribs, chopped in cubes"),
                                   ing("6", "c", "Beef broth")) +
                        '\n' +
                        twoColumns(ing("2", "c", "Dried black beans, picked ov"),
                                   ing("", "", "Lemon slices")) +
                        "\n\nSimmer.")
            << utf8({"row: 2|c|Onion, chopped|", "row: 1|c|Celery ribs, chopped in cubes|",
                     "row: 2|c|Dried black beans, picked over|", "row: 6|c|Beef broth|",
                     "row: ||Lemon slices|", "step: Simmer."});
        QTest::newRow("a preparation goes on below its semicolon")
            << msRecipe(ing("2", "", "Garlic cloves;") + '\n' + ing("", "", "-finely chopped") +
                        '\n' + ing("1", "ts", "Salt"))
            << utf8({"row: 2||Garlic cloves|finely chopped", "row: 1|ts|Salt|"});
        QTest::newRow("a line outside the columns inside the list")
            << msRecipe(ing("1", "c", "Flour") + "\n   12 1/2 oz Chocolate\n" +
                        ing("2", "tb", "Sugar") + "\n- 1 cup rice\n" + ing("1", "ts", "Salt") +
                        "\n\nMelt.")
            << utf8({"row: 1|c|Flour|", "row: ||12 1/2 oz Chocolate|", "row: 2|tb|Sugar|",
                     "row: ||- 1 cup rice|", "row: 1|ts|Salt|", "step: Melt.",
                     "problem: line 5: the line is not in the ingredient columns; it was kept "
                     "as an ingredient as written",
                     "problem: line 7: the line is not in the ingredient columns; it was kept "
                     "as an ingredient as written"});
        QTest::newRow("no recipe")
            << QByteArray("Just words.\n") << utf8({"problem: : no MealMaster recipe was found"});
        QTest::newRow("a DOS end of file before the recipe")
            << "\x1A\n" + msRecipe(ing("1", "c", "Flour"))
            << utf8({"problem: : no MealMaster recipe was found"});
        QTest::newRow("DOS code page 437")
            << msRecipe(ing("1", "c", "Sugar") + "\n\nBake at 350\xF8"
                                                 "F for 1\xAB hours.")
            << utf8({"row: 1|c|Sugar|", "step: Bake at 350\u00B0F for 1\u00BD hours."});
        QTest::newRow("Windows-1252 stays")
            << msRecipe(ing("1", "c",
                            "Cr\xE8me fra\xEE"
                            "che") +
                        "\n\nBake at 180\xB0"
                        "C.")
            << utf8({"row: 1|c|Cr\u00E8me fra\u00EEche|", "step: Bake at 180\u00B0C."});
        const QString tea =
            QString::fromLatin1(msRecipe(ing("1", "ts", "Tea leaves") + "\n\nSteep."));
        QByteArray utf16le("\xFF\xFE", 2), utf16be;
        for (QChar ch : tea) {
            utf16le += char(ch.unicode() & 0xFF);
            utf16le += char(ch.unicode() >> 8);
            utf16be += char(ch.unicode() >> 8);
            utf16be += char(ch.unicode() & 0xFF);
        }
        const QStringList teaRecipe = utf8({"row: 1|ts|Tea leaves|", "step: Steep."});
        QTest::newRow("UTF-16 with a byte-order mark") << utf16le << teaRecipe;
        QTest::newRow("UTF-16 without one") << utf16be << teaRecipe;
    }
    void mealMasterShapes()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, recipe);
        QCOMPARE(dump(readBytes(readMealMaster, file, QStringLiteral("shapes.mmf"))), recipe);
    }

    void mealMasterDamagedFileImportsWhatItCan()
    {
        const Read read = readData(readMealMaster, "damaged.mmf");
        QCOMPARE(read.recipes.size(), 3);
        // No title: named after the file. UTF-8 text lands in Windows-1252.
        QCOMPARE(read.recipes[0].Name, QByteArray("damaged"));
        QCOMPARE(read.recipes[1].Name, QByteArray("Cr\xe8me Caramel"));
        QCOMPARE(lines(read.recipes[1].IngredientNames), QByteArrayList{"Sugar"});
        QCOMPARE(lines(read.recipes[1].Instructions), QByteArrayList{"Melt the sugar."});
        QCOMPARE(read.recipes[2].Name, QByteArray("Pancakes"));
        QCOMPARE(lines(read.recipes[2].Instructions), QByteArrayList{"Stir."});
        QCOMPARE(read.problems.size(), 3);
        QCOMPARE(read.problems[0].where, QStringLiteral("line 1"));
        QVERIFY(read.problems[0].reason.contains(QLatin1String("no name")));
        QCOMPARE(read.problems[1].where, QStringLiteral("line 11"));
        QVERIFY(read.problems[1].reason.contains(QLatin1String("no end line")));
        QCOMPARE(read.problems[2].where, QStringLiteral("line 15"));
        QVERIFY(read.problems[2].reason.contains(QLatin1String("file ends")));
    }

    void recipeMl()
    {
        const Read read = readData(readRecipeMl, "recipes.xml");
        QCOMPARE(read.problemTexts(), QStringList());
        QCOMPARE(read.recipes.size(), 2);
        const TKVG& crumble = read.recipes[0];
        QCOMPARE(crumble.Name, QByteArray("Apple Crumble"));
        QCOMPARE(crumble.Categories, QByteArray("Desserts,Fruit,"));
        QCOMPARE(crumble.Servings, QByteArray("6 servings"));
        QCOMPARE(crumble.PrepTime, QByteArray("1 h (cooking 30 min)")); // the total, then the parts
        QCOMPARE(lines(crumble.Quantities), (QByteArrayList{"1 1/2", "", "2-3", ""}));
        QCOMPARE(lines(crumble.Units), (QByteArrayList{"lb", "", "oz", ""}));
        QCOMPARE(lines(crumble.IngredientNames),
                 (QByteArrayList{"Apples", "Topping", "Oats", "Cinnamon"}));
        QCOMPARE(lines(crumble.Descriptions), (QByteArrayList{"peeled & sliced", "", "", ""}));
        QCOMPARE(lines(crumble.Comments), QByteArrayList{"Any firm apple will do."});
        QCOMPARE(lines(crumble.Instructions),
                 (QByteArrayList{"Lay the apples in a dish.", "Topping",
                                 "Rub the oats into the butter.", "Bake for 40 minutes."}));
        QCOMPARE(lines(read.recipes[1].Instructions),
                 (QByteArrayList{"Slice the bread.", "Spread with garlic butter."}));
    }

    void recipeMlDamagedKeepsTheRecipesBeforeTheError()
    {
        const Read read = readData(readRecipeMl, "damaged.xml");
        QCOMPARE(read.recipes.size(), 1);
        QCOMPARE(read.recipes[0].Name, QByteArray("Porridge"));
        QCOMPARE(read.problems.size(), 1);
        QCOMPARE(read.problems[0].where.section(QLatin1Char(','), 0, 0), QStringLiteral("line 10"));
        QVERIFY2(read.problems[0].reason.contains(QLatin1String("\"Toast\" was not imported")),
                 qPrintable(read.problems[0].reason));
    }

    void recipeMlShapes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("recipe");
        QTest::newRow("a range as the amount")
            << recipeMlFile("<head><title>T</title></head><ingredients><ing><amt><range><q1>400</"
                            "q1><q2>600</q2></range>"
                            "<unit>g</unit></amt><item>Beef</item></ing></ingredients>")
            << utf8({"row: 400-600|g|Beef|"});
        QTest::newRow("a fraction of numerator and denominator")
            << recipeMlFile("<head><title>T</title></head><ingredients><ing><amt><qty><frac><n>1</"
                            "n><d>2</d></frac></qty>"
                            "<unit>cup</unit></amt><item>Milk</item></ing></ingredients>")
            << utf8({"row: 1/2|cup|Milk|"});
        QTest::newRow("a whole number and a fraction")
            << recipeMlFile("<head><title>T</title></head><ingredients><ing><amt><qty>2<frac>1/4</"
                            "frac></qty></amt>"
                            "<item>Eggs</item></ing></ingredients>")
            << utf8({"row: 2 1/4||Eggs|"});
        QTest::newRow("a range from a fraction to a whole number")
            << recipeMlFile(
                   "<head><title>T</title></"
                   "head><ingredients><ing><amt><qty><range><q1><frac><n>3</n><d>4</d></frac>"
                   "</q1><sep>to</sep><q2>1</q2></range></qty><unit>cup</unit></amt>"
                   "<item>Sugar</item></ing></ingredients>")
            << utf8({"row: 3/4-1|cup|Sugar|"});
        QTest::newRow("a yield range without a separator")
            << recipeMlFile("<head><title>Rolls</title><yield><range><q1>2</q1><q2>3</q2></range>"
                            "<unit>dozen</unit></yield></head>")
            << utf8({"servings: 2-3 dozen"});
        QTest::newRow("preparation and cooking time")
            << recipeMlFile("<head><title>Stew</title>"
                            "<preptime type=\"Preparation\"><time><qty>60</qty>"
                            "<timeunit>minutes</timeunit></time></preptime>"
                            "<preptime type=\"cooking\"><time><qty>1</qty><timeunit>hour</timeunit>"
                            "</time></preptime></head>")
            << utf8({"time: 2 h (preparation 1 h, cooking 1 h)"});
        QTest::newRow("a time in words")
            << recipeMlFile("<head><title>Pickles</title>"
                            "<preptime type=\"preparation\"><time><qty>1 1/2</qty><timeunit>hrs"
                            "</timeunit></time></preptime>"
                            "<preptime type=\"resting\"><time><qty>72</qty><timeunit>hours"
                            "</timeunit></time></preptime>"
                            "<preptime type=\"blending\"><time><qty>30</qty><timeunit>seconds"
                            "</timeunit></time></preptime>"
                            "<preptime type=\"chilling\">overnight</preptime>"
                            "<preptime type=\"baking\"><time><qty>1</qty><timeunit>hour</timeunit>"
                            "</time><time><qty>5</qty></time></preptime></head>")
            << utf8({"time: preparation 1 h 30 min, resting 72 h, blending 30 s, chilling "
                     "overnight, baking 1 hour 5"});
        QTest::newRow("source and notes kept, other elements named")
            << recipeMlFile("<head><title>Salted</title><source>The Farm Cookbook</source>"
                            "<version>2</version>"
                            "<description>Rich.</description></head>"
                            "<ingredients><ing><item>Salt</item><note>to taste</note></ing>"
                            "</ingredients>\n<nutrition>90 kcal</nutrition><nutrition>90 kcal"
                            "</nutrition><empty/>")
            << utf8({"remark: Rich.", "row: ||Salt|to taste", "comment: Source: The Farm Cookbook",
                     "problem: line 2: <version> is not read; its text was not imported",
                     "problem: line 3: <nutrition> is not read; its text was not imported "
                     "(2 times in this file; the first is here)"});
        QTest::newRow("damage after the last recipe")
            << QByteArray("<recipeml>\n<recipe><head><title>Tea</title></head></recipe>\n"
                          "</menu>")
            << utf8({"problem: line 3, column 7: the XML is damaged (Opening and ending tag "
                     "mismatch.); nothing after it was read"});
        const QByteArray deep = QByteArray("<range><q1>").repeated(100000) + "1" +
                                QByteArray("</q1></range>").repeated(100000);
        QTest::newRow("a quantity nested without end")
            << recipeMlFile("<head><title>T</title></head><ingredients><ing><amt><qty>" + deep +
                            "</qty></amt><item>Deep</item></ing></ingredients>")
            << utf8({"row: 1||Deep|"});
    }
    void recipeMlShapes()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, recipe);
        QCOMPARE(dump(readBytes(readRecipeMl, file, QStringLiteral("shapes.xml"))), recipe);
    }

    void schemaOrgShapes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("recipe");
        QTest::newRow("preparation and cooking time")
            << QByteArray("{\"@type\":\"Recipe\",\"name\":\"Stew\",\"prepTime\":\"PT1H\","
                          "\"cookTime\":\"PT60M\",\"totalTime\":\"PT2H\"}")
            << utf8({"time: 2 h (preparation 1 h, cooking 1 h)"});
        QTest::newRow("author and address kept")
            << QByteArray("{\"@type\":\"Recipe\",\"name\":\"Soup\",\"description\":\"Quick.\","
                          "\"author\":[{\"@type\":\"Person\",\"name\":\"Jo Smith\"},\"Al\"],"
                          "\"url\":\"https://example.org/soup\"}")
            << utf8({"remark: Quick.", "comment: Author: Jo Smith, Al",
                     "comment: Source: https://example.org/soup"});
        QTest::newRow("fields not imported are named")
            << QByteArray("[{\"@type\":\"Recipe\",\"name\":\"A\",\"keywords\":\"quick\"},\n"
                          "{\"@type\":\"Recipe\",\"name\":\"B\",\"keywords\":[\"easy\"],"
                          "\"nutrition\":{\"calories\":\"90\"},\"recipeCuisine\":\"\"}]")
            << utf8({"problem: line 1: \"keywords\" is not read; its text was not imported "
                     "(2 times in this file; the first is here)",
                     "problem: line 1: \"nutrition\" is not read; its text was not "
                     "imported"});
    }
    void schemaOrgShapes()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, recipe);
        QCOMPARE(dump(readBytes(readSchemaOrg, file, QStringLiteral("shapes.json"))), recipe);
    }

    void schemaOrgPageWithGraphAndSections()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("page/graph.html"));
        putFile(page, fileBytes(QFINDTESTDATA("data/graph.html")));
        putFile(dir.filePath(QStringLiteral("page/graph_files/tart.png")), "picture");
        putFile(dir.filePath(QStringLiteral("outside.png")), "not beside the page");
        const Read read = readWith(readSchemaOrg, page);
        QCOMPARE(read.recipes.size(), 1);
        const TKVG& tart = read.recipes[0];
        QCOMPARE(tart.Name, QByteArray("Plum Tart & Cream"));
        QCOMPARE(tart.Kind, 0);
        QCOMPARE(tart.Servings, QByteArray("8 slices"));
        QCOMPARE(tart.PrepTime, QByteArray("1 h 30 min"));
        QCOMPARE(tart.Categories, QByteArray("Cakes,Baking,"));
        QCOMPARE(tart.Remark, QByteArray("A tart for late summer."));
        QCOMPARE(tart.PictureFile,
                 QFileInfo(dir.filePath(QStringLiteral("page/graph_files/tart.png")))
                     .canonicalFilePath());
        QCOMPARE(lines(tart.Ingredients), (QByteArrayList{"300 g plums", "1 1/3 cups flour"}));
        QCOMPARE(lines(tart.Instructions),
                 (QByteArrayList{"Pastry", "Rub the butter into the flour.",
                                 "Chill for 30 minutes.", "Filling", "Halve the plums.",
                                 "Bake at 200\xb0"
                                 "C."}));
        // The damaged first block is named with its line; the page's other recipe is read.
        QCOMPARE(read.problems.size(), 1);
        QCOMPARE(read.problems[0].where, QStringLiteral("line 5"));
        QVERIFY(read.problems[0].reason.contains(QLatin1String("JSON is damaged")));
    }

    // A saved page keeps its web pictures in "NAME_files" (or beside it) under the
    // address's file name, perhaps with another extension; the largest copy is taken.
    void schemaOrgSavedPagePicture_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QStringList>("files"); // "path=size" below the page's folder
        QTest::addColumn<QString>("picture");
        const QString saved = QStringLiteral("Pancakes_files/pancakes-1200.jpg");
        QTest::newRow("in NAME_files")
            << QByteArray("\"https://example.org/img/pancakes-1200.jpg\"")
            << QStringList{saved + QStringLiteral("=9")} << saved;
        QTest::newRow("query string dropped")
            << QByteArray("\"https://example.org/img/pancakes-1200.jpg?w=800&h=600\"")
            << QStringList{saved + QStringLiteral("=9")} << saved;
        QTest::newRow("another extension")
            << QByteArray("{\"@type\":\"ImageObject\",\"url\":"
                          "\"https://example.org/img/pancakes-1200.webp\"}")
            << QStringList{saved + QStringLiteral("=9")} << saved;
        QTest::newRow("beside the page") << QByteArray("\"//example.org/img/pancakes-1200.jpg\"")
                                         << QStringList{QStringLiteral("pancakes-1200.jpg=9")}
                                         << QStringLiteral("pancakes-1200.jpg");
        QTest::newRow("the largest of several")
            << QByteArray("[\"https://example.org/p-1x1.jpg\",\"https://example.org/p-16x9.jpg\","
                          "\"https://example.org/p-4x3.jpg\"]")
            << QStringList{QStringLiteral("Pancakes_files/p-1x1.jpg=40"),
                           QStringLiteral("Pancakes_files/p-16x9.jpg=90"),
                           QStringLiteral("Pancakes_files/p-4x3.jpg=60")}
            << QStringLiteral("Pancakes_files/p-16x9.jpg");
        QTest::newRow("a file the page names goes first")
            << QByteArray("[\"https://example.org/p.jpg\",\"local.png\"]")
            << QStringList{QStringLiteral("Pancakes_files/p.jpg=90"), QStringLiteral("local.png=1")}
            << QStringLiteral("local.png");
        QTest::newRow("not saved")
            << QByteArray("\"https://example.org/img/pancakes-1200.jpg\"")
            << QStringList{QStringLiteral("Pancakes_files/pancakes-600.jpg=9")} << QString();
        QTest::newRow("the page is no picture")
            << QByteArray("\"https://example.org/Pancakes\"")
            << QStringList{QStringLiteral("Pancakes_files/Pancakes.css=9")} << QString();
    }
    void schemaOrgSavedPagePicture()
    {
        QFETCH(QByteArray, image);
        QFETCH(QStringList, files);
        QFETCH(QString, picture);
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/saved/");
        putFile(folder + QStringLiteral("Pancakes.html"),
                "<script type=\"application/ld+json\">{\"@type\":\"Recipe\",\"name\":"
                "\"Pancakes\",\"image\":" +
                    image + "}</script>");
        for (const QString& file : files) {
            const QStringList parts = file.split(QLatin1Char('='));
            putFile(folder + parts[0], QByteArray(parts[1].toInt(), 'p'));
        }
        // A picture of that name outside the page's folder is never taken.
        putFile(dir.filePath(QStringLiteral("pancakes-1200.jpg")), QByteArray(500, 'p'));
        const Read read = readWith(readSchemaOrg, folder + QStringLiteral("Pancakes.html"));
        QCOMPARE(read.recipes.size(), 1);
        QCOMPARE(read.recipes[0].PictureFile,
                 picture.isEmpty() ? QString() : QFileInfo(folder + picture).canonicalFilePath());
    }

    void schemaOrgJsonWithoutName()
    {
        const Read read = readData(readSchemaOrg, "recipe.json");
        QCOMPARE(read.recipes.size(), 2);
        QCOMPARE(read.recipes[0].Name, QByteArray("recipe"));
        QCOMPARE(read.recipes[0].PrepTime,
                 QByteArray("15 min (preparation 5 min, cooking 10 min)"));
        QCOMPARE(read.recipes[0].Servings, QByteArray("1"));
        QCOMPARE(lines(read.recipes[0].Instructions),
                 (QByteArrayList{"Beat the eggs.", "Fry them in a pan."}));
        QCOMPARE(read.problems.size(), 1);
        QVERIFY(read.problems[0].reason.contains(QLatin1String("\"recipe\"")));
        // A character Windows-1252 cannot hold becomes "?", as typed into a field.
        QCOMPARE(read.recipes[1].Name, QByteArray("Zdj?cia salad"));
    }

    void durations_data()
    {
        QTest::addColumn<QString>("iso");
        QTest::addColumn<QString>("text");
        QTest::newRow("hours and minutes") << "PT1H30M"
                                           << "1 h 30 min";
        QTest::newRow("minutes over an hour") << "PT90M"
                                              << "1 h 30 min";
        QTest::newRow("a day") << "P1DT2H"
                               << "26 h";
        QTest::newRow("seconds only") << "PT45S"
                                      << "45 s";
        QTest::newRow("fraction cut") << "PT0.5H20M"
                                      << "20 min";
        QTest::newRow("zero") << "PT0M"
                              << "";
        QTest::newRow("not a duration") << "1 hour"
                                        << "";
        QTest::newRow("number without designator") << "PT15"
                                                   << "";
        QTest::newRow("years, months and a fraction of seconds") << "P0Y0M0DT0H50M0.000S"
                                                                 << "50 min";
        QTest::newRow("huge") << "PT99999999999H"
                              << "";
    }
    void durations()
    {
        QFETCH(QString, iso);
        QFETCH(QString, text);
        QCOMPARE(durationText(iso), text);
    }

    // Inputs that would take quadratic time in a careless scan: read in a moment.
    void hostileInputsAreReadInLinearTime_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<int>("recipes");
        const QByteArray open = "<script type=\"application/ld+json\">{\"@type\":\"Recipe\",";
        QTest::newRow("many tags without an end")
            << open + "\"name\":\"" + QByteArray(4 << 20, '<').replace("<<", "<a") + "\"}" << 1;
        QTest::newRow("many ampersands")
            << open + "\"name\":\"x" + QByteArray(4 << 20, '&') + "\"}" << 1;
        QByteArray scripts;
        for (int i = 0; i < 500000; ++i)
            scripts += "<script ";
        QTest::newRow("many unclosed scripts") << scripts << 0;
        QByteArray many = "<script type=\"application/ld+json\">[";
        for (int i = 0; i < 100000; ++i)
            many += "{\"@type\":\"Recipe\"},";
        QTest::newRow("many recipes without names") << many + "{}]" << 100000;
    }
    void hostileInputsAreReadInLinearTime()
    {
        QFETCH(QByteArray, page);
        QFETCH(int, recipes);
        int read = 0;
        QList<ImportProblem> problems;
        readSchemaOrg(
            page, QStringLiteral("page.html"), [&](ImportedRecipe&) { ++read; }, &problems);
        QCOMPARE(read, recipes);
    }

    // A very long name is kept in the record; the file name takes its start.
    void longNameGetsAShortFileName()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        const QByteArray name = QByteArray(300, 'N');
        putFile(base + QStringLiteral("long.mmf"),
                "MMMMM----- Meal-Master\n      Title: " + name + "\nStir.\nMMMMM\n");
        const ImportSummary summary = importRecipeFiles({base + QStringLiteral("long.mmf")}, base);
        QCOMPARE(summary.imported, 1);
        QCOMPARE(summary.recipeFiles,
                 QStringList{QString(60, QLatin1Char('N')) + QStringLiteral(".vrez")});
        TKV kv;
        ReadCatalogue(base, kv);
        QCOMPARE(kv.size(), 1);
        QCOMPARE(kv[0].Name, name);
    }

    // The import writes readable recipe files under free names, never over a file.
    void formatFromContentThenName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("format");
        const QByteArray plain = "Just some words.\n";
        QTest::newRow("RecipeML by content, any name")
            << "x.txt" << QByteArray("<?xml version=\"1.0\"?>\n<recipeml version=\"0.5\">")
            << int(ImportFormat::RecipeMl);
        const QByteArray mealMaster = "MMMMM----- Recipe via Meal-Master\n";
        QTest::newRow("MealMaster by content")
            << "x.txt" << mealMaster << int(ImportFormat::MealMaster);
        QTest::newRow("MealMaster after other text")
            << "x.txt"
            << "From: a digest\n" + mealMaster << int(ImportFormat::MealMaster);
        QByteArray utf16("\xFF\xFE", 2);
        for (char ch : mealMaster)
            utf16 += QByteArray(1, ch) + '\0';
        QTest::newRow("MealMaster in UTF-16") << "x.txt" << utf16 << int(ImportFormat::MealMaster);
        QTest::newRow("a .json name goes before MealMaster lines")
            << "x.json" << mealMaster << int(ImportFormat::SchemaOrg);
        // The content leaves the format open: the name's extension decides.
        QTest::newRow(".json") << "x.json" << plain << int(ImportFormat::SchemaOrg);
        QTest::newRow(".jsonld") << "x.jsonld" << plain << int(ImportFormat::SchemaOrg);
        QTest::newRow(".html") << "x.html" << plain << int(ImportFormat::SchemaOrg);
        QTest::newRow(".xml") << "x.xml" << plain << int(ImportFormat::RecipeMl);
        QTest::newRow(".rml") << "x.rml" << plain << int(ImportFormat::RecipeMl);
        QTest::newRow(".txt") << "x.txt" << plain << int(ImportFormat::Unknown);
    }
    void formatFromContentThenName()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, format);
        QCOMPARE(int(detectImportFormat(name, bytes)), format);
    }

    void importIntoFolder()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        const QString folder = base + QStringLiteral("prepared_recipes/");
        putFile(folder + QStringLiteral("banana bread.VREZ"), "not ours, must stay");
        QVERIFY(QDir().mkpath(base + QStringLiteral("a folder.mmf")));
        QVERIFY(mkfifo(QFile::encodeName(base + QStringLiteral("pipe.mmf")).constData(), 0600) ==
                0);
        putFile(base + QStringLiteral("notes.txt"), "Just some notes.\n");
        const QStringList files{
            QFINDTESTDATA("data/framings.mmf"), QFINDTESTDATA("data/recipes.xml"),
            base + QStringLiteral("a folder.mmf"), base + QStringLiteral("pipe.mmf"),
            base + QStringLiteral("notes.txt")};
        // The progress the window shows: as each file starts (with its name) and after
        // each recipe; two recipes in each of the first two files.
        QList<int> counted;
        const ImportSummary summary = importRecipeFiles(
            files, base, [&](int imported, const QString&) { counted << imported; });
        QCOMPARE(summary.imported, 4);
        QCOMPARE(counted, (QList<int>{0, 1, 2, 2, 3, 4, 4, 4, 4}));
        QCOMPARE(fileBytes(folder + QStringLiteral("banana bread.VREZ")),
                 QByteArray("not ours, must stay"));
        QCOMPARE(summary.recipeFiles[0], QStringLiteral("Banana Bread_2.vrez"));
        QCOMPARE(summary.recipeFiles[1], QStringLiteral("Lentil Soup.vrez"));
        QCOMPARE(summary.problems.size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(summary.problems[i].file, files[2 + i]);
        QVERIFY(summary.text().startsWith(QLatin1String("4 recipes imported.\n")));

        TKV kv;
        QList<FileProblem> problems;
        ReadCatalogue(base, kv, &problems);
        QCOMPARE(kv.size(), 4);
        SortByName(kv);
        QCOMPARE(kv[0].Name, QByteArray("Apple Crumble"));
        QCOMPARE(lines(kv[0].Quantities), (QByteArrayList{"1 1/2", "", "2-3", ""}));
        QCOMPARE(kv[1].Difficulty, 1);

        // A second import of the same file gives new names again.
        const ImportSummary again = importRecipeFiles({files[0]}, base);
        QCOMPARE(again.imported, 2);
        QCOMPARE(again.recipeFiles[1], QStringLiteral("Lentil Soup_2.vrez"));
    }

    // Names taken get "_2", "_3" and on, in order, however many recipes share a name.
    void sameNamesAreNumberedInOrder()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        const QString folder = base + QStringLiteral("prepared_recipes/");
        putFile(folder + QStringLiteral("Pie.vrez"), "not ours");
        putFile(folder + QStringLiteral("pie_3.VREZ"), "not ours");
        for (int n = 5; n <= 1000; ++n)
            putFile(folder + QStringLiteral("Pie_%1.vrez").arg(n), "not ours");
        QByteArray pies;
        for (int i = 0; i < 3; ++i)
            pies += "MMMMM----- Meal-Master\n      Title: Pie\nBake.\nMMMMM\n";
        putFile(base + QStringLiteral("pies.mmf"), pies);
        const ImportSummary summary = importRecipeFiles({base + QStringLiteral("pies.mmf")}, base);
        QCOMPARE(summary.recipeFiles, utf8({"Pie_2.vrez", "Pie_4.vrez", "Pie_1001.vrez"}));
    }

    // A name another program takes while the import runs (here between the recipe's
    // write and the commit of its batch) passes to the next free name, and the file
    // then stores that name.
    void nameTakenMeanwhileGoesToTheNextName()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        const QString folder = base + QStringLiteral("prepared_recipes/");
        putFile(base + QStringLiteral("two.mmf"),
                "MMMMM----- Meal-Master\n      Title: Soup\nStir.\nMMMMM\n"
                "MMMMM----- Meal-Master\n      Title: Stew\nSimmer.\nMMMMM\n");
        const ImportSummary summary =
            importRecipeFiles({base + QStringLiteral("two.mmf")}, base, [&](int imported, auto&) {
                if (imported == 2)
                    putFile(folder + QStringLiteral("Stew.vrez"), "theirs");
            });
        QCOMPARE(summary.recipeFiles, utf8({"Soup.vrez", "Stew_2.vrez"}));
        QCOMPARE(fileBytes(folder + QStringLiteral("Stew.vrez")), QByteArray("theirs"));
        TKVG stew;
        FileProblem problem;
        QVERIFY(parseRecipeFile(fileBytes(folder + QStringLiteral("Stew_2.vrez")), stew, &problem));
        QCOMPARE(stew.Name, QByteArray("Stew"));
        QCOMPARE(stew.FileName, QStringLiteral("Stew_2.vrez"));
    }

    // A write that fails (a full disk; here the file-size limit stands in for it) stops
    // the import: the recipes written before it, over more than one batch, stay and are
    // the ones counted and listed, nothing else is left behind, and the stop names the
    // file and the recipe.
    void failedWriteKeepsOnlyCommittedRecipes()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        const QString folder = base + QStringLiteral("prepared_recipes/");
        QByteArray pies;
        for (int i = 0; i < 400; ++i)
            pies += "MMMMM----- Meal-Master\n      Title: Pie " + QByteArray::number(i) +
                    "\nBake.\nMMMMM\n";
        pies += "MMMMM----- Meal-Master\n      Title: Large Pie\n" + QByteArray(8000, 'x') +
                "\nMMMMM\n";
        const QString file = base + QStringLiteral("pies.mmf");
        putFile(file, pies);
        QVERIFY(QDir().mkpath(folder));
        ImportSummary summary;
        withFileSizeLimit(4096, [&] { summary = importRecipeFiles({file}, base); });
        QCOMPARE(summary.imported, 400);
        QCOMPARE(summary.recipeFiles.size(), summary.imported);
        QStringList listed = summary.recipeFiles;
        listed.sort();
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name), listed);
        QCOMPARE(summary.stopReason, QStringLiteral("at %1: Cannot write \"%2\": %3")
                                         .arg(file, folder + QStringLiteral("Large Pie.vrez"),
                                              QString::fromLocal8Bit(std::strerror(EFBIG))));
    }

    void filesWithoutRecipeData_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("an empty page")
            << "x.html" << QByteArray("\r\n") << "the file is empty; it holds no recipe data";
        QTest::newRow("a page without data")
            << "x.html" << QByteArray("<p>Plum tart</p>")
            << "the file holds no recipe data: no JSON-LD script and no JSON";
    }
    void filesWithoutRecipeData()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        putFile(base + name, bytes);
        const ImportSummary summary = importRecipeFiles({base + name}, base);
        QCOMPARE(summary.imported, 0);
        QCOMPARE(summary.problems.size(), 1);
        QCOMPARE(summary.problems[0].reason, reason);
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
