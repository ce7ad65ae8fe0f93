// SPDX-License-Identifier: GPL-2.0-or-later

#include "editor/recipefiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void touch(const QString& path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

// A draw that returns the given numbers in turn, repeating the last one.
SuffixDraw drawing(QList<int> numbers)
{
    return [numbers, i = qsizetype(0)]() mutable {
        const int n = numbers.at(qMin(i, numbers.size() - 1));
        ++i;
        return n;
    };
}

} // namespace

class RecipeFilesTest : public QObject {
    Q_OBJECT

private slots:
    void safeFileName_data();
    void safeFileName();
    void fileNameFromRecordName();
    void freeName_data();
    void freeName();
    void noFreeName();
    void defaultDrawInRange();
};

void RecipeFilesTest::safeFileName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("safe");

    const QString all = QString::fromUtf8("°/<^?>'`|!´;\":§+~$#{%\\[&@]}²³*");
    QTest::newRow("every replaced character") << all << QString(30, QLatin1Char('_'));
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("blanks dots commas stay") << "Soup. Hot, spicy" << "Soup. Hot, spicy";
    QTest::newRow("mixed") << "Soup: 100% \"hot\"!" << "Soup_ 100_ _hot__";
    QTest::newRow("accents stay") << QString::fromUtf8("Crème brûlée") << QString::fromUtf8("Crème brûlée");
    QTest::newRow("look-alikes stay") << QString::fromUtf8("1¹ ( ) - = ·") << QString::fromUtf8("1¹ ( ) - = ·");
}

void RecipeFilesTest::safeFileName()
{
    QFETCH(QString, text);
    QFETCH(QString, safe);
    QCOMPARE(SafeFileName(text), safe);
    QCOMPARE(SafeFileName(text).size(), text.size());
}

void RecipeFilesTest::fileNameFromRecordName()
{
    // Windows-1252 bytes: 0x80 euro sign, 0xB0 degree sign.
    QCOMPARE(recipeFileNameFor("Cake \x80 5 \xB0"), QString::fromUtf8("Cake € 5 _.vrez"));
    QCOMPARE(recipeFileNameFor("Soup"), QStringLiteral("Soup.vrez"));
}

void RecipeFilesTest::freeName_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QList<int>>("draws");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain name free") << QStringList() << QList<int>{5} << "Soup.vrez";
    QTest::newRow("other recipe only") << QStringList{QStringLiteral("Fish.vrez")} << QList<int>{5} << "Soup.vrez";
    QTest::newRow("taken, first draw free") << QStringList{QStringLiteral("Soup.vrez")} << QList<int>{17}
                                            << "Soup_17.vrez";
    QTest::newRow("drawn number taken")
        << QStringList{QStringLiteral("Soup.vrez"), QStringLiteral("Soup_5.vrez")} << QList<int>{5, 5, 899} << "Soup_899.vrez";
    // Names are compared as Windows compares them, whatever their case.
    QTest::newRow("taken in another case")
        << QStringList{QStringLiteral("soup.VREZ")} << QList<int>{17} << "Soup_17.vrez";
    QTest::newRow("drawn number taken in another case")
        << QStringList{QStringLiteral("Soup.vrez"), QStringLiteral("soup_5.Vrez")}
        << QList<int>{5, 899} << "Soup_899.vrez";
    QTest::newRow("draw of zero") << QStringList{QStringLiteral("Soup.vrez")} << QList<int>{0} << "Soup_0.vrez";
    QTest::newRow("unlucky draws end in a search")
        << QStringList{QStringLiteral("Soup.vrez"), QStringLiteral("Soup_0.vrez"), QStringLiteral("Soup_1.vrez"), QStringLiteral("Soup_2.vrez")} << QList<int>{1}
        << "Soup_3.vrez";
}

void RecipeFilesTest::freeName()
{
    QFETCH(QStringList, existing);
    QFETCH(QList<int>, draws);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    for (const QString& name : existing)
        touch(folder + name);
    QCOMPARE(FreeRecipeFileName(folder, "Soup", drawing(draws)), expected);
}

void RecipeFilesTest::noFreeName()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    touch(folder + QStringLiteral("Pie.vrez"));
    for (int n = 0; n < 900; ++n)
        touch(folder + QStringLiteral("Pie_%1.vrez").arg(n));
    QCOMPARE(FreeRecipeFileName(folder, "Pie", drawing({3})), QString());
    QFile::remove(folder + QStringLiteral("Pie_642.vrez"));
    QCOMPARE(FreeRecipeFileName(folder, "Pie", drawing({3})), QStringLiteral("Pie_642.vrez"));
}

void RecipeFilesTest::defaultDrawInRange()
{
    int lowest = 900;
    int highest = -1;
    for (int i = 0; i < 20000; ++i) {
        const int n = drawFileNameSuffix();
        lowest = qMin(lowest, n);
        highest = qMax(highest, n);
    }
    QCOMPARE(lowest, 0);
    QCOMPARE(highest, 899);
}

QTEST_GUILESS_MAIN(RecipeFilesTest)
#include "tst_recipefiles.moc"
