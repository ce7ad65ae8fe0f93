// SPDX-License-Identifier: GPL-2.0-or-later

#include "tests/testfiles.h"

#include "app/startup.h"
#include "common/session.h"
#include "imaging/pictureloader.h"
#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"
#include "preview/menustate.h"
#include "preview/previewstate.h"
#include "preview/printers.h"
#include "preview/recipefill.h"
#include "preview/render.h"

#include <QTemporaryDir>

// The preview's logic without its window: menu states, rendering an element, filling
// the elements from a recipe and the temporary files.
class PreviewLogicTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { SetPrinters({}); }
    void menuStates_data();
    void menuStates();
    void applyDraft_data();
    void applyDraft();
    void defaultLayout_data();
    void defaultLayout();
    void roomBelowTheColumns();
    void renderText_data();
    void renderText();
    void unwritableScratchFileLeavesTheElement();
    void drawFrameOnTheBorderOnly();
    void fillFromRecipe();
    void temporaryFilesOnly();

private:
    QString writeText(const QString& name, const QStringList& lines);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
};

void PreviewLogicTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_base = m_dir->path() + QLatin1Char('/');
    QDir().mkpath(previewTempFolder(m_base));
    SetPrinters(
        std::make_unique<FixedPagePrinter>(QStringLiteral("Laser"), QSize(4900, 6400), 600));
}

QString PreviewLogicTest::writeText(const QString& name, const QStringList& lines)
{
    rich::RichDocument doc;
    for (const QString& line : lines)
        doc.appendLine(line);
    const QString path = previewTempFolder(m_base) + name;
    rich::writeRtfFile(path, doc);
    return path;
}

void PreviewLogicTest::menuStates_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("last");
    QTest::addColumn<bool>("editBox");
    // new, next, previous, delete, left arrow, right arrow, Description, Ingredients, Name
    QTest::addColumn<QList<bool>>("expected");
    QTest::addColumn<QString>("label");
    QTest::newRow("one page") << 0 << 0 << 0 << false << QList<bool>{1, 0, 0, 0, 0, 0, 1, 0, 0}
                              << "Page 1/1";
    QTest::newRow("page 1 of 2") << 0 << 0 << 1 << false << QList<bool>{0, 1, 0, 1, 0, 1, 1, 0, 0}
                                 << "Page 1/2";
    QTest::newRow("page 2 of 2") << 0 << 1 << 1 << false << QList<bool>{0, 0, 1, 1, 1, 0, 1, 0, 1}
                                 << "Page 2/2";
    QTest::newRow("edit box open")
        << 0 << 0 << 1 << true << QList<bool>{0, 0, 0, 0, 0, 1, 0, 0, 0} << "Page 1/2";
    // Deluxe: "Ingredients" stands for the columns, whose content is in column 5 only;
    // "Description" for the instructions, as in the normal layout.
    QTest::newRow("deluxe") << 1 << 0 << 0 << false << QList<bool>{1, 0, 0, 0, 0, 0, 1, 1, 0}
                            << "Page 1/1";
}

void PreviewLogicTest::menuStates()
{
    QFETCH(int, kind);
    QFETCH(int, current);
    QFETCH(int, last);
    QFETCH(bool, editBox);
    QFETCH(QList<bool>, expected);
    QFETCH(QString, label);
    ElementArray elements;
    ResetElements(elements, ResetMode::Create);
    const QString file = writeText(QStringLiteral("x.vrez001"), {QStringLiteral("x")});
    elements[kDescription].ContentFile = file;
    elements[kIngredientName].ContentFile = file;
    elements[kRecipeName].ContentFile = file;
    elements[kRecipeName].Page = 1; // shown on page 2: its item only works there
    elements[kShoppingList].ContentFile = previewTempFolder(m_base) + QStringLiteral("gone");
    PreviewState state;
    state.PreviewKind = kind;
    state.CurrentPage = current;
    state.LastPageIndex = last;
    std::array<bool, kElementCount> visible{};
    visible[kRecipeName] = current == 1;
    const MenuState m = ComputeMenuState(elements, state, kind, editBox, visible,
                                         [](const QString& path) { return QFile::exists(path); });
    QCOMPARE((QList<bool>{m.newPage, m.nextPage, m.previousPage, m.deleteLastPage, m.leftArrow,
                          m.rightArrow, m.unitEnabled[kItemDescription],
                          m.unitEnabled[kItemIngredients], m.unitEnabled[kItemName]}),
             expected);
    QCOMPARE(m.pageLabel, label);
    QCOMPARE(m.fileItems, !editBox);
    QCOMPARE(m.unitChecked[kItemName], current == 1 && !editBox);
    QVERIFY(!m.unitEnabled[kItemShopping]); // its file does not exist
}

