// SPDX-License-Identifier: GPL-2.0-or-later

#include "export/mealmasterexport.h"

#include "recipes/quantity.h"

#include <optional>

namespace {

constexpr qsizetype kLineWidth = 72;
constexpr qsizetype kQuantityWidth = 7;
constexpr qsizetype kTextWidth = 28; // the text column; longer texts go on below
constexpr QLatin1String kEol{"\r\n"};

// Units as recipes write them (small letters, no final dot) and MealMaster's code.
struct UnitCode {
    const char* unit;
    const char* code;
};
constexpr UnitCode kUnitCodes[] = {
    {"x", "x"},           {"per serving", "x"},  {"small", "sm"},       {"sm", "sm"},
    {"medium", "md"},     {"md", "md"},          {"large", "lg"},       {"lg", "lg"},
    {"can", "cn"},        {"cans", "cn"},        {"tin", "cn"},         {"tins", "cn"},
    {"cn", "cn"},         {"dose", "cn"},        {"dosen", "cn"},       {"package", "pk"},
    {"packages", "pk"},   {"packet", "pk"},      {"packets", "pk"},     {"pkg", "pk"},
    {"pack", "pk"},       {"pk", "pk"},          {"pck", "pk"},         {"packung", "pk"},
    {"päckchen", "pk"},   {"pinch", "pn"},       {"pinches", "pn"},     {"pn", "pn"},
    {"prise", "pn"},      {"prisen", "pn"},      {"drop", "dr"},        {"drops", "dr"},
    {"dr", "dr"},         {"dash", "ds"},        {"dashes", "ds"},      {"ds", "ds"},
    {"carton", "ct"},     {"cartons", "ct"},     {"ct", "ct"},          {"bunch", "bn"},
    {"bunches", "bn"},    {"bn", "bn"},          {"bund", "bn"},        {"slice", "sl"},
    {"slices", "sl"},     {"sl", "sl"},          {"scheibe", "sl"},     {"scheiben", "sl"},
    {"each", "ea"},       {"ea", "ea"},          {"t", "ts"},           {"ts", "ts"},
    {"tsp", "ts"},        {"tsps", "ts"},        {"teaspoon", "ts"},    {"teaspoons", "ts"},
    {"tl", "ts"},         {"tb", "tb"},          {"tbs", "tb"},         {"tbsp", "tb"},
    {"tbsps", "tb"},      {"tablespoon", "tb"},  {"tablespoons", "tb"}, {"el", "tb"},
    {"fl", "fl"},         {"fl oz", "fl"},       {"fluid ounce", "fl"}, {"fluid ounces", "fl"},
    {"c", "c"},           {"cup", "c"},          {"cups", "c"},         {"pt", "pt"},
    {"pint", "pt"},       {"pints", "pt"},       {"qt", "qt"},          {"quart", "qt"},
    {"quarts", "qt"},     {"ga", "ga"},          {"gallon", "ga"},      {"gallons", "ga"},
    {"oz", "oz"},         {"ounce", "oz"},       {"ounces", "oz"},      {"lb", "lb"},
    {"lbs", "lb"},        {"pound", "lb"},       {"pounds", "lb"},      {"ml", "ml"},
    {"milliliter", "ml"}, {"milliliters", "ml"}, {"millilitre", "ml"},  {"millilitres", "ml"},
    {"cb", "cb"},         {"cc", "cb"},          {"cl", "cl"},          {"dl", "dl"},
    {"l", "l"},           {"liter", "l"},        {"liters", "l"},       {"litre", "l"},
    {"litres", "l"},      {"mg", "mg"},          {"cg", "cg"},          {"dg", "dg"},
    {"g", "g"},           {"gr", "g"},           {"gram", "g"},         {"grams", "g"},
    {"gramm", "g"},       {"kg", "kg"},          {"kilogram", "kg"},    {"kilograms", "kg"},
    {"kilogramm", "kg"}};

// The quantity as MealMaster's column holds it: digits, blanks, "/", "." and "-" in at
// most 7 characters. A quantity written otherwise ("½", "0,5", "2 to 3") is written
// again in that form; none when it cannot be ("a pinch", "1000-1500").
std::optional<QString> quantityColumn(const QString& text)
{
    if (text.isEmpty())
        return QString();
    const auto q = readQuantity(text);
    if (!q)
        return std::nullopt;
    auto fits = [](const QString& s) {
        if (s.size() > kQuantityWidth)
            return false;
        for (QChar ch : s) {
            if (!ch.isDigit() && ch != u' ' && ch != u'/' && ch != u'.' && ch != u'-')
                return false;
        }
        return true;
    };
    if (fits(text))
        return text;
    const AmountStyle style{q->decimal, u'.'};
    QString written = formatAmount(q->low, style);
    if (q->range)
        written += u'-' + formatAmount(q->high, style);
    return fits(written) ? std::optional<QString>(written) : std::nullopt;
}

// A column row from a recipe row: its quantity and MealMaster unit when they fit the
// columns, everything else in the text ("2 cloves garlic" keeps "cloves" in the text).
struct Columns {
    QString quantity;
    QString unit;
    QString text;
};

Columns columnsOf(const ExportRow& row)
{
    Columns out;
    QString text = row.name;
    if (!row.preparation.isEmpty())
        text += QStringLiteral("; ") + row.preparation;
    QString unitText = row.unit;
    const auto quantity = quantityColumn(row.quantity);
    if (quantity) {
        out.quantity = *quantity;
    } else {
        unitText = QString(row.quantity + u' ' + row.unit).trimmed();
    }
    QString code = quantity ? mealMasterUnit(unitText) : QString();
    if (!unitText.isEmpty() && code.isEmpty())
        text = text.isEmpty() ? unitText : unitText + u' ' + text;
    out.unit = code;
    out.text = text;
    return out;
}

// A free ingredient line as columns: its leading quantity and the unit word after it.
ExportRow rowOfLine(const QString& line)
{
    ExportRow row;
    const auto q = readLeadingQuantity(line);
    if (!q || (q->end < line.size() && !line[q->end].isSpace())) {
        row.name = line;
        return row;
    }
    row.quantity = line.first(q->end).trimmed();
    QString rest = line.sliced(q->end).trimmed();
    const qsizetype blank = rest.indexOf(u' ');
    const QString word = blank > 0 ? rest.first(blank) : QString();
    if (!word.isEmpty() && !mealMasterUnit(word).isEmpty()) {
        row.unit = word;
        rest = rest.sliced(blank + 1).trimmed();
    }
    row.name = rest;
    return row;
}

// The text column's lines: the text cut at a blank within the column where one lies,
// otherwise inside a word; the lines below start with "-". A reader joins a line to the
// one above it with a blank, except after a line that filled the column: then only a
// "- " tells that a word ended there.
QStringList textPieces(QString text)
{
    QStringList pieces;
    QString lead;
    while (true) {
        const qsizetype room = kTextWidth - lead.size();
        if (text.size() <= room) {
            pieces << lead + text;
            return pieces;
        }
        const qsizetype blank = text.lastIndexOf(u' ', room);
        const bool inWord = blank <= 0;
        const qsizetype cut = inWord ? room : blank;
        const QString piece = lead + text.first(cut);
        text = text.sliced(inWord ? cut : cut + 1);
        pieces << piece;
        lead = !inWord && piece.size() == kTextWidth ? QStringLiteral("- ") : QStringLiteral("-");
    }
}

// A directions line that a reader takes as the start of a paragraph of its own.
bool startsParagraph(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && line[i].isDigit())
        ++i;
    if (i > 0 && i < line.size() && (line[i] == u'.' || line[i] == u')'))
        return true;
    return line.startsWith(u'*') || line.startsWith(QLatin1String("- ")) ||
           line.startsWith(QLatin1String("---")) || line.startsWith(QLatin1String("MMMMM"));
}

