// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/F_main.h"
#include "app/recipelistmodel.h"
#include "common/F_Msg.h"
#include "common/session.h"
#include "platform/folderwatcher.h"
#include "recipes/recipefile.h"
#include "tests/testfiles.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTest>
#include <QTreeView>

// The main list follows files that another program adds, changes, renames and removes
// in the recipe folder, keeping what the user set: search text, filters, selection.

namespace {

TKVG recipe(const QByteArray& name, const QByteArray& categories)
{
    TKVG r;
    r.Name = name;
    r.Categories = categories;
    r.Difficulty = 2;
    r.LastCooked = 45000;
    r.Ingredients = {"water"};
    return r;
}

} // namespace

class FolderWatchTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listFollowsTheFolder();
    void scrollAndSelectionStayWithTheirRecipes();
    void severalSelectedStayWithTheirRecipes();
    void tenThousandFilesAtOnce();
    void changesWaitWhileTheCatalogueIsInUse();

private:
    void put(const QString& name, const TKVG& r)
    {
        putFile(m_recipes + name, recipeFileBytes(r));
    }
    // Waits for the watcher's next report, which the window applies.
    bool reported()
    {
        QSignalSpy spy(m_main->folderWatcher(), &FolderWatcher::filesChanged);
        return spy.wait(10000);
    }
    QStringList rows() const
    {
        QStringList out;
        for (int row = 1; row < m_main->listModel()->rowCount(); ++row)
            out << m_main->listModel()->index(row, 0).data().toString();
        return out;
    }
    QString selected() const
    {
        const int row = m_main->selectedRow();
        return row < 0 ? QString() : m_main->listModel()->index(row, 0).data().toString();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_recipes;
    Catalogue m_catalogue;
    std::unique_ptr<TFMain> m_main;
};

void FolderWatchTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString base = m_dir->path() + QLatin1Char('/');
    QDir().mkpath(base + QStringLiteral("PRGDATA"));
    m_recipes = recipeFolder(base);
    setBaseFolder(base);
    CurrentSettings() = initialSettings(base);
    put(QStringLiteral("tomato.vrez"), recipe("Tomato soup", "Soups,"));
    put(QStringLiteral("onion.vrez"), recipe("Onion soup", "Soups,"));
    put(QStringLiteral("tart.vrez"), recipe("Lemon tart", "Cakes,"));
    TKVG goulash = recipe("Goulash soup", "Meat,");
    goulash.Book = "Old cookbook";
    put(QStringLiteral("goulash.vrez"), goulash);
    m_catalogue.reset();
    m_main = std::make_unique<TFMain>(m_catalogue);
    m_main->folderWatcher()->setDelays(0, 0);
    m_main->FillRecipeList(true);
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
}

void FolderWatchTest::cleanup()
{
    m_main->setOptionsRead(false); // closes without the question
    m_main.reset();
    m_dir.reset();
}

