// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/commandline.h"
#include "platform/richtext/rtfwriter.h"
#include "recipes/recipefile.h"
#include "recipes/recipejson.h"
#include "tests/testfiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <cmath>
#include <limits>
#include <sys/stat.h>

namespace {

struct Run {
    int code = 0;
    QString out;
    QString err;
};

// Standard output is a device, as for the program: the export writes its bytes there.
Run run(const QStringList& arguments)
{
    Run result;
    QBuffer output;
    output.open(QIODevice::WriteOnly);
    QTextStream out(&output);
    QTextStream err(&result.err);
    result.code = runCommandLine(QStringList{QStringLiteral("dilboscan")} + arguments, out, err);
    out.flush();
    result.out = QString::fromUtf8(output.data());
    return result;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void exportJson()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        const QString recipes = base + QStringLiteral("prepared_recipes/");
        TKVG r;
        r.Name = "Zucchini gratin";
        r.Kind = 1;
        r.Difficulty = 2;
        r.LastCooked = 45000.5;
        r.CookedDates = {44000.0};
        r.Units = {"g", "St\xfc"
                        "ck"};
        r.Remark = "Cr\xe8me \x80";
        r.UnitsRtf = QStringLiteral("C:\\x\\gratin.vrez.005");
        putFile(recipes + QStringLiteral("gratin.vrez"), recipeFileBytes(r));
        putFile(recipes + QStringLiteral("old.vrez"),
                "[MENDRAKE_TARVOLIN 1.5]\r\nApple pie\r\n\r\nCakes\r\n9\r\n\r\n\r\n\r\n\r\n"
                "1\r\nApples\r\n0\r\n0\r\n\r\n\r\n\r\n\r\n\r\n0\r\n0\r\n0\r\n0\r\n");
        putFile(recipes + QStringLiteral("broken.vrez"),
                "[MENDRAKE_TARVOLIN 2.00]\r\nnot a kind\r\n");
        // Left by a save killed before its rename: the export clears it, as a start does.
        const QString leftover = recipes + QStringLiteral("old.vrez.dilbotmp-0badf00d-Ab12Cd");
        putFile(leftover, "x");

        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(base));
        const Run result = run({QStringLiteral("--export-json")});
        QDir::setCurrent(previous);
        QVERIFY(!QFileInfo::exists(leftover));

        QCOMPARE(result.code, 0);
        QVERIFY2(result.err.contains(QLatin1String("broken.vrez")), qPrintable(result.err));
        QVERIFY(result.err.contains(QLatin1String("line 2")));
        QJsonParseError parseError;
        const QJsonDocument doc = QJsonDocument::fromJson(result.out.toUtf8(), &parseError);
        QCOMPARE(parseError.error, QJsonParseError::NoError);
        const QJsonArray array = doc.array();
        QCOMPARE(array.size(), 2);

        // Sorted by name; the old file was converted first.
        const QJsonObject pie = array[0].toObject();
        QCOMPARE(pie[QStringLiteral("Name")].toString(), QStringLiteral("Apple pie"));
        QCOMPARE(pie[QStringLiteral("Difficulty")].toInt(), 5);
        QCOMPARE(pie[QStringLiteral("Categories")].toString(), QStringLiteral("Cakes"));
        QCOMPARE(pie[QStringLiteral("Ingredients")].toArray(),
                 QJsonArray{QStringLiteral("Apples")});

