// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target for the draft reader and what applying a draft does with its
// numbers: any bytes must parse without a crash or unbounded memory; whatever parses
// must survive a write and a second read unchanged, and applying it must leave every
// element with content on a page that exists and, once kept on the sheet as the
// preview keeps it, inside the sheet, with print positions that do not overflow.

#include "drafts/draftfile.h"
#include "preview/layoutediting.h"
#include "preview/previewstate.h"
#include "preview/rounding.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

// A Letter sheet of the preview and a 1200 dpi printer page.
constexpr QSize kSheet(722, 934);
constexpr double kPrintScale = 9600.0 / 722;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Elements as a filled preview has them: content in all but one, sizes from tiny to
// wider and taller than the sheet.
ElementArray filledElements()
{
    ElementArray elements(kElementCount);
    for (int i = 0; i < kElementCount; ++i) {
        TGFXL& e = elements[i];
        if (i == kShoppingList)
            continue;
        e.ContentFile = QStringLiteral("content");
        e.Bitmap = QImage(1 + i * 67, 1 + (i % 5) * 250, QImage::Format_RGB32);
    }
    return elements;
}

void checkRoundTrip(const TDruckvorlage& draft)
{
    const QByteArray written = draftFileBytes(draft);
    TDruckvorlage again;
    check(parseDraft(written, QString(), again) == DraftRead::Read);
    check(draftFileBytes(again) == written);
}

void checkApplied(const TDruckvorlage& draft)
{
    ElementArray elements = filledElements();
    PreviewState state;
    const QList<int> placed = applyDraftLayout(draft, state, elements);
    check(state.LastPageIndex == 0 || state.LastPageIndex == 1);
    for (int i : placed) {
        TGFXL& e = elements[i];
        check(e.Page >= -1 && e.Page <= 1);
        if (e.ContentFile.isEmpty()) {
            check(e.Page == -1);
            continue;
        }
        const QPoint at = keptOnSheet(e.Left, e.Top, QSize(e.width(), e.height()), kSheet);
        if (e.width() <= kSheet.width())
            check(at.x() >= 0 && at.x() + e.width() <= kSheet.width());
        if (e.height() <= kSheet.height())
            check(at.y() >= 0 && at.y() + e.height() <= kSheet.height());
        // The print position of the element as placed by the draft, before it is kept
        // on the sheet: the figure must still be one an int holds.
        const double printed = e.Left * kPrintScale;
        check(std::fabs(printed) < double(std::numeric_limits<int>::max()));
        (void)roundEven(printed);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TDruckvorlage draft;
    if (parseDraft(bytes, QStringLiteral("fuzz.kvp"), draft) != DraftRead::Read)
        return 0;
    checkRoundTrip(draft);
    checkApplied(draft);
    return 0;
}
