// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/session.h"
#include "editor/recipefiles.h"
#include "editor/recipesave.h"
#include "platform/richtext/rtfreader.h"
#include "recipes/recipefile.h"
#include "recipes/recipetexts.h"
#include "tests/testfiles.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

enum Text { Comments, Ingredients, Instructions, Quantities, Units, IngredientNames, Descriptions };

rich::RichDocument document(const QStringList& lines)
{
    rich::RichDocument doc;
    rich::CharFormat bold = doc.defaultFormat();
    bold.style = rich::Bold;
    const quint16 boldId = doc.intern(bold);
    for (qsizetype i = 0; i < lines.size(); ++i)
        doc.appendLine(lines.at(i), i % 2 ? boldId : doc.defaultFormatId());
    return doc;
}

RecipeForm normalForm(const QString& name)
{
    RecipeForm form;
    form.name = name;
    form.binder = QStringLiteral("Red binder");
    form.page = QStringLiteral("12");
    form.categories = QStringLiteral(" Soups , Starters,,");
    form.devices = "cooking pot,";
    form.servings = QStringLiteral("4");
    form.prepTime = QStringLiteral("30 min");
    form.difficultyItem = 2;
    form.lastCooked = 45000.5;
    form.texts[Comments] = document({QStringLiteral("Grandma's")});
    form.texts[Ingredients] = document({QStringLiteral("1 l water"), QStringLiteral("2 leeks")});
    form.texts[Instructions] = document({QStringLiteral("Boil."), QString(), QStringLiteral("Serve.")});
    return form;
}

// Every file of the recipe folder with its bytes.
QMap<QString, QByteArray> folderContent()
{
    QMap<QString, QByteArray> content;
    const QDir dir(recipeFolder(BaseFolder()));
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            content.insert(name, file.readAll());
    }
    return content;
}

QString recipesPath(const QString& name)
{
    return recipeFolder(BaseFolder()) + name;
}

// The inode of path: a file that a save replaced has a new one.
ino_t inodeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

} // namespace

class RecipeSaveTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void newRecipeGetsItsName();
    void sameNameGetsNumber();
    void recordFilled_data();
    void recordFilled();
    void sideFilesFollowTexts();
    void bothLayoutsSaved();
    void renamedKeepsFile();
    void saveAsNewName();
    void saveAsExisting_data();
    void saveAsExisting();
    void nameMissing();
    void noCurrentRecipe();
    void sameBytesAfterReload();
    void failures_data();
    void failures();
    void failedRecipeFileRestoresSideFiles();
    void failedWritePutsBackOnlyWhatItChanged();
    void deletedRecipeTakesItsOwnFileAgain();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    Catalogue m_catalogue;
};

void RecipeSaveTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    setBaseFolder(m_dir->path() + QLatin1Char('/'));
    QVERIFY(QDir().mkpath(recipeFolder(BaseFolder())));
    // Reading keeps only devices whose picture exists.
    QVERIFY(QDir().mkpath(BaseFolder() + QStringLiteral("Graphic/PNG/ENG")));
    QFile picture(BaseFolder() + QStringLiteral("Graphic/PNG/ENG/cooking pot.PNG"));
    QVERIFY(picture.open(QIODevice::WriteOnly));
    m_catalogue.reset();
    m_catalogue.newRecipe();
}

void RecipeSaveTest::newRecipeGetsItsName()
{
    QVERIFY(SaveRecipe(m_catalogue, normalForm(QStringLiteral("Soup"))).ok());
    const TKVG& r = m_catalogue.recipes.at(0);
    QCOMPARE(r.FileName, QStringLiteral("Soup.vrez"));
    QCOMPARE(r.FilePath, recipesPath(QStringLiteral("Soup.vrez")));
    QVERIFY(QFile::exists(r.FilePath));
}

