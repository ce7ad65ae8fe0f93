// SPDX-License-Identifier: GPL-2.0-or-later

#include "tests/preview/previewfixture.h"
#include "tests/testfiles.h"

#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/session.h"
#include "editor/editordialogs.h"
#include "platform/richtext/rtfreader.h"
#include "preview/F_Vor.h"
#include "preview/elementimage.h"
#include "preview/layoutediting.h"
#include "preview/openpreview.h"
#include "preview/printers.h"
#include "recipes/recipefile.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>

// Laying the preview out with real mouse events sent to the element images, and the
// element commands of the pop-up menu with the in-place edit box. Questions are
// answered through the message hook, the font dialog through its hook.

namespace {

constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kGreen = qRgb(0, 128, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);

QStringList contentLines(const TGFXL& e)
{
    rich::RichDocument doc;
    if (!rich::readRtfFile(e.ContentFile, doc))
        return {QStringLiteral("<unreadable>")};
    return doc.plainLines();
}

} // namespace

class PreviewEditingTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void clickSelectsAndFrames_data();
    void clickSelectsAndFrames();
    void dragStopsAtTheLimits_data();
    void dragStopsAtTheLimits();
    void rightReleaseChangesNothing();
    void columnsFollowTheQuantityColumn();
    void fontOfOneColumnIsTheFontOfAll();
    void enterInThePreparationColumn_data();
    void enterInThePreparationColumn();
    void resizeToPageWidthAndCentre();
    void openingFitsWideTextAndPictures();
    void failingSaveKeepsTheEditBoxOpen();
    void wheelScrollsByNotches();
    void anEditBoxAtTheSheetsBottomIsReachable();

private:
    TKVG recipe(bool deluxe) const;
    void open(const TKVG& r, const std::function<void(TFVor&)>& during);
    /// Shows the element of a "Printing units" item at the sheet's origin, then moves
    /// element i to (left, top) and deselects it.
    void show(TFVor& v, int item, int i, QPoint at);
    /// Sends a mouse event to element i's image at a sheet point, as the window system
    /// does during a drag: to the pressed image, wherever the pointer is.
    void mouse(TFVor& v, int i, QEvent::Type type, QPoint sheet, Qt::MouseButton button,
               Qt::MouseButtons buttons);
    void click(TFVor& v, int i, QPoint sheet, Qt::MouseButton button = Qt::LeftButton);

    PreviewFixture m_fx;
};

void PreviewEditingTest::init()
{
    m_fx.setUp();
}

void PreviewEditingTest::cleanup()
{
    SetFontDialogHook({});
    m_fx.tearDown();
}

TKVG PreviewEditingTest::recipe(bool deluxe) const
{
    TKVG r;
    r.Kind = deluxe ? 1 : 0;
    r.FileName = QStringLiteral("Soup.vrez");
    r.FilePath = m_fx.base + QStringLiteral("prepared_recipes/Soup.vrez");
    r.Name = "Tomato soup";
    r.Difficulty = 3;
    r.Comments = {"Serve hot with bread and a spoon of cream on every plate."};
    if (deluxe) {
        r.Quantities = {"500", "1"};
        r.Units = {"g", ""};
        r.IngredientNames = {"tomatoes", "onion"};
        r.Descriptions = {"chopped", "diced"};
    } else {
        r.Ingredients = {"tomatoes", "onion"};
        r.Instructions = {"Chop the tomatoes and the onion.", "Simmer for twenty minutes."};
    }
    r.PictureFile = m_fx.base + QStringLiteral("Graphic/PNG/Pancakes.png");
    return r;
}

void PreviewEditingTest::open(const TKVG& r, const std::function<void(TFVor&)>& during)
{
    m_fx.open(r, during);
}

void PreviewEditingTest::show(TFVor& v, int item, int i, QPoint at)
{
    v.unitItems[size_t(item)]->trigger();
    v.DeselectAll();
    v.elements()[i].Left = at.x();
    v.elements()[i].Top = at.y();
    v.RenderElement(false, i);
    v.Redraw(false);
}

