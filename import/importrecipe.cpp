// SPDX-License-Identifier: GPL-2.0-or-later

#include "import/importrecipe.h"

#include "platform/cp1252.h"
#include "platform/daycount.h"
#include "recipes/textrules.h"

#include <QFileInfo>

namespace {

// Vulgar fractions Windows-1252 has no byte for (it has ¼, ½ and ¾).
struct Fraction {
    char16_t ch;
    const char* text;
};
constexpr Fraction kFractions[] = {{u'\u2153', "1/3"}, {u'\u2154', "2/3"}, {u'\u2155', "1/5"},
                                   {u'\u2156', "2/5"}, {u'\u2157', "3/5"}, {u'\u2158', "4/5"},
                                   {u'\u2159', "1/6"}, {u'\u215A', "5/6"}, {u'\u215B', "1/8"},
                                   {u'\u215C', "3/8"}, {u'\u215D', "5/8"}, {u'\u215E', "7/8"},
                                   {u'\u2150', "1/7"}, {u'\u2151', "1/9"}, {u'\u2152', "1/10"}};

const char* fractionText(QChar ch)
{
    for (const Fraction& f : kFractions) {
        if (ch.unicode() == f.ch)
            return f.text;
    }
    return nullptr;
}

void appendLines(TSTRING& list, const QStringList& lines)
{
    for (const QString& line : lines)
        list.append(recordText(line));
}

} // namespace

QString ImportProblem::toString() const
{
    const QString place = where.isEmpty() ? file : file + QStringLiteral(", ") + where;
    return place + QStringLiteral(": ") + reason;
}

QByteArray recordText(QStringView text)
{
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == QLatin1Char('\t') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r') ||
            ch == QChar(0x2028) || ch == QChar(0x2029)) {
            clean += QLatin1Char(' ');
        } else if (ch.unicode() < 0x20 || ch.unicode() == 0x7F) {
            continue;
        } else if (const char* fraction = fractionText(ch)) {
            if (!clean.isEmpty() && clean.back().isDigit())
                clean += QLatin1Char(' ');
            clean += QLatin1String(fraction);
        } else if (ch.unicode() == 0x2044) { // fraction slash
            clean += QLatin1Char('/');
        } else {
            clean += ch;
        }
    }
    return cp1252::fromUnicode(clean);
}

qint64 durationSeconds(QStringView text)
{
    text = text.trimmed();
    if (text.size() < 3 || text.size() > 40 || text[0].toUpper() != QLatin1Char('P'))
        return -1;
    // Whole numbers with a designator each; the date part takes years, months, weeks and
    // days, the time part after "T" hours, minutes and seconds. Decimal fractions are cut
    // off.
    qint64 seconds = 0;
    bool inTime = false, any = false, fraction = false;
    qint64 number = -1;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar ch = text[i].toUpper();
        if (ch.isDigit()) {
            if (!fraction)
                number = (number < 0 ? 0 : number) * 10 + ch.digitValue();
            if (number > 100000000)
                return -1;
            continue;
        }
        if (ch == QLatin1Char('.') || ch == QLatin1Char(',')) {
            fraction = true;
            continue;
        }
        if (ch == QLatin1Char('T') && !inTime && number < 0) {
            inTime = true;
            continue;
        }
        if (number < 0)
            return -1;
        qint64 unit = 0;
        if (!inTime && ch == QLatin1Char('Y'))
            unit = 365 * 86400;
        else if (!inTime && ch == QLatin1Char('M'))
            unit = 30 * 86400;
        else if (!inTime && ch == QLatin1Char('W'))
            unit = 7 * 86400;
        else if (!inTime && ch == QLatin1Char('D'))
            unit = 86400;
        else if (inTime && ch == QLatin1Char('H'))
            unit = 3600;
        else if (inTime && ch == QLatin1Char('M'))
            unit = 60;
        else if (inTime && ch == QLatin1Char('S'))
            unit = 1;
        else
            return -1;
        seconds += number * unit;
        number = -1;
        fraction = false;
        any = true;
    }
    return any && number < 0 ? seconds : -1;
}