        const QJsonObject gratin = array[1].toObject();
        QCOMPARE(gratin.keys().size(), 38);
        for (const char* key : {"Kind",
                                "FileName",
                                "FilePath",
                                "PictureFile",
                                "Name",
                                "Categories",
                                "Difficulty",
                                "PrepTime",
                                "Devices",
                                "Servings",
                                "LastCooked",
                                "CookedDates",
                                "Ingredients",
                                "Instructions",
                                "Comments",
                                "Binder",
                                "Magazine",
                                "Book",
                                "Page",
                                "Remark",
                                "Quantities",
                                "Units",
                                "IngredientNames",
                                "Descriptions",
                                "QuantitiesRtf",
                                "UnitsRtf",
                                "IngredientNamesRtf",
                                "InstructionsRtf",
                                "DescriptionsRtf",
                                "IngredientsRtf",
                                "CommentsRtf"})
            QVERIFY2(gratin.contains(QLatin1String(key)), key);
        QVERIFY(gratin[QStringLiteral("Kind")].isDouble());
        QCOMPARE(gratin[QStringLiteral("Kind")].toInt(), 1);
        QCOMPARE(gratin[QStringLiteral("LastCooked")].toDouble(), 45000.5);
        QCOMPARE(gratin[QStringLiteral("CookedDates")].toArray(), QJsonArray{44000.0});
        QCOMPARE(gratin[QStringLiteral("Units")].toArray(),
                 (QJsonArray{QStringLiteral("g"), QStringLiteral("St\u00fcck")}));
        QCOMPARE(gratin[QStringLiteral("Remark")].toString(), QStringLiteral("Cr\u00e8me \u20ac"));
        QCOMPARE(gratin[QStringLiteral("FileName")].toString(), QStringLiteral("gratin.vrez"));
        QCOMPARE(gratin[QStringLiteral("FilePath")].toString(),
                 recipes + QStringLiteral("gratin.vrez"));
        QCOMPARE(gratin[QStringLiteral("UnitsRtf")].toString(),
                 QStringLiteral("C:\\x\\gratin.vrez.005"));
    }

    void exportShowsTheTextsOfTheSideFiles()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        const QString recipes = base + QStringLiteral("prepared_recipes/");
        auto rtf = [](const QString& text) {
            rich::RichDocument doc;
            for (const QString& line : text.split(QLatin1Char('\n')))
                doc.appendLine(line);
            return rich::writeRtf(doc);
        };

        TKVG soup;
        soup.Name = "Soup";
        soup.FilePath = recipes + QStringLiteral("soup.vrez");
        soup.Instructions = {"plain instructions"};
        soup.InstructionsRtf = soup.FilePath + QStringLiteral(".003");
        soup.Comments = {"plain comment"};
        soup.CommentsRtf = QStringLiteral("C:\\Kochen\\prepared_recipes\\soup.vrez.001");
        soup.Ingredients = {"water", "salt"};
        soup.IngredientsRtf = soup.FilePath + QStringLiteral(".002"); // missing
        soup.Units = {"g", "ml"};
        soup.Descriptions = {"plain"};
        soup.DescriptionsRtf = soup.FilePath + QStringLiteral(".007"); // not RTF at all
        putFile(soup.FilePath, recipeFileBytes(soup));
        putFile(soup.InstructionsRtf, rtf(QStringLiteral("Chop.\nStir well.")));
        putFile(recipes + QStringLiteral("soup.vrez.001"),
                rtf(QStringLiteral("Nice in w\u00efnter \u2615")));
        putFile(soup.FilePath + QStringLiteral(".007"), "cut\r\nfine\r\n");

        // A name the code page cannot hold is stored with "?" in the side-file paths.
        TKVG borscht;
        borscht.Name = "Borscht";
        borscht.FilePath = recipes + QStringLiteral("\u0411\u043e\u0440\u0449.vrez");
        borscht.Instructions = {"plain"};
        borscht.InstructionsRtf = borscht.FilePath + QStringLiteral(".003");
        putFile(borscht.FilePath, recipeFileBytes(borscht));
        putFile(borscht.InstructionsRtf, rtf(QStringLiteral("Beets first.")));

        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(base));
        const Run result = run({QStringLiteral("--export-json")});
        QDir::setCurrent(previous);
        QVERIFY2(result.err.isEmpty(), qPrintable(result.err));
        const QJsonArray array = QJsonDocument::fromJson(result.out.toUtf8()).array();
        QCOMPARE(array.size(), 2);
        const QJsonObject b = array[0].toObject();
        QCOMPARE(b[QStringLiteral("InstructionsText")].toString(), QStringLiteral("Beets first."));
        const QJsonObject s = array[1].toObject();
        QCOMPARE(s[QStringLiteral("InstructionsText")].toString(),
                 QStringLiteral("Chop.\nStir well."));
        QCOMPARE(s[QStringLiteral("CommentsText")].toString(),
                 QStringLiteral("Nice in w\u00efnter \u2615"));
        QCOMPARE(s[QStringLiteral("IngredientsText")].toString(), QStringLiteral("water\nsalt"));
        QCOMPARE(s[QStringLiteral("UnitsText")].toString(), QStringLiteral("g\nml"));
        QCOMPARE(s[QStringLiteral("DescriptionsText")].toString(), QStringLiteral("cut\nfine"));
        QCOMPARE(s[QStringLiteral("QuantitiesText")].toString(), QString());
        QCOMPARE(s[QStringLiteral("IngredientNamesText")].toString(), QString());
    }

    void exportIsWrittenAsQJsonDocumentWritesIt_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("no recipe") << 0;
        QTest::newRow("one recipe") << 1;
        QTest::newRow("three recipes") << 3;
    }

    // The export writes its text itself, recipe by recipe: it must be byte for byte the
    // array QJsonDocument writes for the same objects, odd characters and numbers too.
    void exportIsWrittenAsQJsonDocumentWritesIt()
    {
        QFETCH(int, count);
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/\u0411\u043e/");
        TKVG odd;
        odd.FilePath = folder + QStringLiteral("odd.vrez");
        odd.Name = "\"q\" \\ \t\x01\x7f\x80\x81\xe9\x9f";
        odd.Instructions = {"", "a\"b", "\xfc"};
        odd.InstructionsRtf = odd.FilePath + QStringLiteral(".003");
        putFile(odd.InstructionsRtf, "{\\rtf1\\ansi Beets \\u-10240? \\u9749?\\par\\par}");
        odd.DescriptionsRtf = odd.FilePath + QStringLiteral(".007"); // missing
        odd.Descriptions = {"x\ry", "\x80"};
        odd.LastCooked = std::nan("");
        odd.CookedDates = {44000.0, 45000.25, 1e16, -0.0, 9007199254740992.0, 0.1};
        TKVG far;
        far.Kind = 1;
        far.Difficulty = -1;
        far.LastCooked = std::numeric_limits<double>::infinity();
        far.PictureFile = QStringLiteral("C:\\Bilder\\\U0001F600.png");
        const TKV all{odd, far, TKVG()};
        const TKV kv = all.first(count);

        QByteArray written;
        QStringList unreadable;
        writeRecipesJson(
            [&kv](const std::function<void(const TKVG&)>& visit) {
                for (const TKVG& r : kv)
                    visit(r);
            },
            [&](QByteArrayView bytes) { written += bytes; }, &unreadable);
        QJsonArray array;
        for (const TKVG& r : kv)
            array.append(recipeToJson(r));
        QCOMPARE(written, QJsonDocument(array).toJson());
        QVERIFY(unreadable.isEmpty());
    }

    void listRows()
    {
        QTemporaryDir dir;
        const QString recipes = dir.path() + QStringLiteral("/prepared_recipes/");
        TKVG soup;
        soup.Name = "Tomato soup";
        soup.Categories = "Soups,";
        soup.Difficulty = 2;
        soup.LastCooked = 45000;
        soup.Ingredients = {"tomatoes", "onion"};
        putFile(recipes + QStringLiteral("soup.vrez"), recipeFileBytes(soup));
        TKVG pie;
        pie.Name = "Apple pie";
        pie.Categories = "Cakes,";
        pie.Difficulty = 3;
        pie.LastCooked = 45000;
        pie.Book = "Baking";
        putFile(recipes + QStringLiteral("pie.vrez"), recipeFileBytes(pie));
        // A tab or backslash inside a caption must not add a column.
        TKVG odd;
        odd.Name = "Tab\there \\ back";
        odd.LastCooked = 45000;
        putFile(recipes + QStringLiteral("odd.vrez"), recipeFileBytes(odd));
        // A save killed before its rename left this behind; start-up removes it.
        putFile(recipes + QStringLiteral("pie.vrez.dilbotmp-0badf00d-Ab12Cd"),
                recipeFileBytes(pie));

        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const Run all = run({QStringLiteral("--list")});
        const Run search =
            run({QStringLiteral("--list"), QStringLiteral("--search"), QStringLiteral("ONION")});
        const Run category = run({QStringLiteral("--list"), QStringLiteral("--category"),
                                  QStringLiteral("printed recipes"), QStringLiteral("--difficulty"),
                                  QStringLiteral("3")});
        const Run wrong =
            run({QStringLiteral("--list"), QStringLiteral("--source"), QStringLiteral("Nothing")});
        const Run catalogue = run({});
        const Run noNumber =
            run({QStringLiteral("--list"), QStringLiteral("--difficulty"), QStringLiteral("many")});
        const Run noRecipe = run({QStringLiteral("--print-pdf"), QStringLiteral("out.pdf")});
        QDir::setCurrent(previous);

        const QString date = QLocale().toString(QDate(2023, 3, 15), QLocale::ShortFormat);
        QCOMPARE(all.code, 0);
        QCOMPARE(all.out, QStringLiteral("Create new recipe\t\t\t0\n"
                                         "Apple pie\t%1\t***\t5\n"
                                         "Tab\\there \\\\ back\t%1\t*\t1\n"
                                         "Tomato soup\t%1\t**\t1\n")
                              .arg(date));
        QVERIFY(!QFileInfo::exists(recipes + QStringLiteral("pie.vrez.dilbotmp-0badf00d-Ab12Cd")));
        QCOMPARE(search.out,
                 QStringLiteral("Create new recipe\t\t\t0\nTomato soup\t%1\t**\t1\n").arg(date));
        QCOMPARE(category.out,
                 QStringLiteral("Create new recipe\t\t\t0\nApple pie\t%1\t***\t5\n").arg(date));
        QCOMPARE(wrong.code, 2);
        QVERIFY(wrong.err.contains(QLatin1String("Nothing")));
        // Without a mode: the catalogue, one recipe a line with its type.
        QCOMPARE(catalogue.code, 0);
        const QStringList lines = catalogue.out.split(QLatin1Char('\n'));
        QVERIFY2(lines.first().startsWith(QLatin1String("3 recipes in ")),
                 qPrintable(lines.first()));
        QCOMPARE(lines.at(1), QStringLiteral("Apple pie\tbook\t***\t%1").arg(date));
        // Usage errors end with status 2 and say what is wrong.
        for (const Run& usage : {noNumber, noRecipe})
            QCOMPARE(usage.code, 2);
        QVERIFY(noNumber.err.contains(QLatin1String("--difficulty takes a number")));
        QVERIFY(noRecipe.err.contains(QLatin1String("--print-pdf needs --recipe NAME")));
    }

    // A side file that cannot be read shows the plain lines and is named; a stored path
    // of a FIFO or device is never read (it would wait for ever or fill memory).
    void unreadableSideFilesAreNamed_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("folder") << "folder";
        QTest::newRow("device") << "/dev/zero";
    }

    void unreadableSideFilesAreNamed()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString recipes = dir.path() + QStringLiteral("/prepared_recipes/");
        TKVG soup;
        soup.Name = "Soup";
        soup.Instructions = {"plain", "lines"};
        const QString side = recipes + QStringLiteral("soup.vrez.003");
        soup.InstructionsRtf = kind.startsWith(QLatin1Char('/')) ? kind : side;
        putFile(recipes + QStringLiteral("soup.vrez"), recipeFileBytes(soup));
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(side).constData(), 0600), 0);
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(side));

        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const Run result = run({QStringLiteral("--export-json")});
        QDir::setCurrent(previous);
        const QJsonArray array = QJsonDocument::fromJson(result.out.toUtf8()).array();
        QCOMPARE(array.size(), 1);
        QCOMPARE(array[0].toObject()[QStringLiteral("InstructionsText")].toString(),
                 QStringLiteral("plain\nlines"));
        QVERIFY2(result.err.contains(soup.InstructionsRtf), qPrintable(result.err));
    }

    // The exports take the list's filters: only the listed recipes are written, and an
    // unknown entry or a target that cannot be written is an error, not a success.
    void exportsTakeTheListFilters()
    {
        QTemporaryDir dir;
        const QString recipes = dir.path() + QStringLiteral("/prepared_recipes/");
        TKVG soup;
        soup.Name = "Tomato soup";
        soup.Categories = "Soups,";
        soup.Ingredients = {"tomatoes", "onion"};
        putFile(recipes + QStringLiteral("soup.vrez"), recipeFileBytes(soup));
        TKVG pie;
        pie.Name = "Apple pie";
        pie.Categories = "Cakes,";
        putFile(recipes + QStringLiteral("pie.vrez"), recipeFileBytes(pie));
        putFile(dir.path() + QStringLiteral("/taken/letter.txt"), "mine");

        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const Run html = run({QStringLiteral("--export-html"), QStringLiteral("site"),
                              QStringLiteral("--search"), QStringLiteral("onion")});
        const Run mealMaster = run({QStringLiteral("--export-mealmaster"), QStringLiteral("all.mmf"),
                                    QStringLiteral("--category"), QStringLiteral("Cakes")});
        const Run jsonLd = run({QStringLiteral("--export-jsonld"), QStringLiteral("ld")});
        const Run unknown = run({QStringLiteral("--export-jsonld"), QStringLiteral("ld2"),
                                 QStringLiteral("--category"), QStringLiteral("Nothing")});
        const Run taken = run({QStringLiteral("--export-html"), QStringLiteral("taken")});
        QDir::setCurrent(previous);

        QCOMPARE(html.code, 0);
        QCOMPARE(html.out, QStringLiteral("1 recipes exported to site\n"));
        QCOMPARE(QDir(dir.path() + QStringLiteral("/site")).entryList({QStringLiteral("*.html")}),
                 QStringList({QStringLiteral("index.html"), QStringLiteral("Tomato-soup.html")}));
        QCOMPARE(mealMaster.code, 0);
        const QByteArray mm = fileBytes(dir.path() + QStringLiteral("/all.mmf"));
        QVERIFY(mm.contains("Title: Apple pie") && !mm.contains("Tomato"));
        QCOMPARE(jsonLd.code, 0);
        QCOMPARE(QDir(dir.path() + QStringLiteral("/ld")).entryList(QDir::Files),
                 QStringList({QStringLiteral("Apple-pie.jsonld"), QStringLiteral("Tomato-soup.jsonld")}));
        QCOMPARE(unknown.code, 2);
        QVERIFY(!QFile::exists(dir.path() + QStringLiteral("/ld2")));
        QCOMPARE(taken.code, 1);
        QVERIFY2(taken.err.contains(QLatin1String("not an earlier export")), qPrintable(taken.err));
        QCOMPARE(fileBytes(dir.path() + QStringLiteral("/taken/letter.txt")), QByteArray("mine"));
    }

    void exportOfAnEmptyFolderIsAnEmptyArray()
    {
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const Run result = run({QStringLiteral("--export-json")});
        QDir::setCurrent(previous);
        QCOMPARE(result.code, 0);
        QCOMPARE(QJsonDocument::fromJson(result.out.toUtf8()).array().size(), 0);
        QVERIFY(result.err.isEmpty());
    }

    // --import names the files given after the options relative to the current folder,
    // prints the summary, and fails only when nothing at all could be imported.
    void importPrintsTheSummary_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("recipes");
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("a recipe and a damaged file")
            << QStringList{QStringLiteral("soup.mmf"), QStringLiteral("bad.json")} << 0 << 1
            << false;
        // The disk fills up at the large recipe: what came before stays, and the import
        // failed all the same.
        QTest::newRow("stopped by a full disk")
            << QStringList{QStringLiteral("soup.mmf"), QStringLiteral("large.mmf")} << 1 << 1
            << true;
        QTest::newRow("nothing readable")
            << QStringList{QStringLiteral("bad.json"), QStringLiteral("missing.mmf")} << 1 << 0
            << false;
        QTest::newRow("no file") << QStringList() << 2 << 0 << false;
    }
    void importPrintsTheSummary()
    {
        QFETCH(QStringList, files);
        QFETCH(int, code);
        QFETCH(int, recipes);
        QFETCH(bool, diskFull);
        QTemporaryDir dir;
        putFile(dir.filePath(QStringLiteral("soup.mmf")),
                "MMMMM----- Recipe via Meal-Master (tm) v8.06\n      Title: Soup\n"
                "      1 lb Lentils\nSimmer.\nMMMMM\n");
        putFile(dir.filePath(QStringLiteral("large.mmf")),
                "MMMMM----- Recipe via Meal-Master (tm) v8.06\n      Title: Stew\n"
                "      1 lb Beans\n" +
                    QByteArray(20000, 'x') + "\nMMMMM\n");
        putFile(dir.filePath(QStringLiteral("bad.json")), "{\"@type\": \"Recipe\", \"name\": ");
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        // Left by a save killed before its rename: the import clears it, as a start does
        // (the count of files below would take it in otherwise).
        if (!files.isEmpty())
            putFile(
                dir.filePath(QStringLiteral("prepared_recipes/a.vrez.dilbotmp-0badf00d-Ab12Cd")),
                "x");
        // The file-size limit stands in for the full disk.
        Run result;
        const auto import = [&] { result = run(QStringList{QStringLiteral("--import")} + files); };
        if (diskFull)
            withFileSizeLimit(8192, import);
        else
            import();
        QDir::setCurrent(previous);
        if (diskFull) {
            QVERIFY2(result.out.startsWith(QStringLiteral("1 recipe imported.\nThe import stopped "
                                                          "before its end at large.mmf: Cannot "
                                                          "write")),
                     qPrintable(result.out));
            QVERIFY2(!result.out.contains(QLatin1String("Could not be read")),
                     qPrintable(result.out));
        }
        QCOMPARE(result.code, code);
        const QStringList written =
            QDir(dir.filePath(QStringLiteral("prepared_recipes"))).entryList(QDir::Files);
        QCOMPARE(written.size(), recipes);
        if (code == 2)
            return;
        QVERIFY2(result.out.startsWith(QStringLiteral("%1 recipe").arg(recipes)),
                 qPrintable(result.out));
        for (const QString& file : files) {
            if (file != QLatin1String("soup.mmf"))
                QVERIFY2(result.out.contains(file), qPrintable(result.out));
        }
    }

    // Three recipes, one deluxe whose quantity column shows its side file; an old-format
    // recipe file is read as it is, and no file changes.
    void shoppingList_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("servings, as written, factor")
            << QStringList{QStringLiteral("Soup: hot:8"), QStringLiteral("Cake"),
                           QStringLiteral("Bread:x1.5")}
            << 0
            << QStringLiteral("Soup: hot: 8 servings (written for 4-6 people)\n"
                              "Cake: as written\n"
                              "Bread: scaled by 1.5\n\n"
                              "1 kg flour\tSoup: hot, Cake, Bread\n"
                              "4 eggs\tSoup: hot\n"
                              "a pinch salt\tCake\n"
                              "3 tsp salt\tBread\n")
            << QString();
        QTest::newRow("name with a colon and no amount")
            << QStringList{QStringLiteral("Soup: hot")} << 0
            << QStringLiteral("Soup: hot: 4-6 people\n\n"
                              "250 g flour\tSoup: hot\n"
                              "2 eggs\tSoup: hot\n")
            << QString();
        QTest::newRow("unknown recipe")
            << QStringList{QStringLiteral("Cake"), QStringLiteral("Pie")} << 1 << QString()
            << QStringLiteral("No recipe named \"Pie\"");
        QTest::newRow("a factor below one")
            << QStringList{QStringLiteral("Bread:x0.5")} << 0
            << QStringLiteral("Bread: scaled by 0.5\n\n1/8 kg Flour\tBread\n1 tsp salt\tBread\n")
            << QString();
        QTest::newRow("zero servings are part of the name")
            << QStringList{QStringLiteral("Cake:0")} << 1 << QString()
            << QStringLiteral("No recipe named \"Cake:0\"");
        QTest::newRow("servings for a recipe without them")
            << QStringList{QStringLiteral("Bread:4")} << 2 << QString()
            << QStringLiteral("\"Bread\" gives no number of servings");
        QTest::newRow("no recipe") << QStringList() << 2 << QString()
                                   << QStringLiteral("needs at least one NAME");
    }
    void shoppingList()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        const QString recipes = base + QStringLiteral("prepared_recipes/");
        TKVG soup;
        soup.Name = "Soup: hot";
        soup.Servings = "4-6 people";
        soup.Ingredients = {"For the dough", "250 g flour", "2 eggs, beaten"};
        putFile(recipes + QStringLiteral("soup.vrez"), recipeFileBytes(soup));
        TKVG cake;
        cake.Name = "Cake";
        cake.Kind = 1;
        cake.FilePath = recipes + QStringLiteral("cake.vrez");
        cake.Quantities = {"100", "1"};
        cake.QuantitiesRtf = cake.FilePath + QStringLiteral(".004");
        cake.Units = {"g", ""};
        cake.IngredientNames = {"flour", "salt"};
        putFile(cake.FilePath, recipeFileBytes(cake));
        rich::RichDocument quantities;
        quantities.appendLine(QStringLiteral("125"));
        quantities.appendLine(QStringLiteral("a pinch"));
        putFile(cake.QuantitiesRtf, rich::writeRtf(quantities));
        TKVG bread;
        bread.Name = "Bread";
        bread.Ingredients = {"1/4 kg Flour", "2 tsp salt"};
        putFile(recipes + QStringLiteral("bread.vrez"), recipeFileBytes(bread));
        const QByteArray old = "[MENDRAKE_TARVOLIN 1.5]\r\nApple pie\r\n\r\nCakes\r\n9\r\n\r\n"
                               "\r\n\r\n\r\n1\r\nApples\r\n0\r\n0\r\n\r\n\r\n\r\n\r\n\r\n"
                               "0\r\n0\r\n0\r\n0\r\n";
        putFile(recipes + QStringLiteral("old.vrez"), old);
        QHash<QString, QByteArray> before;
        for (const QString& name : QDir(recipes).entryList(QDir::Files))
            before.insert(name, fileBytes(recipes + name));

        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(base));
        const Run result = run(QStringList{QStringLiteral("--shopping-list")} + arguments);
        QDir::setCurrent(previous);

        QCOMPARE(result.code, code);
        QCOMPARE(result.out, out);
        if (err.isEmpty())
            QVERIFY2(result.err.isEmpty(), qPrintable(result.err));
        else
            QVERIFY2(result.err.contains(err), qPrintable(result.err));
        QHash<QString, QByteArray> after;
        for (const QString& name : QDir(recipes).entryList(QDir::Files))
            after.insert(name, fileBytes(recipes + name));
        QCOMPARE(after, before);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
