#include "app/commandline.h"
#include "recipes/recipefile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace {

void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct Run {
    int code = 0;
    QString out;
    QString err;
};

Run run(const QStringList& arguments)
{
    Run result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.code = runCommandLine(QStringList{QStringLiteral("dilboscan")} + arguments, out, err);
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
        put(recipes + QStringLiteral("gratin.vrez"), recipeFileBytes(r));
        put(recipes + QStringLiteral("old.vrez"),
            "[MENDRAKE_TARVOLIN 1.5]\r\nApple pie\r\n\r\nCakes\r\n9\r\n\r\n\r\n\r\n\r\n"
            "1\r\nApples\r\n0\r\n0\r\n\r\n\r\n\r\n\r\n\r\n0\r\n0\r\n0\r\n0\r\n");
        put(recipes + QStringLiteral("broken.vrez"), "[MENDRAKE_TARVOLIN 2.00]\r\nnot a kind\r\n");

        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(base));
        const Run result = run({QStringLiteral("--export-json")});
        QDir::setCurrent(previous);

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
        QCOMPARE(gratin.keys().size(), 31);
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
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
