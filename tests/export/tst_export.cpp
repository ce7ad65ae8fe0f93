// SPDX-License-Identifier: GPL-2.0-or-later

#include "export/F_Export.h"
#include "export/exporter.h"
#include "export/exportrecipe.h"
#include "export/htmlexport.h"
#include "export/mealmasterexport.h"
#include "import/mealmaster.h"
#include "import/schemaorg.h"
#include "platform/cp1252.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray ansi(const char* utf8)
{
    return cp1252::fromUnicode(QString::fromUtf8(utf8));
}

TSTRING linesOf(std::initializer_list<const char*> lines)
{
    TSTRING out;
    for (const char* line : lines)
        out.append(ansi(line));
    return out;
}

// The wrap rule's case: 14 words and "bb" fill 72 columns, so "3." would start the
// next line and a reader would take it for a new paragraph.
// Other steps fill the line to the column, or one past it, or would leave a rule or the
// end line at the start of the next line.
QString longStep(const char* end = " bb 3. cc")
{
    return QStringList(14, QStringLiteral("aaaa")).join(u' ') + QLatin1String(end);
}

QStringList longSteps()
{
    return {
        longStep(),           longStep(" bbb cc"), longStep(" bb --- cc"), longStep(" bb MMMMM"),
        longStep(" bb - cc"), longStep(" 2. - cc")};
}

const QString kLongWord = QString(60, u'W');

TKVG normalRecipe()
{
    TKVG r;
    r.Name = ansi("Easy Chili con Carne");
    r.Categories = ansi("Main dishes,Mexican,");
    r.Servings = ansi("4");
    r.PrepTime = ansi("2 h (preparation 1 h, cooking 1 h)");
    r.Remark = ansi("Hot & spicy");
    r.Ingredients =
        linesOf({"500 g minced beef", "2 cups kidney beans", "", "1/2 tsp salt, to taste", "Salt",
                 "1 pinch of chili", "2nd layer: jam"});
    r.Instructions = linesOf({"Brown the beef.", ""});
    for (const QString& step : longSteps())
        r.Instructions.append(step.toLatin1());
    return r;
}

TKVG deluxeRecipe(const QString& picture)
{
    TKVG r;
    r.Kind = 1;
    r.Name = ansi("Apple Pie à la Crème");
    r.Servings = ansi("6-8 pieces");
    r.Categories =
        ansi("Cakes and tarts,Sunday afternoon,Family favourites,Baking with fruit,Summer,");
    r.PrepTime = ansi("1 h 30 min");
    r.PictureFile = picture;
    r.Quantities = linesOf({"2", "½", "0,5", "3", "1", "", "", "", "1 1/2-2", ""});
    r.Units = linesOf({"cups", "EL", "l", "cloves", "", "", "", "", "", ""});
    r.IngredientNames = linesOf({"flour", "sugar", "milk", "garlic",
                                 "Very long ingredient name that goes past the text column",
                                 "Supercalifragilisticexpialidociouslyyummy", "FOR THE GLAZE",
                                 "abcdefghij abcdefghij abcdef more words", "apples", ""});
    r.IngredientNames.append(kLongWord.toLatin1());
    r.Descriptions = linesOf({"sifted", "", "", "", "finely chopped", "", "", "", "", ""});
    r.Instructions = linesOf({"Mix.", "Bake 45 min."});
    return r;
}

const QStringList kDeluxeLines{QStringLiteral("2 cups flour, sifted"),
                               QStringLiteral("½ EL sugar"),
                               QStringLiteral("0,5 l milk"),
                               QStringLiteral("3 cloves garlic"),
                               QStringLiteral("1 Very long ingredient name that goes past the "
                                              "text column, finely chopped"),
                               QStringLiteral("Supercalifragilisticexpialidociouslyyummy"),
                               QStringLiteral("FOR THE GLAZE"),
                               QStringLiteral("abcdefghij abcdefghij abcdef more words"),
                               QStringLiteral("1 1/2-2 apples"),
                               kLongWord};

QList<ImportedRecipe> readBack(RecipeReader reader, const QString& path,
                               QList<ImportProblem>* problems)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<ImportedRecipe> recipes;
    reader(
        file.readAll(), path, [&](ImportedRecipe& r) { recipes << r; }, problems);
    return recipes;
}

