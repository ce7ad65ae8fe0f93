// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "preview/elements.h"
#include "preview/previewstate.h"

#include <QString>
#include <array>
#include <functional>

// What the preview's menus, arrows and labels show for a layout, and the page commands.

/// Items of the "Printing units" menu, in menu order.
enum UnitItem : int {
    kItemName,
    kItemIngredients,
    kItemDescription,
    kItemComments,
    kItemOtherNotes,
    kItemDifficulty,
    kItemGraphic,
    kItemDevices,
    kItemShopping,
    kUnitItemCount
};

/// The element an item shows and hides in a layout of kind (0 normal, 1 deluxe);
/// -1 for "Ingredients" in a deluxe layout, which has no element there. Element 3
/// stands for the whole column group.
int elementOfItem(int item, int kind);

struct MenuState {
    bool fileItems = false; ///< Print recipe, Load draft, Save draft as, Exit
    std::array<bool, kUnitItemCount> unitEnabled{};
    std::array<bool, kUnitItemCount> unitChecked{};
    bool newPage = false;
    bool nextPage = false;
    bool previousPage = false;
    bool deleteLastPage = false;
    bool leftArrow = false; ///< visible
    bool rightArrow = false;
    QString pageLabel; ///< "Page 1/2"
};

/// The menu state of a layout. visible[i] tells whether element i's image is shown;
/// hasContent(path) whether an element's content file exists. While the in-place edit
/// box is open every item is disabled.
MenuState ComputeMenuState(const ElementArray& elements, const PreviewState& state, int kind,
                           bool editBoxOpen, const std::array<bool, kElementCount>& visible,
                           const std::function<bool(const QString&)>& hasContent);

/// Page commands on the preview state. Each leaves the state alone when it is not
/// available in the layout (its menu item would be disabled) and says whether it acted.
bool NewPage(PreviewState& state);
bool NextPage(PreviewState& state);
bool PreviousPage(PreviewState& state);
/// "Delete last page" after the elements of page 2 were hidden: one page, page 1 current.
void DeleteLastPage(PreviewState& state);
