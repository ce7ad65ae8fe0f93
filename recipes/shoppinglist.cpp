// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/shoppinglist.h"

#include "platform/cp1252.h"
#include "recipes/recipetexts.h"

#include <QHash>

#include <cmath>
#include <cstring>

namespace {

// ---- Units ----

enum class Kind { Mass, Volume, Spoons, Ounces };

// A unit that converts within its kind: its size in the kind's smallest unit and the
// name it is written with when the recipes give none.
struct Convertible {
    Kind kind;
    double size;
    const char* name;
    const char* plural;
};

constexpr Convertible kGram{Kind::Mass, 1, "g", "g"};
constexpr Convertible kKilogram{Kind::Mass, 1000, "kg", "kg"};
constexpr Convertible kMillilitre{Kind::Volume, 1, "ml", "ml"};
constexpr Convertible kCentilitre{Kind::Volume, 10, "cl", "cl"};
constexpr Convertible kDecilitre{Kind::Volume, 100, "dl", "dl"};
constexpr Convertible kLitre{Kind::Volume, 1000, "l", "l"};
constexpr Convertible kTeaspoon{Kind::Spoons, 1, "tsp", "tsp"};
constexpr Convertible kTablespoon{Kind::Spoons, 3, "tbsp", "tbsp"};
constexpr Convertible kCup{Kind::Spoons, 48, "cup", "cups"};
constexpr Convertible kOunce{Kind::Ounces, 1, "oz", "oz"};
constexpr Convertible kPound{Kind::Ounces, 16, "lb", "lb"};

// The units a sum of different units may be written in, largest first.
constexpr const Convertible* kSumUnits[] = {&kKilogram, &kGram,       &kLitre,    &kMillilitre,
                                            &kCup,      &kTablespoon, &kTeaspoon, &kPound,
                                            &kOunce};

struct Spelling {
    const char* text;
    const Convertible* unit;
};

// Spellings told apart by case: MealMaster's "t" is a teaspoon, "T" a tablespoon.
constexpr Spelling kCaseSpellings[] = {
    {"t", &kTeaspoon}, {"ts", &kTeaspoon}, {"T", &kTablespoon}, {"Ts", &kTablespoon}};

// Spellings in small letters, compared after folding case; a final "." is dropped first.
constexpr Spelling kSpellings[] = {
    {"g", &kGram},           {"gr", &kGram},           {"gram", &kGram},
    {"grams", &kGram},       {"gramm", &kGram},        {"gramme", &kGram},
    {"grammes", &kGram},     {"kg", &kKilogram},       {"kilo", &kKilogram},
    {"kilos", &kKilogram},   {"kilogram", &kKilogram}, {"kilograms", &kKilogram},
    {"kilogramm", &kKilogram}, {"ml", &kMillilitre},   {"milliliter", &kMillilitre},
    {"milliliters", &kMillilitre}, {"millilitre", &kMillilitre},
    {"millilitres", &kMillilitre}, {"cl", &kCentilitre}, {"dl", &kDecilitre},
    {"l", &kLitre},          {"liter", &kLitre},       {"liters", &kLitre},
    {"litre", &kLitre},      {"litres", &kLitre},      {"tsp", &kTeaspoon},
    {"tsps", &kTeaspoon},    {"teaspoon", &kTeaspoon}, {"teaspoons", &kTeaspoon},
    {"tl", &kTeaspoon},      {"tbsp", &kTablespoon},   {"tbsps", &kTablespoon},
    {"tbs", &kTablespoon},   {"tb", &kTablespoon},     {"tablespoon", &kTablespoon},
    {"tablespoons", &kTablespoon}, {"el", &kTablespoon}, {"c", &kCup},
    {"cup", &kCup},          {"cups", &kCup},          {"oz", &kOunce},
    {"ounce", &kOunce},      {"ounces", &kOunce},      {"lb", &kPound},
    {"lbs", &kPound},        {"pound", &kPound},       {"pounds", &kPound}};

// Units that count rather than measure; a free line's word after its quantity is taken
// as its unit when it is one of these or a convertible one. Small letters, Latin-1.
constexpr const char* kCountUnits[] = {
    "pinch",  "pinches", "can",      "cans",      "tin",      "tins",     "clove",
    "cloves", "sachet",  "sachets",  "package",   "packages", "packet",   "packets",
    "pack",   "packs",   "pkg",      "slice",     "slices",   "bunch",    "bunches",
    "handful", "handfuls", "piece",  "pieces",    "stick",    "sticks",   "sprig",
    "sprigs", "dash",    "dashes",   "jar",       "jars",     "prise",    "prisen",
    "dose",   "dosen",   "pck",      "p\xe4" "ckchen", "packung", "packungen", "bund",
    "zehe",   "zehen",   "scheibe",  "scheiben",  "st\xfc" "ck", "stk",    "becher",
    "glas",   "msp",     "zweig",    "zweige"};

QStringView withoutFinalDot(QStringView unit)
{
    unit = unit.trimmed();
    if (unit.endsWith(u'.'))
        unit.chop(1);
    return unit;
}

// A unit word in small Latin-1 letters, as the tables write it; false for a word longer
// than any unit or with a character beyond Latin-1. Compared byte by byte, as a list
// reads every unit.
constexpr qsizetype kLongestUnit = 11;
bool smallLatin1(QStringView word, char (&out)[kLongestUnit + 1])
{
    const size_t size = size_t(word.size());
    if (size == 0 || size > size_t(kLongestUnit))
        return false;
    for (size_t i = 0; i < size; ++i) {
        const char32_t c = QChar::toLower(char32_t(word[qsizetype(i)].unicode()));
        if (c > 0xFF)
            return false;
        out[i] = char(c);
    }
    out[size] = '\0';
    return true;
}

const Convertible* convertible(QStringView unit)
{
    const QStringView bare = withoutFinalDot(unit);
    char small[kLongestUnit + 1] = {};
    if (!smallLatin1(bare, small))
        return nullptr;
    if (bare.size() <= 2) {
        for (const Spelling& s : kCaseSpellings) {
            if (bare == QLatin1StringView(s.text))
                return s.unit;
        }
    }
    for (const Spelling& s : kSpellings) {
        if (s.text[0] == small[0] && std::strcmp(s.text, small) == 0)
            return s.unit;
    }
    return nullptr;
}

bool isCountUnit(QStringView unit)
{
    char small[kLongestUnit + 1] = {};
    if (!smallLatin1(withoutFinalDot(unit), small))
        return false;
    for (const char* known : kCountUnits) {
        if (known[0] == small[0] && std::strcmp(known, small) == 0)
            return true;
    }
    return false;
}

// ---- Folding ----

// Appends text with case and accents folded ("Crème" as "creme", "ß" as "ss") and runs of
// blanks made one, without blanks at either end. Plain ASCII, most of every list, takes
// no lookup.
void appendFolded(QString& out, QStringView text)
{
    const qsizetype start = out.size();
    out.resize(start + 2 * text.size()); // "ß" becomes two letters
    QChar* const begin = out.data();
    QChar* d = begin + start;
    bool blank = true; // none at the start
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x80) {
            if (c == u' ' || (c >= u'\t' && c <= u'\r')) {
                if (!blank)
                    *d++ = u' ';
                blank = true;
            } else {
                *d++ = (c >= u'A' && c <= u'Z') ? QChar(c + (u'a' - u'A')) : ch;
                blank = false;
            }
            continue;
        }
        if (ch.isSpace()) {
            if (!blank)
                *d++ = u' ';
            blank = true;
            continue;
        }
        if (ch.category() == QChar::Mark_NonSpacing)
            continue;
        blank = false;
        if (c == u'\u00DF') {
            *d++ = u's';
            *d++ = u's';
            continue;
        }
        QChar base = ch;
        if (ch.decompositionTag() == QChar::Canonical)
            base = ch.decomposition().at(0);
        *d++ = base.toLower();
    }
    if (d > begin + start && d[-1] == u' ')
        --d;
    out.resize(d - begin);
}