void FolderWatchTest::listFollowsTheFolder()
{
    m_main->ESuchen->setText(QStringLiteral("soup"));
    m_main->CBUKat->setCurrentIndex(m_main->CBUKat->findText(QStringLiteral("Soups")));
    QCOMPARE(rows(), (QStringList{QStringLiteral("Onion soup"), QStringLiteral("Tomato soup")}));
    m_main->selectRow(2);

    // Added: listed in name order; the selection stays on its recipe.
    put(QStringLiteral("bean.vrez"), recipe("Bean soup", "Soups,"));
    put(QStringLiteral("bread.vrez"), recipe("Bread", "Cakes,")); // not in the category
    QVERIFY(reported());
    QCOMPARE(rows(), (QStringList{QStringLiteral("Bean soup"), QStringLiteral("Onion soup"), QStringLiteral("Tomato soup")}));
    QCOMPARE(selected(), QStringLiteral("Tomato soup"));
    QCOMPARE(m_main->ESuchen->text(), QStringLiteral("soup"));
    QCOMPARE(m_main->CBUKat->currentText(), QStringLiteral("Soups"));

    // A new category comes into the box; the chosen one stays chosen.
    TKVG beans = recipe("Bean soup", "Beans,Soups,");
    beans.Instructions = {"Soak the beans overnight."};
    put(QStringLiteral("bean.vrez"), beans);
    QVERIFY(reported());
    QVERIFY(m_main->CBUKat->findText(QStringLiteral("Beans")) > 0);
    QCOMPARE(m_main->CBUKat->currentText(), QStringLiteral("Soups"));
    QCOMPARE(selected(), QStringLiteral("Tomato soup"));

    // The last recipe of a category or a book takes another one: the name leaves its box.
    TKVG goulash = recipe("Goulash soup", "Cakes,");
    goulash.Book = "Old cookbook";
    put(QStringLiteral("goulash.vrez"), goulash);
    QVERIFY(reported());
    QCOMPARE(m_main->CBUKat->findText(QStringLiteral("Meat")), -1);
    QVERIFY(m_main->CBOZB->findText(QStringLiteral("Old cookbook")) > 0);
    goulash.Book.clear();
    put(QStringLiteral("goulash.vrez"), goulash);
    QVERIFY(reported());
    QCOMPARE(m_main->CBOZB->findText(QStringLiteral("Old cookbook")), -1);
    QCOMPARE(m_main->CBUKat->currentText(), QStringLiteral("Soups"));
    QCOMPARE(selected(), QStringLiteral("Tomato soup"));

    // Changed so that the filters no longer keep it: it leaves the list.
    m_main->selectRow(2);
    QCOMPARE(selected(), QStringLiteral("Onion soup"));
    put(QStringLiteral("onion.vrez"), recipe("Onion broth", "Broths,"));
    QVERIFY(reported());
    QCOMPARE(rows(), (QStringList{QStringLiteral("Bean soup"), QStringLiteral("Tomato soup")}));
    QCOMPARE(selected(), QStringLiteral("Tomato soup")); // the row that took its place

    // Removed while selected, as the last row: the row before it takes the selection.
    QVERIFY(QFile::remove(m_recipes + QStringLiteral("tomato.vrez")));
    QVERIFY(reported());
    QCOMPARE(rows(), (QStringList{QStringLiteral("Bean soup")}));
    QCOMPARE(selected(), QStringLiteral("Bean soup"));

    // Renamed file, same recipe: still listed once, still selected.
    QVERIFY(QFile::rename(m_recipes + QStringLiteral("bean.vrez"),
                          m_recipes + QStringLiteral("beans.vrez")));
    QVERIFY(reported());
    QCOMPARE(rows(), (QStringList{QStringLiteral("Bean soup")}));
    QCOMPARE(selected(), QStringLiteral("Bean soup"));
    // The summary is of the recipe as it is now.
    QVERIFY(m_main->RERezepttext->toPlainText().contains(QLatin1String("overnight")));
}

void FolderWatchTest::scrollAndSelectionStayWithTheirRecipes()
{
    for (int i = 0; i < 60; ++i)
        put(QStringLiteral("r%1.vrez").arg(i), recipe("Recipe " + QByteArray::number(10 + i), ""));
    m_main->FillRecipeList(true);
    QTreeView* list = m_main->recipeList();
    const auto topCaption = [list] { return list->indexAt(QPoint(1, 1)).data().toString(); };
    const int row40 = int(rows().indexOf(QStringLiteral("Recipe 40"))) + 1;
    m_main->selectRow(1); // the first recipe, then scrolled out of sight
    list->scrollTo(m_main->listModel()->index(row40, 0), QAbstractItemView::PositionAtTop);
    QCOMPARE(topCaption(), QStringLiteral("Recipe 40"));
    QCOMPARE(selected(), QStringLiteral("Goulash soup"));

    // A recipe comes before both: each row moves down, the view and selection with it.
    put(QStringLiteral("apple.vrez"), recipe("Apple pie", ""));
    QVERIFY(reported());
    QCOMPARE(rows().first(), QStringLiteral("Apple pie"));
    QCOMPARE(topCaption(), QStringLiteral("Recipe 40"));
    QCOMPARE(selected(), QStringLiteral("Goulash soup"));

    // The recipe at the top goes: the list starts where it started.
    QVERIFY(QFile::remove(m_recipes + QStringLiteral("r30.vrez")));
    QVERIFY(reported());
    QCOMPARE(topCaption(), QStringLiteral("Recipe 41"));
}