void PreviewEditingTest::mouse(TFVor& v, int i, QEvent::Type type, QPoint sheet,
                               Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QWidget* image = v.elementImage(i);
    const QPoint local = sheet + v.IBlatt->pos() - image->pos();
    QMouseEvent event(type, local, image->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(image, &event);
}

void PreviewEditingTest::click(TFVor& v, int i, QPoint sheet, Qt::MouseButton button)
{
    mouse(v, i, QEvent::MouseMove, sheet, Qt::NoButton, Qt::NoButton);
    mouse(v, i, QEvent::MouseButtonPress, sheet, button, button);
    mouse(v, i, QEvent::MouseButtonRelease, sheet, button, Qt::NoButton);
}

void PreviewEditingTest::clickSelectsAndFrames_data()
{
    QTest::addColumn<bool>("deluxe");
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("element");
    QTest::addColumn<uint>("frame");
    QTest::newRow("recipe name, blue") << false << int(kItemName) << int(kRecipeName) << uint(kBlue);
    QTest::newRow("picture, blue") << false << int(kItemGraphic) << int(kRecipeGraphic) << uint(kBlue);
    QTest::newRow("quantity column, green")
        << true << int(kItemIngredients) << int(kQuantity) << uint(kGreen);
    QTest::newRow("ingredient column, red")
        << true << int(kItemIngredients) << int(kIngredientName) << uint(kRed);
}

void PreviewEditingTest::clickSelectsAndFrames()
{
    QFETCH(bool, deluxe);
    QFETCH(int, item);
    QFETCH(int, element);
    QFETCH(uint, frame);
    open(recipe(deluxe), [&](TFVor& v) {
        show(v, item, kQuantity == element || isColumn(element) ? kQuantity : element,
             QPoint(40, 30));
        const TGFXL& e = v.elements().at(element);
        const QPoint inside(e.Left + e.width() / 2, e.Top + e.height() / 2);
        click(v, element, inside);
        QVERIFY(e.Active);
        QCOMPARE(e.Bitmap.pixel(0, 0), QRgb(frame));
        QCOMPARE(e.Bitmap.pixel(e.width() - 1, e.height() - 1), QRgb(frame));
        QVERIFY(v.windowTitle().endsWith(QStringLiteral("active element: ") + e.Caption));
        QCOMPARE(QPoint(e.GrabX, e.GrabY), inside - QPoint(e.Left, e.Top));
        click(v, element, inside);
        QVERIFY(!e.Active);
        QCOMPARE(e.Bitmap.pixel(0, 0), kWhite);
        QCOMPARE(v.windowTitle(), QStringLiteral("Print Manager        "));
    });
}

void PreviewEditingTest::dragStopsAtTheLimits_data()
{
    // The press point and the end point, as offsets from the element's corners:
    // 0 its left or top edge, 1 its right or bottom edge, 2 its middle; "to" is a sheet
    // point where -1 stands for beyond the sheet's far edge.
    QTest::addColumn<QPoint>("grab");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QString>("expect");
    QTest::newRow("move beyond the right edge") << QPoint(2, 2) << QPoint(-1, 200) << "flush right";
    QTest::newRow("move beyond the origin") << QPoint(2, 2) << QPoint(-40, -40) << "origin";
    QTest::newRow("right edge beyond the sheet") << QPoint(1, 2) << QPoint(-1, 200) << "ends at sheet";
    QTest::newRow("left edge over the right one") << QPoint(0, 2) << QPoint(700, 60) << "30 wide";
    // The comments are one line, lower than 30 pixels: an edge dragged over the other
    // one stops where the element is, neither growing it nor moving it.
    QTest::newRow("bottom edge over the top one") << QPoint(2, 1) << QPoint(90, 0) << "as high";
    QTest::newRow("top edge over the bottom one") << QPoint(2, 0) << QPoint(90, 300) << "as high";
}

void PreviewEditingTest::dragStopsAtTheLimits()
{
    QFETCH(QPoint, grab);
    QFETCH(QPoint, to);
    QFETCH(QString, expect);
    open(recipe(false), [&](TFVor& v) {
        show(v, kItemComments, kComments, QPoint(80, 60));
        const TGFXL& e = v.elements().at(kComments);
        const QSize sheet = v.IBlatt->size();
        const QRect before(e.Left, e.Top, e.width(), e.height());
        auto coord = [](int code, int low, int size) {
            return code == 0 ? low + 1 : code == 1 ? low + size - 1 : low + size / 2;
        };
        const QPoint press(coord(grab.x(), e.Left, e.width()), coord(grab.y(), e.Top, e.height()));
        const QPoint end(to.x() == -1 ? sheet.width() + 60 : to.x(),
                         to.y() == -1 ? sheet.height() + 60 : to.y());
        click(v, kComments, press);
        QVERIFY(e.Active);
        mouse(v, kComments, QEvent::MouseMove, press, Qt::NoButton, Qt::NoButton);
        mouse(v, kComments, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 4; ++step) {
            const QPoint at = press + (end - press) * step / 4;
            mouse(v, kComments, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        }
        // While the drag lasts the image shows the bitmap's size and place.
        QCOMPARE(v.elementImage(kComments)->geometry(),
                 QRect(e.Left, e.Top, e.width(), e.height()).translated(v.IBlatt->pos()));
        if (expect == QLatin1String("flush right")) {
            QCOMPARE(e.Left, sheet.width() - before.width());
            QCOMPARE(e.width(), before.width());
        } else if (expect == QLatin1String("origin")) {
            QCOMPARE(QPoint(e.Left, e.Top), QPoint(0, 0));
        } else if (expect == QLatin1String("ends at sheet")) {
            QCOMPARE(e.Left + e.width(), sheet.width());
            QCOMPARE(e.Left, before.left());
        } else if (expect == QLatin1String("30 wide")) {
            QCOMPARE(e.width(), kMinDragSize);
            QCOMPARE(e.Left + e.width(), before.left() + before.width());
        } else {
            QVERIFY(before.height() < kMinDragSize);
            QCOMPARE(QRect(e.Left, e.Top, e.width(), e.height()), before);
        }
        QCOMPARE(e.Bitmap.pixel(0, 0), kBlue);
        mouse(v, kComments, QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
        QVERIFY(!e.Active); // every drag ends with the element deselected
        QCOMPARE(e.Bitmap.pixel(0, 0), kWhite);
    });
}

void PreviewEditingTest::rightReleaseChangesNothing()
{
    open(recipe(false), [&](TFVor& v) {
        show(v, kItemName, kRecipeName, QPoint(100, 100));
        show(v, kItemOtherNotes, kOtherNotes, QPoint(100, 300));
        const TGFXL& name = v.elements().at(kRecipeName);
        const QPoint inside(name.Left + 5, name.Top + 5);
        // Over an element that is not active the pop-up menu shows nothing.
        click(v, kRecipeName, inside, Qt::RightButton);
        QVERIFY(!v.PMREListen->isVisible());
        click(v, kRecipeName, inside);
        const QRect before(name.Left, name.Top, name.width(), name.height());
        click(v, kRecipeName, inside, Qt::RightButton);
        QVERIFY(name.Active);
        QCOMPARE(QRect(name.Left, name.Top, name.width(), name.height()), before);
        QVERIFY(v.PMREListen->isVisible());
        QCOMPARE(v.Texteditieren1->text(), QStringLiteral("Edit"));
        QVERIFY(v.Texteditieren1->isVisible() && v.Ausblenden1->isVisible() &&
                v.Zentrieren1->isVisible() && !v.Neujustieren1->isVisible());
        v.PMREListen->hide();
        // A press on another element deselects, whatever the button.
        mouse(v, kOtherNotes, QEvent::MouseButtonPress,
              QPoint(v.elements().at(kOtherNotes).Left + 2, v.elements().at(kOtherNotes).Top + 2),
              Qt::RightButton, Qt::RightButton);
        QVERIFY(!name.Active);
    });
}

void PreviewEditingTest::columnsFollowTheQuantityColumn()
{
    open(recipe(true), [&](TFVor& v) {
        show(v, kItemIngredients, kQuantity, QPoint(50, 50));
        const ElementArray& el = v.elements();
        QList<int> lefts;
        for (int j = kQuantity; j <= kPreparation; ++j)
            lefts << el.at(j).Left;
        // The unit column can be selected but not dragged.
        const QPoint unit(el.at(kUnit).Left + 3, el.at(kUnit).Top + 3);
        click(v, kUnit, unit);
        QVERIFY(el.at(kUnit).Active);
        mouse(v, kUnit, QEvent::MouseMove, unit, Qt::NoButton, Qt::NoButton);
        QCOMPARE(v.lastCursor(), Qt::ArrowCursor);
        mouse(v, kUnit, QEvent::MouseButtonPress, unit, Qt::LeftButton, Qt::LeftButton);
        mouse(v, kUnit, QEvent::MouseMove, unit + QPoint(80, 80), Qt::NoButton, Qt::LeftButton);
        mouse(v, kUnit, QEvent::MouseButtonRelease, unit + QPoint(80, 80), Qt::LeftButton,
              Qt::NoButton);
        QCOMPARE(el.at(kUnit).Left, lefts.at(1));
        // The quantity column moves (its corner is no handle), the others follow it.
        const QPoint corner(el.at(kQuantity).Left + 1, el.at(kQuantity).Top + 1);
        click(v, kQuantity, corner);
        mouse(v, kQuantity, QEvent::MouseMove, corner, Qt::NoButton, Qt::NoButton);
        QCOMPARE(v.lastCursor(), Qt::PointingHandCursor);
        mouse(v, kQuantity, QEvent::MouseButtonPress, corner, Qt::LeftButton, Qt::LeftButton);
        mouse(v, kQuantity, QEvent::MouseMove, corner + QPoint(40, 25), Qt::NoButton,
              Qt::LeftButton);
        mouse(v, kQuantity, QEvent::MouseButtonRelease, corner + QPoint(40, 25), Qt::LeftButton,
              Qt::NoButton);
        for (int j = kQuantity; j <= kPreparation; ++j) {
            QCOMPARE(el.at(j).Left, lefts.at(j - kQuantity) + 40);
            QCOMPARE(el.at(j).Top, 75);
        }
    });
}

void PreviewEditingTest::fontOfOneColumnIsTheFontOfAll()
{
    QFont chosen;
    SetFontDialogHook([&](const QFont&) {
        QFont f(QStringLiteral("Courier New"));
        f.setPointSize(14);
        f.setBold(true);
        return std::optional<QFont>(f);
    });
    open(recipe(true), [&](TFVor& v) {
        show(v, kItemIngredients, kQuantity, QPoint(50, 50));
        const TGFXL& name = v.elements().at(kIngredientName);
        click(v, kIngredientName, QPoint(name.Left + 3, name.Top + 3));
        v.PMREListenPopup();
        QVERIFY(v.Texteditieren1->isVisible());
        v.Texteditieren1->trigger();
        QVERIFY(v.editBoxOpen());
        QCOMPARE(v.REDummy->toPlainText(), QStringLiteral("tomatoes\nonion"));
        // While the box is open the pointer changes nothing.
        const TGFXL& q = v.elements().at(kQuantity);
        click(v, kQuantity, QPoint(q.Left + 2, q.Top + 2));
        QVERIFY(name.Active && !q.Active);
        QTest::keyClicks(v.REDummy, QStringLiteral("ripe "));
        // No selection: the font still applies, to the whole text of every column.
        v.PMREListenPopup();
        QCOMPARE(v.Texteditieren1->text(), QStringLiteral("Select Font"));
        QVERIFY(v.Texteditieren1->isEnabled());
        v.Texteditieren1->trigger();
        QVERIFY(!v.editBoxOpen());
        QVERIFY(!name.Active);
        QCOMPARE(contentLines(name), (QStringList{QStringLiteral("ripe tomatoes"), QStringLiteral("onion")}));
        for (int j = kQuantity; j <= kPreparation; ++j) {
            rich::RichDocument doc;
            QVERIFY(rich::readRtfFile(v.elements().at(j).ContentFile, doc));
            for (int line = 0; line < doc.lineCount(); ++line) {
                for (quint16 id : doc.lines().at(line).formats) {
                    QCOMPARE(doc.format(id).fontName, QStringLiteral("Courier New"));
                    QCOMPARE(doc.format(id).halfPoints, 28);
                    QCOMPARE(int(doc.format(id).style), 0);
                }
            }
        }
    });
}

void PreviewEditingTest::enterInThePreparationColumn_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("fontFirst");
    QTest::addColumn<QStringList>("quantities");
    QTest::addColumn<QStringList>("names");
    const QStringList twoQuantities{QStringLiteral("500"), QStringLiteral("1")};
    const QStringList threeQuantities{QStringLiteral("500"), QString(), QStringLiteral("1")};
    const QStringList twoNames{QStringLiteral("tomatoes"), QStringLiteral("onion")};
    const QStringList threeNames{QStringLiteral("tomatoes"), QString(), QStringLiteral("onion")};
    QTest::newRow("No") << kAnswerNo << false << twoQuantities << twoNames;
    QTest::newRow("Yes") << kAnswerYes << false << threeQuantities << threeNames;
    // The new empty lines take the columns' new font, so the rows still line up.
    QTest::newRow("Yes after a font change") << kAnswerYes << true << threeQuantities << threeNames;
    // A column without any line (no units at all) takes the new line in the new font.
    QTest::newRow("Yes after a font change, no units")
        << kAnswerYes << true << threeQuantities << threeNames;
}

void PreviewEditingTest::enterInThePreparationColumn()
{
    QFETCH(int, answer);
    QFETCH(bool, fontFirst);
    QFETCH(QStringList, quantities);
    QFETCH(QStringList, names);
    SetFontDialogHook([](const QFont&) {
        QFont f(QStringLiteral("Courier New"));
        f.setPointSize(20);
        return std::optional<QFont>(f);
    });
    const bool noUnits = QByteArray(QTest::currentDataTag()).endsWith("no units");
    TKVG r = recipe(true);
    if (noUnits)
        r.Units.clear();
    open(r, [&](TFVor& v) {
        show(v, kItemIngredients, kQuantity, QPoint(50, 50));
        const TGFXL& prep = v.elements().at(kPreparation);
        if (fontFirst) {
            click(v, kPreparation, QPoint(prep.Left + 3, prep.Top + 3));
            v.Texteditieren1Click();
            v.Texteditieren1Click(); // the font, for the whole text of every column
            QVERIFY(!v.editBoxOpen());
        }
        click(v, kPreparation, QPoint(prep.Left + 3, prep.Top + 3));
        v.Texteditieren1Click();
        QVERIFY(v.editBoxOpen());
        v.REDummy->moveCursor(QTextCursor::EndOfBlock);
        m_fx.answers = {answer};
        QTest::keyClick(v.REDummy, Qt::Key_Return);
        QCOMPARE(m_fx.asked.last(), 7);
        QCOMPARE(m_fx.headings.last(), 2); // "Question:"
        QVERIFY(v.editBoxOpen());
        QVERIFY(prep.Active);
        QCOMPARE(v.REDummy->toPlainText(), QStringLiteral("chopped\n\ndiced"));
        QCOMPARE(contentLines(v.elements().at(kQuantity)), quantities);
        QCOMPARE(contentLines(v.elements().at(kIngredientName)), names);
        if (noUnits) // one empty line at most, which reads back as no line
            QVERIFY(contentLines(v.elements().at(kUnit)).size() <= 1);
        else
            QCOMPARE(contentLines(v.elements().at(kUnit)).size(), quantities.size());
        // The box stays above the column images drawn again behind it.
        QWidget* canvas = v.REDummy->parentWidget();
        QWidget* top = canvas->childAt(v.REDummy->geometry().center());
        QVERIFY(top == v.REDummy || v.REDummy->isAncestorOf(top));
        // Every column has as many rows of the same height.
        v.Menueschliessen1Click();
        QVERIFY(!v.editBoxOpen());
        for (int j = kUnit; answer == kAnswerYes && !noUnits && j <= kPreparation; ++j)
            QCOMPARE(v.elements().at(j).height(), v.elements().at(kQuantity).height());
        // Empty cells too: an empty line is as high as its end mark's font.
        for (int j = kQuantity; fontFirst && j <= kPreparation; ++j) {
            rich::RichDocument doc;
            QVERIFY(rich::readRtfFile(v.elements().at(j).ContentFile, doc));
            for (const rich::RichLine& line : doc.lines())
                QCOMPARE(doc.format(line.endFormat).halfPoints, 40);
        }
    });
}

void PreviewEditingTest::resizeToPageWidthAndCentre()
{
    TKVG r = recipe(false);
    r.Comments = {QByteArray("Stir well. ").repeated(40)};
    open(r, [&](TFVor& v) {
        const int sheet = v.IBlatt->width();
        // Shown from the menu, an element takes its longest line's width.
        v.Bemerkungen1Click();
        const TGFXL& e = v.elements().at(kComments);
        QVERIFY(e.width() > sheet);
        v.state().MouseX = 10;
        v.state().MouseY = 10;
        QVERIFY(v.PMREListenPopup());
        QVERIFY(v.Neujustieren1->isVisible() && !v.Zentrieren1->isVisible());
        const int oneLine = e.height();
        v.Neujustieren1->trigger();
        QCOMPARE(e.width(), sheet);
        QVERIFY2(e.height() > 2 * oneLine, qPrintable(QStringLiteral("%1 %2").arg(e.height()).arg(oneLine)));
        QCOMPARE(e.Left, 0);
        // Centring a picture moves its image too.
        v.Rezeptgrafik1Click();
        const TGFXL& picture = v.elements().at(kRecipeGraphic);
        QVERIFY(picture.Active);
        v.state().MouseX = 5;
        v.state().MouseY = 5;
        QVERIFY(v.PMREListenPopup());
        QVERIFY(v.Zentrieren1->isVisible() && !v.Texteditieren1->isVisible());
        v.Zentrieren1->trigger();
        QCOMPARE(picture.Left, sheet / 2 - picture.width() / 2);
        QCOMPARE(v.elementImage(kRecipeGraphic)->x(), picture.Left + v.IBlatt->x());
        QVERIFY(!picture.Active); // the pointer no longer lies on it
    });
}

void PreviewEditingTest::openingFitsWideTextAndPictures()
{
    TKVG r = recipe(false);
    r.Comments = {QByteArray("Stir well. ").repeated(40)};
    QImage wide(1200, 40, QImage::Format_RGB32);
    wide.fill(qRgb(200, 30, 30));
    r.PictureFile = m_fx.base + QStringLiteral("wide.png");
    QVERIFY(wide.save(r.PictureFile));
    TDruckvorlage& draft = CurrentDraft();
    draft.Placements = QList<TElementPlacement>(kElementCount);
    draft.Placements[kComments] = {0, 100, 0};
    draft.Placements[kRecipeGraphic] = {0, 400, 0};
    open(r, [&](TFVor& v) {
        const TGFXL& comments = v.elements().at(kComments);
        QCOMPARE(comments.width(), v.IBlatt->width());
        QVERIFY(!comments.Active);
        // The picture shrinks to the sheet, its aspect kept, and keeps its own pixels.
        const TGFXL& picture = v.elements().at(kRecipeGraphic);
        QCOMPARE(picture.Bitmap.size(), QSize(v.IBlatt->width(), 24 + 2));
        QCOMPARE(picture.Bitmap.pixel(picture.width() / 2, 13), qRgb(200, 30, 30));
        QCOMPARE(picture.Picture.size(), wide.size());
        // A text is fitted when it is wider than the sheet less 4 pixels, as the draft
        // leaves it when applied on opening and on loading.
        TGFXL& notes = v.elements()[kOtherNotes];
        const int sheet = v.IBlatt->width();
        for (const int width : {sheet - 4, sheet - 3}) {
            notes.Shown = true;
            notes.Page = 0;
            notes.Bitmap = QImage(width, 20, QImage::Format_RGB32);
            v.FitOverWideElements();
            // Laid out again, the short text takes its own width.
            if (width == sheet - 4)
                QCOMPARE(notes.width(), width);
            else
                QVERIFY(notes.width() < sheet / 2);
        }
    });
    // A draft naming a paper format that does not exist lays out on the default one.
    draft.PaperFormat = 9;
    open(r, [&](TFVor& v) {
        QCOMPARE(v.state().FormatIndex, kDefaultFormatIndex);
        QVERIFY(v.IBlatt->width() > 400 && v.IBlatt->height() > 400);
        QCOMPARE(v.elements().at(kComments).width(), v.IBlatt->width());
    });
}

void PreviewEditingTest::failingSaveKeepsTheEditBoxOpen()
{
    open(recipe(false), [&](TFVor& v) {
        show(v, kItemName, kRecipeName, QPoint(20, 20));
        const TGFXL& e = v.elements().at(kRecipeName);
        click(v, kRecipeName, QPoint(e.Left + 3, e.Top + 3));
        v.Texteditieren1Click();
        QTest::keyClicks(v.REDummy, QStringLiteral("Red "));
        // A folder where the content file belongs: the write fails.
        QVERIFY(QFile::remove(e.ContentFile));
        QVERIFY(QDir().mkdir(e.ContentFile));
        v.Menueschliessen1Click();
        QCOMPARE(m_fx.errors.size(), 1);
        QVERIFY2(m_fx.errors.first().contains(e.ContentFile), qPrintable(m_fx.errors.first()));
        QVERIFY(v.editBoxOpen());
        QVERIFY(v.REDummy->toPlainText().startsWith(QStringLiteral("Red ")));
        // Closing the window is refused while the box is open.
        v.close();
        QCOMPARE(m_fx.asked.last(), 10);
        QVERIFY(v.isVisible());
        QVERIFY(QDir().rmdir(e.ContentFile));
        v.Menueschliessen1Click();
        QVERIFY(!v.editBoxOpen());
        QCOMPARE(contentLines(e).value(0), QStringLiteral("Red Tomato soup"));
    });
}

void PreviewEditingTest::wheelScrollsByNotches()
{
    open(recipe(false), [&](TFVor& v) {
        v.resize(400, 400);
        QScrollBar* bar = v.findChild<QScrollArea*>()->verticalScrollBar();
        bar->setValue(0);
        QWidget* viewport = v.findChild<QScrollArea*>()->viewport();
        auto turn = [&](int delta) {
            QWheelEvent wheel(QPointF(50, 50), viewport->mapToGlobal(QPointF(50, 50)), QPoint(),
                              QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(viewport, &wheel);
        };
        turn(-120);
        QCOMPARE(bar->value(), 120);
        turn(-60);
        QCOMPARE(bar->value(), 120); // half a notch waits for the other half
        turn(-60);
        QCOMPARE(bar->value(), 240);
        turn(120);
        QCOMPARE(bar->value(), 120);
    });
}

// The edit box of a one-line text at the bottom of the sheet reaches past it: it is
// scrolled into view whole, and the scroll range shrinks back when it closes.
void PreviewEditingTest::anEditBoxAtTheSheetsBottomIsReachable()
{
    open(recipe(false), [&](TFVor& v) {
        const int bottom = v.IBlatt->height() - 20;
        show(v, kItemComments, kComments, QPoint(80, bottom));
        const TGFXL& e = v.elements().at(kComments);
        click(v, kComments, QPoint(e.Left + 3, e.Top + 3));
        v.Texteditieren1Click();
        QVERIFY(v.editBoxOpen());
        QVERIFY(v.REDummy->geometry().bottom() > v.IBlatt->geometry().bottom());
        QCOMPARE(v.REDummy->visibleRegion().boundingRect(), v.REDummy->rect());
        const QWidget* canvas = v.REDummy->parentWidget();
        v.Menueschliessen1Click();
        QVERIFY(!v.editBoxOpen());
        QCOMPARE(canvas->height(), v.IBlatt->geometry().bottom() + 1 + v.IBlatt->y());
    });
}

QTEST_MAIN(PreviewEditingTest)
#include "tst_previewediting.moc"
