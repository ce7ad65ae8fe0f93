#include "preview/previewstate.h"

#include <algorithm>

TDruckvorlage& CurrentDraft()
{
    static TDruckvorlage draft;
    return draft;
}

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
