// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/recipefile.h"
#include "recipes/upgrade.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray crlf(const QByteArrayList& lines)
{
    return lines.join("\r\n") + "\r\n";
}

// An old file with the given categories and deluxe columns; with plainTexts false its
// ingredients and instructions are empty.
QByteArray oldFile(const QByteArray& categories, const QByteArrayList& quantities,
                   const QByteArrayList& units, bool plainTexts = true)
{
    QByteArrayList lines{"[MENDRAKE_TARVOLIN 1.5]",
                         "Old soup",
                         "C:\\pics\\soup.bmp",
                         categories,
                         "3",
                         "dropped",
                         "1 h",
                         "Hob,",
                         "4",
                         "2",
                         "water",
                         "salt",
                         "1",
                         "Boil.",
                         "0",
                         "Binder",
                         "",
                         "",
                         "5",
                         "Remark"};
    if (!plainTexts) { // the counts and lines of ingredients and instructions
        lines.remove(9, 5);
        lines.insert(9, 2, "0");
    }
    lines << QByteArray::number(quantities.size()) << quantities;
    lines << QByteArray::number(units.size()) << units;
    lines << "0"
          << "-1";
    return crlf(lines);
}

class Folder {
public:
    Folder()
    {
        base = dir.path() + QLatin1Char('/');
        QDir().mkpath(base + QStringLiteral("prepared_recipes"));
    }
    QString path(const QString& name) const
    {
        return base + QStringLiteral("prepared_recipes/") + name;
    }
    void put(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray get(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
    QString base;
};

// Old files are converted by the start-up read of the catalogue, as they are met.
void upgrade(const QString& base, QList<FileProblem>* problems = nullptr)
{
    TKV kv;
    ReadCatalogue(base, kv, problems, OldFiles::Convert);
}

} // namespace

class TestUpgrade : public QObject {
    Q_OBJECT
private slots:
    void oldFileIsConvertedInPlace()
    {
        Folder folder;
        folder.put(QStringLiteral("Soup.vrez"), oldFile(" Soups , Starters", {"1", "2"}, {}));
        QList<FileProblem> problems;
        upgrade(folder.base, &problems);
        QVERIFY(problems.isEmpty());

        const QByteArray bytes = folder.get(QStringLiteral("Soup.vrez"));
        QVERIFY(bytes.startsWith("[MENDRAKE_TARVOLIN 2.00]\r\n1\r\nSoup.vrez\r\n"));
        QVERIFY(bytes.contains("\r\nSoups,Starters\r\n"));
        QVERIFY(bytes.contains("\r\n 0.00000000000000E+0000\r\n0\r\n"));

        TKVG r;
        FileProblem problem;
        QVERIFY(parseRecipeFile(bytes, r, &problem));
        QCOMPARE(r.Kind, 1);
        QCOMPARE(r.FilePath, folder.path(QStringLiteral("Soup.vrez")));
        QCOMPARE(r.Name, QByteArray("Old soup"));
        QCOMPARE(r.PictureFile, QStringLiteral("C:\\pics\\soup.bmp"));
        QCOMPARE(r.Categories, QByteArray("Soups,Starters"));
        QCOMPARE(r.Difficulty, 3);
        QCOMPARE(r.PrepTime, QByteArray("1 h"));
        QCOMPARE(r.Devices, QByteArray("Hob,"));
        QCOMPARE(r.Servings, QByteArray("4"));
        QCOMPARE(r.LastCooked, 0.0);
        QVERIFY(r.CookedDates.isEmpty());
        QCOMPARE(r.Ingredients.toList(), (QByteArrayList{"water", "salt"}));
        QCOMPARE(r.Instructions.toList(), (QByteArrayList{"Boil."}));
        QVERIFY(r.Comments.isEmpty());
        QCOMPARE(r.Binder, QByteArray("Binder"));
        QCOMPARE(r.Page, QByteArray("5"));
        QCOMPARE(r.Remark, QByteArray("Remark"));
        QCOMPARE(r.Quantities.toList(), (QByteArrayList{"1", "2"}));
        QVERIFY(r.Descriptions.isEmpty()); // a negative count is an empty list here
        QVERIFY(r.QuantitiesRtf.isEmpty() && r.CommentsRtf.isEmpty());

        // The catalogue now finds it, with the zero date turned into today.
        TKV kv;
        ReadCatalogue(folder.base, kv);
        QCOMPARE(kv.size(), 1);
        QVERIFY(kv[0].LastCooked > 0);
    }

