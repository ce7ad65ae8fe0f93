// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/F_main.h"
#include "app/application.h"
#include "app/recipelistmodel.h"
#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/interfacetexts.h"
#include "common/session.h"
#include "editor/F_KVE.h"
#include "export/F_Export.h"
#include "import/F_Import.h"
#include "platform/richtext/rtfwriter.h"
#include "preview/F_Vor.h"
#include "preview/openpreview.h"
#include "preview/printdialog.h"
#include "preview/printers.h"
#include "preview/recipefill.h"
#include "recipes/searchcache.h"
#include "tests/testfiles.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTreeView>
#include <QTreeWidget>

namespace {

// A base folder with a normal, a deluxe and a paper recipe.
class Collection {
public:
    Collection()
    {
        base = dir.path() + QLatin1Char('/');
        QDir().mkpath(base + QStringLiteral("PRGDATA"));
        recipes = base + QStringLiteral("prepared_recipes/");
        TKVG soup;
        soup.Name = "Tomato soup";
        soup.Categories = "Soups,Starters,";
        soup.Difficulty = 2;
        soup.Instructions = {"Chop the tomatoes.", "Simmer with onion."};
        soup.Ingredients = {"tomatoes", "onion"};
        add(QStringLiteral("soup.vrez"), soup);
        TKVG tart;
        tart.Name = "Lemon tart";
        tart.Categories = "Cakes,";
        tart.Difficulty = 4;
        tart.Kind = 1;
        tart.Quantities = {"200", ""};
        tart.Units = {"", "g"};
        tart.IngredientNames = {"flour"};
        add(QStringLiteral("tart.vrez"), tart);
        TKVG goulash;
        goulash.Name = "Goulash";
        goulash.Categories = "Meat,";
        goulash.Difficulty = 3;
        goulash.Binder = "Red binder";
        goulash.Page = "14";
        add(QStringLiteral("goulash.vrez"), goulash);
    }
    void add(const QString& name, TKVG r)
    {
        r.FilePath = recipes + name;
        putFile(r.FilePath, recipeFileBytes(r));
    }
    QTemporaryDir dir;
    QString base;
    QString recipes;
};

QStringList captions(TFMain& main)
{
    QStringList out;
    for (int row = 0; row < main.listModel()->rowCount(); ++row)
        out << main.listModel()->index(row, 0).data().toString();
    return out;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_collection = std::make_unique<Collection>();
        setBaseFolder(m_collection->base);
        CurrentSettings() = initialSettings(m_collection->base);
        m_answers.clear();
        m_asked.clear();
        SetShowMsgHook([this](int number, int, int) {
            m_asked << number;
            return m_answers.isEmpty() ? 0 : m_answers.takeFirst();
        });
        m_errors.clear();
        SetErrorReportHook([this](const QString& text) { m_errors << text; });
        m_catalogue.reset();
        m_main = std::make_unique<TFMain>(m_catalogue);
        m_main->FillRecipeList(true);
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    }
    void cleanup()
    {
        m_main->setOptionsRead(false); // close without the question
        m_main.reset();
        SetShowMsgHook({});
        SetErrorReportHook({});
        SetPrinters({});
    }

    void reloadListsEveryRecipeSorted()
    {
        QCOMPARE(captions(*m_main),
                 (QStringList{QStringLiteral("Create new recipe"), QStringLiteral("Goulash"),
                              QStringLiteral("Lemon tart"), QStringLiteral("Tomato soup")}));
        QCOMPARE(m_main->selectedRow(), 0);
        QCOMPARE(m_main->CBUKat->count(), 4 + 4);
        QCOMPARE(m_main->CBOZB->itemText(1), QStringLiteral("Red binder"));
        QCOMPARE(m_main->listModel()->iconOfRow(1), 3);
        QCOMPARE(m_main->listModel()->index(2, 2).data().toString(), QStringLiteral("****"));
        QCOMPARE(m_main->recipeList()->font().pointSize(), 9);
        QCOMPARE(m_main->CBUKat->maxVisibleItems(), 25);
        QCOMPARE(m_main->CBOZB->maxVisibleItems(), 25);
    }

