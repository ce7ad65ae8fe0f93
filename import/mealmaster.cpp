#include "import/mealmaster.h"

#include <QStringView>

namespace {

enum class Framing { Dashes, Ms };

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

// One ingredient of the column layout: quantity in 7 columns, a blank, the unit in 2, a
// blank, then the text.
struct Ingredient {
    QString quantity;
    QString unit;
    QString text;
    bool continuation() const
    {
        return quantity.isEmpty() && unit.isEmpty() && text.startsWith(QLatin1Char('-'));
    }
};

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
    if (!isQuantity(quantity) || (!unit.isEmpty() && !isUnit(unit)))
        return false;
    const QStringView text = column(part, 11, part.size()).trimmed();
    if (text.isEmpty() && quantity.trimmed().isEmpty())
        return false;
    out->quantity = quantity.trimmed().toString();
    out->unit = unit.toString();
    out->text = text.toString();
    return true;
}

// Tabs are expanded to stops of 8 as far as the columns reach; later ones stay (the
// record turns them into blanks), so a line of tabs cannot grow eightfold.
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
    if (t.size() < 5)
        return false;
    for (QChar ch : t) {
        if (ch != QLatin1Char('-'))
            return false;
    }
    return true;
}

// A section heading: "-----SAUCE-----", or "MMMMM-----SAUCE-----". Sets heading to its
// text (empty for a plain rule).
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

// Header fields: "Title:", "Categories:", "Servings:", "Yield:".
bool headerField(QStringView line, QLatin1String label, QString* value)
{
    const QStringView t = line.trimmed();
    if (!t.startsWith(label, Qt::CaseInsensitive))
        return false;
    *value = t.sliced(label.size()).trimmed().toString();
    return true;
}

bool startsParagraph(QStringView line)
{
    // Numbered steps and bullets stand on lines of their own.
    qsizetype i = 0;
    while (i < line.size() && line[i].isDigit())
        ++i;
    if (i > 0 && i < line.size() && (line[i] == QLatin1Char('.') || line[i] == QLatin1Char(')')))
        return true;
    return line.startsWith(QLatin1Char('*')) || line.startsWith(QLatin1String("- "));
}

class MealMasterReader {
public:
    MealMasterReader(const QString& path, const RecipeSink& sink, QList<ImportProblem>* problems)
        : m_path(path), m_sink(sink), m_problems(problems)
    {
    }

    void line(QStringView raw, int number)
    {
        if (!m_inRecipe) {
            if (isBeginLine(raw))
                begin(raw, number);
            return;
        }
        if (isBeginLine(raw)) {
            problem(m_startLine, QStringLiteral("the recipe has no end line; it was imported up "
                                                "to the next recipe"));
            finish();
            begin(raw, number);
            return;
        }
        if (isEndLine(raw, m_framing)) {
            finish();
            return;
        }
        const QString expanded = expandTabs(raw);
        switch (m_state) {
        case State::Header:
            header(expanded);
            break;
        case State::Ingredients:
            ingredientLine(expanded);
            break;
        case State::Directions:
            directionLine(expanded);
            break;
        }
    }

    void end()
    {
        if (!m_inRecipe)
            return;
        problem(m_startLine,
                QStringLiteral("the file ends inside the recipe; it was imported up to there"));
        finish();
    }

    int recipesSeen() const { return m_seen; }

private:
    enum class State { Header, Ingredients, Directions };

    void begin(QStringView raw, int number)
    {
        m_inRecipe = true;
        m_framing = startsWithMs(raw) ? Framing::Ms : Framing::Dashes;
        m_state = State::Header;
        m_startLine = number;
        m_recipe = ImportedRecipe();
        m_paragraph.clear();
        m_left = m_right = -1;
        ++m_seen;
    }

    void finish()
    {
        endParagraph();
        while (!m_recipe.instructions.isEmpty() && m_recipe.instructions.last().isEmpty())
            m_recipe.instructions.removeLast();
        m_inRecipe = false;
        deliverRecipe(m_recipe, m_path, where(m_startLine), m_sink, m_problems);
    }

    void header(const QString& line)
    {
        QString value;
        if (line.trimmed().isEmpty())
            return;
        if (headerField(line, QLatin1String("Title:"), &value)) {
            m_recipe.name = value;
        } else if (headerField(line, QLatin1String("Categories:"), &value)) {
            for (const QString& category : value.split(QLatin1Char(','))) {
                const QString name = category.trimmed();
                if (!name.isEmpty() && name.compare(QLatin1String("None"), Qt::CaseInsensitive))
                    m_recipe.categories << name;
            }
        } else if (headerField(line, QLatin1String("Servings:"), &value) ||
                   headerField(line, QLatin1String("Yield:"), &value)) {
            m_recipe.servings = value;
        } else {
            m_state = State::Ingredients;
            ingredientLine(line);
        }
    }