void RecipeSaveTest::sameNameGetsNumber()
{
    QVERIFY(SaveRecipe(m_catalogue, normalForm(QStringLiteral("Soup"))).ok());
    const auto before = folderContent();
    m_catalogue.CurrentRecipe = m_catalogue.newRecipe();
    RecipeForm second = normalForm(QStringLiteral("Soup"));
    second.remark = QStringLiteral("the other one");
    QVERIFY(SaveRecipe(m_catalogue, second).ok());

    QCOMPARE(m_catalogue.recipes.at(1).Name, QByteArray("Soup")); // only the file is numbered
    const QString name = m_catalogue.recipes.at(1).FileName;
    QVERIFY2(name.startsWith(QLatin1String("Soup_")) && name.endsWith(QLatin1String(".vrez")),
             qPrintable(name));
    bool numeric = false;
    const int number = name.mid(5, name.size() - 10).toInt(&numeric);
    QVERIFY(numeric && number >= 0 && number <= 899);
    const auto after = folderContent();
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QCOMPARE(after.value(it.key()), it.value());
}

void RecipeSaveTest::recordFilled_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QByteArray>("stored");

    QTest::newRow("name keeps trailing blanks") << " Soup  " << QByteArray(" Soup  ");
    QTest::newRow("name outside the code page") << QString::fromUtf8("Łódź soup €")
                                                << QByteArray("?\xF3" "d? soup \x80");
}

void RecipeSaveTest::recordFilled()
{
    QFETCH(QString, field);
    QFETCH(QByteArray, stored);
    RecipeForm form = normalForm(field);
    form.texts[Ingredients] = document({field, QStringLiteral("salt")});
    QVERIFY(SaveRecipe(m_catalogue, form).ok());
    const TKVG& r = m_catalogue.recipes.at(0);
    QCOMPARE(r.Name, stored);
    QCOMPARE(r.Ingredients, (TSTRING{stored, "salt"}));
    QCOMPARE(r.Categories, QByteArray("Soups,Starters,"));
    QCOMPARE(r.Difficulty, 3);
    QCOMPARE(r.Binder, QByteArray("Red binder"));
    QCOMPARE(r.Page, QByteArray("12"));
    QCOMPARE(r.Devices, QByteArray("cooking pot,"));
    QCOMPARE(r.LastCooked, 45000.5);
    QCOMPARE(r.Instructions, (TSTRING{"Boil.", "", "Serve."}));

    TKVG read;
    QFile file(r.FilePath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(parseRecipeFile(file.readAll(), read, nullptr));
    QCOMPARE(read.Name, stored);
}

void RecipeSaveTest::sideFilesFollowTexts()
{
    QVERIFY(SaveRecipe(m_catalogue, normalForm(QStringLiteral("Soup"))).ok());
    const QString path = m_catalogue.recipes.at(0).FilePath;
    for (const char* suffix : {".001", ".002", ".003"})
        QVERIFY(QFile::exists(path + QLatin1String(suffix)));
    for (const char* suffix : {".004", ".005", ".006", ".007"})
        QVERIFY(!QFile::exists(path + QLatin1String(suffix)));
    QCOMPARE(m_catalogue.recipes.at(0).CommentsRtf, path + QStringLiteral(".001"));
    rich::RichDocument doc;
    QVERIFY(rich::readRtfFile(path + QStringLiteral(".003"), doc));
    QCOMPARE(doc.plainText(), QStringLiteral("Boil.\n\nServe."));
    QCOMPARE(doc.format(doc.lines().at(1).endFormat).style & rich::Bold, int(rich::Bold));

    RecipeForm emptied = normalForm(QStringLiteral("Soup"));
    emptied.texts[Comments].clear();
    QVERIFY(SaveRecipe(m_catalogue, emptied).ok());
    QVERIFY(!QFile::exists(path + QStringLiteral(".001")));
    QVERIFY(m_catalogue.recipes.at(0).CommentsRtf.isEmpty());
    QVERIFY(m_catalogue.recipes.at(0).Comments.isEmpty());
    QVERIFY(QFile::exists(path + QStringLiteral(".002")));
}

void RecipeSaveTest::bothLayoutsSaved()
{
    RecipeForm form = normalForm(QStringLiteral("Soup"));
    form.texts[Quantities] = document({QStringLiteral("1")});
    form.texts[Descriptions] = document({QStringLiteral("chopped")});
    QVERIFY(SaveRecipe(m_catalogue, form).ok());
    const TKVG& r = m_catalogue.recipes.at(0);
    for (const char* suffix : {".001", ".002", ".003", ".004", ".007"})
        QVERIFY2(QFile::exists(r.FilePath + QLatin1String(suffix)), suffix);
    QCOMPARE(r.Quantities, TSTRING{"1"});
    QCOMPARE(r.DescriptionsRtf, r.FilePath + QStringLiteral(".007"));
    QVERIFY(r.UnitsRtf.isEmpty());
    QCOMPARE(r.Kind, 0);
}

void RecipeSaveTest::renamedKeepsFile()
{
    QVERIFY(SaveRecipe(m_catalogue, normalForm(QStringLiteral("Soup"))).ok());
    QVERIFY(SaveRecipe(m_catalogue, normalForm(QStringLiteral("Leek soup"))).ok());
    QCOMPARE(m_catalogue.recipes.at(0).FileName, QStringLiteral("Soup.vrez"));
    QCOMPARE(m_catalogue.recipes.at(0).Name, QByteArray("Leek soup"));
    QVERIFY(!QFile::exists(recipesPath(QStringLiteral("Leek soup.vrez"))));
}

void RecipeSaveTest::saveAsNewName()
{
    QVERIFY(SaveRecipe(m_catalogue, normalForm(QStringLiteral("Soup"))).ok());
    const auto before = folderContent();
    RecipeForm renamed = normalForm(QStringLiteral("Leek soup?"));
    QVERIFY(SaveRecipeAs(m_catalogue, renamed, false).ok());
    const TKVG& r = m_catalogue.recipes.at(0);
    QCOMPARE(r.FileName, QStringLiteral("Leek soup_.vrez"));
    QCOMPARE(r.CommentsRtf, recipesPath(QStringLiteral("Leek soup_.vrez.001")));
    const auto after = folderContent();
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QCOMPARE(after.value(it.key()), it.value());
    QCOMPARE(after.size(), before.size() * 2);
}

void RecipeSaveTest::saveAsExisting_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("same name") << QStringLiteral("Soup");
    // Windows would open the same file: no second file that collides there.
    QTest::newRow("name in other case") << QStringLiteral("SOUP");
}

