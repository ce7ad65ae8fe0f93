// SPDX-License-Identifier: GPL-2.0-or-later

#include "tests/preview/previewfixture.h"
#include "tests/testfiles.h"

#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/session.h"
#include "platform/richtext/rtfwriter.h"
#include "platform/runlock.h"
#include "preview/F_PrintS.h"
#include "preview/F_Vor.h"
#include "preview/elementimage.h"
#include "preview/openpreview.h"
#include "preview/printers.h"
#include "preview/recipefill.h"
#include "preview/servingsscale.h"
#include "recipes/quantity.h"
#include "recipes/recipefile.h"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

// The preview window opened on a recipe, driven through its menus; the deluxe question
// and "Delete last page?" are answered through the message hook, the preview's own
// wait through the shown hook.
class PreviewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void unitItemShowsAndHides_data();
    void unitItemShowsAndHides();
    void deluxeQuestion_data();
    void deluxeQuestion();
    void columnsStandTenApart();
    void pagesAndArrows();
    void deleteLastPage_data();
    void deleteLastPage();
    void everyDemoRecipeLaysOut();
    void openEditBoxDisablesEverything();
    void temporaryFilesGoWhenClosed();
    void unreadableContentFileIsNamed();
    void unwritableContentFileKeepsThePreviewShut();
    void hooksThatLeaveWindowsOpenNeverHang();
    void aProgramStartedBesideKeepsThePreviewFiles();
    void anUnusableStandardDraftGivesTheDefaultLayout_data();
    void anUnusableStandardDraftGivesTheDefaultLayout();
    void aDraftKeepsTheColumnRowOnTheSheet();
    void servingsScaleTheShownTexts_data();
    void servingsScaleTheShownTexts();

private:
    TKVG recipe(int kind, bool deluxeLines) const;
    /// Opens the preview on r and runs during while it is shown, then closes it.
    void open(const TKVG& r, const std::function<void(TFVor&)>& during);
    static void trigger(QAction* action) { action->trigger(); }

    PreviewFixture m_fx;
};

void PreviewTest::init()
{
    m_fx.setUp();
}

void PreviewTest::cleanup()
{
    m_fx.tearDown();
}

TKVG PreviewTest::recipe(int kind, bool deluxeLines) const
{
    TKVG r;
    r.Kind = kind;
    r.FileName = QStringLiteral("Soup.vrez");
    r.FilePath = m_fx.base + QStringLiteral("prepared_recipes/Soup.vrez");
    r.Name = "Tomato soup";
    r.Difficulty = 3;
    r.Devices = "cooking pot,baking oven,";
    r.Comments = {"Serve hot."};
    if (kind == 0) {
        r.Ingredients = {"tomatoes", "onion"};
        r.Instructions = {"Chop the tomatoes and the onion.", "Simmer for twenty minutes."};
    }
    if (deluxeLines) {
        r.Quantities = {"500", "1"};
        r.Units = {"g", ""};
        r.IngredientNames = {"tomatoes", "onion"};
        r.Descriptions = {"chopped", "diced"};
    }
    r.PictureFile = m_fx.base + QStringLiteral("Graphic/PNG/Pancakes.png");
    return r;
}

void PreviewTest::open(const TKVG& r, const std::function<void(TFVor&)>& during)
{
    m_fx.open(r, during);
}

