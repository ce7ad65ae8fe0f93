// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Quantities as recipes write them, read and written by one set of rules: the deluxe
// quantity column, the leading quantity of a free ingredient line ("2 cups flour") and
// the number of servings all go through here.
//
// Read: whole numbers "4"; decimals "1.5", "0,75", ".5"; fractions "1/2" (also with the
// fraction slash U+2044); mixed numbers "1 1/2", "1-1/2"; vulgar fractions "½", "1½",
// "1 ⅓"; ranges "2-3", "2–3", "2 to 3", "2 bis 3" whose ends are any of these.
// Written: halves, thirds, quarters and eighths below 10 ("1 1/2", "2/3", "3/8"), whole
// numbers from 10 on; a quantity written with a decimal separator is written again with
// decimals and the same separator.

/// One quantity: a number or a range, and how it was written.
struct Quantity {
    double low = 0;  ///< the number, or the lower end of a range
    double high = 0; ///< the upper end of a range; equal to low for a number
    bool range = false;
    bool decimal = false;     ///< written with a decimal separator ("1,5")
    QChar separator = u'.';   ///< that separator
    QString rangeWord;        ///< what stood between the ends: "-", " to ", " - "
    qsizetype start = 0;      ///< where it starts in the text read (after blanks)
    qsizetype end = 0;        ///< where it ends in the text read
};

/// The quantity the text starts with (blanks before it are skipped); none when the text does not start with one ("a pinch", "some").
std::optional<Quantity> readLeadingQuantity(QStringView text);

/// The quantity when the whole text (blanks around it aside) is one; none otherwise.
std::optional<Quantity> readQuantity(QStringView text);

/// How amounts are written: cook's fractions, or decimals with a separator.
struct AmountStyle {
    bool decimal = false;
    QChar separator = u'.';
};

/// An amount as a cook writes it. Fractions: the nearest whole number plus 0, 1/8, 1/4,
/// 1/3, 3/8, 1/2, 5/8, 2/3, 3/4 or 7/8 below 10, whole numbers from 10 on. Decimals: two
/// places below 1, one below 10, none from 10 on, trailing zeros left out. An amount
/// above zero is never written as "0": it becomes the smallest amount of its style
/// ("1/8", "0.01").
QString formatAmount(double value, AmountStyle style);

/// The quantity's numbers multiplied by factor, written in the style it was read in;
/// a range keeps its word between the ends.
QString formatScaled(const Quantity& quantity, double factor);

/// The text with its leading quantity multiplied by factor and everything after it kept
/// as written ("1 1/2 tsp salt" by 2 gives "3 tsp salt"). A text without a leading
/// quantity ("a pinch", "to taste"), and any text when factor is 1, stays as it is.
QString scaleQuantityText(QStringView text, double factor);

/// The quantity that gives the number of servings of a Servings field (see servingsOf),
/// with its place in the text; none when the field has no number above zero.
std::optional<Quantity> servingsQuantity(QStringView servings);

/// The number of servings of a Servings field: its first number ("4", "4-6 people" and
/// "Serves 4 to 6" give 4, "makes 12" gives 12); none when it has no number above zero.
std::optional<double> servingsOf(QStringView servings);