QString makePicture(const QString& folder)
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString path = folder + QStringLiteral("/pie photo.PNG");
    image.save(path, "PNG");
    return path;
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The schema.org block of a page, parsed.
QJsonObject scriptJson(const QByteArray& page)
{
    const qsizetype open = page.indexOf("<script type=\"application/ld+json\">");
    const qsizetype start = page.indexOf('>', open) + 1;
    const qsizetype end = page.indexOf("</script", start);
    return QJsonDocument::fromJson(page.mid(start, end - start)).object();
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT
private slots:
    void cookingTimes_data();
    void cookingTimes();
    void fileNames();
    void mealMasterUnits_data();
    void mealMasterUnits();
    void roundTrip_data();
    void roundTrip();
    void mealMasterRows();
    void pageEscaping();
    void cancelAndReplace_data();
    void cancelAndReplace();
    void refusesForeignFolder();
    void failedWriteIsNoSuccess_data();
    void failedWriteIsNoSuccess();
    void exportWindow();
};

void TestExport::cookingTimes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("preparation");
    QTest::addColumn<QString>("cooking");
    QTest::newRow("hours and minutes") << "1 h 30 min"
                                       << "PT1H30M"
                                       << ""
                                       << "";
    QTest::newRow("our import's parts") << "2 h (preparation 1 h, cooking 1 h)"
                                        << "PT2H"
                                        << "PT1H"
                                        << "PT1H";
    QTest::newRow("parts only add up") << "preparation 20 min, cooking 40 min"
                                       << "PT1H"
                                       << "PT20M"
                                       << "PT40M";
    QTest::newRow("minutes beyond an hour") << "90 min"
                                            << "PT1H30M"
                                            << ""
                                            << "";
    QTest::newRow("clock") << "1:30"
                           << "PT1H30M"
                           << ""
                           << "";
    QTest::newRow("clock on the hour") << "2:00"
                                       << "PT2H"
                                       << ""
                                       << "";
    QTest::newRow("clock with a wrong minute") << "1:75"
                                               << ""
                                               << ""
                                               << "";
    QTest::newRow("number right after a sign") << "~1 h"
                                               << "PT1H"
                                               << ""
                                               << "";
    QTest::newRow("every unit word") << "1 Tag 1 Stunde 5 mins 30 sec"
                                     << "PT25H5M30S"
                                     << ""
                                     << "";
    QTest::newRow("fraction of hours") << "1 1/2 hours"
                                       << "PT1H30M"
                                       << ""
                                       << "";
    QTest::newRow("German with dots") << "2 Std. 15 Min."
                                      << "PT2H15M"
                                      << ""
                                      << "";
    QTest::newRow("bare number") << "45"
                                 << "PT45M"
                                 << ""
                                 << "";
    QTest::newRow("range takes the upper end") << "20-30 min"
                                               << "PT30M"
                                               << ""
                                               << "";
    QTest::newRow("days as hours") << "1 day 2 h"
                                   << "PT26H"
                                   << ""
                                   << "";
    QTest::newRow("seconds") << "45 s"
                             << "PT45S"
                             << ""
                             << "";
    QTest::newRow("words only") << "overnight"
                                << ""
                                << ""
                                << "";
    QTest::newRow("number without a unit") << "bake at 180"
                                           << ""
                                           << ""
                                           << "";
    QTest::newRow("empty") << ""
                           << ""
                           << ""
                           << "";
}

void TestExport::cookingTimes()
{
    QFETCH(QString, text);
    const CookingTimes times = readCookingTime(text);
    QTEST(isoDuration(times.total), "total");
    QTEST(isoDuration(times.preparation), "preparation");
    QTEST(isoDuration(times.cooking), "cooking");
}

void TestExport::fileNames()
{
    ExportFileNames names;
    names.reserve(QStringLiteral("index"));
    QCOMPARE(names.take(QStringLiteral("Easy Chili con Carne")),
             QStringLiteral("Easy-Chili-con-Carne"));
    QCOMPARE(names.take(QStringLiteral("easy chili: con carne!")),
             QStringLiteral("easy-chili-con-carne-2"));
    QCOMPARE(names.take(QStringLiteral("Easy-Chili-con-Carne")),
             QStringLiteral("Easy-Chili-con-Carne-3"));
    QCOMPARE(names.take(QStringLiteral("../../etc/passwd")), QStringLiteral("etc-passwd"));
    QCOMPARE(names.take(QStringLiteral("Index")), QStringLiteral("Index-2"));
    QCOMPARE(names.take(QStringLiteral("CON")), QStringLiteral("CON-2"));
    QCOMPARE(names.take(QStringLiteral("?!")), QStringLiteral("recipe"));
    QCOMPARE(names.take(QStringLiteral("Crème brûlée")), QStringLiteral("Crème-brûlée"));
    QCOMPARE(names.take(QString(100, u'x')).size(), 60);
}

