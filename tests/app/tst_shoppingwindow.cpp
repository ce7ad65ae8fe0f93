// SPDX-License-Identifier: GPL-2.0-or-later

#include "tests/pdftools.h"
#include "tests/testfiles.h"

#include "app/F_Shopping.h"
#include "app/F_main.h"
#include "app/recipelistmodel.h"
#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/session.h"
#include "preview/printdialog.h"
#include "preview/printers.h"
#include "preview/printjob.h"
#include "preview/shoppingprint.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QLineEdit>
#include <QSet>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

// The shopping list window of the main window, on three of the demo recipes: the
// merged lines, servings, ticks and edits, saving, copying and printing.

namespace {

const QStringList kDemo{QStringLiteral("Belgian Waffles"), QStringLiteral("Crème Caramel"),
                        QStringLiteral("Fluffy Pancakes")};

QStringList column(const QTreeWidget* list, int c)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(c);
    return out;
}

// The first line starting with start; -1 when there is none.
int lineOf(const QTreeWidget* list, const QString& start)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0).startsWith(start))
            return i;
    }
    return -1;
}

} // namespace

class ShoppingWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showsTheMergedListOfTheSelectedRecipes();
    void servingsRescaleAndTicksAndEditsStay();
    void savesAndCopiesTheText();
    void printsEveryLine();
    void pageBreaksFallBetweenLines();
    void amountsFollowTheServingsField_data();
    void amountsFollowTheServingsField();

private:
    TFShopping* open(const QStringList& names);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
    Catalogue m_catalogue;
    std::unique_ptr<TFMain> m_main;
    QList<int> m_asked;
    QStringList m_errors;
};

void ShoppingWindowTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_base = m_dir->path() + QLatin1Char('/');
    QDir().mkpath(m_base + QStringLiteral("PRGDATA"));
    QVERIFY(copyTree(QStringLiteral(DILBO_DATA_DIR "/prepared_recipes"),
                     m_base + QStringLiteral("prepared_recipes")));
    setBaseFolder(m_base);
    CurrentSettings() = initialSettings(m_base);
    m_asked.clear();
    m_errors.clear();
    SetShowMsgHook([this](int number, int, int) {
        m_asked << number;
        return kAnswerClosed;
    });
    SetErrorReportHook([this](const QString& text) { m_errors << text; });
    m_catalogue.reset();
    m_main = std::make_unique<TFMain>(m_catalogue);
    m_main->FillRecipeList(true);
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
}

void ShoppingWindowTest::cleanup()
{
    for (TFShopping* window : m_main->findChildren<TFShopping*>())
        window->close();
    m_main->setOptionsRead(false);
    m_main.reset();
    SetShowMsgHook({});
    SetErrorReportHook({});
    SetPrintDialogHook({});
    SetShoppingFileDialogHook({});
    SetPrinters({});
    m_dir.reset();
}

// Selects the recipes by Ctrl+clicks in the list and runs "Shopping list..." of the
// File menu.
TFShopping* ShoppingWindowTest::open(const QStringList& names)
{
    QTreeView* list = m_main->recipeList();
    list->selectionModel()->clearSelection();
    for (const QString& name : names) {
        const QModelIndexList found = m_main->listModel()->match(
            m_main->listModel()->index(1, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
        if (found.isEmpty())
            return nullptr;
        list->scrollTo(found.first());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualRect(found.first()).center());
    }
    m_main->Einkaufsliste1->trigger();
    return m_main->findChild<TFShopping*>();
}

void ShoppingWindowTest::showsTheMergedListOfTheSelectedRecipes()
{
    // Nothing selected: the command says so.
    m_main->recipeList()->selectionModel()->clearSelection();
    m_main->Einkaufsliste1->trigger();
    QCOMPARE(m_asked, QList<int>{12});
    QVERIFY(!m_main->findChild<TFShopping*>());

    TFShopping* window = open(kDemo);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowModality(), Qt::WindowModal);
    QCOMPARE(window->parent(), m_main.get());
    QCOMPARE(window->TWRezepte->rowCount(), 3);
    QList<int> servings;
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(window->TWRezepte->item(i, 0)->text(), kDemo.at(i));
        servings << window->servingsBox(i)->value();
    }
    QCOMPARE(servings, (QList<int>{6, 6, 8})); // "6 waffles", "6 ramekins", "8 pancakes"
    const QString waffles = kDemo.at(0);
    const QString caramel = kDemo.at(1);
    const QString pancakes = kDemo.at(2);
    const QString both = waffles + QStringLiteral(", ") + pancakes;
    QCOMPARE(column(window->LVListe, 0),
             QStringLiteral("450 g plain flour|1 sachet dried yeast|3 tbsp sugar|1 pinch salt|"
                            "600 ml milk|7 eggs|130 g butter|225 g sugar|3 tbsp water|"
                            "500 ml whole milk|1 vanilla pod|2 egg yolks|2 tsp baking powder|"
                            "a pinch of salt|maple syrup, butter, blueberries")
                 .split(u'|'));
    QCOMPARE(column(window->LVListe, 1),
             (QStringList{both, waffles, both, waffles, both,
                          waffles + QStringLiteral(", ") + caramel + QStringLiteral(", ") + pancakes,
                          both, caramel, caramel, caramel, caramel, caramel, pancakes, pancakes,
                          pancakes}));
}

