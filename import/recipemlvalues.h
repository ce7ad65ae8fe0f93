// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QString>
#include <QXmlStreamReader>

// The values inside RecipeML elements: texts, quantities with their fractions and ranges,
// and the numbers and time units of times. Each reader function starts on an element's
// start and leaves the reader on its end.

namespace recipeml {

/// True when the current element has the name, in any case.
bool is(const QXmlStreamReader& xml, QLatin1String name);

/// The text of the current element and everything below it, blanks collapsed.
QString collectText(QXmlStreamReader& xml);

/// True for the elements a quantity is written in: "qty", "range" and "frac".
bool isQuantityElement(const QXmlStreamReader& xml);

/// The text of a quantity element (qty, q1, q2, a range or a fraction): whole numbers and
/// fractions side by side, "2 1/4"; a range "3/4-1", whatever its separator.
QString quantityText(QXmlStreamReader& xml, int depth = 0);

/// The value of a quantity text: "90", "1.5", "1/2", "1 1/2"; -1 when it is none.
double numberOf(const QString& text);

/// Seconds in a time unit as recipes write it ("minutes", "hr"); -1 for another word.
qint64 secondsPer(const QString& unit);

} // namespace recipeml
