// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/session.h"
#include "recipes/catalogueupdate.h"
#include "recipes/recipefile.h"
#include "recipes/searchindex.h"
#include "tests/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

// The catalogue and search index brought up to date file by file must equal what a
// full reload of the folder gives: the same records in name order, and the same
// answers to every search.

namespace {

enum Change {
    AddFile,
    AddAtTheEnd,
    ChangeInPlace,
    ChangeName,
    RemoveFile,
    RenameFile,
    SpoilFile,
    WriteSameBytes,
    NotARecipe,
    ManyAtOnce,
};

TKVG recipe(const QByteArray& name, const QByteArray& instructions)
{
    TKVG r;
    r.Name = name;
    r.Categories = "Soups,";
    r.Difficulty = 2;
    r.LastCooked = 45000; // a file without a date is read as today, which moves on
    r.Instructions = {instructions};
    r.Ingredients = {"water", "salt"};
    return r;
}

class Folder {
public:
    Folder()
    {
        base = dir.path() + QLatin1Char('/');
        recipes = recipeFolder(base);
        put(QStringLiteral("a.vrez"), recipe("Apple pie", "Bake it."));
        put(QStringLiteral("b.vrez"), recipe("Beef stew", "Stew the beef."));
        put(QStringLiteral("c.vrez"), recipe("Carrot soup", "Boil the carrots."));
        put(QStringLiteral("c2.vrez"), recipe("Carrot soup", "Roast, then boil."));
        put(QStringLiteral("d.vrez"), recipe("Dumplings", "Steam them."));
    }
    void put(const QString& name, const TKVG& r) { putFile(recipes + name, recipeFileBytes(r)); }

    QTemporaryDir dir;
    QString base;
    QString recipes;
};

// Every record's identity and content, by file, for comparing two catalogues whose
// records of equal names may stand in another order.
QStringList describe(const TKV& kv)
{
    QStringList out;
    for (const TKVG& r : kv)
        out << r.FilePath + QLatin1Char('|') + QString::fromLatin1(recipeFileBytes(r).toHex()) +
                   QLatin1Char('|') + QString::number(r.Stored ? r.Stored->hash : 0);
    out.sort();
    return out;
}

QStringList hits(SearchIndex& index, const TKV& kv, const QByteArray& text)
{
    QStringList out;
    index.find(text).forEach([&](int i) { out << kv.at(i).FilePath; });
    out.sort();
    return out;
}

} // namespace

class CatalogueUpdateTest : public QObject {
    Q_OBJECT
private slots:
    void followsTheFolder_data();
    void followsTheFolder();
    void searchLinesNotPreparedYet();
};

void CatalogueUpdateTest::followsTheFolder_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<double>("budget"); // of the search index: 0 checks records on lines
    QTest::addColumn<QList<int>>("counts"); // added, changed, removed
    QTest::addColumn<int>("problems");
    const QList<std::tuple<const char*, int, QList<int>, int>> rows = {
        {"a new file", AddFile, {1, 0, 0}, 0},
        {"a new file after every other", AddAtTheEnd, {1, 0, 0}, 0},
        {"a file changed", ChangeInPlace, {0, 1, 0}, 0},
        {"a recipe renamed inside", ChangeName, {0, 1, 0}, 0},
        {"a file removed", RemoveFile, {0, 0, 1}, 0},
        {"a file renamed", RenameFile, {1, 0, 1}, 0},
        {"a file spoilt", SpoilFile, {0, 0, 1}, 1},
        {"the same bytes again", WriteSameBytes, {0, 0, 0}, 0},
        {"not a recipe file", NotARecipe, {0, 0, 0}, 0},
        {"many at once", ManyAtOnce, {300, 1, 1}, 0},
    };
    for (const auto& [tag, change, counts, problems] : rows) {
        for (double budget : {1.0, 0.0})
            QTest::addRow("%s, budget %g", tag, budget) << change << budget << counts << problems;
    }
}