void ShoppingWindowTest::servingsRescaleAndTicksAndEditsStay()
{
    TFShopping* window = open(kDemo);
    QVERIFY(window);
    QTreeWidget* list = window->LVListe;
    const auto text = [list](int line) { return list->topLevelItem(line)->text(0); };
    const int flour = lineOf(list, QStringLiteral("450 g plain flour"));
    const int milk = lineOf(list, QStringLiteral("600 ml milk"));
    const int vanilla = lineOf(list, QStringLiteral("1 vanilla pod"));
    const int eggs = lineOf(list, QStringLiteral("7 eggs"));
    QVERIFY(flour >= 0 && milk >= 0 && vanilla >= 0 && eggs >= 0);

    // Ticked off.
    list->topLevelItem(milk)->setCheckState(0, Qt::Checked);
    QVERIFY(window->sheet().lines().at(milk).ticked);
    // Edited in place: the name only, so the amount still follows the servings ...
    list->editItem(list->topLevelItem(flour), 0);
    auto* editor = list->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("450 g wholemeal flour"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the view takes the text on a queued call
    QCOMPARE(text(flour), QStringLiteral("450 g wholemeal flour"));
    // ... and the whole line, which then stays as written.
    list->topLevelItem(vanilla)->setText(0, QStringLiteral("vanilla extract"));

    // Twice the pancakes and the waffles: only their amounts grow; ticks and edits stay.
    window->servingsBox(2)->setValue(16);
    window->servingsBox(0)->setValue(12);
    QCOMPARE(text(flour), QStringLiteral("900 g wholemeal flour"));
    QCOMPARE(text(milk), QStringLiteral("1200 ml milk"));
    QCOMPARE(list->topLevelItem(milk)->checkState(0), Qt::Checked);
    QCOMPARE(text(vanilla), QStringLiteral("vanilla extract"));
    QCOMPARE(text(eggs), QStringLiteral("11 eggs")); // 2 × 2 + 3 + 2 × 2
    QCOMPARE(text(lineOf(list, QStringLiteral("2 sachet"))), QStringLiteral("2 sachet dried yeast"));
    QVERIFY(lineOf(list, QStringLiteral("225 g sugar")) >= 0); // the custard is not scaled
    // An emptied text is the computed one again.
    list->topLevelItem(flour)->setText(0, QString());
    QCOMPARE(text(flour), QStringLiteral("900 g plain flour"));
    // Unticked again.
    list->topLevelItem(milk)->setCheckState(0, Qt::Unchecked);
    QVERIFY(!window->sheet().lines().at(milk).ticked);
}

void ShoppingWindowTest::savesAndCopiesTheText()
{
    TFShopping* window = open(kDemo);
    QVERIFY(window);
    window->LVListe->topLevelItem(lineOf(window->LVListe, QStringLiteral("7 eggs")))
        ->setCheckState(0, Qt::Checked);
    window->servingsBox(1)->setValue(3);
    const QString file = m_base + QStringLiteral("list.txt");
    putFile(file, "an older list\n");
    QString target;
    QStringList proposed;
    SetShoppingFileDialogHook([&](const QString& offered) {
        proposed << offered;
        return target;
    });
    // Cancelled: nothing is written.
    QTest::mouseClick(window->BSpeichern, Qt::LeftButton);
    QCOMPARE(fileBytes(file), QByteArray("an older list\n"));
    target = file;
    QTest::mouseClick(window->BSpeichern, Qt::LeftButton);
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    const QByteArray expected =
        "Shopping list\n\n"
        "Belgian Waffles: 6 servings (written for 6 waffles)\n"
        "Cr\xc3\xa8me Caramel: 3 servings (written for 6 ramekins)\n"
        "Fluffy Pancakes: 8 servings (written for 8 pancakes)\n\n"
        "[ ] 450 g plain flour (Belgian Waffles, Fluffy Pancakes)\n"
        "[ ] 1 sachet dried yeast (Belgian Waffles)\n"
        "[ ] 3 tbsp sugar (Belgian Waffles, Fluffy Pancakes)\n"
        "[ ] 1 pinch salt (Belgian Waffles)\n"
        "[ ] 600 ml milk (Belgian Waffles, Fluffy Pancakes)\n"
        "[x] 5 1/2 eggs (Belgian Waffles, Cr\xc3\xa8me Caramel, Fluffy Pancakes)\n"
        "[ ] 130 g butter (Belgian Waffles, Fluffy Pancakes)\n"
        "[ ] 113 g sugar (Cr\xc3\xa8me Caramel)\n"
        "[ ] 1 1/2 tbsp water (Cr\xc3\xa8me Caramel)\n"
        "[ ] 250 ml whole milk (Cr\xc3\xa8me Caramel)\n"
        "[ ] 1/2 vanilla pod (Cr\xc3\xa8me Caramel)\n"
        "[ ] 1 egg yolks (Cr\xc3\xa8me Caramel)\n"
        "[ ] 2 tsp baking powder (Fluffy Pancakes)\n"
        "[ ] a pinch of salt (Fluffy Pancakes)\n"
        "[ ] maple syrup, butter, blueberries (Fluffy Pancakes)\n";
    QCOMPARE(fileBytes(file), expected);
    // The next save offers the file saved last.
    QTest::mouseClick(window->BSpeichern, Qt::LeftButton);
    QCOMPARE(proposed.last(), file);

    // A folder that is not there: the error names the file, nothing is written.
    target = m_base + QStringLiteral("missing/list.txt");
    QTest::mouseClick(window->BSpeichern, Qt::LeftButton);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().contains(target), qPrintable(m_errors.first()));
    QVERIFY(!QFile::exists(target));

    QTest::mouseClick(window->BKopieren, Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8(expected));
}

