// SPDX-License-Identifier: GPL-2.0-or-later

#include "import/recipemlvalues.h"

namespace recipeml {

bool is(const QXmlStreamReader& xml, QLatin1String name)
{
    return xml.name().compare(name, Qt::CaseInsensitive) == 0;
}

QString collectText(QXmlStreamReader& xml)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            text += QLatin1Char(' ');
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            text += xml.text();
            break;
        default:
            break;
        }
    }
    return text.simplified();
}

// Quantities nest ranges in quantities and quantities in ranges; deeper than this the
// text is taken as it is, so a hostile file cannot exhaust the stack.
constexpr int kMaxQuantityDepth = 8;

// "<frac><n>1</n><d>2</d></frac>" and "<frac>1/2</frac>" as "1/2".
static QString fractionText(QXmlStreamReader& xml)
{
    QString numerator, denominator, text;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement)
            break;
        if (token == QXmlStreamReader::Characters)
            text += xml.text();
        else if (token != QXmlStreamReader::StartElement)
            continue;
        else if (is(xml, QLatin1String("n")))
            numerator = collectText(xml);
        else if (is(xml, QLatin1String("d")))
            denominator = collectText(xml);
        else
            text += QLatin1Char(' ') + collectText(xml);
    }
    if (!numerator.isEmpty() && !denominator.isEmpty())
        return numerator + QLatin1Char('/') + denominator;
    return QString(numerator + QLatin1Char(' ') + text).simplified();
}

// "<range><q1>2</q1><sep>to</sep><q2>3</q2></range>" as "2-3".
static QString rangeText(QXmlStreamReader& xml, int depth)
{
    QStringList ends;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement)
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (is(xml, QLatin1String("sep"))) {
            xml.skipCurrentElement();
            continue;
        }
        const QString end = quantityText(xml, depth + 1);
        if (!end.isEmpty())
            ends << end;
    }
    return ends.join(QLatin1Char('-'));
}

// Fractions side by side with whole numbers, ranges joined by "-".
QString quantityText(QXmlStreamReader& xml, int depth)
{
    if (depth > kMaxQuantityDepth)
        return collectText(xml);
    if (is(xml, QLatin1String("frac")))
        return fractionText(xml);
    if (is(xml, QLatin1String("range")))
        return rangeText(xml, depth);
    QStringList parts;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement)
            break;
        QString part;
        if (token == QXmlStreamReader::Characters)
            part = xml.text().toString().simplified();
        else if (token == QXmlStreamReader::StartElement)
            part = quantityText(xml, depth + 1);
        if (!part.isEmpty())
            parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

bool isQuantityElement(const QXmlStreamReader& xml)
{
    return is(xml, QLatin1String("qty")) || is(xml, QLatin1String("range")) ||
           is(xml, QLatin1String("frac"));
}

double numberOf(const QString& text)
{
    double value = 0;
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.size() > 2)
        return -1;
    for (const QString& part : parts) {
        bool ok = false;
        const qsizetype slash = part.indexOf(QLatin1Char('/'));
        if (slash < 0) {
            value += part.toDouble(&ok);
        } else {
            bool denominatorOk = false;
            const double numerator = part.left(slash).toDouble(&ok);
            const double denominator = part.mid(slash + 1).toDouble(&denominatorOk);
            ok = ok && denominatorOk && denominator != 0;
            if (ok)
                value += numerator / denominator;
        }
        if (!ok)
            return -1;
    }
    return value;
}

qint64 secondsPer(const QString& unit)
{
    static const struct {
        const char* names[5];
        qint64 seconds;
    } kUnits[] = {{{"second", "seconds", "sec", "secs", "s"}, 1},
                  {{"minute", "minutes", "min", "mins", "m"}, 60},
                  {{"hour", "hours", "hr", "hrs", "h"}, 3600},
                  {{"day", "days", "d", nullptr, nullptr}, 86400}};
    QString word = unit.trimmed().toLower();
    if (word.endsWith(QLatin1Char('.')))
        word.chop(1);
    for (const auto& known : kUnits) {
        for (const char* name : known.names) {
            if (name && word == QLatin1String(name))
                return known.seconds;
        }
    }
    return -1;
}

} // namespace recipeml
