#include "platform/daycount.h"
#include "platform/filelookup.h"
#include "platform/safefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void touch(const QString& path, const QByteArray& content = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// Sets the modification time of a folder: an old folder.
void setFolderTime(const QString& folder, time_t seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(folder).constData(), times, 0), 0);
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT
private slots:
    void lookupFallsBackToAnyCase()
    {
        QTemporaryDir dir;
        const QString base = dir.path() + QLatin1Char('/');
        touch(base + QStringLiteral("Graphic/PNG/ENG/Oven.png"));
        QCOMPARE(lookupPath(base + QStringLiteral("Graphic/PNG/ENG/Oven.png")),
                 base + QStringLiteral("Graphic/PNG/ENG/Oven.png"));
        QCOMPARE(lookupPath(base + QStringLiteral("graphic/png/eng/OVEN.PNG")),
                 base + QStringLiteral("Graphic/PNG/ENG/Oven.png"));
        QVERIFY(lookupPath(base + QStringLiteral("Graphic/PNG/ENG/Grill.PNG")).isEmpty());
        QVERIFY(!pathExists(base + QStringLiteral("nothing/here")));
        QVERIFY(pathExists(base + QStringLiteral("GRAPHIC/")));
    }

    void enumerationMatchesExtensionInAnyCase()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        touch(folder + QStringLiteral("a.vrez"));
        touch(folder + QStringLiteral("B.VREZ"));
        touch(folder + QStringLiteral("c.vrez.001"));
        touch(folder + QStringLiteral("d.txt"));
        QDir().mkpath(folder + QStringLiteral("folder.vrez"));
        QStringList names = enumerateFiles(folder, QStringLiteral("*.vrez"));
        names.sort();
        QCOMPARE(names, (QStringList{QStringLiteral("B.VREZ"), QStringLiteral("a.vrez")}));
        QVERIFY(enumerateFiles(folder + QStringLiteral("missing/"), QStringLiteral("*.vrez"))
                    .isEmpty());
    }

    void foreignPathsAreFoundBesideTheRecipe()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/prepared_recipes/");
        touch(folder + QStringLiteral("Soup.vrez.003"));
        QCOMPARE(lookupForeignPath(QStringLiteral("C:\\Kochbuch\\prepared_recipes\\Soup.vrez.003"),
                                   folder),
                 folder + QStringLiteral("Soup.vrez.003"));
        QVERIFY(lookupForeignPath(QStringLiteral("C:\\x\\Other.vrez.003"), folder).isEmpty());
        QVERIFY(lookupForeignPath(QString(), folder).isEmpty());
    }

    void lookupSeesChangesOfTheFolder_data()
    {
        QTest::addColumn<int>("change");
        QTest::newRow("written by the program") << 0;
        QTest::newRow("removed by the program") << 1;
        QTest::newRow("written by another program") << 2;
    }

    // Lookups in another case use a kept listing of the folder: it must not hide a file
    // written since, nor find one removed since.
    void lookupSeesChangesOfTheFolder()
    {
        QFETCH(int, change);
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        touch(folder + QStringLiteral("old.vrez.003"));
        const time_t past = 1'000'000'000;
        setFolderTime(folder, past); // long unchanged: its listing is kept
        const QString oldPath = folder + QStringLiteral("OLD.vrez.003");
        const QString newPath = folder + QStringLiteral("NEW.vrez.003");
        QVERIFY(lookupPath(newPath).isEmpty());
        QCOMPARE(lookupPath(oldPath), folder + QStringLiteral("old.vrez.003"));

        if (change == 0)
            QVERIFY(writeFileAtomically(folder + QStringLiteral("new.vrez.003"), "x"));
        else if (change == 1)
            QVERIFY(removeFile(folder + QStringLiteral("old.vrez.003")));
        else
            touch(folder + QStringLiteral("new.vrez.003"));
        QCOMPARE(lookupPath(newPath).isEmpty(), change == 1);
        QCOMPARE(lookupPath(oldPath).isEmpty(), change == 1);
    }

    void atomicWriteReplacesContent()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/recipe.vrez");
        touch(path, "old content that is longer");
        QVERIFY(writeFileAtomically(path, "new"));
        QByteArray bytes;
        QVERIFY(readWholeFile(path, &bytes));
        QCOMPARE(bytes, QByteArray("new"));
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("recipe.vrez")});
    }

    void failedWriteKeepsTheOldFileAndNamesIt()
    {
        if (::geteuid() == 0)
            QSKIP("root can write into read-only folders");
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/ro");
        const QString path = folder + QStringLiteral("/recipe.vrez");
        touch(path, "precious");
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QString error;
        QVERIFY(!writeFileAtomically(path, "new", &error));
        QVERIFY2(error.contains(QLatin1String("recipe.vrez")), qPrintable(error));
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        QByteArray bytes;
        QVERIFY(readWholeFile(path, &bytes));
        QCOMPARE(bytes, QByteArray("precious"));
    }

    void writeIntoMissingFolderFails()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!writeFileAtomically(dir.path() + QStringLiteral("/missing/x.kv"), "x", &error));
        QVERIFY(error.contains(QLatin1String("x.kv")));
        QVERIFY(!readWholeFile(dir.path() + QStringLiteral("/missing/x.kv"), nullptr, &error));
        QVERIFY(error.contains(QLatin1String("x.kv")));
    }

    void dayCounts_data()
    {
        QTest::addColumn<double>("days");
        QTest::addColumn<QDateTime>("dateTime");
        QTest::newRow("epoch") << 0.0 << QDateTime(QDate(1899, 12, 30), QTime(0, 0));
        QTest::newRow("noon next day") << 1.5 << QDateTime(QDate(1899, 12, 31), QTime(12, 0));
        QTest::newRow("2023") << 45000.25 << QDateTime(QDate(2023, 3, 15), QTime(6, 0));
        QTest::newRow("before the epoch") << -1.25 << QDateTime(QDate(1899, 12, 29), QTime(6, 0));
    }
    void dayCounts()
    {
        QFETCH(double, days);
        QFETCH(QDateTime, dateTime);
        QCOMPARE(dateTimeFromDayCount(days), dateTime);
        QCOMPARE(dayCountFromDateTime(dateTime), days);
    }

    void absurdDayCountsGiveNoDate()
    {
        QVERIFY(!dateTimeFromDayCount(1e300).isValid());
        QVERIFY(!dateTimeFromDayCount(-1e9).isValid());
        const double now = currentDayCount();
        QVERIFY(now > 45000 && now < 80000);
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
