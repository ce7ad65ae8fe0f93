// SPDX-License-Identifier: GPL-2.0-or-later

#include "tests/testfiles.h"

#include "common/session.h"
#include "platform/richtext/rendertarget.h"
#include "platform/richtext/richpainter.h"
#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"
#include "preview/recipefill.h"
#include "preview/servingsscale.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

// Scaling the preview's texts to another number of servings without a window: which
// characters change and in which fonts, the width an element takes, the scaler's files,
// and the shopping list element filled from a recipe.

using namespace Qt::StringLiterals;

namespace {

/// Distinct fonts, named by letters in the rows below: one letter per character.
rich::CharFormat letterFormat(QChar letter)
{
    static const QStringList fonts{QStringLiteral("Arial"), QStringLiteral("Courier New"),
                                   QStringLiteral("Verdana")};
    const int n = letter.unicode() - u'a';
    rich::CharFormat f;
    f.fontName = fonts.at(n % fonts.size());
    f.style = quint8(n / fonts.size()) & (rich::Bold | rich::Italic);
    f.setPointSize(9 + n);
    return f;
}

rich::RichDocument lettered(const QString& text, const QString& letters)
{
    rich::RichDocument doc;
    doc.appendLine(QString());
    rich::RichLine& line = doc.lines().first();
    line.text = text;
    for (QChar letter : letters)
        line.formats << doc.intern(letterFormat(letter));
    line.endFormat = doc.intern(letterFormat(u'z'));
    return doc;
}

QString lettersOf(const rich::RichDocument& doc)
{
    QString letters;
    for (quint16 id : doc.lines().first().formats) {
        for (QChar letter = u'a'; letter <= u'y'; letter = QChar(letter.unicode() + 1)) {
            if (doc.format(id) == letterFormat(letter)) {
                letters += letter;
                break;
            }
        }
    }
    return letters;
}

rich::RichDocument readDoc(const QString& path)
{
    rich::RichDocument doc;
    rich::readRtfFile(path, doc);
    return doc;
}

} // namespace

class ServingsScaleTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void scaleElementText_data();
    void scaleElementText();
    void servingsBase_data();
    void servingsBase();
    void scaledTextWidth_data();
    void scaledTextWidth();
    void scalerAlwaysStartsFromTheRecipesAmounts();
    void scalerTakesEditedTextAndReportsUnreadableFiles();
    void shoppingListElement_data();
    void shoppingListElement();
    void tickBoxMissingFromTheFaceIsDrawnAsASquare();

private:
    QString tempFile(const QString& name, const QStringList& lines);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
};

void ServingsScaleTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_base = m_dir->path() + QLatin1Char('/');
    QDir().mkpath(previewTempFolder(m_base));
}

QString ServingsScaleTest::tempFile(const QString& name, const QStringList& lines)
{
    rich::RichDocument doc;
    for (const QString& line : lines)
        doc.appendLine(line);
    const QString path = previewTempFolder(m_base) + name;
    rich::writeRtfFile(path, doc);
    return path;
}