// A paragraph wrapped at kLineWidth. A line below the first never starts the way a new
// paragraph, a heading or the end line does: the word before goes down with it.
QStringList wrapped(const QString& paragraph)
{
    const QStringList words = paragraph.split(u' ', Qt::SkipEmptyParts);
    // How the line would start that begins with word i: a look at two words is enough.
    auto lineStart = [&](qsizetype i) {
        return i + 1 < words.size() ? words[i] + u' ' + words[i + 1] : words[i];
    };
    QStringList lines;
    QStringList line;
    qsizetype width = 0;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (!line.isEmpty() && width + 1 + word.size() > kLineWidth) {
            QStringList next;
            while (line.size() > 1 &&
                   startsParagraph(QStringList(next + QStringList{lineStart(i)}).join(u' ')))
                next.prepend(line.takeLast());
            lines << line.join(u' ');
            line = next;
            width = line.join(u' ').size();
        }
        width += (line.isEmpty() ? 0 : 1) + word.size();
        line << word;
    }
    if (!line.isEmpty())
        lines << line.join(u' ');
    return lines;
}

// Header lines "      Label: value", a long value going on in further lines of the
// same label (a reader adds categories up; other labels take one line).
void headerField(QString& out, const char* label, const QStringList& items)
{
    const QString head = QStringLiteral("%1: ").arg(QLatin1String(label), 11);
    QString line;
    for (const QString& item : items) {
        if (!line.isEmpty() && head.size() + line.size() + 2 + item.size() > kLineWidth) {
            out += head + line + kEol;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(", ")) + item;
    }
    if (!line.isEmpty())
        out += head + line + kEol;
}