void PreviewTest::unitItemShowsAndHides_data()
{
    QTest::addColumn<int>("kind"); // 2: deluxe without units, 3: deluxe with instructions
    QTest::addColumn<int>("item");
    QTest::addColumn<QList<int>>("elements"); // shown by the item; empty: item disabled
    const QList<int> none;
    QTest::newRow("Name of recipe") << 0 << int(kItemName) << QList<int>{kRecipeName};
    QTest::newRow("Ingredients") << 0 << int(kItemIngredients) << QList<int>{kIngredients};
    QTest::newRow("Description") << 0 << int(kItemDescription) << QList<int>{kDescription};
    QTest::newRow("Comments") << 0 << int(kItemComments) << QList<int>{kComments};
    QTest::newRow("Other notes") << 0 << int(kItemOtherNotes) << QList<int>{kOtherNotes};
    QTest::newRow("Level of difficulty") << 0 << int(kItemDifficulty) << QList<int>{kDifficulty};
    QTest::newRow("Recipe graphic") << 0 << int(kItemGraphic) << QList<int>{kRecipeGraphic};
    QTest::newRow("Cooking devices") << 0 << int(kItemDevices) << QList<int>{kCookingDevices};
    QTest::newRow("Shopping list") << 0 << int(kItemShopping) << QList<int>{kShoppingList};
    QTest::newRow("deluxe Ingredients: the columns")
        << 1 << int(kItemIngredients) << QList<int>{3, 4, 5, 6};
    // The instructions of a recipe with both layouts show in the deluxe layout too.
    QTest::newRow("deluxe Description: the instructions")
        << 3 << int(kItemDescription) << QList<int>{kDescription};
    QTest::newRow("deluxe Description, no instructions") << 1 << int(kItemDescription) << none;
    // A recipe without units: the empty column stands in the row with the others.
    QTest::newRow("deluxe, a column without lines")
        << 2 << int(kItemIngredients) << QList<int>{3, 4, 5, 6};
}

void PreviewTest::unitItemShowsAndHides()
{
    QFETCH(int, kind);
    QFETCH(int, item);
    QFETCH(QList<int>, elements);
    TKVG r = recipe(std::min(kind, 1), kind >= 1);
    if (kind == 2)
        r.Units = {};
    if (kind == 3)
        r.Instructions = {"Mix and bake."};
    open(r, [&](TFVor& preview) {
        QAction* a = preview.unitItems[size_t(item)];
        QCOMPARE(a->isEnabled(), !elements.isEmpty());
        for (int i = 0; i < kElementCount; ++i)
            QVERIFY(preview.elementImage(i)->isHidden()); // the empty draft places nothing
        if (elements.isEmpty())
            return;
        trigger(a);
        QVERIFY(a->isChecked());
        for (int i : elements) {
            const TGFXL& e = preview.elements().at(i);
            QVERIFY(e.Shown);
            QCOMPARE(e.Page, 0);
            QVERIFY(preview.elementImage(i)->isVisible());
            QCOMPARE(preview.elementImage(i)->size(), e.Bitmap.size());
        }
        trigger(a);
        QVERIFY(!a->isChecked());
        for (int i : elements) {
            QCOMPARE(preview.elements().at(i).Page, -1);
            QVERIFY(preview.elementImage(i)->isHidden());
        }
    });
}

void PreviewTest::deluxeQuestion_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QList<int>>("asked");
    QTest::addColumn<int>("previewKind");
    QTest::newRow("both layouts, Yes") << 0 << kAnswerYes << QList<int>{13} << 1;
    QTest::newRow("both layouts, No") << 0 << kAnswerNo << QList<int>{13} << 0;
    QTest::newRow("both layouts, closed") << 0 << kAnswerClosed << QList<int>{13} << 0;
    QTest::newRow("deluxe only") << 1 << kAnswerNo << QList<int>{} << 1;
}

void PreviewTest::deluxeQuestion()
{
    QFETCH(int, kind);
    QFETCH(int, answer);
    QFETCH(QList<int>, asked);
    QFETCH(int, previewKind);
    m_fx.answers = {answer};
    open(recipe(kind, true), [&](TFVor& preview) {
        QCOMPARE(m_fx.asked, asked);
        QCOMPARE(preview.state().PreviewKind, previewKind);
        // The layout's own ingredients can be shown: the list, or the columns; the
        // instructions in both.
        QVERIFY(preview.unitItems[kItemIngredients]->isEnabled());
        QCOMPARE(preview.unitItems[kItemDescription]->isEnabled(), kind == 0);
    });
}

void PreviewTest::columnsStandTenApart()
{
    open(recipe(1, true), [](TFVor& preview) {
        trigger(preview.unitItems[kItemIngredients]);
        const ElementArray& e = preview.elements();
        QCOMPARE(e.at(kQuantity).Left, 0);
        for (int j = kUnit; j <= kPreparation; ++j) {
            QCOMPARE(e.at(j).Top, e.at(kQuantity).Top);
            QCOMPARE(e.at(j).Left, e.at(j - 1).Left + e.at(j - 1).width() + 10);
            QVERIFY(e.at(j).width() >= 20);
        }
    });
}

