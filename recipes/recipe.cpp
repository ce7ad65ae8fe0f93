// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/recipe.h"

#include "platform/cp1252.h"
#include "platform/daycount.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

bool TKVG::hasDeluxeLines() const
{
    return !Quantities.isEmpty() || !Units.isEmpty() || !IngredientNames.isEmpty() ||
           !Descriptions.isEmpty();
}

bool TKVG::hasType(int type) const
{
    switch (type) {
    case NormalType:
        return !Ingredients.isEmpty() || !Instructions.isEmpty();
    case DeluxeType:
        return hasDeluxeLines();
    case BinderType:
        return !Binder.isEmpty();
    case MagazineType:
        return !Magazine.isEmpty();
    case BookType:
        return !Book.isEmpty();
    default:
        return false;
    }
}

void Catalogue::reset()
{
    recipes.clear();
    CurrentRecipe = -1;
}

int Catalogue::newRecipe()
{
    recipes.append(TKVG());
    CurrentRecipe = int(recipes.size() - 1);
    ResetRecipe(recipes, CurrentRecipe);
    return CurrentRecipe;
}

namespace {

bool validIndex(const TKV& kv, int index)
{
    return index >= 0 && index < kv.size();
}

// The first type in the order 0 to 4 that the record has and that is not excluded.
int firstTypeExcept(const TKVG& r, int notA, int notB)
{
    for (int type = NormalType; type <= BookType; ++type) {
        if (type != notA && type != notB && r.hasType(type))
            return type;
    }
    return NoRecipeType;
}

} // namespace

int RecipeType(const TKV& kv, int index)
{
    if (!validIndex(kv, index))
        return NoRecipeType;
    const int first = firstTypeExcept(kv[index], NoRecipeType, NoRecipeType);
    return first == NoRecipeType ? NormalType : first;
}

int SecondRecipeType(const TKV& kv, int index)
{
    if (!validIndex(kv, index))
        return NoRecipeType;
    return firstTypeExcept(kv[index], RecipeType(kv, index), NoRecipeType);
}

int ThirdRecipeType(const TKV& kv, int index)
{
    if (!validIndex(kv, index))
        return NoRecipeType;
    const int first = RecipeType(kv, index);
    const int second = SecondRecipeType(kv, index);
    if (second == NoRecipeType)
        return NoRecipeType;
    return firstTypeExcept(kv[index], first, second);
}

void ResetRecipe(TKV& kv, int index)
{
    if (!validIndex(kv, index))
        return;
    TKVG& r = kv[index];
    r = TKVG();
    r.Kind = 0;
    r.Difficulty = -1;
    r.LastCooked = currentDayCount();
    r.ListIndex = -1;
}

int IndexOfListRow(const TKV& kv, int row)
{
    for (int i = 0; i < kv.size(); ++i) {
        if (kv[i].ListIndex == row)
            return i;
    }
    return -1;
}

void SortByName(TKV& kv)
{
    const TKV& sortedAlready = kv;
    if (std::is_sorted(sortedAlready.begin(), sortedAlready.end(),
                       [](const TKVG& a, const TKVG& b) { return a.Name < b.Name; }))
        return; // the usual case: every fill after the first
    // Records are large: sort their names with their indexes (comparing them touches no
    // record), then move every record once into place by following the cycles of the
    // permutation.
    // The first eight bytes as a big-endian number decide most comparisons alone.
    struct SortName {
        quint64 head;
        std::string_view name; // compares bytes as unsigned, like QByteArray
        int index;
    };
    std::vector<SortName> names;
    names.reserve(size_t(kv.size()));
    for (int i = 0; i < kv.size(); ++i) {
        const QByteArray& name = sortedAlready[i].Name;
        uchar head[8] = {};
        memcpy(head, name.constData(), size_t(qMin<qsizetype>(name.size(), 8)));
        names.push_back({qFromBigEndian<quint64>(head),
                         std::string_view(name.constData(), size_t(name.size())), i});
    }
    std::stable_sort(names.begin(), names.end(), [](const SortName& a, const SortName& b) {
        return a.head != b.head ? a.head < b.head : a.name < b.name;
    });
    QList<int> order(kv.size());
    for (int i = 0; i < kv.size(); ++i)
        order[i] = names[size_t(i)].index;
    for (int start = 0; start < order.size(); ++start) {
        if (order[start] == start)
            continue;
        TKVG held = std::move(kv[start]);
        int to = start;
        while (order[to] != start) {
            const int from = order[to];
            kv[to] = std::move(kv[from]);
            order[to] = to;
            to = from;
        }
        kv[to] = std::move(held);
        order[to] = to;
    }
}