void TestExport::mealMasterUnits_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("code");
    QTest::newRow("cup") << "cups"
                         << "c";
    QTest::newRow("German tablespoon") << "EL"
                                       << "tb";
    QTest::newRow("with a dot") << "Dash."
                                << "ds";
    QTest::newRow("teaspoon") << "tsp"
                              << "ts";
    QTest::newRow("gram") << "g"
                          << "g";
    QTest::newRow("pound") << "lbs"
                           << "lb";
    QTest::newRow("pinch") << "Prise"
                           << "pn";
    QTest::newRow("none") << "cloves"
                          << "";
}

void TestExport::mealMasterUnits()
{
    QFETCH(QString, unit);
    QTEST(mealMasterUnit(unit), "code");
}

void TestExport::roundTrip_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("JSON-LD") << int(ExportFormat::JsonLd);
    QTest::newRow("website") << int(ExportFormat::Html);
    QTest::newRow("MealMaster") << int(ExportFormat::MealMaster);
}

void TestExport::roundTrip()
{
    QFETCH(int, format);
    const auto exportFormat = ExportFormat(format);
    QTemporaryDir dir;
    const QString picture = makePicture(dir.path());
    const TKVG normal = normalRecipe();
    const TKVG deluxe = deluxeRecipe(picture);
    const QString target = dir.filePath(QStringLiteral("out"));
    const ExportOutcome outcome = exportRecipes(exportFormat, {&normal, &deluxe}, target);
    QVERIFY2(outcome.ok(), qPrintable(outcome.error));
    QCOMPARE(outcome.exported, 2);

    QList<ImportProblem> problems;
    QList<ImportedRecipe> back;
    if (exportFormat == ExportFormat::MealMaster) {
        back = readBack(readMealMaster, target, &problems);
        for (const QString& line : QString::fromUtf8(bytesOf(target)).split(QStringLiteral("\r\n")))
            QVERIFY2(line.size() <= 72, qPrintable(line));
    } else {
        const QString suffix = exportFormat == ExportFormat::Html ? QStringLiteral(".html")
                                                                  : QStringLiteral(".jsonld");
        for (const QString& stem :
             {QStringLiteral("Easy-Chili-con-Carne"), QStringLiteral("Apple-Pie-à-la-Crème")})
            back << readBack(readSchemaOrg, target + u'/' + stem + suffix, &problems);
    }
    QCOMPARE(back.size(), 2);
    for (const ImportProblem& problem : std::as_const(problems))
        QVERIFY2(problem.reason.contains(QLatin1String("keywords")),
                 qPrintable(problem.toString()));

    const ImportedRecipe& a = back[0];
    QCOMPARE(a.name, QStringLiteral("Easy Chili con Carne"));
    QCOMPARE(a.servings, QStringLiteral("4"));
    QCOMPARE(a.totalTime, QStringLiteral("2 h (preparation 1 h, cooking 1 h)"));
    QCOMPARE(a.categories, QStringList({QStringLiteral("Main dishes"), QStringLiteral("Mexican")}));
    QCOMPARE(a.instructions, QStringList{QStringLiteral("Brown the beef.")} + longSteps());
    const ImportedRecipe& b = back[1];
    QCOMPARE(b.name, QStringLiteral("Apple Pie à la Crème"));
    QCOMPARE(b.servings, QStringLiteral("6-8 pieces"));
    QCOMPARE(b.totalTime, QStringLiteral("1 h 30 min"));
    QCOMPARE(b.instructions, QStringList({QStringLiteral("Mix."), QStringLiteral("Bake 45 min.")}));
    QCOMPARE(b.categories,
             QStringList({QStringLiteral("Cakes and tarts"), QStringLiteral("Sunday afternoon"),
                          QStringLiteral("Family favourites"), QStringLiteral("Baking with fruit"),
                          QStringLiteral("Summer")}));
    if (exportFormat == ExportFormat::MealMaster)
        return; // its rows: mealMasterRows
    QCOMPARE(
        a.ingredients,
        QStringList({QStringLiteral("500 g minced beef"), QStringLiteral("2 cups kidney beans"),
                     QStringLiteral("1/2 tsp salt, to taste"), QStringLiteral("Salt"),
                     QStringLiteral("1 pinch of chili"), QStringLiteral("2nd layer: jam")}));
    QCOMPARE(a.remark, QStringLiteral("Hot & spicy"));
    QCOMPARE(b.ingredients, kDeluxeLines);
    QVERIFY(a.picture.isEmpty());
    QVERIFY2(!b.picture.isEmpty(), "the picture was not found beside the export");
    QCOMPARE(QFileInfo(b.picture).fileName(), QStringLiteral("Apple-Pie-à-la-Crème.png"));
    QCOMPARE(bytesOf(b.picture), bytesOf(picture));
}