void ShoppingWindowTest::printsEveryLine()
{
    if (!pdf::available())
        QSKIP("poppler-utils (pdftotext, pdftoppm) are not installed");
    SetPrinters(std::make_unique<PdfPrinterOnly>());
    const QString out = m_base + QStringLiteral("list.pdf");
    SetPrintDialogHook([&out](PrinterChoice& choice) {
        choice.printer = QString::fromLatin1(kPdfPrinterName);
        choice.pdfFile = out;
        return true;
    });
    TFShopping* window = open(kDemo);
    QVERIFY(window);
    QTest::mouseClick(window->BDrucken, Qt::LeftButton);
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    QCOMPARE(pdf::pageCount(out), 1);
    const QString printed = pdf::texts(pdf::words(out)).join(u' ');
    QString expected = QStringLiteral("Shopping list");
    for (const ShoppingSheet::Recipe& recipe : window->sheet().recipes())
        expected += u' ' + recipe.name + QStringLiteral(": ") + ShoppingSheet::amountText(recipe);
    for (const ShoppingSheet::Line& line : window->sheet().lines())
        expected += u' ' + line.text() + u' ' + line.merged.recipes.join(QStringLiteral(", "));
    QCOMPARE(printed, expected.simplified());
}

// Many lines on a small paper, one of them wrapping over several printed lines: each
// line lies whole on one page, in order, above the bottom margin.
void ShoppingWindowTest::pageBreaksFallBetweenLines()
{
    if (!pdf::available())
        QSKIP("poppler-utils (pdftotext, pdftoppm) are not installed");
    IngredientTexts texts;
    QStringList longWords;
    for (int i = 0; i < 40; ++i)
        longWords << QStringLiteral("w%1").arg(i, 2, 10, QLatin1Char('0'));
    for (int i = 0; i < 40; ++i) {
        texts.lines << (i == 17 ? QStringLiteral("2 kg item17 ") + longWords.join(u' ')
                                : QStringLiteral("%1 kg item%2").arg(i + 1).arg(i, 2, 10, QLatin1Char('0')));
    }
    ShoppingSheet sheet;
    sheet.addRecipe(QStringLiteral("Test"), texts, QStringLiteral("4"));
    sheet.setTicked(3, true);
    TDrucker geometry;
    geometry.PageWidthCm = 10;
    geometry.PageHeightCm = 10;
    const QString out = m_base + QStringLiteral("pages.pdf");
    PdfPrintJob job(out, QSizeF(10, 10), false, kPdfPrinterDpi);
    QString error;
    QVERIFY2(PrintShoppingSheet(job, geometry, sheet, &error), qPrintable(error));

    const QList<pdf::Word> words = pdf::words(out);
    const double bottom = (10 - 1) / 2.54 * 72; // the printable area ends 1 cm above the edge
    QHash<QString, int> pageOf;
    for (const pdf::Word& w : words) {
        pageOf.insert(w.text, w.page);
        QVERIFY2(w.box.bottom() <= bottom + 0.5, qPrintable(w.text));
    }
    int last = 0;
    for (int i = 0; i < 40; ++i) {
        const QString name = QStringLiteral("item%1").arg(i, 2, 10, QLatin1Char('0'));
        QVERIFY2(pageOf.contains(name), qPrintable(name));
        QVERIFY2(pageOf.value(name) >= last, qPrintable(name));
        last = pageOf.value(name);
    }
    QVERIFY(last >= 2);
    for (const QString& word : std::as_const(longWords))
        QCOMPARE(pageOf.value(word, -1), pageOf.value(QStringLiteral("item17")));
    // The long line does wrap: its words lie on more than one printed line.
    QSet<int> tops;
    for (const pdf::Word& w : words) {
        if (longWords.contains(w.text))
            tops.insert(int(w.box.top()));
    }
    QVERIFY(tops.size() > 1);
}