void PreviewTest::pagesAndArrows()
{
    open(recipe(0, false), [](TFVor& preview) {
        QCOMPARE(preview.Label1->text(), QStringLiteral("Page 1/1"));
        QVERIFY(preview.BBLeft->isHidden() && preview.BBRight->isHidden());
        QVERIFY(!preview.Seitevor1->isEnabled() && !preview.Seite2loeschen->isEnabled());
        QTest::keyClick(&preview, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(preview.Label1->text(), QStringLiteral("Page 2/2"));
        QVERIFY(!preview.NeueSeite1->isEnabled() && !preview.Seitevor1->isEnabled());
        QVERIFY(preview.BBRight->isHidden() && preview.BBLeft->isVisible());
        // An element shown on page 2 is not shown on page 1.
        trigger(preview.unitItems[kItemName]);
        QCOMPARE(preview.elements().at(kRecipeName).Page, 1);
        QTest::mouseClick(preview.BBLeft, Qt::LeftButton);
        QCOMPARE(preview.Label1->text(), QStringLiteral("Page 1/2"));
        QVERIFY(preview.elementImage(kRecipeName)->isHidden());
        QVERIFY(!preview.unitItems[kItemName]->isEnabled()); // it lies on the other page
        QVERIFY(preview.BBLeft->isHidden() && preview.BBRight->isVisible());
        preview.Seitezurueck1Click(); // disabled on page 1: nothing happens
        QCOMPARE(preview.state().CurrentPage, 0);
        preview.BBRightClick();
        QVERIFY(preview.elementImage(kRecipeName)->isVisible());
    });
}

void PreviewTest::deleteLastPage_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("fromPageOne");
    QTest::newRow("No") << kAnswerNo << false;
    QTest::newRow("Yes") << kAnswerYes << false;
    QTest::newRow("Yes, page 1 shown") << kAnswerYes << true;
    // Only No keeps the page: a question closed without an answer deletes it too.
    QTest::newRow("closed") << kAnswerClosed << false;
}

void PreviewTest::deleteLastPage()
{
    QFETCH(int, answer);
    QFETCH(bool, fromPageOne);
    open(recipe(0, false), [&](TFVor& preview) {
        trigger(preview.unitItems[kItemComments]); // on page 1
        preview.NeueSeite1Click();
        trigger(preview.unitItems[kItemName]); // on page 2
        if (fromPageOne)
            preview.Seitezurueck1Click();
        m_fx.answers = {answer};
        trigger(preview.Seite2loeschen);
        QCOMPARE(m_fx.asked, QList<int>{23});
        const bool deleted = answer != kAnswerNo;
        QCOMPARE(preview.elements().at(kRecipeName).Page, deleted ? -1 : 1);
        QCOMPARE(preview.elements().at(kComments).Page, 0);
        QCOMPARE(preview.Label1->text(), deleted       ? QStringLiteral("Page 1/1")
                                         : fromPageOne ? QStringLiteral("Page 1/2")
                                                       : QStringLiteral("Page 2/2"));
        QCOMPARE(preview.BBLeft->isHidden() && preview.BBRight->isHidden(), deleted);
        QVERIFY(preview.elementImage(kComments)->isVisible() || !deleted);
    });
}

void PreviewTest::everyDemoRecipeLaysOut()
{
    // The shipped collection: normal and deluxe recipes, paper references, with and
    // without pictures and devices, formatted side files.
    QVERIFY(copyTree(QStringLiteral(DILBO_DATA_DIR "/prepared_recipes"),
                     m_fx.base + QStringLiteral("prepared_recipes")));
    TKV recipes;
    ReadCatalogue(m_fx.base, recipes);
    QVERIFY(recipes.size() >= 20);
    for (const TKVG& r : recipes) {
        m_fx.answers = {kAnswerYes};
        int shown = 0;
        open(r, [&](TFVor& preview) {
            for (QAction* item : preview.unitItems) {
                if (item->isEnabled())
                    item->trigger();
            }
            for (int i = 0; i < kElementCount; ++i) {
                const TGFXL& e = preview.elements().at(i);
                if (!e.Shown || e.Page == -1) // a hidden element may have been laid out
                    continue;
                ++shown;
                QVERIFY2(e.width() >= 3 && e.height() >= 3, qPrintable(r.FileName));
                QCOMPARE(preview.elementImage(i)->size(), e.Bitmap.size());
            }
        });
        QVERIFY2(m_fx.errors.isEmpty(),
                 qPrintable(r.FileName + m_fx.errors.join(QLatin1Char('\n'))));
        QVERIFY2(shown >= 3, qPrintable(r.FileName)); // name, stars and notes at least
        QCOMPARE(QDir(previewTempFolder(m_fx.base)).entryList(QDir::Files), QStringList());
    }
}

