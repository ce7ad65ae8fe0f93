// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/quantity.h"

#include <cmath>

namespace {

bool isAsciiDigit(QChar ch)
{
    return ch >= u'0' && ch <= u'9';
}

// Blanks inside and around quantities: spaces, tabs and the no-break spaces web pages use.
bool isBlank(QChar ch)
{
    return ch == u' ' || ch == u'\t' || ch == u'\u00A0' || ch == u'\u2009' || ch == u'\u202F';
}

bool isSlash(QChar ch)
{
    return ch == u'/' || ch == u'\u2044';
}

bool isDash(QChar ch)
{
    return ch == u'-' || ch == u'\u2013' || ch == u'\u2014';
}

// The value of a vulgar fraction character, or 0 for any other character.
double vulgarFraction(QChar ch)
{
    switch (ch.unicode()) {
    case 0x00BC: return 1.0 / 4;
    case 0x00BD: return 1.0 / 2;
    case 0x00BE: return 3.0 / 4;
    case 0x2150: return 1.0 / 7;
    case 0x2151: return 1.0 / 9;
    case 0x2152: return 1.0 / 10;
    case 0x2153: return 1.0 / 3;
    case 0x2154: return 2.0 / 3;
    case 0x2155: return 1.0 / 5;
    case 0x2156: return 2.0 / 5;
    case 0x2157: return 3.0 / 5;
    case 0x2158: return 4.0 / 5;
    case 0x2159: return 1.0 / 6;
    case 0x215A: return 5.0 / 6;
    case 0x215B: return 1.0 / 8;
    case 0x215C: return 3.0 / 8;
    case 0x215D: return 5.0 / 8;
    case 0x215E: return 7.0 / 8;
    default: return 0;
    }
}

qsizetype skipBlanks(QStringView text, qsizetype i)
{
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return i;
}

// The digits from i: their value, and the index after them (i when there are none).
qsizetype readDigits(QStringView text, qsizetype i, double* value)
{
    double v = 0;
    while (i < text.size() && isAsciiDigit(text[i])) {
        v = v * 10 + (text[i].unicode() - u'0');
        ++i;
    }
    *value = v;
    return i;
}

enum class Shape { Whole, Decimal, Fraction, Other };

struct Number {
    double value = 0;
    qsizetype end = 0;
    Shape shape = Shape::Other;
    QChar separator = u'.';
};

// "n/d" at i, the denominator not zero.
std::optional<Number> fractionAt(QStringView text, qsizetype i)
{
    double numerator = 0, denominator = 0;
    const qsizetype slash = readDigits(text, i, &numerator);
    if (slash == i || slash >= text.size() || !isSlash(text[slash]))
        return std::nullopt;
    const qsizetype end = readDigits(text, slash + 1, &denominator);
    if (end == slash + 1 || denominator == 0)
        return std::nullopt;
    return Number{numerator / denominator, end, Shape::Fraction};
}

// The decimal places after a separator at i (a digit follows it).
Number decimalAt(QStringView text, qsizetype i, double whole)
{
    double value = whole, place = 0.1;
    qsizetype j = i + 1;
    for (; j < text.size() && isAsciiDigit(text[j]); ++j, place /= 10)
        value += (text[j].unicode() - u'0') * place;
    return Number{value, j, Shape::Decimal, text[i]};
}

bool separatorAt(QStringView text, qsizetype i)
{
    return i + 1 < text.size() && (text[i] == u'.' || text[i] == u',') && isAsciiDigit(text[i + 1]);
}

// One number at i: whole, decimal, fraction, mixed or vulgar.
std::optional<Number> numberAt(QStringView text, qsizetype i)
{
    if (i >= text.size())
        return std::nullopt;
    if (const double vulgar = vulgarFraction(text[i]))
        return Number{vulgar, i + 1};
    if (separatorAt(text, i)) // ".5"
        return decimalAt(text, i, 0);
    double whole = 0;
    const qsizetype end = readDigits(text, i, &whole);
    if (end == i)
        return std::nullopt;
    if (separatorAt(text, end))
        return decimalAt(text, end, whole);
    if (end < text.size() && isSlash(text[end]))
        return fractionAt(text, i); // "1/0" is no number at all
    if (end < text.size()) {
        if (const double vulgar = vulgarFraction(text[end])) // "1½"
            return Number{whole + vulgar, end + 1};
    }
    // A mixed number: a proper fraction after blanks, "1 1/2", "1 ½".
    const qsizetype next = skipBlanks(text, end);
    if (next > end && next < text.size()) {
        if (const double vulgar = vulgarFraction(text[next]))
            return Number{whole + vulgar, next + 1};
        if (const auto fraction = fractionAt(text, next); fraction && fraction->value < 1)
            return Number{whole + fraction->value, fraction->end};
    }
    return Number{whole, end, Shape::Whole};
}

// A word between the ends of a range ("to", "bis") at i, followed by a blank: its length.
qsizetype rangeWordAt(QStringView text, qsizetype i)
{
    for (QLatin1StringView word : {QLatin1StringView("to"), QLatin1StringView("bis")}) {
        const qsizetype end = i + word.size();
        if (end < text.size() && text.sliced(i, word.size()).compare(word, Qt::CaseInsensitive) == 0 &&
            isBlank(text[end]))
            return word.size();
    }
    return 0;
}

// Writes the digits of a number from 0 on at out; returns the end.
char* writeNumber(char* out, int number)
{
    char digits[12];
    int count = 0;
    do {
        digits[count++] = char('0' + number % 10);
        number /= 10;
    } while (number > 0);
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

} // namespace

std::optional<Quantity> readLeadingQuantity(QStringView text)
{
    const qsizetype start = skipBlanks(text, 0);
    const auto first = numberAt(text, start);
    if (!first)
        return std::nullopt;
    Quantity q;
    q.low = q.high = first->value;
    q.decimal = first->shape == Shape::Decimal;
    q.separator = first->separator;
    q.start = start;
    q.end = first->end;

    // A range: a dash, or "to" with blanks, and a second number not below the first.
    const qsizetype sep = skipBlanks(text, first->end);
    qsizetype after = 0;
    if (sep < text.size() && isDash(text[sep]))
        after = sep + 1;
    else if (const qsizetype word = sep > first->end ? rangeWordAt(text, sep) : 0)
        after = sep + word;
    if (after == 0)
        return q;
    const qsizetype secondStart = skipBlanks(text, after);
    const auto second = numberAt(text, secondStart);
    if (!second)
        return q;
    if (second->value >= first->value) {
        q.range = true;
        q.high = second->value;
        q.rangeWord = text.sliced(first->end, secondStart - first->end).toString();
        if (!q.decimal && second->shape == Shape::Decimal) {
            q.decimal = true;
            q.separator = second->separator;
        }
        q.end = second->end;
    } else if (first->shape == Shape::Whole && second->shape == Shape::Fraction &&
               sep == first->end && secondStart == after && text[sep] == u'-') {
        // "1-1/2": the dash joins a whole number and its fraction.
        q.low = q.high = first->value + second->value;
        q.end = second->end;
    }
    return q;
}

std::optional<Quantity> readQuantity(QStringView text)
{
    auto q = readLeadingQuantity(text);
    if (!q || skipBlanks(text, q->end) != text.size())
        return std::nullopt;
    return q;
}

QString formatAmount(double value, AmountStyle style)
{
    if (!(value > 0))
        return QStringLiteral("0");
    if (value >= 10) {
        if (value >= 1e15)
            return QString::number(value, 'f', 0);
        return QString::number(std::llround(value));
    }
    if (style.decimal) {
        QString text = QString::number(value, 'f', value < 1 ? 2 : 1);
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
        if (text == QLatin1StringView("0"))
            text = QStringLiteral("0.01");
        return text.replace(u'.', style.separator);
    }
    struct Step {
        int numerator, denominator;
    };
    static constexpr Step kSteps[] = {{0, 1}, {1, 8}, {1, 4}, {1, 3}, {3, 8}, {1, 2},
                                      {5, 8}, {2, 3}, {3, 4}, {7, 8}, {1, 1}};
    const double whole = std::floor(value);
    const double part = value - whole;
    Step best = kSteps[0];
    double bestDistance = part;
    for (const Step& step : kSteps) {
        const double distance = std::fabs(part - double(step.numerator) / step.denominator);
        if (distance < bestDistance) {
            best = step;
            bestDistance = distance;
        }
    }
    int wholes = int(whole);
    if (best.numerator == best.denominator) { // the next whole number
        ++wholes;
        best.numerator = 0;
    }
    if (wholes == 0 && best.numerator == 0)
        best = kSteps[1];
    // Written into a buffer: a shopping list writes one amount per ingredient.
    char text[40];
    char* end = text;
    if (wholes > 0) // an amount without a fraction has one at least
        end = writeNumber(end, wholes);
    if (best.numerator > 0) {
        if (wholes > 0)
            *end++ = ' ';
        end = writeNumber(end, best.numerator);
        *end++ = '/';
        end = writeNumber(end, best.denominator);
    }
    const qsizetype length = end - text;
    return QString::fromLatin1(text, length);
}

QString formatScaled(const Quantity& quantity, double factor)
{
    const AmountStyle style{quantity.decimal, quantity.separator};
    QString text = formatAmount(quantity.low * factor, style);
    if (quantity.range)
        text += quantity.rangeWord + formatAmount(quantity.high * factor, style);
    return text;
}

QString scaleQuantityText(QStringView text, double factor)
{
    const auto q = factor == 1 ? std::nullopt : readLeadingQuantity(text);
    if (!q)
        return text.toString();
    return text.first(q->start) + formatScaled(*q, factor) + text.sliced(q->end);
}

std::optional<Quantity> servingsQuantity(QStringView servings)
{
    for (qsizetype i = 0; i < servings.size(); ++i) {
        const QChar ch = servings[i];
        if (!isAsciiDigit(ch) && !vulgarFraction(ch))
            continue;
        if (i > 0 && servings[i - 1].isLetterOrNumber())
            continue;
        auto q = readLeadingQuantity(servings.sliced(i));
        if (q && q->low > 0) {
            q->start += i;
            q->end += i;
            return q;
        }
        // The digits of an unreadable text ("0", "1/0") are passed over as a whole.
        while (i + 1 < servings.size() && servings[i + 1].isLetterOrNumber())
            ++i;
    }
    return std::nullopt;
}

std::optional<double> servingsOf(QStringView servings)
{
    const auto q = servingsQuantity(servings);
    return q ? std::optional<double>(q->low) : std::nullopt;
}