void ServingsScaleTest::scaleElementText_data()
{
    QTest::addColumn<int>("element");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("letters"); // the font of each character
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("scaled"); // empty: unchanged
    QTest::addColumn<QString>("scaledLetters");
    const QString box = QChar(kTickBox) + QLatin1Char(' ');
    QTest::newRow("line: mixed number to whole, the rest keeps its fonts")
        << int(kIngredients) << u"1 1/2 tsp salt"_s << u"abcdeffffggggg"_s << 2.0 << u"3 tsp salt"_s
        << u"affffggggg"_s;
    QTest::newRow("column: longer, the last font continues")
        << int(kQuantity) << u"1/2"_s << u"abc"_s << 3.0 << u"1 1/2"_s << u"abccc"_s;
    QTest::newRow("column: range")
        << int(kQuantity) << u"2-3"_s << u"abc"_s << 4.0 << u"8-12"_s << u"abcc"_s;
    QTest::newRow("column: decimal comma")
        << int(kQuantity) << u"0,5"_s << u"abc"_s << 3.0 << u"1,5"_s << u"abc"_s;
    QTest::newRow("line: a third of a quarter")
        << int(kIngredients) << u"3/4 cup sugar"_s << u"aaabbbbcccccc"_s << 1.0 / 3
        << u"1/4 cup sugar"_s << u"aaabbbbcccccc"_s;
    QTest::newRow("column: the smallest amount stays")
        << int(kQuantity) << u"1/8"_s << u"abc"_s << 0.5 << QString() << QString();
    QTest::newRow("line: no factor")
        << int(kIngredients) << u"2 eggs"_s << u"aaaaaa"_s << 0.0 << QString() << QString();
    QTest::newRow("line: no quantity") << int(kIngredients) << u"a pinch of salt"_s
                                       << u"aaaaaaaaaaaaaaa"_s << 2.0 << QString() << QString();
    QTest::newRow("line: heading") << int(kIngredients) << u"For the glaze:"_s
                                   << u"aaaaaaaaaaaaaa"_s << 2.0 << QString() << QString();
    QTest::newRow("line: factor 1 writes nothing anew")
        << int(kIngredients) << u"1.50 cups"_s << u"aaaabbbbb"_s << 1.0 << QString() << QString();
    QTest::newRow("shopping list: after the box")
        << int(kShoppingList) << box + u"1/2 cup milk"_s << u"xyabcddddeeeee"_s << 3.0
        << box + u"1 1/2 cup milk"_s << u"xyabcccddddeeeee"_s;
    QTest::newRow("shopping list: a line without the box stays")
        << int(kShoppingList) << u"2 eggs"_s << u"aaaaaa"_s << 3.0 << QString() << QString();
    QTest::newRow("other notes: servings range")
        << int(kOtherNotes) << u"Number of Servings: 4-6 people"_s
        << QString(20, u'a') + u"bcd"_s + QString(7, u'e') << 3.0
        << u"Number of Servings: 12-18 people"_s
        << QString(20, u'a') + u"bcddd"_s + QString(7, u'e');
    QTest::newRow("other notes: servings after a word")
        << int(kOtherNotes) << u"Number of Servings: makes 12"_s << QString(28, u'a') << 0.25
        << u"Number of Servings: makes 3"_s << QString(27, u'a');
    QTest::newRow("other notes: another line")
        << int(kOtherNotes) << u"Cooking time: 20 minutes"_s << QString(24, u'a') << 3.0
        << QString() << QString();
    QTest::newRow("instructions are never scaled")
        << int(kDescription) << u"2 eggs"_s << u"aaaaaa"_s << 2.0 << QString() << QString();
}

void ServingsScaleTest::scaleElementText()
{
    QFETCH(int, element);
    QFETCH(QString, text);
    QFETCH(QString, letters);
    QFETCH(double, factor);
    QFETCH(QString, scaled);
    QFETCH(QString, scaledLetters);
    QCOMPARE(letters.size(), text.size()); // the row itself
    rich::RichDocument doc = lettered(text, letters);
    const quint16 endFormat = doc.lines().first().endFormat;
    QCOMPARE(::scaleElementText(element, doc, factor), !scaled.isEmpty());
    QCOMPARE(doc.lines().first().text, scaled.isEmpty() ? text : scaled);
    QCOMPARE(lettersOf(doc), scaled.isEmpty() ? letters : scaledLetters);
    QCOMPARE(doc.lines().first().endFormat, endFormat);
}

void ServingsScaleTest::servingsBase_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("byFactor");
    QTest::addColumn<double>("servings");
    QTest::addColumn<double>("factorFor6"); // the factor the control's value 6 gives
    QTest::newRow("a number") << u"4 people"_s << false << 4.0 << 1.5;
    QTest::newRow("after a word") << u"makes 12"_s << false << 12.0 << 0.5;
    QTest::newRow("empty: a factor") << QString() << true << 1.0 << 6.0;
    QTest::newRow("no number: a factor") << u"a few"_s << true << 1.0 << 6.0;
}

void ServingsScaleTest::servingsBase()
{
    QFETCH(QString, field);
    QFETCH(bool, byFactor);
    QFETCH(double, servings);
    QFETCH(double, factorFor6);
    const ServingsBase base = ::servingsBase(field);
    QCOMPARE(base.byFactor, byFactor);
    QCOMPARE(base.servings, servings);
    QCOMPARE(base.factorFor(6), factorFor6);
}

void ServingsScaleTest::scaledTextWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("room");
    QTest::addColumn<int>("scaled");
    QTest::newRow("as wide as its text: grows with it") << 104 << 100 << 130 << 500 << 134;
    QTest::newRow("grows up to the sheet's edge") << 104 << 100 << 130 << 120 << 120;
    QTest::newRow("made narrower by the user: kept") << 60 << 100 << 130 << 500 << 60;
    QTest::newRow("shorter text: the layout shrinks it") << 104 << 100 << 50 << 500 << 104;
    QTest::newRow("less room than it has: never narrower") << 104 << 100 << 130 << 90 << 104;
}

void ServingsScaleTest::scaledTextWidth()
{
    QFETCH(int, width);
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(int, room);
    QFETCH(int, scaled);
    QCOMPARE(::scaledTextWidth(width, before, after, room), scaled);
}