void RecipeSaveTest::saveAsExisting()
{
    QFETCH(QString, name);
    QVERIFY(SaveRecipe(m_catalogue, normalForm(QStringLiteral("Soup"))).ok());
    m_catalogue.CurrentRecipe = m_catalogue.newRecipe();
    const QByteArray untouched = recipeFileBytes(m_catalogue.recipes.at(1));
    const auto before = folderContent();
    RecipeForm other = normalForm(name);
    other.remark = QStringLiteral("replacement");

    QCOMPARE(SaveRecipeAs(m_catalogue, other, false).status, SaveStatus::NameExists);
    QCOMPARE(folderContent(), before);
    QVERIFY(m_catalogue.recipes.at(1).FileName.isEmpty());
    QCOMPARE(recipeFileBytes(m_catalogue.recipes.at(1)), untouched);

    QVERIFY(SaveRecipeAs(m_catalogue, other, true).ok());
    QCOMPARE(m_catalogue.recipes.at(1).FileName, QStringLiteral("Soup.vrez"));
    QVERIFY(folderContent().value(QStringLiteral("Soup.vrez")).contains("replacement"));
    QCOMPARE(folderContent().keys(), before.keys());
}

void RecipeSaveTest::nameMissing()
{
    const QByteArray untouched = recipeFileBytes(m_catalogue.recipes.at(0));
    QCOMPARE(SaveRecipe(m_catalogue, normalForm(QString())).status, SaveStatus::NameMissing);
    QCOMPARE(SaveRecipeAs(m_catalogue, normalForm(QString()), true).status, SaveStatus::NameMissing);
    QVERIFY(folderContent().isEmpty());
    QCOMPARE(recipeFileBytes(m_catalogue.recipes.at(0)), untouched);
}