QString formatDuration(qint64 seconds)
{
    if (seconds <= 0)
        return {};
    const qint64 hours = seconds / 3600;
    const qint64 minutes = (seconds % 3600) / 60;
    QStringList parts;
    if (hours > 0)
        parts << QStringLiteral("%1 h").arg(hours);
    if (minutes > 0)
        parts << QStringLiteral("%1 min").arg(minutes);
    if (parts.isEmpty())
        parts << QStringLiteral("%1 s").arg(seconds);
    return parts.join(QLatin1Char(' '));
}

QString durationText(QStringView text)
{
    return formatDuration(durationSeconds(text));
}

QString cookingTime(const NamedTime& total, const QList<NamedTime>& parts)
{
    QStringList named;
    qint64 sum = 0;
    bool added = true;
    for (const NamedTime& part : parts) {
        if (part.isEmpty())
            continue;
        const QString length = part.seconds > 0 ? formatDuration(part.seconds) : part.text;
        named << (part.name.isEmpty() ? length : part.name + QLatin1Char(' ') + length);
        if (part.seconds > 0)
            sum += part.seconds;
        else
            added = false;
    }
    QString text;
    if (!total.isEmpty())
        text = total.seconds > 0 ? formatDuration(total.seconds) : total.text;
    else if (added)
        text = formatDuration(sum);
    if (named.isEmpty())
        return text;
    if (text.isEmpty())
        return named.join(QStringLiteral(", "));
    return text + QStringLiteral(" (") + named.join(QStringLiteral(", ")) + QLatin1Char(')');
}

void keepSource(ImportedRecipe& recipe, const QString& label, const QString& value)
{
    const QString text = value.simplified();
    if (text.isEmpty())
        return;
    const QString line = label + QStringLiteral(": ") + text;
    if (recipe.remark.trimmed().isEmpty())
        recipe.remark = line;
    else
        recipe.comments << line;
}