void ShoppingWindowTest::amountsFollowTheServingsField_data()
{
    QTest::addColumn<QString>("servings"); // the recipe's Servings field
    QTest::addColumn<double>("wanted");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("flour");
    QTest::newRow("no number: times the recipe")
        << QString() << 3.0 << QStringLiteral("3 \u00D7 the recipe") << QStringLiteral("600 g flour");
    QTest::newRow("servings") << QStringLiteral("4") << 2.0 << QStringLiteral("2 servings")
                              << QStringLiteral("100 g flour");
    QTest::newRow("makes 12") << QStringLiteral("makes 12") << 18.0
                              << QStringLiteral("18 servings") << QStringLiteral("300 g flour");
}

// The sheet without its window: the factor from the Servings field, refused amounts, and
// a tick that stays on its own line of two lines of one ingredient.
void ShoppingWindowTest::amountsFollowTheServingsField()
{
    QFETCH(QString, servings);
    QFETCH(double, wanted);
    QFETCH(QString, amount);
    QFETCH(QString, flour);
    IngredientTexts texts;
    texts.lines = QStringList{QStringLiteral("200 g flour"), QStringLiteral("1 can tomatoes"),
                              QStringLiteral("500 g tomatoes")};
    ShoppingSheet sheet;
    sheet.addRecipe(QStringLiteral("Stew"), texts, servings);
    // Edited and ticked before the lines were first asked for; lines that are not there
    // are left.
    sheet.setText(1, QStringLiteral("1 can chopped tomatoes"));
    sheet.setTicked(0, true);
    sheet.setTicked(2, true);
    for (int outside : {-1, 3}) {
        sheet.setTicked(outside, true);
        sheet.setText(outside, QStringLiteral("rice"));
    }
    QCOMPARE(sheet.lines().size(), 3);
    QCOMPARE(sheet.lines().at(0).text(), QStringLiteral("200 g flour"));
    QVERIFY(sheet.setWanted(0, wanted));
    QVERIFY(!sheet.setWanted(0, 0));
    QVERIFY(!sheet.setWanted(1, 2));
    QCOMPARE(sheet.lines().at(0).text(), flour);
    QCOMPARE(ShoppingSheet::amountText(sheet.recipes().at(0)), amount);
    QCOMPARE(sheet.lines().at(1).ownName, QStringLiteral("chopped tomatoes"));
    QCOMPARE(sheet.lines().at(0).ticked, true);
    QCOMPARE(sheet.lines().at(1).ticked, false);
    QCOMPARE(sheet.lines().at(2).ticked, true);
    const QString written =
        servings.isEmpty() ? QString() : QStringLiteral(" (written for ") + servings + u')';
    QVERIFY2(sheet.plainText().startsWith(QStringLiteral("Shopping list\n\nStew: ") + amount +
                                          written + QStringLiteral("\n\n[x] ") + flour +
                                          QStringLiteral(" (Stew)\n")),
             qPrintable(sheet.plainText()));
}

QTEST_MAIN(ShoppingWindowTest)
#include "tst_shoppingwindow.moc"