void PreviewTest::openEditBoxDisablesEverything()
{
    open(recipe(0, false), [&](TFVor& preview) {
        preview.NeueSeite1Click();
        preview.REDummy->show();
        preview.UpdateMenus(preview.state().PreviewKind);
        for (QAction* item : preview.unitItems)
            QVERIFY(!item->isEnabled());
        QVERIFY(!preview.Druckbeenden1->isEnabled());
        preview.Seitezurueck1Click();
        preview.BBLeftClick();
        QCOMPARE(preview.state().CurrentPage, 1);
        preview.close(); // refused: "Please close the edit box!"
        QCOMPARE(m_fx.asked, QList<int>{10});
        QVERIFY(preview.isVisible());
        QVERIFY(QFile::exists(preview.elements().at(kRecipeName).ContentFile));
        preview.REDummy->hide();
    });
}

void PreviewTest::temporaryFilesGoWhenClosed()
{
    const TKVG r = recipe(0, true);
    m_fx.answers = {kAnswerNo};
    QStringList during;
    open(r, [&](TFVor& preview) {
        during = QDir(previewTempFolder(m_fx.base)).entryList(QDir::Files);
        trigger(preview.unitItems[kItemDescription]); // leaves the scratch file
        trigger(preview.Druckbeenden1);
    });
    // Texts 001 to 009 of the recipe that has them, its shopping list and the device strip.
    QCOMPARE(during.size(), 11);
    QVERIFY(during.contains(QStringLiteral("Soup.vrez013")));
    QVERIFY(during.contains(QStringLiteral("CookingPots.bmp")));
    QVERIFY(during.contains(QStringLiteral("Soup.vrez003")));
    QCOMPARE(QDir(previewTempFolder(m_fx.base)).entryList(QDir::Files), QStringList());
    QVERIFY(QFile::exists(r.PictureFile));
    QVERIFY(QFile::exists(m_fx.base + QStringLiteral("Graphic/PNG/3_Sterne.png")));
}

void PreviewTest::unreadableContentFileIsNamed()
{
    open(recipe(0, false), [&](TFVor& preview) {
        const QString file = preview.elements().at(kDescription).ContentFile;
        QVERIFY(QFile::remove(file));
        QVERIFY(QDir().mkdir(file)); // still "exists", but is no file to read
        trigger(preview.unitItems[kItemDescription]);
        QCOMPARE(m_fx.errors.size(), 1);
        QVERIFY2(m_fx.errors.first().contains(QStringLiteral("Soup.vrez003")),
                 qPrintable(m_fx.errors.first()));
        QCOMPARE(preview.elements().at(kDescription).Page, -1);
        QVERIFY(preview.elementImage(kDescription)->isHidden());
        QVERIFY(!preview.unitItems[kItemDescription]->isChecked());
        QVERIFY(QDir().rmdir(file));
    });
}

void PreviewTest::unwritableContentFileKeepsThePreviewShut()
{
    const QString blocked = previewTempFolder(m_fx.base) + QStringLiteral("Soup.vrez003");
    QVERIFY(QDir().mkpath(blocked)); // a folder where the instructions' file belongs
    m_fx.catalogue.recipes = {recipe(0, false)};
    m_fx.catalogue.CurrentRecipe = 0;
    int shown = 0;
    SetPreviewShownHook([&shown](TFVor& preview) {
        ++shown;
        preview.close();
    });
    OpenPreview(m_fx.catalogue, true, false);
    QCOMPARE(shown, 0);
    QCOMPARE(m_fx.errors.size(), 1);
    QVERIFY2(m_fx.errors.first().contains(QStringLiteral("Soup.vrez003")),
             qPrintable(m_fx.errors.first()));
    // What was written before goes again.
    QCOMPARE(QDir(previewTempFolder(m_fx.base)).entryList(QDir::Files), QStringList());
    QVERIFY(PreviewWindow()->elements().isEmpty());
}

