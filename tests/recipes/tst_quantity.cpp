// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/quantity.h"

#include <QRegularExpression>
#include <QTest>

#include <cmath>

namespace {

// An independent reader for the differential test: the text is first rewritten into
// plain ASCII ("1½" as "1 1/2", "1,5" as "1.5", "–" as "-"), then its numbers are
// matched by one regular expression.
struct RefNumber {
    bool found = false;
    double value = 0;
    qsizetype end = 0;
    bool whole = false;    // digits only
    bool fraction = false; // "n/d"
};

RefNumber refNumber(const QString& text, qsizetype pos)
{
    static const QRegularExpression number(
        QStringLiteral(R"((\d+) +(\d+)/(\d+)|(\d+)/(\d+)|(\d*)\.(\d+)|(\d+))"));
    const QRegularExpressionMatch m = number.match(
        text, pos, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    RefNumber r;
    if (!m.hasMatch())
        return r;
    r.found = true;
    r.end = m.capturedEnd(0);
    if (m.capturedLength(1) > 0) {
        const double n = m.captured(2).toDouble(), d = m.captured(3).toDouble();
        if (d != 0 && n < d) {
            r.value = m.captured(1).toDouble() + n / d;
        } else { // not a mixed number: the whole number alone
            r.value = m.captured(1).toDouble();
            r.end = m.capturedEnd(1);
            r.whole = true;
        }
    } else if (m.capturedLength(4) > 0) {
        const double d = m.captured(5).toDouble();
        r.found = d != 0;
        r.value = m.captured(4).toDouble() / d;
        r.fraction = true;
    } else if (m.capturedLength(7) > 0) {
        r.value = QString(QStringLiteral("0") + m.captured(6) + u'.' + m.captured(7)).toDouble();
    } else {
        r.value = m.captured(8).toDouble();
        r.whole = true;
        r.found = r.end >= text.size() || text[r.end] != u'/'; // "1/x" is no number
    }
    return r;
}

qsizetype refSkip(const QString& text, qsizetype i)
{
    while (i < text.size() && text[i] == u' ')
        ++i;
    return i;
}

struct Reference {
    bool found = false;
    double low = 0, high = 0;
};

Reference referenceRead(QString text)
{
    static const QList<QPair<QString, QString>> kVulgar = {
        {QStringLiteral("½"), QStringLiteral("1/2")}, {QStringLiteral("¼"), QStringLiteral("1/4")},
        {QStringLiteral("¾"), QStringLiteral("3/4")}, {QStringLiteral("⅓"), QStringLiteral("1/3")},
        {QStringLiteral("⅔"), QStringLiteral("2/3")}, {QStringLiteral("⅛"), QStringLiteral("1/8")},
        {QStringLiteral("⅜"), QStringLiteral("3/8")}, {QStringLiteral("⅝"), QStringLiteral("5/8")},
        {QStringLiteral("⅞"), QStringLiteral("7/8")}, {QStringLiteral("⅕"), QStringLiteral("1/5")}};
    for (const auto& [ch, ascii] : kVulgar)
        text.replace(ch, u' ' + ascii + u' ');
    text.replace(QChar(0x2044), u'/');
    text.replace(QChar(0x00A0), u' ');
    text.replace(QChar(0x2013), u'-');
    text.replace(QRegularExpression(QStringLiteral(",(?=\\d)")), QStringLiteral("."));

    Reference r;
    const RefNumber first = refNumber(text, refSkip(text, 0));
    if (!first.found)
        return r;
    r.found = true;
    r.low = r.high = first.value;
    const qsizetype sep = refSkip(text, first.end);
    static const QRegularExpression word(QStringLiteral("(to|bis) "),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch w = word.match(text, sep, QRegularExpression::NormalMatch,
                                                 QRegularExpression::AnchorAtOffsetMatchOption);
    qsizetype after = 0;
    if (sep < text.size() && text[sep] == u'-')
        after = sep + 1;
    else if (sep > first.end && w.hasMatch())
        after = sep + w.capturedLength(1);
    if (after == 0)
        return r;
    const qsizetype secondAt = refSkip(text, after);
    const RefNumber second = refNumber(text, secondAt);
    if (!second.found)
        return r;
    if (second.value >= first.value)
        r.high = second.value;
    else if (first.whole && second.fraction && sep == first.end && secondAt == after)
        r.low = r.high = first.value + second.value; // "1-1/2"
    return r;
}

} // namespace

class TestQuantity : public QObject {
    Q_OBJECT
private slots:
    void reading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("found");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<bool>("decimal");
        QTest::addColumn<QString>("rest");
        auto row = [](const char* name, const char* text, bool found, double low, double high,
                      bool decimal, const char* rest) {
            QTest::newRow(name) << QString::fromUtf8(text) << found << low << high << decimal
                                << QString::fromUtf8(rest);
        };
        row("whole", "4", true, 4, 4, false, "");
        row("decimal point", "1.5", true, 1.5, 1.5, true, "");
        row("decimal comma", "0,75 l", true, 0.75, 0.75, true, " l");
        row("no whole part", ".5", true, 0.5, 0.5, true, "");
        row("fraction", "3/8", true, 0.375, 0.375, false, "");
        row("fraction slash", "1\u20442", true, 0.5, 0.5, false, "");
        row("mixed", "1 1/2 tsp salt", true, 1.5, 1.5, false, " tsp salt");
        row("mixed with dash", "1-1/2 cups", true, 1.5, 1.5, false, " cups");
        row("vulgar", "½ cup", true, 0.5, 0.5, false, " cup");
        row("vulgar after digit", "1½", true, 1.5, 1.5, false, "");
        row("vulgar after blank", "1 ⅓ cups", true, 4.0 / 3, 4.0 / 3, false, " cups");
        row("range", "2-3", true, 2, 3, false, "");
        row("range with blanks", "2 - 3 eggs", true, 2, 3, false, " eggs");
        row("range en dash", "2–3", true, 2, 3, false, "");
        row("range to", "2 to 3 cloves", true, 2, 3, false, " cloves");
        row("range bis", "2 bis 3", true, 2, 3, false, "");
        row("range of fractions", "1/2-3/4", true, 0.5, 0.75, false, "");
        row("range with decimal end", "1-1,5 kg", true, 1, 1.5, true, " kg");
        row("falling is no range", "3-1 x", true, 3, 3, false, "-1 x");
        row("dash before a word", "1 - beaten", true, 1, 1, false, " - beaten");
        row("to needs blanks", "2to3", true, 2, 2, false, "to3");
        row("unit right after", "200g flour", true, 200, 200, false, "g flour");
        row("improper fraction is no mixed part", "1 3/2", true, 1, 1, false, " 3/2");
        row("a whole is no mixed part", "1 4/4 cup", true, 1, 1, false, " 4/4 cup");
        row("leading blanks", "   1/2", true, 0.5, 0.5, false, "");
        row("zero denominator", "1/0", false, 0, 0, false, "");
        row("a pinch", "a pinch", false, 0, 0, false, "");
        row("to taste", "to taste", false, 0, 0, false, "");
        row("some", "some", false, 0, 0, false, "");
        row("empty", "", false, 0, 0, false, "");
    }
    void reading()
    {
        QFETCH(QString, text);
        QFETCH(bool, found);
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(bool, decimal);
        QFETCH(QString, rest);
        const auto q = readLeadingQuantity(text);
        QCOMPARE(bool(q), found);
        if (!q)
            return;
        QVERIFY(std::fabs(q->low - low) < 1e-9);
        QVERIFY(std::fabs(q->high - high) < 1e-9);
        QCOMPARE(q->range, high != low);
        QCOMPARE(q->decimal, decimal);
        QCOMPARE(text.mid(q->end), rest);
        // The whole text is a quantity exactly when nothing but blanks follows.
        QCOMPARE(bool(readQuantity(text)), rest.trimmed().isEmpty());
    }

    // Every vulgar fraction, alone and after a whole number.
    void vulgarFractions()
    {
        const struct {
            char16_t ch;
            int numerator, denominator;
        } fractions[] = {{u'¼', 1, 4}, {u'½', 1, 2}, {u'¾', 3, 4}, {u'⅐', 1, 7}, {u'⅑', 1, 9},
                         {u'⅒', 1, 10}, {u'⅓', 1, 3}, {u'⅔', 2, 3}, {u'⅕', 1, 5}, {u'⅖', 2, 5},
                         {u'⅗', 3, 5}, {u'⅘', 4, 5}, {u'⅙', 1, 6}, {u'⅚', 5, 6}, {u'⅛', 1, 8},
                         {u'⅜', 3, 8}, {u'⅝', 5, 8}, {u'⅞', 7, 8}};
        for (const auto& f : fractions) {
            const QString alone(QChar(f.ch));
            const double value = double(f.numerator) / f.denominator;
            const auto q = readQuantity(alone);
            QVERIFY2(q && std::fabs(q->low - value) < 1e-9, qPrintable(alone));
            const auto mixed = readQuantity(QString(QStringLiteral("2") + alone));
            QVERIFY2(mixed && std::fabs(mixed->low - 2 - value) < 1e-9, qPrintable(alone));
        }
    }

    // Quantity texts the import meets, each read by the reader and by the reference above.
    void readerAgreesWithTheReference()
    {
        const QStringList texts = {
            // MealMaster quantity columns
            QStringLiteral("  1 1/2"), QStringLiteral("    1/2"), QStringLiteral("      3"),
            QStringLiteral("  1-2"), QStringLiteral("     .5"), QStringLiteral("  1 1/4"),
            QStringLiteral("    3/4"), QStringLiteral("     12"), QStringLiteral("  2-1/2"),
            // RecipeML quantities and ranges
            QStringLiteral("1 1/2"), QStringLiteral("2-3"), QStringLiteral("3/4-1"),
            QStringLiteral("0.5"), QStringLiteral("90"), QStringLiteral("2 1/4"),
            // schema.org ingredient lines as recordText leaves them
            QStringLiteral("300 g plums"), QStringLiteral("1 1/3 cups flour"),
            QStringLiteral("1 ⅓ cups flour"), QStringLiteral("½ tsp salt"),
            QStringLiteral("1½ cups milk"), QStringLiteral("2 to 3 cloves garlic"),
            QStringLiteral("1,5 l Milch"), QStringLiteral("0.75 kg potatoes"),
            QStringLiteral("2–3 tbsp olive oil"), QStringLiteral("1\u00A01/2 cups sugar"),
            QStringLiteral("2 eggs"), QStringLiteral("salt"), QStringLiteral("a handful of basil"),
            QStringLiteral("1 (400 g) can tomatoes"), QStringLiteral("4-6 chicken thighs"),
            QStringLiteral("2 large onions, chopped"), QStringLiteral("10 1/2 oz cheese"),
            QStringLiteral("¾ cup cream"), QStringLiteral("1 - 2 chillies"),
            QStringLiteral("1/2 to 1 tsp chilli flakes"), QStringLiteral("3 bis 4 Äpfel"),
            QStringLiteral("500g Rinderhack"), QStringLiteral("1 Dose Mais"),
            QStringLiteral("Salz, Pfeffer"), QStringLiteral("2 1/2-3 lb beef"),
            QStringLiteral("1 3/2"), QStringLiteral("1/0 cup"), QStringLiteral("5-2"),
        };
        // Each text alone, and each quantity text in front of each word-ending text.
        QStringList all = texts;
        for (const QString& a : texts) {
            for (const QString& tail : {QStringLiteral(" cup flour"), QStringLiteral("-2 x"),
                                        QStringLiteral(" to 9 eggs"), QStringLiteral("/4")})
                all << a.trimmed() + tail;
        }
        for (const QString& text : std::as_const(all)) {
            const Reference expected = referenceRead(text);
            const auto q = readLeadingQuantity(text);
            QVERIFY2(bool(q) == expected.found, qPrintable(text));
            if (!q)
                continue;
            QVERIFY2(std::fabs(q->low - expected.low) < 1e-9,
                     qPrintable(text + QStringLiteral(": %1 %2").arg(q->low).arg(expected.low)));
            QVERIFY2(std::fabs(q->high - expected.high) < 1e-9,
                     qPrintable(text + QStringLiteral(": %1 %2").arg(q->high).arg(expected.high)));
        }
    }

    void formatting_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("text");
        auto row = [](const char* name, double value, const char* style, const char* text) {
            QTest::newRow(name) << value << QString::fromLatin1(style) << QString::fromUtf8(text);
        };
        row("half", 1.5, "", "1 1/2");
        row("two thirds", 2.0 / 3, "", "2/3");
        row("three eighths", 0.375, "", "3/8");
        row("a third is nearer than a quarter", 0.31, "", "1/3");
        row("a quarter is nearer than a third", 0.27, "", "1/4");
        row("seven eighths", 0.9, "", "7/8");
        row("rounds up to the next whole", 2.95, "", "3");
        row("whole below ten", 4, "", "4");
        row("just below ten", 9.97, "", "10");
        row("ten and more are whole", 10.4, "", "10");
        row("ten and a half goes up", 10.5, "", "11");
        row("large", 833.3, "", "833");
        row("tiny is an eighth", 0.01, "", "1/8");
        row("zero", 0, "", "0");
        row("decimal comma", 0.75, ",", "0,75");
        row("decimal point", 1.5, ".", "1.5");
        row("decimal half", 0.5, ",", "0,5");
        row("decimal one place", 2.26, ",", "2,3");
        row("decimal whole", 3, ",", "3");
        row("decimal from ten", 12.6, ",", "13");
        row("decimal tiny", 0.001, ".", "0.01");
    }
    void formatting()
    {
        QFETCH(double, value);
        QFETCH(QString, style);
        QFETCH(QString, text);
        const AmountStyle s{!style.isEmpty(), style.isEmpty() ? QChar(u'.') : style.at(0)};
        QCOMPARE(formatAmount(value, s), text);
    }

