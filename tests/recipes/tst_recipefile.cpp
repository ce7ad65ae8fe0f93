// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/daycount.h"
#include "recipes/recipefile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Line numbers of a file written from a record whose lists are all empty.
enum Line {
    KindLine = 2,
    FileNameLine = 3,
    PictureLine = 5,
    NameLine = 6,
    DifficultyLine = 8,
    DevicesLine = 10,
    LastCookedLine = 12,
    DatesCountLine = 13,
    IngredientsCountLine = 14,
};

QByteArray withLine(const QByteArray& bytes, int lineNumber, const QByteArray& text)
{
    QByteArrayList lines = bytes.split('\n');
    lines[lineNumber - 1] = text + '\r';
    return lines.join('\n');
}

// A base folder with the recipe folder and a few interface pictures.
class BaseFolder {
public:
    BaseFolder()
    {
        m_base = m_dir.path() + QLatin1Char('/');
        QDir().mkpath(m_base + QStringLiteral("prepared_recipes"));
        QDir().mkpath(m_base + QStringLiteral("Graphic/PNG/ENG"));
        put(QStringLiteral("Graphic/PNG/ENG/Oven.PNG"), "png");
        put(QStringLiteral("Graphic/PNG/ENG/Hob.png"), "png");
    }
    const QString& base() const { return m_base; }
    QString recipes() const { return m_base + QStringLiteral("prepared_recipes/"); }
    void put(const QString& relative, const QByteArray& bytes) const
    {
        QFile f(m_base + relative);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void putRecipe(const QString& name, const QByteArray& bytes) const
    {
        put(QStringLiteral("prepared_recipes/") + name, bytes);
    }

private:
    QTemporaryDir m_dir;
    QString m_base;
};

TKVG fullRecipe(const QString& folder)
{
    TKVG r;
    r.Kind = 0;
    r.FileName = QStringLiteral("Fish soup.vrez");
    r.FilePath = folder + r.FileName;
    r.PictureFile = QStringLiteral("/pictures/fish.jpg");
    r.Name = "Fish soup \xe0 la m\xe8re";
    r.Categories = "Soups,Fish,";
    r.Difficulty = 3;
    r.PrepTime = "45 min";
    r.Devices = "Hob,Oven,";
    r.Servings = "4";
    r.LastCooked = 45000.5;
    r.CookedDates = {44000.25, 44500.75};
    r.Ingredients = {"1 kg fish", "", "2 onions"};
    r.Instructions = {"Cook it.", "  Serve hot."};
    r.Comments = {"Good in winter"};
    r.Binder = "Blue binder";
    r.Magazine = "";
    r.Book = "Soups of the coast";
    r.Page = "12";
    r.Remark = "Quick \x93"
               "classic\x94";
    r.Quantities = {"1", "2"};
    r.Units = {"kg", ""};
    r.IngredientNames = {"fish", "onions"};
    r.Descriptions = {"cleaned", "chopped"};
    r.QuantitiesRtf = r.FilePath + QStringLiteral(".004");
    r.UnitsRtf = r.FilePath + QStringLiteral(".005");
    r.IngredientNamesRtf = r.FilePath + QStringLiteral(".006");
    r.InstructionsRtf = r.FilePath + QStringLiteral(".003");
    r.DescriptionsRtf = r.FilePath + QStringLiteral(".007");
    r.IngredientsRtf = r.FilePath + QStringLiteral(".002");
    r.CommentsRtf = r.FilePath + QStringLiteral(".001");
    return r;
}

TKV readFolder(const BaseFolder& folder, QList<FileProblem>* problems = nullptr)
{
    TKV kv;
    ReadCatalogue(folder.base(), kv, problems);
    return kv;
}

} // namespace

class TestRecipeFile : public QObject {
    Q_OBJECT
private slots:
    void emptyRecordHas132Lines()
    {
        const QByteArray bytes = recipeFileBytes(TKVG());
        QVERIFY(bytes.endsWith("\r\n"));
        QByteArrayList lines = bytes.split('\n');
        QCOMPARE(lines.takeLast(), QByteArray());
        QCOMPARE(lines.size(), 132);
        for (const QByteArray& line : lines)
            QVERIFY(line.endsWith('\r'));
        for (int i = 32; i < 132; ++i)
            QCOMPARE(lines[i], QByteArray("\r"));
        QCOMPARE(lines[0], QByteArray("[MENDRAKE_TARVOLIN 2.00]\r"));
        QCOMPARE(lines[LastCookedLine - 1], QByteArray(" 0.00000000000000E+0000\r"));
        QCOMPARE(lines[DatesCountLine - 1], QByteArray("0\r"));
    }