void ServingsScaleTest::scalerAlwaysStartsFromTheRecipesAmounts()
{
    ElementArray elements;
    ResetElements(elements, ResetMode::Create);
    const QStringList lines{QStringLiteral("1/3 cup cream"), QStringLiteral("salt")};
    elements[kIngredients].ContentFile = tempFile(QStringLiteral("a.vrez002"), lines);
    elements[kDescription].ContentFile =
        tempFile(QStringLiteral("a.vrez003"), {QStringLiteral("2 eggs, beaten")});
    const QByteArray original = fileBytes(elements.at(kIngredients).ContentFile);
    const QByteArray description = fileBytes(elements.at(kDescription).ContentFile);
    ServingsScaler scaler;
    QList<ServingsScaler::Change> changes;
    QVERIFY(scaler.apply(elements, 0.25, &changes));
    QCOMPARE(readDoc(elements.at(kIngredients).ContentFile).plainLines(),
             (QStringList{QStringLiteral("1/8 cup cream"), QStringLiteral("salt")}));
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.at(0).element, int(kIngredients));
    QCOMPARE(changes.at(0).before.plainLines(), lines);
    QCOMPARE(changes.at(0).after.plainLines().first(), QStringLiteral("1/8 cup cream"));
    // Three times the recipe is 1 cup, not three times the rounded 1/8.
    changes.clear();
    QVERIFY(scaler.apply(elements, 3, &changes));
    QCOMPARE(readDoc(elements.at(kIngredients).ContentFile).plainLines().first(),
             QStringLiteral("1 cup cream"));
    QCOMPARE(changes.at(0).before.plainLines().first(), QStringLiteral("1/8 cup cream"));
    // Back to the recipe's own servings: the file as it was filled, byte for byte.
    QVERIFY(scaler.apply(elements, 1, &changes));
    QCOMPARE(fileBytes(elements.at(kIngredients).ContentFile), original);
    changes.clear();
    QVERIFY(scaler.apply(elements, 1, &changes));
    QVERIFY(changes.isEmpty()); // nothing to do, nothing reported
    QCOMPARE(fileBytes(elements.at(kDescription).ContentFile), description);
}

void ServingsScaleTest::scalerTakesEditedTextAndReportsUnreadableFiles()
{
    ElementArray elements;
    ResetElements(elements, ResetMode::Create);
    elements[kQuantity].ContentFile =
        tempFile(QStringLiteral("b.vrez004"), {QStringLiteral("2"), QStringLiteral("1/2")});
    elements[kOtherNotes].ContentFile =
        tempFile(QStringLiteral("b.vrez009"), {QStringLiteral("Number of Servings: 4 people")});
    ServingsScaler scaler;
    QVERIFY(scaler.apply(elements, 3, nullptr));
    // The column edited in the preview at three times the amounts: that text counts now.
    tempFile(QStringLiteral("b.vrez004"), {QStringLiteral("5"), QStringLiteral("1 1/2")});
    QVERIFY(scaler.apply(elements, 6, nullptr));
    QCOMPARE(readDoc(elements.at(kQuantity).ContentFile).plainLines(),
             (QStringList{QStringLiteral("10"), QStringLiteral("3")}));
    QCOMPARE(readDoc(elements.at(kOtherNotes).ContentFile).plainText(),
             QStringLiteral("Number of Servings: 24 people"));
    // A content file that is gone is named; the other element is scaled all the same.
    const QString gone = previewTempFolder(m_base) + QStringLiteral("b.vrez013");
    elements[kShoppingList].ContentFile = gone;
    QString error;
    QVERIFY(!scaler.apply(elements, 1.5, nullptr, &error));
    QVERIFY2(error.contains(QStringLiteral("b.vrez013")), qPrintable(error));
    QCOMPARE(readDoc(elements.at(kOtherNotes).ContentFile).plainText(),
             QStringLiteral("Number of Servings: 6 people"));
    QVERIFY(!QFile::exists(gone));
}

void ServingsScaleTest::shoppingListElement_data()
{
    QTest::addColumn<bool>("deluxe");
    QTest::addColumn<QStringList>("lines");
    const QString box = QChar(kTickBox) + QLatin1Char(' ');
    QTest::newRow("free lines") << false
                                << QStringList{box + u"500 g flour"_s, box + u"1 1/2 tsp salt"_s,
                                               box + u"a pinch of nutmeg"_s, box + u"3 eggs"_s};
    QTest::newRow("deluxe columns")
        << true
        << QStringList{box + u"500 g flour"_s, box + u"1 1/2 tsp salt"_s, box + u"2 lemons"_s};
    QTest::newRow("no ingredients") << false << QStringList{};
}

