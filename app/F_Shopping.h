// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"
#include "recipes/shoppingsheet.h"

#include <QDialog>

#include <functional>

class QPushButton;
class QSpinBox;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

/// The shopping list window of the main window's "Shopping list..." command: the
/// recipes picked, each with a spin box for its servings, and the merged list, whose
/// lines are ticked off and edited in place. The list is printed, saved as a text file
/// or copied to the clipboard. Nothing in it changes a recipe.
class TFShopping : public QDialog {
    Q_OBJECT
public:
    TFShopping(ShoppingSheet sheet, QWidget* parent);

    const ShoppingSheet& sheet() const { return m_sheet; }
    /// The servings box of recipe (row of TWRezepte).
    QSpinBox* servingsBox(int recipe) const;

    QTableWidget* TWRezepte = nullptr; ///< recipe, what it is written for, servings
    QTreeWidget* LVListe = nullptr;    ///< the lines: tick and text, recipes needing it
    QPushButton* BDrucken = nullptr;
    QPushButton* BSpeichern = nullptr;
    QPushButton* BKopieren = nullptr;
    QPushButton* BSchliessen = nullptr;

    void BDruckenClick();
    void BSpeichernClick();
    void BKopierenClick();

private:
    void fillLines();
    void lineChanged(QTreeWidgetItem* item, int column);

    ShoppingSheet m_sheet;
    bool m_filling = false;
};

/// Opens the window over parent, window-modal and deleted when closed, with the records
/// kv[recipes[0]], kv[recipes[1]], ... at the servings their Servings fields give.
TFShopping* OpenShoppingList(QWidget* parent, const TKV& kv, const QList<int>& recipes);

/// Answers in place of the save dialog (tests): the file to save the list in (empty:
/// cancelled), given the proposed one.
using ShoppingFileDialogHook = std::function<QString(const QString& proposed)>;
void SetShoppingFileDialogHook(ShoppingFileDialogHook hook);
