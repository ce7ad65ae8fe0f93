// SPDX-License-Identifier: GPL-2.0-or-later

#include "tests/pdftools.h"
#include "tests/testfiles.h"

#include "drafts/draftfile.h"

#include "app/commandline.h"
#include "common/session.h"
#include "preview/F_Vor.h"
#include "preview/openpreview.h"
#include "preview/previewstate.h"
#include "preview/printers.h"
#include "preview/recipefill.h"
#include "recipes/recipefile.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTextStream>

#include <limits>

// The printing modes of the command line, run in-process in a base folder of their
// own, their PDF files read back with poppler-utils.

namespace {

/// The words of a text separated by single blanks.
QStringList list(const char* words)
{
    return QString::fromUtf8(words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

struct Run {
    int code = 0;
    QString err;
};

Run run(const QString& folder, const QStringList& arguments)
{
    const QString previous = QDir::currentPath();
    Run result;
    if (!QDir::setCurrent(folder))
        return {-1, QStringLiteral("cannot enter ") + folder};
    QBuffer output;
    output.open(QIODevice::WriteOnly);
    QTextStream out(&output);
    QTextStream err(&result.err);
    result.code = runCommandLine(QStringList{QStringLiteral("dilboscan")} + arguments, out, err);
    QDir::setCurrent(previous);
    return result;
}

// A layout for every element, one below the other; the deluxe columns share a row.
TDruckvorlage stackedDraft()
{
    TDruckvorlage draft;
    for (int i = 0; i < 13; ++i)
        draft.Placements.append({i >= 9 && i <= 11 ? 400 : 10, 70 * i, 0});
    return draft;
}

} // namespace

class PrintCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void printRecipe_data();
    void printRecipe();
    void failuresLeaveOutAsItWas_data();
    void failuresLeaveOutAsItWas();
    void printList();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
};

void PrintCommandsTest::init()
{
    if (!pdf::available())
        QSKIP("poppler-utils (pdftotext, pdftoppm) are not installed");
    m_dir = std::make_unique<QTemporaryDir>();
    m_base = m_dir->path() + QLatin1Char('/');
    QVERIFY(
        copyTree(QStringLiteral(DILBO_DATA_DIR "/Graphic"), m_base + QStringLiteral("Graphic")));
    const QString recipes = m_base + QStringLiteral("prepared_recipes/");
    TKVG soup;
    soup.Name = "Tomato soup";
    soup.Categories = "Soups,";
    soup.Difficulty = 2;
    soup.LastCooked = 45000;
    soup.Ingredients = {"tomatoes", "onion"};
    soup.Instructions = {"Chop and simmer."};
    soup.Quantities = {"500"};
    soup.Units = {"g"};
    soup.IngredientNames = {"tomatoes"};
    soup.Descriptions = {"chopped"};
    putFile(recipes + QStringLiteral("soup.vrez"), recipeFileBytes(soup));
    TKVG pie;
    pie.Name = "Apple pie";
    pie.Categories = "Cakes,";
    pie.LastCooked = 45000;
    pie.Book = "Baking";
    pie.Page = "7";
    putFile(recipes + QStringLiteral("pie.vrez"), recipeFileBytes(pie));
    // As after a fresh start: the current draft places nothing.
    CurrentDraft() = TDruckvorlage();
}

void PrintCommandsTest::cleanup()
{
    CurrentDraft() = TDruckvorlage();
    SetPrinters({});
    m_dir.reset();
}

void PrintCommandsTest::printRecipe_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("standard"); // both standard drafts; none when empty
    QTest::addColumn<int>("previewKind");
    // Without a standard draft every element stands at its default place.
    QTest::newRow("the deluxe question answered No") << QStringList() << QByteArray() << 0;
    QTest::newRow("--deluxe answers Yes") << list("--deluxe") << QByteArray() << 1;
    QTest::newRow("a foreign standard draft")
        << QStringList() << QByteArray("GIF89a\r\n") << 0;
    QByteArray truncated = draftFileBytes(stackedDraft());
    truncated.truncate(truncated.size() / 2);
    QTest::newRow("a truncated standard draft") << list("--deluxe") << truncated << 1;
    // The shipped deluxe layout shows the instructions below the columns.
    QTest::newRow("the shipped deluxe standard draft")
        << list("--deluxe")
        << fileBytes(QStringLiteral(DILBO_DATA_DIR "/PRGDATA/drafts/deluxe/Standard.KVP.E")) << 1;
    // The layout comes from the file alone: the current draft places nothing.
    QTest::newRow("--draft FILE") << list("--draft drafts/stacked.kvp") << QByteArray() << 0;
    // The name is placed where no sheet reaches: it is kept on the sheet, in its corner.
    QTest::newRow("a draft far off the sheet")
        << list("--draft drafts/far.kvp") << QByteArray() << 0;
}

