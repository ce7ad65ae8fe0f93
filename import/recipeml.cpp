#include "import/recipeml.h"

#include <QXmlStreamReader>

namespace {

bool is(const QXmlStreamReader& xml, QLatin1String name)
{
    return xml.name().compare(name, Qt::CaseInsensitive) == 0;
}

// The text of the current element and everything below it, blanks collapsed. With a
// separator other than a blank, the texts of child elements are joined by it ("1-2" for
// a range of quantities). Leaves the reader on the element's end.
QString collectText(QXmlStreamReader& xml, QLatin1String separator = QLatin1String(" "))
{
    const bool blank = separator == QLatin1String(" ");
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (blank)
                text += QLatin1Char(' ');
            else if (!text.trimmed().isEmpty() && !text.endsWith(separator))
                text = text.trimmed() + separator;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            text += blank ? xml.text() : xml.text().trimmed();
            break;
        default:
            break;
        }
    }
    return text.simplified();
}

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
                m_xml.skipCurrentElement();
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

    void head()
    {
        QString anyTime;
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
                m_current.servings = collectText(m_xml);
            } else if (is(m_xml, QLatin1String("preptime"))) {
                const bool total = m_xml.attributes()
                                       .value(QLatin1String("type"))
                                       .contains(QLatin1String("total"), Qt::CaseInsensitive);
                const QString time = collectText(m_xml);
                if (total)
                    m_current.totalTime = time;
                else if (anyTime.isEmpty())
                    anyTime = time;
            } else if (is(m_xml, QLatin1String("description"))) {
                m_current.remark = collectText(m_xml);
            } else {
                m_xml.skipCurrentElement();
            }
        });
        if (m_current.totalTime.isEmpty())
            m_current.totalTime = anyTime;
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
                m_xml.skipCurrentElement();
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
                m_xml.skipCurrentElement();
            }
        });
    }

    void note()
    {
        const QString text = collectText(m_xml);
        if (!text.isEmpty())
            m_current.comments << text;
    }

    void ingredient()
    {
        IngredientRow row;
        forEachChild([&] {
            if (is(m_xml, QLatin1String("amt"))) {
                forEachChild([&] {
                    if (is(m_xml, QLatin1String("qty")))
                        row.quantity = collectText(m_xml, QLatin1String("-"));
                    else if (is(m_xml, QLatin1String("unit")))
                        row.unit = collectText(m_xml);
                    else
                        m_xml.skipCurrentElement();
                });
            } else if (is(m_xml, QLatin1String("item"))) {
                row.name = collectText(m_xml);
            } else if (is(m_xml, QLatin1String("prep"))) {
                row.preparation = collectText(m_xml);
            } else {
                m_xml.skipCurrentElement(); // alternatives, notes of one ingredient
            }
        });
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
                m_xml.skipCurrentElement();
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
                m_xml.skipCurrentElement();
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