void CatalogueUpdateTest::followsTheFolder()
{
    QFETCH(int, change);
    QFETCH(double, budget);
    QFETCH(QList<int>, counts);
    QFETCH(int, problems);
    Folder folder;
    setBaseFolder(folder.base);
    TKV kv;
    ReadCatalogue(folder.base, kv);
    SortByName(kv);
    SearchIndex index({budget, true});
    index.rebuild(kv);
    index.noteSortedByName(kv);
    QCOMPARE(index.find("BOIL").count(), 2); // results the index may keep and reuse

    QStringList names;
    switch (change) {
    case AddFile:
        folder.put(QStringLiteral("n.vrez"), recipe("Bread", "Knead with saffron."));
        names << QStringLiteral("n.vrez");
        break;
    case AddAtTheEnd:
        folder.put(QStringLiteral("z.vrez"), recipe("Zucchini", "Boil with saffron."));
        names << QStringLiteral("z.vrez");
        break;
    case ChangeInPlace:
        folder.put(QStringLiteral("c.vrez"), recipe("Carrot soup", "Saffron, no boiling."));
        names << QStringLiteral("c.vrez");
        break;
    case ChangeName:
        folder.put(QStringLiteral("a.vrez"), recipe("Walnut cake", "Bake with saffron."));
        names << QStringLiteral("a.vrez");
        break;
    case RemoveFile:
        QVERIFY(QFile::remove(folder.recipes + QStringLiteral("b.vrez")));
        names << QStringLiteral("b.vrez");
        break;
    case RenameFile:
        QVERIFY(QFile::rename(folder.recipes + QStringLiteral("c.vrez"),
                              folder.recipes + QStringLiteral("e.vrez")));
        names << QStringLiteral("c.vrez") << QStringLiteral("e.vrez");
        break;
    case SpoilFile:
        putFile(folder.recipes + QStringLiteral("c.vrez"),
                QByteArray(kRecipeHeader) + "\r\nnot a number\r\n");
        names << QStringLiteral("c.vrez");
        break;
    case WriteSameBytes:
        putFile(folder.recipes + QStringLiteral("d.vrez"),
                fileBytes(folder.recipes + QStringLiteral("d.vrez")));
        names << QStringLiteral("d.vrez");
        break;
    case NotARecipe:
        putFile(folder.recipes + QStringLiteral("notes.txt"), "Boil everything.");
        putFile(folder.recipes + QStringLiteral("old.vrez"), "[not a recipe file]\r\n");
        names << QStringLiteral("notes.txt") << QStringLiteral("old.vrez")
              << QStringLiteral("missing.vrez");
        break;
    case ManyAtOnce:
        for (int i = 0; i < 300; ++i) {
            const QString name = QStringLiteral("m%1.vrez").arg(i);
            // Some share a name with a recipe that is there, some with each other.
            const QByteArray title = i % 3 == 0 ? QByteArray("Carrot soup")
                                                : "Soup " + QByteArray::number(i % 100);
            folder.put(name, recipe(title, i % 2 ? "Boil." : "Saffron."));
            names << name;
        }
        QVERIFY(QFile::remove(folder.recipes + QStringLiteral("b.vrez")));
        folder.put(QStringLiteral("d.vrez"), recipe("Dumplings", "Steam with saffron."));
        names << QStringLiteral("b.vrez") << QStringLiteral("d.vrez") << names.first();
        break;
    }

    const CatalogueUpdate update = UpdateCatalogueFromFiles(folder.base, kv, &index, names);
    QCOMPARE((QList<int>{update.added, update.changed, update.removed}), counts);
    QCOMPARE(update.problems.size(), problems);
    QVERIFY(std::is_sorted(kv.cbegin(), kv.cend(),
                           [](const TKVG& a, const TKVG& b) { return a.Name < b.Name; }));
    QVERIFY(index.fits(kv));
    QVERIFY(index.knowsSortedByName(kv));

    TKV reloaded;
    ReadCatalogue(folder.base, reloaded);
    SortByName(reloaded);
    QCOMPARE(describe(kv), describe(reloaded));
    SearchIndex fresh({budget, true});
    fresh.rebuild(reloaded);
    for (const char* text : {"SAFFRON", "boil", "carrot soup", "S", "stew", "e"})
        QCOMPARE(hits(index, kv, text), hits(fresh, reloaded, text));
    if (budget == 0) { // the lines a record is checked on
        for (int i = 0; i < kv.size(); ++i) {
            const int j = int(std::find_if(reloaded.cbegin(), reloaded.cend(),
                                           [&](const TKVG& r) {
                                               return r.FilePath == kv[i].FilePath;
                                           }) -
                              reloaded.cbegin());
            QCOMPARE(index.lines(i).toByteArray(), fresh.lines(j).toByteArray());
        }
    }
}

void CatalogueUpdateTest::searchLinesNotPreparedYet()
{
    // Right after a reload the lines are not prepared: they are, from the catalogue as
    // it is then, at the first search.
    Folder folder;
    setBaseFolder(folder.base);
    TKV kv;
    ReadCatalogue(folder.base, kv);
    SortByName(kv);
    SearchIndex index;
    folder.put(QStringLiteral("n.vrez"), recipe("Bread", "Knead with saffron."));
    QCOMPARE(UpdateCatalogueFromFiles(folder.base, kv, &index, {QStringLiteral("n.vrez")}).added, 1);
    QVERIFY(!index.fits(kv));
    index.rebuild(kv);
    QCOMPARE(hits(index, kv, "SAFFRON"), QStringList{folder.recipes + QStringLiteral("n.vrez")});
}

QTEST_GUILESS_MAIN(CatalogueUpdateTest)
#include "tst_catalogueupdate.moc"
