// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/shoppinglist.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

/// The shopping list of the recipes the user picked, as the shopping list window shows
/// it: each recipe with the servings wanted (or, for a recipe that gives no number of
/// servings, how many times it is cooked), and the merged lines, which the user ticks
/// off and edits. Changing an amount merges the list again; ticks and edits stay with
/// their ingredient.
class ShoppingSheet {
public:
    /// One recipe on the list.
    struct Recipe {
        QString name;
        IngredientTexts texts;
        QString writtenText;           ///< its Servings field: "6 waffles"
        std::optional<double> written; ///< the servings the recipe is written for
        double wanted = 1; ///< servings, or with no written servings the multiple
        /// What the quantities are multiplied by.
        double factor() const { return written ? wanted / *written : wanted; }
    };

    /// One line of the list with what the user did to it.
    struct Line {
        ShoppingLine merged; ///< as merging the recipes gives it
        bool ticked = false;
        /// The user's own text for the whole line: its amount no longer follows the
        /// servings.
        std::optional<QString> ownText;
        /// The user's own text after the amount (the name edited, the amount kept):
        /// the amount still follows the servings.
        std::optional<QString> ownName;
        /// The text shown: "750 g plain flour", or the user's.
        QString text() const;
    };

    /// Adds a recipe with the text of its Servings field; it starts at the servings it
    /// is written for (once, when the field gives no number). The list is merged when
    /// its lines are next asked for, so adding many recipes costs one merge.
    void addRecipe(const QString& name, const IngredientTexts& texts, const QString& servings);

    const QList<Recipe>& recipes() const { return m_recipes; }
    const QList<Line>& lines() const;

    /// Sets the servings (or the multiple) of recipe and merges the list again; an
    /// amount not above zero is refused (false, nothing changes).
    bool setWanted(int recipe, double wanted);
    void setTicked(int line, bool ticked);
    /// The user edited the line's text. When it still starts with the line's amount and
    /// unit, only what follows is the user's and the amount keeps following the
    /// servings; otherwise the whole text is. The computed text itself, or an empty
    /// one, gives the line back its computed text.
    void setText(int line, const QString& text);

    /// The list as a text file: a heading, the recipes with their servings (and what
    /// they are written for), then one line per item: "[ ]" or "[x]" for its tick, its
    /// text and in brackets the recipes needing it.
    QString plainText() const;
    /// "4 servings" or "2 × the recipe".
    static QString amountText(const Recipe& recipe);

private:
    void merge() const;
    /// What identifies a line across merges: its ingredient key and how many lines of
    /// the same key come before it.
    QList<QString> lineKeys() const;

    QList<Recipe> m_recipes;
    mutable QList<Line> m_lines;
    mutable bool m_stale = false; // recipes or amounts changed since the last merge
};
