// SPDX-License-Identifier: GPL-2.0-or-later

#include "export/exportrecipe.h"

#include "platform/cp1252.h"
#include "platform/filelookup.h"
#include "recipes/quantity.h"
#include "recipes/recipetexts.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {

QStringList nonEmptyLines(const QString& text)
{
    QStringList lines;
    for (const QString& line : text.split(u'\n')) {
        const QString simple = line.simplified();
        if (!simple.isEmpty())
            lines << simple;
    }
    return lines;
}

// The text's lines as the program shows them, one entry per line (blank ones too, so the
// four deluxe columns stay in step).
QStringList shownLines(const TKVG& recipe, const char* name, QStringList* unreadable)
{
    for (const RecipeTextField& field : recipeTextFields()) {
        if (qstrcmp(field.name, name) != 0)
            continue;
        QString error;
        const QString text = displayedText(recipe, field, &error);
        if (!error.isEmpty())
            unreadable->append(error);
        return text.isEmpty() ? QStringList() : text.split(u'\n');
    }
    return {};
}

QStringList commaList(const QByteArray& list)
{
    QStringList items;
    for (const QByteArray& item : list.split(',')) {
        const QString text = cp1252::toUnicode(item).simplified();
        if (!text.isEmpty())
            items << text;
    }
    return items;
}

void readRows(const TKVG& recipe, ExportedRecipe* out)
{
    const QStringList quantities = shownLines(recipe, "Quantities", &out->unreadable);
    const QStringList units = shownLines(recipe, "Units", &out->unreadable);
    const QStringList names = shownLines(recipe, "IngredientNames", &out->unreadable);
    const QStringList preparations = shownLines(recipe, "Descriptions", &out->unreadable);
    const qsizetype count = std::max({quantities.size(), units.size(), names.size()});
    for (qsizetype i = 0; i < count; ++i) {
        const ExportRow row{quantities.value(i).simplified(), units.value(i).simplified(),
                            names.value(i).simplified(), preparations.value(i).simplified()};
        if (row.quantity.isEmpty() && row.unit.isEmpty() && row.name.isEmpty())
            continue;
        out->rows << row;
        out->ingredients << row.line();
    }
}

// --- cooking times ---------------------------------------------------------------------

// Seconds of a unit word; 0 for a word that is none.
qint64 unitSeconds(QStringView word)
{
    QString w = word.toString().toCaseFolded();
    if (w.endsWith(u'.'))
        w.chop(1);
    static const struct {
        const char* word;
        qint64 seconds;
    } kUnits[] = {{"s", 1},          {"sec", 1},      {"secs", 1},     {"second", 1},
                  {"seconds", 1},    {"sek", 1},      {"sekunden", 1}, {"m", 60},
                  {"min", 60},       {"mins", 60},    {"minute", 60},  {"minutes", 60},
                  {"minuten", 60},   {"h", 3600},     {"hr", 3600},    {"hrs", 3600},
                  {"hour", 3600},    {"hours", 3600}, {"std", 3600},   {"stunde", 3600},
                  {"stunden", 3600}, {"d", 86400},    {"day", 86400},  {"days", 86400},
                  {"tag", 86400},    {"tage", 86400}};
    for (const auto& unit : kUnits) {
        if (w == QLatin1String(unit.word))
            return unit.seconds;
    }
    return 0;
}

// "1:30" as hours and minutes; none when text is not one.
std::optional<qint64> clockTime(QStringView text)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon <= 0 || text.size() - colon != 3)
        return std::nullopt;
    bool hoursOk = false, minutesOk = false;
    const int hours = text.first(colon).toInt(&hoursOk);
    const int minutes = text.sliced(colon + 1).toInt(&minutesOk);
    if (!hoursOk || !minutesOk || hours < 0 || minutes < 0 || minutes > 59)
        return std::nullopt;
    return qint64(hours) * 3600 + minutes * 60;
}

// The length of a piece of text: amounts each followed by a unit word, a clock time, or
// a bare number as minutes; -1 when the piece holds none.
qint64 pieceSeconds(QStringView text)
{
    text = text.trimmed();
    if (const auto clock = clockTime(text))
        return *clock;
    if (const auto number = readQuantity(text); number && !number->range)
        return qRound64(number->low * 60);
    qint64 seconds = 0;
    bool any = false;
    qsizetype at = 0;
    while (at < text.size()) {
        const auto q = readLeadingQuantity(text.sliced(at));
        if (!q) {
            ++at;
            continue;
        }
        qsizetype wordStart = at + q->end;
        while (wordStart < text.size() && text[wordStart].isSpace())
            ++wordStart;
        qsizetype wordEnd = wordStart;
        while (wordEnd < text.size() && (text[wordEnd].isLetter() || text[wordEnd] == u'.'))
            ++wordEnd;
        const qint64 unit = unitSeconds(text.sliced(wordStart, wordEnd - wordStart));
        if (unit > 0 && wordEnd > wordStart) {
            // A range counts with its upper end: the time to plan for.
            seconds += qRound64(q->high * double(unit));
            any = true;
        }
        at = qMax(wordEnd, at + 1);
    }
    return any ? seconds : -1;
}

enum class Part { Total, Preparation, Cooking, Other };

// What a piece's leading word names.
Part partOf(QStringView piece)
{
    piece = piece.trimmed();
    qsizetype end = 0;
    while (end < piece.size() && piece[end].isLetter())
        ++end;
    const QString word = piece.first(end).toString().toCaseFolded();
    if (word.isEmpty() || unitSeconds(word) > 0)
        return Part::Total;
    for (const char* prep :
         {"preparation", "prep", "prepare", "zubereitung", "vorbereitung", "arbeitszeit"}) {
        if (word == QLatin1String(prep))
            return Part::Preparation;
    }
    for (const char* cook : {"cooking", "cook", "baking", "bake", "kochzeit", "backzeit", "garzeit",
                             "kochen", "backen"}) {
        if (word == QLatin1String(cook))
            return Part::Cooking;
    }
    for (const char* total :
         {"total", "gesamt", "gesamtzeit", "insgesamt", "about", "ca", "approx", "etwa"}) {
        if (word == QLatin1String(total))
            return Part::Total;
    }
    return Part::Other;
}

} // namespace