// A hook whose checks fail returns early, before it closes the window it answers.
// Neither the format window nor the preview may then wait for a user who is not there:
// the test would hang until it is killed instead of failing.
void PreviewTest::hooksThatLeaveWindowsOpenNeverHang()
{
    m_fx.catalogue.recipes = {recipe(0, false)};
    m_fx.catalogue.CurrentRecipe = 0;
    int formatShown = 0;
    bool previewEnabledAfter = false;
    SetPrintFormatShownHook([&](TFPrintS&) { ++formatShown; });
    SetPreviewShownHook([&](TFVor& preview) {
        preview.BBDrucker->click();
        previewEnabledAfter = preview.isEnabled();
    });
    OpenPreview(m_fx.catalogue, true, false);
    SetPrintFormatShownHook({});
    QCOMPARE(formatShown, 1);
    QVERIFY(!PrintFormatWindow()->isVisible());
    QVERIFY(previewEnabledAfter);
    QVERIFY(!PreviewWindow()->isVisible());
    QCOMPARE(QDir(previewTempFolder(m_fx.base)).entryList(QDir::Files), QStringList());
}

// A second program started in the same base folder (here a listing) clears what ended
// runs left, never the files of a preview that is open.
void PreviewTest::aProgramStartedBesideKeepsThePreviewFiles()
{
    QVERIFY(holdRunLock(m_fx.base)); // as every start does
    m_fx.answers = {kAnswerNo};
    QString contentFile;
    int listed = -1;
    open(recipe(0, true), [&](TFVor& preview) {
        contentFile = preview.elements().at(kDescription).ContentFile;
        QProcess list;
        list.setWorkingDirectory(m_fx.base);
        list.start(QStringLiteral(DILBOSCAN_BINARY), {QStringLiteral("--list")});
        QVERIFY(list.waitForFinished());
        listed = list.exitCode();
        QVERIFY(QFile::exists(contentFile));
        trigger(preview.Druckbeenden1);
    });
    QCOMPARE(listed, 0);
    QVERIFY(contentFile.startsWith(previewTempFolder(m_fx.base)));
}

void PreviewTest::anUnusableStandardDraftGivesTheDefaultLayout_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("standard"); // null: no file
    QTest::addColumn<QString>("named");       // in the status line
    QTest::newRow("missing") << 0 << QByteArray() << QStringLiteral("does not exist");
    QTest::newRow("foreign") << 1 << QByteArray("\x89PNG\r\n")
                             << QStringLiteral("not a print draft");
    TDruckvorlage whole;
    whole.Placements.resize(kElementCount);
    const QByteArray bytes = draftFileBytes(whole);
    QTest::newRow("truncated") << 0 << bytes.left(bytes.size() - 40)
                               << QStringLiteral("ends early");
    QByteArray damaged = bytes;
    damaged.replace("\r\n0\r\n", "\r\nx12\r\n"); // the layout kind, line 4
    QTest::newRow("damaged") << 1 << damaged << QStringLiteral("line 4");
}

