// SPDX-License-Identifier: GPL-2.0-or-later

#include "import/mealmaster.h"

#include "import/mealmasterlines.h"

#include <QStringView>

using namespace mealmaster;

namespace {

// Header labels that say where a recipe comes from; they go to the remark.
bool isSourceLabel(const QString& label)
{
    for (const char* source : {"Contributor", "From", "Source", "Author", "Recipe By"}) {
        if (label.compare(QLatin1String(source), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool is(const QString& label, const char* name)
{
    return label.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

bool isKnownLabel(const QString& label)
{
    return is(label, "Title") || is(label, "Categories") || is(label, "Servings") ||
           is(label, "Yield") || is(label, "Time") || isSourceLabel(label);
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
            header(expanded, number);
            break;
        case State::Ingredients:
            ingredientLine(expanded, number);
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
        m_recipe = ImportedRecipe(); // finish() left no columns, paragraph or pending line
        m_last = -1;
        m_listAbove = true;
        ++m_seen;
    }

    void finish()
    {
        if (m_pendingLine > 0)
            startDirections(m_pending);
        flushColumns();
        endParagraph();
        m_inRecipe = false;
        deliverRecipe(m_recipe, m_path, where(m_startLine), m_sink, m_problems);
    }

    // Known fields fill the recipe; any other field is kept as a comment, and the header
    // goes on: only a line that is no field starts the ingredients. A label without a
    // value ("CRUST:") may head the ingredients below it.
    void header(const QString& line, int number)
    {
        QString label, value;
        if (line.trimmed().isEmpty())
            return;
        if (!isHeaderField(line, &label, &value) || (value.isEmpty() && !isKnownLabel(label))) {
            m_state = State::Ingredients;
            ingredientLine(line, number);
        } else if (is(label, "Title")) {
            m_recipe.name = value;
        } else if (is(label, "Categories")) {
            for (const QString& category : value.split(QLatin1Char(','))) {
                const QString name = category.trimmed();
                if (!name.isEmpty() && name.compare(QLatin1String("None"), Qt::CaseInsensitive))
                    m_recipe.categories << name;
            }
        } else if (is(label, "Servings") || is(label, "Yield")) {
            m_recipe.servings = value;
        } else if (is(label, "Time")) {
            m_recipe.totalTime = value;
        } else if (isSourceLabel(label)) {
            keepSource(m_recipe, label, value);
        } else if (!value.isEmpty()) {
            m_recipe.comments << label + QStringLiteral(": ") + value;
        }
    }

    // Ingredients are gathered a block at a time (up to a blank line or a heading):
    // MealMaster fills the left column of a block first and goes on in the right one.
    void ingredientLine(const QString& line, int number)
    {
        Ingredient left, right;
        QString heading;
        const bool blank = line.trimmed().isEmpty();
        const bool isRule = !blank && isHeading(line, &heading);
        const bool ingredients = !blank && !isRule && readIngredients(line, &left, &right);
        if (m_pendingLine > 0) {
            if (!ingredients) {
                startDirections(m_pending);
                directionLine(line);
                return;
            }
            // The list goes on below the line: a label heads what follows; any other
            // line is an ingredient outside the columns.
            QString label, value;
            if (isHeaderField(m_pending, &label, &value) && value.isEmpty()) {
                flushColumns();
                m_recipe.rows.append({QString(), QString(), label, QString()});
                m_last = -1;
            } else {
                Ingredient whole;
                whole.text = m_pending.trimmed();
                whole.asWritten = true;
                m_left << whole;
                problem(m_pendingLine,
                        QStringLiteral("the line is not in the ingredient columns; it was kept "
                                       "as an ingredient as written"));
            }
            m_pendingLine = 0;
        }
        if (blank || isRule) {
            flushColumns();
            m_listAbove = false;
            if (isRule) {
                if (!heading.isEmpty())
                    m_recipe.rows.append({QString(), QString(), heading, QString()});
                m_last = -1;
            }
            return;
        }
        if (!ingredients) {
            // Right below an ingredient or the header the line may still belong to the
            // list: the next line tells.
            if (m_listAbove) {
                m_pending = line;
                m_pendingLine = number;
            } else {
                startDirections(line);
            }
            return;
        }
        if (!left.text.isEmpty() || !left.quantity.isEmpty())
            m_left << left;
        if (!right.text.isEmpty() || !right.quantity.isEmpty())
            m_right << right;
        m_listAbove = true;
    }

    // The ingredients of a line: one, or one in each column; left or right stays empty
    // when its column is.
    static bool readIngredients(const QString& line, Ingredient* left, Ingredient* right)
    {
        const QStringView all(line);
        const QStringView first = all.first(qMin(all.size(), kRightColumn));
        if (first.trimmed().isEmpty())
            return parseIngredient(all.sliced(kRightColumn), right);
        if (!parseIngredient(first, left))
            return false;
        // A second ingredient in the right column, when the first one's text stops before it.
        const bool twoColumns = all.size() > kRightColumn &&
                                all[kRightColumn - 1] == QLatin1Char(' ') &&
                                parseIngredient(all.sliced(kRightColumn), right);
        if (!twoColumns)
            parseIngredient(all, left);
        return true;
    }

    void flushColumns()
    {
        for (const Ingredient& ingredient : std::as_const(m_left))
            add(ingredient);
        for (const Ingredient& ingredient : std::as_const(m_right))
            add(ingredient);
        m_left.clear();
        m_right.clear();
    }

    // Adds an ingredient; a continuation line adds its text to the one before it, which
    // is then split again at its first ";" into name and preparation. A text that filled
    // its column was cut where the column ended, inside a word ("picked ov", "-er"), unless
    // the continuation starts with a blank.
    void add(const Ingredient& ingredient)
    {
        if (ingredient.continuation() && m_last >= 0) {
            const QString piece = ingredient.text.mid(1);
            const bool cutInWord = m_lastPiece == kTextWidth && !piece.startsWith(QLatin1Char(' '));
            if (!cutInWord)
                m_lastText += QLatin1Char(' ');
            m_lastText += piece.trimmed();
            m_lastPiece = ingredient.text.size();
            split(m_lastText, &m_recipe.rows[m_last]);
            return;
        }
        IngredientRow row{ingredient.quantity, ingredient.unit, QString(), QString()};
        split(ingredient.text, &row);
        m_last = int(m_recipe.rows.size());
        m_lastText = ingredient.text;
        m_lastPiece = ingredient.text.size();
        m_recipe.rows.append(row);
    }

    static void split(const QString& text, IngredientRow* row)
    {
        row->name = text.section(QLatin1Char(';'), 0, 0).trimmed();
        row->preparation = text.section(QLatin1Char(';'), 1).trimmed();
    }

    // The directions add no rows, so the ingredients gathered last are added at the end.
    void startDirections(const QString& line)
    {
        m_pendingLine = 0;
        m_state = State::Directions;
        directionLine(line);
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
    QList<Ingredient> m_left; // the block's columns, not added yet
    QList<Ingredient> m_right;
    int m_last = -1;           // the row a continuation line adds to
    QString m_lastText;        // its text as written, continuations added
    qsizetype m_lastPiece = 0; // the length of its last line's text
    bool m_listAbove = false;  // the line above is an ingredient or the header
    QString m_pending;         // a line below an ingredient that is no ingredient
    int m_pendingLine = 0;
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
    QString text = decodeImportedText(bytes, OldCodePages::WindowsOrDos);
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