void RecipeSaveTest::noCurrentRecipe()
{
    m_catalogue.CurrentRecipe = 5;
    QCOMPARE(SaveRecipe(m_catalogue, normalForm(QStringLiteral("Soup"))).status,
             SaveStatus::NoCurrentRecipe);
    m_catalogue.CurrentRecipe = -1;
    QCOMPARE(SaveRecipeAs(m_catalogue, normalForm(QStringLiteral("Soup")), true).status,
             SaveStatus::NoCurrentRecipe);
    QVERIFY(folderContent().isEmpty());
}

void RecipeSaveTest::sameBytesAfterReload()
{
    RecipeForm form = normalForm(QString::fromUtf8("Crème brûlée"));
    form.texts[Units] = document({QStringLiteral("g"), QStringLiteral("ml")});
    QVERIFY(SaveRecipe(m_catalogue, form).ok());
    const auto first = folderContent();

    TKV reloaded;
    ReadCatalogue(BaseFolder(), reloaded);
    QCOMPARE(reloaded.size(), 1);
    Catalogue catalogue;
    catalogue.recipes = reloaded;
    catalogue.CurrentRecipe = 0;
    QVERIFY(SaveRecipe(catalogue, formFromRecipe(catalogue.recipes.at(0))).ok());
    const auto second = folderContent();
    QCOMPARE(second.keys(), first.keys());
    for (auto it = first.cbegin(); it != first.cend(); ++it)
        QCOMPARE(second.value(it.key()).split('\n'), it.value().split('\n'));

    // Without side files the plain lines make the same texts again.
    TKVG plain = catalogue.recipes.at(0);
    for (const RecipeTextField& field : recipeTextFields())
        plain.*field.richText = QString();
    const RecipeForm fromLines = formFromRecipe(plain);
    QCOMPARE(fromLines.texts[Instructions].plainText(), QStringLiteral("Boil.\n\nServe."));
    QCOMPARE(fromLines.categories, QStringLiteral("Soups,Starters,"));
}

void RecipeSaveTest::failures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("removeFolder");
    QTest::addColumn<QString>("named");

    QTest::addColumn<bool>("blockSideFiles"); // folders where its side files go

    QTest::newRow("name too long")
        << QString(250, QLatin1Char('x')) << false << QString(250, QLatin1Char('x')) << false;
    QTest::newRow("folder vanished")
        << QStringLiteral("Soup") << true << QStringLiteral("prepared_recipes") << false;
    // The new recipe's name was claimed with its file: the failed save gives it back.
    QTest::newRow("side files cannot be written")
        << QStringLiteral("Soup") << false << QStringLiteral("Soup.vrez.00") << true;
}

void RecipeSaveTest::failures()
{
    QFETCH(QString, name);
    QFETCH(bool, removeFolder);
    QFETCH(QString, named);
    QFETCH(bool, blockSideFiles);
    QVERIFY(SaveRecipe(m_catalogue, normalForm(QStringLiteral("Pie"))).ok());
    m_catalogue.CurrentRecipe = m_catalogue.newRecipe();
    if (removeFolder)
        QVERIFY(QDir(recipeFolder(BaseFolder())).removeRecursively());
    for (int i = 1; blockSideFiles && i <= 7; ++i)
        QVERIFY(QDir().mkpath(recipeFolder(BaseFolder()) + QStringLiteral("Soup.vrez.00%1").arg(i)));
    const auto before = folderContent();
    const QByteArray untouched = recipeFileBytes(m_catalogue.recipes.at(1));

    const SaveResult result = SaveRecipe(m_catalogue, normalForm(name));
    QCOMPARE(result.status, SaveStatus::FileError);
    QVERIFY2(result.message.contains(named), qPrintable(result.message));
    QCOMPARE(folderContent(), before);
    QVERIFY(m_catalogue.recipes.at(1).FileName.isEmpty());
    QCOMPARE(recipeFileBytes(m_catalogue.recipes.at(1)), untouched);
}