    // A reload of the same recipes takes the search index from its cache, which the
    // first reload wrote: one made to list "xylophone" for the soup is believed. A
    // recipe file changed on disk gives other records: the index is prepared again.
    void searchIndexComesFromItsCacheForTheSameRecipes()
    {
        m_main->searchIndex().waitUntilBuilt(); // and its cache written
        const QString cache = searchCachePath(m_collection->base);
        QVERIFY(QFile::exists(cache));
        TKV marked = m_catalogue.recipes;
        for (TKVG& r : marked)
            if (r.Name == "Tomato soup")
                r.Name = "Xylophone";
        SearchIndex index;
        index.rebuild(marked);
        QVERIFY(writeSearchCache(m_collection->base, searchCacheKey(m_catalogue.recipes),
                                 index.save()));
        m_main->FillRecipeList(true);
        QTest::keyClicks(m_main->ESuchen, QStringLiteral("xylophone"));
        QCOMPARE(captions(*m_main),
                 (QStringList{QStringLiteral("Create new recipe"), QStringLiteral("Tomato soup")}));
        m_main->ESuchen->clear();

        TKVG goulash = m_catalogue.recipes[IndexOfListRow(m_catalogue.recipes, 1)];
        goulash.Remark = "with paprika";
        m_collection->add(QStringLiteral("goulash.vrez"), goulash);
        m_main->FillRecipeList(true);
        QTest::keyClicks(m_main->ESuchen, QStringLiteral("xylophone"));
        QCOMPARE(captions(*m_main), QStringList{QStringLiteral("Create new recipe")});
        m_main->ESuchen->clear();
        QTest::keyClicks(m_main->ESuchen, QStringLiteral("paprika"));
        QCOMPARE(captions(*m_main),
                 (QStringList{QStringLiteral("Create new recipe"), QStringLiteral("Goulash")}));
    }

    void typingASearchFiltersTheList()
    {
        QTest::keyClicks(m_main->ESuchen, QStringLiteral("onion"));
        QCOMPARE(captions(*m_main),
                 (QStringList{QStringLiteral("Create new recipe"), QStringLiteral("Tomato soup")}));
        QCOMPARE(m_main->ESuchen->cursorPosition(), 5);
        m_main->ESuchen->clear();
        QCOMPARE(captions(*m_main).size(), 4);

        // A reload of as many recipes, one renamed and rewritten: the next search and
        // the order follow the files, not the search lines of the last reload.
        TKVG soup = m_catalogue.recipes[IndexOfListRow(m_catalogue.recipes, 3)];
        soup.Name = "Apple soup";
        soup.Ingredients = {"leek"};
        m_collection->add(QStringLiteral("soup.vrez"), soup);
        m_main->FillRecipeList(true);
        QTest::keyClicks(m_main->ESuchen, QStringLiteral("leek"));
        QCOMPARE(captions(*m_main),
                 (QStringList{QStringLiteral("Create new recipe"), QStringLiteral("Apple soup")}));
        m_main->ESuchen->clear();
        QCOMPARE(captions(*m_main)[1], QStringLiteral("Apple soup"));
    }

