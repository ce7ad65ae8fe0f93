// SPDX-License-Identifier: GPL-2.0-or-later

#include "import/recipeml.h"

#include "import/recipemlvalues.h"

using namespace recipeml;

namespace {

class RecipeMlReader {
public:
    RecipeMlReader(const QByteArray& bytes, const QString& path, const RecipeSink& sink,
                   QList<ImportProblem>* problems)
        : m_xml(bytes), m_path(path), m_sink(sink), m_problems(problems)
    {
    }

    void run()
    {
        while (!m_xml.atEnd()) {
            if (m_xml.readNext() == QXmlStreamReader::StartElement && is(m_xml, kRecipe))
                recipe();
        }
        if (m_xml.hasError())
            reportError();
        else if (m_seen == 0)
            m_problems->append({m_path, QString(), QStringLiteral("no RecipeML recipe was found")});
        m_dropped.finish();
    }

private:
    static constexpr QLatin1String kRecipe{"recipe"};

    void recipe()
    {
        ++m_seen;
        const int line = int(m_xml.lineNumber());
        m_current = ImportedRecipe();
        m_inRecipe = true;
        forEachChild([this] {
            if (is(m_xml, QLatin1String("head")))
                head();
            else if (is(m_xml, QLatin1String("ingredients")))
                ingredients();
            else if (is(m_xml, QLatin1String("directions")))
                directions();
            else
                dropped();
        });
        if (m_xml.hasError())
            return; // reported with the error; the recipe is incomplete
        m_inRecipe = false;
        deliverRecipe(m_current, m_path, QStringLiteral("line %1").arg(line), m_sink, m_problems);
    }

