// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target for the recipe file readers: any bytes must parse without a crash,
// a hang or unbounded memory, and whatever parses must survive a write and a second
// read unchanged.

#include "recipes/recipefile.h"
#include "recipes/upgrade.h"

#include <cstdint>
#include <cstdlib>

namespace {

void checkRoundTrip(const TKVG& recipe)
{
    const QByteArray written = recipeFileBytes(recipe);
    TKVG again;
    FileProblem problem;
    if (!parseRecipeFile(written, again, &problem))
        std::abort();
    if (recipeFileBytes(again) != written)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    FileProblem problem;
    TKVG current;
    if (parseRecipeFile(bytes, current, &problem))
        checkRoundTrip(current);
    TKVG old;
    if (parseOldRecipeFile(bytes, old, &problem))
        checkRoundTrip(old);
    return 0;
}
