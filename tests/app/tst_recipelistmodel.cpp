// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/recipelistmodel.h"

#include <QTest>

// The list model shows what the records held at the fill that took them: a fill after a
// reload must show the new texts even when the catalogue kept its place in memory, and
// the rows before it must keep showing the old ones (the main window compares the
// selected row's caption across a reload).
class TestRecipeListModel : public QObject {
    Q_OBJECT
private slots:
    void rowsShowTheRecordsOfTheirFill()
    {
        TKV kv(3);
        for (int i = 0; i < 3; ++i) {
            kv[i].Name = "Recipe " + QByteArray::number(i);
            kv[i].Difficulty = i + 1;
        }
        kv[2].Binder = "Red";
        RecipeListModel model;
        model.setRows(&kv, {2, 0});
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("Create new recipe"));
        QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("Recipe 2"));
        QCOMPARE(model.index(1, 2).data().toString(), QStringLiteral("***"));
        QCOMPARE(model.iconOfRow(1), BinderType + 1);
        QCOMPARE(model.index(2, 0).data().toString(), QStringLiteral("Recipe 0"));

        // The catalogue read again into the same place.
        const TKVG* place = kv.constData();
        kv[2].Name = "Read again";
        kv[2].Binder.clear();
        kv[2].Instructions = {"Stir."};
        QCOMPARE(kv.constData(), place);
        model.recordsReplaced();
        QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("Recipe 2"));
        model.setRows(&kv, {2});
        QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("Read again"));
        QCOMPARE(model.iconOfRow(1), NormalType + 1);
    }
};

QTEST_GUILESS_MAIN(TestRecipeListModel)
#include "tst_recipelistmodel.moc"