    void ingredientLine(const QString& line)
    {
        if (line.trimmed().isEmpty())
            return;
        QString heading;
        if (isHeading(line, &heading)) {
            if (!heading.isEmpty())
                m_recipe.rows.append({QString(), QString(), heading, QString()});
            m_left = m_right = -1;
            return;
        }
        Ingredient left, right;
        const QStringView first = QStringView(line).first(qMin(line.size(), qsizetype(41)));
        if (first.trimmed().isEmpty() && parseIngredient(QStringView(line).sliced(41), &right)) {
            add(right, &m_right);
            return;
        }
        if (!parseIngredient(first, &left)) {
            m_state = State::Directions;
            directionLine(line);
            return;
        }
        // A second ingredient from column 41, when the first one's text stops before it.
        const bool twoColumns = line.size() > 41 && line[40] == QLatin1Char(' ') &&
                                parseIngredient(QStringView(line).sliced(41), &right);
        if (!twoColumns)
            parseIngredient(line, &left);
        add(left, &m_left);
        if (twoColumns)
            add(right, &m_right);
    }

    void add(const Ingredient& ingredient, int* last)
    {
        if (ingredient.continuation() && *last >= 0) {
            IngredientRow& row = m_recipe.rows[*last];
            QString& text = row.preparation.isEmpty() ? row.name : row.preparation;
            text += QLatin1Char(' ') + ingredient.text.mid(1).trimmed();
            return;
        }
        IngredientRow row{ingredient.quantity, ingredient.unit, ingredient.text, QString()};
        const qsizetype semicolon = ingredient.text.indexOf(QLatin1Char(';'));
        if (semicolon >= 0) {
            row.name = ingredient.text.left(semicolon).trimmed();
            row.preparation = ingredient.text.mid(semicolon + 1).trimmed();
        }
        *last = int(m_recipe.rows.size());
        m_recipe.rows.append(row);
    }

    void directionLine(const QString& line)
    {
        const QString text = line.trimmed();
        QString heading;
        if (text.isEmpty()) {
            endParagraph();
            return;
        }
        if (isHeading(line, &heading)) {
            endParagraph();
            if (!heading.isEmpty())
                m_recipe.instructions << heading;
            return;
        }
        if (startsParagraph(text))
            endParagraph();
        if (!m_paragraph.isEmpty())
            m_paragraph += QLatin1Char(' ');
        m_paragraph += text;
    }

    void endParagraph()
    {
        if (m_paragraph.isEmpty())
            return;
        m_recipe.instructions << m_paragraph;
        m_paragraph.clear();
    }

    QString where(int line) const { return QStringLiteral("line %1").arg(line); }

    void problem(int line, const QString& reason)
    {
        m_problems->append({m_path, where(line), reason});
    }

    QString m_path;
    const RecipeSink& m_sink;
    QList<ImportProblem>* m_problems;
    bool m_inRecipe = false;
    Framing m_framing = Framing::Dashes;
    State m_state = State::Header;
    int m_startLine = 0;
    int m_seen = 0;
    ImportedRecipe m_recipe;
    QString m_paragraph;
    int m_left = -1; // rows of the last ingredient of each column, for continuation lines
    int m_right = -1;
};

} // namespace

bool looksLikeMealMaster(QStringView text)
{
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), from);
        if (end < 0)
            end = text.size();
        if (isBeginLine(text.sliced(from, end - from)))
            return true;
        from = end + 1;
    }
    return false;
}

void readMealMaster(const QByteArray& bytes, const QString& path, const RecipeSink& sink,
                    QList<ImportProblem>* problems)
{
    QString text = decodeImportedText(bytes);
    // Old DOS files end at a Ctrl-Z.
    const qsizetype eof = text.indexOf(QChar(0x1A));
    if (eof >= 0)
        text.truncate(eof);
    MealMasterReader reader(path, sink, problems);
    qsizetype from = 0;
    int number = 1;
    const QStringView all(text);
    while (from < all.size()) {
        qsizetype end = from;
        while (end < all.size() && all[end] != QLatin1Char('\n') && all[end] != QLatin1Char('\r'))
            ++end;
        reader.line(all.sliced(from, end - from), number++);
        if (end + 1 < all.size() && all[end] == QLatin1Char('\r') &&
            all[end + 1] == QLatin1Char('\n'))
            ++end;
        from = end + 1;
    }
    reader.end();
    if (reader.recipesSeen() == 0)
        problems->append({path, QString(), QStringLiteral("no MealMaster recipe was found")});
}