    // Calls visit for each child element of the current one, the reader on the child's
    // start; visit must leave it on the child's end.
    template <typename Visit> void forEachChild(Visit visit)
    {
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::EndElement)
                return;
            if (token == QXmlStreamReader::StartElement)
                visit();
        }
    }

    // Skips the current element; one that holds text is named in the problems.
    void dropped()
    {
        const QString name = m_xml.name().toString().toLower();
        const int line = int(m_xml.lineNumber());
        if (!collectText(m_xml).isEmpty())
            m_dropped.add(QStringLiteral("<%1>").arg(name), QStringLiteral("line %1").arg(line));
    }

    void head()
    {
        NamedTime total;
        QList<NamedTime> parts;
        QStringList sources;
        forEachChild([&] {
            if (is(m_xml, QLatin1String("title"))) {
                m_current.name = collectText(m_xml);
            } else if (is(m_xml, QLatin1String("categories"))) {
                forEachChild([&] {
                    const QString category = collectText(m_xml);
                    if (!category.isEmpty())
                        m_current.categories << category;
                });
            } else if (is(m_xml, QLatin1String("yield"))) {
                m_current.servings = yieldText();
            } else if (is(m_xml, QLatin1String("preptime"))) {
                const NamedTime time = namedTime();
                if (time.name.contains(QLatin1String("total")))
                    total = time;
                else
                    parts << time;
            } else if (is(m_xml, QLatin1String("description"))) {
                m_current.remark = collectText(m_xml);
            } else if (is(m_xml, QLatin1String("source"))) {
                sources << collectText(m_xml);
            } else {
                dropped();
            }
        });
        m_current.totalTime = cookingTime(total, parts);
        for (const QString& source : std::as_const(sources))
            keepSource(m_current, QStringLiteral("Source"), source);
    }

    // "6 servings", "2-3 dozen": quantities and the words beside them.
    QString yieldText()
    {
        QStringList parts;
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::EndElement)
                break;
            QString part;
            if (token == QXmlStreamReader::Characters)
                part = m_xml.text().toString().simplified();
            else if (token == QXmlStreamReader::StartElement)
                part = isQuantityElement(m_xml) ? quantityText(m_xml) : collectText(m_xml);
            if (!part.isEmpty())
                parts << part;
        }
        return parts.join(QLatin1Char(' '));
    }

    // A "preptime": its type as the name, its times ("<time><qty>1</qty><timeunit>hour
    // </timeunit></time>", one or more) added up, or its text when they cannot be.
    NamedTime namedTime()
    {
        NamedTime part;
        part.name =
            m_xml.attributes().value(QLatin1String("type")).toString().simplified().toLower();
        QStringList texts;
        double seconds = 0;
        double number = 0;
        bool readable = true, haveNumber = false, any = false;
        int depth = 1;
        while (depth > 0 && !m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::EndElement) {
                --depth;
            } else if (token == QXmlStreamReader::Characters) {
                if (const QString text = m_xml.text().toString().simplified(); !text.isEmpty()) {
                    texts << text;
                    readable = false;
                }
            } else if (token != QXmlStreamReader::StartElement) {
                continue;
            } else if (isQuantityElement(m_xml)) {
                const QString quantity = quantityText(m_xml);
                texts << quantity;
                number = numberOf(quantity);
                readable = readable && !haveNumber && number >= 0;
                haveNumber = true;
            } else if (is(m_xml, QLatin1String("timeunit"))) {
                const QString unit = collectText(m_xml);
                texts << unit;
                const qint64 per = secondsPer(unit);
                readable = readable && haveNumber && per > 0;
                seconds += number * double(per);
                haveNumber = false;
                any = true;
            } else {
                ++depth;
            }
        }
        part.text = texts.join(QLatin1Char(' '));
        if (readable && any && !haveNumber)
            part.seconds = qint64(seconds + 0.5);
        return part;
    }

    void ingredients()
    {
        forEachChild([this] {
            if (is(m_xml, QLatin1String("ing")))
                ingredient();
            else if (is(m_xml, QLatin1String("ing-div")))
                ingredientGroup();
            else if (is(m_xml, QLatin1String("note")))
                note();
            else
                dropped();
        });
    }

    void ingredientGroup()
    {
        forEachChild([this] {
            if (is(m_xml, QLatin1String("title"))) {
                const QString title = collectText(m_xml);
                if (!title.isEmpty())
                    m_current.rows.append({QString(), QString(), title, QString()});
            } else if (is(m_xml, QLatin1String("ing"))) {
                ingredient();
            } else if (is(m_xml, QLatin1String("note"))) {
                note();
            } else {
                dropped();
            }
        });
    }

    void note()
    {
        const QString text = collectText(m_xml);
        if (!text.isEmpty())
            m_current.comments << text;
    }

    // An ingredient's amount (the first one), item and preparation; its notes follow the
    // preparation.
    void ingredient()
    {
        IngredientRow row;
        QStringList preparation;
        bool amount = false;
        forEachChild([&] {
            if (is(m_xml, QLatin1String("amt")) && !amount) {
                amount = true;
                forEachChild([&] {
                    if (isQuantityElement(m_xml))
                        row.quantity = quantityText(m_xml);
                    else if (is(m_xml, QLatin1String("unit")))
                        row.unit = collectText(m_xml);
                    else
                        dropped();
                });
            } else if (is(m_xml, QLatin1String("item"))) {
                row.name = collectText(m_xml);
            } else if (is(m_xml, QLatin1String("prep")) || is(m_xml, QLatin1String("note"))) {
                if (const QString text = collectText(m_xml); !text.isEmpty())
                    preparation << text;
            } else {
                dropped(); // a second amount, alternatives
            }
        });
        row.preparation = preparation.join(QStringLiteral("; "));
        m_current.rows.append(row);
    }

    void directions()
    {
        QString loose;
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::EndElement)
                break;
            if (token == QXmlStreamReader::Characters)
                loose += m_xml.text();
            if (token != QXmlStreamReader::StartElement)
                continue;
            addLoose(&loose);
            if (is(m_xml, QLatin1String("step")) || is(m_xml, QLatin1String("note")))
                addStep(collectText(m_xml));
            else if (is(m_xml, QLatin1String("dir-div")))
                directionGroup();
            else
                dropped();
        }
        addLoose(&loose);
    }

    void directionGroup()
    {
        forEachChild([this] {
            if (is(m_xml, QLatin1String("title")) || is(m_xml, QLatin1String("step")) ||
                is(m_xml, QLatin1String("note")))
                addStep(collectText(m_xml));
            else
                dropped();
        });
    }

    // Text directly inside "directions": one line per paragraph.
    void addLoose(QString* text)
    {
        for (const QString& paragraph : text->split(QStringLiteral("\n\n")))
            addStep(paragraph.simplified());
        text->clear();
    }

    void addStep(const QString& text)
    {
        if (!text.isEmpty())
            m_current.instructions << text;
    }

    void reportError()
    {
        QString reason = QStringLiteral("the XML is damaged (%1)").arg(m_xml.errorString());
        if (m_inRecipe) {
            const QString name = m_current.name.simplified();
            reason += name.isEmpty()
                          ? QStringLiteral("; the recipe read there was not imported")
                          : QStringLiteral("; the recipe \"%1\" was not imported").arg(name);
        }
        reason += QStringLiteral("; nothing after it was read");
        m_problems->append(
            {m_path,
             QStringLiteral("line %1, column %2").arg(m_xml.lineNumber()).arg(m_xml.columnNumber()),
             reason});
    }

    QXmlStreamReader m_xml;
    QString m_path;
    const RecipeSink& m_sink;
    QList<ImportProblem>* m_problems;
    ImportedRecipe m_current;
    bool m_inRecipe = false;
    int m_seen = 0;
    DroppedFields m_dropped{m_path, m_problems};
};

} // namespace

bool looksLikeRecipeMl(QStringView text)
{
    return text.first(qMin(text.size(), qsizetype(4096)))
        .contains(QLatin1String("<recipeml"), Qt::CaseInsensitive);
}

void readRecipeMl(const QByteArray& bytes, const QString& path, const RecipeSink& sink,
                  QList<ImportProblem>* problems)
{
    RecipeMlReader(bytes, path, sink, problems).run();
}