// The word of key from start on ends with ending (ASCII) and is longer than it.
bool wordEndsWith(const QString& key, qsizetype start, const char* ending)
{
    qsizetype length = 0;
    while (ending[length])
        ++length;
    if (key.size() - start <= length)
        return false;
    const QChar* tail = key.constData() + key.size() - length;
    for (qsizetype i = 0; i < length; ++i) {
        if (tail[i] != QLatin1Char(ending[i]))
            return false;
    }
    return true;
}

// The plurals with "s" and "es" (English; "Champignons"), and the German "-sse".
void dropEnglishPlural(QString& key, qsizetype start)
{
    if (key.size() - start < 4)
        return;
    if (key.back() == u'e') {
        if (wordEndsWith(key, start, "sse")) // "nüsse": "nuss"
            key.chop(1);
        return;
    }
    if (key.back() != u's')
        return;
    if (wordEndsWith(key, start, "ies")) {
        key.chop(3);
        key += u'y';
        return;
    }
    for (const char* ending : {"oes", "sses", "shes", "ches", "xes"}) {
        if (wordEndsWith(key, start, ending)) {
            key.chop(2);
            return;
        }
    }
    if (!wordEndsWith(key, start, "ss") && !wordEndsWith(key, start, "us") &&
        !wordEndsWith(key, start, "is"))
        key.chop(1);
}

