// SPDX-License-Identifier: GPL-2.0-or-later
// The shopping list of 100 and of 10,000 generated recipes (half deluxe, half with free
// ingredient lines, 5 to 30 ingredients each, quantities, units and names of the shapes
// recipes and imports write): reading every recipe's ingredients, scaling them to four
// servings and merging them into the list's lines, against reading each recipe's
// quantity texts once (decoding them and reading their leading quantity), in the same
// run. Both work on the records in memory.
//
//   bench_shopping [count...]

#include "benchsupport.h"
#include "recipegenerator.h"

#include "platform/cp1252.h"
#include "recipes/shoppinglist.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

const char* const kQuantities[] = {
    "1",   "2",   "3",     "4",     "6",   "8",    "10",  "12",     "100", "125", "150",
    "200", "250", "300",   "400",   "500", "750",  "1/2", "1/4",    "3/4", "1 1/2", "2 1/2",
    "1/3", "2/3", "0.5",   "1,5",   "2-3", "1 to 2", "\xbd", "1\xbd", "a pinch", "", "some"};
const char* const kUnits[] = {"",    "",   "",  "g",    "g",    "kg",  "ml",  "l",
                              "tsp", "tbsp", "cup", "cups", "oz", "lb", "EL",  "TL",
                              "Pck.", "can", "clove", "pinch", "T", "t", "c", "Dose"};
const char* const kNames[] = {
    "flour",      "plain flour",  "sugar",      "brown sugar", "butter",        "egg",
    "eggs",       "milk",         "salt",       "pepper",      "onion",         "onions",
    "garlic",     "tomato",       "tomatoes",   "potato",      "potatoes",      "carrot",
    "carrots",    "olive oil",    "cream",      "Sahne",       "Zwiebel",       "Zwiebeln",
    "Tomaten",    "Kartoffeln",   "Mehl",       "Zucker",      "Butter",        "Eier",
    "Milch",      "Salz",         "berries",    "strawberries", "Erdbeeren",    "lemon",
    "lemons",     "parsley",      "basil",      "rice",        "chicken breast", "beef",
    "Rinderhack", "cheese",       "K\xe4se",    "Cr\xe8me fra\xee"
                                                "che",
    "yeast",      "baking powder",
    "vanilla sugar", "Vanillezucker", "honey",   "nuts",        "N\xfcsse",     "apples",
    "\xc4pfel",   "kidney beans", "sweetcorn",  "stock",       "Gem\xfcsebr\xfche", "paprika"};
const char* const kPreparations[] = {"", "", "", ", chopped", ", melted", ", finely diced",
                                     " (or more)", "; sifted"};
const char* const kHeadings[] = {"For the sauce", "TOPPING", "Teig:", "To serve"};

template <typename T, size_t N> const T& pick(QRandomGenerator& random, const T (&table)[N])
{
    return table[random.bounded(int(N))];
}

// An ingredient name; one in four gets a word of the generator's, as real lists name
// far more ingredients than the table.
QByteArray ingredientName(QRandomGenerator& random)
{
    QByteArray name = pick(random, kNames);
    if (random.bounded(4) == 0)
        name = cp1252::fromUnicode(cookingWord(random)) + ' ' + name;
    return name;
}

void fillIngredients(TKVG& r, QRandomGenerator& random)
{
    const int rows = random.bounded(5, 31);
    r.Servings = random.bounded(3) ? QByteArray::number(random.bounded(1, 9)) + " servings"
                                   : QByteArray();
    r.Ingredients.clear();
    r.Quantities.clear();
    r.Units.clear();
    r.IngredientNames.clear();
    r.Descriptions.clear();
    r.Kind = random.bounded(2);
    for (int i = 0; i < rows; ++i) {
        const bool heading = random.bounded(12) == 0;
        if (r.Kind == 1) {
            r.Quantities << (heading ? "" : pick(random, kQuantities));
            r.Units << (heading ? "" : pick(random, kUnits));
            r.IngredientNames << (heading ? QByteArray(pick(random, kHeadings))
                                          : ingredientName(random));
            r.Descriptions << QByteArray(pick(random, kPreparations)).mid(2);
        } else if (heading) {
            r.Ingredients << pick(random, kHeadings);
        } else {
            QByteArray line = pick(random, kQuantities);
            const QByteArray unit = pick(random, kUnits);
            if (!line.isEmpty() && !unit.isEmpty())
                line += ' ' + unit;
            if (!line.isEmpty())
                line += ' ';
            r.Ingredients << QByteArray(line + ingredientName(random) + pick(random, kPreparations));
        }
    }
}

// The baseline: every quantity text decoded and read once.
double readQuantityTexts(const TKV& kv)
{
    double sum = 0;
    for (const TKVG& r : kv) {
        const TSTRING& texts = r.Kind == 1 ? r.Quantities : r.Ingredients;
        for (QByteArrayView text : texts) {
            if (const auto q = readLeadingQuantity(cp1252::toUnicode(text)))
                sum += q->low;
        }
    }
    return sum;
}

qsizetype shoppingList(const TKV& kv)
{
    ShoppingListMerger merger;
    for (const TKVG& r : kv) {
        const auto servings = servingsOf(cp1252::toUnicode(r.Servings));
        merger.add(cp1252::toUnicode(r.Name), r, servings ? 4 / *servings : 2);
    }
    return merger.lines().size();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QList<int> counts;
    for (int i = 1; i < argc; ++i)
        counts << QByteArray(argv[i]).toInt();
    if (counts.isEmpty())
        counts = {100, 10000};
    for (const int count : std::as_const(counts)) {
        RecipeGenerator generator;
        QRandomGenerator random(815);
        TKV kv;
        qsizetype texts = 0;
        for (int i = 0; i < count; ++i) {
            TKVG r = generator.recipe(i, QStringLiteral("/base/prepared_recipes/"));
            fillIngredients(r, random);
            texts += r.Kind == 1 ? r.Quantities.size() : r.Ingredients.size();
            kv << r;
        }
        const int runs = count <= 1000 ? 51 : 7;
        QList<double> merge, read;
        qsizetype lines = 0;
        double sum = 0;
        for (int run = 0; run < runs; ++run) {
            merge << timeStep([&] { lines = shoppingList(kv); }).cpu;
            read << timeStep([&] { sum += readQuantityTexts(kv); }).cpu;
        }
        std::printf("%5d recipes, %6lld ingredient texts: shopping list %8.2f ms (%lld lines)  "
                    "reading the quantities %8.2f ms  ratio %.2f\n",
                    count, qlonglong(texts), median(merge), qlonglong(lines), median(read),
                    median(merge) / median(read));
        if (sum < 0)
            std::printf("%f\n", sum);
    }
    std::printf("goal: ratio <= 3.0 (thread CPU time, median of the runs)\n");
    return 0;
}
