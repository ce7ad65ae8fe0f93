// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/shoppingsheet.h"

namespace {

// "750 g " of a line: what its text holds before the name.
QString amountPrefix(const ShoppingLine& line)
{
    QString prefix;
    for (const QString* part : {&line.quantity, &line.unit}) {
        if (!part->isEmpty())
            prefix += *part + QLatin1Char(' ');
    }
    return prefix;
}

} // namespace

QString ShoppingSheet::Line::text() const
{
    if (ownText)
        return *ownText;
    if (ownName)
        return amountPrefix(merged) + *ownName;
    return merged.text();
}

void ShoppingSheet::addRecipe(const QString& name, const IngredientTexts& texts,
                              const QString& servings)
{
    Recipe recipe;
    recipe.name = name;
    recipe.texts = texts;
    recipe.writtenText = servings.trimmed();
    recipe.written = servingsOf(servings);
    recipe.wanted = recipe.written.value_or(1);
    m_recipes.append(recipe);
    m_stale = true;
}

const QList<ShoppingSheet::Line>& ShoppingSheet::lines() const
{
    if (m_stale)
        merge();
    return m_lines;
}

bool ShoppingSheet::setWanted(int recipe, double wanted)
{
    if (recipe < 0 || recipe >= m_recipes.size() || !(wanted > 0))
        return false;
    m_recipes[recipe].wanted = wanted;
    m_stale = true;
    return true;
}

void ShoppingSheet::setTicked(int line, bool ticked)
{
    lines();
    if (line >= 0 && line < m_lines.size())
        m_lines[line].ticked = ticked;
}

void ShoppingSheet::setText(int line, const QString& text)
{
    lines();
    if (line < 0 || line >= m_lines.size())
        return;
    Line& l = m_lines[line];
    const QString wanted = text.trimmed();
    l.ownText.reset();
    l.ownName.reset();
    if (wanted.isEmpty() || wanted == l.merged.text())
        return;
    const QString prefix = amountPrefix(l.merged);
    if (!prefix.isEmpty() && wanted.startsWith(prefix) && wanted.size() > prefix.size())
        l.ownName = wanted.mid(prefix.size());
    else
        l.ownText = wanted;
}

QList<QString> ShoppingSheet::lineKeys() const
{
    QList<QString> keys;
    QHash<QString, int> seen;
    for (const Line& line : m_lines) {
        const QString key = ingredientKey(line.merged.name);
        keys << key + QLatin1Char('\n') + QString::number(seen[key]++);
    }
    return keys;
}

void ShoppingSheet::merge() const
{
    // What the user did, by line; a line keeps it when the merge gives it again.
    QHash<QString, Line> before;
    const QList<QString> keys = lineKeys();
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        before.insert(keys.at(i), m_lines.at(i));

    ShoppingListMerger merger;
    for (const Recipe& recipe : std::as_const(m_recipes))
        merger.add(recipe.name, recipe.texts, recipe.factor());
    m_lines.clear();
    for (const ShoppingLine& merged : merger.lines())
        m_lines.append(Line{merged, false, std::nullopt, std::nullopt});
    const QList<QString> now = lineKeys();
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const auto kept = before.constFind(now.at(i));
        if (kept == before.constEnd())
            continue;
        m_lines[i].ticked = kept->ticked;
        m_lines[i].ownText = kept->ownText;
        m_lines[i].ownName = kept->ownName;
    }
    m_stale = false;
}

QString ShoppingSheet::amountText(const Recipe& recipe)
{
    const QString amount = formatAmount(recipe.wanted, {});
    return recipe.written ? QStringLiteral("%1 servings").arg(amount)
                          : QStringLiteral("%1 \u00D7 the recipe").arg(amount);
}

QString ShoppingSheet::plainText() const
{
    QString out = QStringLiteral("Shopping list\n\n");
    for (const Recipe& recipe : m_recipes) {
        out += recipe.name + QStringLiteral(": ") + amountText(recipe);
        if (!recipe.writtenText.isEmpty())
            out += QStringLiteral(" (written for ") + recipe.writtenText + QLatin1Char(')');
        out += QLatin1Char('\n');
    }
    out += QLatin1Char('\n');
    for (const Line& line : lines()) {
        out += (line.ticked ? QStringLiteral("[x] ") : QStringLiteral("[ ] ")) + line.text();
        if (!line.merged.recipes.isEmpty())
            out += QStringLiteral(" (") + line.merged.recipes.join(QStringLiteral(", ")) +
                   QLatin1Char(')');
        out += QLatin1Char('\n');
    }
    return out;
}