// The page shows every element with content, none over another, and the status line
// says which file was not used and why.
void PreviewTest::anUnusableStandardDraftGivesTheDefaultLayout()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, standard);
    QFETCH(QString, named);
    const QString file = standardDraftPath(m_fx.base, kind);
    QVERIFY(QFile::remove(file));
    if (!standard.isNull())
        putFile(file, standard);
    m_fx.answers = {kind == 1 ? kAnswerYes : kAnswerNo};
    QString note;
    QList<QRect> shown[2];
    open(recipe(0, true), [&](TFVor& preview) {
        note = preview.note();
        const QRect sheet(QPoint(0, 0), preview.IBlatt->size());
        const ElementArray& elements = preview.elements();
        for (int i = 0; i < elements.size(); ++i) {
            const TGFXL& e = elements.at(i);
            // Every element with content, but the ingredients of the other layout.
            const bool otherLayouts = kind == 1 ? i == kIngredients : isColumn(i);
            QCOMPARE(e.Page == -1, e.ContentFile.isEmpty() || otherLayouts);
            const QRect place(e.Left, e.Top, e.width(), e.height());
            QVERIFY(e.Page == -1 || sheet.contains(place));
            if (e.Page >= 0)
                shown[e.Page] << place;
        }
    });
    QVERIFY2(note.contains(QLatin1String("Standard.KVP.E")) && note.contains(named),
             qPrintable(note));
    QCOMPARE(m_fx.errors.size(), standard.contains("x12") ? 1 : 0);
    QVERIFY(!shown[0].isEmpty());
    for (const QList<QRect>& page : shown) {
        for (int a = 0; a < page.size(); ++a) {
            for (int b = a + 1; b < page.size(); ++b)
                QVERIFY2(!page[a].intersects(page[b]), qPrintable(QString::number(a)));
        }
    }
    QCOMPARE(fileBytes(file), standard); // the user's file stays as it was
}

// A draft that puts the quantity column near the sheet's right edge: the whole row of
// columns is moved in, still aligned.
void PreviewTest::aDraftKeepsTheColumnRowOnTheSheet()
{
    TDruckvorlage draft;
    draft.LayoutKind = 1;
    draft.Placements.resize(kElementCount);
    for (int j = kQuantity; j <= kPreparation; ++j)
        draft.Placements[j] = {690, 10, 0};
    putFile(standardDraftPath(m_fx.base, 1), draftFileBytes(draft));
    open(recipe(1, true), [&](TFVor& preview) {
        const ElementArray& e = preview.elements();
        QCOMPARE(e.at(kPreparation).Page, 0);
        QCOMPARE(e.at(kPreparation).Left + e.at(kPreparation).width(), preview.IBlatt->width());
        for (int j = kUnit; j <= kPreparation; ++j)
            QCOMPARE(e.at(j).Left, e.at(j - 1).Left + e.at(j - 1).width() + kColumnGap);
    });
}

using namespace Qt::StringLiterals;