// The recipe has both layouts; the draft places every element, so every text shows.
void PrintCommandsTest::printRecipe()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, standard);
    QFETCH(int, previewKind);
    const QString out = m_base + QStringLiteral("soup.pdf");
    if (!standard.isEmpty()) {
        for (const char* kind : {"normal", "deluxe"})
            putFile(m_base + QStringLiteral("PRGDATA/drafts/%1/Standard.KVP.E").arg(QLatin1String(kind)), standard);
    }
    if (options.contains(QStringLiteral("--draft"))) {
        putFile(m_base + QStringLiteral("drafts/stacked.kvp"), draftFileBytes(stackedDraft()));
        TDruckvorlage far = stackedDraft();
        far.Placements[kRecipeName] = {std::numeric_limits<qint32>::max(),
                                       std::numeric_limits<qint32>::max(), 0};
        putFile(m_base + QStringLiteral("drafts/far.kvp"), draftFileBytes(far));
    }
    const Run result =
        run(m_base, QStringList{QStringLiteral("--print-pdf"), out, QStringLiteral("--recipe"),
                                QStringLiteral("Tomato soup")} +
                        options);
    QVERIFY2(result.code == 0, qPrintable(result.err));
    QCOMPARE(PreviewWindow()->state().PreviewKind, previewKind);
    QCOMPARE(pdf::pageCount(out), 1);
    const QStringList words = pdf::texts(pdf::words(out));
    // The layout kind's own ingredients: the list, or the columns.
    QStringList expected = list("Tomato soup tomatoes Chop and simmer. Recipe information: Soups,");
    expected << (previewKind == 0 ? list("onion") : list("500 g chopped"));
    for (const QString& word : expected)
        QVERIFY2(words.contains(word), qPrintable(word));
    // The preview's temporary files are gone again.
    QCOMPARE(QDir(previewTempFolder(m_base)).entryList(QDir::Files), QStringList());
}

void PrintCommandsTest::failuresLeaveOutAsItWas_data()
{
    QTest::addColumn<QStringList>("arguments"); // OUT goes right after the mode
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("named"); // in the error line
    QTest::newRow("unknown recipe") << list("--print-pdf --recipe Soup")
                                    << QStringLiteral("old.pdf") << QStringLiteral("\"Soup\"");
    QTest::newRow("OUT is a folder")
        << (list("--print-pdf --recipe") << QStringLiteral("Apple pie")) << QStringLiteral("folder")
        << QStringLiteral("folder");
    QTest::newRow("a draft with a word for a number")
        << (list("--print-pdf --recipe") << QStringLiteral("Apple pie")
                                         << QStringLiteral("--draft") << QStringLiteral("drafts/bad.kvp"))
        << QStringLiteral("old.pdf") << QStringLiteral("bad.kvp, line 5");
    QTest::newRow("list to a missing folder")
        << list("--print-list-pdf") << QStringLiteral("missing/list.pdf")
        << QStringLiteral("missing/list.pdf");
    // The standard draft is damaged: the page is not printed without its layout.
    QTest::newRow("a damaged standard draft")
        << (list("--print-pdf --recipe") << QStringLiteral("Apple pie")) << QStringLiteral("old.pdf")
        << QStringLiteral("Standard.KVP.E, line 5");
}

void PrintCommandsTest::failuresLeaveOutAsItWas()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    QFETCH(QString, named);
    putFile(m_base + QStringLiteral("old.pdf"), "old bytes");
    QVERIFY(QDir().mkpath(m_base + QStringLiteral("folder")));
    QByteArray bad = draftFileBytes(stackedDraft());
    const qsizetype line5 = bad.indexOf("\r\n", bad.indexOf("\r\n", bad.indexOf("\r\n", bad.indexOf("\r\n") + 2) + 2) + 2) + 2;
    bad.replace(line5, bad.indexOf("\r\n", line5) - line5, "two");
    putFile(m_base + QStringLiteral("drafts/bad.kvp"), bad);
    if (named.contains(QLatin1String("Standard"))) {
        for (const char* kind : {"normal", "deluxe"})
            putFile(m_base + QStringLiteral("PRGDATA/drafts/%1/Standard.KVP.E").arg(QLatin1String(kind)), bad);
    }
    arguments.insert(1, m_base + out);
    const Run result = run(m_base, arguments);
    QCOMPARE(result.code, 1);
    QCOMPARE(result.err.trimmed().count(QLatin1Char('\n')), 0); // one line
    QVERIFY2(result.err.contains(named), qPrintable(result.err));
    QCOMPARE(fileBytes(m_base + QStringLiteral("old.pdf")), QByteArray("old bytes"));
    QVERIFY(QFileInfo(m_base + QStringLiteral("folder")).isDir());
    QVERIFY(!QFileInfo::exists(m_base + QStringLiteral("missing")));
    QCOMPARE(QDir(m_base).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("old.pdf")});
}

void PrintCommandsTest::printList()
{
    const QString all = m_base + QStringLiteral("all.pdf");
    const QString cakes = m_base + QStringLiteral("cakes.pdf");
    QCOMPARE(run(m_base, list("--print-list-pdf") << all).code, 0);
    QCOMPARE(pdf::pageSize(all), QSizeF(612, 792)); // Letter, portrait
    QCOMPARE(run(m_base, list("--print-list-pdf") << cakes << list("--category Cakes")).code, 0);
    QCOMPARE(pdf::texts(pdf::words(all)),
             (list("Apple pie Baking page 7 Tomato soup Categories: Soups,")));
    QCOMPARE(pdf::texts(pdf::words(cakes)), (list("Apple pie Baking page 7")));
}

QTEST_MAIN(PrintCommandsTest)
#include "tst_printcommands.moc"