QString ExportRow::line() const
{
    QStringList parts;
    for (const QString* part : {&quantity, &unit, &name}) {
        if (!part->isEmpty())
            parts << *part;
    }
    QString text = parts.join(u' ');
    if (!preparation.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(", ")) + preparation;
    return text;
}

CookingTimes readCookingTime(QStringView text)
{
    CookingTimes times;
    qint64 parts = 0;
    bool partsRead = false;
    qsizetype from = 0;
    while (from <= text.size()) {
        qsizetype end = from;
        while (end < text.size() && text[end] != u'(' && text[end] != u')' && text[end] != u',' &&
               text[end] != u';')
            ++end;
        const QStringView piece = text.sliced(from, end - from);
        const qint64 seconds = pieceSeconds(piece);
        if (seconds > 0) {
            switch (partOf(piece)) {
            case Part::Total:
                if (times.total < 0)
                    times.total = seconds;
                break;
            case Part::Preparation:
                times.preparation = seconds;
                parts += seconds;
                partsRead = true;
                break;
            case Part::Cooking:
                times.cooking = seconds;
                parts += seconds;
                partsRead = true;
                break;
            case Part::Other:
                parts += seconds;
                partsRead = true;
                break;
            }
        }
        from = end + 1;
    }
    if (times.total < 0 && partsRead)
        times.total = parts;
    return times;
}

QString isoDuration(qint64 seconds)
{
    if (seconds <= 0)
        return {};
    QString text = QStringLiteral("PT");
    if (const qint64 hours = seconds / 3600)
        text += QString::number(hours) + u'H';
    if (const qint64 minutes = seconds % 3600 / 60)
        text += QString::number(minutes) + u'M';
    if (const qint64 rest = seconds % 60)
        text += QString::number(rest) + u'S';
    return text;
}

ExportedRecipe exportedRecipe(const TKVG& recipe)
{
    ExportedRecipe out;
    out.name = cp1252::toUnicode(recipe.Name).simplified();
    out.categories = commaList(recipe.Categories);
    out.servings = cp1252::toUnicode(recipe.Servings).simplified();
    out.time = cp1252::toUnicode(recipe.PrepTime).simplified();
    out.times = readCookingTime(out.time);
    out.remark = cp1252::toUnicode(recipe.Remark).simplified();
    out.deluxe = recipe.Kind == 1 && recipe.hasDeluxeLines();
    if (out.deluxe)
        readRows(recipe, &out);
    else
        out.ingredients =
            nonEmptyLines(shownLines(recipe, "Ingredients", &out.unreadable).join(u'\n'));
    out.instructions =
        nonEmptyLines(shownLines(recipe, "Instructions", &out.unreadable).join(u'\n'));
    out.comments = nonEmptyLines(shownLines(recipe, "Comments", &out.unreadable).join(u'\n'));
    if (!recipe.PictureFile.isEmpty()) {
        const QString path = lookupPath(recipe.PictureFile);
        if (QFileInfo(path).isFile())
            out.picture = path;
    }
    out.keywords = out.categories;
    for (const QByteArray* source : {&recipe.Binder, &recipe.Magazine, &recipe.Book}) {
        const QString text = cp1252::toUnicode(*source).simplified();
        if (!text.isEmpty() && !out.keywords.contains(text, Qt::CaseInsensitive))
            out.keywords << text;
    }
    return out;
}

// --- file names ------------------------------------------------------------------------

bool ExportFileNames::isFree(const QString& stem) const
{
    static const QStringList kReserved{
        QStringLiteral("con"),  QStringLiteral("prn"),  QStringLiteral("aux"),
        QStringLiteral("nul"),  QStringLiteral("com1"), QStringLiteral("com2"),
        QStringLiteral("com3"), QStringLiteral("com4"), QStringLiteral("com5"),
        QStringLiteral("com6"), QStringLiteral("com7"), QStringLiteral("com8"),
        QStringLiteral("com9"), QStringLiteral("lpt1"), QStringLiteral("lpt2"),
        QStringLiteral("lpt3"), QStringLiteral("lpt4"), QStringLiteral("lpt5"),
        QStringLiteral("lpt6"), QStringLiteral("lpt7"), QStringLiteral("lpt8"),
        QStringLiteral("lpt9")};
    const QString folded = stem.toCaseFolded();
    return !m_taken.contains(folded) && !kReserved.contains(folded);
}

QString ExportFileNames::take(const QString& name)
{
    constexpr qsizetype kMaxStem = 60;
    QString stem;
    bool gap = false;
    for (QChar ch : name) {
        // Letters and digits only: no separator, dot, quote or control character of any
        // file system or address (a surrogate half is no letter either).
        if (!ch.isLetterOrNumber()) {
            gap = true;
            continue;
        }
        const bool dash = gap && !stem.isEmpty();
        if (stem.size() + (dash ? 2 : 1) > kMaxStem)
            break;
        if (dash)
            stem += u'-';
        stem += ch;
        gap = false;
    }
    if (stem.isEmpty())
        stem = QStringLiteral("recipe");
    QString candidate = stem;
    for (int n = 2; !isFree(candidate); ++n)
        candidate = stem + u'-' + QString::number(n);
    m_taken.insert(candidate.toCaseFolded());
    return candidate;
}
