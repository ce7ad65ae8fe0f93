// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/previewstate.h"

#include <algorithm>
#include <vector>

namespace {
constexpr qint32 kFarOff = 1 << 20;
} // namespace

QList<int> applyDraftLayout(const TDruckvorlage& draft, PreviewState& state, ElementArray& elements)
{
    state.PreviewKind = draft.LayoutKind;
    state.FormatIndex = draft.PaperFormat;
    // A page count beyond two would let the page commands reach a third page.
    state.LastPageIndex = std::clamp(draft.LastPage, 0, 1);
    state.Landscape = draft.Landscape;
    state.CurrentPage = 0;
    QList<int> placed;
    const int count = int(std::min(draft.Placements.size(), elements.size()));
    for (int i = 0; i < count; ++i) {
        const TElementPlacement& p = draft.Placements.at(i);
        TGFXL& e = elements[i];
        // A damaged or hostile draft may hold any number: far beyond any sheet, no
        // arithmetic on a position may overflow. The preview then keeps each element on
        // the sheet once its size is known.
        e.Top = std::clamp(p.Top, -kFarOff, kFarOff);
        e.Left = std::clamp(p.Left, -kFarOff, kFarOff);
        // A page that no layout has (a damaged draft) would leave the element on no
        // page that can be shown, and its item disabled for good: it lies on none.
        const bool validPage = p.Page >= -1 && p.Page <= 1;
        e.Page = e.ContentFile.isEmpty() || !validPage ? -1 : p.Page;
        placed << i;
    }
    return placed;
}

namespace {

// The rows of the default layout, top to bottom; each row's elements go left to right.
const std::vector<std::vector<int>>& defaultRows()
{
    static const std::vector<std::vector<int>> rows = {
        {kRecipeName},  {kRecipeGraphic, kDifficulty, kCookingDevices},
        {kIngredients}, {kQuantity, kUnit, kIngredientName, kPreparation},
        {kDescription}, {kComments},
        {kOtherNotes},  {kShoppingList},
    };
    return rows;
}

} // namespace

QList<TElementPlacement> defaultPlacements(const ElementArray& elements, QSize sheet, int kind)
{
    QList<TElementPlacement> placements(elements.size());
    int page = 0;
    int top = 0;
    // Puts one line of elements (laid side by side from the left edge) below the lines
    // before it, or at the top of page 2 when it does not fit there.
    auto placeLine = [&](const QList<int>& line, int gap) {
        if (line.isEmpty())
            return;
        int height = 0;
        for (int i : line)
            height = std::max(height, elements.at(i).height());
        if (page == 0 && top > 0 && top + height > sheet.height()) {
            page = 1;
            top = 0;
        }
        int left = 0;
        for (int i : line) {
            placements[i] = {left, top, page};
            left += elements.at(i).width() + gap;
        }
        top += height + kDefaultLayoutGap;
    };
    for (const std::vector<int>& row : defaultRows()) {
        const bool columns = isColumn(row.front());
        QList<int> line;
        int width = 0;
        for (int i : row) {
            if (i >= elements.size() || elements.at(i).ContentFile.isEmpty() ||
                (kind == 1 ? i == kIngredients : isColumn(i)))
                continue;
            const int w = elements.at(i).width();
            // Pictures that do not fit beside each other go on a line of their own; the
            // deluxe columns always stay side by side, aligned.
            if (!columns && !line.isEmpty() && width + kDefaultLayoutGap + w > sheet.width()) {
                placeLine(line, kDefaultLayoutGap);
                line.clear();
                width = 0;
            }
            width += (line.isEmpty() ? 0 : kDefaultLayoutGap) + w;
            line << i;
        }
        placeLine(line, columns ? kColumnGap : kDefaultLayoutGap);
    }
    return placements;
}