    void kindComesFromTheQuantities_data()
    {
        QTest::addColumn<QByteArrayList>("quantities");
        QTest::addColumn<QByteArrayList>("units");
        QTest::addColumn<bool>("plainTexts");
        QTest::addColumn<int>("kind");
        QTest::newRow("quantities") << QByteArrayList{"1"} << QByteArrayList{} << true << 1;
        QTest::newRow("only units") << QByteArrayList{} << QByteArrayList{"g"} << true << 0;
        // Saving would make this one deluxe; the conversion does not.
        QTest::newRow("only units, no plain texts")
            << QByteArrayList{} << QByteArrayList{"g"} << false << 0;
        QTest::newRow("none") << QByteArrayList{} << QByteArrayList{} << true << 0;
    }
    void kindComesFromTheQuantities()
    {
        QFETCH(QByteArrayList, quantities);
        QFETCH(QByteArrayList, units);
        QFETCH(bool, plainTexts);
        QFETCH(int, kind);
        const QByteArray old = oldFile("Soups", quantities, units, plainTexts);
        TKVG r;
        QVERIFY(parseOldRecipeFile(old, r, nullptr));
        QCOMPARE(r.Kind, kind);
        QCOMPARE(r.Ingredients.isEmpty(), !plainTexts);
        // The conversion writes the kind as it is, without normalising it again.
        Folder folder;
        folder.put(QStringLiteral("old.vrez"), old);
        upgrade(folder.base);
        QCOMPARE(folder.get(QStringLiteral("old.vrez")).split('\n').at(1),
                 QByteArray::number(kind) + '\r');
    }

    void otherFilesAreUntouched()
    {
        Folder folder;
        TKVG current;
        current.Name = "New";
        const QByteArray currentBytes = recipeFileBytes(current);
        folder.put(QStringLiteral("current.vrez"), currentBytes);
        folder.put(QStringLiteral("empty.vrez"), QByteArray());
        folder.put(QStringLiteral("other.vrez"), "[MENDRAKE_TARVOLIN 1.4]\r\nx\r\n");
        folder.put(QStringLiteral("old.txt"), oldFile("a", {}, {}));
        folder.put(QStringLiteral("old.vrez"), oldFile("a", {}, {}));
        upgrade(folder.base);
        QCOMPARE(folder.get(QStringLiteral("current.vrez")), currentBytes);
        QCOMPARE(folder.get(QStringLiteral("empty.vrez")), QByteArray());
        QCOMPARE(folder.get(QStringLiteral("other.vrez")),
                 QByteArray("[MENDRAKE_TARVOLIN 1.4]\r\nx\r\n"));
        QCOMPARE(folder.get(QStringLiteral("old.txt")), oldFile("a", {}, {}));

        // A second run changes nothing.
        const QByteArray converted = folder.get(QStringLiteral("old.vrez"));
        QVERIFY(converted.startsWith(kRecipeHeader));
        upgrade(folder.base);
        QCOMPARE(folder.get(QStringLiteral("old.vrez")), converted);
    }

    void damagedOldFileIsReportedAndKept()
    {
        Folder folder;
        QByteArray damaged = oldFile("a", {}, {});
        damaged.replace("\r\n3\r\n", "\r\nthree\r\n");
        folder.put(QStringLiteral("damaged.vrez"), damaged);
        folder.put(QStringLiteral("fine.vrez"), oldFile("a", {}, {}));
        QList<FileProblem> problems;
        upgrade(folder.base, &problems);
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems[0].toString().contains(QLatin1String("damaged.vrez")));
        QCOMPARE(problems[0].line, 5);
        QCOMPARE(folder.get(QStringLiteral("damaged.vrez")), damaged);
        QVERIFY(folder.get(QStringLiteral("fine.vrez")).startsWith(kRecipeHeader));
    }

    void shortOldFileConvertsWithEmptyFields()
    {
        TKVG r;
        QVERIFY(parseOldRecipeFile("[MENDRAKE_TARVOLIN 1.5]\r\nOnly a name\r\n", r, nullptr));
        QCOMPARE(r.Name, QByteArray("Only a name"));
        QCOMPARE(r.Kind, 0);
        QVERIFY(r.Ingredients.isEmpty());
        QVERIFY(!parseOldRecipeFile("[MENDRAKE_TARVOLIN 1.50]\r\n", r, nullptr));
    }
};

QTEST_GUILESS_MAIN(TestUpgrade)
#include "tst_upgrade.moc"