// The German plurals in "-n" after "e" and "l": "Tomaten", "Zwiebeln".
void dropGermanPlural(QString& key, qsizetype start)
{
    if (key.size() - start >= 4 && key.back() == u'n' &&
        (wordEndsWith(key, start, "en") || wordEndsWith(key, start, "ln")))
        key.chop(1);
}

// Appends the folded text with its last word in the singular.
void appendKey(QString& key, QStringView text)
{
    const qsizetype from = key.size();
    appendFolded(key, text);
    const qsizetype start = key.lastIndexOf(u' ') >= from ? key.lastIndexOf(u' ') + 1 : from;
    if (QStringView(key).sliced(start) == QLatin1StringView("eier")) {
        key.chop(2);
        return;
    }
    // English first, then German, then English again for what the German ending left
    // ("soßen": "sosse", "soss"); a singular and its plural end on the same stem.
    dropEnglishPlural(key, start);
    dropGermanPlural(key, start);
    dropEnglishPlural(key, start);
}

// ---- Reading items ----

QStringList splitLines(const QString& text)
{
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

QStringList plainLines(const TSTRING& lines)
{
    QStringList out;
    out.reserve(lines.size());
    for (QByteArrayView line : lines)
        out << cp1252::toUnicode(line);
    return out;
}

const RecipeTextField& textField(const char* name)
{
    for (const RecipeTextField& field : recipeTextFields()) {
        if (qstrcmp(field.name, name) == 0)
            return field;
    }
    Q_UNREACHABLE();
}

Quantity scaled(Quantity q, double factor)
{
    q.low *= factor;
    q.high *= factor;
    return q;
}

// One ingredient row as read, its texts pointing into the row.
struct Row {
    std::optional<Quantity> quantity; ///< as written, not scaled
    QStringView quantityText;         ///< the quantity's text, or one that cannot be read
    QStringView unit;
    QStringView name;

    /// The quantity text after scaling: as written when nothing changes.
    QString scaledText(double factor) const
    {
        if (!quantity)
            return scaleQuantityText(quantityText, factor);
        if (factor == 1)
            return quantityText.toString();
        return formatScaled(*quantity, factor);
    }
};

// The name part of a free line's rest: up to a "," or ";" (preparation follows).
QStringView namePart(QStringView rest)
{
    qsizetype cut = rest.size();
    for (QChar stop : {u',', u';'}) {
        const qsizetype at = rest.indexOf(stop);
        if (at > 0 && at < cut)
            cut = at;
    }
    return rest.first(cut).trimmed();
}

// A free ingredient line; false for a blank line or a section heading.
bool rowOfLine(QStringView line, Row* row)
{
    *row = Row();
    const auto q = readLeadingQuantity(line);
    if (!q) {
        row->name = line.trimmed();
        return !row->name.isEmpty() && !isSectionHeading(row->name);
    }
    row->quantity = q;
    row->quantityText = line.sliced(q->start, q->end - q->start);
    QStringView rest = line.sliced(q->end).trimmed();
    const qsizetype blank = rest.indexOf(u' ');
    if (blank > 0) {
        const QStringView word = rest.first(blank);
        if (convertible(word) || isCountUnit(word)) {
            row->unit = word;
            rest = rest.sliced(blank).trimmed();
            for (QLatin1StringView of : {QLatin1StringView("of "), QLatin1StringView("von ")}) {
                if (rest.startsWith(of, Qt::CaseInsensitive))
                    rest = rest.sliced(of.size()).trimmed();
            }
        }
    }
    row->name = namePart(rest);
    return true;
}

// A row of the deluxe columns; false for an empty row or a section heading.
bool rowOfColumns(QStringView quantity, QStringView unit, QStringView name, Row* row)
{
    *row = Row();
    row->quantityText = quantity.trimmed();
    row->unit = unit.trimmed();
    row->name = name.trimmed();
    if (row->quantityText.isEmpty() && row->unit.isEmpty() &&
        (row->name.isEmpty() || isSectionHeading(row->name)))
        return false;
    row->quantity = readQuantity(row->quantityText);
    return true;
}

// Every row of the texts, in order.
template <typename Visit> void forEachRow(const IngredientTexts& texts, Visit visit)
{
    Row row;
    if (!texts.deluxe) {
        for (const QString& line : texts.lines) {
            if (rowOfLine(line, &row))
                visit(row);
        }
        return;
    }
    const qsizetype rows =
        qMax(texts.quantities.size(), qMax(texts.units.size(), texts.names.size()));
    auto at = [](const QStringList& list, qsizetype i) {
        return i < list.size() ? QStringView(list[i]) : QStringView();
    };
    for (qsizetype i = 0; i < rows; ++i) {
        if (rowOfColumns(at(texts.quantities, i), at(texts.units, i), at(texts.names, i), &row))
            visit(row);
    }
}

// Of the spellings, the longest for an amount above one (the plural, in English and
// German), otherwise the shortest; the first of equal length.
QString byAmount(const QStringList& spellings, double amount)
{
    QString best;
    for (const QString& s : spellings) {
        if (best.isEmpty() || (amount > 1 ? s.size() > best.size() : s.size() < best.size()))
            best = s;
    }
    return best;
}

bool writesClosely(double amount, AmountStyle style)
{
    if (amount >= 10)
        return true;
    const auto written = readQuantity(formatAmount(amount, style));
    return written && std::fabs(written->low - amount) <= 0.02 * amount;
}

} // namespace