    void writtenFileByteForByte()
    {
        TKVG r;
        r.Kind = 1;
        r.FileName = QStringLiteral("Pie.vrez");
        r.FilePath = QStringLiteral("/base/prepared_recipes/Pie.vrez");
        r.Name = "Apple pie";
        r.Categories = "Cakes,";
        r.Difficulty = 2;
        r.LastCooked = 1.5;
        r.CookedDates = {2.25};
        r.Comments = {"Warm", "with cream"};
        r.Page = "7";
        r.Units = {"g"};
        r.UnitsRtf = r.FilePath + QStringLiteral(".005");
        const QByteArray expected =
            "[MENDRAKE_TARVOLIN 2.00]\r\n1\r\nPie.vrez\r\n/base/prepared_recipes/Pie.vrez\r\n"
            "\r\nApple pie\r\nCakes,\r\n2\r\n\r\n\r\n\r\n 1.50000000000000E+0000\r\n"
            "1\r\n 2.25000000000000E+0000\r\n0\r\n0\r\n2\r\nWarm\r\nwith cream\r\n"
            "\r\n\r\n\r\n7\r\n\r\n0\r\n1\r\ng\r\n0\r\n0\r\n"
            "\r\n/base/prepared_recipes/Pie.vrez.005\r\n\r\n\r\n\r\n\r\n\r\n" +
            QByteArray(200, '\n').replace("\n", "\r\n").left(200);
        QCOMPARE(recipeFileBytes(r), expected);
    }

    void writeAndReadBack()
    {
        BaseFolder folder;
        TKV kv{fullRecipe(folder.recipes())};
        QString error;
        QCOMPARE(WriteRecipeFile(kv, 0, &error), 0);
        QList<FileProblem> problems;
        const TKV read = readFolder(folder, &problems);
        QVERIFY(problems.isEmpty());
        QCOMPARE(read.size(), 1);
        const TKVG& a = kv[0];
        const TKVG& b = read[0];
        QCOMPARE(b.Kind, a.Kind);
        QCOMPARE(b.FileName, a.FileName);
        QCOMPARE(b.FilePath, a.FilePath);
        QCOMPARE(b.PictureFile, a.PictureFile);
        QCOMPARE(b.Name, a.Name);
        QCOMPARE(b.Categories, a.Categories);
        QCOMPARE(b.Difficulty, a.Difficulty);
        QCOMPARE(b.PrepTime, a.PrepTime);
        QCOMPARE(b.Devices, a.Devices);
        QCOMPARE(b.Servings, a.Servings);
        QCOMPARE(b.LastCooked, a.LastCooked);
        QCOMPARE(b.CookedDates, a.CookedDates);
        QCOMPARE(b.Ingredients, a.Ingredients);
        QCOMPARE(b.Instructions, a.Instructions);
        QCOMPARE(b.Comments, a.Comments);
        QCOMPARE((QByteArrayList{b.Binder, b.Magazine, b.Book, b.Page, b.Remark}),
                 (QByteArrayList{a.Binder, a.Magazine, a.Book, a.Page, a.Remark}));
        QCOMPARE(b.Quantities, a.Quantities);
        QCOMPARE(b.Units, a.Units);
        QCOMPARE(b.IngredientNames, a.IngredientNames);
        QCOMPARE(b.Descriptions, a.Descriptions);
        QCOMPARE((QStringList{b.QuantitiesRtf, b.UnitsRtf, b.IngredientNamesRtf, b.InstructionsRtf,
                              b.DescriptionsRtf, b.IngredientsRtf, b.CommentsRtf}),
                 (QStringList{a.QuantitiesRtf, a.UnitsRtf, a.IngredientNamesRtf, a.InstructionsRtf,
                              a.DescriptionsRtf, a.IngredientsRtf, a.CommentsRtf}));
        QCOMPARE(b.ListIndex, 0);

        // Writing what was read gives the same bytes.
        QFile file(a.FilePath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(recipeFileBytes(b), file.readAll());
    }

    void lineBreaksInTextsCannotShiftTheFile()
    {
        BaseFolder folder;
        TKV kv(1);
        kv[0].FilePath = folder.recipes() + QStringLiteral("r.vrez");
        kv[0].Name = "Two\r\nlines";
        kv[0].Quantities = {"1", "\r", "2"}; // a mirrored new line is a lone CR
        kv[0].Units = {"g", "", "ml"};
        kv[0].Remark = "after";
        QCOMPARE(WriteRecipeFile(kv, 0), 0);
        QList<FileProblem> problems;
        const TKV read = readFolder(folder, &problems);
        QVERIFY(problems.isEmpty());
        QCOMPARE(read.size(), 1);
        QCOMPARE(read[0].Name, QByteArray("Twolines"));
        QCOMPARE(read[0].Quantities.toList(), (QByteArrayList{"1", "", "2"}));
        QCOMPARE(read[0].Units.toList(), (QByteArrayList{"g", "", "ml"}));
        QCOMPARE(read[0].Remark, QByteArray("after"));
    }

    void kindFollowsTheColumns_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("normalLines");
        QTest::addColumn<bool>("deluxeLines");
        QTest::addColumn<int>("written");
        QTest::newRow("only a unit line makes it deluxe") << 0 << false << true << 1;
        QTest::newRow("deluxe without columns becomes normal") << 1 << true << false << 0;
        QTest::newRow("empty deluxe becomes normal") << 1 << false << false << 0;
        QTest::newRow("both kinds of lines keep normal") << 0 << true << true << 0;
        QTest::newRow("both kinds of lines keep deluxe") << 1 << true << true << 1;
        QTest::newRow("empty normal stays") << 0 << false << false << 0;
    }
    void kindFollowsTheColumns()
    {
        QFETCH(int, kind);
        QFETCH(bool, normalLines);
        QFETCH(bool, deluxeLines);
        QFETCH(int, written);
        QTemporaryDir dir;
        TKV kv(1);
        kv[0].Kind = kind;
        kv[0].FilePath = dir.path() + QStringLiteral("/r.vrez");
        if (normalLines)
            kv[0].Ingredients = {"salt"};
        if (deluxeLines)
            kv[0].Units = {"g"};
        QCOMPARE(WriteRecipeFile(kv, 0), 0);
        QCOMPARE(kv[0].Kind, written);
        QFile file(kv[0].FilePath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().split('\n').at(KindLine - 1), QByteArray::number(written) + '\r');
    }

