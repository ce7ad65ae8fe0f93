// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/quantity.h"
#include "recipes/recipe.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The shopping list: the ingredients of one or more recipes, each scaled to the servings
// wanted, merged into one line per ingredient. Only reads recipes; nothing is written.

/// The ingredient texts of a recipe: the deluxe columns row by row, or the free
/// ingredient lines of a normal recipe.
struct IngredientTexts {
    bool deluxe = false;
    QStringList quantities; ///< deluxe rows; units and names have the same rows
    QStringList units;
    QStringList names;
    QStringList lines; ///< normal recipe
};

/// The ingredient texts of a deluxe recipe (Kind 1 with column lines) or of a normal one.
/// With sideFiles, each text is taken as the program shows it (its side file when it
/// exists and can be read); otherwise from the record's lines.
IngredientTexts ingredientTexts(const TKVG& recipe, bool sideFiles);

/// One ingredient of one recipe.
struct ShoppingItem {
    std::optional<Quantity> quantity; ///< none without a quantity or with one it cannot read
    QString quantityText;             ///< as written after scaling: "1 1/2", "a pinch", ""
    QString unit;                     ///< as written: "tbsp", "EL", "can", ""
    QString name;                     ///< as written
};

/// A line without a quantity that heads a section rather than naming an ingredient:
/// a rule of dashes, a text ending in ":", one in capitals ("GLAZE"), or one starting
/// with "For ", "To serve", "Für ", "Zum " or "Zur " ("For the batter").
bool isSectionHeading(QStringView text);

/// The items of a recipe in its order, quantities multiplied by factor; blank rows and
/// section headings left out. A free line gives its leading quantity, a unit when the
/// word after it is one ("2 cups of flour": "cups", "flour"), and as name the rest up
/// to a "," or ";" (what follows prepares, "butter, melted").
QList<ShoppingItem> shoppingItems(const IngredientTexts& texts, double factor);

/// A recipe on a shopping list: its name and its items already scaled.
struct ShoppingRecipe {
    QString name;
    QList<ShoppingItem> items;
};

/// One line of the merged list.
struct ShoppingLine {
    QString quantity;
    QString unit;
    QString name;
    QStringList recipes; ///< the recipes that need it, each once, in list order
    /// "750 g plain flour".
    QString text() const;
};

/// The ingredient key lines merge on: case and accents folded, blanks collapsed, the
/// last word in its singular for the common English and German plurals ("Tomaten" and
/// "Tomate", "berries" and "berry", "Zwiebeln", "potatoes", "Nüsse", "Eier").
QString ingredientKey(QStringView name);

/// Merges the items of recipes one recipe at a time into the lines of the list, keeping
/// only the lines, not the items (see mergeShoppingList for the rules).
class ShoppingListMerger {
public:
    ShoppingListMerger();
    ~ShoppingListMerger();
    ShoppingListMerger(const ShoppingListMerger&) = delete;
    ShoppingListMerger& operator=(const ShoppingListMerger&) = delete;

    /// Adds the items of texts, quantities multiplied by factor, needed by recipe.
    void add(const QString& recipe, const IngredientTexts& texts, double factor);
    /// The same for the record's own lines (no side files).
    void add(const QString& recipe, const TKVG& record, double factor);
    /// Adds items already read and scaled.
    void add(const QString& recipe, const QList<ShoppingItem>& items);
    /// The merged lines so far.
    QList<ShoppingLine> lines() const;

private:
    struct Group;
    int recipeIndex(const QString& recipe);
    template <typename MakeText>
    void addItem(int recipe, const Quantity* quantity, bool noText, QStringView unit,
                 QStringView name, MakeText makeText);
    /// The place of the group whose key is m_key and whose key hashes to hash; when
    /// there is none, -1 - the table slot where it goes.
    qsizetype findGroup(size_t hash) const;

    QStringList m_recipes;
    std::vector<Group> m_groups;
    QHash<QString, int> m_recipeIndexes;
    // The keys of the groups one after another in one text, and an open-addressed table
    // of group places + 1 (0 empty): a group costs no allocation of its own for its key.
    QString m_keys;
    std::vector<qsizetype> m_table;
    QString m_key;      // the key being built
    QString m_texts[3]; // the texts of a row being read
};

/// The merged list, in the order the ingredients first appear. Items of the same
/// ingredient are added up when they have a readable quantity in the same unit or in
/// units that convert (g/kg, ml/cl/dl/l, tsp/tbsp/cup, oz/lb); items without any quantity
/// merge with each other; the rest keep lines of their own. A line of one item is
/// written as the item is; a sum in one unit stays in it; a sum of different units is
/// written in the largest unit in which it is at least 1/4 and, below 10, is written
/// within 2 % of its value ("1 1/2 kg", "1200 g").
QList<ShoppingLine> mergeShoppingList(const QList<ShoppingRecipe>& recipes);
