// SPDX-License-Identifier: GPL-2.0-or-later

#include "editor/fieldrules.h"

#include <QTest>

class FieldRulesTest : public QObject {
    Q_OBJECT

private slots:
    void leavingName_data();
    void leavingName();
    void addingCategory_data();
    void addingCategory();
    void categoryAlreadyListed_data();
    void categoryAlreadyListed();
    void categoryFieldNormalised();
    void togglingDevice_data();
    void togglingDevice();
    void slotsSortedByName();
    void kindSwitch();
};

void FieldRulesTest::leavingName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("left");

    QTest::newRow("two leading blanks") << "  Soup" << "Soup";
    QTest::newRow("trailing blanks stay") << "  Soup  " << "Soup  ";
    QTest::newRow("blanks only") << "   " << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("tab is no blank") << "\tSoup" << "\tSoup";
    QTest::newRow("inner blanks stay") << " Fish  Soup" << "Fish  Soup";
}

void FieldRulesTest::leavingName()
{
    QFETCH(QString, name);
    QFETCH(QString, left);
    QCOMPARE(nameOnLeave(name), left);
    QCOMPARE(nameAllowsDate(name), !left.isEmpty());
}

void FieldRulesTest::addingCategory_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("result");

    QTest::newRow("empty field") << "" << "Soup" << "Soup,";
    QTest::newRow("field without final comma") << "Cake" << "Pie" << "Cake,Pie,";
    QTest::newRow("field with final comma") << "Cake," << "Pie" << "Cake,Pie,";
    QTest::newRow("untidy field") << " ,Cake , ," << "Pie" << "Cake,Pie,";
    QTest::newRow("existing added again") << "Soup," << "Soup" << "Soup,Soup,";
    QTest::newRow("blanks in category") << "Fish" << " Main dish " << "Fish,Main dish,";
}

void FieldRulesTest::addingCategory()
{
    QFETCH(QString, field);
    QFETCH(QString, category);
    QFETCH(QString, result);
    QCOMPARE(addCategory(field, category), result);
}

void FieldRulesTest::categoryAlreadyListed_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("category");
    QTest::addColumn<bool>("listed");

    QTest::newRow("inside a longer name") << "Fish Soup," << "Soup" << true;
    QTest::newRow("exact") << "Cake,Soup," << "Soup" << true;
    QTest::newRow("without comma after") << "Fish Soup" << "Soup" << false;
    QTest::newRow("longer name after") << "Soups," << "Soup" << false;
    QTest::newRow("case differs") << "soup," << "Soup" << false;
    QTest::newRow("empty field") << "" << "Soup" << false;
}

void FieldRulesTest::categoryAlreadyListed()
{
    QFETCH(QString, field);
    QFETCH(QString, category);
    QFETCH(bool, listed);
    QCOMPARE(categoryListed(field, category), listed);
}

void FieldRulesTest::categoryFieldNormalised()
{
    QCOMPARE(normaliseCategoryField(QStringLiteral(",Soups , Starters,,")),
             QStringLiteral("Soups,Starters,"));
    QCOMPARE(normaliseCategoryField(QStringLiteral("Crème brûlée")),
             QStringLiteral("Crème brûlée,"));
}

void FieldRulesTest::togglingDevice_data()
{
    QTest::addColumn<QByteArray>("devices");
    QTest::addColumn<int>("item");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<DeviceToggle>("outcome");

    const QByteArray seven = "baking dish,baking oven,barbecue,cooking pot,deep fryer,fondue,juicer,";
    QTest::newRow("first device") << QByteArray() << 14 << QByteArray("skillet,") << DeviceToggle::Added;
    QTest::newRow("appended at end") << QByteArray("skillet,") << 6 << QByteArray("skillet,fondue,")
                                     << DeviceToggle::Added;
    QTest::newRow("switched off") << QByteArray("skillet,fondue,barbecue,") << 6
                                  << QByteArray("skillet,barbecue,") << DeviceToggle::Removed;
    QTest::newRow("eighth refused") << seven << 8 << seven << DeviceToggle::Full;
    QTest::newRow("one of seven removed")
        << seven << 6 << QByteArray("baking dish,baking oven,barbecue,cooking pot,deep fryer,juicer,")
        << DeviceToggle::Removed;
    QTest::newRow("placeholder") << QByteArray("skillet,") << 0 << QByteArray("skillet,")
                                 << DeviceToggle::Ignored;
    QTest::newRow("no item") << QByteArray("skillet,") << -1 << QByteArray("skillet,")
                             << DeviceToggle::Ignored;
    QTest::newRow("past the list") << QByteArray() << 17 << QByteArray() << DeviceToggle::Ignored;
    QTest::newRow("only first occurrence") << QByteArray("mixer,fondue,mixer,") << 9
                                           << QByteArray("fondue,mixer,") << DeviceToggle::Removed;
    QTest::newRow("a longer name that holds it is another device")
        << QByteArray("large skillet,skillet pan,") << 14
        << QByteArray("large skillet,skillet pan,skillet,") << DeviceToggle::Added;
    QTest::newRow("found after a longer name")
        << QByteArray("large skillet,skillet,fondue,") << 14
        << QByteArray("large skillet,fondue,") << DeviceToggle::Removed;
    QTest::newRow("last without comma") << QByteArray("fondue,mixer") << 9
                                        << QByteArray("fondue,") << DeviceToggle::Removed;
}

void FieldRulesTest::togglingDevice()
{
    QFETCH(QByteArray, devices);
    QFETCH(int, item);
    QFETCH(QByteArray, after);
    QFETCH(DeviceToggle, outcome);
    QCOMPARE(toggleDevice(devices, item), outcome);
    QCOMPARE(devices, after);
}

void FieldRulesTest::slotsSortedByName()
{
    TKVG recipe;
    for (const char* device : {"skillet", "fondue", "barbecue"})
        toggleDevice(recipe.Devices, int(cookingDeviceItems().indexOf(QLatin1String(device))));
    QCOMPARE(recipe.Devices, QByteArray("skillet,fondue,barbecue,"));
    const auto filled = deviceSlots(recipe);
    QCOMPARE(filled[0], QByteArray("barbecue"));
    QCOMPARE(filled[1], QByteArray("fondue"));
    QCOMPARE(filled[2], QByteArray("skillet"));
    for (size_t i = 3; i < filled.size(); ++i)
        QVERIFY(filled[i].isEmpty());
}

void FieldRulesTest::kindSwitch()
{
    Catalogue catalogue;
    catalogue.newRecipe();
    QVERIFY(!switchKind(catalogue, QString()));
    QCOMPARE(catalogue.recipes[0].Kind, 0);
    // A blank name is not empty: the field rule keeps empty names out.
    QVERIFY(switchKind(catalogue, QStringLiteral(" ")));
    QCOMPARE(catalogue.recipes[0].Kind, 1);
    QVERIFY(switchKind(catalogue, QStringLiteral("Soup")));
    QCOMPARE(catalogue.recipes[0].Kind, 0);
    catalogue.recipes[0].Kind = 3; // any kind but normal switches to normal
    QVERIFY(switchKind(catalogue, QStringLiteral("Soup")));
    QCOMPARE(catalogue.recipes[0].Kind, 0);
    catalogue.CurrentRecipe = -1;
    QVERIFY(switchKind(catalogue, QStringLiteral("Soup")));
    QCOMPARE(catalogue.recipes[0].Kind, 0);
}

QTEST_GUILESS_MAIN(FieldRulesTest)
#include "tst_fieldrules.moc"