    void writeFailures()
    {
        TKV kv(1);
        QCOMPARE(WriteRecipeFile(kv, -1), -1);
        QCOMPARE(WriteRecipeFile(kv, 1), -1);
        QTemporaryDir dir;
        kv[0].FilePath = dir.path() + QStringLiteral("/missing/Soup.vrez");
        QString error;
        QCOMPARE(WriteRecipeFile(kv, 0, &error), -2);
        QVERIFY2(error.contains(QLatin1String("Soup.vrez")), qPrintable(error));
    }

    void readingRules_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::newRow("difficulty above 5") << int(DifficultyLine) << QByteArray("9")
                                            << QStringLiteral("Difficulty") << QStringLiteral("5");
        QTest::newRow("difficulty 0") << int(DifficultyLine) << QByteArray("0")
                                      << QStringLiteral("Difficulty") << QStringLiteral("1");
        QTest::newRow("difficulty -3") << int(DifficultyLine) << QByteArray("-3")
                                       << QStringLiteral("Difficulty") << QStringLiteral("1");
        QTest::newRow("number with words") << int(DifficultyLine) << QByteArray("4 stars")
                                           << QStringLiteral("Difficulty") << QStringLiteral("4");
        QTest::newRow("stored file name ignored")
            << int(FileNameLine) << QByteArray("Other.vrez") << QStringLiteral("FileName")
            << QStringLiteral("Test.vrez");
        QTest::newRow("devices normalised")
            << int(DevicesLine) << QByteArray(" Oven , Hob") << QStringLiteral("Devices")
            << QStringLiteral("Oven,Hob,");
        QTest::newRow("first device found in any case")
            << int(DevicesLine) << QByteArray("hob,") << QStringLiteral("Devices")
            << QStringLiteral("hob,");
        QTest::newRow("first device without picture")
            << int(DevicesLine) << QByteArray("Oven,Blender,") << QStringLiteral("Devices")
            << QString();
        QTest::newRow("ordinary picture kept")
            << int(PictureLine) << QByteArray("/p/pie.png") << QStringLiteral("PictureFile")
            << QStringLiteral("/p/pie.png");
    }
    void readingRules()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, text);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        BaseFolder folder;
        TKVG r;
        r.Name = "Test";
        r.Difficulty = 2;
        r.LastCooked = 100;
        folder.putRecipe(QStringLiteral("Test.vrez"), withLine(recipeFileBytes(r), line, text));
        const TKV kv = readFolder(folder);
        QCOMPARE(kv.size(), 1);
        const TKVG& read = kv[0];
        QString actual;
        if (field == QLatin1String("Difficulty"))
            actual = QString::number(read.Difficulty);
        else if (field == QLatin1String("FileName"))
            actual = read.FileName;
        else if (field == QLatin1String("Devices"))
            actual = QString::fromLatin1(read.Devices);
        else if (field == QLatin1String("PictureFile"))
            actual = read.PictureFile;
        QCOMPARE(actual, expected);
        QCOMPARE(read.FilePath, folder.recipes() + QStringLiteral("Test.vrez"));
    }

    void zeroDateBecomesNow()
    {
        BaseFolder folder;
        folder.putRecipe(QStringLiteral("a.vrez"), recipeFileBytes(TKVG()));
        const double before = currentDayCount();
        const TKV kv = readFolder(folder);
        QCOMPARE(kv.size(), 1);
        QVERIFY(kv[0].LastCooked >= before && kv[0].LastCooked - before < 1.0 / 24);
    }

    void samplePicturesPointIntoTheBaseFolder_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<bool>("pictureExists");
        QTest::addColumn<QString>("expected");
        const QString old = QStringLiteral("C:\\Programs\\Graphic\\PNG\\x.png");
        QTest::newRow("strawberry")
            << QStringLiteral("Strawberry Birthday Cake.vrez") << old << true
            << QStringLiteral("Graphic/PNG/Erdbeer_Marzipan_Torte.png");
        QTest::newRow("marzipan") << QStringLiteral("Marzipan-Erdbeer-Torte.vrez") << old << true
                                  << QStringLiteral("Graphic/PNG/Erdbeer_Marzipan_Torte.png");
        QTest::newRow("chili") << QStringLiteral("Easy Chili Con Carne.vrez") << old << true
                               << QStringLiteral("Graphic/PNG/ChiliconCarneschnell.png");
        QTest::newRow("chili, german")
            << QStringLiteral("Chili con Carne (schnell).vrez") << old << true
            << QStringLiteral("Graphic/PNG/ChiliconCarneschnell.png");
        QTest::newRow("no picture set")
            << QStringLiteral("Easy Chili Con Carne.vrez") << QString() << true << QString();
        QTest::newRow("picture missing")
            << QStringLiteral("Easy Chili Con Carne.vrez") << old << false << old;
        QTest::newRow("other recipe") << QStringLiteral("Chili.vrez") << old << true << old;
    }
    void samplePicturesPointIntoTheBaseFolder()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, picture);
        QFETCH(bool, pictureExists);
        QFETCH(QString, expected);
        BaseFolder folder;
        if (pictureExists) {
            folder.put(QStringLiteral("Graphic/PNG/Erdbeer_Marzipan_Torte.png"), "png");
            folder.put(QStringLiteral("Graphic/PNG/ChiliconCarneschnell.png"), "png");
        }
        TKVG r;
        r.PictureFile = picture;
        folder.putRecipe(fileName, recipeFileBytes(r));
        const TKV kv = readFolder(folder);
        QCOMPARE(kv.size(), 1);
        const QString wanted =
            expected.startsWith(QLatin1String("Graphic")) ? folder.base() + expected : expected;
        QCOMPARE(kv[0].PictureFile, wanted);
    }

    void onlyCurrentFilesAreRead()
    {
        BaseFolder folder;
        TKVG r;
        r.Name = "Current";
        folder.putRecipe(QStringLiteral("current.vrez"), recipeFileBytes(r));
        folder.putRecipe(QStringLiteral("old.vrez"), "[MENDRAKE_TARVOLIN 1.5]\r\nOld\r\n");
        folder.putRecipe(QStringLiteral("empty.vrez"), QByteArray());
        folder.putRecipe(QStringLiteral("header with blank.vrez"),
                         "[MENDRAKE_TARVOLIN 2.00] \r\n0\r\n");
        folder.putRecipe(QStringLiteral("lower case.vrez"), "[mendrake_tarvolin 2.00]\r\n0\r\n");
        folder.putRecipe(QStringLiteral("current.txt"), recipeFileBytes(r));
        QList<FileProblem> problems;
        const TKV kv = readFolder(folder, &problems);
        QCOMPARE(kv.size(), 1);
        QCOMPARE(kv[0].Name, QByteArray("Current"));
        QVERIFY(problems.isEmpty());
    }

    void bareLineFeedsAreAccepted()
    {
        BaseFolder folder;
        TKVG r;
        r.Name = "Unix";
        r.Comments = {"one", "two"};
        folder.putRecipe(QStringLiteral("u.vrez"), recipeFileBytes(r).replace("\r\n", "\n"));
        const TKV kv = readFolder(folder);
        QCOMPARE(kv.size(), 1);
        QCOMPARE(kv[0].Name, QByteArray("Unix"));
        QCOMPARE(kv[0].Comments.toList(), (QByteArrayList{"one", "two"}));
    }

    void malformedFilesAreReportedAndSkipped_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("reportedLine");
        QTest::newRow("kind is a word") << int(KindLine) << QByteArray("deluxe") << 2;
        QTest::newRow("difficulty 12a") << int(DifficultyLine) << QByteArray("12a") << 8;
        QTest::newRow("date with comma") << int(LastCookedLine) << QByteArray("1,5") << 12;
        QTest::newRow("negative count") << int(IngredientsCountLine) << QByteArray("-2") << 14;
        // An empty number line is skipped over like a line break, so the reader takes
        // the next line as the number, as the format's readers always did.
        QTest::newRow("empty kind line") << int(KindLine) << QByteArray() << 3;
    }
    void malformedFilesAreReportedAndSkipped()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, text);
        QFETCH(int, reportedLine);
        BaseFolder folder;
        TKVG good;
        good.Name = "Good";
        good.FileName = QStringLiteral("x.vrez");
        folder.putRecipe(QStringLiteral("good.vrez"), recipeFileBytes(good));
        folder.putRecipe(QStringLiteral("bad.vrez"), withLine(recipeFileBytes(good), line, text));
        QList<FileProblem> problems;
        const TKV kv = readFolder(folder, &problems);
        QCOMPARE(kv.size(), 1);
        QCOMPARE(kv[0].FileName, QStringLiteral("good.vrez"));
        QCOMPARE(problems.size(), 1);
        QCOMPARE(problems[0].file, folder.recipes() + QStringLiteral("bad.vrez"));
        QCOMPARE(problems[0].line, reportedLine);
        const QString shown = problems[0].toString();
        QVERIFY2(shown.contains(QLatin1String("bad.vrez")) &&
                     shown.contains(QStringLiteral("line %1").arg(reportedLine)),
                 qPrintable(shown));
    }

    void unreadableFileIsReported()
    {
        if (::geteuid() == 0)
            QSKIP("root reads every file");
        BaseFolder folder;
        folder.putRecipe(QStringLiteral("good.vrez"), recipeFileBytes(TKVG()));
        folder.putRecipe(QStringLiteral("locked.vrez"), recipeFileBytes(TKVG()));
        QFile::setPermissions(folder.recipes() + QStringLiteral("locked.vrez"), {});
        QList<FileProblem> problems;
        const TKV kv = readFolder(folder, &problems);
        QCOMPARE(kv.size(), 1);
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems[0].toString().contains(QLatin1String("locked.vrez")));
    }

    void pipesAndDanglingLinksAreNotOpened()
    {
        BaseFolder folder;
        folder.putRecipe(QStringLiteral("good.vrez"), recipeFileBytes(TKVG()));
        const QByteArray fifo = QFile::encodeName(folder.recipes() + QStringLiteral("pipe.vrez"));
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        QVERIFY(QFile::link(folder.recipes() + QStringLiteral("gone.txt"),
                            folder.recipes() + QStringLiteral("dangling.vrez")));
        QList<FileProblem> problems;
        const TKV kv = readFolder(folder, &problems); // would block on the pipe
        QCOMPARE(kv.size(), 1);
        QVERIFY(problems.isEmpty());
    }

    // The export visits records one at a time; it must meet them in the list's order,
    // equal names in folder order, and skip what the catalogue read skips.
    void recipesAreVisitedInListOrder()
    {
        BaseFolder folder;
        for (const char* name : {"Stew", "Apple pie", "Stew", "apple pie", "Apple pie"}) {
            TKVG r;
            r.Name = name;
            folder.putRecipe(QStringLiteral("%1.vrez").arg(QRandomGenerator::global()->generate()),
                             recipeFileBytes(r));
        }
        folder.putRecipe(QStringLiteral("bad.vrez"), "[MENDRAKE_TARVOLIN 2.00]\r\nnot a kind\r\n");
        TKV kv = readFolder(folder);
        SortByName(kv);
        QStringList expected;
        for (const TKVG& r : kv)
            expected << r.FileName;
        QStringList visited;
        QList<FileProblem> problems;
        ForEachRecipeByName(folder.base(), &problems,
                            [&visited](const TKVG& r) { visited << r.FileName; });
        QCOMPARE(visited, expected);
        QCOMPARE(problems.size(), 1);
    }

    void namesThatAreNotUtf8AreReportedByName()
    {
        BaseFolder folder;
        folder.putRecipe(QStringLiteral("good.vrez"), recipeFileBytes(TKVG()));
        // "Kn\xf6del.vrez" as an old archive wrote it: Latin-1, not UTF-8.
        const QByteArray name = QFile::encodeName(folder.recipes()) + "Kn\xf6"
                                                                      "del.vrez";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
        QList<FileProblem> problems;
        QCOMPARE(readFolder(folder, &problems).size(), 1);
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems[0].toString().contains(QStringLiteral("Kn\u00f6del.vrez")),
                 qPrintable(problems[0].toString()));
    }

    void hugeCountEndsAtTheEndOfTheFile()
    {
        BaseFolder folder;
        QByteArray bytes = recipeFileBytes(TKVG());
        bytes = withLine(bytes, IngredientsCountLine, "2000000000");
        bytes.truncate(bytes.indexOf("\r\n", bytes.indexOf("2000000000")) + 2);
        bytes += "flour\r\nsugar\r\n";
        folder.putRecipe(QStringLiteral("huge.vrez"), bytes);
        QList<FileProblem> problems;
        const TKV kv = readFolder(folder, &problems);
        QVERIFY(problems.isEmpty());
        QCOMPARE(kv.size(), 1);
        QCOMPARE(kv[0].Ingredients.toList(), (QByteArrayList{"flour", "sugar"}));
        QVERIFY(kv[0].Instructions.isEmpty());

        // The same for the list of cooking dates.
        QByteArray dates = withLine(recipeFileBytes(TKVG()), DatesCountLine, "2000000000");
        dates.truncate(dates.indexOf("2000000000") + 12);
        dates += " 3.0E+0000\r\n";
        folder.putRecipe(QStringLiteral("huge.vrez"), dates);
        const TKV kv2 = readFolder(folder, &problems);
        QCOMPARE(kv2.size(), 1);
        QCOMPARE(kv2[0].CookedDates, (TTDATE{3.0}));
    }

    void fileEndingEarlyReadsAsEmpty()
    {
        BaseFolder folder;
        folder.putRecipe(QStringLiteral("short.vrez"),
                         "[MENDRAKE_TARVOLIN 2.00]\r\n1\r\nshort.vrez\r\n\r\n\r\nShort\r\n");
        folder.putRecipe(QStringLiteral("header only.vrez"), "[MENDRAKE_TARVOLIN 2.00]");
        QList<FileProblem> problems;
        TKV kv = readFolder(folder, &problems);
        QVERIFY(problems.isEmpty());
        QCOMPARE(kv.size(), 2);
        SortByName(kv);
        QCOMPARE(kv[1].Name, QByteArray("Short"));
        QCOMPARE(kv[1].Kind, 1);
        QCOMPARE(kv[1].Difficulty, 1);
        QVERIFY(kv[1].LastCooked > 0);
        QVERIFY(kv[1].Ingredients.isEmpty() && kv[1].CommentsRtf.isEmpty());
        QCOMPARE(kv[0].Kind, 0);
    }

    void missingRecipeFolderGivesAnEmptyCatalogue()
    {
        QTemporaryDir dir;
        TKV kv(3);
        ReadCatalogue(dir.path() + QLatin1Char('/'), kv);
        QVERIFY(kv.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRecipeFile)
#include "tst_recipefile.moc"