namespace {

// A character reference at text[i] ('&'); the decoded text and the reference's length,
// or an empty text when it is none.
QString characterReference(QStringView text, qsizetype i, qsizetype* length)
{
    // References are short: only the next few characters are searched, so a text of
    // many "&" is read in linear time.
    const qsizetype semicolon =
        text.sliced(i, qMin(text.size() - i, qsizetype(12))).indexOf(QLatin1Char(';')) + i;
    if (semicolon < i)
        return {};
    const QStringView name = text.sliced(i + 1, semicolon - i - 1);
    *length = semicolon - i + 1;
    static const struct {
        const char* name;
        char16_t ch;
    } kNamed[] = {{"amp", u'&'},         {"lt", u'<'},          {"gt", u'>'},
                  {"quot", u'"'},        {"apos", u'\''},       {"nbsp", u' '},
                  {"deg", u'\u00B0'},    {"frac12", u'\u00BD'}, {"frac14", u'\u00BC'},
                  {"frac34", u'\u00BE'}, {"ndash", u'\u2013'},  {"mdash", u'\u2014'},
                  {"rsquo", u'\u2019'},  {"lsquo", u'\u2018'},  {"hellip", u'\u2026'}};
    for (const auto& named : kNamed) {
        if (name == QLatin1String(named.name))
            return QString(QChar(named.ch));
    }
    if (name.size() < 2 || name[0] != QLatin1Char('#'))
        return {};
    bool ok = false;
    const uint code = (name[1] == QLatin1Char('x') || name[1] == QLatin1Char('X'))
                          ? name.sliced(2).toUInt(&ok, 16)
                          : name.sliced(1).toUInt(&ok, 10);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {};
    const char32_t ch = code;
    return QString::fromUcs4(&ch, 1);
}

bool breaksLine(QStringView tag)
{
    static const char* const kBreaks[] = {"br",  "/p",  "p",   "/li", "li",  "/div",
                                          "/h1", "/h2", "/h3", "/h4", "/ol", "/ul"};
    qsizetype end = 0;
    while (end < tag.size() && (tag[end].isLetterOrNumber() || tag[end] == QLatin1Char('/')))
        ++end;
    const QStringView name = tag.first(end);
    for (const char* b : kBreaks) {
        if (name.compare(QLatin1String(b), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

QString htmlToText(QStringView html)
{
    if (!html.contains(QLatin1Char('<')) && !html.contains(QLatin1Char('&')))
        return html.toString();
    QString out;
    out.reserve(html.size());
    qsizetype close = 0; // the next ">"; -1 when there is none, so no later "<" searches
    for (qsizetype i = 0; i < html.size(); ++i) {
        const QChar ch = html[i];
        if (ch == QLatin1Char('<')) {
            if (close >= 0 && close <= i)
                close = html.indexOf(QLatin1Char('>'), i);
            // "<" that starts no tag ("a < b") stays.
            if (close < 0 || i + 1 >= html.size() ||
                !(html[i + 1].isLetter() || html[i + 1] == QLatin1Char('/'))) {
                out += ch;
                continue;
            }
            if (breaksLine(html.sliced(i + 1, close - i - 1)))
                out += QLatin1Char('\n');
            i = close;
        } else if (ch == QLatin1Char('&')) {
            qsizetype length = 0;
            const QString decoded = characterReference(html, i, &length);
            if (decoded.isEmpty()) {
                out += ch;
            } else {
                out += decoded;
                i += length - 1;
            }
        } else {
            out += ch;
        }
    }
    return out;
}

int lineAt(QStringView text, qsizetype offset)
{
    offset = qBound(qsizetype(0), offset, text.size());
    return int(text.first(offset).count(QLatin1Char('\n'))) + 1;
}

QString nameFromFile(const QString& path)
{
    return QFileInfo(path).completeBaseName();
}

DroppedFields::DroppedFields(const QString& path, QList<ImportProblem>* problems)
    : m_path(path), m_problems(problems)
{
}

void DroppedFields::add(const QString& field, const QString& where)
{
    auto it = m_seen.find(field);
    if (it != m_seen.end()) {
        ++it->count;
        return;
    }
    m_seen.insert(field, {m_problems->size(), 1});
    m_problems->append(
        {m_path, where, QStringLiteral("%1 is not read; its text was not imported").arg(field)});
}

void DroppedFields::finish()
{
    for (const Seen& seen : std::as_const(m_seen)) {
        if (seen.count > 1)
            (*m_problems)[seen.problem].reason +=
                QStringLiteral(" (%1 times in this file; the first is here)").arg(seen.count);
    }
    m_seen.clear();
}

void deliverRecipe(ImportedRecipe& recipe, const QString& path, const QString& where,
                   const RecipeSink& sink, QList<ImportProblem>* problems)
{
    recipe.name = recipe.name.simplified();
    if (recipe.name.isEmpty() || recordText(recipe.name).trimmed().isEmpty()) {
        recipe.name = nameFromFile(path);
        if (recipe.name.trimmed().isEmpty())
            recipe.name = QStringLiteral("Imported recipe");
        problems->append(
            {path, where,
             QStringLiteral("the recipe has no name; it was imported as \"%1\"").arg(recipe.name)});
    }
    sink(recipe);
}

TKVG ImportedRecipe::toRecord() const
{
    TKVG r;
    r.Kind = rows.isEmpty() ? 0 : 1;
    r.Name = recordText(name);
    QByteArray joined;
    for (const QString& category : categories) {
        const QByteArray text = recordText(category).trimmed();
        if (!text.isEmpty())
            joined += text + ',';
    }
    r.Categories = joined.isEmpty() ? QByteArray() : NormaliseCommaList(joined);
    r.Difficulty = 1;
    r.Servings = recordText(servings).trimmed();
    r.PrepTime = recordText(totalTime).trimmed();
    r.Remark = recordText(remark).trimmed();
    r.PictureFile = picture;
    r.LastCooked = currentDayCount();
    r.ListIndex = -1;
    appendLines(r.Ingredients, ingredients);
    appendLines(r.Instructions, instructions);
    appendLines(r.Comments, comments);
    for (const IngredientRow& row : rows) {
        r.Quantities.append(recordText(row.quantity));
        r.Units.append(recordText(row.unit));
        r.IngredientNames.append(recordText(row.name));
        r.Descriptions.append(recordText(row.preparation));
    }
    return r;
}
