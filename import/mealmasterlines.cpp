// SPDX-License-Identifier: GPL-2.0-or-later

#include "import/mealmasterlines.h"

namespace mealmaster {

namespace {

// The units MealMaster writes in its two-character unit column.
bool isUnit(QStringView unit)
{
    static const char* const kUnits[] = {
        "x",  "sm", "md", "lg", "cn", "pk", "pn", "dr", "ds", "ct", "bn", "sl", "ea", "t",
        "ts", "T",  "tb", "fl", "c",  "pt", "qt", "ga", "oz", "lb", "ml", "cb", "cl", "dl",
        "l",  "mg", "cg", "dg", "g",  "kg", "Ts", "Tb", "C",  "Lb", "Oz", "L",  "G"};
    for (const char* known : kUnits) {
        if (unit == QLatin1String(known))
            return true;
    }
    return false;
}

// Units MealMaster does not know are written in small letters ("st", "sp"); a word
// that starts a sentence ("In", "At") is none.
bool isSmallLetters(QStringView text)
{
    for (QChar ch : text) {
        if (!ch.isLower())
            return false;
    }
    return true;
}

// A quantity column: empty, or digits with fraction slashes, blanks, dots and dashes
// ("1 1/2", "1-2", ".5").
bool isQuantity(QStringView quantity)
{
    bool digit = false;
    for (QChar ch : quantity) {
        if (ch.isDigit())
            digit = true;
        else if (ch != QLatin1Char('/') && ch != QLatin1Char(' ') && ch != QLatin1Char('.') &&
                 ch != QLatin1Char('-'))
            return false;
    }
    return digit || quantity.trimmed().isEmpty();
}

QStringView column(QStringView line, qsizetype from, qsizetype length)
{
    if (from >= line.size())
        return {};
    return line.sliced(from, qMin(length, line.size() - from));
}

// The column where an ingredient's text starts; header labels start left of it.
constexpr qsizetype kTextColumn = 11;

} // namespace

bool startsWithMs(QStringView line)
{
    return line.startsWith(QLatin1String("MMMMM"));
}

bool isBeginLine(QStringView line)
{
    return (startsWithMs(line) || line.trimmed().startsWith(QLatin1String("-----"))) &&
           line.contains(QLatin1String("meal-master"), Qt::CaseInsensitive);
}

bool isEndLine(QStringView line, Framing framing)
{
    const QStringView t = line.trimmed();
    if (framing == Framing::Ms)
        return t == QLatin1String("MMMMM");
    if (t.size() < 5 || !line.startsWith(QLatin1Char('-')))
        return false;
    for (QChar ch : t) {
        if (ch != QLatin1Char('-'))
            return false;
    }
    return true;
}

bool isHeading(QStringView line, QString* heading)
{
    QStringView t = line.trimmed();
    if (startsWithMs(t))
        t = t.sliced(5);
    if (!t.startsWith(QLatin1String("---")))
        return false;
    while (t.startsWith(QLatin1Char('-')))
        t = t.sliced(1);
    while (t.endsWith(QLatin1Char('-')))
        t.chop(1);
    *heading = t.trimmed().toString();
    return true;
}

bool isHeaderField(QStringView line, QString* label, QString* value)
{
    qsizetype start = 0;
    while (start < line.size() && line[start] == QLatin1Char(' '))
        ++start;
    if (start >= kTextColumn || start >= line.size() || !line[start].isLetter())
        return false;
    const qsizetype colon = line.indexOf(QLatin1Char(':'), start);
    if (colon < 0 || (colon + 1 < line.size() && line[colon + 1] != QLatin1Char(' ')))
        return false;
    const QStringView name = line.sliced(start, colon - start).trimmed();
    int words = 1;
    for (QChar ch : name) {
        if (ch == QLatin1Char(' '))
            ++words;
        else if (!ch.isLetter() && ch != QLatin1Char('-'))
            return false;
    }
    if (words > 3)
        return false;
    *label = name.toString().simplified();
    *value = line.sliced(colon + 1).trimmed().toString();
    return true;
}

bool parseIngredient(QStringView part, Ingredient* out)
{
    if (part.trimmed().isEmpty())
        return false;
    const QStringView quantity = column(part, 0, 7);
    const QStringView unit = column(part, 8, 2).trimmed();
    if (column(part, 7, 1) != QLatin1String(" ") && part.size() > 7)
        return false;
    if (part.size() > 10 && part[10] != QLatin1Char(' '))
        return false;
    if (!isQuantity(quantity))
        return false;
    const bool hasQuantity = !quantity.trimmed().isEmpty();
    if (!unit.isEmpty() && !isUnit(unit) && !(hasQuantity && isSmallLetters(unit)))
        return false;
    const QStringView text = column(part, kTextColumn, part.size()).trimmed();
    if (text.isEmpty() && !hasQuantity)
        return false;
    out->quantity = quantity.trimmed().toString();
    out->unit = unit.toString();
    out->text = text.toString();
    out->asWritten = false;
    return true;
}

QString expandTabs(QStringView line)
{
    constexpr qsizetype kColumns = 128;
    QString out;
    out.reserve(line.size());
    for (QChar ch : line) {
        if (ch == QLatin1Char('\t') && out.size() < kColumns)
            out += QString(8 - out.size() % 8, QLatin1Char(' '));
        else
            out += ch;
    }
    return out;
}

bool startsParagraph(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && line[i].isDigit())
        ++i;
    if (i > 0 && i < line.size() && (line[i] == QLatin1Char('.') || line[i] == QLatin1Char(')')))
        return true;
    return line.startsWith(QLatin1Char('*')) || line.startsWith(QLatin1String("- "));
}

} // namespace mealmaster
