// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/richdocument.h"
#include "preview/elements.h"
#include "recipes/shoppinglist.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

// Cooking for another number of people in the preview: the quantities in the temporary
// copies of the elements' texts are rewritten character by character, each new character
// in the font of the one it replaces, so nothing else of a text changes. Only the
// preview's own files are written, never a recipe file.

/// The box to tick that starts every line of the shopping list element.
inline constexpr char16_t kTickBox = u'\u2610';

/// How the other notes name the number of servings: the line starts with this.
inline constexpr char kServingsLinePrefix[] = "Number of Servings: ";

/// The shopping list element's line for an item: the tick box, then quantity, unit and
/// name as far as the item has them ("☐ 1 1/2 tsp salt", "☐ salt").
QString shoppingListLine(const ShoppingItem& item);

/// What the servings control counts from. A recipe whose Servings field gives a number
/// counts in servings from that number; one without counts a factor from 1.
struct ServingsBase {
    bool byFactor = false;
    double servings = 1; ///< the recipe's servings; 1 when counting a factor
    /// The factor the recipe's amounts are multiplied by for value of the control.
    double factorFor(double value) const { return byFactor ? value : value / servings; }
};
ServingsBase servingsBase(QStringView servingsField);

/// The elements whose texts hold quantities: the ingredient list, the quantity column,
/// the other notes (the number of servings) and the shopping list.
inline constexpr std::array<int, 4> kScaledElements = {kIngredients, kQuantity, kOtherNotes,
                                                       kShoppingList};

/// Multiplies the quantities in element i's text by factor, in place: the leading
/// quantity of each line of the ingredient list and of the quantity column, the quantity
/// after the tick box of each shopping list line, and the servings on the "Number of
/// Servings" line of the other notes. Text the quantity reader cannot read ("a pinch"),
/// other lines and other elements stay as they are. Returns whether a character changed.
bool scaleElementText(int i, rich::RichDocument& doc, double factor);

/// The width of a text element once its text was scaled. An element as wide as its
/// widest line needed before (widestBefore plus the layout's allowance) follows its text
/// and grows with it up to room, the sheet's width right of it; an element made narrower
/// than its text (whose lines wrap) keeps its width. Never narrower than width: the
/// layout shrinks an element to its text anyway.
int scaledTextWidth(int width, int widestBefore, int widestAfter, int room);

/// Keeps the unscaled texts of the elements and rewrites their content files for each
/// factor asked for, always from those texts, so amounts never drift from rounding one
/// scaled amount again.
class ServingsScaler {
public:
    /// One element whose text a factor changed.
    struct Change {
        int element = -1;
        rich::RichDocument before; ///< the content file's text before
        rich::RichDocument after;  ///< and after
    };

    /// Forgets the texts kept: the next apply takes the content files as they are then,
    /// at factor 1 (after the elements were filled from the recipe).
    void reset();

    /// Rewrites the content files of the elements with quantities to the recipe's
    /// amounts times factor. A content file that changed since this scaler wrote it (its
    /// text edited in the preview) is taken as it is now, at the factor it was written
    /// for. Returns false with error naming the file when one cannot be read or written;
    /// that element keeps its file and the others are done. changes receives the elements
    /// whose text changed.
    bool apply(const ElementArray& elements, double factor, QList<Change>* changes,
               QString* error = nullptr);

private:
    struct Kept {
        QString file;
        QByteArray written;          ///< what the file held when last read or written
        rich::RichDocument original; ///< its text at factor originalFactor
        double originalFactor = 1;
        double factor = 1; ///< the factor the file holds
    };
    bool applyTo(int i, const QString& file, double factor, QList<Change>* changes, QString* error);

    std::array<Kept, kElementCount> m_kept;
};