void RecipeSaveTest::failedRecipeFileRestoresSideFiles()
{
    QVERIFY(SaveRecipe(m_catalogue, normalForm(QStringLiteral("Soup"))).ok());
    const TKVG saved = m_catalogue.recipes.at(0);
    // A folder where the recipe file should be: the side files can be written, the
    // recipe file cannot.
    QVERIFY(QFile::remove(saved.FilePath));
    QVERIFY(QDir().mkdir(saved.FilePath));
    const auto before = folderContent();

    RecipeForm changed = normalForm(QStringLiteral("Soup"));
    changed.texts[Comments].clear();
    changed.texts[Ingredients] = document({QStringLiteral("other")});
    changed.texts[Units] = document({QStringLiteral("kg")});
    const SaveResult result = SaveRecipe(m_catalogue, changed);
    QCOMPARE(result.status, SaveStatus::FileError);
    QVERIFY2(result.message.contains(QLatin1String("Soup.vrez")), qPrintable(result.message));
    QCOMPARE(folderContent(), before);
    QCOMPARE(recipeFileBytes(m_catalogue.recipes.at(0)), recipeFileBytes(saved));
    QCOMPARE(m_catalogue.recipes.at(0).CommentsRtf, saved.CommentsRtf);
}

void RecipeSaveTest::failedWritePutsBackOnlyWhatItChanged()
{
    QVERIFY(SaveRecipe(m_catalogue, normalForm(QStringLiteral("Soup"))).ok());
    const QString path = m_catalogue.recipes.at(0).FilePath;
    const auto before = folderContent();
    const ino_t instructions = inodeOf(path + QStringLiteral(".003"));
    // The comments file is deleted, then the ingredients are too large to be written:
    // the save stops before it reaches the instructions.
    RecipeForm changed = normalForm(QStringLiteral("Soup"));
    changed.texts[Comments].clear();
    changed.texts[Ingredients] = document({QString(20000, QLatin1Char('x'))});
    SaveResult result;
    withFileSizeLimit(8192, [&] { result = SaveRecipe(m_catalogue, changed); });
    QCOMPARE(result.status, SaveStatus::FileError);
    QVERIFY2(result.message.contains(QLatin1String("Soup.vrez.002")), qPrintable(result.message));
    QCOMPARE(folderContent(), before);
    QCOMPARE(inodeOf(path + QStringLiteral(".003")), instructions);
}

void RecipeSaveTest::deletedRecipeTakesItsOwnFileAgain()
{
    RecipeFilesState known;
    QVERIFY(SaveRecipe(m_catalogue, normalForm(QStringLiteral("Soup")), &known).ok());
    const QString path = m_catalogue.recipes.at(0).FilePath;
    QString error;
    QVERIFY2(DeleteRecipeFiles(path, &error), qPrintable(error));
    // Renamed in the form: the recipe still takes the file it had.
    const RecipeForm renamed = normalForm(QStringLiteral("Leek soup"));
    QCOMPARE(SaveRecipe(m_catalogue, renamed, &known).status, SaveStatus::DeletedOutside);
    QVERIFY(folderContent().isEmpty());

    const SaveResult result = SaveRecipe(m_catalogue, renamed, &known, OutsideChanges::Recreate);
    QVERIFY2(result.ok(), qPrintable(result.message));
    QVERIFY(result.copyName.isEmpty());
    QCOMPARE(m_catalogue.recipes.at(0).FilePath, path);
    QCOMPARE(m_catalogue.recipes.at(0).Name, QByteArray("Leek soup"));
    QCOMPARE(folderContent().keys(),
             (QStringList{QStringLiteral("Soup.vrez"), QStringLiteral("Soup.vrez.001"),
                          QStringLiteral("Soup.vrez.002"), QStringLiteral("Soup.vrez.003")}));
}

QTEST_GUILESS_MAIN(RecipeSaveTest)
#include "tst_recipesave.moc"
