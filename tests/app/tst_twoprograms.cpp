// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/recipefile.h"
#include "tests/testfiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// Several copies of the real program in one base folder, as people run them: two
// imports at once, a listing or an export started beside an import, an import killed
// in the middle and the start after it.

namespace {

/// A schema.org file of count recipes named "Dish 1" to "Dish count".
QByteArray recipes(int count)
{
    QByteArray json = "{\"@context\": \"https://schema.org\", \"@graph\": [";
    for (int i = 1; i <= count; ++i) {
        json += (i > 1 ? ",\n" : "\n") + QByteArray("{\"@type\": \"Recipe\", \"name\": \"Dish ") +
                QByteArray::number(i) +
                "\", \"recipeIngredient\": [\"1 cup water\"], \"recipeInstructions\": \"Boil.\"}";
    }
    return json + "]}\n";
}

class Program : public QProcess {
public:
    Program(const QString& base, const QStringList& arguments,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
    {
        setWorkingDirectory(base);
        setProgram(QStringLiteral(DILBOSCAN_BINARY));
        setArguments(arguments);
        setProcessEnvironment(environment);
        start();
    }
    ~Program() override
    {
        if (state() != NotRunning) {
            kill();
            waitForFinished();
        }
    }
    /// Waits for the end; standard output, or a failed test when the program failed.
    QString finished(int expectedCode = 0)
    {
        const bool ended = state() == NotRunning || waitForFinished(120000);
        if (!ended || exitStatus() != NormalExit || exitCode() != expectedCode) {
            QTest::qFail(qPrintable(QStringLiteral("%1 ended with %2: %3")
                                        .arg(arguments().join(QLatin1Char(' ')))
                                        .arg(exitCode())
                                        .arg(QString::fromLocal8Bit(readAllStandardError()))),
                         __FILE__, __LINE__);
        }
        return QString::fromUtf8(readAllStandardOutput());
    }
};

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

QStringList temporaryFilesIn(const QString& folder)
{
    return filesIn(folder).filter(QStringLiteral(".dilbotmp-"));
}

} // namespace

class TwoProgramsTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_base = m_dir->path() + QLatin1Char('/');
        m_recipes = m_base + QStringLiteral("prepared_recipes/");
        QVERIFY(QDir().mkpath(m_recipes));
        QVERIFY(QDir().mkpath(m_base + QStringLiteral("PRGDATA")));
    }

    // Both imports take "Dish 1" and so on from their own listing of the folder; the
    // one that comes second gets the next free names, and nothing is replaced.
    // In a terminal without a display (no X, no Wayland, no platform chosen) the
    // command-line modes run and end; they never start the window.
    void commandLineModesNeedNoDisplay()
    {
        QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            bare.remove(QString::fromLatin1(name));
        Program version(m_base, {QStringLiteral("--version")}, bare);
        QVERIFY2(version.finished().startsWith(QLatin1String("dilboscan ")), "--version");
        TKVG soup;
        soup.Name = "Soup";
        soup.Ingredients = {"1 1/2 l water"};
        putFile(m_recipes + QStringLiteral("soup.vrez"), recipeFileBytes(soup));
        Program list(m_base, {QStringLiteral("--list")}, bare);
        QVERIFY(list.finished().startsWith(QLatin1String("Create new recipe\t\t\t0\nSoup\t")));
        Program shopping(m_base, {QStringLiteral("--shopping-list"), QStringLiteral("Soup:x2")},
                         bare);
        QCOMPARE(shopping.finished(), QStringLiteral("Soup: scaled by 2\n\n3 l water\tSoup\n"));
        const QString pdf = m_base + QStringLiteral("list.pdf");
        Program print(m_base, {QStringLiteral("--print-list-pdf=") + pdf}, bare);
        print.finished();
        QVERIFY(QFileInfo(pdf).size() > 0);
    }

    void twoImportsOfRecipesNamedAlikeKeepThemAll()
    {
        constexpr int count = 800;
        putFile(m_base + QStringLiteral("dishes.json"), recipes(count));
        const QStringList import{QStringLiteral("--import"), QStringLiteral("dishes.json")};
        Program first(m_base, import);
        Program second(m_base, import);
        const QString expected = QStringLiteral("%1 recipes imported.\n").arg(count);
        QCOMPARE(first.finished(), expected);
        QCOMPARE(second.finished(), expected);
        QCOMPARE(filesIn(m_recipes).filter(QStringLiteral(".vrez")).size(), 2 * count);
    }

    // A start clears the leftovers of ended runs, never the working files of a run
    // beside it: the import goes on to its end while listings and exports start.
    void startsBesideAnImportTakeNothingFromIt()
    {
        constexpr int count = 1500;
        putFile(m_base + QStringLiteral("dishes.json"), recipes(count));
        Program import(m_base, {QStringLiteral("--import"), QStringLiteral("dishes.json")});
        int beside = 0;
        // The state is learned by asking: no event loop runs here.
        while (import.state() != QProcess::NotRunning && !import.waitForFinished(0) &&
               beside < 200) {
            Program list(m_base,
                         {beside % 2 ? QStringLiteral("--export-json") : QStringLiteral("--list")});
            list.finished();
            ++beside;
        }
        QVERIFY2(beside > 1, "the import ended before anything started beside it");
        QCOMPARE(import.finished(), QStringLiteral("%1 recipes imported.\n").arg(count));
        QCOMPARE(filesIn(m_recipes).size(), count);
    }

    // An import killed in the middle leaves at most its temporary file, its lock file
    // and recipes that are whole; the next start removes what the killed run left and
    // nothing of the user's.
    void theStartAfterAKilledImportClearsWhatItLeft()
    {
        const QByteArray header = "[MENDRAKE_TARVOLIN 2.00]\r\n";
        const QStringList copies{QStringLiteral("Dish 1.vrez.backup"),
                                 QStringLiteral("Dish 1.vrez.tmp-copy01")};
        for (const QString& copy : copies)
            putFile(m_recipes + copy, header);
        const QString drafts = m_base + QStringLiteral("PRGDATA/drafts/normal/");
        putFile(drafts + QStringLiteral("Standard.KVP.E.bmp.dilbotmp-0badf00d-Ab12Cd"), "BM");
        putFile(m_base + QStringLiteral("TEMP/0badf00d/Soup.vrez003"), "{\\rtf1 x}");
        // A preview of an earlier version, whose files lay in TEMP/ itself.
        putFile(m_base + QStringLiteral("TEMP/Stew.vrez003"), "{\\rtf1 y}");
        // A run killed while it took its lock.
        putFile(m_base + QStringLiteral("PRGDATA/running/.0badf00e.new"), "1\n");
        putFile(m_base + QStringLiteral("dishes.json"), recipes(3000));

        Program import(m_base, {QStringLiteral("--import"), QStringLiteral("dishes.json")});
        QTRY_VERIFY_WITH_TIMEOUT(filesIn(m_recipes).size() > copies.size() + 20, 60000);
        ::kill(pid_t(import.processId()), SIGKILL);
        import.waitForFinished();
        QVERIFY(!filesIn(m_base + QStringLiteral("PRGDATA/running")).isEmpty());

        Program list(m_base, {QStringLiteral("--list")});
        const QStringList rows = list.finished().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(temporaryFilesIn(m_recipes), QStringList());
        QCOMPARE(temporaryFilesIn(drafts), QStringList());
        QCOMPARE(filesIn(m_base + QStringLiteral("PRGDATA/running")), QStringList());
        QVERIFY(!QFileInfo::exists(m_base + QStringLiteral("TEMP/0badf00d")));
        QVERIFY(!QFileInfo::exists(m_base + QStringLiteral("TEMP/Stew.vrez003")));
        for (const QString& copy : copies)
            QCOMPARE(fileBytes(m_recipes + copy), header);
        // Every recipe written is whole: each is listed (and the row for a new recipe).
        QCOMPARE(rows.size(),
                 filesIn(m_recipes).filter(QRegularExpression(QStringLiteral("\\.vrez$"))).size() +
                     1);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
    QString m_recipes;
};

QTEST_GUILESS_MAIN(TwoProgramsTest)
#include "tst_twoprograms.moc"