void TestExport::mealMasterRows()
{
    QTemporaryDir dir;
    const TKVG normal = normalRecipe();
    const TKVG deluxe = deluxeRecipe(QString());
    const QString text = mealMasterRecipe(exportedRecipe(deluxe));
    // Quantity right-aligned in 7 columns, the unit in 2, the text from column 12.
    QVERIFY2(text.contains(QStringLiteral("\r\n      2 c  flour; sifted\r\n")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("\r\n      3    cloves garlic\r\n")), qPrintable(text));
    QVERIFY(text.startsWith(QStringLiteral("MMMMM-----")));
    QVERIFY2(
        text.contains(QStringLiteral("\r\n      Title: Apple Pie à la Crème\r\n Categories: "
                                     "Cakes and tarts, Sunday afternoon, Family favourites\r\n"
                                     " Categories: Baking with fruit, Summer\r\n"
                                     "      Yield: 6-8 pieces\r\n       Time: 1 h 30 min\r\n")),
        qPrintable(text));
    QVERIFY(text.endsWith(QStringLiteral("\r\nMMMMM\r\n\r\n")));

    const QString path = dir.filePath(QStringLiteral("out.mmf"));
    QVERIFY(exportRecipes(ExportFormat::MealMaster, {&normal, &deluxe}, path).ok());
    QList<ImportProblem> problems;
    const QList<ImportedRecipe> back = readBack(readMealMaster, path, &problems);
    QCOMPARE(back.size(), 2);
    auto rowsOf = [](const ImportedRecipe& r) {
        QStringList rows;
        for (const IngredientRow& row : r.rows)
            rows << QStringList{row.quantity, row.unit, row.name, row.preparation}.join(u'|');
        return rows;
    };
    QCOMPARE(rowsOf(back[0]),
             QStringList({QStringLiteral("500|g|minced beef|"), QStringLiteral("2|c|kidney beans|"),
                          QStringLiteral("1/2|ts|salt, to taste|"), QStringLiteral("||Salt|"),
                          QStringLiteral("1|pn|of chili|"), QStringLiteral("||2nd layer: jam|")}));
    QCOMPARE(
        rowsOf(back[1]),
        QStringList({QStringLiteral("2|c|flour|sifted"), QStringLiteral("1/2|tb|sugar|"),
                     QStringLiteral("0.5|l|milk|"), QStringLiteral("3||cloves garlic|"),
                     QStringLiteral("1||Very long ingredient name that goes past the text "
                                    "column|finely chopped"),
                     QStringLiteral("||Supercalifragilisticexpialidociouslyyummy|"),
                     QStringLiteral("||FOR THE GLAZE|"),
                     QStringLiteral("||abcdefghij abcdefghij abcdef more words|"),
                     QStringLiteral("1 1/2-2||apples|"), QStringLiteral("||") + kLongWord + u'|'}));
}

void TestExport::pageEscaping()
{
    TKVG r = normalRecipe();
    const QString hostile = QStringLiteral("Pie </script><script>alert(1)</script> <!-- & \"q\"");
    r.Name = cp1252::fromUnicode(hostile);
    r.Ingredients = linesOf({"1 <b>egg</b>"});
    const QByteArray page = recipePage(exportedRecipe(r), QStringLiteral("a b.jpg"));
    // The page's own two script ends and no other.
    QCOMPARE(page.count("</script"), 1);
    QVERIFY(!page.contains("<!--"));
    QVERIFY(page.contains("<h1>Pie &lt;/script&gt;&lt;script&gt;alert(1)&lt;/script&gt; &lt;!-- "
                          "&amp; &quot;q&quot;</h1>"));
    QVERIFY(page.contains("<img src=\"a%20b.jpg\""));
    const QJsonObject json = scriptJson(page);
    QCOMPARE(json.value(QLatin1String("name")).toString(), hostile);
    QCOMPARE(json.value(QLatin1String("image")).toString(), QStringLiteral("a%20b.jpg"));

    QList<IndexEntry> entries{indexEntry(exportedRecipe(r), QStringLiteral("Pie.html"))};
    const QByteArray index = indexPage(entries);
    QCOMPARE(index.count("</script"), 2); // the list and the search script
    QVERIFY(index.contains("egg"));
}

void TestExport::cancelAndReplace_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("folder") << int(ExportFormat::Html);
    QTest::newRow("file") << int(ExportFormat::MealMaster);
}