// ---- Merging ----

// One line of the list as it grows: its first item as written, and for items that add
// up, their sum in the smallest unit of their group with every spelling met.
struct ShoppingListMerger::Group {
    QString quantityText; // the first item's, scaled
    QString unitText;
    QString name;
    bool adds = false;                      // the items have readable quantities
    const Convertible* unit = nullptr;      // the first item's unit, when it converts
    bool oneUnit = true;                    // every item in that unit
    double low = 0, high = 0;               // the sum
    AmountStyle style;                      // as the first item wrote its quantity
    QString rangeWord;                      // as the first range wrote it
    int items = 0;
    // Spellings met after the first item's, each once (most lines have none).
    QList<std::pair<const Convertible*, QString>> otherUnits;
    QStringList otherNames;
    int firstRecipe = 0;
    QList<int> otherRecipes; // in the order they were met
    size_t hash = 0;         // of its key
    qsizetype keyAt = 0;     // where its key starts in m_keys
    qsizetype keyLength = 0;
};

namespace {

// FNV-1a: keys are short texts, hashed once per ingredient.
size_t keyHash(QStringView key)
{
    size_t hash = 14695981039346656037ull;
    for (QChar ch : key) {
        hash ^= ch.unicode();
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

qsizetype ShoppingListMerger::findGroup(size_t hash) const
{
    const size_t mask = m_table.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const qsizetype place = m_table[slot];
        if (place == 0)
            return -qsizetype(slot) - 1;
        const Group& group = m_groups[place - 1];
        if (group.hash == hash && group.keyLength == m_key.size() &&
            QStringView(m_keys).sliced(group.keyAt, group.keyLength) == m_key)
            return place - 1;
    }
}

ShoppingListMerger::ShoppingListMerger() = default;
ShoppingListMerger::~ShoppingListMerger() = default;

int ShoppingListMerger::recipeIndex(const QString& recipe)
{
    const auto it = m_recipeIndexes.constFind(recipe);
    if (it != m_recipeIndexes.constEnd())
        return *it;
    m_recipes << recipe;
    m_recipeIndexes.insert(recipe, int(m_recipes.size() - 1));
    return int(m_recipes.size() - 1);
}

template <typename MakeText>
void ShoppingListMerger::addItem(int recipe, const Quantity* quantity, bool noText,
                                 QStringView unitText, QStringView name, MakeText makeText)
{
    const Convertible* unit = quantity ? convertible(unitText) : nullptr;
    // The key: whether it is added up or only named, the ingredient, the unit (its kind
    // for one that converts). Built in one buffer; only a new key is kept.
    Group* group = nullptr;
    size_t hash = 0;
    bool keyed = false;
    if (quantity || noText) {
        m_key.truncate(0);
        m_key += quantity ? u'q' : u'n';
        appendKey(m_key, name);
        m_key += u'\x1f';
        if (unit) {
            m_key += QChar(u'0' + int(unit->kind));
        } else {
            m_key += u'u';
            appendKey(m_key, withoutFinalDot(unitText));
        }
        if (m_table.size() < 2 * (m_groups.size() + 1)) { // at most half full
            std::vector<qsizetype> table(qMax(size_t(64), 4 * m_table.size()), 0);
            const size_t mask = table.size() - 1;
            for (size_t i = 0; i < m_groups.size(); ++i) {
                if (m_groups[i].keyLength < 0)
                    continue;
                size_t slot = m_groups[i].hash & mask;
                while (table[slot] != 0)
                    slot = (slot + 1) & mask;
                table[slot] = qsizetype(i) + 1;
            }
            m_table.swap(table);
        }
        hash = keyHash(m_key);
        const qsizetype found = findGroup(hash);
        if (found >= 0) {
            group = &m_groups[found];
        } else {
            m_table[-found - 1] = qsizetype(m_groups.size()) + 1;
            keyed = true;
        }
    }
    if (!group) {
        group = &m_groups.emplace_back();
        if (keyed) {
            group->hash = hash;
            group->keyAt = m_keys.size();
            group->keyLength = m_key.size();
            m_keys += m_key;
        } else {
            group->keyLength = -1; // a line of its own, found by no key
        }
        group->quantityText = makeText();
        group->unitText = unitText.toString();
        group->name = name.toString();
        group->adds = quantity;
        group->unit = unit;
        group->firstRecipe = recipe;
        if (quantity)
            group->style = {quantity->decimal, quantity->separator};
    } else {
        if (unit != group->unit)
            group->oneUnit = false;
        if (quantity && (unit != group->unit || unitText != group->unitText)) {
            bool known = false;
            for (const auto& [u, text] : std::as_const(group->otherUnits))
                known = known || (u == unit && text == unitText);
            if (!known)
                group->otherUnits.append({unit, unitText.toString()});
        }
        if (name != group->name && !group->otherNames.contains(name))
            group->otherNames << name.toString();
        // A recipe met first gets a larger index than every recipe before it, so only a
        // recipe added a second time needs a search.
        const int last = group->otherRecipes.isEmpty() ? group->firstRecipe
                                                        : group->otherRecipes.back();
        if (recipe > last ||
            (recipe != last && recipe != group->firstRecipe && !group->otherRecipes.contains(recipe)))
            group->otherRecipes << recipe;
    }
    ++group->items;
    if (quantity) {
        const double size = unit ? unit->size : 1;
        group->low += quantity->low * size;
        group->high += quantity->high * size;
        if (quantity->range && group->rangeWord.isEmpty())
            group->rangeWord = quantity->rangeWord;
    }
}

void ShoppingListMerger::add(const QString& recipe, const IngredientTexts& texts, double factor)
{
    const int index = recipeIndex(recipe);
    forEachRow(texts, [&](const Row& row) {
        const std::optional<Quantity> q =
            row.quantity ? std::optional(scaled(*row.quantity, factor)) : std::nullopt;
        addItem(index, q ? &*q : nullptr, row.quantityText.isEmpty(), row.unit, row.name,
                [&] { return row.scaledText(factor); });
    });
}

void ShoppingListMerger::add(const QString& recipe, const TKVG& record, double factor)
{
    const int index = recipeIndex(recipe);
    Row row;
    auto visit = [&] {
        const std::optional<Quantity> q =
            row.quantity ? std::optional(scaled(*row.quantity, factor)) : std::nullopt;
        addItem(index, q ? &*q : nullptr, row.quantityText.isEmpty(), row.unit, row.name,
                [&] { return row.scaledText(factor); });
    };
    // Each text is decoded into a buffer used again for the next.
    if (!(record.Kind == 1 && record.hasDeluxeLines())) {
        for (QByteArrayView bytes : record.Ingredients) {
            cp1252::toUnicode(bytes, &m_texts[0]);
            if (rowOfLine(m_texts[0], &row))
                visit();
        }
        return;
    }
    const qsizetype rows = qMax(record.Quantities.size(),
                                qMax(record.Units.size(), record.IngredientNames.size()));
    const TSTRING* columns[] = {&record.Quantities, &record.Units, &record.IngredientNames};
    for (qsizetype i = 0; i < rows; ++i) {
        for (int c = 0; c < 3; ++c)
            cp1252::toUnicode(i < columns[c]->size() ? columns[c]->at(i) : QByteArrayView(),
                              &m_texts[c]);
        if (rowOfColumns(m_texts[0], m_texts[1], m_texts[2], &row))
            visit();
    }
}

void ShoppingListMerger::add(const QString& recipe, const QList<ShoppingItem>& items)
{
    const int index = recipeIndex(recipe);
    for (const ShoppingItem& item : items) {
        addItem(index, item.quantity ? &*item.quantity : nullptr, item.quantityText.isEmpty(),
                item.unit, item.name, [&] { return item.quantityText; });
    }
}

QList<ShoppingLine> ShoppingListMerger::lines() const
{
    QList<ShoppingLine> lines;
    lines.reserve(m_groups.size());
    for (const Group& group : m_groups) {
        ShoppingLine& line = lines.emplace_back();
        line.recipes << m_recipes[group.firstRecipe];
        for (int recipe : group.otherRecipes)
            line.recipes << m_recipes[recipe];
        if (!group.adds || group.items == 1) {
            line.quantity = group.quantityText;
            line.unit = group.unitText;
            line.name = group.name;
            continue;
        }
        const Convertible* unit = group.unit;
        if (!group.oneUnit) {
            // Units that convert: the largest that writes the sum well.
            const Convertible* smallest = nullptr;
            unit = nullptr;
            for (const Convertible* candidate : kSumUnits) {
                if (candidate->kind != group.unit->kind)
                    continue;
                smallest = candidate;
                const double amount = group.low / candidate->size;
                if (!unit && amount >= 0.25 && writesClosely(amount, group.style) &&
                    writesClosely(group.high / candidate->size, group.style))
                    unit = candidate;
            }
            if (!unit)
                unit = smallest;
        }
        const double size = unit ? unit->size : 1;
        const double low = group.low / size, high = group.high / size;
        line.quantity = formatAmount(low, group.style);
        if (high != low)
            line.quantity +=
                (group.rangeWord.isEmpty() ? QStringLiteral("-") : group.rangeWord) +
                formatAmount(high, group.style);
        QStringList units;
        if (group.unit == unit)
            units << group.unitText;
        for (const auto& [u, text] : group.otherUnits) {
            if (u == unit)
                units << text;
        }
        line.unit = units.isEmpty() ? QLatin1StringView(high > 1 ? unit->plural : unit->name)
                                    : byAmount(units, high);
        line.name = byAmount(QStringList{group.name} + group.otherNames, high);
    }
    return lines;
}

IngredientTexts ingredientTexts(const TKVG& recipe, bool sideFiles)
{
    auto text = [&](const char* name) {
        const RecipeTextField& field = textField(name);
        return sideFiles ? splitLines(displayedText(recipe, field)) : plainLines(recipe.*field.lines);
    };
    IngredientTexts texts;
    texts.deluxe = recipe.Kind == 1 && recipe.hasDeluxeLines();
    if (texts.deluxe) {
        texts.quantities = text("Quantities");
        texts.units = text("Units");
        texts.names = text("IngredientNames");
    } else {
        texts.lines = text("Ingredients");
    }
    return texts;
}

bool isSectionHeading(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return false;
    bool rule = true;
    int letters = 0;
    bool lower = false;
    for (QChar ch : text) {
        rule = rule && (ch == u'-' || ch == u'_' || ch == u'=' || ch == u'*' || ch == u' ');
        if (ch.isLetter()) {
            ++letters;
            lower = lower || ch.isLower();
        }
    }
    if (rule || text.endsWith(u':') || (letters >= 2 && !lower))
        return true;
    for (QStringView start : {QStringView(u"for "), QStringView(u"to serve"),
                              QStringView(u"f\u00fcr "), QStringView(u"zum "), QStringView(u"zur ")}) {
        if (text.startsWith(start, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QList<ShoppingItem> shoppingItems(const IngredientTexts& texts, double factor)
{
    QList<ShoppingItem> items;
    forEachRow(texts, [&](const Row& row) {
        ShoppingItem& item = items.emplace_back();
        if (row.quantity)
            item.quantity = scaled(*row.quantity, factor);
        item.quantityText = row.scaledText(factor);
        item.unit = row.unit.toString();
        item.name = row.name.toString();
    });
    return items;
}

QString ShoppingLine::text() const
{
    QStringList parts;
    for (const QString* part : {&quantity, &unit, &name}) {
        if (!part->isEmpty())
            parts << *part;
    }
    return parts.join(u' ');
}

QString ingredientKey(QStringView name)
{
    QString key;
    appendKey(key, name);
    return key;
}

QList<ShoppingLine> mergeShoppingList(const QList<ShoppingRecipe>& recipes)
{
    ShoppingListMerger merger;
    for (const ShoppingRecipe& recipe : recipes)
        merger.add(recipe.name, recipe.items);
    return merger.lines();
}