void PreviewLogicTest::applyDraft_data()
{
    QTest::addColumn<int>("lastPage");
    QTest::addColumn<QList<int>>("pages");    // placed pages of elements 0, 1, 2
    QTest::addColumn<QList<int>>("expected"); // element 1 has no content
    QTest::addColumn<int>("lastPageIndex");
    QTest::newRow("page 2 of a one-page draft stays")
        << 0 << QList<int>{1, 0, 0} << QList<int>{1, -1, 0} << 0;
    QTest::newRow("damaged draft") << 7 << QList<int>{5, 1, -3} << QList<int>{-1, -1, -1} << 1;
}

void PreviewLogicTest::applyDraft()
{
    QFETCH(int, lastPage);
    QFETCH(QList<int>, pages);
    QFETCH(QList<int>, expected);
    QFETCH(int, lastPageIndex);
    ElementArray elements;
    ResetElements(elements, ResetMode::Create);
    elements[0].ContentFile = elements[2].ContentFile = QStringLiteral("x");
    elements[3].Page = 0; // no placement: kept
    TDruckvorlage draft;
    draft.LayoutKind = 1;
    draft.LastPage = lastPage;
    for (int page : pages)
        draft.Placements << TElementPlacement{7, 9, page};
    PreviewState state;
    state.CurrentPage = 1;
    QCOMPARE(applyDraftLayout(draft, state, elements), (QList<int>{0, 1, 2}));
    QCOMPARE((QList<int>{elements[0].Page, elements[1].Page, elements[2].Page}), expected);
    QCOMPARE(elements[3].Page, 0);
    QCOMPARE(elements[2].Left, 7);
    QCOMPARE((QList<int>{state.PreviewKind, state.CurrentPage, state.LastPageIndex}),
             (QList<int>{1, 0, lastPageIndex}));
}

void PreviewLogicTest::renderText_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("widthBefore"); // 0: full render
    QTest::addColumn<bool>("printer");
    QTest::addColumn<int>("expectedLines");
    QTest::addColumn<QString>("width"); // "line+4", "20" or "before"
    const QStringList one{QStringLiteral("Tomato soup with basil")};
    QTest::newRow("full: as wide as its line")
        << one << int(kRecipeName) << 0 << true << 1 << "line+4";
    QTest::newRow("empty text: 20 wide")
        << QStringList() << int(kRecipeName) << 0 << true << 0 << "20";
    QTest::newRow("wider than its line shrinks")
        << one << int(kRecipeName) << 900 << true << 1 << "line+4";
    QTest::newRow("narrower wraps at a blank")
        << one << int(kRecipeName) << 100 << true << 2 << "before";
    QTest::newRow("a column without lines")
        << QStringList() << int(kQuantity) << 0 << true << 0 << "20";
    QTest::newRow("a column grows back") << one << int(kQuantity) << 60 << true << 1 << "line+4";
    QTest::newRow("no printer: never wrapped")
        << one << int(kRecipeName) << 60 << false << 1 << "before";
}