void TestExport::cancelAndReplace()
{
    QFETCH(int, format);
    const auto exportFormat = ExportFormat(format);
    QTemporaryDir dir;
    const TKVG a = normalRecipe();
    const TKVG b = deluxeRecipe(QString());
    const QString target = dir.filePath(QStringLiteral("out"));
    auto cancelAt = [](int at) { return [at](int done, int) { return done < at; }; };

    // Cancelled before anything stood there: nothing is left, not even a temporary file.
    ExportOutcome outcome = exportRecipes(exportFormat, {&a, &b}, target, cancelAt(1));
    QVERIFY(outcome.cancelled);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());

    QVERIFY(exportRecipes(exportFormat, {&a}, target).ok());
    const QString probe = exportFormat == ExportFormat::Html
                              ? target + QStringLiteral("/Easy-Chili-con-Carne.html")
                              : target;
    const QByteArray first = bytesOf(probe);
    QVERIFY(!first.isEmpty());
    // Cancelled over an earlier export: it stays as it was.
    outcome = exportRecipes(exportFormat, {&b, &a}, target, cancelAt(2));
    QVERIFY(outcome.cancelled);
    QCOMPARE(outcome.exported, 0);
    QCOMPARE(bytesOf(probe), first);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("out")});
    // Completed: the new export replaces the earlier one whole, and nothing else is left.
    QVERIFY(exportRecipes(exportFormat, {&b}, target).ok());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("out")});
    if (exportFormat == ExportFormat::Html) {
        QVERIFY(!QFile::exists(probe));
        QVERIFY(QFile::exists(target + QStringLiteral("/Apple-Pie-à-la-Crème.html")));
        QVERIFY(QFile::exists(target + QStringLiteral("/index.html")));
    } else {
        QVERIFY(QString::fromUtf8(bytesOf(target)).contains(QStringLiteral("Apple Pie")));
        QVERIFY(!QString::fromUtf8(bytesOf(target)).contains(QStringLiteral("Chili")));
    }
}

void TestExport::refusesForeignFolder()
{
    QTemporaryDir dir;
    const TKVG a = normalRecipe();
    QFile mine(dir.filePath(QStringLiteral("letter.txt")));
    QVERIFY(mine.open(QIODevice::WriteOnly) && mine.write("keep me") == 7);
    mine.close();
    const ExportOutcome outcome = exportRecipes(ExportFormat::JsonLd, {&a}, dir.path());
    QVERIFY(!outcome.ok());
    QVERIFY(outcome.error.contains(dir.path()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("letter.txt")});
    QCOMPARE(bytesOf(mine.fileName()), QByteArray("keep me"));
}

void TestExport::failedWriteIsNoSuccess_data()
{
    cancelAndReplace_data();
}

// A full disk, as a file size limit gives it: the export fails, names the file and leaves
// nothing behind.
void TestExport::failedWriteIsNoSuccess()
{
    QFETCH(int, format);
    QTemporaryDir dir;
    const TKVG a = normalRecipe();
    const QString target = dir.filePath(QStringLiteral("out"));
    rlimit old{};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &old) == 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{512, old.rlim_max};
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    const ExportOutcome outcome = exportRecipes(ExportFormat(format), {&a}, target);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    QVERIFY(!outcome.ok());
    QVERIFY2(outcome.error.startsWith(QStringLiteral("Could not write ") + target),
             qPrintable(outcome.error));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

void TestExport::exportWindow()
{
    QTemporaryDir dir;
    QWidget owner;
    owner.show();
    const TKVG a = normalRecipe();
    const TKVG b = deluxeRecipe(QString());
    const QString target = dir.filePath(QStringLiteral("recipes.mmf"));
    SetExportWindowHook([&](TFExport& window) {
        window.CBFormat->setCurrentIndex(
            window.CBFormat->findText(QStringLiteral("MealMaster file")));
        window.EZiel->setText(target);
        return true;
    });
    bool modal = false;
    SetExportProgressHook([&](QProgressDialog& progress, int done) {
        modal = progress.parentWidget() == &owner && progress.windowModality() == Qt::WindowModal;
        if (done == 1)
            progress.cancel();
    });
    ExportOutcome outcome = ExportRecipes(&owner, {&a, &b});
    QVERIFY(outcome.cancelled);
    QVERIFY(modal);
    QVERIFY(!QFile::exists(target));

    SetExportProgressHook({});
    outcome = ExportRecipes(&owner, {&a, &b});
    QCOMPARE(outcome.exported, 2);
    QVERIFY(looksLikeMealMaster(QString::fromUtf8(bytesOf(target))));
    SetExportWindowHook({});
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
