// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/elements.h"

#include <algorithm>
#include <array>
#include <climits>

namespace {

constexpr std::array<ElementInfo, kElementCount> kElements = {{
    {"Comments", "IBemerkungstext", "REBemerkungstext"},
    {"Ingredients", "IZutatenliste", "REZutatenliste"},
    {"Description", "IRezepttext", "RERezepttext"},
    {"Quantity", "IMenge1", "REMenge1"},
    {"Unit", "IEinheit1", "REEinheit1"},
    {"Ingredients", "IName1", "REName1"},
    {"Desciption of preparation", "IBeschreibung1", "REbeschreibung1"},
    {"Recipe name", "IRezeptname", "RERezeptname"},
    {"Other notes", "ISonstiges", "RESonstiges"},
    {"Level of difficulty", "ISterne", "REConvert"},
    {"Recipe graphic", "IRezeptgrafik", "REConvert"},
    {"Cooking devices", "ITopf", "REConvert"},
    {"Shopping list", "IEinkaufsliste", "REEinkaufsliste"},
}};

} // namespace

const ElementInfo& elementInfo(int index)
{
    return kElements.at(size_t(index));
}

void ResetElements(ElementArray& elements, ResetMode mode)
{
    elements.clear();
    if (mode == ResetMode::Release)
        return;
    elements.resize(kElementCount);
    for (int i = 0; i < kElementCount; ++i)
        elements[i].Caption = QString::fromLatin1(kElements[size_t(i)].caption);
}

QSize ColumnGroupSize(const ElementArray& elements)
{
    if (elements.size() < kElementCount)
        return {};
    int right = elements.at(kQuantity).Left;
    int height = 0;
    for (int j = kQuantity; j <= kPreparation; ++j) {
        const TGFXL& e = elements.at(j);
        right = std::max(right, e.Left + e.width());
        height = std::max(height, e.height());
    }
    return {right - elements.at(kQuantity).Left, height};
}

QList<int> MakeRoomBelowColumns(ElementArray& elements, int gap)
{
    if (elements.size() < kElementCount || elements.at(kQuantity).Page < 0)
        return {};
    const TGFXL& quantity = elements.at(kQuantity);
    const QSize row = ColumnGroupSize(elements);
    const int left = quantity.Left;
    const int right = quantity.Left + row.width();
    int first = INT_MAX;
    for (int i = 0; i < kElementCount; ++i) {
        const TGFXL& e = elements.at(i);
        if (isColumn(i) || e.Page != quantity.Page || e.Top <= quantity.Top)
            continue;
        if (e.Left < right && e.Left + e.width() > left)
            first = std::min(first, e.Top);
    }
    const int shift = quantity.Top + row.height() + gap - first;
    if (first == INT_MAX || shift <= 0)
        return {};
    QList<int> moved;
    for (int i = 0; i < kElementCount; ++i) {
        TGFXL& e = elements[i];
        if (!isColumn(i) && e.Page == quantity.Page && e.Top >= first) {
            e.Top += shift;
            moved << i;
        }
    }
    return moved;
}

int ActiveElementIndex(const ElementArray& elements)
{
    for (int i = 0; i < elements.size(); ++i) {
        if (elements.at(i).Active)
            return i;
    }
    return kShoppingList;
}

void AlignColumns(ElementArray& elements, int i)
{
    if (elements.size() < kElementCount || !isColumn(i))
        return;
    const int top = elements.at(i).Top;
    for (int j = kQuantity; j <= kPreparation; ++j)
        elements[j].Top = top;
    if (i == kQuantity)
        elements[kQuantity].AnchorLeft = elements.at(kQuantity).Left;
    for (int j = kUnit; j <= kPreparation; ++j) {
        const TGFXL& before = elements.at(j - 1);
        elements[j].Left = before.Left + before.width() + kColumnGap;
        elements[j].AnchorLeft = elements.at(j).Left;
    }
}
