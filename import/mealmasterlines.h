// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QString>
#include <QStringView>

// The shapes of the lines of a MealMaster recipe, which the reader puts together.

namespace mealmaster {

enum class Framing { Dashes, Ms };

/// True for "MMMMM" at the start of a line.
bool startsWithMs(QStringView line);

/// A begin line: "----- ... Meal-Master ..." or "MMMMM----- ... Meal-Master ...".
bool isBeginLine(QStringView line);

/// The end line of a recipe: "MMMMM", or in the "-----" framing a line of five or more
/// dashes that starts at the line's start. An indented line of dashes underlines the
/// line above it and is no end.
bool isEndLine(QStringView line, Framing framing);

/// A section heading: "-----SAUCE-----", or "MMMMM-----SAUCE-----". Sets heading to its
/// text (empty for a plain rule).
bool isHeading(QStringView line, QString* heading);

/// A header field, "      Title: Pie" or "Contributor: Jo Smith": a label of up to
/// three words before its colon, starting left of the ingredient text column. Sets label
/// and value (both trimmed).
bool isHeaderField(QStringView line, QString* label, QString* value);

/// One ingredient of the column layout: quantity in 7 columns, a blank, the unit in 2, a
/// blank, then the text.
struct Ingredient {
    QString quantity;
    QString unit;
    QString text;
    bool asWritten = false; ///< a line outside the columns, its whole text kept
    /// A continuation line: "-" and text in the text column, nothing else.
    bool continuation() const
    {
        return !asWritten && quantity.isEmpty() && unit.isEmpty() &&
               text.startsWith(QLatin1Char('-'));
    }
};

/// Reads the columns of one ingredient. The unit is one MealMaster writes, or, after a
/// quantity, any one or two small letters ("st", "sp"), kept as written.
bool parseIngredient(QStringView part, Ingredient* out);

/// The width of an ingredient's text: MealMaster goes on in a continuation line after it.
inline constexpr qsizetype kTextWidth = 28;

/// The column where the second ingredient of a two-column line starts.
inline constexpr qsizetype kRightColumn = 41;

/// Tabs expanded to stops of 8 as far as the columns reach; later ones stay (the record
/// turns them into blanks), so a line of tabs cannot grow eightfold.
QString expandTabs(QStringView line);

/// True when a directions line starts a paragraph of its own: a numbered step or a bullet.
bool startsParagraph(QStringView line);

} // namespace mealmaster