void PreviewLogicTest::renderText()
{
    QFETCH(QStringList, lines);
    QFETCH(int, element);
    QFETCH(int, widthBefore);
    QFETCH(bool, printer);
    QFETCH(int, expectedLines);
    QFETCH(QString, width);
    ElementArray elements;
    ResetElements(elements, ResetMode::Create);
    TGFXL& e = elements[element];
    if (!lines.isEmpty() || element != kQuantity)
        e.ContentFile = writeText(QStringLiteral("Soup.vrez008"), lines);
    e.Left = 30;
    e.Shown = true;
    e.Bitmap = rich::newScreenImage(QSize(widthBefore, 30));
    rich::RenderTarget screen;
    RenderContext context{screen,
                          printer ? rich::PrinterStatus::Available : rich::PrinterStatus::Missing,
                          scratchFilePath(m_base)};
    rich::RichDocument doc;
    QString error;
    QVERIFY2(RenderElement(widthBefore == 0, element, elements, doc, context, &error),
             qPrintable(error));
    QCOMPARE(doc.lineCount(), expectedLines);
    rich::RichDocument original;
    for (const QString& line : lines)
        original.appendLine(line);
    const int lineWidth = rich::MeasureLineWidth(screen, original, 0);
    const int expected = width == QLatin1String("line+4") ? lineWidth + 4
                         : width == QLatin1String("20")   ? 20
                                                          : widthBefore;
    QCOMPARE(e.width(), expected);
    QCOMPARE(e.Left, 30);
    if (doc.lineCount() == 2) // broken right after the last blank that fits
        QVERIFY(doc.lines().at(0).text.endsWith(QLatin1Char(' ')));
    QVERIFY(!QFile::exists(scratchFilePath(m_base))); // it only passes through
}

void PreviewLogicTest::unwritableScratchFileLeavesTheElement()
{
    ElementArray elements;
    ResetElements(elements, ResetMode::Create);
    TGFXL& e = elements[kComments];
    e.ContentFile = writeText(QStringLiteral("Soup.vrez001"), {QStringLiteral("Serve hot.")});
    e.Shown = true;
    e.Bitmap = rich::newScreenImage(QSize(300, 30));
    const qint64 before = e.Bitmap.cacheKey();
    QVERIFY(QDir().mkpath(scratchFilePath(m_base))); // a folder where the file belongs
    rich::RenderTarget screen;
    RenderContext context{screen, rich::PrinterStatus::Available, scratchFilePath(m_base)};
    rich::RichDocument doc;
    doc.appendLine(QStringLiteral("as it was"));
    QString error;
    QVERIFY(!RenderElement(false, kComments, elements, doc, context, &error));
    QVERIFY2(error.contains(QStringLiteral("Temprtf.qzt")), qPrintable(error));
    QCOMPARE(e.Bitmap.cacheKey(), before);
    QCOMPARE(doc.plainText(), QStringLiteral("as it was"));
}

void PreviewLogicTest::drawFrameOnTheBorderOnly()
{
    QImage bitmap = rich::newScreenImage(QSize(5, 4));
    DrawFrame(bitmap, 0, 0, qRgb(0, 0, 255), bitmap.height(), bitmap.width());
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            const bool border = x == 0 || y == 0 || x == 4 || y == 3;
            QCOMPARE(bitmap.pixel(x, y) == qRgb(0, 0, 255), border);
        }
    }
}