void ServingsScaleTest::shoppingListElement()
{
    QFETCH(bool, deluxe);
    QFETCH(QStringList, lines);
    setBaseFolder(m_base);
    TKVG r;
    r.FileName = QStringLiteral("Cake.vrez");
    r.Name = "Cake";
    if (deluxe) {
        r.Kind = 1;
        r.Quantities = {"500", "", "1 1/2", "2"};
        r.Units = {"g", "", "tsp", ""};
        r.IngredientNames = {"flour", "For the glaze:", "salt", "lemons"};
    } else if (!lines.isEmpty()) {
        r.Ingredients = {
            "500 g flour",       "",      "For the glaze:", "1 1/2 tsp salt, fine", "GLAZE",
            "a pinch of nutmeg", "3 eggs"};
    }
    ElementArray elements;
    ResetElements(elements, ResetMode::Create);
    rich::RichDocument scratch;
    QString error;
    QVERIFY2(FillElementsFromRecipe(elements, r, m_base, scratch, &error), qPrintable(error));
    const TGFXL& list = elements.at(kShoppingList);
    if (lines.isEmpty()) {
        QVERIFY(list.ContentFile.isEmpty());
        return;
    }
    QCOMPARE(list.ContentFile, contentFilePath(m_base, r.FileName, kShoppingList));
    QVERIFY(!list.IsPicture && list.ColumnGroup == 0);
    const rich::RichDocument doc = readDoc(list.ContentFile);
    QCOMPARE(doc.plainLines(), lines);
    for (const rich::RichLine& line : doc.lines()) {
        for (quint16 id : line.formats)
            QCOMPARE(doc.format(id).fontName, QStringLiteral("MS Sans Serif"));
    }
}

void ServingsScaleTest::tickBoxMissingFromTheFaceIsDrawnAsASquare()
{
    // Arial (Liberation Sans) has no U+2610; Qt would draw another font's box, with soft
    // edges. The square is drawn in full pixels of the text's colour.
    rich::RenderTarget screen;
    rich::CharFormat f;
    f.fontName = QStringLiteral("Arial");
    f.setPointSize(20);
    f.color = qRgb(0, 0, 200);
    if (rich::DeviceFont& font = screen.font(f); font.glyph(kTickBox) != 0)
        QSKIP("this machine's Arial has a box to tick");
    rich::RichDocument doc;
    doc.appendLine(QString(QChar(kTickBox)), doc.intern(f));
    QImage image = rich::newScreenImage(QSize(60, 60));
    QPainter painter(&image);
    int x = 5;
    int y = 5;
    rich::DrawRichText(screen, painter, x, y, doc);
    painter.end();
    QRect box;
    for (int py = 0; py < image.height(); ++py) {
        for (int px = 0; px < image.width(); ++px) {
            const QRgb c = image.pixel(px, py) & 0xffffff;
            if (c == 0xffffff)
                continue;
            QCOMPARE(c, QRgb(0x0000c8)); // no soft edge
            box |= QRect(px, py, 1, 1);
        }
    }
    // A square standing on the baseline, centred in the character's advance.
    rich::DeviceFont& font = screen.font(f);
    const int advance = font.advance(kTickBox);
    QCOMPARE(box.width(), box.height());
    QVERIFY(box.height() >= font.ascent() / 2 && box.height() < font.ascent());
    QCOMPARE(box.bottom(), 5 + font.ascent() - 1);
    const int leftGap = box.left() - 5;
    const int rightGap = 5 + advance - (box.right() + 1);
    QVERIFY2(leftGap >= 0 && rightGap >= 0 && qAbs(leftGap - rightGap) <= 1,
             qPrintable(QStringLiteral("%1 %2").arg(leftGap).arg(rightGap)));
    QCOMPARE(image.pixel(box.center()) & 0xffffff, QRgb(0xffffff)); // empty
    for (int k = 0; k < box.width(); ++k) {
        QCOMPARE(image.pixel(box.left() + k, box.top()) & 0xffffff, QRgb(0x0000c8));
        QCOMPARE(image.pixel(box.left(), box.top() + k) & 0xffffff, QRgb(0x0000c8));
        QCOMPARE(image.pixel(box.right(), box.top() + k) & 0xffffff, QRgb(0x0000c8));
        QCOMPARE(image.pixel(box.left() + k, box.bottom()) & 0xffffff, QRgb(0x0000c8));
    }
}

QTEST_MAIN(ServingsScaleTest)
#include "tst_servingsscale.moc"