    void scaling_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("scaled");
        auto row = [](const char* name, const char* text, double factor, const char* scaled) {
            QTest::newRow(name) << QString::fromUtf8(text) << factor << QString::fromUtf8(scaled);
        };
        row("mixed in a line", "1 1/2 tsp salt", 2, "3 tsp salt");
        row("range", "2-3", 2, "4-6");
        row("range word kept", "2 to 3 cloves", 0.5, "1 to 1 1/2 cloves");
        row("decimal comma kept", "0,75 l Milch", 2, "1,5 l Milch");
        row("decimal becoming whole", "1,5 l", 2, "3 l");
        row("vulgar", "½ cup", 3, "1 1/2 cup");
        row("vulgar mixed", "1 ⅓ cups", 0.5, "2/3 cups");
        row("whole from ten", "250 g", 1.0 / 3, "83 g");
        row("small whole", "1 egg", 1.0 / 3, "1/3 egg");
        row("unit stuck to the number", "200g flour", 2, "400g flour");
        row("blanks before kept", "  2 eggs", 2, "  4 eggs");
        row("a pinch", "a pinch", 3, "a pinch");
        row("to taste", "to taste", 3, "to taste");
        row("some", "some", 0.5, "some");
        row("factor one changes nothing", "0.333 cup", 1, "0.333 cup");
    }
    void scaling()
    {
        QFETCH(QString, text);
        QFETCH(double, factor);
        QFETCH(QString, scaled);
        QCOMPARE(scaleQuantityText(text, factor), scaled);
    }

    void servings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("servings");
        auto row = [](const char* name, const char* text, double servings) {
            QTest::newRow(name) << QString::fromUtf8(text) << servings;
        };
        row("number", "4", 4);
        row("range", "4-6 people", 4);
        row("after a word", "makes 12", 12);
        row("range after a word", "Serves 4 to 6", 4);
        row("German", "12 Stücke", 12);
        row("half", "½ sheet", 0.5);
        row("digits inside a word are none", "B12 2 people", 2);
        row("zero is none", "0", 0);
        row("no number", "some", 0);
        row("empty", "", 0);
        row("unreadable first number", "1/0 or 3", 3);
    }
    void servings()
    {
        QFETCH(QString, text);
        QFETCH(double, servings);
        QCOMPARE(servingsOf(text).value_or(0), servings);
    }
};

QTEST_GUILESS_MAIN(TestQuantity)
#include "tst_quantity.moc"