void PreviewLogicTest::fillFromRecipe()
{
    QVERIFY(
        copyTree(QStringLiteral(DILBO_DATA_DIR "/Graphic"), m_base + QStringLiteral("Graphic")));
    setBaseFolder(m_base);
    TKVG r;
    r.FileName = QStringLiteral("Soup.vrez");
    r.Name = "Soup";
    r.Difficulty = 3;
    r.Devices = "cooking pot,baking oven,";
    r.Instructions = {"Boil."};
    ElementArray elements;
    ResetElements(elements, ResetMode::Create);
    rich::RichDocument scratch;
    QString error;
    QVERIFY2(FillElementsFromRecipe(elements, r, m_base, scratch, &error), qPrintable(error));
    QCOMPARE(elements.at(kDescription).ContentFile, previewTempFolder(m_base) + QStringLiteral("Soup.vrez003"));
    QVERIFY(elements.at(kComments).ContentFile.isEmpty()); // no lines, no file
    // Only the cooking date: no categories, servings or time.
    rich::RichDocument notes;
    QVERIFY(rich::readRtfFile(elements.at(kOtherNotes).ContentFile, notes));
    QCOMPARE(notes.lineCount(), 1);
    QVERIFY(notes.plainText().startsWith(QStringLiteral("Cooking date: ")));
    // The name in MS Sans Serif 12 pt, the other notes in 10 pt, to the end marks.
    rich::RichDocument name;
    QVERIFY(rich::readRtfFile(elements.at(kRecipeName).ContentFile, name));
    for (const auto& [doc, halfPoints] : {std::pair{&name, 24}, std::pair{&notes, 20}}) {
        const rich::RichLine& line = doc->lines().constFirst();
        QList<quint16> ids = line.formats;
        ids << line.endFormat;
        for (const quint16 id : std::as_const(ids)) {
            QCOMPARE(doc->format(id).fontName, QStringLiteral("MS Sans Serif"));
            QCOMPARE(doc->format(id).halfPoints, halfPoints);
        }
    }
    // Three stars with a white border of one pixel.
    const QImage stars = loadPicture(m_base + QStringLiteral("Graphic/PNG/3_Sterne.png"));
    const QImage& bitmap = elements.at(kDifficulty).Bitmap;
    QCOMPARE(bitmap.size(), stars.size() + QSize(2, 2));
    QCOMPARE(bitmap.pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(bitmap.pixel(bitmap.width() - 1, bitmap.height() - 1), qRgb(255, 255, 255));
    QVERIFY(elements.at(kDifficulty).IsPicture && elements.at(kDifficulty).WholeTextFont);
    // Two devices: a strip of 64 x 32 in a BMP file.
    const QImage strip(deviceStripPath(m_base), "BMP");
    QCOMPARE(strip.size(), QSize(64, 32));
    QCOMPARE(elements.at(kCookingDevices).Bitmap.size(), QSize(66, 34));
}

void PreviewLogicTest::temporaryFilesOnly()
{
    // What a crashed preview of an earlier version left in TEMP/ itself.
    const QString leftovers = m_base + QStringLiteral("TEMP/");
    for (const char* name : {"Old.vrez003", "Old.VREZ009", "CookingPots.bmp", "Temprtf.qzt",
                             "Element004.qzt", "notes.txt", "Old.vrez010", "Element04.qzt"})
        putFile(leftovers + QLatin1String(name), "x");
    removeLeftoverFiles(m_base); // what start-up does
    QCOMPARE(QDir(leftovers).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase),
             (QStringList{QStringLiteral("Element04.qzt"), QStringLiteral("notes.txt"),
                          QStringLiteral("Old.vrez010")}));
    const QString temp = previewTempFolder(m_base);
    putFile(temp + QStringLiteral("notes.txt"), "x");
    // A content file outside TEMP/ (a user's file) is never deleted when the preview closes.
    ElementArray elements;
    ResetElements(elements, ResetMode::Create);
    const QString own = m_base + QStringLiteral("mine.rtf");
    putFile(own, "x");
    elements[kComments].ContentFile = own;
    elements[kDescription].ContentFile = temp + QStringLiteral("notes.txt");
    DeletePreviewFiles(elements, m_base);
    QVERIFY(QFile::exists(own));
    QVERIFY(!QFile::exists(temp + QStringLiteral("notes.txt")));
}

using Sizes = QMap<int, QSize>;
using Places = QMap<int, QList<int>>;