void ingredientLines(QString& out, const Columns& columns)
{
    const QStringList pieces = textPieces(columns.text);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const QString quantity = i == 0 ? columns.quantity : QString();
        const QString unit = i == 0 ? columns.unit : QString();
        const QString line = QStringLiteral("%1 %2 %3")
                                 .arg(quantity, int(kQuantityWidth))
                                 .arg(unit, -2)
                                 .arg(pieces[i]);
        out += QStringView(line).trimmed().isEmpty() ? QString() : line;
        while (out.endsWith(u' '))
            out.chop(1);
        out += kEol;
    }
}

} // namespace

QString mealMasterUnit(QStringView unit)
{
    QString key = unit.trimmed().toString().toLower();
    if (key.endsWith(u'.'))
        key.chop(1);
    for (const UnitCode& code : kUnitCodes) {
        if (key == QString::fromUtf8(code.unit))
            return QString::fromLatin1(code.code);
    }
    return {};
}

QString mealMasterRecipe(const ExportedRecipe& recipe)
{
    QString out = QStringLiteral("MMMMM----- Recipe via Meal-Master format, written by dilboscan") +
                  kEol + kEol;
    out += QStringLiteral("      Title: ") + recipe.name + kEol;
    headerField(out, "Categories", recipe.categories);
    if (!recipe.servings.isEmpty()) {
        bool number = false;
        recipe.servings.toInt(&number);
        headerField(out, number ? "Servings" : "Yield", {recipe.servings});
    }
    if (!recipe.time.isEmpty())
        headerField(out, "Time", {recipe.time});
    out += kEol;
    QList<ExportRow> rows = recipe.rows;
    if (!recipe.deluxe) {
        for (const QString& line : recipe.ingredients)
            rows << rowOfLine(line);
    }
    for (const ExportRow& row : std::as_const(rows))
        ingredientLines(out, columnsOf(row));
    if (!rows.isEmpty())
        out += kEol;
    for (const QString& paragraph : recipe.instructions) {
        for (const QString& line : wrapped(paragraph))
            out += line + kEol;
        out += kEol;
    }
    out += QStringLiteral("MMMMM") + kEol + kEol;
    return out;
}