void FolderWatchTest::severalSelectedStayWithTheirRecipes()
{
    // Rows: Goulash soup, Lemon tart, Onion soup, Tomato soup; Lemon tart is current.
    QItemSelectionModel* selection = m_main->recipeList()->selectionModel();
    const auto model = m_main->listModel();
    m_main->selectRow(2);
    for (int row : {1, 4})
        selection->select(model->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const auto selectedNames = [this] {
        QStringList names;
        for (int index : m_main->selectedRecipes())
            names << QString::fromLatin1(m_catalogue.recipes.at(index).Name);
        return names;
    };
    const QStringList three{QStringLiteral("Goulash soup"), QStringLiteral("Lemon tart"),
                            QStringLiteral("Tomato soup")};
    QCOMPARE(selectedNames(), three);

    // A recipe comes before all of them: every selected row moves down with its recipe.
    put(QStringLiteral("apple.vrez"), recipe("Apple pie", ""));
    QVERIFY(reported());
    QCOMPARE(selectedNames(), three);
    QCOMPARE(selected(), QStringLiteral("Lemon tart"));
    // A selected recipe other than the current one is read again: it stays selected.
    put(QStringLiteral("tomato.vrez"), recipe("Tomato soup", "Soups,Starters,"));
    QVERIFY(reported());
    QCOMPARE(selectedNames(), three);
    // A selected recipe goes: the others stay, nothing else is selected in its place.
    QVERIFY(QFile::remove(m_recipes + QStringLiteral("goulash.vrez")));
    QVERIFY(reported());
    QCOMPARE(selectedNames(), (QStringList{QStringLiteral("Lemon tart"), QStringLiteral("Tomato soup")}));
    QCOMPARE(selected(), QStringLiteral("Lemon tart"));
}

void FolderWatchTest::tenThousandFilesAtOnce()
{
    FolderWatcher* watcher = m_main->folderWatcher();
    watcher->setDelays(3600 * 1000, 3600 * 1000); // only the flush below reports
    m_main->ESuchen->setText(QStringLiteral("soup"));
    m_main->selectRow(2); // Tomato soup ... Onion soup before it
    QCOMPARE(selected(), QStringLiteral("Onion soup"));
    QSignalSpy reports(watcher, &FolderWatcher::filesChanged);
    QSignalSpy resets(watcher, &FolderWatcher::folderReset);
    for (int i = 0; i < 10000; ++i) {
        // Another program writing; this one takes the events as they come.
        put(QStringLiteral("new%1.vrez").arg(i),
            recipe("Zander soup " + QByteArray::number(i), "Fish,"));
        if (i % 500 == 0)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    watcher->flush();
    QCOMPARE(resets.count(), 0);
    QCOMPARE(reports.count(), 1);
    QCOMPARE(reports.at(0).at(0).toStringList().size(), 10000);
    QCOMPARE(rows().size(), 3 + 10000);
    QCOMPARE(rows().at(2), QStringLiteral("Tomato soup"));
    QCOMPARE(rows().last(), QStringLiteral("Zander soup 9999"));
    QCOMPARE(selected(), QStringLiteral("Onion soup"));
    // The search follows the new records.
    m_main->ESuchen->setText(QStringLiteral("zander 4711"));
    QCOMPARE(rows(), (QStringList{QStringLiteral("Zander soup 4711")}));
}

void FolderWatchTest::changesWaitWhileTheCatalogueIsInUse()
{
    // The list print disables the window; a preview or the editor holds indices into the
    // catalogue as well.
    m_main->setEnabled(false);
    put(QStringLiteral("bean.vrez"), recipe("Bean soup", "Soups,"));
    QVERIFY(reported());
    QCOMPARE(rows().size(), 4);
    m_main->setEnabled(true);
    QTRY_COMPARE(rows().size(), 5);
    QCOMPARE(rows().first(), QStringLiteral("Bean soup"));
    QCOMPARE(m_main->selectedRow(), 0); // "Create new recipe" stays selected
}

QTEST_MAIN(FolderWatchTest)
#include "tst_folderwatch.moc"
