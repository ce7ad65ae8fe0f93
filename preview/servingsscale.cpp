// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/servingsscale.h"

#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"
#include "platform/safefile.h"
#include "preview/render.h"
#include "recipes/quantity.h"

#include <algorithm>

namespace {

/// Replaces the characters from start up to end (at least one) of line by text. The new
/// characters take the formats of the replaced ones in turn, and the last replaced one's
/// beyond them; the rest of the line keeps its characters and formats.
void replaceCharacters(rich::RichLine& line, qsizetype start, qsizetype end, const QString& text)
{
    const QList<quint16> taken = line.formats.mid(start, end - start);
    QList<quint16> formats = line.formats.first(start);
    for (qsizetype k = 0; k < text.size(); ++k)
        formats << taken.at(std::min(k, taken.size() - 1));
    formats << line.formats.sliced(end);
    line.formats = formats;
    line.text.replace(start, end - start, text);
}

/// Replaces quantity, read from the line's text from offset on, by its amounts times
/// factor; false when the text stays as it was.
bool scaleQuantityAt(rich::RichLine& line, qsizetype offset, const Quantity& quantity,
                     double factor)
{
    const QString scaled = formatScaled(quantity, factor);
    const qsizetype start = offset + quantity.start;
    const qsizetype end = offset + quantity.end;
    if (QStringView(line.text).sliced(start, end - start) == scaled)
        return false;
    replaceCharacters(line, start, end, scaled);
    return true;
}

bool scaleLeadingQuantity(rich::RichLine& line, qsizetype offset, double factor)
{
    const auto quantity = readLeadingQuantity(QStringView(line.text).sliced(offset));
    return quantity && scaleQuantityAt(line, offset, *quantity, factor);
}

/// Where the quantity of a shopping list line is looked for: after its tick box (the
/// reader skips the blank behind it); -1 for a line without the box.
qsizetype afterTickBox(const QString& text)
{
    return text.startsWith(QChar(kTickBox)) ? 1 : -1;
}

bool scaleServingsLine(rich::RichLine& line, double factor)
{
    const QLatin1StringView prefix(kServingsLinePrefix);
    if (!line.text.startsWith(prefix))
        return false;
    const auto quantity = servingsQuantity(QStringView(line.text).sliced(prefix.size()));
    return quantity && scaleQuantityAt(line, prefix.size(), *quantity, factor);
}

} // namespace

QString shoppingListLine(const ShoppingItem& item)
{
    ShoppingLine line;
    line.quantity = item.quantityText;
    line.unit = item.unit;
    line.name = item.name;
    return QChar(kTickBox) + QLatin1Char(' ') + line.text();
}

ServingsBase servingsBase(QStringView servingsField)
{
    const auto servings = servingsOf(servingsField);
    if (!servings)
        return {true, 1};
    return {false, *servings};
}

bool scaleElementText(int i, rich::RichDocument& doc, double factor)
{
    if (factor == 1 || !(factor > 0))
        return false;
    bool changed = false;
    for (rich::RichLine& line : doc.lines()) {
        switch (i) {
        case kIngredients:
        case kQuantity:
            changed = scaleLeadingQuantity(line, 0, factor) || changed;
            break;
        case kShoppingList:
            if (const qsizetype offset = afterTickBox(line.text); offset >= 0)
                changed = scaleLeadingQuantity(line, offset, factor) || changed;
            break;
        case kOtherNotes:
            changed = scaleServingsLine(line, factor) || changed;
            break;
        default:
            return false;
        }
    }
    return changed;
}

int scaledTextWidth(int width, int widestBefore, int widestAfter, int room)
{
    if (width < widestBefore + kWidthAllowance)
        return width;
    return std::max(width, std::min(widestAfter + kWidthAllowance, room));
}

void ServingsScaler::reset()
{
    m_kept.fill(Kept());
}

bool ServingsScaler::apply(const ElementArray& elements, double factor, QList<Change>* changes,
                           QString* error)
{
    bool all = true;
    for (int i : kScaledElements) {
        if (i >= elements.size() || elements.at(i).ContentFile.isEmpty())
            continue;
        QString why;
        if (!applyTo(i, elements.at(i).ContentFile, factor, changes, &why)) {
            if (all && error)
                *error = why;
            all = false;
        }
    }
    return all;
}

bool ServingsScaler::applyTo(int i, const QString& file, double factor, QList<Change>* changes,
                             QString* error)
{
    Kept& kept = m_kept[size_t(i)];
    QByteArray bytes;
    if (!readWholeFile(file, &bytes, error))
        return false;
    if (kept.file != file || bytes != kept.written) {
        // Not written by us: the text as it is now is what later factors start from.
        const double at = kept.file == file ? kept.factor : 1;
        kept = Kept();
        kept.file = file;
        kept.written = bytes;
        rich::readRtf(bytes, kept.original);
        kept.originalFactor = at;
        kept.factor = at;
    }
    rich::RichDocument after = kept.original;
    scaleElementText(i, after, factor / kept.originalFactor);
    const QByteArray out = rich::writeRtf(after);
    if (out != bytes) {
        if (!writeFileAtomically(file, out, error, Durability::Scratch))
            return false;
        if (changes) {
            Change change{i, {}, after};
            rich::readRtf(bytes, change.before);
            changes->append(std::move(change));
        }
        kept.written = out;
    }
    kept.factor = factor;
    return true;
}