    void refillKeepsTheSelectionOnlyOnTheSameRecipe_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("selected"); // after the search, Goulash (row 1) selected before
        QTest::newRow("still on its row") << QStringLiteral("goulash") << 1;
        QTest::newRow("another recipe on its row") << QStringLiteral("tomato") << 0;
    }
    void refillKeepsTheSelectionOnlyOnTheSameRecipe()
    {
        QFETCH(QString, search);
        QFETCH(int, selected);
        m_main->selectRow(1);
        QTest::keyClicks(m_main->ESuchen, search);
        QCOMPARE(captions(*m_main).size(), 2);
        QCOMPARE(m_main->selectedRow(), selected);
    }

    void filterBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("category name") << QStringLiteral("CBUKat") << QStringLiteral("Cakes")
                                       << QStringList{QStringLiteral("Lemon tart")};
        QTest::newRow("printed recipes")
            << QStringLiteral("CBUKat") << QStringLiteral("printed recipes")
            << QStringList{QStringLiteral("Goulash")};
        QTest::newRow("difficulty easy") << QStringLiteral("CBKochlevel") << QStringLiteral("easy")
                                         << QStringList{QStringLiteral("Tomato soup")};
        QTest::newRow("binder") << QStringLiteral("CBOZB") << QStringLiteral("Red binder")
                                << QStringList{QStringLiteral("Goulash")};
    }
    void filterBoxes()
    {
        QFETCH(QString, box);
        QFETCH(QString, entry);
        QFETCH(QStringList, listed);
        auto* combo = m_main->findChild<QComboBox*>(box);
        QVERIFY(combo);
        combo->setCurrentIndex(combo->findText(entry));
        QCOMPARE(captions(*m_main), QStringList{QStringLiteral("Create new recipe")} + listed);
    }

    void summaries_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("firstType");
        QTest::addColumn<Qt::MouseButton>("button"); // another row was clicked before
        QTest::newRow("ring binder")
            << 1 << QStringLiteral("Ring binder: Red binder\nPage: 14") << 3 << Qt::LeftButton;
        QTest::newRow("deluxe") << 2 << QStringLiteral("200  flour\ng") << 2 << Qt::LeftButton;
        QTest::newRow("normal") << 3 << QStringLiteral("Chop the tomatoes.\nSimmer with onion.")
                                << 1 << Qt::LeftButton;
        QTest::newRow("new recipe row") << 0 << QString() << -1 << Qt::LeftButton;
        // A right-click makes the row the current one too: the summary follows.
        QTest::newRow("deluxe, right-clicked")
            << 2 << QStringLiteral("200  flour\ng") << 2 << Qt::RightButton;
    }
    void summaries()
    {
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(int, firstType);
        QFETCH(Qt::MouseButton, button);
        QAbstractItemView* list = m_main->recipeList();
        const QModelIndex other = m_main->listModel()->index(row == 3 ? 1 : 3, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(other).center());
        const QModelIndex index = m_main->listModel()->index(row, 0);
        QTest::mouseClick(list->viewport(), button, {}, list->visualRect(index).center());
        m_main->PMRezeptliste->hide();
        QCOMPARE(m_main->selectedRow(), row);
        QCOMPARE(m_main->RERezepttext->toPlainText(), text);
        QCOMPARE(m_main->IKat[0]->property("tag").toInt(), firstType);
        QCOMPARE(m_main->Label5->text(), QStringLiteral("Recipe information:"));
    }

    void summaryPrefersTheRichInstructions()
    {
        rich::RichDocument doc;
        doc.appendLine(QStringLiteral("Formatted steps"));
        putFile(m_collection->recipes + QStringLiteral("soup.vrez.003"), rich::writeRtf(doc));
        TKVG soup = m_catalogue.recipes[IndexOfListRow(m_catalogue.recipes, 3)];
        soup.InstructionsRtf = soup.FilePath + QStringLiteral(".003");
        m_collection->add(QStringLiteral("soup.vrez"), soup);
        m_main->FillRecipeList(true);
        m_main->selectRow(3);
        m_main->RefreshSummary();
        QCOMPARE(m_main->RERezepttext->toPlainText(), QStringLiteral("Formatted steps"));
    }

    void unreadableInstructionsAreNamedOnce()
    {
        const QString side = m_collection->recipes + QStringLiteral("soup.vrez.003");
        QVERIFY(QDir().mkpath(side)); // there, but no file to read
        TKVG soup = m_catalogue.recipes[IndexOfListRow(m_catalogue.recipes, 3)];
        soup.InstructionsRtf = side;
        m_collection->add(QStringLiteral("soup.vrez"), soup);
        m_main->FillRecipeList(true);
        QStringList reported;
        SetErrorReportHook([&reported](const QString& text) { reported << text; });
        for (int row : {3, 1, 3}) {
            m_main->selectRow(row);
            m_main->RefreshSummary();
        }
        SetErrorReportHook({});
        QCOMPARE(m_main->RERezepttext->toPlainText(),
                 QStringLiteral("Chop the tomatoes.\nSimmer with onion."));
        QCOMPARE(reported.size(), 1);
        QVERIFY2(reported[0].contains(side), qPrintable(reported[0]));
    }

    void deleteAsksAndRemovesTheFiles()
    {
        const QString soup = m_collection->recipes + QStringLiteral("soup.vrez");
        putFile(soup + QStringLiteral(".003"), "{\\rtf1 x\\par}");
        // Left by a save killed before its rename; the delete takes it along, not the
        // leftover of another recipe.
        putFile(soup + QStringLiteral(".003.dilbotmp-0badf00d-Ab12Cd"), "{\\rtf1 y\\par}");
        const QString otherLeftover =
            m_collection->recipes + QStringLiteral("tart.vrez.dilbotmp-0badf00d-Ab12Cd");
        putFile(otherLeftover, "x");
        m_main->selectRow(3);
        m_answers = {7};
        m_main->PMRezeptloeschenClick();
        QCOMPARE(m_asked, QList<int>{6});
        QVERIFY(QFile::exists(soup));

        m_answers = {6};
        m_main->PMRezeptloeschenClick();
        QVERIFY(!QFile::exists(soup));
        QVERIFY(!QFile::exists(soup + QStringLiteral(".003")));
        QVERIFY(!QFile::exists(soup + QStringLiteral(".003.dilbotmp-0badf00d-Ab12Cd")));
        QVERIFY(QFile::exists(otherLeftover));
        QCOMPARE(captions(*m_main).size(), 3);
        QCOMPARE(m_main->selectedRow(), 0);

        m_asked.clear();
        m_main->PMRezeptloeschenClick(); // row 0: nothing to delete, no question
        QVERIFY(m_asked.isEmpty());
    }

    void deleteRemovesTheRecipeAskedAbout()
    {
        // While the question is open the user types a search that puts Tomato soup on
        // the row Goulash had.
        m_main->selectRow(1);
        QString subject;
        SetShowMsgHook([&](int, int, int) {
            subject = ShownMsgSubject();
            m_main->ESuchen->setText(QStringLiteral("tomato"));
            return kAnswerYes;
        });
        m_main->PMRezeptloeschenClick();
        QCOMPARE(subject, QStringLiteral("Goulash")); // the question names it
        QVERIFY(!QFile::exists(m_collection->recipes + QStringLiteral("goulash.vrez")));
        QVERIFY(QFile::exists(m_collection->recipes + QStringLiteral("soup.vrez")));
        QVERIFY(m_errors.isEmpty());
    }

    void deleteAsksAgainWhenChangedOutside_data()
    {
        QTest::addColumn<QString>("outside"); // what another writer does after the list read
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QList<int>>("asked");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("changed, delete anyway")
            << QStringLiteral("change") << QList<int>{kAnswerYes, kAnswerYes} << QList<int>{6, 29}
            << true;
        QTest::newRow("changed, kept")
            << QStringLiteral("change") << QList<int>{kAnswerYes, kAnswerNo} << QList<int>{6, 29}
            << false;
        QTest::newRow("same bytes again")
            << QStringLiteral("same") << QList<int>{kAnswerYes} << QList<int>{6} << true;
        QTest::newRow("gone, its side file deleted")
            << QStringLiteral("gone") << QList<int>{kAnswerYes} << QList<int>{6} << true;
    }
    void deleteAsksAgainWhenChangedOutside()
    {
        QFETCH(QString, outside);
        QFETCH(QList<int>, answers);
        QFETCH(QList<int>, asked);
        QFETCH(bool, deleted);
        const QString goulash = m_collection->recipes + QStringLiteral("goulash.vrez");
        putFile(goulash + QStringLiteral(".003"), "{\\rtf1 x\\par}");
        const QByteArray listed = fileBytes(goulash);
        const QByteArray changed = listed + "\r\n";
        if (outside == QLatin1String("change"))
            putFile(goulash, changed);
        else if (outside == QLatin1String("same")) {
            putFile(goulash, listed);
            QFile file(goulash);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                     QFileDevice::FileModificationTime));
        } else
            QVERIFY(QFile::remove(goulash));
        m_main->selectRow(1);
        // Both questions are yes-or-no questions that name the recipe.
        QList<QList<int>> questions;
        QStringList subjects;
        SetShowMsgHook([&](int number, int heading, int set) {
            questions.append({number, heading, set});
            subjects << ShownMsgSubject();
            return answers.isEmpty() ? 0 : answers.takeFirst();
        });
        m_main->PMRezeptloeschenClick();
        QList<QList<int>> expected;
        for (int number : asked)
            expected.append({number, 2, 4});
        QCOMPARE(questions, expected);
        QCOMPARE(subjects, QStringList(asked.size(), QStringLiteral("Goulash")));
        QVERIFY(m_errors.isEmpty());
        QCOMPARE(QFile::exists(goulash + QStringLiteral(".003")), !deleted);
        if (!deleted)
            QCOMPARE(fileBytes(goulash), changed);
        else
            QVERIFY(!QFile::exists(goulash));
    }

    void undeletableRecipeFileIsReported()
    {
        // A folder in the recipe file's place cannot be deleted as a file, not even by root.
        const QString goulash = m_collection->recipes + QStringLiteral("goulash.vrez");
        putFile(goulash + QStringLiteral(".003"), "{\\rtf1 x\\par}");
        QVERIFY(QFile::remove(goulash));
        putFile(goulash + QStringLiteral("/inside"), "x");
        m_main->selectRow(1);
        m_answers = {kAnswerYes};
        m_main->PMRezeptloeschenClick();
        QCOMPARE(m_errors.size(), 1);
        QVERIFY2(m_errors.first().contains(QLatin1String("goulash.vrez")),
                 qPrintable(m_errors.first()));
        // The recipe stays whole: its side file is kept.
        QVERIFY(QFile::exists(goulash + QStringLiteral(".003")));
    }

    void popupItems_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("printer");
        QTest::addColumn<QList<bool>>("enabled"); // new, load, print, delete, shopping list
        QTest::newRow("no selection")
            << -1 << true << QList<bool>{true, false, false, false, false};
        QTest::newRow("new recipe row")
            << 0 << true << QList<bool>{true, false, false, false, false};
        QTest::newRow("recipe") << 2 << true << QList<bool>{false, true, true, true, true};
        QTest::newRow("recipe, no printer")
            << 2 << false << QList<bool>{false, true, false, true, true};
    }
    void popupItems()
    {
        QFETCH(int, row);
        QFETCH(bool, printer);
        QFETCH(QList<bool>, enabled);
        if (printer)
            SetPrinters(
                std::make_unique<FixedPagePrinter>(QStringLiteral("P"), QSize(800, 1000), 100));
        else
            SetPrinters(std::make_unique<NoPrinters>());
        if (row < 0)
            m_main->recipeList()->selectionModel()->clearSelection();
        else
            m_main->selectRow(row);
        m_main->PMRezeptlistePopup();
        QCOMPARE((QList<bool>{
                     m_main->PMNeuesRezeptanlegen->isEnabled(), m_main->PMRezeptladen->isEnabled(),
                     m_main->PMRezeptdrucken->isEnabled(), m_main->PMRezeptloeschen->isEnabled(),
                     m_main->PMEinkaufsliste->isEnabled()}),
                 enabled);
    }

    void printRecipeOpensThePreviewOfTheRow()
    {
        SetPrinters(std::make_unique<FixedPagePrinter>(QStringLiteral("P"), QSize(800, 1000), 100));
        int previews = 0;
        int kind = -1;
        bool mainShown = true;
        SetPreviewShownHook([&](TFVor& preview) {
            ++previews;
            kind = preview.state().PreviewKind;
            mainShown = m_main->isVisible();
            preview.close();
        });
        QStringList errors;
        SetErrorReportHook([&errors](const QString& text) { errors << text; });
        // A search that leaves one recipe, "Lemon tart", deluxe only: laid out deluxe
        // without a question.
        m_main->ESuchen->setText(QStringLiteral("lemon"));
        const QStringList listed = captions(*m_main);
        QCOMPARE(listed.size(), 2);
        m_main->selectRow(int(listed.indexOf(QStringLiteral("Lemon tart"))));
        const int row = m_main->selectedRow();
        m_main->Rezeptdrucken2Click();
        SetPreviewShownHook({});
        SetErrorReportHook({});
        // This folder has no pictures: the stars are named, and the preview opens all the same.
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QStringLiteral("4_Sterne.png")),
                 qPrintable(errors.first()));
        QCOMPARE(previews, 1);
        QCOMPARE(kind, 1);
        QVERIFY(!mainShown);
        QVERIFY(m_asked.isEmpty());
        QVERIFY(m_main->isVisible());
        QCOMPARE(QDir(previewTempFolder(m_collection->base)).entryList(QDir::Files),
                 QStringList());
        // The list was read again, with the search and the recipe as they were.
        QCOMPARE(m_main->ESuchen->text(), QStringLiteral("lemon"));
        QCOMPARE(captions(*m_main), listed);
        QCOMPARE(m_main->selectedRow(), row);
        QCOMPARE(m_main->RERezepttext->toPlainText(), QStringLiteral("200  flour\ng"));
    }

    void printMessages()
    {
        m_main->selectRow(0);
        m_main->Rezeptdrucken2Click();
        SetPrinters(std::make_unique<NoPrinters>());
        m_main->selectRow(1);
        m_main->Rezeptdrucken2Click();
        m_main->ESuchen->setText(QStringLiteral("nothing like this"));
        m_main->Rezeptlistedrucken1Click();
        QCOMPARE(m_asked, (QList<int>{12, 11, 25}));
    }

    // The window takes no input while the list prints, and takes it again afterwards.
    void printRecipeListDisablesTheWindowMeanwhile()
    {
        SetPrinters(std::make_unique<PdfPrinterOnly>());
        const QString pdf = m_collection->base + QStringLiteral("list.pdf");
        QList<bool> enabled;
        SetPrintDialogHook([&](PrinterChoice& choice) {
            enabled << m_main->isEnabled();
            choice.printer = QString::fromLatin1(kPdfPrinterName);
            choice.pdfFile = pdf;
            return true;
        });
        m_main->Rezeptlistedrucken1Click();
        SetPrintDialogHook({});
        QCOMPARE(enabled, QList<bool>{false});
        QVERIFY(m_main->isEnabled());
        QVERIFY(m_errors.isEmpty());
        QVERIFY(fileBytes(pdf).startsWith("%PDF"));
    }

    void enterAndDoubleClickOpenTheEditor()
    {
        QList<bool> requests;
        connect(m_main.get(), &TFMain::editorRequested, this,
                [&requests](bool isNew) { requests << isNew; });
        m_main->selectRow(0);
        QTest::keyClick(m_main->recipeList(), Qt::Key_Return);
        m_main->selectRow(2);
        QTest::keyClick(m_main->recipeList(), Qt::Key_Return);
        QCOMPARE(m_catalogue.CurrentRecipe, IndexOfListRow(m_catalogue.recipes, 2));
        const QRect rect = m_main->recipeList()->visualRect(m_main->listModel()->index(0, 0));
        // An item view takes a double click as the second press of two.
        QTest::mouseClick(m_main->recipeList()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(m_main->recipeList()->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(requests, (QList<bool>{true, false, true}));
    }

    // Ctrl and Shift clicks select several recipes; the commands for one recipe work on
    // the current one, or say that they take only one and do nothing.
    void severalSelectedRowsKeepCommandsOnTheCurrentRecipe()
    {
        SetPrinters(std::make_unique<FixedPagePrinter>(QStringLiteral("P"), QSize(800, 1000), 100));
        int previews = 0;
        SetPreviewShownHook([&previews](TFVor& preview) {
            ++previews;
            preview.close();
        });
        QTreeView* list = m_main->recipeList();
        const auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                              list->visualRect(m_main->listModel()->index(row, 0)).center());
        };
        const auto selectedRows = [this] {
            QList<int> rows;
            for (int index : m_main->selectedRecipes())
                rows << m_catalogue.recipes.at(index).ListIndex;
            return rows;
        };
        const QString soupText = QStringLiteral("Chop the tomatoes.\nSimmer with onion.");
        const QString tartText = QStringLiteral("200  flour\ng");
        click(1, {});
        click(3, Qt::ControlModifier); // Goulash and Tomato soup
        QCOMPARE(selectedRows(), (QList<int>{1, 3}));
        QCOMPARE(m_main->selectedRow(), 3);
        QCOMPARE(m_main->RERezepttext->toPlainText(), soupText);
        click(2, Qt::ShiftModifier | Qt::ControlModifier); // and Lemon tart, now the current one
        QCOMPARE(selectedRows(), (QList<int>{1, 2, 3}));
        QCOMPARE(m_main->selectedRow(), 2);
        QCOMPARE(m_main->RERezepttext->toPlainText(), tartText);

        // The editor opens on the current recipe, from the menu and by Enter.
        QList<bool> requests;
        connect(m_main.get(), &TFMain::editorRequested, this,
                [&requests](bool isNew) { requests << isNew; });
        m_main->Rezeptladen1Click();
        QCOMPARE(m_catalogue.CurrentRecipe, IndexOfListRow(m_catalogue.recipes, 2));
        m_catalogue.CurrentRecipe = -1;
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(m_catalogue.CurrentRecipe, IndexOfListRow(m_catalogue.recipes, 2));
        QCOMPARE(requests, (QList<bool>{false, false}));

        // Printing and deleting take one recipe: they say so and do nothing.
        m_answers = {kAnswerYes, kAnswerYes};
        m_main->Rezeptdrucken2Click();
        m_main->PMRezeptloeschenClick();
        QCOMPARE(m_asked, (QList<int>{kOneRecipeOnly, kOneRecipeOnly}));
        QCOMPARE(previews, 0);
        QCOMPARE(captions(*m_main).size(), 4);
        QCOMPARE(selectedRows(), (QList<int>{1, 2, 3}));

        // A Ctrl+click takes the current row out: the summary shows a row still selected.
        click(2, Qt::ControlModifier);
        click(1, Qt::ControlModifier);
        QCOMPARE(selectedRows(), QList<int>{3});
        QCOMPARE(m_main->selectedRow(), 3);
        QCOMPARE(m_main->RERezepttext->toPlainText(), soupText);
        // One selected again: printing works on it.
        m_main->Rezeptdrucken2Click();
        QCOMPARE(previews, 1);
        // Ctrl+A selects every recipe.
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(selectedRows(), (QList<int>{1, 2, 3}));
        SetPreviewShownHook({});
    }

    void tooltipsSwitchWritesTheOptions()
    {
        const QString options = m_collection->base + QStringLiteral("PRGDATA/Options.kv");
        QVERIFY(m_main->Tooltipps1->isChecked());
        m_main->Tooltipps1->trigger();
        QVERIFY(!m_main->Tooltipps1->isChecked());
        QVERIFY(fileBytes(options).startsWith("[KV 2.00]\r\n0\r\n"));
        QVERIFY(m_main->listModel()->index(1, 0).data(Qt::ToolTipRole).toString().isEmpty());
        m_main->Tooltipps1->trigger();
        QVERIFY(fileBytes(options).startsWith("[KV 2.00]\r\n1\r\n"));
        QCOMPARE(m_main->listModel()->index(1, 0).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("no digital recipe: ring binder"));
    }

    void exitQuestion()
    {
        const QString options = m_collection->base + QStringLiteral("PRGDATA/Options.kv");
        m_answers = {7};
        QVERIFY(!m_main->close());
        QVERIFY(m_main->isVisible());
        QVERIFY(!QFile::exists(options));
        m_answers = {6};
        QVERIFY(m_main->close());
        QCOMPARE(m_asked, (QList<int>{17, 17}));
        QVERIFY(fileBytes(options).startsWith("[KV 2.00]\r\n"));
    }

    void wrongOptionsHeaderEndsTheStartQuietly()
    {
        putFile(m_collection->base + QStringLiteral("PRGDATA/Options.kv"),
                "[KV 3.00]\r\n1\r\n/\r\n0\r\n0\r\n");
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_collection->base));
        Application application;
        QString error;
        const bool started = application.start(&error);
        QDir::setCurrent(previous);
        QVERIFY(!started);
        QVERIFY(error.isEmpty());
        QVERIFY(!application.mainWindow()->isVisible());
        QVERIFY(m_asked.isEmpty());
    }

    void startUpShowsTheList()
    {
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_collection->base));
        Application application;
        QString error;
        const bool started = application.start(&error);
        QDir::setCurrent(previous);
        QVERIFY2(started, qPrintable(error));
        TFMain* main = application.mainWindow();
        QVERIFY(main->isVisible());
        QVERIFY((main->frameGeometry().center() - main->screen()->availableGeometry().center())
                    .manhattanLength() <= 2);
        QCOMPARE(main->windowTitle(), QStringLiteral("Dilboscan 2.01"));
        QCOMPARE(main->listModel()->rowCount(), 4);
        QVERIFY(QFile::exists(m_collection->base + QStringLiteral("PRGDATA/Options.kv")));
        QCOMPARE(CurrentSettings().formatIndex, 2);
        // Every control the interface texts name exists, so none misses its text.
        QCOMPARE(ControlsWithoutTexts(main), QStringList());
        QCOMPARE(ControlsWithoutTexts(application.editor()), QStringList());
        QCOMPARE(application.editor()->windowTitle(), QStringLiteral("Dilboscan 2.01"));
        main->setOptionsRead(false);
    }

    // File > Import recipes: a damaged file in the selection is named in the summary,
    // the good one is in the list behind it, and the summary saves as a text file. An
    // import of a megabyte or more shows the progress window while it runs.
    void importRecipesFromTheFileMenu_data()
    {
        QTest::addColumn<int>("extraRecipes");
        QTest::addColumn<QList<int>>("progressPauses");
        QTest::addColumn<QString>("summary");
        QTest::newRow("short") << 0 << QList<int>() << QStringLiteral("1 recipe imported.");
        QTest::newRow("long") << 800 << QList<int>{100, 50}
                              << QStringLiteral("801 recipes imported.");
    }
    void importRecipesFromTheFileMenu()
    {
        QFETCH(int, extraRecipes);
        QFETCH(QList<int>, progressPauses);
        QFETCH(QString, summary);
        QMenu* file = m_main->menuBar()->actions().first()->menu();
        QVERIFY(file->actions().contains(m_main->Rezepteimportieren1));
        QCOMPARE(m_main->Rezepteimportieren1->text(), QStringLiteral("Import recipes..."));

        const QString in = m_collection->base + QStringLiteral("in/");
        QByteArray mealMaster =
            "MMMMM----- Recipe via Meal-Master (tm) v8.06\r\n"
            "      Title: Barley Stew\r\n      1 c  Barley\r\nSimmer.\r\nMMMMM\r\n";
        for (int i = 0; i < extraRecipes; ++i) {
            mealMaster += "MMMMM----- Recipe via Meal-Master\r\n      Title: Filler " +
                          QByteArray::number(i) + "\r\n" + QByteArray(1300, 'x') + "\r\nMMMMM\r\n";
        }
        putFile(in + QStringLiteral("stew.mmf"), mealMaster);
        putFile(in + QStringLiteral("broken.xml"),
                "<recipeml><recipe><head><title>Stew</title></head><ingredients>");
        SetImportFilesDialogHook([&] {
            return QStringList{in + QStringLiteral("stew.mmf"), in + QStringLiteral("broken.xml")};
        });
        const QString saved = in + QStringLiteral("summary.txt");
        SetSummaryFileDialogHook([&](const QString&) { return saved; });
        QList<int> pauses;
        SetProgressPauseHook([&](int ms) { pauses << ms; });
        QString result;
        QList<QStringList> rows;
        bool modal = false, listed = false;
        SetImportSummaryShownHook([&](TFImport& window) {
            modal = window.isVisible() && window.windowModality() == Qt::ApplicationModal;
            listed = captions(*m_main).contains(QStringLiteral("Barley Stew"));
            result = window.LErgebnis->text();
            for (int i = 0; i < window.LVProbleme->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = window.LVProbleme->topLevelItem(i);
                rows << QStringList{item->text(0), item->text(1), item->text(2)};
            }
            QTest::mouseClick(window.BSpeichern, Qt::LeftButton);
            QTest::mouseClick(window.BOK, Qt::LeftButton);
        });
        m_main->Rezepteimportieren1->trigger();
        SetImportFilesDialogHook({});
        SetSummaryFileDialogHook({});
        SetImportSummaryShownHook({});
        SetProgressPauseHook({});

        QVERIFY(modal);
        QVERIFY(listed);
        QCOMPARE(result, summary);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][0], in + QStringLiteral("broken.xml"));
        QVERIFY2(rows[0][1].startsWith(QLatin1String("line 1, column")), qPrintable(rows[0][1]));
        QVERIFY2(rows[0][2].contains(QLatin1String("\"Stew\" was not imported")),
                 qPrintable(rows[0][2]));
        const QByteArray text = fileBytes(saved);
        QVERIFY2(text.contains("broken.xml, line 1, column"), text.constData());
        QCOMPARE(pauses, progressPauses);
        QVERIFY(!ProgressWindow()->isVisible());
        QVERIFY(m_asked.isEmpty());
        QCOMPARE(m_errors, QStringList());
    }

    // "Export..." writes what the list shows, in its order, and nothing else.
    void exportFromTheFileMenu()
    {
        QMenu* file = m_main->menuBar()->actions().first()->menu();
        QAction* exportAction = m_main->findChild<QAction*>(QStringLiteral("Rezepteexportieren1"));
        QVERIFY(exportAction && file->actions().contains(exportAction));
        QCOMPARE(exportAction->text(), QStringLiteral("Export..."));
        QTest::keyClicks(m_main->ESuchen, QStringLiteral("onion"));
        const QString target = m_collection->base + QStringLiteral("out.mmf");
        bool windowModal = false;
        SetExportWindowHook([&](TFExport& window) {
            windowModal = window.parentWidget() == m_main.get() && window.windowModality() == Qt::WindowModal;
            window.CBFormat->setCurrentIndex(window.CBFormat->findText(QStringLiteral("MealMaster file")));
            window.EZiel->setText(target);
            return true;
        });
        exportAction->trigger();
        SetExportWindowHook({});
        m_main->ESuchen->clear();
        QVERIFY(windowModal);
        const QByteArray text = fileBytes(target);
        QCOMPARE(text.count("Title: "), 1);
        QVERIFY(text.contains("Title: Tomato soup"));
        QCOMPARE(m_errors, QStringList());
    }

private:
    std::unique_ptr<Collection> m_collection;
    Catalogue m_catalogue;
    std::unique_ptr<TFMain> m_main;
    QList<int> m_answers;
    QList<int> m_asked;
    QStringList m_errors;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