namespace {

// A wheel notch down over control, delivered as the window system delivers it.
void turnWheel(QWidget* control)
{
    const QPointF at = QRectF(control->rect()).center();
    QWheelEvent wheel(at, control->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(control, &wheel);
}

} // namespace

void PreviewTest::servingsScaleTheShownTexts_data()
{
    QTest::addColumn<QByteArray>("servings");
    QTest::addColumn<QString>("label");
    QTest::addColumn<double>("wheeled");       // the value one notch down gives
    QTest::addColumn<QString>("wheeledFirst"); // the first ingredient line then
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("typedFirst");
    QTest::addColumn<QString>("notes"); // the servings line then; empty: none
    QTest::newRow("4 people") << QByteArray("4 people") << u"Servings"_s << 3.0
                              << u"375 g flour, sifted twice"_s << u"12"_s
                              << u"1500 g flour, sifted twice"_s
                              << u"Number of Servings: 12 people"_s;
    QTest::newRow("no servings: a factor")
        << QByteArray() << u"Factor"_s << 0.5 << u"250 g flour, sifted twice"_s << u"2"_s
        << u"1000 g flour, sifted twice"_s << QString();
}

void PreviewTest::servingsScaleTheShownTexts()
{
    QFETCH(QByteArray, servings);
    QFETCH(QString, label);
    QFETCH(double, wheeled);
    QFETCH(QString, wheeledFirst);
    QFETCH(QString, typed);
    QFETCH(QString, typedFirst);
    QFETCH(QString, notes);
    TKVG r = recipe(0, false);
    r.Servings = servings;
    r.Ingredients = {"500 g flour, sifted twice", "1 1/2 tsp salt",
                     "For the glaze:", "a pinch of nutmeg"};
    // The recipe's own formatted ingredients: quantities in bold.
    rich::RichDocument side;
    rich::CharFormat plain;
    plain.setPointSize(12);
    rich::CharFormat bold = plain;
    bold.style = rich::Bold;
    for (QByteArrayView line : r.Ingredients) {
        const QString text = QString::fromLatin1(line);
        const auto q = readLeadingQuantity(text);
        side.appendLine(text, side.intern(plain));
        for (qsizetype k = 0; q && k < q->end; ++k)
            side.lines().last().formats[k] = side.intern(bold);
    }
    r.IngredientsRtf = r.FilePath + QStringLiteral(".002");
    QDir().mkpath(m_fx.base + QStringLiteral("prepared_recipes"));
    QVERIFY(rich::writeRtfFile(r.IngredientsRtf, side));
    const QByteArray sideBytes = fileBytes(r.IngredientsRtf);
    open(r, [&](TFVor& preview) {
        QDoubleSpinBox* box = preview.ServingsBox;
        QApplication::setActiveWindow(&preview); // the offscreen platform may not have
        QVERIFY(preview.isActiveWindow());
        QCOMPARE(preview.ServingsLabel->text(), label);
        const double start = servings.isEmpty() ? 1 : 4;
        QCOMPARE(box->value(), start);
        for (int item : {kItemName, kItemIngredients, kItemOtherNotes, kItemShopping})
            trigger(preview.unitItems[size_t(item)]);
        preview.DeselectAll();
        const ElementArray before = preview.elements();
        const rich::RichDocument& list = preview.richEdit(kIngredients);
        const QStringList lines = list.plainLines();
        // Turned on the way past, the box changes nothing; with the focus it counts.
        QVERIFY(!box->hasFocus());
        turnWheel(box);
        QCOMPARE(box->value(), start);
        QCOMPARE(list.plainLines(), lines);
        box->setFocus(Qt::TabFocusReason);
        turnWheel(box);
        QCOMPARE(box->value(), wheeled);
        QCOMPARE(list.plainLines().first(), wheeledFirst);
        box->selectAll();
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(list.lines().size(), lines.size()); // the longer line did not wrap
        QCOMPARE(list.plainLines().first(), typedFirst);
        QCOMPARE(list.plainLines().mid(2), lines.mid(2)); // heading, "a pinch" stay
        // The new digits in the font of those they replace, the rest as it was.
        const rich::RichLine& first = list.lines().first();
        const qsizetype digits = typedFirst.indexOf(u' ');
        for (qsizetype k = 0; k < first.text.size(); ++k)
            QCOMPARE(list.format(first.formats.at(k)).style, quint8(k < digits ? rich::Bold : 0));
        const QStringList shopping = preview.richEdit(kShoppingList).plainLines();
        QCOMPARE(shopping.size(), 3);
        QCOMPARE(shopping.first(),
                 QString(QChar(kTickBox) + u' ' + typedFirst.first(typedFirst.indexOf(u','))));
        if (!notes.isEmpty())
            QVERIFY(preview.richEdit(kOtherNotes).plainLines().contains(notes));
        // The layout stays: every element where it was, the list as wide as its text.
        for (int i = 0; i < kElementCount; ++i) {
            const TGFXL& e = preview.elements().at(i);
            QCOMPARE(QPoint(e.Left, e.Top), QPoint(before.at(i).Left, before.at(i).Top));
            QCOMPARE(e.Page, before.at(i).Page);
            if (e.Page == 0)
                QCOMPARE(preview.elementImage(i)->size(), e.Bitmap.size());
        }
        QCOMPARE(preview.elements().at(kRecipeName).Bitmap.size(),
                 before.at(kRecipeName).Bitmap.size());
        QVERIFY(preview.elements().at(kIngredients).width() > before.at(kIngredients).width());
        // Back to the recipe's own number: its own text again.
        box->selectAll();
        QTest::keyClicks(box, QString::number(start));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(list.plainLines(), lines);
        QCOMPARE(preview.elements().at(kIngredients).width(), before.at(kIngredients).width());
    });
    QCOMPARE(fileBytes(r.IngredientsRtf), sideBytes);
    QVERIFY(m_fx.errors.isEmpty());
}

QTEST_MAIN(PreviewTest)
#include "tst_preview.moc"
