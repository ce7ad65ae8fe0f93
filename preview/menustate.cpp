// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/menustate.h"

int elementOfItem(int item, int kind)
{
    switch (item) {
    case kItemName:
        return kRecipeName;
    // In the deluxe layout the ingredients are the column group; the instructions are
    // element 2 in both layouts, so no part of a recipe lacks an item to show it.
    case kItemIngredients:
        return kind == 1 ? kQuantity : kIngredients;
    case kItemDescription:
        return kDescription;
    case kItemComments:
        return kComments;
    case kItemOtherNotes:
        return kOtherNotes;
    case kItemDifficulty:
        return kDifficulty;
    case kItemGraphic:
        return kRecipeGraphic;
    case kItemDevices:
        return kCookingDevices;
    case kItemShopping:
        return kShoppingList;
    default:
        return -1;
    }
}

namespace {

bool onFreeOrCurrentPage(const TGFXL& e, const PreviewState& state)
{
    return e.Page == -1 || e.Page == state.CurrentPage;
}

bool itemEnabled(int element, const ElementArray& elements, const PreviewState& state, int kind,
                 const std::function<bool(const QString&)>& hasContent)
{
    if (element < 0 || element >= elements.size())
        return false;
    if (!onFreeOrCurrentPage(elements.at(element), state))
        return false;
    if (kind == 1 && element == kQuantity) {
        for (int j = kQuantity; j <= kPreparation; ++j) {
            if (!elements.at(j).ContentFile.isEmpty() && hasContent(elements.at(j).ContentFile))
                return true;
        }
        return false;
    }
    const QString& file = elements.at(element).ContentFile;
    return !file.isEmpty() && hasContent(file);
}

} // namespace

MenuState ComputeMenuState(const ElementArray& elements, const PreviewState& state, int kind,
                           bool editBoxOpen, const std::array<bool, kElementCount>& visible,
                           const std::function<bool(const QString&)>& hasContent)
{
    MenuState m;
    m.pageLabel =
        QStringLiteral("Page %1/%2").arg(state.CurrentPage + 1).arg(state.LastPageIndex + 1);
    // The arrows keep what they showed while the edit box is open; only the items change.
    const bool twoPages = state.LastPageIndex >= 1;
    m.leftArrow = twoPages && state.CurrentPage != 0;
    m.rightArrow = twoPages && state.CurrentPage < state.LastPageIndex;
    if (editBoxOpen)
        return m;
    m.fileItems = true;
    if (!twoPages) {
        m.newPage = true;
    } else {
        m.nextPage = m.rightArrow;
        m.previousPage = m.leftArrow;
        m.deleteLastPage = true;
    }
    for (int item = 0; item < kUnitItemCount; ++item) {
        const int element = elementOfItem(item, kind);
        if (element < 0 || element >= elements.size())
            continue;
        m.unitChecked[size_t(item)] =
            elements.at(element).Page == state.CurrentPage && visible[size_t(element)];
        m.unitEnabled[size_t(item)] = itemEnabled(element, elements, state, kind, hasContent);
    }
    return m;
}

bool NewPage(PreviewState& state)
{
    if (state.LastPageIndex != 0)
        return false;
    state.CurrentPage = 1;
    state.LastPageIndex = 1;
    return true;
}

bool NextPage(PreviewState& state)
{
    if (state.LastPageIndex != 1 || state.CurrentPage == 1)
        return false;
    state.CurrentPage = 1;
    return true;
}

bool PreviousPage(PreviewState& state)
{
    if (state.LastPageIndex != 1 || state.CurrentPage == 0)
        return false;
    state.CurrentPage = 0;
    return true;
}

void DeleteLastPage(PreviewState& state)
{
    state.CurrentPage = 0;
    state.LastPageIndex = 0;
}