void PreviewLogicTest::defaultLayout_data()
{
    // Element sizes (those not given have no content) and where the default layout
    // puts them on a 722 x 981 sheet: x, y, page. Rows are 10 pixels apart.
    QTest::addColumn<Sizes>("sizes");
    QTest::addColumn<Places>("places");
    // 200 + 10 + 100 fit beside each other, and 410 more would not (730 > 722); the
    // columns stand 10 apart; the description, 650 high from 380, goes to page 2.
    QTest::newRow("a deluxe recipe")
        << Sizes{{kRecipeName, {300, 40}}, {kRecipeGraphic, {200, 150}},
                            {kDifficulty, {100, 20}}, {kCookingDevices, {410, 30}},
                            {kQuantity, {50, 100}}, {kUnit, {40, 100}},
                            {kIngredientName, {200, 120}}, {kPreparation, {100, 80}},
                            {kDescription, {700, 650}}, {kComments, {300, 50}}}
        << Places{{kRecipeName, {0, 0, 0}}, {kRecipeGraphic, {0, 50, 0}},
                                 {kDifficulty, {210, 50, 0}}, {kCookingDevices, {0, 210, 0}},
                                 {kQuantity, {0, 250, 0}}, {kUnit, {60, 250, 0}},
                                 {kIngredientName, {110, 250, 0}}, {kPreparation, {320, 250, 0}},
                                 {kDescription, {0, 0, 1}}, {kComments, {0, 660, 1}}};
    // 650 + 10 + 100 = 760: the stars start a line; beside them 613 would reach 723.
    QTest::newRow("wide pictures")
        << Sizes{{kRecipeName, {300, 40}}, {kRecipeGraphic, {650, 100}},
                            {kDifficulty, {100, 20}}, {kCookingDevices, {613, 30}},
                            {kIngredients, {400, 200}}}
        << Places{{kRecipeName, {0, 0, 0}}, {kRecipeGraphic, {0, 50, 0}},
                                 {kDifficulty, {0, 160, 0}}, {kCookingDevices, {0, 190, 0}},
                                 {kIngredients, {0, 230, 0}}};
}

void PreviewLogicTest::defaultLayout()
{
    QFETCH(Sizes, sizes);
    QFETCH(Places, places);
    ElementArray elements(kElementCount);
    for (auto it = sizes.cbegin(); it != sizes.cend(); ++it) {
        elements[it.key()].ContentFile = QStringLiteral("content");
        elements[it.key()].Bitmap = QImage(it.value(), QImage::Format_RGB32);
    }
    const bool deluxe = sizes.contains(kQuantity);
    const QList<TElementPlacement> placed = defaultPlacements(elements, QSize(722, 981), deluxe);
    QCOMPARE(placed.size(), kElementCount);
    for (int i = 0; i < kElementCount; ++i) {
        const TElementPlacement& p = placed.at(i);
        QCOMPARE((QList<int>{p.Left, p.Top, p.Page}), places.value(i, {0, 0, -1}));
    }
}

// A layout made with a short ingredient list, applied to a longer one: what lies below
// the columns moves down together; what lies above or beside them stays.
void PreviewLogicTest::roomBelowTheColumns()
{
    for (const int height : {200, 50}) {
        ElementArray e(kElementCount);
        auto put = [&](int i, int left, int top, QSize size) {
            e[i].Left = left;
            e[i].Top = top;
            e[i].Page = 0;
            e[i].Bitmap = QImage(size, QImage::Format_RGB32);
        };
        put(kQuantity, 0, 221, {40, height});
        put(kUnit, 50, 221, {40, height});
        put(kIngredientName, 100, 221, {150, height});
        put(kPreparation, 260, 221, {40, height});
        put(kRecipeName, 0, 10, {300, 30});
        put(kRecipeGraphic, 429, 10, {200, 150});
        put(kCookingDevices, 429, 230, {100, 30}); // beside the columns
        put(kDescription, 0, 327, {600, 80});
        put(kComments, 0, 420, {300, 40});
        const QList<int> moved = MakeRoomBelowColumns(e, 10);
        if (height == 50) { // the row ends at 271: room enough
            QVERIFY(moved.isEmpty());
            QCOMPARE(e.at(kDescription).Top, 327);
            continue;
        }
        // The row ends at 421: the instructions start 10 below, 104 lower than placed.
        QCOMPARE(moved, (QList<int>{kComments, kDescription}));
        QCOMPARE(e.at(kDescription).Top, 431);
        QCOMPARE(e.at(kComments).Top, 524);
        QCOMPARE(e.at(kRecipeName).Top, 10);
        QCOMPARE(e.at(kCookingDevices).Top, 230);
    }
}

QTEST_MAIN(PreviewLogicTest)
#include "tst_previewlogic.moc"
